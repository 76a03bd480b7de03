#pragma once

// A window driven by the mouse where things are drawn. Header-only, for the
// tests that link Qt Widgets.

#include <QHeaderView>
#include <QTest>
#include <QTreeView>

namespace Mouse {

// A click on the middle of a header section of the list, as to sort by it.
inline void clickHeader(QTreeView *list, int section)
{
    QHeaderView *header = list->header();
    QTest::mouseClick(
        header->viewport(), Qt::LeftButton, {},
        QPoint(header->sectionViewportPosition(section) + header->sectionSize(section) / 2,
               header->height() / 2));
}

} // namespace Mouse
