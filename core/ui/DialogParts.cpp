#include "core/ui/DialogParts.h"

#include "controls/BlueCommand.h"
#include "controls/ToolBarIcons.h"
#include "controls/ToolBarN.h"
#include "core/ui/Guard.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QTabWidget>
#include <QVBoxLayout>

ToolBarN *DialogParts::editBar(QDialog &dialog, const std::function<void(const QString &)> &click)
{
    auto *bar = new ToolBarN(&dialog);
    bar->setObjectName(QStringLiteral("ToolBar"));
    bar->setFixedHeight(ToolBarN::BarHeight);
    bar->setImageList(ToolBarIcons::buttons());
    TBNItems *items = bar->ListItems();
    items->Add(QStringLiteral("new"), QStringLiteral("Nowy"), QString());
    items->Add(QStringLiteral("edit"), QStringLiteral("Edytuj"), QString());
    items->Add(QStringLiteral("del"), QStringLiteral("Usuń"), QString());
    QObject::connect(bar, &ToolBarN::ItemClick, &dialog,
                     [click](const QString &key) { Ui::guarded([&] { click(key); }); });
    return bar;
}

QWidget *DialogParts::generalPage(QDialog &dialog, QTabWidget **tabs)
{
    *tabs = new QTabWidget(&dialog);
    (*tabs)->setObjectName(QStringLiteral("SSTab1"));
    auto *page = new QWidget(*tabs);
    (*tabs)->addTab(page, QStringLiteral("Ogólne"));
    return page;
}

BlueCommand *DialogParts::command(QDialog &dialog, const QString &name, const QString &caption,
                                  const std::function<void()> &click)
{
    auto *button = new BlueCommand(&dialog);
    button->setObjectName(name);
    button->setCaption(caption);
    QObject::connect(button, &BlueCommand::Click, &dialog, [click] { Ui::guarded(click); });
    return button;
}

BlueCommand *DialogParts::closeCommand(QDialog &dialog, const QString &caption)
{
    auto *button = new BlueCommand(&dialog);
    button->setObjectName(QStringLiteral("ButtonClose"));
    button->setCaption(caption);
    button->setCancel(true);
    QObject::connect(button, &BlueCommand::Click, &dialog, &QDialog::reject);
    return button;
}

QHBoxLayout *DialogParts::commandRow(const QList<BlueCommand *> &commands)
{
    auto *row = new QHBoxLayout;
    row->addStretch(1);
    for (BlueCommand *button : commands)
        row->addWidget(button);
    return row;
}

void DialogParts::layOut(QDialog &dialog, ToolBarN *bar, QTabWidget *tabs, QHBoxLayout *buttons)
{
    auto *body = new QVBoxLayout;
    body->setContentsMargins(9, 9, 9, 9);
    body->addWidget(tabs, 1);
    body->addLayout(buttons);
    auto *layout = new QVBoxLayout(&dialog);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(bar);
    layout->addLayout(body, 1);
}

bool DialogParts::isEnterPress(const QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent *>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

namespace {

class EscapeEater : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const auto *key = static_cast<const QKeyEvent *>(event);
            if (key->matches(QKeySequence::Cancel))
                return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void DialogParts::keepOpenOnEscape(QDialog &dialog)
{
    dialog.installEventFilter(new EscapeEater(&dialog));
}
