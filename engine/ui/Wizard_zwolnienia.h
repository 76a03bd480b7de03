#pragma once

#include "controls/BlueCommand.h"
#include "core/ui/DialogParts.h"
#include "masterdata/SelectItem.h"

#include <QComboBox>
#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QTabWidget>
#include <QVBoxLayout>

// The day-range picker of a rule's period: a first and a last day of the
// month, handed to the picker as "first;last". The days are not compared.
//
// Defined in its header so that the picker (masterdata), which this library
// itself uses, can open it without a link dependency back on this library.
class Wizard_zwolnienia : public QDialog
{
public:
    explicit Wizard_zwolnienia(QWidget *parent = nullptr) : QDialog(parent)
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

    // The picker that receives the range; not owned.
    void setMyClass(SelectItem *picker) { m_myClass = picker; }
    SelectItem *MyClass() const { return m_myClass; }

    QComboBox *Combo1() const { return m_combo1; }
    QComboBox *Combo2() const { return m_combo2; }
    BlueCommand *ButtonOK() const { return m_buttonOK; }
    BlueCommand *ButtonClose() const { return m_buttonClose; }

    void confirm()
    {
        if (m_myClass)
            m_myClass->setResult(m_combo1->currentText() + QLatin1Char(';') +
                                 m_combo2->currentText());
        accept();
    }

private:
    SelectItem *m_myClass = nullptr;
    QTabWidget *m_tab;
    QComboBox *m_combo1;
    QComboBox *m_combo2;
    BlueCommand *m_buttonOK;
    BlueCommand *m_buttonClose;
};
