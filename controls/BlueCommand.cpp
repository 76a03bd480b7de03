#include "controls/BlueCommand.h"

#include "controls/BlueCommand_Draw.h"
#include "controls/DCStyles.h"
#include "controls/MouseCodes.h"
#include "controls/TextEdit.h"

#include <QEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>

#include <algorithm>
#include <cmath>

namespace {

constexpr int FaceHeightPixels = 23;
constexpr float MinimumWidthTwips = 300;
constexpr qint32 ButtonShadow = qint32(0x80000010);

// The character after a single "&" of the caption, if any.
QChar accessKeyOf(const QString &caption)
{
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != QLatin1Char('&'))
            continue;
        if (caption[i + 1] == QLatin1Char('&')) {
            ++i;
            continue;
        }
        if (!caption[i + 1].isSpace())
            return caption[i + 1];
    }
    return QChar();
}

} // namespace

BlueCommand::BlueCommand(QWidget *parent)
    : QWidget(parent), m_surface(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32),
      m_dc(&m_surface)
{
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    m_surface.fill(Draw::toQColor(Draw::resolveColor(m_backColor)));
}

BlueCommand::~BlueCommand() = default;

void BlueCommand::setCaption(const QString &caption)
{
    m_caption = caption;
    updateAccessKey();
    updateGeometry();
    PaintButton();
}

void BlueCommand::setForeColor(qint32 color)
{
    m_foreColor = color;
    PaintButton();
}

void BlueCommand::setBackColor(qint32 color)
{
    m_backColor = color;
    m_surface.fill(Draw::toQColor(Draw::resolveColor(m_backColor)));
    PaintButton();
}

void BlueCommand::setFont(const Draw::StdFont &font)
{
    m_font = font;
    updateGeometry();
    PaintButton();
}

void BlueCommand::setEnabled(bool enabled)
{
    m_enabled = enabled;
    PaintButton();
}

void BlueCommand::setDefault(bool on)
{
    if (on && window()) {
        for (BlueCommand *other : window()->findChildren<BlueCommand *>()) {
            if (other != this && other->m_displayAsDefault)
                other->setDefault(false);
        }
    }
    m_displayAsDefault = on;
    attachToWindow();
    ambientChanged();
}

void BlueCommand::setCancel(bool on)
{
    m_cancel = on;
    attachToWindow();
}

void BlueCommand::WriteProperties(PropertyBag &bag) const
{
    bag.WriteProperty(QStringLiteral("Caption"), m_caption);
    bag.WriteProperty(QStringLiteral("ForeColor"), m_foreColor);
    bag.WriteProperty(QStringLiteral("BackColor"), m_backColor);
    bag.WriteProperty(QStringLiteral("Font"), QVariant::fromValue(m_font));
    bag.WriteProperty(QStringLiteral("Enabled"), m_enabled);
}

void BlueCommand::ReadProperties(const PropertyBag &bag)
{
    auto readInt = [&bag](const char *key, qint32 *out) {
        const QVariant v = bag.ReadProperty(QLatin1String(key));
        bool ok = false;
        const qint64 x = v.toLongLong(&ok);
        if (v.isValid() && ok && x >= INT32_MIN && x <= qint64(UINT32_MAX))
            *out = qint32(quint32(x));
        return v.isValid() && ok;
    };
    const QVariant caption = bag.ReadProperty(QStringLiteral("Caption"));
    if (caption.isValid() && caption.canConvert<QString>())
        setCaption(caption.toString());
    qint32 color = 0;
    if (readInt("ForeColor", &color))
        setForeColor(color);
    if (readInt("BackColor", &color))
        setBackColor(color);
    const QVariant font = bag.ReadProperty(QStringLiteral("Font"));
    if (font.metaType() == QMetaType::fromType<Draw::StdFont>())
        setFont(font.value<Draw::StdFont>());
    const QVariant enabled = bag.ReadProperty(QStringLiteral("Enabled"));
    if (enabled.metaType() == QMetaType::fromType<bool>()) {
        setEnabled(enabled.toBool());
    } else if (enabled.isValid()) {
        bool ok = false;
        const int x = enabled.toInt(&ok);
        const QString text = enabled.toString().trimmed().toLower();
        if (ok)
            setEnabled(x != 0);
        else if (text == QLatin1String("true") || text == QLatin1String("false"))
            setEnabled(text == QLatin1String("true"));
    }
}

QRectF BlueCommand::captionBox(float width, float height, float textHeight, bool pressed)
{
    const float top = height / 2 - textHeight / 2 + (pressed ? 1.0f : 0.0f);
    return QRectF(pressed ? 5.0 : 4.0, double(top), double(width - 8), double(textHeight));
}

bool BlueCommand::isInside(QPointF local, float width, float height)
{
    // Screen rectangle edges are rounded halves-to-even, comparisons strict.
    const int right = Draw::roundPixel(width);
    const int bottom = Draw::roundPixel(height);
    return local.x() > 0 && local.x() < right && local.y() > 0 && local.y() < bottom;
}

void BlueCommand::paintPass(Look look)
{
    DCStyles styles(&m_dc);
    styles.ChangeFont(m_font);
    styles.ChangeColor(m_foreColor);
    if (look == Look::Normal && !m_enabled)
        styles.ChangeColor(ButtonShadow);
    const float w = faceWidth();
    switch (look) {
    case Look::Normal:
        BlueCommand_Draw::DrawFaceNormal(&m_dc, w);
        break;
    case Look::Default:
        BlueCommand_Draw::DrawFaceDefault(&m_dc, w);
        break;
    case Look::Hover:
        BlueCommand_Draw::DrawFaceHover(&m_dc, w);
        break;
    case Look::Pressed:
        BlueCommand_Draw::DrawFacePressed(&m_dc, w);
        break;
    }
    const float h = TextEdit::MeasureTextHeight(&m_dc, m_caption, false, 1);
    const QRectF box = captionBox(w, faceHeight(), h, look == Look::Pressed);
    TextEdit::DrawTextInRect(&m_dc, m_caption, false, float(box.left()), float(box.top()),
                             float(box.width()), 2, 0);
    m_look = look;
    update();
    styles.KillFont();
    styles.KillPen();
}

void BlueCommand::PaintButton()
{
    if (m_hovering && m_pressed)
        paintPass(Look::Pressed);
    else if (m_hovering)
        paintPass(Look::Hover);
    else if (m_enabled && m_isDefault)
        paintPass(Look::Default);
    else if (m_enabled && m_displayAsDefault) {
        m_isDefault = true;
        paintPass(Look::Default);
    } else
        paintPass(Look::Normal); // disabled: the caption in the button-shadow colour
}

void BlueCommand::ambientChanged()
{
    if (!m_enabled)
        return;
    m_isDefault = m_displayAsDefault;
    paintPass(m_displayAsDefault ? Look::Default : Look::Normal);
}

void BlueCommand::accessKeyPress()
{
    if (m_enabled && QWidget::isEnabled())
        Q_EMIT Click();
}

void BlueCommand::updateAccessKey()
{
    delete m_accessKey;
    m_accessKey = nullptr;
    const QChar key = accessKeyOf(m_caption);
    if (key.isNull())
        return;
    m_accessKey = new QShortcut(QKeySequence(QStringLiteral("Alt+") + key.toUpper()), this);
    m_accessKey->setContext(Qt::WindowShortcut);
    connect(m_accessKey, &QShortcut::activated, this, &BlueCommand::accessKeyPress);
}

void BlueCommand::attachToWindow()
{
    QWidget *w = window();
    if (w == m_window)
        return;
    if (m_window)
        m_window->removeEventFilter(this);
    m_window = (w && w != this) ? w : nullptr;
    if (m_window)
        m_window->installEventFilter(this);
}

bool BlueCommand::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window && event->type() == QEvent::KeyPress && isVisible()) {
        auto *key = static_cast<QKeyEvent *>(event);
        const auto mods = key->modifiers() & ~Qt::KeypadModifier;
        if (mods == Qt::NoModifier) {
            const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
            if ((enter && m_displayAsDefault) || (key->key() == Qt::Key_Escape && m_cancel)) {
                accessKeyPress();
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void BlueCommand::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ParentChange && (m_displayAsDefault || m_cancel))
        attachToWindow();
    QWidget::changeEvent(event);
}

void BlueCommand::enforceSize()
{
    const int minimumWidth = int(std::ceil(MinimumWidthTwips / Draw::twipsPerPixelX()));
    setMinimumWidth(minimumWidth);
    setFixedHeight(FaceHeightPixels);
    if (width() < minimumWidth || height() != FaceHeightPixels)
        resize(std::max(width(), minimumWidth), FaceHeightPixels);
}

void BlueCommand::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    attachToWindow();
    enforceSize();
    PaintButton();
}

void BlueCommand::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (size() != m_surface.size() && !size().isEmpty()) {
        m_surface = QImage(size(), QImage::Format_RGB32);
        m_surface.fill(Draw::toQColor(Draw::resolveColor(m_backColor)));
    }
    if (!m_shown)
        return;
    enforceSize();
    PaintButton();
}

void BlueCommand::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.drawImage(0, 0, m_surface);
}

void BlueCommand::mousePressEvent(QMouseEvent *event)
{
    if (!m_enabled)
        return;
    const QPointF pos = event->position();
    Q_EMIT MouseDown(MouseCodes::button(event->button()), MouseCodes::shift(event->modifiers()),
                     float(pos.x()), float(pos.y()));
    if (event->button() == Qt::LeftButton)
        paintPass(Look::Pressed);
    m_pressed = true;
}

void BlueCommand::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_enabled)
        return;
    const QPointF pos = event->position();
    Q_EMIT MouseUp(MouseCodes::button(event->button()), MouseCodes::shift(event->modifiers()),
                   float(pos.x()), float(pos.y()));
    paintPass(m_isDefault ? Look::Default : Look::Normal);
    m_pressed = false;
    m_hovering = false;
    const bool click =
        event->button() == Qt::LeftButton && rect().contains(pos.toPoint()) && !m_doubleClicked;
    m_doubleClicked = false;
    // Last: a click handler may close the host window.
    if (click)
        Q_EMIT Click();
}

void BlueCommand::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (!m_enabled)
        return;
    m_pressed = true;
    m_doubleClicked = event->button() == Qt::LeftButton;
    if (m_doubleClicked)
        Q_EMIT DblClick();
}

void BlueCommand::mouseOutTest(bool inside)
{
    if (inside || !m_watching)
        return;
    m_hovering = false;
    PaintButton();
    m_watching = false;
    Q_EMIT MouseOut();
}

void BlueCommand::mouseMoveEvent(QMouseEvent *event)
{
    const bool inside = isInside(event->position(), faceWidth(), faceHeight());
    // A drag out while pressed gets no leave event until release.
    mouseOutTest(inside);
    if (!m_enabled || m_hovering || !inside)
        return;
    m_hovering = true;
    paintPass(m_pressed ? Look::Pressed : Look::Hover);
    m_watching = true;
    Q_EMIT MouseOver();
}

void BlueCommand::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    mouseOutTest(false);
}

QSize BlueCommand::sizeHint() const
{
    const QFontMetrics fm(Draw::DeviceContext::toQFont(
        Draw::LogFont{-Draw::mulDiv(Draw::roundPixel(m_font.size), m_dc.logPixelsY(), 72), 0, 0, 0,
                      m_font.bold ? 700 : 400, quint8(m_font.italic ? 255 : 0), 0, 0, 0, 0, 0, 0, 0,
                      m_font.name},
        m_dc.logPixelsY()));
    return QSize(std::max(75, fm.horizontalAdvance(m_caption) + 16), FaceHeightPixels);
}
