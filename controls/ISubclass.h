#pragma once

class QEvent;
class QObject;

// How the clients of one message stand to the window's own handling of it.
// Only the first and the last client of a message are asked.
enum SubclassResponse {
    RespondConsume = 0,   // the clients answer alone
    RespondBeforeOld = 1, // clients first, then the window's own handling
    RespondAfterOld = 2,  // the window's own handling first, then the clients
};

// A receiver of messages (event types) of a subclassed window; see MSubclass.
class ISubclass
{
public:
    virtual ~ISubclass() = default;

    virtual SubclassResponse MsgResponse() const = 0;
    virtual void setMsgResponse(SubclassResponse response) = 0;

    // Handles one message; the result becomes the message's result
    // (true: the event counts as handled).
    virtual bool WindowProc(QObject *window, QEvent *event) = 0;
};
