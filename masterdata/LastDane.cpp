#include "masterdata/LastDane.h"

#include "controls/BlueCommand.h"
#include "controls/PolishTreeItem.h"
#include "core/DateTimeText.h"
#include "core/Globals.h"
#include "core/Messages.h"
#include "core/ui/CutTextTips.h"
#include "core/ui/FlexGrid.h"
#include "core/ui/Module1Ui.h"
#include "core/ui/MonthEdit.h"
#include "core/ui/ScheduleGridLayout.h"
#include "masterdata/MasterDataCommon.h"
#include "platform/clock/Clock.h"
#include "platform/db/Cursor.h"
#include "platform/db/Database.h"
#include "platform/db/Recordset.h"
#include "platform/db/Values.h"

#include <QComboBox>
#include <QDateTimeEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSet>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

namespace {

constexpr int MaxCount = 999;
const QString RangeText =
    QStringLiteral("Błędne dane numeryczne! Ilość służb musi być liczbą całkowitą od 0 do 999.");

bool readCount(const QString &text, int *value)
{
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    if (!ok || n < 0 || n > MaxCount)
        return false;
    *value = n;
    return true;
}

// yyyy-mm-dd hh:nn:ss: the text of QDateTime's "yyyy-MM-dd HH:mm:ss"
// without a QDateTime, which asks the time-zone code.
QString fullForm(const DateTimeText::Value &value)
{
    // format() leaves a midnight time out; this form always has it.
    return value.time == QTime(0, 0)
               ? DateTimeText::dateText(value.date) + QStringLiteral(" 00:00:00")
               : DateTimeText::format(value);
}

// yyyy-mm-dd or yyyy-mm-dd hh:nn:ss: a readable one is in its fixed form already.
bool hasFixedShape(QStringView text)
{
    static constexpr char16_t Shape[] = u"0000-00-00 00:00:00";
    if (text.size() != 10 && text.size() != 19)
        return false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (Shape[i] == u'0' ? c < u'0' || c > u'9' : c != Shape[i])
            return false;
    }
    return true;
}

// A readable stored date in its fixed form; anything else as it is.
QVariant fixedForm(const QVariant &data)
{
    if (data.typeId() == QMetaType::QString && hasFixedShape(data.toString()))
        return data;
    const QString text = data.toString().trimmed();
    const std::optional<DateTimeText::Value> value = DateTimeText::parse(text);
    if (!value)
        return data;
    const QString fixed =
        text.size() == 10 ? DateTimeText::dateText(value->date) : fullForm(*value);
    return fixed == data.toString() ? data : QVariant(fixed);
}

QString monthKey(const QDate &date)
{
    return date.toString(QStringLiteral("yyyy-MM"));
}

// "05/03 14:30", written digit by digit: the same text as QDateTime's
// "dd/MM HH:mm", without a QDateTime for every row.
QString shownDate(const QDate &date, const QTime &time)
{
    const int parts[] = {date.day(), date.month(), time.hour(), time.minute()};
    const char16_t separators[] = {u'/', u' ', u':'};
    QString text(11, Qt::Uninitialized);
    QChar *out = text.data();
    for (int i = 0; i < 4; ++i) {
        *out++ = QChar(u'0' + parts[i] / 10);
        *out++ = QChar(u'0' + parts[i] % 10);
        if (i < 3)
            *out++ = QChar(separators[i]);
    }
    return text;
}

} // namespace

QColor LastDane::highlightColor()
{
    return QColor(146, 198, 228);
}

QString LastDane::dateText(const QDateTime &value)
{
    return value.isValid() ? shownDate(value.date(), value.time()) : QString();
}

LastDane::LastDane(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("LastDane"));
    setWindowTitle(QStringLiteral("Dane zakończonych służb"));

    auto *layout = new QVBoxLayout(this);
    auto *tabs = new QTabWidget(this);
    auto *page = new QWidget(tabs);
    auto *pageLayout = new QGridLayout(page);
    m_groups = new QComboBox(page);
    m_groups->setObjectName(QStringLiteral("lGrupy"));
    m_poleData = new MonthEdit(page);
    m_poleData->setObjectName(QStringLiteral("poleData"));
    pageLayout->addWidget(new QLabel(QStringLiteral("Grupa:"), page), 0, 0);
    pageLayout->addWidget(new QLabel(QStringLiteral("Miesiąc:"), page), 0, 1);
    pageLayout->addWidget(m_groups, 1, 0);
    pageLayout->addWidget(m_poleData, 1, 1);

    m_lista = new FlexGrid(page);
    m_lista->setObjectName(QStringLiteral("Lista"));
    m_lista->setFixedCols(0);
    m_lista->setFixedRows(1);
    m_lista->setRows(1);
    m_lista->setCols(3);
    m_lista->setLeftCol(0);
    pageLayout->addWidget(m_lista, 2, 0, 1, 2);
    tabs->addTab(page, QStringLiteral("Ogólne"));
    layout->addWidget(tabs, 1);

    m_text1 = new QLineEdit(m_lista->viewport());
    m_text1->setObjectName(QStringLiteral("Text1"));
    m_text1->setValidator(new QIntValidator(0, MaxCount, m_text1));
    m_text1->hide();
    m_visData = new QDateTimeEdit(m_lista->viewport());
    m_visData->setObjectName(QStringLiteral("visData"));
    m_visData->setDisplayFormat(QStringLiteral("dd.MM.yyyy HH:mm"));
    m_visData->setButtonSymbols(QAbstractSpinBox::NoButtons);
    m_visData->hide();

    auto *buttons = new QHBoxLayout;
    BlueCommand *save =
        MasterData::makeButton(this, QStringLiteral("ButtonSave"), QStringLiteral("Zapisz"));
    BlueCommand *del = MasterData::makeButton(this, QStringLiteral("ButtonDel"),
                                              QStringLiteral("Usuń dane z tego miesiąca"));
    BlueCommand *close =
        MasterData::makeButton(this, QStringLiteral("ButtonClose"), QStringLiteral("Zamknij"));
    close->setCancel(true);
    del->setMinimumWidth(190);
    buttons->addWidget(del);
    buttons->addStretch();
    buttons->addWidget(save);
    buttons->addWidget(close);
    layout->addLayout(buttons);

    Module1::FlatBorder(m_lista);
    CutTextTips::install(m_lista);
    Module1::FlatControls(this, QStringLiteral("TextBox"));
    Module1::FlatControls(this, QStringLiteral("DTPicker"));

    const double dpiX = logicalDpiX();
    m_lista->setColWidth(0, Module1::TwipsToPixels(3590, dpiX));
    m_lista->setColWidth(1, Module1::TwipsToPixels(1800, dpiX));
    m_lista->setColWidth(2, Module1::TwipsToPixels(1200, dpiX));
    m_lista->setColAlignment(0, Qt::AlignLeft | Qt::AlignVCenter);
    m_lista->setColAlignment(1, Qt::AlignCenter);
    m_lista->setColAlignment(2, Qt::AlignCenter);
    m_lista->setText(0, 0, QStringLiteral("Nazwisko"));
    m_lista->setText(0, 1, QStringLiteral("Data świeżości"));
    m_lista->setText(0, 2, QStringLiteral("Ilość służb"));

    connect(save, &BlueCommand::Click, this, [this] {
        if (SaveMonth())
            Messages::information(QStringLiteral("Zapisano pomyślnie!"));
    });
    connect(del, &BlueCommand::Click, this, &LastDane::deleteMonth);
    connect(close, &BlueCommand::Click, this, &QDialog::reject);
    connect(m_groups, &QComboBox::activated, this, &LastDane::chooseGroup);
    connect(m_poleData, &MonthEdit::dateChanged, this, [this](const QDate &date) {
        if (!MonthEdit::sameMonth(date, m_loadedMonth))
            LoadMonth();
    });
    connect(m_lista, &FlexGrid::currentCellChanged, this, [this](int row, int col) {
        leaveCell(m_prevRow, m_prevCol);
        m_prevRow = row;
        m_prevCol = col;
        enterCell(row, col);
    });
    connect(m_lista, &FlexGrid::cellDoubleClicked, this, [this](int, int col) {
        if (col == 1)
            ShowDateEditor();
        else if (col == 2)
            ShowCountEditor(QString());
    });
    connect(m_text1, &QLineEdit::textEdited, this, [this] {
        if (m_filling)
            return;
        m_changed = true;
        CommitCount();
    });
    connect(m_visData, &QDateTimeEdit::dateTimeChanged, this, [this] {
        if (m_filling)
            return;
        m_changed = true;
        CommitDate();
    });
    connect(m_lista->verticalScrollBar(), &QScrollBar::valueChanged, this, &LastDane::placeEditors);
    connect(m_lista->horizontalScrollBar(), &QScrollBar::valueChanged, this,
            &LastDane::placeEditors);
    m_lista->installEventFilter(this);
    m_text1->installEventFilter(this);
    m_visData->installEventFilter(this);

    resize(620, 480);
    {
        const QSignalBlocker block(m_poleData);
        m_poleData->setDate(Clock::today());
    }
    GetGrupy();
}

LastDane::~LastDane() = default;

qint64 LastDane::personOfRow(int row) const
{
    return row >= 1 && row <= m_people.size() ? m_people.at(row - 1) : 0;
}

int LastDane::rowOfPerson(qint64 id) const
{
    return m_rowOf.value(id, -1);
}

QDateTime LastDane::rowDate(int row) const
{
    const std::optional<DateTimeText::Value> when =
        row >= 1 && row <= m_dates.size() ? m_dates.at(row - 1) : std::nullopt;
    return when ? QDateTime(when->date, when->time) : QDateTime();
}

LastDane::RowState LastDane::rowState(int row) const
{
    return row >= 1 && row <= m_rows.size() ? m_rows.at(row - 1) : RowState();
}

void LastDane::GetGrupy()
{
    {
        const QSignalBlocker block(m_groups);
        m_groups->clear();
        m_groups->addItem(QStringLiteral("(Wszystkie)"), qint64(0));
        Db::Database *db = Globals::database();
        auto rs =
            db ? db->openQuery(QStringLiteral("SELECT * FROM grupy ORDER BY nazwa COLLATE POLISH"))
               : nullptr;
        if (db && !rs)
            Messages::critical(db->errorString());
        for (; rs && !rs->eof(); rs->moveNext())
            m_groups->addItem(rs->text(QStringLiteral("nazwa")), rs->integer(QStringLiteral("id")));
        m_groups->setCurrentIndex(0);
    }
    chooseGroup(0);
}

void LastDane::chooseGroup(int index)
{
    if (!AskSaveChanges()) {
        const QSignalBlocker block(m_groups);
        m_groups->setCurrentIndex(m_loadedGroup);
        return;
    }
    if (index != m_groups->currentIndex()) {
        const QSignalBlocker block(m_groups);
        m_groups->setCurrentIndex(index);
    }
    m_text1->hide();
    m_visData->hide();
    m_editedRow = 0;
    m_lista->hide();
    m_lista->setRows(1);
    m_people.clear();
    m_rowOf.clear();
    m_dates.clear();
    m_loading = true;
    Db::Database *db = Globals::database();
    if (index < 0 || !db) {
        m_loading = false;
        m_lista->show();
        return;
    }

    // Read as they are stored and sorted here once, as Polish readers order
    // surnames; people of one surname stay in the table's order.
    struct Person
    {
        qint64 id;
        QString nazwisko;
        QString shown; // nazwisko, " ", imie
    };
    std::vector<Person> people;
    {
        const QString sql = QStringLiteral("SELECT id, nazwisko, imie FROM ludzie");
        Db::Cursor rows(
            *db, index == 0 ? sql : sql + QStringLiteral(" WHERE id_grupa=?"),
            index == 0 ? QVariantList()
                       : QVariantList{QString::number(m_groups->itemData(index).toLongLong())});
        while (rows.next()) {
            qsizetype surname = 0;
            QString shown = rows.joinedText(1, 2, u' ', &surname);
            people.push_back({rows.integer(0), shown.left(surname), shown});
        }
        if (rows.failed())
            Messages::critical(db->errorString());
    }
    std::stable_sort(people.begin(), people.end(), [](const Person &a, const Person &b) {
        return PolishTreeItem::compare(a.nazwisko, b.nazwisko) < 0;
    });
    // The grid takes its rows at once, then their texts and stripes.
    m_lista->setRows(1 + int(people.size()));
    m_people.reserve(qsizetype(people.size()));
    m_rowOf.reserve(qsizetype(people.size()));
    m_dates.reserve(qsizetype(people.size()));
    for (int row = 1; row <= int(people.size()); ++row) {
        const Person &person = people[size_t(row - 1)];
        m_lista->setText(row, 0, person.shown);
        m_people.append(person.id);
        m_rowOf.insert(person.id, row);
        m_dates.append(std::nullopt);
        const QColor stripe = stripeColor(row);
        for (int c = 0; c < 3; ++c)
            m_lista->setCellBackColor(row, c, stripe);
    }
    m_loadedGroup = index;
    LoadMonth();
    m_loading = false;
    m_lista->show();
}

void LastDane::setMonth(const QDate &date)
{
    m_poleData->setDate(date);
}

void LastDane::LoadMonth()
{
    if (!AskSaveChanges()) {
        const QSignalBlocker block(m_poleData);
        m_poleData->setDate(m_loadedMonth);
        return;
    }
    if (m_groups->currentIndex() < 0)
        return;
    m_rows = QList<RowState>(m_lista->rows() - 1);
    for (int r = 1; r < m_lista->rows(); ++r) {
        m_lista->setText(r, 1, QString());
        m_lista->setText(r, 2, QStringLiteral("0"));
        m_dates[r - 1] = std::nullopt;
    }

    const QDate shown = m_poleData->date();
    if (Db::Database *db = Globals::database()) {
        Db::Cursor rows(*db,
                        QStringLiteral("SELECT rowid, id_osoba, ilosc, data FROM ludzie_last "
                                       "WHERE miesiac=? ORDER BY rowid"),
                        {monthKey(shown)});
        // The grid holds exactly the people of the chosen group: rows of others,
        // and of people no longer in the table, are not shown. Of a person's
        // several rows the generation takes the first one's date and the sum of
        // the counts: so does the grid.
        QList<qint64> sums(m_rows.size());
        while (rows.next()) {
            const std::optional<qint64> person = MasterData::storedId(rows.value(1));
            const int row = person ? rowOfPerson(*person) : -1;
            if (row < 1)
                continue;
            RowState &state = m_rows[row - 1];
            const QVariant ilosc = rows.value(2);
            if (!ilosc.isNull())
                sums[row - 1] += Db::Values::integer(ilosc);
            state.rowIds.append(rows.integer(0));
            if (state.rowIds.size() > 1) {
                state.shown.ilosc = sums[row - 1];
                m_lista->setText(row, 2, QString::number(sums[row - 1]));
                continue;
            }
            // Kept as read: a value the planner leaves alone is written back so.
            state.shown = {ilosc, rows.value(3)};
            const QString stored = rows.text(3);
            const std::optional<DateTimeText::Value> when = DateTimeText::parse(stored);
            // A text that is no date is shown as it stands.
            m_lista->setText(row, 1, when ? shownDate(when->date, when->time) : stored);
            m_lista->setText(row, 2, rows.text(2));
            m_dates[row - 1] = when;
        }
        if (rows.failed())
            Messages::critical(db->errorString());
    }
    m_loadedMonth = QDate(shown.year(), shown.month(), 1);
    m_changed = false;

    if (m_lista->rows() > 1) {
        leaveCell(m_prevRow, m_prevCol);
        {
            const QSignalBlocker block(m_lista);
            m_lista->setCurrentCell(1, 0);
        }
        m_prevRow = 1;
        m_prevCol = 0;
        m_loading = false;
        enterCell(1, 0);
    } else {
        m_text1->hide();
        m_visData->hide();
    }
}

std::optional<LastDane::StoredRow> LastDane::rowToStore(int row) const
{
    if (row < 1 || row > m_rows.size() || row > m_dates.size())
        return std::nullopt;
    const RowState &state = m_rows.at(row - 1);
    if (state.rowIds.isEmpty() && !state.countEdited && !state.dateEdited)
        return std::nullopt;
    // The values the planner did not change stay as they were read.
    StoredRow kept = state.rowIds.isEmpty() ? StoredRow{0, QVariant()} : state.shown;
    int count = 0;
    if (state.countEdited && readCount(m_lista->text(row, 2), &count))
        kept.ilosc = count;
    const std::optional<DateTimeText::Value> &when = m_dates.at(row - 1);
    if (state.dateEdited && when)
        kept.data = fullForm(*when);
    else
        kept.data = fixedForm(kept.data);
    // A row without a date moves the next month's free-from time back to the
    // year before: only a count above 0 is worth it.
    if (kept.data.toString().trimmed().isEmpty() && kept.ilosc.toDouble() <= 0)
        return std::nullopt;
    return kept;
}

bool LastDane::SaveMonth()
{
    Db::Database *db = Globals::database();
    if (!db || !m_loadedMonth.isValid() || m_loadedGroup < 0)
        return false;
    // A count the planner changed must be one; nothing is written otherwise.
    for (int r = 1; r < m_lista->rows(); ++r) {
        int count = 0;
        if (rowState(r).countEdited && !readCount(m_lista->text(r, 2), &count)) {
            m_lista->setCurrentCell(r, 2);
            Messages::exclamation(RangeText + QStringLiteral("\r\n") + m_lista->text(r, 0));
            return false;
        }
    }
    const QString month = monthKey(m_loadedMonth);
    QList<RowState> stored(m_rows.size());
    QList<QVariantList> rows;
    QList<int> gridRows;
    for (int r = 1; r < m_lista->rows(); ++r) {
        const std::optional<StoredRow> kept = rowToStore(r);
        stored[r - 1] = RowState{{}, kept.value_or(StoredRow{}), false, false};
        if (!kept)
            continue;
        rows.append({QString::number(personOfRow(r)), month, kept->ilosc, kept->data});
        gridRows.append(r);
    }
    const Db::RowReplacer replacer = MasterData::monthCountsReplacer(*db);
    bool ok = false;
    {
        // The group's rows of the month are replaced whole or not at all; only
        // the rows that differ are written.
        Db::Transaction transaction(*db);
        std::optional<QList<Db::RowReplacer::StoredRow>> old;
        if (transaction.isActive())
            old = replacer.read(QStringLiteral("miesiac=?"), {month});
        if (old && m_loadedGroup != 0) {
            // Only the rows read for the grid's people, however their ids are written.
            QSet<qint64> shown;
            shown.reserve(m_rows.size());
            for (const RowState &state : std::as_const(m_rows)) {
                for (qint64 id : state.rowIds)
                    shown.insert(id);
            }
            old->removeIf([&shown](const Db::RowReplacer::StoredRow &row) {
                return !shown.contains(row.rowId);
            });
        }
        QList<qint64> ids;
        ok = old && replacer.replace(*old, rows, &ids);
        for (qsizetype i = 0; ok && i < gridRows.size(); ++i)
            stored[gridRows.at(i) - 1].rowIds = {ids.at(i)};
        ok = ok && transaction.commit();
    }
    if (!ok) {
        Messages::critical(db->errorString());
        return false;
    }
    // What is stored now is what the next save replaces.
    m_rows = stored;
    m_changed = false;
    return true;
}

bool LastDane::AskSaveChanges()
{
    if (m_changed && Messages::question(QStringLiteral("Czy chcesz zapisać zamiany?")) &&
        !SaveMonth())
        return false;
    m_changed = false;
    return true;
}

void LastDane::deleteMonth()
{
    Db::Database *db = Globals::database();
    if (!db)
        return;
    if (!db->execute(QStringLiteral("DELETE FROM ludzie_last WHERE miesiac=?"),
                     {monthKey(m_poleData->date())}))
        Messages::critical(db->errorString());
    LoadMonth();
}

QColor LastDane::stripeColor(int row) const
{
    return (row - 1) % 2 == 0 ? palette().color(QPalette::Button) : QColor();
}

bool LastDane::rowVisible(int row) const
{
    if (row < 1 || row >= m_lista->rows())
        return false;
    const QRect rect = m_lista->layout().cellRect(row, 2);
    return !rect.isEmpty() && rect.top() < m_lista->viewport()->height();
}

void LastDane::enterCell(int row, int col)
{
    if (row >= 1 && row < m_lista->rows())
        m_lista->setCellBackColor(row, col, highlightColor());
    if (!m_loading && rowVisible(row)) {
        ShowCountEditor(QString());
        ShowDateEditor();
    } else {
        m_text1->hide();
        m_visData->hide();
    }
}

void LastDane::leaveCell(int row, int col)
{
    if (row >= 1 && row < m_lista->rows() && col >= 0 && col < 3)
        m_lista->setCellBackColor(row, col, stripeColor(row));
}

void LastDane::placeEditors()
{
    if (m_editedRow >= 1 && rowVisible(m_editedRow)) {
        m_text1->setGeometry(m_lista->layout().cellRect(m_editedRow, 2));
        m_visData->setGeometry(m_lista->layout().cellRect(m_editedRow, 1));
        m_text1->show();
        m_visData->show();
    } else {
        m_text1->hide();
        m_visData->hide();
    }
}

void LastDane::ShowCountEditor(const QString &text)
{
    const int row = m_lista->row();
    if (row < 1 || row >= m_lista->rows())
        return;
    m_editedRow = row;
    m_text1->setGeometry(m_lista->layout().cellRect(row, 2));
    m_filling = true;
    m_text1->setText(text.isEmpty() ? m_lista->text(row, 2) : text);
    m_text1->setSelection(0, int(m_text1->text().size()));
    m_text1->show();
    m_filling = false;
    if (!text.isEmpty()) {
        // A key typed on the grid is the start of a new count.
        m_text1->deselect();
        m_text1->setCursorPosition(int(text.size()));
        m_text1->setFocus();
        m_changed = true;
        CommitCount();
    }
}

void LastDane::ShowDateEditor()
{
    const int row = m_lista->row();
    if (row < 1 || row >= m_lista->rows())
        return;
    m_editedRow = row;
    m_visData->setGeometry(m_lista->layout().cellRect(row, 1));
    m_filling = true;
    const QDateTime when = rowDate(row);
    m_visData->setDateTime(when.isValid() ? when : Clock::now());
    m_visData->show();
    m_filling = false;
}

void LastDane::CommitCount()
{
    if (m_editedRow >= 1 && m_editedRow <= m_rows.size())
        m_rows[m_editedRow - 1].countEdited = true;
    int count = 0;
    if (m_editedRow >= 1 && readCount(m_text1->text(), &count))
        m_lista->setText(m_editedRow, 2, m_text1->text().trimmed());
}

void LastDane::CommitDate()
{
    if (m_editedRow < 1 || m_editedRow > m_dates.size())
        return;
    QDateTime when = m_visData->dateTime();
    when.setTime(QTime(when.time().hour(), when.time().minute()));
    m_dates[m_editedRow - 1] = DateTimeText::Value{when.date(), when.time()};
    if (m_editedRow <= m_rows.size())
        m_rows[m_editedRow - 1].dateEdited = true;
    m_lista->setText(m_editedRow, 1, dateText(when));
}

void LastDane::nextRow()
{
    const int row = m_lista->row();
    if (row >= 1 && row < m_lista->rows() - 1)
        m_lista->setCurrentCell(row + 1, m_lista->col());
}

void LastDane::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // The grid is filled before the window has its size: put the editors on the current row now.
    if (!m_loading && m_lista->rows() > 1)
        enterCell(m_lista->row(), m_lista->col());
}

void LastDane::done(int result)
{
    if (AskSaveChanges())
        QDialog::done(result);
}

bool LastDane::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (enter && watched == m_text1) {
        int count = 0;
        if (!readCount(m_text1->text(), &count)) {
            Messages::exclamation(RangeText);
            m_filling = true;
            m_text1->setText(m_lista->text(m_editedRow, 2));
            m_filling = false;
            return true;
        }
        nextRow();
        m_text1->setFocus();
        return true;
    }
    if (enter && watched == m_visData) {
        nextRow();
        m_visData->setFocus();
        return true;
    }
    if (watched == m_lista && !key->text().isEmpty() && key->key() != Qt::Key_Escape) {
        const int col = m_lista->col();
        if (col == 2) {
            const QChar c = key->text().at(0);
            ShowCountEditor(c.unicode() < 46 ? QString() : QString(c));
            m_text1->setFocus();
            return true;
        }
        if (col == 1) {
            ShowDateEditor();
            m_visData->setFocus();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
