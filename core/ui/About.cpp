#include "core/ui/About.h"

#include "controls/BlueCommand.h"
#include "core/ui/Module1Ui.h"

#include <QDate>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#ifndef KADRELO_VERSION
#error "KADRELO_VERSION comes from the build (project version)"
#endif

namespace {

const char *const InformationText =
    "Dorvat Kadrelo układa miesięczne grafiki służb: kto z osób, zebranych w grupy, "
    "pełni którą służbę w którym dniu miesiąca.\n\n"
    "Program uwzględnia zwolnienia, przywileje, reguły wybranego zestawu i służby "
    "pełnione w poprzednich miesiącach. Grafik można poprawiać ręcznie, zapisać, "
    "wyeksportować do arkusza kalkulacyjnego lub pliku CSV i podsumować w bilansie.";

} // namespace

QString About::versionText()
{
    return QStringLiteral(KADRELO_VERSION);
}

About::About(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("About"));
    setWindowTitle(QStringLiteral("Kadrelo - informacje"));

    m_label1 = new QLabel(QStringLiteral("Kadrelo"));
    m_label1->setObjectName(QStringLiteral("Label1"));
    QFont titleFont = m_label1->font();
    titleFont.setFamilies({QStringLiteral("Trebuchet MS"), QStringLiteral("DejaVu Sans")});
    titleFont.setPointSize(titleFont.pointSize() * 2);
    titleFont.setBold(true);
    m_label1->setFont(titleFont);

    m_label3 = new QLabel(versionText());
    m_label3->setObjectName(QStringLiteral("Label3"));
    m_label4 = new QLabel(QStringLiteral("Ostatnia modyfikacja: ") +
                          QDate(2007, 7, 21).toString(QStringLiteral("dd.MM.yyyy")));
    m_label4->setObjectName(QStringLiteral("Label4"));

    auto *frame = new QGroupBox(QStringLiteral("Informacje:"));
    frame->setObjectName(QStringLiteral("Frame1"));
    m_text1 = new QPlainTextEdit(QString::fromUtf8(InformationText));
    m_text1->setObjectName(QStringLiteral("Text1"));
    m_text1->setReadOnly(true);
    QFont textFont = m_text1->font();
    textFont.setFamilies({QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans")});
    m_text1->setFont(textFont);
    auto *frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(m_text1);
    Module1::FlatBorder(m_text1);

    m_buttonClose = new BlueCommand(this);
    m_buttonClose->setObjectName(QStringLiteral("ButtonClose"));
    m_buttonClose->setCaption(QStringLiteral("Zamknij"));
    m_buttonClose->setDefault(true);
    m_buttonClose->setCancel(true);
    connect(m_buttonClose, &BlueCommand::Click, this, &QDialog::accept);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_buttonClose);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_label1);
    layout->addWidget(m_label3);
    layout->addWidget(m_label4);
    layout->addWidget(frame, 1);
    layout->addLayout(buttons);
    resize(400, 320);
}
