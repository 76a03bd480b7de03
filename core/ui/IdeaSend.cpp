#include "core/ui/IdeaSend.h"

#include "controls/BlueCommand.h"
#include "core/Globals.h"
#include "core/Messages.h"
#include "core/Options.h"
#include "core/ui/DialogParts.h"
#include "core/ui/Guard.h"
#include "core/ui/InternetOperations.h"
#include "core/ui/Module1Ui.h"
#include "core/ui/ScreenFit.h"
#include "core/ui/clsXmlGet.h"
#include "platform/xml/XmlDocument.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QVBoxLayout>

IdeaSend::IdeaSend(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("IdeaSend"));
    setWindowTitle(QStringLiteral("Zgłaszanie pomysłu"));

    auto *tabs = new QTabWidget(this);
    auto *page = new QWidget;
    tabs->addTab(page, QStringLiteral("Ogólne"));

    auto *lbl0 = new QLabel(QStringLiteral(
        "Jeżeli brakuje Państwu czegoś w programie Dorvat Kadrelo, to proszę to opisać. "
        "Jest duże prawdopodobieństwo, że pojawi się to w następnej wersji. "
        "Pomysły włączone do podstawowej wersji programu zostaną nagrodzone."));
    lbl0->setObjectName(QStringLiteral("lbl_0"));
    lbl0->setWordWrap(true);
    auto *lbl1 = new QLabel(QStringLiteral("Pomysł na rozbudowę programu:"));
    lbl1->setObjectName(QStringLiteral("lbl_1"));
    m_text2 = new QPlainTextEdit;
    m_text2->setObjectName(QStringLiteral("Text2"));
    auto *lbl2 = new QLabel(QStringLiteral("Państwa e-mail:"));
    lbl2->setObjectName(QStringLiteral("lbl_2"));
    m_text1 = new QLineEdit;
    m_text1->setObjectName(QStringLiteral("Text1"));

    auto *pageLayout = new QVBoxLayout(page);
    pageLayout->addWidget(lbl0);
    pageLayout->addSpacing(6);
    pageLayout->addWidget(lbl1);
    pageLayout->addWidget(m_text2, 1);
    pageLayout->addWidget(lbl2);
    pageLayout->addWidget(m_text1);

    auto *line = new QFrame;
    line->setObjectName(QStringLiteral("Line1"));
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    m_buttonOK = new BlueCommand(this);
    m_buttonOK->setObjectName(QStringLiteral("ButtonOK"));
    m_buttonOK->setCaption(QStringLiteral("Wyślij"));
    m_buttonClose = new BlueCommand(this);
    m_buttonClose->setObjectName(QStringLiteral("ButtonClose"));
    m_buttonClose->setCaption(QStringLiteral("Zamknij"));
    QHBoxLayout *buttons = DialogParts::commandRow({m_buttonOK, m_buttonClose});

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tabs, 1);
    layout->addWidget(line);
    layout->addLayout(buttons);

    Module1::FlatControls(this, QStringLiteral("TextBox"));
    connect(m_buttonOK, &BlueCommand::Click, this, [this] { Ui::guarded([this] { send(); }); });
    connect(m_buttonClose, &BlueCommand::Click, this, &QWidget::close);
    resize(460, 380);
}

void IdeaSend::showEvent(QShowEvent *event)
{
    // A window of its own is not centred over its owner as a dialog is.
    if (!m_placed && isWindow() && parentWidget())
        ScreenFit::place(this, parentWidget()->window());
    m_placed = true;
    QWidget::showEvent(event);
}

QString IdeaSend::requestUrl(const QString &host, const QString &email, const QString &idea)
{
    return QStringLiteral("http://") + host + QStringLiteral("/Kadrelo/ideasend.php?email=") +
           InternetOperations::UrlEncode(email) + QStringLiteral("&tresc=") +
           InternetOperations::UrlEncode(idea);
}

void IdeaSend::send()
{
    const QString email = m_text1->text();
    // The service expects Windows line breaks.
    const QString idea = m_text2->toPlainText().replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    if (idea.isEmpty() || email.isEmpty()) {
        Messages::exclamation(QStringLiteral("Proszę wypełnić pola."));
        return;
    }
    if (!email.contains(QLatin1Char('.')) || !email.contains(QLatin1Char('@'))) {
        Messages::exclamation(QStringLiteral("Proszę podać prawidłowy adres e-mail."));
        return;
    }
    const QString host =
        Globals::options() ? Globals::options()->GetOption(QStringLiteral("FeedbackHost")).trimmed()
                           : QString();
    if (host.isEmpty()) {
        Messages::exclamation(QStringLiteral(
            "Nie skonfigurowano adresu usługi zgłaszania pomysłów. Pomysł nie został wysłany."));
        return;
    }

    m_buttonOK->setEnabled(false);
    struct Reenable
    {
        BlueCommand *button;
        ~Reenable() { button->setEnabled(true); }
    } reenable{m_buttonOK};

    clsXmlGet request;
    request.Show(requestUrl(host, email, idea));
    const Xml::Document *answer = request.Result();
    if (!answer)
        return;
    const Xml::Node result =
        answer->documentElement().selectSingleNode(QStringLiteral("/Doc/Result"));
    if (result.isNull()) {
        Messages::critical(
            xmlErrorText(QStringLiteral("Odpowiedź nie zawiera elementu /Doc/Result.")));
        return;
    }
    Messages::show(result.text(), Messages::Icon::None, Messages::Buttons::Ok);
}
