#include "core/ui/MonthEdit.h"

#include "platform/clock/Clock.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionSpinBox>

#include <algorithm>

namespace {

constexpr int FirstYear = 1900;
constexpr int LastYear = 9999;

// The day of the month, cut to the month's length.
QDate dateIn(int year, int month, int day)
{
    const QDate first(year, month, 1);
    return first.addDays(std::min(day, first.daysInMonth()) - 1);
}

int monthIndex(const QDate &date)
{
    return date.year() * 12 + date.month() - 1;
}

} // namespace

MonthEdit::MonthEdit(QWidget *parent) : QAbstractSpinBox(parent)
{
    // The text is the box's own: keys and clicks are turned into months here.
    lineEdit()->setReadOnly(true);
    lineEdit()->installEventFilter(this);
    m_date = Clock::today();
    showDate();
}

QString MonthEdit::monthName(int month)
{
    return QLocale(QLocale::Polish).standaloneMonthName(month, QLocale::LongFormat).toLower();
}

QString MonthEdit::monthText(const QDate &date)
{
    return monthName(date.month()) + u' ' + QString::number(date.year());
}

bool MonthEdit::sameMonth(const QDate &a, const QDate &b)
{
    return a.year() == b.year() && a.month() == b.month();
}

void MonthEdit::setDate(const QDate &date)
{
    if (!date.isValid())
        return;
    const QDate held = std::clamp(date, QDate(FirstYear, 1, 1), QDate(LastYear, 12, 31));
    if (held == m_date) {
        showDate();
        return;
    }
    m_date = held;
    showDate();
    Q_EMIT dateChanged(m_date);
}

void MonthEdit::showDate()
{
    lineEdit()->setText(monthText(m_date));
    if (hasFocus())
        selectField(m_field);
}

void MonthEdit::selectField(Field field)
{
    m_field = field;
    const int name = int(monthName(m_date.month()).size());
    if (field == MonthField)
        lineEdit()->setSelection(0, name);
    else
        lineEdit()->setSelection(name + 1, int(lineEdit()->text().size()) - name - 1);
}

void MonthEdit::stepBy(int steps)
{
    takeYear();
    m_typed.clear();
    if (m_field == YearField) {
        const int year = std::clamp(m_date.year() + steps, FirstYear, LastYear);
        setDate(dateIn(year, m_date.month(), m_date.day()));
    } else {
        setDate(m_date.addMonths(steps));
    }
    selectField(m_field);
}

QAbstractSpinBox::StepEnabled MonthEdit::stepEnabled() const
{
    StepEnabled enabled = StepNone;
    if (monthIndex(m_date) < LastYear * 12 + 11)
        enabled |= StepUpEnabled;
    if (monthIndex(m_date) > FirstYear * 12)
        enabled |= StepDownEnabled;
    return enabled;
}

void MonthEdit::typeInMonth(QChar c)
{
    const auto pick = [this](int month) {
        setDate(dateIn(m_date.year(), month, m_date.day()));
        selectField(MonthField);
    };
    if (c.isDigit()) {
        if (!m_typed.isEmpty() && !m_typed.front().isDigit())
            m_typed.clear();
        m_typed += c;
        int month = m_typed.toInt();
        if (month > 12) {
            m_typed = c;
            month = c.digitValue();
        }
        if (month >= 1)
            pick(month);
        // A number that cannot grow into another month is whole: the year follows.
        if (m_typed.size() == 2 || month > 1) {
            m_typed.clear();
            selectField(YearField);
        }
        return;
    }
    if (c.isLetter()) {
        if (!m_typed.isEmpty() && m_typed.front().isDigit())
            m_typed.clear();
        // The letters typed so far and this one; else this one alone starts anew.
        for (const QString &start : {m_typed + c.toLower(), QString(c.toLower())}) {
            for (int month = 1; month <= 12; ++month) {
                if (monthName(month).startsWith(start)) {
                    m_typed = start;
                    pick(month);
                    return;
                }
            }
        }
        m_typed.clear();
        return;
    }
    if (c == u' ' || c == u'.' || c == u'/' || c == u'-') {
        m_typed.clear();
        selectField(YearField);
    }
}

void MonthEdit::typeInYear(QChar c)
{
    if (!c.isDigit())
        return;
    m_typed += c;
    if (m_typed.size() < 4) {
        lineEdit()->setText(monthName(m_date.month()) + u' ' + m_typed);
        lineEdit()->setCursorPosition(int(lineEdit()->text().size()));
        return;
    }
    takeYear();
    selectField(YearField);
}

void MonthEdit::takeYear()
{
    if (m_field != YearField || m_typed.isEmpty()) {
        m_typed.clear();
        return;
    }
    const int year = m_typed.toInt();
    m_typed.clear();
    if (year >= FirstYear && year <= LastYear)
        setDate(dateIn(year, m_date.month(), m_date.day()));
    else
        showDate();
}

void MonthEdit::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Home:
        takeYear();
        selectField(MonthField);
        return;
    case Qt::Key_Right:
    case Qt::Key_End:
        takeYear();
        selectField(YearField);
        return;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        takeYear();
        setDate(m_date.addMonths(event->key() == Qt::Key_PageUp ? 12 : -12));
        selectField(m_field);
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        takeYear();
        selectField(m_field);
        // The window's own Enter (its default button) still follows.
        event->ignore();
        return;
    case Qt::Key_Backspace:
        if (m_field == YearField && !m_typed.isEmpty()) {
            m_typed.chop(1);
            if (m_typed.isEmpty()) {
                showDate();
            } else {
                lineEdit()->setText(monthName(m_date.month()) + u' ' + m_typed);
                lineEdit()->setCursorPosition(int(lineEdit()->text().size()));
            }
        }
        return;
    case Qt::Key_Escape:
        if (m_typed.isEmpty()) {
            event->ignore();
            return;
        }
        m_typed.clear();
        showDate();
        return;
    default:
        break;
    }
    const QString text = event->text();
    if (!text.isEmpty() && text.at(0).isPrint() &&
        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        if (m_field == MonthField)
            typeInMonth(text.at(0));
        else
            typeInYear(text.at(0));
        return;
    }
    QAbstractSpinBox::keyPressEvent(event);
}

void MonthEdit::focusInEvent(QFocusEvent *event)
{
    QAbstractSpinBox::focusInEvent(event);
    if (event->reason() == Qt::TabFocusReason)
        m_field = MonthField;
    else if (event->reason() == Qt::BacktabFocusReason)
        m_field = YearField;
    // A click picks its field where it lands.
    if (event->reason() != Qt::MouseFocusReason)
        selectField(m_field);
}

void MonthEdit::focusOutEvent(QFocusEvent *event)
{
    takeYear();
    QAbstractSpinBox::focusOutEvent(event);
}

bool MonthEdit::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != lineEdit())
        return QAbstractSpinBox::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::LeftButton)
            break;
        if (!hasFocus())
            setFocus(Qt::MouseFocusReason);
        const int at = lineEdit()->cursorPositionAt(mouse->position().toPoint());
        takeYear();
        const Field field = at <= monthName(m_date.month()).size() ? MonthField : YearField;
        selectField(field);
        return true;
    }
    case QEvent::MouseMove:
        // No selection by dragging: a field is chosen whole.
        return static_cast<QMouseEvent *>(event)->buttons() & Qt::LeftButton;
    case QEvent::MouseButtonRelease:
        return static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton;
    default:
        break;
    }
    return QAbstractSpinBox::eventFilter(watched, event);
}

QSize MonthEdit::sizeHint() const
{
    ensurePolished();
    const QFontMetrics metrics(font());
    int width = 0;
    for (int month = 1; month <= 12; ++month)
        width =
            std::max(width, metrics.horizontalAdvance(monthName(month) + QStringLiteral(" 0000")));
    QStyleOptionSpinBox option;
    initStyleOption(&option);
    const QSize contents(width + 4, lineEdit()->sizeHint().height());
    return style()->sizeFromContents(QStyle::CT_SpinBox, &option, contents, this);
}

QSize MonthEdit::minimumSizeHint() const
{
    return sizeHint();
}
