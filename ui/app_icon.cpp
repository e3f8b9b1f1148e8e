#include "ui/app_icon.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

// Resources of a static library have to be registered by hand.
static void InitUiResources()
{
    Q_INIT_RESOURCE(ui);
}

namespace quorvane {

QIcon AppIcon()
{
    InitUiResources();
    QSvgRenderer renderer(QStringLiteral(":/quorvane/quorvane.svg"));
    QIcon icon;
    // Rendered here rather than through the SVG icon plug-in, which may be missing.
    for (int size : {16, 22, 24, 32, 48, 64, 128}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        renderer.render(&painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

} // namespace quorvane
