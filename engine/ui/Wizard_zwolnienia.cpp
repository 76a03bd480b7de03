#include "engine/ui/Wizard_zwolnienia.h"

#include "controls/BlueCommand.h"
#include "core/ui/DialogParts.h"
#include "core/ui/PickReceiver.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QTabWidget>
#include <QVBoxLayout>

Wizard_zwolnienia::Wizard_zwolnienia(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Wizard_zwolnienia"));
    setWindowTitle(QStringLiteral("Kreator ustawień - zwolnienia"));

    m_tab = new QTabWidget(this);
    m_tab->setObjectName(QStringLiteral("SSTab1"));
    auto *page = new QWidget;
    m_tab->addTab(page, QStringLiteral("Ogólne"));
    m_combo1 = new QComboBox;
    m_combo1->setObjectName(QStringLiteral("Combo1"));
    m_combo2 = new QComboBox;
    m_combo2->setObjectName(QStringLiteral("Combo2"));
    for (int day = 1; day <= 31; ++day) {
        m_combo1->addItem(QString::number(day));
        m_combo2->addItem(QString::number(day));
    }
    m_combo1->setCurrentIndex(0);
    m_combo2->setCurrentIndex(0);

    auto *from = new QLabel(QStringLiteral("Od:"));
    from->setObjectName(QStringLiteral("lbl_0"));
    from->setBuddy(m_combo1);
    auto *to = new QLabel(QStringLiteral("Do:"));
    to->setObjectName(QStringLiteral("lbl_1"));
    to->setBuddy(m_combo2);
    auto *grid = new QGridLayout(page);
    grid->addWidget(from, 0, 0);
    grid->addWidget(m_combo1, 0, 1);
    grid->addWidget(to, 1, 0);
    grid->addWidget(m_combo2, 1, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(2, 1);

    m_buttonOK = new BlueCommand(this);
    m_buttonOK->setObjectName(QStringLiteral("ButtonOK"));
    m_buttonOK->setCaption(QStringLiteral("OK"));
    m_buttonClose = new BlueCommand(this);
    m_buttonClose->setObjectName(QStringLiteral("ButtonClose"));
    m_buttonClose->setCaption(QStringLiteral("Zamknij"));
    m_buttonClose->setCancel(true);
    QHBoxLayout *buttons = DialogParts::commandRow({m_buttonOK, m_buttonClose});

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tab, 1);
    layout->addLayout(buttons);

    m_buttonOK->setDefault(true);
    connect(m_buttonOK, &BlueCommand::Click, this, [this] { confirm(); });
    connect(m_buttonClose, &BlueCommand::Click, this, &QDialog::reject);
    m_combo1->setFocus();
    resize(280, 160);
}

void Wizard_zwolnienia::confirm()
{
    if (m_myClass)
        m_myClass->setResult(m_combo1->currentText() + QLatin1Char(';') + m_combo2->currentText());
    accept();
}
