#pragma once

// What the master-data window tests share: the database every test starts
// from, windows whose editors are driven in place, and list readers.

#include "core/Globals.h"
#include "core/Messages.h"
#include "core/Options.h"
#include "platform/db/Database.h"
#include "tests/support/TestDatabase.h"
#include "tests/support/Tooltips.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDir>
#include <QStringList>
#include <QTest>
#include <QTreeWidget>

#include <functional>
#include <memory>

namespace MasterDataTest {

// A fresh database from the schema as the program's database, its options
// loaded and no message shown yet. A test class derives from it beside QObject.
class DatabaseFixture
{
protected:
    // For init(): false, with the reason, when the database could not be built.
    bool openDatabase(QString *error)
    {
        m_file = std::make_unique<TestSupport::TestDatabase>();
        if (!m_file->isValid()) {
            *error = m_file->errorString();
            return false;
        }
        Globals::setDatabase(m_file->take());
        Globals::setOptions(clsOptions::load(db()));
        Messages::clearShown();
        return true;
    }

    // For cleanup().
    void closeDatabase()
    {
        Globals::closeDatabase();
        m_file.reset();
    }

    Db::Database &db() { return *Globals::database(); }

private:
    std::unique_ptr<TestSupport::TestDatabase> m_file;
};

// The window with the editors it opens driven by onModal instead of shown.
template <typename Window, typename Editor = QDialog> class InPlace : public Window
{
public:
    std::function<void(Editor &)> onModal;
    int modalCount = 0;

protected:
    int showModal(QDialog &dialog) override
    {
        ++modalCount;
        if (onModal)
            onModal(static_cast<Editor &>(dialog));
        return dialog.result();
    }
};

template <typename T> T *field(const QWidget &window, const char *name)
{
    T *w = window.findChild<T *>(QString::fromLatin1(name));
    if (!w)
        qFatal("no field %s", name);
    return w;
}

inline QStringList column(const QTreeWidget *list, int c)
{
    QStringList texts;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        texts << list->topLevelItem(i)->text(c);
    return texts;
}

// Pastes text into the widget with the focus, as Ctrl+V does: the way a
// character no key types reaches a field.
inline void paste(const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
}

// The refusal of a text the roster file cannot hold, in the field of that caption.
inline QString refusal(const QString &caption, const QString &code = QStringLiteral("U+0001"))
{
    return Messages::lines({QStringLiteral("Błędne dane"),
                            QStringLiteral("Pole „%1” zawiera niedozwolony znak (%2), którego nie "
                                           "można zapisać w pliku grafiku. Proszę go usunąć.")
                                .arg(caption, code)});
}

using Tooltips::tooltipAt;
using Tooltips::tooltipOf;

// Shows the window and saves its picture as name in folder; false when it
// never came up or the file could not be written.
inline bool saveShot(QWidget &window, const QString &folder, const QString &name)
{
    window.show();
    return QTest::qWaitForWindowExposed(&window) && window.grab().save(QDir(folder).filePath(name));
}

} // namespace MasterDataTest
