// Renders the program's SVG icon as the PNG sizes of the hicolor theme, for
// desktops that do not draw SVG icons themselves.
// Usage: render_icon icon.svg output-folder name size...
// writes output-folder/<size>x<size>/apps/<name>.png.

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc < 5) {
        std::fprintf(stderr, "usage: %s icon.svg output-folder name size...\n", argv[0]);
        return 2;
    }
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    QSvgRenderer renderer(args.at(1));
    if (!renderer.isValid()) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    for (qsizetype i = 4; i < args.size(); ++i) {
        const int size = args.at(i).toInt();
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        renderer.render(&painter);
        painter.end();
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(args.at(2)).arg(size);
        const QString file = QStringLiteral("%1/%2.png").arg(folder, args.at(3));
        if (size <= 0 || !QDir().mkpath(folder) || !image.save(file)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
