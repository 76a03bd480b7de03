#include "core/ui/clsXmlGet.h"

#include "core/Messages.h"
#include "core/ui/Wait.h"
#include "platform/xml/XmlDocument.h"

#include <QEventLoop>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

namespace {
int g_timeout = 30000;
}

namespace {

QString networkReason(QNetworkReply::NetworkError error)
{
    switch (error) {
    case QNetworkReply::ConnectionRefusedError:
        return QStringLiteral("Serwer odmówił połączenia");
    case QNetworkReply::RemoteHostClosedError:
        return QStringLiteral("Serwer przerwał połączenie");
    case QNetworkReply::HostNotFoundError:
        return QStringLiteral("Nie znaleziono serwera");
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::BackgroundRequestNotAllowedError:
        return QStringLiteral("Brak połączenia z siecią");
    case QNetworkReply::TooManyRedirectsError:
    case QNetworkReply::InsecureRedirectError:
        return QStringLiteral("Serwer przekierował zapytanie w niedozwolony sposób");
    case QNetworkReply::ProxyConnectionRefusedError:
    case QNetworkReply::ProxyConnectionClosedError:
    case QNetworkReply::ProxyNotFoundError:
    case QNetworkReply::ProxyTimeoutError:
    case QNetworkReply::ProxyAuthenticationRequiredError:
    case QNetworkReply::UnknownProxyError:
        return QStringLiteral("Błąd serwera pośredniczącego (proxy)");
    case QNetworkReply::ContentAccessDenied:
    case QNetworkReply::ContentOperationNotPermittedError:
    case QNetworkReply::AuthenticationRequiredError:
        return QStringLiteral("Serwer odmówił dostępu do usługi");
    case QNetworkReply::ContentNotFoundError:
    case QNetworkReply::ContentGoneError:
        return QStringLiteral("Nie znaleziono usługi na serwerze");
    case QNetworkReply::InternalServerError:
    case QNetworkReply::OperationNotImplementedError:
    case QNetworkReply::UnknownServerError:
        return QStringLiteral("Błąd serwera");
    case QNetworkReply::ServiceUnavailableError:
        return QStringLiteral("Usługa jest chwilowo niedostępna");
    case QNetworkReply::ProtocolFailure:
    case QNetworkReply::ProtocolInvalidOperationError:
        return QStringLiteral("Błędna odpowiedź serwera");
    default:
        return QStringLiteral("Błąd połączenia z serwerem");
    }
}

// Polish first; then the HTTP status as the server gave it, or Qt's text
// for a failure below HTTP (Qt's own text repeats the whole address).
QString replyReason(const QNetworkReply &reply)
{
    const QVariant status = reply.attribute(QNetworkRequest::HttpStatusCodeAttribute);
    const QString technical =
        status.isValid()
            ? QStringLiteral("HTTP %1 %2")
                  .arg(status.toInt())
                  .arg(reply.attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString())
                  .trimmed()
            : reply.errorString();
    return networkReason(reply.error()) + QStringLiteral(" (") + technical + QLatin1Char(')');
}

} // namespace

QString xmlErrorText(const QString &reason)
{
    return Messages::lines({QStringLiteral("Wystąpił błąd XML!"), reason});
}

clsXmlGet::clsXmlGet() = default;
clsXmlGet::~clsXmlGet() = default;

int clsXmlGet::timeout()
{
    return g_timeout;
}

void clsXmlGet::setTimeout(int milliseconds)
{
    g_timeout = milliseconds;
}

void clsXmlGet::Show(const QString &url)
{
    Wait wait;
    wait.Label1()->setText(QStringLiteral("Proszę czekać..."));
    wait.showNow();

    QString reason;
    QByteArray body;
    const QUrl target = QUrl::fromEncoded(url.toLatin1(), QUrl::StrictMode);
    if (!target.isValid() || target.scheme() != QLatin1String("http")) {
        reason = QStringLiteral("Nieprawidłowy adres: %1").arg(url);
    } else {
        QNetworkAccessManager manager;
        QNetworkRequest request(target);
        request.setTransferTimeout(g_timeout);
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                             QNetworkRequest::NoLessSafeRedirectPolicy);
        std::unique_ptr<QNetworkReply> reply(manager.get(request));
        QEventLoop loop;
        QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
        // The request is meant to block the program's windows, as before; only
        // the network and painting go on meanwhile.
        if (!reply->isFinished())
            loop.exec(QEventLoop::ExcludeUserInputEvents);
        if (reply->error() == QNetworkReply::OperationCanceledError ||
            reply->error() == QNetworkReply::TimeoutError)
            reason = QStringLiteral("Serwer nie odpowiedział w wyznaczonym czasie.");
        else if (reply->error() != QNetworkReply::NoError)
            reason = replyReason(*reply);
        else
            body = reply->readAll();
    }

    if (reason.isEmpty()) {
        auto document = std::make_unique<Xml::Document>();
        if (document->loadBytes(body, &reason))
            m_result = std::move(document);
        else if (reason.isEmpty())
            reason = QStringLiteral("Odpowiedź nie jest dokumentem XML.");
    }
    wait.close();
    if (!reason.isEmpty())
        Messages::critical(xmlErrorText(reason));
}
