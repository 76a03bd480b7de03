#include "core/Messages.h"

#include <QDir>
#include <QQueue>

namespace Messages {

namespace {

Presenter *g_presenter = nullptr;
QQueue<Answer> g_answers;
QStringList g_shown;

Answer defaultAnswer(Buttons buttons)
{
    switch (buttons) {
    case Buttons::Ok:
    case Buttons::OkCancel:
        return Answer::Ok;
    case Buttons::YesNo:
    case Buttons::YesNoCancel:
        return Answer::No;
    }
    return Answer::Ok;
}

} // namespace

void setPresenter(Presenter *presenter)
{
    g_presenter = presenter;
}

Answer show(const QString &text, Icon icon, Buttons buttons, const QString &title)
{
    g_shown.append(text);
    if (!g_answers.isEmpty())
        return g_answers.dequeue();
    if (g_presenter)
        return g_presenter->show(text, title, icon, buttons);
    return defaultAnswer(buttons);
}

void critical(const QString &text, const QString &title)
{
    show(text, Icon::Critical, Buttons::Ok, title);
}

void exclamation(const QString &text, const QString &title)
{
    show(text, Icon::Exclamation, Buttons::Ok, title);
}

void information(const QString &text, const QString &title)
{
    show(text, Icon::Information, Buttons::Ok, title);
}

bool question(const QString &text, const QString &title)
{
    return show(text, Icon::Question, Buttons::YesNo, title) == Answer::Yes;
}

Answer questionWithCancel(const QString &text, const QString &title)
{
    return show(text, Icon::Question, Buttons::YesNoCancel, title);
}

QString lines(const QStringList &parts)
{
    QStringList kept = parts;
    kept.removeAll(QString());
    return kept.join(QStringLiteral("\r\n"));
}

QString fileFailure(const QString &headline, const QString &path, const QString &reason)
{
    return lines({headline, QDir::toNativeSeparators(path), reason});
}

void setNextAnswer(Answer answer)
{
    g_answers.enqueue(answer);
}

QStringList shown()
{
    return g_shown;
}

void clearShown()
{
    g_shown.clear();
    g_answers.clear();
}

} // namespace Messages
