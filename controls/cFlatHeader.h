#pragma once

#include "controls/ISubclass.h"
#include "controls/MSubclass.h"

#include <QPointer>

class QHeaderView;
class QPainter;
class QWidget;

// Flat look for the column header of a list view (QTreeView/QTableView or the
// QHeaderView itself): after the header has painted itself, its raised item
// frames are covered by single lines. One object per list view; it detaches
// itself when released.
class cFlatHeader : public ISubclass
{
public:
    static constexpr qint32 ErrInvalidWindow = 26020;

    cFlatHeader() = default;
    ~cFlatHeader() override;
    cFlatHeader(const cFlatHeader &) = delete;
    cFlatHeader &operator=(const cFlatHeader &) = delete;

    // Detaches first; fails with 26020 when no header is found, or with the
    // error of MSubclass::AttachMessage.
    bool Attach(QWidget *listView, MSubclass::Error *error = nullptr);
    void Detach();
    // Thin (1-pixel) border in place of the sunken client edge.
    void ThinBorder(QWidget *listView, bool thin);

    QHeaderView *header() const { return m_header; }

    SubclassResponse MsgResponse() const override { return RespondAfterOld; }
    void setMsgResponse(SubclassResponse) override {}
    bool WindowProc(QObject *window, QEvent *event) override;

    // The flat frames over a header already painted; pressedSection is the
    // logical index drawn pressed (-1: none).
    static void paintFlatFrames(QPainter &painter, const QHeaderView *header, int pressedSection);

private:
    QPointer<QHeaderView> m_header;
    QPointer<QWidget> m_surface; // the header's viewport, which gets the paint events
    int m_pressed = -1;
};
