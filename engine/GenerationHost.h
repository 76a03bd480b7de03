#pragma once

#include <QDate>
#include <QList>
#include <QString>

#include <memory>

namespace Xml {
class Document;
}
namespace XML {
class PersonCountSink;
}

namespace Algorytmy {

// What one generation run asks for. The build dialog fills it.
struct GenerationRequest
{
    // Any day of the month to generate; the run uses its first day.
    QDate month;
    // The chosen duties in grid order: the n-th id is grid column n (from 1),
    // the n-th ServiceItem and the first part of every Position. Ids without a
    // row in sluzby are left out (see ChosenDuties()).
    QList<qint64> dutyIds;
    // The chosen groups; the run takes them in grupy's stored order.
    QList<qint64> groupIds;
    // wizardlist.id of the rule set, 0 (or less) for none.
    qint64 ruleSetId = 0;
};

// The narrow window through which a generation run reaches the main window.
// The main window implements it; tests use a recording double. The engine
// never links widgets, so everything the run shows goes through here.
//
// Call order of one run:
//   beginGeneration(), setScheduleReady(false),
//   setCellText(...) per filled duty-day and progress(...) once per day,
//   then either (success)
//     endGeneration(), setCurrDate(), setToolbarTitle(), toolbarTitle(),
//     personList() (filled through XML::FillPersonCounts), setRosterDocument(),
//     showExclusions() when the planner answers Yes to the gap question,
//     setScheduleReady(true);
//   or (failure) restoreAfterFailure() and nothing else; the main window is
//   then to look as it did before beginGeneration(), ScheduleReady included.
// A run that fails before it starts (no roster document, unreadable duties or
// rules) calls nothing of the host.
// The gap question itself is asked through Messages::question.
class GenerationHost
{
public:
    virtual ~GenerationHost() = default;

    // The main window's ScheduleReady flag.
    virtual void setScheduleReady(bool ready) = 0;

    // Hides the roster grid, person list, calendar and balance toolbar, shows
    // the picture and the empty progress box. The host remembers the window's
    // state (ScheduleReady included) so that restoreAfterFailure() can put it
    // back.
    virtual void beginGeneration() = 0;

    // Redraws the progress box after day dayIndex (1-based) of dayCount:
    // dayIndex / dayCount of its width filled, text centred in it
    // ("Proszę czekać... ( 42% )").
    virtual void progress(int dayIndex, int dayCount, const QString &text) = 0;

    // Text of one roster-grid cell: row = day of the month, column = duty's
    // grid column (1-based); places separated by CR LF CR LF. The grid was
    // laid out before the run. Not called for a duty-day without places.
    virtual void setCellText(int row, int column, const QString &text) = 0;

    // Hides the progress box and the picture, shows the roster controls.
    virtual void endGeneration() = 0;

    // A failed run: puts the main window back as it was before
    // beginGeneration() (grid texts included).
    virtual void restoreAfterFailure() = 0;

    // The month of the roster (its first day).
    virtual void setCurrDate(const QDate &firstDay) = 0;

    // The main toolbar's title: set and redrawn, then read back for the
    // roster's Name.
    virtual void setToolbarTitle(const QString &title) = 0;
    virtual QString toolbarTitle() const = 0;

    // Where XML::FillPersonCounts writes the person list (lstLudzie) and which
    // enables the roster commands (MakeOpened(true)).
    virtual XML::PersonCountSink &personList() = 0;

    // Hands over the finished roster document; the main window owns it from now on.
    virtual void setRosterDocument(std::unique_ptr<Xml::Document> document) = 0;

    // Shows the exclusions view (Wykluczenia) modally, after the hand-over.
    virtual void showExclusions() = 0;
};

} // namespace Algorytmy
