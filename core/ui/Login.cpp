#include "core/ui/Login.h"

#include "controls/BlueCommand.h"
#include "controls/ToolBarN.h"
#include "core/Globals.h"
#include "core/Messages.h"
#include "core/Options.h"
#include "core/Tools.h"
#include "core/ui/DialogParts.h"
#include "core/ui/Guard.h"
#include "core/ui/Module1Ui.h"
#include "core/ui/StartModule.h"
#include "platform/draw/ImageList.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {}

Login::Login(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Login"));
    setWindowTitle(QStringLiteral("Logowanie - ") + Globals::ProgramTitle);

    m_toolbar = new ToolBarN(this);
    m_toolbar->setObjectName(QStringLiteral("Toolbar_main"));
    m_toolbar->setTitle(Globals::ProgramTitle);
    // The bar paints its title once it has an image list; this one has no items.
    m_toolbar->setImageList(Draw::ImageList());
    m_toolbar->setFixedHeight(ToolBarN::BarHeight);

    auto *tabs = new QTabWidget;
    auto *page = new QWidget;
    tabs->addTab(page, QStringLiteral("Logowanie"));
    auto *label = new QLabel(QStringLiteral("Proszę podać hasło do programu Dorvat Kadrelo:"));
    label->setObjectName(QStringLiteral("Label1"));
    label->setWordWrap(true);
    m_poleTxt = new QLineEdit;
    m_poleTxt->setObjectName(QStringLiteral("poleTxt"));
    m_poleTxt->setEchoMode(QLineEdit::Password);
    // One "*" per typed character, whatever the style's own mask.
    m_poleTxt->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
    label->setBuddy(m_poleTxt);
    auto *pageLayout = new QVBoxLayout(page);
    pageLayout->addWidget(label);
    pageLayout->addWidget(m_poleTxt);
    pageLayout->addStretch(1);

    m_buttonOK = new BlueCommand(this);
    m_buttonOK->setObjectName(QStringLiteral("ButtonOK"));
    m_buttonOK->setCaption(QStringLiteral("OK"));
    m_buttonClose = new BlueCommand(this);
    m_buttonClose->setObjectName(QStringLiteral("ButtonClose"));
    m_buttonClose->setCaption(QStringLiteral("Zamknij"));
    m_buttonClose->setCancel(true);
    QHBoxLayout *buttons = DialogParts::commandRow({m_buttonOK, m_buttonClose});

    // The title strip spans the window's inner width.
    DialogParts::layOut(*this, m_toolbar, tabs, buttons);

    Module1::FlatControls(this, QStringLiteral("TextBox"));
    m_buttonOK->setDefault(true);
    connect(m_buttonOK, &BlueCommand::Click, this, [this] { Ui::guarded([this] { confirm(); }); });
    connect(m_buttonClose, &BlueCommand::Click, this, &QWidget::close);
    connect(this, &QDialog::rejected, this, &QWidget::close);
    m_poleTxt->setFocus();
    resize(360, 200);
}

void Login::confirm()
{
    const QString stored =
        Globals::options() ? Globals::options()->GetOption(QStringLiteral("Pass")) : QString();
    if (Tools::GetMD5(m_poleTxt->text()) == stored) {
        StartModule::ShowMainWindow();
        close();
        return;
    }
    ++m_failures;
    if (m_failures < 4)
        Messages::exclamation(QStringLiteral("Podane hasło jest nieprawidłowe."));
    else
        close();
}
