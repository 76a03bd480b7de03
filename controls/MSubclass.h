#pragma once

#include <QString>
#include <QtGlobal>

class ISubclass;
class QObject;

// Window subclassing on Qt: a window is any QObject, a message is an event
// type. The first attachment installs one event filter on the window; it
// hands each subscribed event to its clients, in the order they attached,
// before or after the window's own handling (SubclassResponse). The filter
// holds plain pointers: a client detaches itself before it is destroyed.
// Failures are reported through the Error out-parameter and leave nothing
// attached.
namespace MSubclass {

enum ErrorCode {
    ErrCantSubclass = 13081,
    ErrAlreadyHandled = 13082,
    ErrInvalidWindow = 13083,
    ErrExternalWindow = 13084,
};

struct Error
{
    qint32 number = 0;   // 0x80040000 OR the code for subclassing errors
    QString source;      // "<program>.WindowProc"
    QString description; // English text
};

// The number of an object error: 0x80040000 OR code, as a signed 32-bit value.
constexpr qint32 objectError(int code)
{
    return static_cast<qint32>(0x80040000u | static_cast<quint32>(code));
}

bool AttachMessage(ISubclass *client, QObject *window, int message, Error *error = nullptr);
void DetachMessage(ISubclass *client, QObject *window, int message);

// Bookkeeping, read-only.
bool IsSubclassed(const QObject *window);
int AttachmentCount(const QObject *window);
int ClientCount(const QObject *window, int message);
ISubclass *Client(const QObject *window, int message, int place); // place 1..ClientCount

} // namespace MSubclass
