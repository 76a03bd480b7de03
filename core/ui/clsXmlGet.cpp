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

QString xmlErrorText(const QString &reason)
{
    return QStringLiteral("Wystąpił błąd XML!") + QLatin1Char('\n') + reason;
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
        if (reply->error() == QNetworkReply::OperationCanceledError
            || reply->error() == QNetworkReply::TimeoutError)
            reason = QStringLiteral("Serwer nie odpowiedział w wyznaczonym czasie.");
        else if (reply->error() != QNetworkReply::NoError)
            reason = reply->errorString();
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
