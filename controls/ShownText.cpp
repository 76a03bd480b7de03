#include "controls/ShownText.h"

namespace ShownText {

QString cut(const QString &text, qsizetype limit)
{
    if (text.size() <= limit)
        return text;
    qsizetype size = std::max<qsizetype>(0, limit);
    if (size > 0 && text.at(size - 1).isHighSurrogate())
        --size;
    return text.left(size);
}

void Delegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (option->text.size() > Limit)
        option->text = cut(option->text);
}

} // namespace ShownText
