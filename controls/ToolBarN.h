#pragma once

#include "controls/TBNItems.h"
#include "platform/draw/DeviceContext.h"
#include "platform/draw/ImageList.h"
#include "platform/draw/StdFont.h"

#include <QImage>
#include <QWidget>

// The banner toolbar: a 75-pixel strip with a large title on the left and a
// right-aligned row of 60-pixel items (state picture, icon, caption). It
// highlights the item under the mouse, shows it pressed while the left
// button is held, and reports the release with ItemClick(key).
//
// Nothing is drawn before the bar is first shown; it paints into a
// persistent backing image shown in paintEvent. Hover ends on Qt's leave
// event (in place of the polling timer).
class ToolBarN : public QWidget
{
    Q_OBJECT
public:
    static constexpr int BarHeight = 75;
    static constexpr float ItemWidth = 60;
    static constexpr qint32 DefaultBackColor = 8611911; // &H836847
    // The title is drawn on one line into a box this many pixels wide.
    static constexpr int TitleWidth = 400;

    explicit ToolBarN(QWidget *parent = nullptr);

    void PaintElements();
    // Copied; icons are drawn by an item's Image key, red (255,0,0) transparent.
    void setImageList(const Draw::ImageList &list);
    void Edit() { m_editMode = true; }
    void Save() { m_editMode = false; }
    bool isEditMode() const { return m_editMode; }
    // The title keeps what its box can show: no character is narrower than a
    // pixel, so the box never shows more than TitleWidth of them.
    QString Title() const { return m_title; }
    void setTitle(const QString &title);
    TBNItems *ListItems() { return m_items; }
    const TBNItems *ListItems() const { return m_items; }
    // While set, visibility changes of items do not lay the bar out.
    void setSettingsTime(bool suspended) { m_layoutSuspended = suspended; }
    bool SettingsTime() const { return m_layoutSuspended; }
    // Makes exactly the listed items (";"-separated keys) visible and lays
    // the bar out. Unknown keys are skipped and give false; layout is resumed
    // in any case.
    bool SetVisible(const QString &keys);
    float GetLeftPosition(const QString &key) const;
    float GetItemWidth() const { return m_itemWidth; }
    void RaiseResize();

    qint32 BackColor() const { return m_backColor; }
    QString hotKey() const { return m_hotKey; }
    bool isItemPressed() const { return m_pressed; }
    const QImage &surface()
    {
        drawElements();
        return m_surface;
    }
    QSize sizeHint() const override { return QSize(400, BarHeight); }

    // Geometry of a bar of that width with that many visible items.
    static int slotsFor(float width);
    static float slotOriginFor(float width);
    static float blockStart(float width, int visibleItems);
    // The key of the enabled item under (x, y), "" for none.
    static QString HitTest(const TBNItems &items, float width, float height, float x, float y);
    QString HitTest(float x, float y) const;

    // The four state pictures, 61 x 63: 1 normal, 2 hot, 3 disabled, 4 pressed.
    static QImage statePicture(int state);

Q_SIGNALS:
    void ItemClick(const QString &key);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void layoutBar();
    void paintItem(const QString &key, int requestedState, bool refresh);
    void drawItem(const QString &key, int requestedState);
    // Draws the bar's title and items where PaintElements left them to draw.
    void drawElements();
    void handleMove(float x, float y);
    void onChangedItem(const QString &key);
    void onChangedList();

    float m_width = 0;
    float m_height = BarHeight;
    TBNItems *m_items = nullptr;
    bool m_layoutSuspended = false;
    bool m_pressed = false;
    float m_slotOrigin = 0;
    Draw::StdFont m_itemFont;
    Draw::StdFont m_titleFont;
    float m_itemWidth = 0;
    int m_slots = 0;
    QString m_hotKey;
    Draw::ImageList m_imageList;
    bool m_hasImageList = false;
    bool m_shown = false;
    bool m_elementsStale = false;
    QString m_title;
    bool m_editMode = false;
    qint32 m_backColor = DefaultBackColor;
    QImage m_surface;
    Draw::DeviceContext m_dc;
};
