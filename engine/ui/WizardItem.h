#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>

class BlueCommand;
class QAction;
class QComboBox;
class QGroupBox;
class QListWidget;
class WizItem;
class WizardHost;

// The editor of one rule: its kind, one or two argument lists (groups,
// people or duties) and its day ranges, each filled through the picker.
// Confirm writes kind and texts into the rule and accepts; cancel leaves the
// rule as it was. Nothing is written to the database here.
//
// Use: setMyItem, then SetNew or GetInfo, then show modally.
class WizardItem : public QDialog
{
    Q_OBJECT

public:
    enum ListIndex { Subjects = 0, Objects = 1, Days = 2 };

    explicit WizardItem(WizardHost &host, QWidget *parent = nullptr);

    // The rule to edit; not owned, must outlive the dialog.
    void setMyItem(WizItem *item) { m_item = item; }
    WizItem *MyItem() const { return m_item; }

    // A new rule of the first kind with empty lists.
    void SetNew();
    // Shows MyItem: its kind, its lists and its day ranges.
    void GetInfo();
    bool isNew() const { return m_new; }

    QComboBox *Combo1() const { return m_combo; }
    QListWidget *List1(int index) const { return m_lists[index]; }
    QGroupBox *lbl(int index) const { return m_frames[index]; }
    QAction *toolbarAction(int index, const QString &key) const;
    // "first;last" for each entry of the day-range list, in list order.
    QStringList dayRanges() const { return m_dayRanges; }

    // Button "add" or "del" of the list's toolbar.
    void toolbarClick(int index, const QString &key);
    // Adds what a picker returned; entries already listed are skipped.
    void addEntries(int index, const QString &result);
    // "Zapisz": false, with a message, while a list in use is empty.
    bool confirm();

    // The shown text of a day range.
    static QString rangeText(const QString &first, const QString &last);

private:
    void selectKindAt(int position);
    void kindChosen();
    void SetListEnabled(int index, bool enabled);
    int kind() const;
    int pickerKind(int index) const;
    void addArgument(int index, qint64 id, const QString &name);
    void addRange(const QString &first, const QString &last);
    QString argumentText(int index) const;

    WizardHost &m_host;
    WizItem *m_item = nullptr;
    bool m_new = false;
    QStringList m_dayRanges;
    QComboBox *m_combo = nullptr;
    QGroupBox *m_frames[3] = {};
    QListWidget *m_lists[3] = {};
    QAction *m_add[3] = {};
    QAction *m_del[3] = {};
};
