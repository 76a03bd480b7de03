#pragma once

#include <QString>

// What a window opened for picking writes the user's choice into: the
// picker (masterdata's SelectItem). A window of a library that master data
// does not link, such as the rule wizard's day-range picker, answers
// through this and needs nothing of master data.
class PickReceiver
{
public:
    virtual ~PickReceiver() = default;
    virtual void setResult(const QString &result) = 0;
};
