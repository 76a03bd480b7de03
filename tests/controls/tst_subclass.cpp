#include "controls/ISubclass.h"
#include "controls/MSubclass.h"

#include <QEvent>
#include <QObject>
#include <QThread>
#include <QtTest>

namespace {

const auto MsgA = QEvent::Type(QEvent::User + 1);
const auto MsgB = QEvent::Type(QEvent::User + 2);

// A window whose own handling of every message is logged as "old".
class Window : public QObject
{
public:
    QStringList *log = nullptr;
    bool event(QEvent *e) override
    {
        if (e->type() >= QEvent::User && log)
            log->append(QStringLiteral("old"));
        return QObject::event(e);
    }
};

class Client : public ISubclass
{
public:
    Client(QString name, QStringList *log, SubclassResponse response = RespondConsume)
        : m_name(std::move(name)), m_log(log), m_response(response)
    {}
    SubclassResponse MsgResponse() const override { return m_response; }
    void setMsgResponse(SubclassResponse response) override { m_response = response; }
    bool WindowProc(QObject *window, QEvent *) override
    {
        m_log->append(m_name);
        if (detachOnCall)
            MSubclass::DetachMessage(detachOnCall, window, MsgA);
        return true;
    }
    ISubclass *detachOnCall = nullptr;

private:
    QString m_name;
    QStringList *m_log;
    SubclassResponse m_response;
};

void send(QObject *window, QEvent::Type type)
{
    QEvent e(type);
    QCoreApplication::sendEvent(window, &e);
}

} // namespace

class TestSubclass : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void clientOrderAndResponses_data();
    void clientOrderAndResponses();
    void attachmentsCountedPerWindow();
    void detachKeepsOrder();
    void clientDetachingWhileHandling();
    void errors_data();
    void errors();
};

void TestSubclass::clientOrderAndResponses_data()
{
    QTest::addColumn<QList<int>>("responses");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("one consumes") << QList<int>{0} << QStringList{"c1"};
    QTest::newRow("one before old") << QList<int>{1} << QStringList{"c1", "old"};
    QTest::newRow("one after old") << QList<int>{2} << QStringList{"old", "c1"};
    QTest::newRow("first after old") << QList<int>{2, 0, 0} << QStringList{"old", "c1", "c2", "c3"};
    QTest::newRow("middle not asked")
        << QList<int>{0, 2, 1} << QStringList{"c1", "c2", "c3", "old"};
    QTest::newRow("first before old ignored")
        << QList<int>{1, 0, 0} << QStringList{"c1", "c2", "c3"};
    QTest::newRow("old called once") << QList<int>{2, 0, 1} << QStringList{"old", "c1", "c2", "c3"};
}

void TestSubclass::clientOrderAndResponses()
{
    QFETCH(QList<int>, responses);
    QFETCH(QStringList, expected);
    QStringList log;
    Window window;
    window.log = &log;
    std::vector<std::unique_ptr<Client>> clients;
    for (int i = 0; i < responses.size(); ++i) {
        clients.push_back(std::make_unique<Client>(QStringLiteral("c%1").arg(i + 1), &log,
                                                   SubclassResponse(responses.at(i))));
        QVERIFY(MSubclass::AttachMessage(clients.back().get(), &window, MsgA));
    }
    send(&window, MsgA);
    QCOMPARE(log, expected);

    // A message nobody asked for goes straight to the window.
    log.clear();
    send(&window, MsgB);
    QCOMPARE(log, QStringList{"old"});

    for (auto &client : clients)
        MSubclass::DetachMessage(client.get(), &window, MsgA);
    QVERIFY(!MSubclass::IsSubclassed(&window));
}

void TestSubclass::attachmentsCountedPerWindow()
{
    QStringList log;
    Window window;
    window.log = &log;
    Client client("c", &log);
    QVERIFY(MSubclass::AttachMessage(&client, &window, MsgA));
    QVERIFY(MSubclass::AttachMessage(&client, &window, MsgB));
    QCOMPARE(window.findChildren<QObject *>().size(), 1); // one filter for both
    QCOMPARE(MSubclass::AttachmentCount(&window), 2);

    MSubclass::DetachMessage(&client, &window, MsgA);
    QVERIFY(MSubclass::IsSubclassed(&window));
    QCOMPARE(MSubclass::AttachmentCount(&window), 1);
    send(&window, MsgA);
    send(&window, MsgB);
    QCOMPARE(log, (QStringList{"old", "c"}));

    MSubclass::DetachMessage(&client, &window, MsgB);
    QVERIFY(!MSubclass::IsSubclassed(&window));
    QCOMPARE(MSubclass::AttachmentCount(&window), 0);
    log.clear();
    send(&window, MsgB);
    QCOMPARE(log, QStringList{"old"});
}

void TestSubclass::detachKeepsOrder()
{
    QStringList log;
    Window window;
    Client c1("c1", &log), c2("c2", &log), c3("c3", &log);
    for (Client *c : {&c1, &c2, &c3})
        QVERIFY(MSubclass::AttachMessage(c, &window, MsgA));
    MSubclass::DetachMessage(&c2, &window, MsgA);
    QCOMPARE(MSubclass::ClientCount(&window, MsgA), 2);
    QCOMPARE(MSubclass::Client(&window, MsgA, 1), &c1);
    QCOMPARE(MSubclass::Client(&window, MsgA, 2), &c3);
    QCOMPARE(MSubclass::AttachmentCount(&window), 2);
    // Detaching what is not attached changes nothing.
    MSubclass::DetachMessage(&c2, &window, MsgA);
    QCOMPARE(MSubclass::AttachmentCount(&window), 2);
    send(&window, MsgA);
    QCOMPARE(log, (QStringList{"c1", "c3"}));
    MSubclass::DetachMessage(&c1, &window, MsgA);
    MSubclass::DetachMessage(&c3, &window, MsgA);
}

void TestSubclass::clientDetachingWhileHandling()
{
    // c1 detaches c2 while handling: the emptied last place falls back to the
    // window's own handling, and the window is unhooked safely.
    QStringList log;
    Window window;
    window.log = &log;
    Client c1("c1", &log), c2("c2", &log);
    QVERIFY(MSubclass::AttachMessage(&c1, &window, MsgA));
    QVERIFY(MSubclass::AttachMessage(&c2, &window, MsgA));
    c1.detachOnCall = &c2;
    send(&window, MsgA);
    QCOMPARE(log, (QStringList{"c1", "old"}));
    c1.detachOnCall = &c1;
    log.clear();
    send(&window, MsgA);
    QCOMPARE(log, QStringList{"c1"});
    QVERIFY(!MSubclass::IsSubclassed(&window));
}

void TestSubclass::errors_data()
{
    QTest::addColumn<QString>("situation");
    QTest::addColumn<qint32>("number");
    QTest::addColumn<QString>("text");
    QTest::newRow("duplicate") << "duplicate" << qint32(0x8004331A)
                               << "Message already handled by another class";
    QTest::newRow("no window") << "null" << qint32(0x8004331B) << "Invalid window";
    QTest::newRow("other thread") << "thread" << qint32(0x8004331C)
                                  << "Can't modify external window";
}

void TestSubclass::errors()
{
    QFETCH(QString, situation);
    QFETCH(qint32, number);
    QFETCH(QString, text);
    QStringList log;
    Client client("c", &log);
    Window window;
    QThread thread;
    QObject *target = &window;
    if (situation == "duplicate")
        QVERIFY(MSubclass::AttachMessage(&client, &window, MsgA));
    else if (situation == "null")
        target = nullptr;
    else
        window.moveToThread(&thread);

    MSubclass::Error error;
    QVERIFY(!MSubclass::AttachMessage(&client, target, MsgA, &error));
    QCOMPARE(error.number, number);
    QCOMPARE(error.description, text);
    QVERIFY(error.source.endsWith(".WindowProc"));
    QCOMPARE(MSubclass::AttachmentCount(target), situation == "duplicate" ? 1 : 0);
    QCOMPARE(MSubclass::ClientCount(target, MsgA), situation == "duplicate" ? 1 : 0);
    MSubclass::DetachMessage(&client, target, MsgA);
    QVERIFY(!MSubclass::IsSubclassed(target));
}

QTEST_GUILESS_MAIN(TestSubclass)
#include "tst_subclass.moc"
