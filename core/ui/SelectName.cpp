#include "core/ui/SelectName.h"

#include "controls/BlueCommand.h"
#include "core/ui/Module1Ui.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QQueue>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {
QQueue<QString> g_nextNames;
}

SelectName::SelectName(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("SelectName"));
    setWindowTitle(QStringLiteral("Nazwa"));

    auto *tabs = new QTabWidget(this);
    auto *page = new QWidget;
    tabs->addTab(page, QStringLiteral("Ogólne"));
    auto *label = new QLabel(QStringLiteral("Nazwa pliku bazy danych:"));
    label->setObjectName(QStringLiteral("Label1"));
    m_text1 = new QLineEdit(QStringLiteral("NazwaPliku"));
    m_text1->setObjectName(QStringLiteral("Text1"));
    label->setBuddy(m_text1);
    auto *pageLayout = new QVBoxLayout(page);
    pageLayout->addWidget(label);
    pageLayout->addWidget(m_text1);
    pageLayout->addStretch(1);

    m_ok = new BlueCommand(this);
    m_ok->setObjectName(QStringLiteral("BlueCommand2"));
    m_ok->setCaption(QStringLiteral("OK"));
    m_close = new BlueCommand(this);
    m_close->setObjectName(QStringLiteral("BlueCommand1"));
    m_close->setCaption(QStringLiteral("Zamknij"));
    m_close->setCancel(true);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_close);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tabs, 1);
    layout->addLayout(buttons);

    Module1::FlatControls(this, QStringLiteral("TextBox"));
    m_ok->setDefault(true);
    connect(m_ok, &BlueCommand::Click, this, &SelectName::confirm);
    connect(m_close, &BlueCommand::Click, this, &QDialog::reject);
    m_text1->selectAll();
    m_text1->setFocus();
    resize(320, 150);
}

void SelectName::confirm()
{
    const QString text = m_text1->text();
    if (text.isEmpty())
        return;
    m_chosenName = text;
    accept();
}

QString SelectName::ask(QWidget *parent)
{
    if (!g_nextNames.isEmpty())
        return g_nextNames.dequeue();
    SelectName dialog(parent);
    dialog.setChosenName(QString());
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return dialog.ChosenName();
}

void SelectName::setNextName(const QString &name)
{
    g_nextNames.enqueue(name);
}
