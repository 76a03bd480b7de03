#include "masterdata/Grafik.h"

#include "controls/ToolBarIcons.h"
#include "controls/ToolBarN.h"
#include "core/DateTimeText.h"
#include "core/Globals.h"
#include "core/Messages.h"
#include "core/Module1.h"
#include "core/ui/CutTextTips.h"
#include "core/ui/DialogParts.h"
#include "core/ui/FlexGrid.h"
#include "core/ui/Module1Ui.h"
#include "core/ui/MonthEdit.h"
#include "core/ui/ScheduleGridLayout.h"
#include "masterdata/Copy.h"
#include "masterdata/MasterDataCommon.h"
#include "platform/clock/Clock.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/db/Values.h"

#include <QHash>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QSet>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString RangeText =
    QStringLiteral("Błędne dane numeryczne! Ilość osób musi być liczbą całkowitą od 0 do 999.");
constexpr int MaxHeadCount = 999;

enum class CountText { NotNumeric, OutOfRange, Valid };

// A head count as the planner may type it: a whole number from 0 to 999
// ("02" is 2). Any other number is refused with a message; text that is no
// number at all is dropped quietly.
CountText readCount(const QString &text, int *value)
{
    const QString t = text.trimmed();
    bool whole = false;
    const int n = t.toInt(&whole);
    if (whole) {
        if (n < 0 || n > MaxHeadCount)
            return CountText::OutOfRange;
        *value = n;
        return CountText::Valid;
    }
    bool number = false;
    QString(t).replace(u',', u'.').toDouble(&number);
    return number ? CountText::OutOfRange : CountText::NotNumeric;
}

} // namespace

QColor Grafik::changedColor()
{
    return QColor(192, 255, 192);
}

QColor Grafik::weekendColor()
{
    return QColor(255, 192, 192);
}

Grafik::Grafik(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Grafik"));
    setWindowTitle(QStringLiteral("Grafik"));
    // No cancel button: Escape leaves the calendar open.
    DialogParts::keepOpenOnEscape(*this);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_toolbar = new ToolBarN(this);
    m_toolbar->setObjectName(QStringLiteral("ToolBar_main"));
    m_toolbar->setTitle(QStringLiteral("Grafik ilości osób"));
    m_toolbar->setImageList(ToolBarIcons::buttons());
    TBNItems *items = m_toolbar->ListItems();
    items->Add(QStringLiteral("save"), QStringLiteral("Zapisz"), QStringLiteral("edit"));
    items->Add(QStringLiteral("default"), QStringLiteral("Domyślny"), QStringLiteral("del"));
    items->Add(QStringLiteral("copy"), QStringLiteral("Kopiuj"), QStringLiteral("raporty"));
    layout->addWidget(m_toolbar);

    m_poleData = new MonthEdit(this);
    m_poleData->setObjectName(QStringLiteral("poleData"));
    layout->addWidget(m_poleData);

    m_lista = new FlexGrid(this);
    m_lista->setObjectName(QStringLiteral("Lista"));
    layout->addWidget(m_lista, 1);

    m_text1 = new QLineEdit(m_lista->viewport());
    m_text1->setObjectName(QStringLiteral("Text1"));
    m_text1->hide();

    Module1::FlatBorder(m_lista);
    CutTextTips::install(m_lista);
    Module1::FlatBorder(m_poleData);

    connect(m_toolbar, &ToolBarN::ItemClick, this, &Grafik::toolbarClick);
    connect(m_poleData, &MonthEdit::dateChanged, this, &Grafik::setMonth);
    connect(m_lista, &FlexGrid::currentCellChanged, this, &Grafik::cellChanged);
    connect(m_lista, &FlexGrid::cellDoubleClicked, this, [this] { StartEdit(QString()); });
    m_lista->installEventFilter(this);
    m_text1->installEventFilter(this);
    // The editor keeps to its cell while the grid scrolls.
    const auto follow = [this] {
        if (m_editRow >= 0) {
            const QRect cell = m_lista->layout().cellRect(m_editRow, m_editCol);
            m_text1->setGeometry(cell);
            m_text1->setVisible(!cell.isEmpty());
        }
    };
    connect(m_lista->verticalScrollBar(), &QScrollBar::valueChanged, this, follow);
    connect(m_lista->horizontalScrollBar(), &QScrollBar::valueChanged, this, follow);

    resize(720, 560);
    const QDate today = Clock::today();
    m_month = QDate(today.year(), today.month(), 1);
    m_poleData->setDate(today);
    BuildGrid();
}

Grafik::~Grafik() = default;

void Grafik::setMonth(const QDate &date)
{
    const QDate first(date.year(), date.month(), 1);
    if (first == m_month)
        return;
    // Edits of the month shown so far are not dropped without asking.
    if (m_editRow >= 0)
        CommitEdit();
    askSave(false);
    m_month = first;
    if (!MonthEdit::sameMonth(m_poleData->date(), first)) {
        const QSignalBlocker block(m_poleData);
        m_poleData->setDate(first);
    }
    BuildGrid();
}

void Grafik::BuildGrid()
{
    m_text1->hide();
    m_editRow = m_editCol = -1;
    m_busy = true;
    const double dpiX = logicalDpiX();
    const double dpiY = logicalDpiY();
    m_lista->hide();
    m_lista->setRows(1);
    m_lista->setCols(1);
    m_lista->setText(0, 0, QStringLiteral("Dzień"));
    // Wide enough for the header: a duty's name is cut no more than the font needs.
    const auto fitHeader = [this](int col, int twips, double dpi) {
        const int text = m_lista->fontMetrics().horizontalAdvance(m_lista->text(0, col)) + 8;
        m_lista->setColWidth(col,
                             std::max(Module1::TwipsToPixels(twips, dpi), std::min(text, 200)));
    };
    fitHeader(0, 500, dpiX);

    m_days = Module1::DaysInMonth(m_month.month(), m_month.year());
    for (int d = 1; d <= m_days; ++d) {
        m_lista->addItem(QString::number(d));
        const int row = m_lista->rows() - 1;
        if (QDate(m_month.year(), m_month.month(), d).dayOfWeek() >= 6)
            m_lista->setCellBackColor(row, 0, weekendColor());
        m_lista->setRowHeight(row, Module1::TwipsToPixels(500, dpiY));
    }
    m_lista->show();

    m_duties.clear();
    Db::Database *db = Globals::database();
    std::unique_ptr<Db::Recordset> rs = db ? db->openTable(QStringLiteral("sluzby")) : nullptr;
    if (db && !rs)
        Messages::critical(db->errorString());
    if (rs) {
        m_lista->setCols(rs->recordCount() + 1);
        int c = 1;
        for (; !rs->eof(); rs->moveNext(), ++c) {
            m_duties.append({rs->text(QStringLiteral("id")), rs->text(QStringLiteral("nazwa")), c,
                             rs->text(QStringLiteral("ilosc_std"))});
            m_lista->setText(0, c, m_duties.last().nazwa);
            fitHeader(c, 1000, dpiX);
        }
    }
    m_busy = false;
    FillGrid();
}

void Grafik::FillGrid()
{
    m_text1->hide();
    m_editRow = m_editCol = -1;
    m_lista->hide();
    m_busy = true;
    for (int r = 1; r <= m_days; ++r) {
        for (int c = 1; c < m_lista->cols(); ++c) {
            m_lista->setCellBackColor(r, c, QColor());
            m_lista->setText(r, c, QString());
        }
    }

    // The cell of each stored row is the generation's: the first row of a
    // duty and day counts, later ones are not shown.
    Db::Database *db = Globals::database();
    QList<MasterData::HeadCountRow> rows;
    if (db && !m_duties.isEmpty()) {
        if (std::optional<QList<MasterData::HeadCountRow>> read =
                MasterData::headCountRows(*db, m_month))
            rows = *read;
        else
            Messages::critical(db->errorString());
    }
    QHash<qint64, const Duty *> dutyOfId;
    for (const Duty &duty : std::as_const(m_duties)) {
        if (const std::optional<qint64> id = MasterData::storedId(duty.id))
            dutyOfId.insert(*id, &duty);
    }
    QSet<QPair<int, int>> taken;
    for (const MasterData::HeadCountRow &row : std::as_const(rows)) {
        const std::optional<qint64> id = MasterData::storedId(row.duty);
        const Duty *duty = id ? dutyOfId.value(*id) : nullptr;
        if (!duty || taken.contains({row.day.day(), duty->column}))
            continue;
        taken.insert({row.day.day(), duty->column});
        m_lista->setText(row.day.day(), duty->column, Db::Values::text(row.ilosc));
        m_lista->setCellBackColor(row.day.day(), duty->column, changedColor());
    }
    for (const Duty &duty : std::as_const(m_duties)) {
        for (int r = 1; r <= m_days; ++r) {
            if (!taken.contains({r, duty.column})) {
                m_lista->setText(r, duty.column, duty.iloscStd);
                m_lista->setCellBackColor(r, duty.column, QColor());
            }
        }
    }
    // What is shown now is what is stored.
    m_changed = false;
    m_prevRow = m_lista->row();
    m_prevCol = m_lista->col();
    m_busy = false;
    m_lista->show();
}

const Grafik::Duty *Grafik::dutyOfColumn(int col) const
{
    for (const Duty &duty : m_duties) {
        if (duty.column == col)
            return &duty;
    }
    return nullptr;
}

void Grafik::StartEdit(const QString &text)
{
    const int row = m_lista->row();
    const int col = m_lista->col();
    if (row < 1 || row > m_days || !dutyOfColumn(col))
        return;
    m_editRow = row;
    m_editCol = col;
    m_text1->setGeometry(m_lista->layout().cellRect(row, col));
    if (!text.isEmpty()) {
        m_text1->setText(text);
        m_text1->setCursorPosition(int(text.size()));
    } else {
        m_text1->setText(m_lista->text(row, col));
        m_text1->selectAll();
    }
    m_text1->show();
    m_text1->setFocus();
}

void Grafik::CommitEdit()
{
    if (m_editRow < 0)
        return;
    const int row = m_editRow;
    const int col = m_editCol;
    const QString text = m_text1->text();
    m_text1->hide();
    m_editRow = m_editCol = -1;
    m_changed = true;
    m_lista->setFocus();

    int value = 0;
    switch (readCount(text, &value)) {
    case CountText::NotNumeric:
        return;
    case CountText::OutOfRange:
        Messages::exclamation(RangeText);
        return;
    case CountText::Valid:
        break;
    }
    const Duty *duty = dutyOfColumn(col);
    m_lista->setText(row, col, text);
    m_lista->setCellBackColor(row, col, duty && text != duty->iloscStd ? changedColor() : QColor());
}

void Grafik::cellChanged(int row, int col)
{
    const int leftRow = m_prevRow;
    const int leftCol = m_prevCol;
    m_prevRow = row;
    m_prevCol = col;
    if (m_busy)
        return;
    if (leftRow >= 1 && leftRow <= m_days && dutyOfColumn(leftCol) &&
        m_lista->text(leftRow, leftCol).isEmpty()) {
        m_lista->setText(leftRow, leftCol, QStringLiteral("1"));
        m_lista->setCellBackColor(leftRow, leftCol, QColor());
    }
    if (m_text1->isVisible() || m_editRow >= 0)
        CommitEdit();
}

void Grafik::ResetToDefault()
{
    m_text1->hide();
    m_editRow = m_editCol = -1;
    m_lista->hide();
    for (const Duty &duty : std::as_const(m_duties)) {
        for (int r = 1; r <= m_days; ++r) {
            m_lista->setText(r, duty.column, duty.iloscStd);
            m_lista->setCellBackColor(r, duty.column, QColor());
        }
    }
    m_lista->show();
}

bool Grafik::SaveGrid()
{
    // A value still in the editor is part of what the planner saves.
    if (m_editRow >= 0)
        CommitEdit();
    Db::Database *db = Globals::database();
    if (!db)
        return false;
    m_busy = true;
    bool ok = false;
    {
        // The month is replaced whole or not at all.
        Db::Transaction transaction(*db);
        // Every row of the month the generation would read, of any duty, in either form.
        ok = transaction.isActive() && MasterData::deleteHeadCounts(*db, m_month);
        for (const Duty &duty : std::as_const(m_duties)) {
            for (int r = 1; ok && r <= m_days; ++r) {
                const QString text = m_lista->text(r, duty.column);
                int value = 0;
                if (text == duty.iloscStd || readCount(text, &value) != CountText::Valid)
                    continue;
                ok = db->execute(
                    QStringLiteral(
                        "INSERT INTO sluzby_ilosc (data, id_sluzba, ilosc) VALUES (?, ?, ?)"),
                    {DateTimeText::dateText(QDate(m_month.year(), m_month.month(), r)), duty.id,
                     value});
            }
        }
        ok = ok && transaction.commit();
    }
    m_busy = false;
    if (!ok) {
        Messages::critical(db->errorString());
        return false;
    }
    m_changed = false;
    return true;
}

void Grafik::toolbarClick(const QString &key)
{
    if (key == QLatin1String("save"))
        SaveGrid();
    else if (key == QLatin1String("default"))
        ResetToDefault();
    else if (key == QLatin1String("copy"))
        openCopy();
}

void Grafik::openCopy()
{
    Copy copy(this);
    copy.setRodzaj(m_rodzaj);
    copy.setMonths(m_poleData->date(), m_poleData->date().addMonths(1));
    showModal(copy);
    // The copy may have written the shown month: show it unless that would drop edits.
    if (!m_changed)
        FillGrid();
}

int Grafik::showModal(QDialog &dialog)
{
    return dialog.exec();
}

bool Grafik::askSave(bool allowCancel)
{
    if (!m_changed)
        return true;
    const Messages::Answer answer =
        Messages::show(QStringLiteral("Czy chcesz zapisać zamiany?"), Messages::Icon::Question,
                       allowCancel ? Messages::Buttons::YesNoCancel : Messages::Buttons::YesNo);
    if (answer == Messages::Answer::Cancel)
        return false;
    if (answer == Messages::Answer::Yes)
        return SaveGrid() || !allowCancel;
    m_changed = false;
    return true;
}

void Grafik::done(int result)
{
    if (m_editRow >= 0)
        CommitEdit();
    if (!askSave(true))
        return;
    QDialog::done(result);
}

bool Grafik::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        if (watched == m_text1 && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            CommitEdit();
            return true;
        }
        if (watched == m_lista && !key->text().isEmpty() && key->key() != Qt::Key_Escape) {
            const QChar c = key->text().at(0);
            if (c.unicode() < 46)
                StartEdit(QString());
            else
                StartEdit(QString(c));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
