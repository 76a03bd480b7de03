#pragma once

// A modal window that a call opens with exec(), answered as a person answers
// it. Header-only, for the tests that link Qt Widgets.

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QTimer>

#include <functional>

namespace Modal {

// Answers the next modal window, opened by exec() inside the call that
// follows, with action. A window of another kind fails the test and is
// closed, and so is a window left open afterwards, so a failed check never
// leaves exec() waiting.
template <typename T> void answerNext(std::function<void(T &)> action)
{
    QTimer::singleShot(0, qApp, [action] {
        QWidget *top = QApplication::activeModalWidget();
        auto *dialog = dynamic_cast<T *>(top);
        if (!dialog) {
            QTest::qFail(qPrintable(QStringLiteral("another modal window was expected, found %1")
                                        .arg(top ? QLatin1String(top->metaObject()->className())
                                                 : QLatin1String("none"))),
                         __FILE__, __LINE__);
            if (auto *other = qobject_cast<QDialog *>(top))
                other->reject();
            return;
        }
        action(*dialog);
        if (dialog->isVisible()) {
            QTest::qFail("the window stayed open", __FILE__, __LINE__);
            dialog->reject();
        }
    });
}

} // namespace Modal
