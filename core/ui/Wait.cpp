#include "core/ui/Wait.h"

#include "core/ui/ScreenFit.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>

Wait::Wait(QWidget *parent)
    : QWidget(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("Wait"));
    setWindowTitle(QStringLiteral("Kadrelo"));
    m_label1 = new QLabel(this);
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label1->setAlignment(Qt::AlignCenter);
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(24, 18, 24, 18);
    layout->addWidget(m_label1);
    setMinimumWidth(220);
}

void Wait::showNow()
{
    // Centred over the window that waits for the answer, as a dialog would be.
    adjustSize();
    const QWidget *over = QApplication::activeWindow();
    ScreenFit::place(this, over == this ? nullptr : over);
    show();
    raise();
    repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
