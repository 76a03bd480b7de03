#include "masterdata/Sluzby_item.h"

#include "controls/BlueCommand.h"
#include "core/Messages.h"
#include "core/ui/Module1Ui.h"
#include "masterdata/MasterDataCommon.h"
#include "masterdata/Sluzby.h"
#include "platform/db/Recordset.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFormLayout>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTimeEdit>
#include <QTimer>
#include <QVBoxLayout>

#include <cmath>
#include <optional>

namespace {

const QString GoneText = QStringLiteral("Wybrana służba nie istnieje już w bazie danych.");
const QString EveryoneText = QStringLiteral("Wszystkich");
const QString MenOnlyText = QStringLiteral("Tylko meżczyzn");

// A number as the user may type it: sign, digits, "," or "." with decimals, blanks around.
bool isNumber(const QString &text)
{
    static const QRegularExpression re(QStringLiteral("^\\s*[+-]?(\\d+([.,]\\d*)?|[.,]\\d+)\\s*$"));
    return re.match(text).hasMatch();
}

// The whole number within [min, max] the text holds, or nothing.
std::optional<int> wholeNumber(const QString &text, int min, int max)
{
    static const QRegularExpression re(QStringLiteral("^\\s*[+-]?\\d+\\s*$"));
    if (!re.match(text).hasMatch())
        return std::nullopt;
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < min || value > max)
        return std::nullopt;
    return value;
}

// A stored number as the user typed it: 12, not 12.0.
QString numberText(const QVariant &value)
{
    if (value.typeId() == QMetaType::Double) {
        const double d = value.toDouble();
        if (std::isfinite(d) && d == std::floor(d) && std::fabs(d) < 1e15)
            return QString::number(qint64(d));
    }
    return value.isNull() ? QString() : value.toString();
}

} // namespace

class Sluzby_item::Controls
{
public:
    QLineEdit *txt[3] = {};
    QTimeEdit *poleData = nullptr;
    QComboBox *polePrzez = nullptr;
    QComboBox *poleRest = nullptr;
    QCheckBox *check1 = nullptr;
    BlueCommand *buttonOK = nullptr;
    BlueCommand *buttonClose = nullptr;
};

Sluzby_item::Sluzby_item(QWidget *parent) : QDialog(parent), m_ui(std::make_unique<Controls>())
{
    setObjectName(QStringLiteral("Sluzby_item"));
    setWindowTitle(QStringLiteral("Dane służby"));
    buildUi();
    Module1::FlatControls(this, QStringLiteral("TextBox"));
    Module1::FlatControls(this, QStringLiteral("DTPicker"));
    SetNew();
    // Typing starts in the name, not on the tab bar.
    m_ui->txt[0]->setFocus();
}

Sluzby_item::~Sluzby_item() = default;

void Sluzby_item::buildUi()
{
    auto *layout = new QVBoxLayout(this);
    auto *tabs = new QTabWidget(this);
    auto *page = new QWidget(tabs);
    auto *form = new QFormLayout(page);
    for (int i = 0; i < 3; ++i) {
        m_ui->txt[i] = new QLineEdit(page);
        m_ui->txt[i]->setObjectName(QStringLiteral("txt%1").arg(i));
        m_ui->txt[i]->installEventFilter(this);
    }
    m_ui->poleData = new QTimeEdit(page);
    m_ui->poleData->setObjectName(QStringLiteral("poleData"));
    m_ui->poleData->setDisplayFormat(QStringLiteral("HH:mm"));
    m_ui->polePrzez = new QComboBox(page);
    m_ui->polePrzez->setObjectName(QStringLiteral("polePrzez"));
    m_ui->polePrzez->addItems({EveryoneText, MenOnlyText});
    m_ui->poleRest = new QComboBox(page);
    m_ui->poleRest->setObjectName(QStringLiteral("poleRest"));
    m_ui->poleRest->setEditable(true);
    m_ui->poleRest->setInsertPolicy(QComboBox::NoInsert);
    m_ui->poleRest->addItems({QStringLiteral("12"), QStringLiteral("24"), QStringLiteral("48")});
    m_ui->check1 =
        new QCheckBox(QStringLiteral("Pełniona przez jedną grupę w danych czasie"), page);
    m_ui->check1->setObjectName(QStringLiteral("Check1"));

    form->addRow(QStringLiteral("Nazwa:"), m_ui->txt[0]);
    form->addRow(QStringLiteral("Od godziny:"), m_ui->poleData);
    form->addRow(QStringLiteral("Czas trwania (godz.):"), m_ui->txt[1]);
    form->addRow(QStringLiteral("Standardowa ilość osób:"), m_ui->txt[2]);
    form->addRow(QStringLiteral("Wykonywana przez:"), m_ui->polePrzez);
    form->addRow(QStringLiteral("Opoczynek po służbie (godz.):"), m_ui->poleRest);
    form->addRow(m_ui->check1);
    // Tab follows the rows as drawn: the start time comes right after the name.
    QWidget::setTabOrder(m_ui->txt[0], m_ui->poleData);
    QWidget::setTabOrder(m_ui->poleData, m_ui->txt[1]);
    tabs->addTab(page, QStringLiteral("Ogólne"));
    layout->addWidget(tabs, 1);

    const MasterData::ButtonRow buttons =
        MasterData::addButtonRow(layout, this, QStringLiteral("Zapisz"));
    m_ui->buttonOK = buttons.ok;
    m_ui->buttonOK->setDefault(true);
    m_ui->buttonClose = buttons.close;
    connect(m_ui->buttonOK, &BlueCommand::Click, this, &Sluzby_item::save);
    connect(m_ui->buttonClose, &BlueCommand::Click, this, &QDialog::reject);
    resize(420, 300);
}

bool Sluzby_item::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn) {
        if (auto *edit = qobject_cast<QLineEdit *>(watched))
            QTimer::singleShot(0, edit, &QLineEdit::selectAll);
    }
    return QDialog::eventFilter(watched, event);
}

void Sluzby_item::SetNew()
{
    m_id = -1;
    m_ui->txt[0]->clear();
    m_ui->poleData->setTime(QTime(12, 0));
    m_ui->txt[1]->setText(QStringLiteral("12"));
    m_ui->txt[2]->setText(QStringLiteral("1"));
    m_ui->polePrzez->setCurrentIndex(0);
    m_ui->poleRest->setEditText(QStringLiteral("12"));
    m_ui->check1->setChecked(false);
}

bool Sluzby_item::GetInfo(qint64 id)
{
    auto rs = MasterData::openRow(QStringLiteral("sluzby"), id, GoneText);
    if (!rs)
        return false;
    m_id = id;
    m_ui->txt[0]->setText(rs->text(QStringLiteral("nazwa")));
    m_ui->txt[1]->setText(numberText(rs->value(QStringLiteral("okres"))));
    m_ui->txt[2]->setText(numberText(rs->value(QStringLiteral("ilosc_std"))));
    m_ui->poleRest->setEditText(numberText(rs->value(QStringLiteral("rest"))));
    m_ui->check1->setChecked(rs->flag(QStringLiteral("calagrupa")));
    const QString od = rs->text(QStringLiteral("od")).trimmed();
    QTime start = QTime::fromString(od, QStringLiteral("H:mm"));
    if (!start.isValid())
        start = QTime::fromString(od, QStringLiteral("H:mm:ss"));
    m_ui->poleData->setTime(start.isValid() ? start : QTime(12, 0));
    m_ui->polePrzez->setCurrentIndex(rs->flag(QStringLiteral("kobiety")) ? 0 : 1);
    return true;
}

bool Sluzby_item::save()
{
    const QString nazwa = m_ui->txt[0]->text();
    const QString okresText = m_ui->txt[1]->text();
    const QString iloscText = m_ui->txt[2]->text();
    const QString restText = m_ui->poleRest->currentText();
    if (nazwa.isEmpty() || okresText.isEmpty() || iloscText.isEmpty()) {
        Messages::exclamation(QStringLiteral("Błędne lub niekompletne dane!"));
        return false;
    }
    if (!MasterData::storableTexts({{QStringLiteral("Nazwa"), nazwa}}))
        return false;
    if (!isNumber(okresText) || !isNumber(iloscText) || !isNumber(restText)) {
        Messages::exclamation(QStringLiteral(
            "Błędne dane numeryczne! Należy wstawić liczby tam, gdzie są one wymagane."));
        return false;
    }
    // Only whole numbers in sensible ranges: a fraction or a negative count would
    // reach the generator as a duty nobody can serve.
    const auto okres = wholeNumber(okresText, MinLength, MaxLength);
    const auto ilosc = wholeNumber(iloscText, MinCount, MaxCount);
    const auto rest = wholeNumber(restText, MinRest, MaxRest);
    if (!okres || !ilosc || !rest) {
        Messages::exclamation(
            QStringLiteral(
                "Błędne dane numeryczne! Czas trwania musi być liczbą całkowitą od %1 do %2, "
                "ilość osób od %3 do %4, a odpoczynek od %5 do %6 godzin.")
                .arg(MinLength)
                .arg(MaxLength)
                .arg(MinCount)
                .arg(MaxCount)
                .arg(MinRest)
                .arg(MaxRest));
        return false;
    }

    const bool isNew = m_id == -1;
    const QString table = QStringLiteral("sluzby");
    auto rs = isNew ? MasterData::openTable(table) : MasterData::openRow(table, m_id, GoneText);
    if (!rs)
        return false;
    if (isNew)
        rs->addNew();
    else
        rs->edit();
    const QString od = m_ui->poleData->time().toString(QStringLiteral("HH:mm"));
    rs->setValue(QStringLiteral("nazwa"), nazwa);
    rs->setValue(QStringLiteral("okres"), *okres);
    rs->setValue(QStringLiteral("ilosc_std"), *ilosc);
    rs->setValue(QStringLiteral("kobiety"), m_ui->polePrzez->currentIndex() == 0 ? 1 : 0);
    rs->setValue(QStringLiteral("od"), od);
    rs->setValue(QStringLiteral("rest"), *rest);
    rs->setValue(QStringLiteral("calagrupa"), m_ui->check1->isChecked() ? 1 : 0);
    if (!rs->update()) {
        Messages::critical(rs->errorString());
        return false;
    }
    if (isNew) {
        // Kept, so that a second "Zapisz" edits this row instead of adding another.
        m_id = rs->lastId();
        if (m_dutiesWindow)
            m_dutiesWindow->ListAddItem(m_id, nazwa, od, *okres, *ilosc, true);
    } else if (m_dutiesWindow) {
        m_dutiesWindow->ListEditItem(nazwa, od, *okres, *ilosc);
    }
    accept();
    return true;
}
