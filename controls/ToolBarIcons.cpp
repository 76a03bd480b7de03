#include "controls/ToolBarIcons.h"

#include <QStringList>

static void initToolBarResources()
{
    Q_INIT_RESOURCE(ToolBarIcons);
}

namespace ToolBarIcons {

Draw::ImageList buttons()
{
    initToolBarResources();
    static const QStringList keys = {
        QStringLiteral("new"),     QStringLiteral("del"),       QStringLiteral("edit"),
        QStringLiteral("goto"),    QStringLiteral("import"),    QStringLiteral("print"),
        QStringLiteral("search"),  QStringLiteral("sort"),      QStringLiteral("move"),
        QStringLiteral("net"),     QStringLiteral("porzadkuj"), QStringLiteral("raporty"),
        QStringLiteral("szablony")};
    Draw::ImageList list;
    for (const QString &key : keys) {
        QImage picture(QStringLiteral(":/toolbar/%1.png").arg(key));
        if (!picture.isNull())
            picture = picture.convertToFormat(QImage::Format_ARGB32)
                          .scaled(20, 20, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        list.add(picture, key);
    }
    return list;
}

} // namespace ToolBarIcons
