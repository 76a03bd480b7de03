#include "core/ui/clsXmlGet.h"

#include "core/Messages.h"
#include "core/ui/Wait.h"
#include "platform/xml/XmlDocument.h"

#include <QEventLoop>
#include <QLabel>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTcpSocket>
#include <QTimer>
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

// Polish first; then the HTTP status as the server gave it, or the
// network's own text for a failure below HTTP (Qt's repeats the whole address).
QString failureReason(QNetworkReply::NetworkError error, int status, const QString &phrase,
                      const QString &technical)
{
    const QString detail =
        status > 0 ? QStringLiteral("HTTP %1 %2").arg(status).arg(phrase).trimmed() : technical;
    return networkReason(error) + QStringLiteral(" (") + detail + QLatin1Char(')');
}

// The error Qt names for an HTTP status of 400 or more.
QNetworkReply::NetworkError errorOfStatus(int status)
{
    switch (status) {
    case 401:
        return QNetworkReply::AuthenticationRequiredError;
    case 403:
        return QNetworkReply::ContentAccessDenied;
    case 404:
        return QNetworkReply::ContentNotFoundError;
    case 405:
        return QNetworkReply::ContentOperationNotPermittedError;
    case 407:
        return QNetworkReply::ProxyAuthenticationRequiredError;
    case 410:
        return QNetworkReply::ContentGoneError;
    case 500:
        return QNetworkReply::InternalServerError;
    case 501:
        return QNetworkReply::OperationNotImplementedError;
    case 503:
        return QNetworkReply::ServiceUnavailableError;
    default:
        return status < 500 ? QNetworkReply::UnknownContentError
                            : QNetworkReply::UnknownServerError;
    }
}

QNetworkReply::NetworkError errorOfSocket(QAbstractSocket::SocketError error)
{
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
        return QNetworkReply::ConnectionRefusedError;
    case QAbstractSocket::RemoteHostClosedError:
        return QNetworkReply::RemoteHostClosedError;
    case QAbstractSocket::HostNotFoundError:
        return QNetworkReply::HostNotFoundError;
    case QAbstractSocket::NetworkError:
        return QNetworkReply::TemporaryNetworkFailureError;
    default:
        return QNetworkReply::UnknownNetworkError;
    }
}

const QString TimeoutReason = QStringLiteral("Serwer nie odpowiedział w wyznaczonym czasie.");

// What one GET brought: the body of the answer, the reason it failed, or the
// address a redirect points to.
struct Answer
{
    QString reason;
    QByteArray body;
    QUrl redirect;
};

// Through Qt's network access, which knows the proxies and follows redirects.
Answer getThroughQt(const QUrl &target)
{
    Answer answer;
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
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (reply->error() == QNetworkReply::OperationCanceledError ||
        reply->error() == QNetworkReply::TimeoutError)
        answer.reason = TimeoutReason;
    else if (reply->error() != QNetworkReply::NoError)
        answer.reason =
            failureReason(reply->error(), status.isValid() ? status.toInt() : 0,
                          reply->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toString(),
                          reply->errorString());
    else
        answer.body = reply->readAll();
    return answer;
}

// The body of a chunked answer; false when the chunks are not whole.
bool dechunk(const QByteArray &chunked, QByteArray *body)
{
    qsizetype at = 0;
    for (;;) {
        const qsizetype lineEnd = chunked.indexOf("\r\n", at);
        if (lineEnd < 0)
            return false;
        bool ok = false;
        const qint64 size =
            chunked.mid(at, lineEnd - at).split(';').constFirst().trimmed().toLongLong(&ok, 16);
        if (!ok || size < 0)
            return false;
        at = lineEnd + 2;
        if (size == 0)
            return true;
        if (chunked.size() - at < size + 2)
            return false;
        body->append(chunked.mid(at, size));
        at += size + 2;
    }
}

// An answer read so far: complete once its headers are there and its body
// is as long as they say (or, without a length, when the server closes).
struct Received
{
    QByteArray bytes;
    int status = 0;
    QString phrase;
    QByteArray location;
    qint64 length = -1;
    bool chunked = false;
    qsizetype bodyStart = -1;

    bool parseHead()
    {
        bodyStart = bytes.indexOf("\r\n\r\n");
        if (bodyStart < 0)
            return false;
        const QList<QByteArray> lines = bytes.left(bodyStart).split('\n');
        bodyStart += 4;
        const QList<QByteArray> statusLine = lines.constFirst().trimmed().split(' ');
        if (statusLine.size() < 2 || !statusLine.constFirst().startsWith("HTTP/"))
            return true; // status stays 0: not HTTP
        status = statusLine.at(1).toInt();
        phrase = QString::fromLatin1(statusLine.mid(2).join(' '));
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const QByteArray line = lines.at(i).trimmed();
            const qsizetype colon = line.indexOf(':');
            if (colon < 0)
                continue;
            const QByteArray name = line.left(colon).trimmed().toLower();
            const QByteArray value = line.mid(colon + 1).trimmed();
            if (name == "content-length")
                length = value.toLongLong();
            else if (name == "transfer-encoding")
                chunked = value.toLower().contains("chunked");
            else if (name == "location")
                location = value;
        }
        return true;
    }

    bool complete() const
    {
        if (bodyStart < 0)
            return false;
        if (chunked)
            return bytes.endsWith("0\r\n\r\n");
        return length >= 0 && bytes.size() - bodyStart >= length;
    }
};

// The GET sent with the request target exactly as the caller encoded it:
// Qt's URLs decode %2E, %2D, %5F and %7E back into ". - _ ~", and the
// service is sent the form the program has always sent.
Answer getExactly(const QUrl &target, const QByteArray &requestTarget)
{
    Answer answer;
    QTcpSocket socket;
    socket.setProxy(QNetworkProxy::NoProxy);
    Received received;
    QAbstractSocket::SocketError failure = QAbstractSocket::UnknownSocketError;
    bool failed = false;
    bool timedOut = false;
    bool done = false;
    QEventLoop loop;
    auto finish = [&] {
        done = true;
        loop.quit();
    };
    QTimer idle;
    idle.setSingleShot(true);
    idle.setInterval(g_timeout);
    const QByteArray authority =
        target.adjusted(QUrl::RemoveUserInfo).authority(QUrl::FullyEncoded).toLatin1();
    QObject::connect(&socket, &QTcpSocket::connected, &socket, [&] {
        socket.write("GET " + requestTarget + " HTTP/1.1\r\nHost: " + authority +
                     "\r\nAccept: text/xml, application/xml, */*\r\nConnection: close\r\n\r\n");
    });
    QObject::connect(&socket, &QTcpSocket::readyRead, &socket, [&] {
        received.bytes += socket.readAll();
        idle.start();
        if (received.bodyStart < 0)
            received.parseHead();
        if (received.complete())
            finish();
    });
    QObject::connect(&socket, &QTcpSocket::disconnected, &loop, finish);
    QObject::connect(&socket, &QTcpSocket::errorOccurred, &socket,
                     [&](QAbstractSocket::SocketError error) {
                         failed = true;
                         failure = error;
                         finish();
                     });
    QObject::connect(&idle, &QTimer::timeout, &loop, [&] {
        timedOut = true;
        finish();
    });
    socket.connectToHost(target.host(), quint16(target.port(80)));
    idle.start();
    // Blocks the program's windows as the request always has; only the
    // network and painting go on meanwhile.
    if (!done)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    received.bytes += socket.readAll();
    if (received.bodyStart < 0)
        received.parseHead();

    // A server that closes after its answer has said all it had to say.
    const bool closedAfterAnswer =
        failure == QAbstractSocket::RemoteHostClosedError && received.bodyStart >= 0;
    if (timedOut && !received.complete()) {
        answer.reason = TimeoutReason;
    } else if (failed && !closedAfterAnswer && !received.complete()) {
        answer.reason = failureReason(errorOfSocket(failure), 0, QString(), socket.errorString());
    } else if (received.bodyStart < 0 || received.status < 100) {
        answer.reason = failureReason(QNetworkReply::ProtocolFailure, 0, QString(),
                                      QStringLiteral("brak nagłówka HTTP"));
    } else if (received.status >= 400) {
        answer.reason = failureReason(errorOfStatus(received.status), received.status,
                                      received.phrase, QString());
    } else if (received.status >= 300 && !received.location.isEmpty()) {
        answer.redirect = target.resolved(QUrl::fromEncoded(received.location));
    } else if (received.status < 200 || received.status >= 300) {
        answer.reason = failureReason(QNetworkReply::ProtocolFailure, received.status,
                                      received.phrase, QString());
    } else {
        const QByteArray rest = received.bytes.mid(received.bodyStart);
        // A connection cut before the length the server gave is no answer.
        if (!received.chunked && rest.size() < received.length)
            answer.reason = failureReason(QNetworkReply::ProtocolFailure, 0, QString(),
                                          QStringLiteral("niepełna odpowiedź"));
        else if (!received.chunked)
            answer.body = received.length >= 0 ? rest.left(received.length) : rest;
        else if (!dechunk(rest, &answer.body))
            answer.reason = failureReason(QNetworkReply::ProtocolFailure, 0, QString(),
                                          QStringLiteral("niepełna odpowiedź"));
    }
    return answer;
}

// The path and query as written in an http URL: everything from the first
// "/" after the host, without a fragment. Empty when it holds anything but
// printable ASCII without spaces.
QByteArray requestTargetOf(const QString &url)
{
    const QString rest = url.mid(url.indexOf(QStringLiteral("//")) + 2);
    const qsizetype slash = rest.indexOf(QLatin1Char('/'));
    QString target = slash < 0 ? QStringLiteral("/") : rest.mid(slash);
    target = target.section(QLatin1Char('#'), 0, 0);
    for (const QChar c : std::as_const(target)) {
        if (c.unicode() <= 0x20 || c.unicode() >= 0x7F)
            return QByteArray();
    }
    return target.toLatin1();
}

bool proxyInTheWay(const QUrl &target)
{
    const QList<QNetworkProxy> proxies =
        QNetworkProxyFactory::proxyForQuery(QNetworkProxyQuery(target));
    return !proxies.isEmpty() && proxies.constFirst().type() != QNetworkProxy::NoProxy &&
           proxies.constFirst().type() != QNetworkProxy::DefaultProxy;
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
    const QByteArray requestTarget = requestTargetOf(url);
    if (!target.isValid() || target.scheme() != QLatin1String("http") || target.host().isEmpty() ||
        requestTarget.isEmpty()) {
        reason = QStringLiteral("Nieprawidłowy adres: %1").arg(url);
    } else {
        // Behind a proxy, and after a redirect, Qt's network access does the
        // request, with the query as Qt writes it.
        Answer answer =
            proxyInTheWay(target) ? getThroughQt(target) : getExactly(target, requestTarget);
        if (answer.redirect.isValid())
            answer = getThroughQt(answer.redirect);
        reason = answer.reason;
        body = answer.body;
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
