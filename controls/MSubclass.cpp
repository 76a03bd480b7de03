#include "controls/MSubclass.h"

#include "controls/ISubclass.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFileInfo>
#include <QHash>
#include <QList>
#include <QObject>
#include <QThread>

namespace {

// The installed "window procedure": one per subclassed window, a child of it,
// so it goes with the window.
class SubclassFilter : public QObject
{
public:
    explicit SubclassFilter(QObject *window) : QObject(window)
    {
        setObjectName(QStringLiteral("MSubclassFilter"));
    }

    int attachments = 0;
    QHash<int, QList<ISubclass *>> clients;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (m_forwarding.contains(event))
            return false; // the nested call is the window's own handling
        const int n = clients.value(event->type()).size();
        if (n < 1)
            return false;

        bool result = false;
        bool oldCalled = false;
        for (int i = 1; i <= n; ++i) {
            ISubclass *client = clientAt(event->type(), i);
            if (!client) {
                result = callOld(watched, event);
                continue;
            }
            if (i == 1 && client->MsgResponse() == RespondAfterOld && !oldCalled) {
                callOld(watched, event);
                oldCalled = true;
            }
            result = client->WindowProc(watched, event);
            if (i == n && client->MsgResponse() == RespondBeforeOld && !oldCalled) {
                result = callOld(watched, event);
                oldCalled = true;
            }
        }
        Q_UNUSED(result);
        // Handled here in every case: the window's own handling ran above or
        // was consumed by the clients.
        return true;
    }

private:
    ISubclass *clientAt(int message, int place) const
    {
        const QList<ISubclass *> list = clients.value(message);
        return place >= 1 && place <= list.size() ? list.at(place - 1) : nullptr;
    }

    bool callOld(QObject *watched, QEvent *event)
    {
        m_forwarding.append(event);
        const bool handled = QCoreApplication::sendEvent(watched, event);
        m_forwarding.removeOne(event);
        return handled;
    }

    QList<QEvent *> m_forwarding;
};

SubclassFilter *filterOf(const QObject *window)
{
    if (!window)
        return nullptr;
    return window->findChild<SubclassFilter *>(QStringLiteral("MSubclassFilter"),
                                               Qt::FindDirectChildrenOnly);
}

bool raiseSubclassError(int code, MSubclass::Error *error)
{
    if (error) {
        error->number = MSubclass::objectError(code);
        error->source = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName() +
                        QStringLiteral(".WindowProc");
        switch (code) {
        case MSubclass::ErrCantSubclass:
            error->description = QStringLiteral("Can't subclass window");
            break;
        case MSubclass::ErrAlreadyHandled:
            error->description = QStringLiteral("Message already handled by another class");
            break;
        case MSubclass::ErrInvalidWindow:
            error->description = QStringLiteral("Invalid window");
            break;
        case MSubclass::ErrExternalWindow:
            error->description = QStringLiteral("Can't modify external window");
            break;
        default:
            error->description.clear();
        }
    }
    return false;
}

} // namespace

namespace MSubclass {

bool AttachMessage(ISubclass *client, QObject *window, int message, Error *error)
{
    if (!window || !client)
        return raiseSubclassError(ErrInvalidWindow, error);
    // A window of another thread cannot be filtered from here.
    if (window->thread() != QThread::currentThread())
        return raiseSubclassError(ErrExternalWindow, error);

    SubclassFilter *filter = filterOf(window);
    // The duplicate test comes before any counting, so the attachment count
    // always equals the number of stored attachments.
    if (filter && filter->clients.value(message).contains(client))
        return raiseSubclassError(ErrAlreadyHandled, error);

    if (!filter) {
        // Installing an event filter has no failure path in Qt, so
        // ErrCantSubclass is never raised here.
        filter = new SubclassFilter(window);
        window->installEventFilter(filter);
    }
    ++filter->attachments;
    filter->clients[message].append(client);
    return true;
}

void DetachMessage(ISubclass *client, QObject *window, int message)
{
    SubclassFilter *filter = filterOf(window);
    if (!filter)
        return;
    auto it = filter->clients.find(message);
    // Detaching what is not attached is a no-op, so the counts stay true.
    if (it == filter->clients.end() || !it->contains(client))
        return;
    it->removeOne(client); // later clients move down, order kept
    if (--filter->attachments <= 0) {
        // The filter may be inside its own eventFilter (a client detaching
        // while it handles a message): unhook it now, delete it later.
        window->removeEventFilter(filter);
        filter->setObjectName(QString());
        filter->setParent(nullptr);
        filter->deleteLater();
    }
}

bool IsSubclassed(const QObject *window)
{
    return filterOf(window) != nullptr;
}

int AttachmentCount(const QObject *window)
{
    const SubclassFilter *filter = filterOf(window);
    return filter ? filter->attachments : 0;
}

int ClientCount(const QObject *window, int message)
{
    const SubclassFilter *filter = filterOf(window);
    return filter ? int(filter->clients.value(message).size()) : 0;
}

ISubclass *Client(const QObject *window, int message, int place)
{
    const SubclassFilter *filter = filterOf(window);
    if (!filter)
        return nullptr;
    const QList<ISubclass *> list = filter->clients.value(message);
    return place >= 1 && place <= list.size() ? list.at(place - 1) : nullptr;
}

} // namespace MSubclass
