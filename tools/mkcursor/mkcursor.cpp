// Renders a cursor drawing (SVG) into a 32 x 32 image and writes it as a Windows cursor file.
//   mkcursor <drawing.svg> <hot spot x> <hot spot y> <out.cur>

#include "skin/CursorFile.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char *argv[])
{
    // A build step: it never needs a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 5) {
        std::fprintf(stderr, "usage: mkcursor <drawing.svg> <hot x> <hot y> <out.cur>\n");
        return 2;
    }
    bool okX = false;
    bool okY = false;
    const QPoint hotSpot(args[2].toInt(&okX), args[3].toInt(&okY));
    if (!okX || !okY || hotSpot.x() < 0 || hotSpot.y() < 0 || hotSpot.x() > 31 || hotSpot.y() > 31) {
        std::fprintf(stderr, "mkcursor: the hot spot must lie inside 32 x 32\n");
        return 2;
    }
    QSvgRenderer drawing(args[1]);
    if (!drawing.isValid()) {
        std::fprintf(stderr, "mkcursor: cannot read %s\n", qPrintable(args[1]));
        return 1;
    }
    QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    drawing.render(&painter, QRectF(0, 0, 32, 32));
    painter.end();
    if (!skin::writeCursorFile(args[4], image, hotSpot)) {
        std::fprintf(stderr, "mkcursor: cannot write %s\n", qPrintable(args[4]));
        return 1;
    }
    return 0;
}
