#include "controls/BlueCommand.h"
#include "core/Globals.h"
#include "core/Messages.h"
#include "core/Options.h"
#include "core/ui/IdeaSend.h"
#include "core/ui/InternetOperations.h"
#include "core/ui/clsXmlGet.h"
#include "platform/db/Database.h"
#include "platform/xml/XmlDocument.h"
#include "tests/support/Keyboard.h"
#include "tests/support/TestDatabase.h"

#include <QLineEdit>
#include <QNetworkProxy>
#include <QPlainTextEdit>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

namespace {

// A one-page HTTP service on 127.0.0.1: records each request line and answers
// with the given status and body, or not at all when the body is null; or
// with a whole answer written as it stands.
class FeedbackServer : public QObject
{
public:
    explicit FeedbackServer(QByteArray body, QByteArray status = "200 OK")
        : m_body(std::move(body)), m_status(std::move(status))
    {
        listen();
    }
    static std::unique_ptr<FeedbackServer> answering(const QByteArray &raw)
    {
        auto server = std::make_unique<FeedbackServer>(QByteArray(""));
        server->m_raw = raw;
        return server;
    }

    QString host() const { return QStringLiteral("127.0.0.1:%1").arg(m_server.serverPort()); }
    quint16 port() const { return m_server.serverPort(); }
    QList<QByteArray> requestLines;
    bool buttonEnabledDuringRequest = true;
    BlueCommand *watched = nullptr;

private:
    void listen()
    {
        m_server.listen(QHostAddress::LocalHost, 0);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { read(socket); });
            }
        });
    }

    void read(QTcpSocket *socket)
    {
        QByteArray &buffer = m_buffers[socket];
        buffer += socket->readAll();
        if (!buffer.contains("\r\n\r\n"))
            return;
        requestLines.append(buffer.left(buffer.indexOf("\r\n")));
        if (watched)
            buttonEnabledDuringRequest = watched->Enabled();
        if (m_body.isNull())
            return; // never answers
        if (!m_raw.isEmpty()) {
            socket->write(m_raw);
            socket->disconnectFromHost();
            return;
        }
        socket->write("HTTP/1.1 " + m_status +
                      "\r\nContent-Type: text/xml\r\nConnection: close\r\nContent-Length: " +
                      QByteArray::number(m_body.size()) + "\r\n\r\n" + m_body);
        socket->disconnectFromHost();
    }

    QTcpServer m_server;
    QByteArray m_body;
    QByteArray m_status;
    QByteArray m_raw;
    QHash<QTcpSocket *, QByteArray> m_buffers;
};

} // namespace

class TestIdeaSend : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void urlEncode_data();
    void urlEncode();
    void inputIsChecked_data();
    void inputIsChecked();
    void noHostSendsNothing();
    void answerIsShown();
    void answerForms_data();
    void answerForms();
    void cutAnswerIsNamed();
    void redirectIsFollowed();
    void proxyIsUsed();
    void badAnswersGiveTheXmlError_data();
    void badAnswersGiveTheXmlError();
    void silentServerTimesOut();
    void refusedConnectionIsNamed();
    void formOpensOverItsOwner();

private:
    void setHost(const QString &host);
    // Types into the form and presses "Wyślij".
    void send(IdeaSend &form, const QString &email, const QString &idea);

    std::unique_ptr<TestSupport::TestDatabase> m_db;
};

void TestIdeaSend::initTestCase()
{
    QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
}

void TestIdeaSend::init()
{
    m_db = std::make_unique<TestSupport::TestDatabase>();
    QVERIFY2(m_db->isValid(), qPrintable(m_db->errorString()));
    Globals::setDatabase(m_db->take());
    auto options = clsOptions::load(*Globals::database());
    QVERIFY(options);
    Globals::setOptions(std::move(options));
    Messages::clearShown();
    clsXmlGet::setTimeout(30000);
}

void TestIdeaSend::cleanup()
{
    Globals::closeDatabase();
    m_db.reset();
    Messages::clearShown();
}

void TestIdeaSend::setHost(const QString &host)
{
    QVERIFY(Globals::options()->SetOption(QStringLiteral("FeedbackHost"), host));
}

void TestIdeaSend::send(IdeaSend &form, const QString &email, const QString &idea)
{
    QVERIFY(Keyboard::showActive(form));
    // Clicked into, emptied and typed, as the sender types.
    for (QWidget *field :
         {static_cast<QWidget *>(form.Text1()), static_cast<QWidget *>(form.Text2())}) {
        QTest::mouseClick(field, Qt::LeftButton);
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_Delete);
        const QStringList lines = (field == form.Text1() ? email : idea).split(u'\n');
        for (qsizetype i = 0; i < lines.size(); ++i) {
            if (i > 0)
                Keyboard::press(Qt::Key_Return);
            Keyboard::type(lines.at(i));
        }
    }
    QTest::mouseClick(form.ButtonOK(), Qt::LeftButton);
}

void TestIdeaSend::urlEncode_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("encoded");
    QTest::newRow("polish") << QStringLiteral("Zażółć gęślą jaźń")
                            << QStringLiteral("Za%BF%F3%B3%E6%20g%EA%B6l%B1%20ja%BC%F1");
    QTest::newRow("capitals") << QStringLiteral("ĄŚŹŻ") << QStringLiteral("%A1%A6%AC%AF");
    QTest::newRow("address") << QStringLiteral("jan.kowalski@example.pl")
                             << QStringLiteral("jan%2Ekowalski%40example%2Epl");
    QTest::newRow("signs") << QStringLiteral("a-b_c+d~") << QStringLiteral("a%2Db%5Fc%2Bd%7E");
    QTest::newRow("line break") << QStringLiteral("a\r\nb") << QStringLiteral("a%0D%0Ab");
    QTest::newRow("low code") << QStringLiteral("\t") << QStringLiteral("%09");
    QTest::newRow("not in code page") << QStringLiteral("中") << QStringLiteral("%3F");
    QTest::newRow("empty") << QString() << QString();
}

void TestIdeaSend::urlEncode()
{
    QFETCH(QString, text);
    QFETCH(QString, encoded);
    QCOMPARE(InternetOperations::UrlEncode(text), encoded);
}

void TestIdeaSend::inputIsChecked_data()
{
    QTest::addColumn<QString>("email");
    QTest::addColumn<QString>("idea");
    QTest::addColumn<QString>("message");
    const QString fill = QStringLiteral("Proszę wypełnić pola.");
    const QString address = QStringLiteral("Proszę podać prawidłowy adres e-mail.");
    QTest::newRow("no email") << QString() << QStringLiteral("pomysł") << fill;
    QTest::newRow("no idea") << QStringLiteral("a@b.pl") << QString() << fill;
    QTest::newRow("no full stop") << QStringLiteral("a@b") << QStringLiteral("pomysł") << address;
    QTest::newRow("no at sign") << QStringLiteral("a.b") << QStringLiteral("pomysł") << address;
}

void TestIdeaSend::inputIsChecked()
{
    QFETCH(QString, email);
    QFETCH(QString, idea);
    QFETCH(QString, message);
    FeedbackServer server(QByteArray("<Doc><Result>x</Result></Doc>"));
    setHost(server.host());
    IdeaSend form;
    form.show();
    send(form, email, idea);
    QCOMPARE(Messages::shown(), QStringList{message});
    QVERIFY(server.requestLines.isEmpty());
    QVERIFY(form.ButtonOK()->Enabled());
}

void TestIdeaSend::noHostSendsNothing()
{
    IdeaSend form;
    form.show();
    send(form, QStringLiteral("@."), QStringLiteral("pomysł"));
    QCOMPARE(Messages::shown().size(), 1);
    QVERIFY(Messages::shown().constFirst().startsWith(QStringLiteral("Nie skonfigurowano adresu")));
    QVERIFY(form.ButtonOK()->Enabled());
}

void TestIdeaSend::answerIsShown()
{
    FeedbackServer server(QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
                                         "<Doc><Result>Dziękujemy za pomysł!</Result></Doc>")
                              .toUtf8());
    setHost(server.host());
    IdeaSend form;
    form.show();
    server.watched = form.ButtonOK();
    send(form, QStringLiteral("jan.kowalski-nowak_1@example.pl"),
         QStringLiteral("Zażółć\ngęślą ~"));

    // The query as encoded, "." "-" "_" "~" included, not as Qt would write it.
    QCOMPARE(server.requestLines.size(), 1);
    QCOMPARE(server.requestLines.constFirst(),
             QByteArray("GET /Kadrelo/ideasend.php?email=jan%2Ekowalski%2Dnowak%5F1%40example%2Epl"
                        "&tresc=Za%BF%F3%B3%E6%0D%0Ag%EA%B6l%B1%20%7E HTTP/1.1"));
    QVERIFY(!server.buttonEnabledDuringRequest);
    QCOMPARE(Messages::shown(), QStringList{QStringLiteral("Dziękujemy za pomysł!")});
    QVERIFY(form.ButtonOK()->Enabled());
    QCOMPARE(form.Text1()->text(), QStringLiteral("jan.kowalski-nowak_1@example.pl"));
}

void TestIdeaSend::answerForms_data()
{
    QTest::addColumn<QByteArray>("raw");
    QTest::newRow("chunked") << QByteArray("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n"
                                           "5\r\n<Doc>\r\n13;x=1\r\n<Result>ok</Result>\r\n"
                                           "6\r\n</Doc>\r\n0\r\n\r\n");
    QTest::newRow("no length, then closed")
        << QByteArray("HTTP/1.0 200 OK\r\nContent-Type: text/xml\r\n\r\n"
                      "<Doc><Result>ok</Result></Doc>");
    QTest::newRow("longer than its length")
        << QByteArray("HTTP/1.1 200 OK\r\nContent-Length: 30\r\n\r\n"
                      "<Doc><Result>ok</Result></Doc>trailing");
}

// The ways a server may frame its answer all give the same document.
void TestIdeaSend::answerForms()
{
    QFETCH(QByteArray, raw);
    auto server = FeedbackServer::answering(raw);
    clsXmlGet request;
    request.Show(
        IdeaSend::requestUrl(server->host(), QStringLiteral("a@b.pl"), QStringLiteral("x")));
    QCOMPARE(Messages::shown(), QStringList());
    QVERIFY(request.Result());
    QCOMPARE(request.Result()->documentElement().selectSingleNode(QStringLiteral("Result")).text(),
             QStringLiteral("ok"));
}

// A server that closes before the length it gave: the planner reads that the
// answer was cut, not an XML error about a half document.
void TestIdeaSend::cutAnswerIsNamed()
{
    auto server = FeedbackServer::answering("HTTP/1.1 200 OK\r\nContent-Length: 60\r\n\r\n"
                                            "<Doc><Result>ok</Res");
    clsXmlGet request;
    request.Show(
        IdeaSend::requestUrl(server->host(), QStringLiteral("a@b.pl"), QStringLiteral("x")));
    QVERIFY(!request.Result());
    QCOMPARE(Messages::shown(),
             QStringList{QStringLiteral(
                 "Wystąpił błąd XML!\r\nBłędna odpowiedź serwera (niepełna odpowiedź)")});
}

// A service that has moved answers from its new address.
void TestIdeaSend::redirectIsFollowed()
{
    FeedbackServer moved(QByteArray("<Doc><Result>Dziękujemy</Result></Doc>"));
    auto old = FeedbackServer::answering("HTTP/1.1 302 Found\r\nLocation: http://" +
                                         moved.host().toLatin1() +
                                         "/Kadrelo/nowy.php?email=a%40b.pl\r\n"
                                         "Content-Length: 0\r\n\r\n");
    setHost(old->host());
    IdeaSend form;
    form.show();
    send(form, QStringLiteral("a@b.pl"), QStringLiteral("x"));
    QCOMPARE(old->requestLines.size(), 1);
    QCOMPARE(moved.requestLines,
             QList<QByteArray>{"GET /Kadrelo/nowy.php?email=a%40b.pl HTTP/1.1"});
    QCOMPARE(Messages::shown(), QStringList{QStringLiteral("Dziękujemy")});
}

// Behind a proxy the request goes to the proxy, which answers for the service.
void TestIdeaSend::proxyIsUsed()
{
    FeedbackServer proxy(QByteArray("<Doc><Result>przez proxy</Result></Doc>"));
    QNetworkProxy::setApplicationProxy(
        QNetworkProxy(QNetworkProxy::HttpProxy, QStringLiteral("127.0.0.1"), proxy.port()));
    setHost(QStringLiteral("kadrelo.invalid"));
    IdeaSend form;
    form.show();
    send(form, QStringLiteral("a@b.pl"), QStringLiteral("x"));
    QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
    QCOMPARE(proxy.requestLines.size(), 1);
    QVERIFY(proxy.requestLines.constFirst().startsWith(
        "GET http://kadrelo.invalid/Kadrelo/ideasend.php?email=a%40b.pl"));
    QCOMPARE(Messages::shown(), QStringList{QStringLiteral("przez proxy")});
}

void TestIdeaSend::badAnswersGiveTheXmlError_data()
{
    QTest::addColumn<QByteArray>("status");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("reason");
    const QByteArray ok("200 OK");
    QTest::newRow("no Result") << ok << QByteArray("<Doc><Status>ok</Status></Doc>")
                               << QStringLiteral("Odpowiedź nie zawiera elementu /Doc/Result.");
    QTest::newRow("other root") << ok << QByteArray("<Answer><Result>x</Result></Answer>")
                                << QStringLiteral("Odpowiedź nie zawiera elementu /Doc/Result.");
    QTest::newRow("not well-formed")
        << ok << QByteArray("<Doc><Result>x</Doc>")
        << QStringLiteral("Znacznik zamykający nie pasuje do otwierającego, pozycja 16 "
                          "(Start-end tags mismatch)");
    QTest::newRow("empty") << ok << QByteArray("")
                           << QStringLiteral("Brak elementu głównego dokumentu, pozycja 0 "
                                             "(No document element found)");
    QTest::newRow("HTTP 404") << QByteArray("404 Not Found") << QByteArray("<html>brak</html>")
                              << QStringLiteral(
                                     "Nie znaleziono usługi na serwerze (HTTP 404 Not Found)");
    QTest::newRow("HTTP 500") << QByteArray("500 Internal Server Error") << QByteArray("")
                              << QStringLiteral("Błąd serwera (HTTP 500 Internal Server Error)");
}

void TestIdeaSend::badAnswersGiveTheXmlError()
{
    QFETCH(QByteArray, status);
    QFETCH(QByteArray, body);
    QFETCH(QString, reason);
    FeedbackServer server(body, status);
    setHost(server.host());
    IdeaSend form;
    form.show();
    send(form, QStringLiteral("jan@example.pl"), QStringLiteral("pomysł"));
    QCOMPARE(server.requestLines.size(), 1);
    QCOMPARE(Messages::shown(), QStringList{QStringLiteral("Wystąpił błąd XML!\r\n") + reason});
    QVERIFY(form.ButtonOK()->Enabled());
}

void TestIdeaSend::silentServerTimesOut()
{
    FeedbackServer server{QByteArray()};
    setHost(server.host());
    clsXmlGet::setTimeout(200);
    clsXmlGet request;
    request.Show(
        IdeaSend::requestUrl(server.host(), QStringLiteral("a@b.pl"), QStringLiteral("x")));
    QVERIFY(!request.Result());
    QCOMPARE(Messages::shown(),
             QStringList{QStringLiteral(
                 "Wystąpił błąd XML!\r\nSerwer nie odpowiedział w wyznaczonym czasie.")});
}

void TestIdeaSend::refusedConnectionIsNamed()
{
    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost, 0));
    const QString host = QStringLiteral("127.0.0.1:%1").arg(closed.serverPort());
    closed.close();
    clsXmlGet request;
    request.Show(IdeaSend::requestUrl(host, QStringLiteral("a@b.pl"), QStringLiteral("x")));
    QVERIFY(!request.Result());
    QCOMPARE(Messages::shown(),
             QStringList{QStringLiteral(
                 "Wystąpił błąd XML!\r\nSerwer odmówił połączenia (Connection refused)")});
}

void TestIdeaSend::formOpensOverItsOwner()
{
    QWidget owner;
    owner.setGeometry(0, 0, 1000, 700);
    owner.show();
    IdeaSend form(&owner);
    form.show();
    QVERIFY(form.isWindow());
    // Within the few pixels a window frame may shift it.
    QVERIFY((form.frameGeometry().center() - owner.frameGeometry().center()).manhattanLength() <=
            8);
}

QTEST_MAIN(TestIdeaSend)
#include "tst_ideasend.moc"
