#include "skin/Pictures.h"

#include "common/KeyColourRegion.h"

#include <QCoreApplication>
#include <QHash>
#include <QPainter>
#include <QSvgRenderer>

#include <array>

// The resource lives in this static library; without an explicit call the linker drops it.
static void initPictureResource()
{
    Q_INIT_RESOURCE(pictures);
}

namespace skin {
namespace {

struct ManifestEntry {
    const char *name;
    int width;
    int height;
    bool keyed;
    bool button; // four state pictures: <name>_normal, _hover, _pressed, _disabled
};

// Sizes are those of the controls that show the pictures; the SVGs are drawn to them.
constexpr ManifestEntry Manifest[] = {
    {"main_background", 897, 561, true, false},
    {"intro", 847, 260, false, false},
    {"splash", 400, 220, false, false},
    {"process_background", 510, 265, true, false},
    {"about_background", 432, 236, true, false},
    {"notice_background", 518, 299, true, false},
    {"add_progress_panel", 348, 71, false, false},
    {"progress_fill", 271, 6, false, false},
    {"check_marks", 28, 14, false, false},
    {"scroll_track", 19, 146, false, false},
    {"scroll_thumb", 17, 20, false, false},
    {"range_track", 154, 16, false, false},
    {"range_fill", 134, 8, false, false},
    {"range_left", 10, 14, false, true},
    {"range_right", 10, 14, false, true},
    {"add", 89, 38, false, true},
    {"remove", 89, 38, false, true},
    {"clear", 89, 38, false, true},
    {"share", 95, 40, false, true},
    {"about", 22, 22, false, true},
    {"home", 22, 22, false, true},
    {"mail", 22, 22, false, true},
    {"minimize", 28, 19, false, true},
    {"close", 45, 19, false, true},
    {"notice_close", 46, 20, false, true},
    {"browse", 62, 25, false, true},
    {"snapshot", 47, 26, false, true},
    {"start", 101, 100, false, true},
    {"stop", 87, 86, false, true},
    {"button", 80, 27, false, true},
    {"combo_button", 18, 18, false, true},
    {"spin_up", 16, 9, false, true},
    {"spin_down", 16, 9, false, true},
    {"slider_thumb", 11, 18, false, true},
    {"device_ipod", 112, 50, false, true},
    {"device_music", 112, 50, false, true},
    {"device_iphone", 112, 50, false, true},
    {"device_tv", 112, 50, false, true},
};

constexpr std::array<const char *, 4> StateSuffixes{{"_normal", "_hover", "_pressed", "_disabled"}};

struct Resolved {
    QSize size;
    bool keyed = false;
};

const QHash<QString, Resolved> &resolvedManifest()
{
    static const QHash<QString, Resolved> table = [] {
        QHash<QString, Resolved> t;
        for (const ManifestEntry &e : Manifest) {
            const Resolved r{QSize(e.width, e.height), e.keyed};
            const QString base = QString::fromLatin1(e.name);
            if (!e.button) {
                t.insert(base, r);
                continue;
            }
            for (const char *suffix : StateSuffixes)
                t.insert(base + QLatin1String(suffix), r);
        }
        return t;
    }();
    return table;
}

QImage renderSvg(const QString &name, QSize size)
{
    static const bool resourceReady = (initPictureResource(), true);
    Q_UNUSED(resourceReady);

    QSvgRenderer renderer(QStringLiteral(":/skin/%1.svg").arg(name));
    if (!renderer.isValid())
        return {};
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    painter.end();
    return image;
}

struct Caches {
    QHash<QString, QImage> rendered; // unkeyed; the plain and keyed forms derive from it
    QHash<QString, QImage> keyed;
    QHash<QString, QPixmap> pixmaps;
};

Caches &caches()
{
    static Caches c;
    // Pixmaps must not outlive the application object that made them.
    static const bool cleared = (qAddPostRoutine([] { c = Caches(); }), true);
    Q_UNUSED(cleared);
    return c;
}

QImage renderedPicture(const QString &name)
{
    QHash<QString, QImage> &cache = caches().rendered;
    const auto cached = cache.constFind(name);
    if (cached != cache.constEnd())
        return *cached;
    const QSize size = pictureSize(name);
    if (!size.isValid())
        return {};
    const QImage image = renderSvg(name, size);
    cache.insert(name, image);
    return image;
}

} // namespace

QStringList pictureNames()
{
    QStringList names = resolvedManifest().keys();
    names.sort();
    return names;
}

QSize pictureSize(const QString &name)
{
    const auto it = resolvedManifest().constFind(name);
    return it == resolvedManifest().constEnd() ? QSize() : it->size;
}

bool isKeyed(const QString &name)
{
    const auto it = resolvedManifest().constFind(name);
    return it != resolvedManifest().constEnd() && it->keyed;
}

QImage applyColourKey(const QImage &rendered)
{
    const QImage source = rendered.convertToFormat(QImage::Format_ARGB32);
    QImage keyed(source.size(), QImage::Format_RGB32);
    const QRgb almostKey = qRgb(254, 0, 255);
    for (int y = 0; y < source.height(); ++y) {
        const auto *in = reinterpret_cast<const QRgb *>(source.constScanLine(y));
        auto *out = reinterpret_cast<QRgb *>(keyed.scanLine(y));
        for (int x = 0; x < source.width(); ++x) {
            if (qAlpha(in[x]) < KeyAlphaThreshold) {
                out[x] = ShapeKeyColour;
                continue;
            }
            // Edge pixels keep the shape's own colour instead of blending toward the key.
            const QRgb opaque = qRgb(qRed(in[x]), qGreen(in[x]), qBlue(in[x]));
            out[x] = opaque == (ShapeKeyColour | 0xFF000000u) ? almostKey : opaque;
        }
    }
    return keyed;
}

QImage keyedPicture(const QString &name)
{
    QHash<QString, QImage> &cache = caches().keyed;
    const auto cached = cache.constFind(name);
    if (cached != cache.constEnd())
        return *cached;
    const QImage rendered = renderedPicture(name);
    if (rendered.isNull())
        return {};
    const QImage keyed = applyColourKey(rendered);
    cache.insert(name, keyed);
    return keyed;
}

QImage pictureImage(const QString &name)
{
    return isKeyed(name) ? keyedPicture(name) : renderedPicture(name);
}

QPixmap picture(const QString &name)
{
    QHash<QString, QPixmap> &cache = caches().pixmaps;
    const auto cached = cache.constFind(name);
    if (cached != cache.constEnd())
        return *cached;
    const QImage image = pictureImage(name);
    if (image.isNull())
        return {};
    const QPixmap pixmap = QPixmap::fromImage(image);
    cache.insert(name, pixmap);
    return pixmap;
}

QString buttonPictureName(const QString &button, ButtonState state)
{
    return button + QLatin1String(StateSuffixes[static_cast<std::size_t>(state)]);
}

ButtonPictures buttonPictures(const QString &button)
{
    return {picture(buttonPictureName(button, ButtonState::Normal)),
            picture(buttonPictureName(button, ButtonState::Hover)),
            picture(buttonPictureName(button, ButtonState::Pressed)),
            picture(buttonPictureName(button, ButtonState::Disabled))};
}

} // namespace skin
