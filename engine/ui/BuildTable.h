#pragma once

#include <QDate>
#include <QDialog>
#include <QList>
#include <QString>

class FlexGrid;
class MonthEdit;
class QComboBox;
class QListWidget;
class QToolBar;

namespace Algorytmy {
class GenerationHost;
}

// What the build dialog needs of the main window around a run.
class BuildTableHost
{
public:
    virtual ~BuildTableHost() = default;

    // The roster grid that the dialog lays out for the month before the run.
    virtual FlexGrid &scheduleGrid() = 0;
    // The window the generation reports to.
    virtual Algorytmy::GenerationHost &generationHost() = 0;
    // Remembers the window (grid included) before the grid is laid out, and
    // puts it back when the run hands over no roster. Restoring after a
    // roster was handed over does nothing.
    virtual void saveWindowState() = 0;
    virtual void restoreWindowState() = 0;
    virtual void refreshWindow() = 0;
    // After a run that handed over its roster.
    virtual QDate currDate() const = 0;
    virtual void setWindowCaption(const QString &caption) = 0;
    virtual void setCalendarMonth(const QDate &month) = 0;
    // The picker's result for Rodzaj 0 (groups) or 3 (duties): "id;name"
    // entries joined by NUL, empty when nothing was picked.
    virtual QString pick(int rodzaj) = 0;
};

// The dialog that starts a generation: the month, the groups and duties that
// take part and the rule set. Both lists start with every group and every
// duty; entries are compared by id, so two groups of one name can both take part.
class BuildTable : public QDialog
{
    Q_OBJECT

public:
    enum ListIndex { Groups = 0, Duties = 1 };

    explicit BuildTable(BuildTableHost &host, QWidget *parent = nullptr);

    // The lists' ids in list order.
    QList<qint64> ids(int index) const;
    QListWidget *list(int index) const { return m_lists[index]; }
    QComboBox *ruleSets() const;
    // The chosen rule set's name as the box shows it, cut to its width.
    QString shownRuleSet() const;
    QDate month() const;
    void setMonth(const QDate &month);

    // A button of the list's small toolbar: "add" or "del".
    void toolbarClick(int index, const QString &key);
    // Adds the entries of a picker result ("id;name" joined by NUL) that the
    // list does not hold yet.
    void addEntries(int index, const QString &result);

    // "Stwórz": checks the lists, lays out the grid and runs the generation.
    // True when a roster was handed over.
    bool create();

    // The grid header of a duty: name, CR LF, "od <start> przez <hours> h",
    // start and hours as stored (the roster's ServiceItem/@Text reads the same).
    static QString headerText(const QString &name, const QString &start, const QString &hours);

private:
    void fillLists();

    BuildTableHost &m_host;
    QListWidget *m_lists[2] = {nullptr, nullptr};
    QToolBar *m_toolbars[2] = {nullptr, nullptr};
    class RuleSetBox;
    RuleSetBox *m_combo = nullptr;
    MonthEdit *m_month = nullptr;
};
