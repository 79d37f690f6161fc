// Renders an SVG icon as square PNG files for the desktop's icon theme:
//   nimbrel-iconrender SOURCE.svg OUTPUT_DIR SIZE...
// writes OUTPUT_DIR/<size>x<size>/apps/<name>.png for each size, <name> being the SVG's base name.
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QStringList>
#include <QSvgRenderer>

#include <cstdio>
#include <cstdlib>

namespace
{

int fail(const QString &message)
{
    std::fprintf(stderr, "nimbrel-iconrender: %s\n", qPrintable(message));
    return EXIT_FAILURE;
}

QImage render(QSvgRenderer &renderer, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(0, 0, size, size));
    return image;
}

// "32" gives ".../32x32/apps/nimbrel.png".
int writeSize(QSvgRenderer &renderer, const QString &outputDir, const QString &name, const QString &sizeText)
{
    bool number = false;
    const int size = sizeText.toInt(&number);
    if (!number || size < 1 || size > 1024)
        return fail(QStringLiteral("not an icon size: %1").arg(sizeText));
    const QString folder = QStringLiteral("%1/%2x%2/apps").arg(outputDir).arg(size);
    if (!QDir().mkpath(folder))
        return fail(QStringLiteral("cannot create %1").arg(folder));
    const QString file = QStringLiteral("%1/%2.png").arg(folder, name);
    if (!render(renderer, size).save(file, "PNG"))
        return fail(QStringLiteral("cannot write %1").arg(file));
    return EXIT_SUCCESS;
}

} // namespace

int main(int argc, char *argv[])
{
    // Rendering needs no display: the offscreen platform serves a build machine without one.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const QStringList arguments = QGuiApplication::arguments();
    if (arguments.size() < 4)
        return fail(QStringLiteral("usage: nimbrel-iconrender SOURCE.svg OUTPUT_DIR SIZE..."));
    QSvgRenderer renderer(arguments[1]);
    if (!renderer.isValid())
        return fail(QStringLiteral("cannot read the SVG image %1").arg(arguments[1]));
    const QString name = QFileInfo(arguments[1]).completeBaseName();
    for (qsizetype i = 3; i < arguments.size(); ++i) {
        if (writeSize(renderer, arguments[2], name, arguments[i]) != EXIT_SUCCESS)
            return EXIT_FAILURE;
    }
    return EXIT_SUCCESS;
}
