#include "controls/ToolBarN.h"

#include "controls/DCStyles.h"
#include "controls/ShownText.h"
#include "controls/TextEdit.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

using Draw::rgb;

namespace {

constexpr int PictureWidth = 61;
constexpr int PictureHeight = 63;

qint32 value(Draw::ColorRef c)
{
    return qint32(c);
}

// The bar's background at row y of the item area, as the layout and
// PaintElements leave it, so that a normal item blends into the bar.
QImage backgroundStrip()
{
    QImage strip(1, PictureHeight, QImage::Format_RGB32);
    QImage bar(1, 80, QImage::Format_RGB32);
    bar.fill(Draw::toQColor(Draw::ColorRef(ToolBarN::DefaultBackColor)));
    Draw::DeviceContext dc(&bar, 96, 96);
    TextEdit::GradientFill(&dc, TextEdit::MakeRGB(169, 191, 205), TextEdit::MakeRGB(88, 138, 173),
                           0, 1, 1, 30, true);
    TextEdit::GradientFill(&dc, TextEdit::MakeRGB(76, 127, 164), TextEdit::MakeRGB(101, 138, 165),
                           0, 31, 1, 31, true);
    dc.setPixel(0, 63, rgb(175, 195, 209));
    dc.setPixel(0, 64, rgb(118, 156, 184));
    for (int y = 0; y < PictureHeight; ++y)
        strip.setPixel(0, y, bar.pixel(0, y + 2));
    return strip;
}

QImage makePicture(int state)
{
    const QImage strip = backgroundStrip();
    QImage pic(PictureWidth, PictureHeight, QImage::Format_RGB32);
    for (int y = 0; y < PictureHeight; ++y)
        for (int x = 0; x < PictureWidth; ++x)
            pic.setPixel(x, y, strip.pixel(0, y));
    if (state != 2 && state != 4)
        return pic; // normal and disabled show the bar itself

    QPainter p(&pic);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF box(3.5, 1.5, PictureWidth - 7, 56);
    QPainterPath path;
    path.addRoundedRect(box, 5, 5);
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    if (state == 2) {
        fill.setColorAt(0, QColor(255, 255, 255, 110));
        fill.setColorAt(0.5, QColor(255, 255, 255, 45));
        fill.setColorAt(1, QColor(200, 225, 245, 80));
        p.fillPath(path, fill);
        p.setPen(QPen(QColor(235, 245, 255, 200), 1));
        p.drawPath(path);
    } else {
        fill.setColorAt(0, QColor(10, 30, 55, 120));
        fill.setColorAt(0.5, QColor(20, 45, 75, 70));
        fill.setColorAt(1, QColor(40, 70, 100, 50));
        p.fillPath(path, fill);
        p.setPen(QPen(QColor(25, 45, 70, 220), 1));
        p.drawPath(path);
        p.setPen(QPen(QColor(255, 255, 255, 60), 1));
        p.drawLine(QPointF(box.left() + 5, box.bottom() - 0.0),
                   QPointF(box.right() - 5, box.bottom() - 0.0));
    }
    return pic;
}

} // namespace

ToolBarN::ToolBarN(QWidget *parent)
    : QWidget(parent), m_items(new TBNItems(this)),
      m_surface(QSize(1, BarHeight), QImage::Format_RGB32), m_dc(&m_surface)
{
    m_itemFont.name = QStringLiteral("Tahoma");
    m_itemFont.size = 8;
    m_itemFont.charset = 238;
    m_itemFont.setBold(false);
    m_titleFont.name = QStringLiteral("Trebuchet MS");
    m_titleFont.size = 25;
    m_titleFont.charset = 238;
    m_surface.fill(Draw::toQColor(Draw::resolveColor(m_backColor)));
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedHeight(BarHeight);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(m_items, &TBNItems::ChangedItem, this, &ToolBarN::onChangedItem);
    connect(m_items, &TBNItems::ChangedList, this, &ToolBarN::onChangedList);
}

void ToolBarN::setTitle(const QString &title)
{
    m_title = ShownText::cut(title, TitleWidth);
}

QImage ToolBarN::statePicture(int state)
{
    static const QImage pictures[4] = {makePicture(1), makePicture(2), makePicture(3),
                                       makePicture(4)};
    return state >= 1 && state <= 4 ? pictures[state - 1] : QImage();
}

int ToolBarN::slotsFor(float width)
{
    return int(std::floor(width / ItemWidth));
}

float ToolBarN::slotOriginFor(float width)
{
    return width - float(slotsFor(width)) * ItemWidth;
}

float ToolBarN::blockStart(float width, int visibleItems)
{
    const int slots = slotsFor(width);
    return slotOriginFor(width) +
           ItemWidth * float(visibleItems > slots - 1 ? 0 : slots - visibleItems - 1);
}

QString ToolBarN::HitTest(const TBNItems &items, float width, float height, float x, float y)
{
    const int n = items.CountVisibleItems();
    if (n < 1 || !(x > width - float(n) * ItemWidth) || !(y > 3) || !(y < height - 6))
        return QString();
    const int i = int(std::floor((x - blockStart(width, n)) / ItemWidth));
    if (i < 1 || i > n)
        return QString();
    const QString key = items.GetKey(i);
    const TBNItem *item = items.Item(key);
    return item && item->Enabled() ? key : QString();
}

QString ToolBarN::HitTest(float x, float y) const
{
    return HitTest(*m_items, m_width, m_height, x, y);
}

void ToolBarN::setImageList(const Draw::ImageList &list)
{
    m_imageList = list;
    m_hasImageList = true;
}

float ToolBarN::GetLeftPosition(const QString &key) const
{
    const int position = std::max(0, m_items->GetPosition(key));
    return blockStart(m_width, m_items->CountVisibleItems()) + ItemWidth * float(position);
}

bool ToolBarN::SetVisible(const QString &keys)
{
    const QStringList listed = keys.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    bool allKnown = true;
    m_layoutSuspended = true;
    for (int i = 1; i <= m_items->Count(); ++i)
        m_items->Item(i)->setVisible(false);
    for (const QString &key : listed) {
        if (TBNItem *item = m_items->Item(key))
            item->setVisible(true);
        else
            allKnown = false;
    }
    m_layoutSuspended = false;
    layoutBar();
    return allKnown;
}

void ToolBarN::RaiseResize()
{
    layoutBar();
}

void ToolBarN::layoutBar()
{
    if (!m_shown)
        return;
    m_width = float(width());
    m_height = float(height());
    const float w = m_width;
    const float hgt = m_height;
    Draw::DeviceContext *dc = &m_dc;

    TextEdit::FillRectColor(dc, 0, 0, w, 70, m_backColor);
    if (height() != BarHeight)
        setFixedHeight(BarHeight);

    const float half = std::floor(w / 2);
    const float tenth = std::floor(w * 0.1f);
    const RGBTriple dark = TextEdit::MakeRGB(118, 156, 184);
    const RGBTriple light = TextEdit::MakeRGB(164, 189, 206);
    TextEdit::GradientFill(dc, dark, light, tenth, 63, half - tenth, 7, false);
    TextEdit::GradientFill(dc, light, dark, w - half - 1, 63, (w - half) - w * 0.1f + 1, 7, false);
    TextEdit::FillRectColor(dc, 1, 63, w * 0.1f, 7, 0xB89C76);
    TextEdit::FillRectColor(dc, w * 0.9f, 63, w * 0.1f, 7, 0xB89C76);

    TextEdit::GradientFill(dc, TextEdit::MakeRGB(188, 186, 186), TextEdit::ColorToRGB(m_backColor),
                           0, 70, w, 5, true);
    TextEdit::GradientFill(dc, TextEdit::MakeRGB(76, 127, 164), TextEdit::MakeRGB(142, 177, 202), 0,
                           0, w, 1, false);

    DCStyles styles(dc);
    styles.ChangePen(1, value(rgb(175, 195, 209)));
    TextEdit::DrawLine(dc, 1, 63, w, 63);
    styles.ChangePen(1, value(rgb(69, 101, 126)));
    TextEdit::DrawLine(dc, 0, hgt - 6, w, hgt - 6);
    styles.KillPen();

    if (m_hasImageList)
        PaintElements();
    update();
}

void ToolBarN::PaintElements()
{
    if (!m_shown)
        return;
    // Where the items stand is known at once (clicks are placed by it); the
    // drawing waits for the next paint, so that a title and the items' states
    // changed together are drawn once.
    m_width = float(width());
    m_itemWidth = ItemWidth;
    m_slots = slotsFor(m_width);
    m_slotOrigin = slotOriginFor(m_width);
    m_elementsStale = true;
    update();
}

void ToolBarN::drawElements()
{
    if (!m_elementsStale)
        return;
    m_elementsStale = false;
    const float w = m_width;
    Draw::DeviceContext *dc = &m_dc;
    {
        DCStyles styles(dc);
        TextEdit::FillRectColor(dc, 2, 2, w, 61, m_backColor);
        TextEdit::GradientFill(dc, TextEdit::MakeRGB(169, 191, 205),
                               TextEdit::MakeRGB(88, 138, 173), 0, 1, w, 30, true);
        TextEdit::GradientFill(dc, TextEdit::MakeRGB(76, 127, 164),
                               TextEdit::MakeRGB(101, 138, 165), 0, 31, w, 31, true);
        TextEdit::GradientFill(dc, TextEdit::MakeRGB(255, 255, 255),
                               TextEdit::MakeRGB(169, 191, 205), 0, 1, w / 2, 1, false);

        styles.ChangeFont(m_titleFont);
        styles.ChangeColor(value(rgb(46, 68, 85)));
        TextEdit::DrawTextInRect(dc, m_title, false, 11, 10, TitleWidth, 0);
        styles.ChangeColor(0xFFFFFF);
        TextEdit::DrawTextInRect(dc, m_title, false, 10, 9, TitleWidth, 0);
        styles.KillFont();
    }
    for (int i = 1; i <= m_items->Count(); ++i) {
        const TBNItem *item = m_items->Item(i);
        if (item->Visible())
            drawItem(item->Key(), 0);
    }
}

void ToolBarN::paintItem(const QString &key, int requestedState, bool refresh)
{
    // An item's state goes over the bar as it stands, never under it.
    drawElements();
    drawItem(key, requestedState);
    if (refresh)
        update();
}

void ToolBarN::drawItem(const QString &key, int requestedState)
{
    const TBNItem *item = m_items->Item(key);
    const int position = m_items->GetPosition(key);
    // An invisible item has no slot: nothing to draw.
    if (!m_shown || !item || position < 1)
        return;
    Draw::DeviceContext *dc = &m_dc;
    DCStyles styles(dc);
    styles.ChangeFont(m_itemFont);

    const float x0 =
        blockStart(m_width, m_items->CountVisibleItems()) + ItemWidth * float(position);
    int drawn = 2;
    if (requestedState == 2 && m_pressed)
        drawn = 4;
    else if (requestedState == 0 || !item->Enabled())
        drawn = item->Enabled() ? 1 : 3;
    const float d = drawn == 4 ? 1 : 0;

    const QImage picture = statePicture(drawn);
    TextEdit::DrawPicture(dc, picture, x0 + 30 - float(picture.width()) / 2, 2);
    if (!item->Image().isEmpty()) {
        const QImage icon = m_imageList.picture(item->Image());
        if (!icon.isNull())
            TextEdit::DrawPicture(dc, icon, std::floor(x0 + 30 - 10) + d, 17 + d, 255);
    }
    styles.ChangeColor(0x5F4C33);
    TextEdit::DrawTextInRect(dc, item->Text(), false, x0 + 2, 41, 58, 2);
    styles.ChangeColor(item->Enabled() ? 0xFFFFFF : 0xA58559);
    TextEdit::DrawTextInRect(dc, item->Text(), false, x0 + 3 + d, 40 + d, 54, 2);
    styles.KillFont();
}

void ToolBarN::onChangedItem(const QString &key)
{
    if (m_hasImageList)
        paintItem(key, 0, true);
}

void ToolBarN::onChangedList()
{
    if (!m_layoutSuspended)
        layoutBar();
}

void ToolBarN::handleMove(float x, float y)
{
    const QString k = HitTest(x, y);
    if (!k.isEmpty() && k != m_hotKey) {
        if (!m_hotKey.isEmpty())
            paintItem(m_hotKey, 0, true);
        m_hotKey = k;
        paintItem(k, 2, true);
    } else if (k.isEmpty() && !m_hotKey.isEmpty()) {
        paintItem(m_hotKey, 0, true);
        m_hotKey.clear();
    }
}

void ToolBarN::mouseMoveEvent(QMouseEvent *event)
{
    handleMove(float(event->position().x()), float(event->position().y()));
}

void ToolBarN::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QString k = HitTest(float(event->position().x()), float(event->position().y()));
    if (!k.isEmpty()) {
        m_pressed = true;
        paintItem(k, 2, true);
    }
}

void ToolBarN::mouseReleaseEvent(QMouseEvent *event)
{
    const QString k = HitTest(float(event->position().x()), float(event->position().y()));
    m_pressed = false;
    if (!k.isEmpty())
        paintItem(k, 2, true);
    if (event->button() == Qt::LeftButton)
        Q_EMIT ItemClick(k);
}

void ToolBarN::leaveEvent(QEvent *event)
{
    QWidget::leaveEvent(event);
    handleMove(0, 0);
    m_hotKey.clear();
}

void ToolBarN::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (m_shown)
        return;
    m_shown = true;
    layoutBar();
}

void ToolBarN::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (size() != m_surface.size() && !size().isEmpty()) {
        QImage grown(size(), QImage::Format_RGB32);
        grown.fill(Draw::toQColor(Draw::resolveColor(m_backColor)));
        QPainter(&grown).drawImage(0, 0, m_surface);
        m_surface = grown;
    }
    layoutBar();
}

void ToolBarN::paintEvent(QPaintEvent *)
{
    drawElements();
    QPainter p(this);
    p.drawImage(0, 0, m_surface);
}
