#include "engine/ui/WizardFile.h"

#include "controls/ToolBarN.h"
#include "core/Globals.h"
#include "core/Messages.h"
#include "core/ui/DialogParts.h"
#include "core/ui/Guard.h"
#include "core/ui/Module1Ui.h"
#include "engine/ui/WizardItem.h"
#include "platform/db/Database.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QStyle>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <climits>
#include <cmath>

namespace {

constexpr int RuleIdRole = Qt::UserRole;

} // namespace

WizardFile::WizardFile(WizardHost &host, QWidget *parent) : QDialog(parent), m_host(host)
{
    setObjectName(QStringLiteral("WizardFile"));
    setWindowTitle(QStringLiteral("Kreator ustawień - edycja"));

    m_toolbar = DialogParts::editBar(*this, [this](const QString &key) { toolbarClick(key); });
    m_toolbar->setTitle(QStringLiteral("Kreator ustawień"));

    QTabWidget *tabs = nullptr;
    QWidget *page = DialogParts::generalPage(*this, &tabs);
    auto *pageLayout = new QVBoxLayout(page);
    auto *label = new QLabel(QStringLiteral("Nazwa ustawień:"), page);
    label->setObjectName(QStringLiteral("lbl_0"));
    m_name = new QLineEdit(page);
    m_name->setObjectName(QStringLiteral("Text1"));
    label->setBuddy(m_name);
    Module1::FlatBorder(m_name);
    m_name->installEventFilter(this);
    m_name->setFocus();

    m_grid = new QTableWidget(0, 1, page);
    m_grid->setObjectName(QStringLiteral("Lista"));
    m_grid->setHorizontalHeaderLabels({QStringLiteral("Lista zdarzeń")});
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->verticalHeader()->hide();
    m_grid->setWordWrap(true);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // A rule of many people may be taller than the grid: scroll through it, not past it.
    m_grid->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    Module1::FlatBorder(m_grid);
    m_grid->installEventFilter(this);
    // Sentences wrap anew whenever the column changes its width. The header
    // tells the new width before columnWidth() returns it.
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionResized, this,
            [this](int column, int, int width) {
                if (column != 0)
                    return;
                for (int row = 0; row < m_grid->rowCount(); ++row)
                    fitRow(row, width);
            });
    connect(m_grid, &QTableWidget::cellDoubleClicked, this,
            [this] { Ui::guarded([this] { EditRule(); }); });

    pageLayout->addWidget(label);
    pageLayout->addWidget(m_name);
    pageLayout->addWidget(m_grid, 1);

    QHBoxLayout *buttons =
        DialogParts::commandRow({DialogParts::command(*this, QStringLiteral("ButtonSave"),
                                                      QStringLiteral("Zapisz"), [this] { save(); }),
                                 DialogParts::closeCommand(*this, QStringLiteral("Anuluj"))});

    DialogParts::layOut(*this, m_toolbar, tabs, buttons);
    resize(520, 460);
}

QString WizardFile::name() const
{
    return m_name->text();
}

void WizardFile::SetNew(const QString &name)
{
    m_setId = -1;
    m_rules.clear();
    m_pendingDeletions.clear();
    m_grid->setRowCount(0);
    m_name->setText(name);
}

bool WizardFile::GetList(qint64 id)
{
    m_rules.clear();
    m_pendingDeletions.clear();
    m_grid->setRowCount(0);
    Db::Database *db = Globals::database();
    if (!db)
        return false;
    QString error;
    bool ok = false;
    const QList<WizItem> rules = WizItem::LoadRuleSet(*db, id, &error, &ok);
    if (!ok) {
        Messages::critical(error);
        return false;
    }
    for (const WizItem &rule : rules) {
        m_rules.append(rule);
        appendRow(rule);
    }
    m_setId = id;
    return true;
}

void WizardFile::appendRow(const WizItem &rule)
{
    const int row = m_grid->rowCount();
    m_grid->insertRow(row);
    auto *cell = new QTableWidgetItem(rule.MakeText());
    cell->setData(RuleIdRole, rule.ID().toLongLong());
    m_grid->setItem(row, 0, cell);
    fitRow(row);
}

// The sentence wrapped where the grid wraps it (inside the grid line and the
// cell's text margins), with 120 twips to spare.
void WizardFile::fitRow(int row, int columnWidth)
{
    const QTableWidgetItem *cell = m_grid->item(row, 0);
    if (!cell)
        return;
    const int margin =
        m_grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_grid) + 1;
    const int width = std::max(1, (columnWidth < 0 ? m_grid->columnWidth(0) : columnWidth) -
                                      (m_grid->showGrid() ? 1 : 0) - 2 * margin);
    const int height =
        m_grid->fontMetrics()
            .boundingRect(QRect(0, 0, width, INT_MAX / 2), Qt::TextWordWrap, cell->text())
            .height();
    const int spare = int(std::nearbyint(120.0 * logicalDpiY() / 1440.0));
    m_grid->setRowHeight(row, height + spare);
}

bool WizardFile::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_name && event->type() == QEvent::FocusIn) {
        // After the click that gave the focus has placed the cursor.
        QTimer::singleShot(0, m_name, &QLineEdit::selectAll);
    } else if (watched == m_grid && DialogParts::isEnterPress(event)) {
        Ui::guarded([this] { EditRule(); });
        return true;
    } else if (watched == m_grid && event->type() == QEvent::KeyPress &&
               scrollWithinCurrentRule(static_cast<QKeyEvent *>(event)->key())) {
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

// A rule taller than the grid is read to its end before the arrow and page
// keys move on to the next one.
bool WizardFile::scrollWithinCurrentRule(int key)
{
    const bool down = key == Qt::Key_Down || key == Qt::Key_PageDown;
    const bool up = key == Qt::Key_Up || key == Qt::Key_PageUp;
    const QModelIndex current = m_grid->currentIndex();
    if ((!down && !up) || !current.isValid())
        return false;
    const QRect rule = m_grid->visualRect(current);
    const int height = m_grid->viewport()->height();
    if (rule.height() <= height || rule.bottom() < 0 || rule.top() >= height)
        return false;
    QScrollBar *bar = m_grid->verticalScrollBar();
    const int step =
        key == Qt::Key_PageDown || key == Qt::Key_PageUp ? bar->pageStep() : bar->singleStep();
    const int hidden = down ? rule.bottom() + 1 - height : -rule.top();
    if (hidden <= 0)
        return false;
    bar->setValue(bar->value() + (down ? 1 : -1) * std::min(step, hidden));
    return true;
}

void WizardFile::toolbarClick(const QString &key)
{
    if (key == QLatin1String("new"))
        NewRule();
    else if (key == QLatin1String("edit"))
        EditRule();
    else if (key == QLatin1String("del"))
        DeleteRule();
}

void WizardFile::NewRule()
{
    WizItem rule;
    WizardItem editor(m_host, this);
    editor.setMyItem(&rule);
    editor.SetNew();
    if (WizardUi::runModal(m_runner, editor) != QDialog::Accepted)
        return;
    m_rules.append(rule);
    appendRow(rule);
    m_grid->setCurrentCell(m_grid->rowCount() - 1, 0);
}

void WizardFile::EditRule()
{
    const int row = m_grid->currentRow();
    if (row < 0 || row >= m_rules.size())
        return;
    // Worked on a copy: only a confirmed edit changes the rule.
    WizItem rule = m_rules.at(row);
    WizardItem editor(m_host, this);
    editor.setMyItem(&rule);
    editor.GetInfo();
    if (WizardUi::runModal(m_runner, editor) != QDialog::Accepted)
        return;
    m_rules[row] = rule;
    m_grid->item(row, 0)->setText(rule.MakeText());
    fitRow(row);
}

void WizardFile::DeleteRule()
{
    const int row = m_grid->currentRow();
    if (row < 0 || row >= m_rules.size())
        return;
    const QString id = m_rules.at(row).ID();
    if (!id.isEmpty())
        m_pendingDeletions.append(id);
    m_rules.removeAt(row);
    m_grid->removeRow(row);
}

bool WizardFile::save()
{
    const QString text = name();
    if (text.isEmpty()) {
        Messages::exclamation(QStringLiteral("Proszę podać nazwę!"));
        return false;
    }
    if (m_rules.isEmpty()) {
        Messages::exclamation(QStringLiteral("Proszę podać zdarzenia!"));
        return false;
    }
    Db::Database *db = Globals::database();
    if (!db)
        return false;
    const QVariant same =
        db->scalar(QStringLiteral("SELECT COUNT(*) FROM wizardlist WHERE nazwa=? AND NOT id=?"),
                   {text, m_setId});
    if (same.isNull()) {
        Messages::critical(db->errorString());
        return false;
    }
    if (same.toLongLong() > 0) {
        Messages::exclamation(QStringLiteral(
            "Podnana nazwa ustawień już istnieje w bazie danych! Proszę wybrać inną."));
        m_name->setFocus();
        m_name->selectAll();
        return false;
    }
    QString error;
    if (!write(&error)) {
        Messages::critical(error);
        return false;
    }
    accept();
    return true;
}

// The name, the deletions and every rule in grid order, all or nothing.
bool WizardFile::write(QString *error)
{
    Db::Database &db = *Globals::database();
    Db::Transaction transaction(db);
    if (!transaction.isActive()) {
        *error = db.errorString();
        return false;
    }
    qint64 id = m_setId;
    if (id < 0) {
        if (!db.execute(QStringLiteral("INSERT INTO wizardlist (nazwa) VALUES (?)"), {name()})) {
            *error = db.errorString();
            return false;
        }
        id = db.lastInsertId();
    } else {
        for (const QString &ruleId : std::as_const(m_pendingDeletions)) {
            if (!db.execute(
                    QStringLiteral("DELETE FROM wizardlist_items WHERE id=? AND id_parent=?"),
                    {ruleId.toLongLong(), QString::number(id)})) {
                *error = db.errorString();
                return false;
            }
        }
        if (!db.execute(QStringLiteral("UPDATE wizardlist SET nazwa=? WHERE id=?"), {name(), id})) {
            *error = db.errorString();
            return false;
        }
    }
    // Ids given to added rules count only once the whole set is stored.
    QList<WizItem> stored = m_rules;
    for (WizItem &rule : stored) {
        if (!rule.store(db, id, error))
            return false;
    }
    if (!transaction.commit()) {
        *error = db.errorString();
        return false;
    }
    m_setId = id;
    m_rules = stored;
    m_pendingDeletions.clear();
    for (int row = 0; row < m_rules.size(); ++row)
        m_grid->item(row, 0)->setData(RuleIdRole, m_rules.at(row).ID().toLongLong());
    return true;
}
