#include "controls/ToolBarIcons.h"

#include <QStringList>

static void initToolBarResources()
{
    Q_INIT_RESOURCE(ToolBarIcons);
}

namespace ToolBarIcons {

Draw::ImageList buttons()
{
    // Decoded and scaled once: every window with a toolbar asks on opening.
    static const Draw::ImageList list = [] {
        initToolBarResources();
        const QString keys[] = {
            QStringLiteral("new"),     QStringLiteral("del"),       QStringLiteral("edit"),
            QStringLiteral("goto"),    QStringLiteral("import"),    QStringLiteral("print"),
            QStringLiteral("search"),  QStringLiteral("sort"),      QStringLiteral("move"),
            QStringLiteral("net"),     QStringLiteral("porzadkuj"), QStringLiteral("raporty"),
            QStringLiteral("szablony")};
        Draw::ImageList images;
        for (const QString &key : keys) {
            QImage picture(QStringLiteral(":/toolbar/%1.png").arg(key));
            if (!picture.isNull())
                picture = picture.convertToFormat(QImage::Format_ARGB32)
                              .scaled(20, 20, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            images.add(picture, key);
        }
        return images;
    }();
    return list;
}

} // namespace ToolBarIcons
