#include "core/ui/MessageBoxPresenter.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

Messages::Answer MessageBoxPresenter::show(const QString &text, const QString &title,
                                           Messages::Icon icon, Messages::Buttons buttons)
{
    QMessageBox box(QApplication::activeWindow());
    box.setWindowTitle(title);
    // Texts break their lines with CR LF; a path or reason is never markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    switch (icon) {
    case Messages::Icon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case Messages::Icon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case Messages::Icon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case Messages::Icon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case Messages::Icon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    }

    QPushButton *yes = nullptr;
    QPushButton *no = nullptr;
    QPushButton *cancel = nullptr;
    QPushButton *ok = nullptr;
    switch (buttons) {
    case Messages::Buttons::Ok:
        ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        break;
    case Messages::Buttons::OkCancel:
        ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        cancel = box.addButton(QStringLiteral("Anuluj"), QMessageBox::RejectRole);
        break;
    case Messages::Buttons::YesNo:
        yes = box.addButton(QStringLiteral("Tak"), QMessageBox::YesRole);
        no = box.addButton(QStringLiteral("Nie"), QMessageBox::NoRole);
        break;
    case Messages::Buttons::YesNoCancel:
        yes = box.addButton(QStringLiteral("Tak"), QMessageBox::YesRole);
        no = box.addButton(QStringLiteral("Nie"), QMessageBox::NoRole);
        cancel = box.addButton(QStringLiteral("Anuluj"), QMessageBox::RejectRole);
        break;
    }
    if (yes)
        box.setDefaultButton(yes);
    else if (ok)
        box.setDefaultButton(ok);
    // Closing the box by its frame answers like the most cautious button.
    if (cancel)
        box.setEscapeButton(cancel);
    else if (no)
        box.setEscapeButton(no);
    else if (ok)
        box.setEscapeButton(ok);

    box.exec();
    QAbstractButton *clicked = box.clickedButton();
    if (clicked && clicked == yes)
        return Messages::Answer::Yes;
    if (clicked && clicked == no)
        return Messages::Answer::No;
    if (clicked && clicked == ok)
        return Messages::Answer::Ok;
    if (cancel)
        return Messages::Answer::Cancel;
    return no ? Messages::Answer::No : Messages::Answer::Ok;
}
