#pragma once

#include "controls/PropertyBag.h"
#include "platform/draw/DeviceContext.h"
#include "platform/draw/StdFont.h"

#include <QImage>
#include <QPointer>
#include <QRectF>
#include <QWidget>

class QShortcut;

// The program's push button: a rounded face 23 pixels high in one of four
// looks (normal, default, hover, pressed) with a centred one-line caption.
// It paints into a persistent backing image and shows it in paintEvent.
//
// Enabled is the button's own flag; the widget itself stays enabled, and a
// disabled button ignores the mouse and its keys. Hover begins on a mouse
// move inside and ends when the mouse leaves (Qt's leave event and moves
// outside take the place of the polling timer). setEnabled() here hides
// QWidget::setEnabled on purpose; call it through a BlueCommand pointer.
// Mouse event positions are in pixels of the control.
class BlueCommand : public QWidget
{
    Q_OBJECT
public:
    explicit BlueCommand(QWidget *parent = nullptr);
    ~BlueCommand() override;

    enum class Look { Normal, Default, Hover, Pressed };

    QString Caption() const { return m_caption; }
    void setCaption(const QString &caption);
    qint32 ForeColor() const { return m_foreColor; }
    void setForeColor(qint32 color);
    qint32 BackColor() const { return m_backColor; }
    void setBackColor(qint32 color);
    Draw::StdFont Font() const { return m_font; }
    void setFont(const Draw::StdFont &font);
    bool Enabled() const { return m_enabled; }
    void setEnabled(bool enabled);

    // The host's default button: shown with the default face, clicked by
    // Enter in the host window. Making one button the default clears the
    // flag on the window's other buttons.
    bool isDefault() const { return m_displayAsDefault; }
    void setDefault(bool on);
    // The host's cancel button: clicked by Esc in the host window.
    bool isCancel() const { return m_cancel; }
    void setCancel(bool on);

    // Stored property set: "Caption", "ForeColor", "BackColor", "Font",
    // "Enabled", in this order. Loading skips what it cannot read.
    void WriteProperties(PropertyBag &bag) const;
    void ReadProperties(const PropertyBag &bag);

    // The general repaint.
    void PaintButton();

    // Geometry, in pixels of the control.
    // Caption box for a caption of height h on a face W x H.
    static QRectF captionBox(float width, float height, float textHeight, bool pressed);
    // The hover test: the leftmost column and top row count as outside.
    static bool isInside(QPointF local, float width, float height);

    Look look() const { return m_look; }
    bool isHovering() const { return m_hovering; }
    bool isPressed() const { return m_pressed; }
    const QImage &surface() const { return m_surface; }
    QSize sizeHint() const override;

Q_SIGNALS:
    void Click();
    void DblClick();
    void MouseUp(int button, int shift, float x, float y);
    void MouseDown(int button, int shift, float x, float y);
    void MouseOver();
    void MouseOut();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void paintPass(Look look);
    void ambientChanged();
    void accessKeyPress();
    void mouseOutTest(bool inside);
    void updateAccessKey();
    void attachToWindow();
    void enforceSize();
    float faceWidth() const { return float(width()); }
    float faceHeight() const { return float(height()); }

    bool m_hovering = false;
    bool m_pressed = false;
    bool m_isDefault = false;
    bool m_watching = false; // stands for the running mouse-out timer
    bool m_doubleClicked = false;
    Draw::StdFont m_font;
    QString m_caption;
    qint32 m_foreColor = 0;
    bool m_enabled = true;
    bool m_shown = false;
    qint32 m_backColor = qint32(0x8000000F);
    bool m_displayAsDefault = false;
    bool m_cancel = false;
    Look m_look = Look::Normal;
    QImage m_surface;
    Draw::DeviceContext m_dc;
    QShortcut *m_accessKey = nullptr;
    QPointer<QWidget> m_window;
};
