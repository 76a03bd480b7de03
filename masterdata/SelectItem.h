#pragma once

#include "core/ui/PickReceiver.h"

#include <QChar>
#include <QString>

#include <functional>
#include <utility>

// The picker through which a dialog lets the user choose groups, people, a
// range of days or duties and gets them back as text.
//
// A caller creates one, sets Rodzaj, calls Show() and reads Result(). Show()
// opens the window that Rodzaj names modally in picking mode:
//   0 Grupy, 1 Ludzie, 2 the day-range window, 3 Sluzby.
// The window receives the picker (setMyClass) right after it is built and
// before it is shown; it writes the user's choice with setResult() when the
// user confirms and closes.
// Result: the entries joined by NUL (no NUL after the last); each entry is
// "id;text" (people: "id;surname first name"), or "first;last" for a day range.
// Empty when nothing was picked. A Rodzaj outside 0..3 opens nothing.
//
// The day-range window (Wizard_zwolnienia) belongs to the rule wizard, which
// master data does not link; whoever links both hands it in before Show():
//     picker.setDayRangeWindow([](SelectItem &p) {
//         Wizard_zwolnienia window;
//         window.setMyClass(&p);
//         window.exec();
//     });
// Without it Rodzaj 2 opens nothing.
class SelectItem : public PickReceiver
{
public:
    enum Kind { Groups = 0, People = 1, DayRange = 2, Duties = 3 };

    static inline const QChar Separator = QChar(u'\0');

    // Opens a window modally in picking mode with this picker as its MyClass.
    using Window = std::function<void(SelectItem &picker)>;

    SelectItem() = default;

    int Rodzaj() const { return m_rodzaj; }
    void setRodzaj(int rodzaj) { m_rodzaj = rodzaj; }

    QString Result() const { return m_result; }
    void setResult(const QString &result) override { m_result = result; }

    void setDayRangeWindow(Window open) { m_dayRange = std::move(open); }

    // Empties Result, then shows the chosen window modally; returns when it closes.
    void Show();

private:
    QString m_result;
    int m_rodzaj = 0;
    Window m_dayRange;
};
