#include "core/ui/ScreenFit.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace {

const char PlacedProperty[] = "kadreloScreenFitPlaced";

QMargins marginsOf(const QWidget *window)
{
    const QRect frame = window->frameGeometry();
    const QRect inner = window->geometry();
    return {inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
            frame.bottom() - inner.bottom()};
}

// The desktop's frame around a window, as far as it is known before the
// window is first shown: its own where the platform knows it already, else
// that of the window it opens over, or of another shown window.
QMargins frameMargins(const QWidget *window, const QWidget *over)
{
    if (window->isVisible()) {
        const QMargins own = marginsOf(window);
        if (!own.isNull())
            return own;
    }
    const QWidget *sample = over && over->isVisible() ? over : QApplication::activeWindow();
    return sample && sample != window ? marginsOf(sample) : QMargins();
}

// Within [low, high - length], the low edge winning where the length does not fit.
int clampEdge(int value, int low, int high, int length)
{
    return std::max(low, std::min(value, high - length));
}

class Watcher : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        if (event->type() != QEvent::Show || !object->isWidgetType())
            return false;
        auto *window = static_cast<QWidget *>(object);
        if (!window->isWindow() || window->property(PlacedProperty).toBool())
            return false;
        const Qt::WindowType type = window->windowType();
        if ((type != Qt::Window && type != Qt::Dialog) || qobject_cast<QMessageBox *>(window))
            return false;
        const QWidget *over = window->parentWidget() ? window->parentWidget()->window() : nullptr;
        if (!over && type == Qt::Dialog)
            over = QApplication::activeWindow();
        ScreenFit::place(window, over == window ? nullptr : over);
        return false;
    }
};

} // namespace

namespace ScreenFit {

QRect availableArea(const QWidget *window)
{
    QScreen *screen = window ? window->screen() : nullptr;
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

void place(QWidget *window, const QWidget *over)
{
    window->setProperty(PlacedProperty, true);
    if (over && !over->isVisible())
        over = nullptr;
    const QRect area = availableArea(over ? over : window);
    if (area.isEmpty())
        return;
    const QMargins frame = frameMargins(window, over);

    const QSize room = area.size().shrunkBy(frame);
    const QSize size = window->size().boundedTo(room).expandedTo(window->minimumSize());
    const bool smaller = size != window->size();
    if (smaller)
        window->resize(size);

    const QSize outer = size.grownBy(frame);
    const QRect under = over ? over->frameGeometry() : area;
    const int x = clampEdge(under.left() + (under.width() - outer.width()) / 2, area.left(),
                            area.left() + area.width(), outer.width());
    const int y = clampEdge(under.top() + (under.height() - outer.height()) / 2, area.top(),
                            area.top() + area.height(), outer.height());
    window->move(x, y);

    // Before its first window the desktop's frame is not known: a window
    // made smaller for the screen is left to the desktop to fit to the free
    // area, frame included.
    if (smaller && !over && frame.isNull() && window->windowType() == Qt::Window)
        window->setWindowState(window->windowState() | Qt::WindowMaximized);
}

void watch(QCoreApplication *application)
{
    application->installEventFilter(new Watcher(application));
}

} // namespace ScreenFit
