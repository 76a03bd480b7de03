#pragma once

#include <QString>
#include <QStyledItemDelegate>

// A text read from a file may be hundreds of millions of characters long, and
// laying it out whole takes minutes and gigabytes. The windows therefore lay
// out only the part of a text that they can show; the text itself stays whole
// wherever it is kept (documents, grid cells, list rows), so nothing is lost.
namespace ShownText {

// More than one grid cell or list row can show on any screen.
inline constexpr qsizetype Limit = 8192;

// The first `limit` characters of text (one fewer where a character pair
// would be split); text itself when it is no longer.
QString cut(const QString &text, qsizetype limit = Limit);

// Item views: each row shows the cut of its text, its data stays whole.
class Delegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;
};

} // namespace ShownText
