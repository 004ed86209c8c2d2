#include "common/KeyColourRegion.h"
#include "skin/Pictures.h"

#include <QSvgRenderer>
#include <QtTest>

#include <cstdlib>

namespace {

struct Expected {
    const char *name;
    QSize size;
    bool button;
};

// The sizes of the controls that show the pictures.
const Expected ExpectedPictures[] = {
    {"main_background", {897, 561}, false},
    {"intro", {847, 260}, false},
    {"splash", {400, 220}, false},
    {"process_background", {510, 265}, false},
    {"about_background", {432, 236}, false},
    {"notice_background", {518, 299}, false},
    {"add_progress_panel", {348, 71}, false},
    {"progress_fill", {271, 6}, false},
    {"check_marks", {28, 14}, false},
    {"scroll_track", {19, 146}, false},
    {"scroll_thumb", {17, 20}, false},
    {"range_track", {154, 16}, false},
    {"range_fill", {134, 8}, false},
    {"range_left", {10, 14}, true},
    {"range_right", {10, 14}, true},
    {"add", {89, 38}, true},
    {"remove", {89, 38}, true},
    {"clear", {89, 38}, true},
    {"share", {95, 40}, true},
    {"about", {22, 22}, true},
    {"home", {22, 22}, true},
    {"mail", {22, 22}, true},
    {"minimize", {28, 19}, true},
    {"close", {45, 19}, true},
    {"notice_close", {46, 20}, true},
    {"browse", {62, 25}, true},
    {"snapshot", {47, 26}, true},
    {"start", {101, 100}, true},
    {"stop", {87, 86}, true},
    {"button", {80, 27}, true},
    {"combo_button", {18, 18}, true},
    {"spin_up", {16, 9}, true},
    {"spin_down", {16, 9}, true},
    {"slider_thumb", {11, 18}, true},
    {"device_ipod", {112, 50}, true},
    {"device_music", {112, 50}, true},
    {"device_iphone", {112, 50}, true},
    {"device_tv", {112, 50}, true},
};

const char *const KeyedWindows[] = {"main_background", "process_background", "about_background",
                                    "notice_background"};

const skin::ButtonState AllStates[] = {skin::ButtonState::Normal, skin::ButtonState::Hover,
                                       skin::ButtonState::Pressed, skin::ButtonState::Disabled};

QStringList expectedNames()
{
    QStringList names;
    for (const Expected &e : ExpectedPictures) {
        if (!e.button) {
            names << QString::fromLatin1(e.name);
            continue;
        }
        for (skin::ButtonState state : AllStates)
            names << skin::buttonPictureName(QString::fromLatin1(e.name), state);
    }
    names.sort();
    return names;
}

// A colour a viewer would take for the key: what an edge blended toward magenta looks like.
bool nearlyMagenta(QRgb c)
{
    return std::abs(qRed(c) - 255) <= 64 && qGreen(c) <= 64 && std::abs(qBlue(c) - 255) <= 64;
}

} // namespace

class TestPictures : public QObject {
    Q_OBJECT

private slots:
    void manifestHoldsExactlyTheExpectedNames()
    {
        QCOMPARE(skin::pictureNames(), expectedNames());
    }

    void rendersAtDesignSize_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("size");
        for (const Expected &e : ExpectedPictures) {
            const QString base = QString::fromLatin1(e.name);
            if (!e.button) {
                QTest::newRow(e.name) << base << e.size;
                continue;
            }
            for (skin::ButtonState state : AllStates) {
                const QString name = skin::buttonPictureName(base, state);
                QTest::newRow(qPrintable(name)) << name << e.size;
            }
        }
    }
    void rendersAtDesignSize()
    {
        QFETCH(QString, name);
        QFETCH(QSize, size);
        QCOMPARE(skin::pictureSize(name), size);
        const QImage image = skin::pictureImage(name);
        QVERIFY(!image.isNull());
        QCOMPARE(image.size(), size);
        QCOMPARE(skin::picture(name).size(), size);
        // The drawing itself is made for that size, so nothing is scaled on the way.
        QCOMPARE(QSvgRenderer(QStringLiteral(":/skin/%1.svg").arg(name)).defaultSize(), size);

        bool visible = false;
        const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < argb.height() && !visible; ++y)
            for (int x = 0; x < argb.width() && !visible; ++x)
                visible = qAlpha(argb.pixel(x, y)) > 0 && argb.pixel(x, y) != ShapeKeyColour;
        QVERIFY2(visible, "the picture draws nothing");
    }

    void unknownNameGivesNothing()
    {
        QVERIFY(!skin::pictureSize(QStringLiteral("no_such_picture")).isValid());
        QVERIFY(skin::pictureImage(QStringLiteral("no_such_picture")).isNull());
        QVERIFY(skin::picture(QStringLiteral("no_such_picture")).isNull());
        QVERIFY(skin::keyedPicture(QStringLiteral("no_such_picture")).isNull());
    }

    void buttonStatesLookDifferent_data()
    {
        QTest::addColumn<QString>("button");
        for (const Expected &e : ExpectedPictures) {
            if (e.button)
                QTest::newRow(e.name) << QString::fromLatin1(e.name);
        }
    }
    void buttonStatesLookDifferent()
    {
        QFETCH(QString, button);
        const skin::ButtonPictures p = skin::buttonPictures(button);
        const QImage states[] = {p.normal.toImage(), p.hover.toImage(), p.pressed.toImage(),
                                 p.disabled.toImage()};
        for (int i = 0; i < 4; ++i) {
            QVERIFY(!states[i].isNull());
            for (int j = i + 1; j < 4; ++j)
                QVERIFY2(states[i] != states[j], qPrintable(QStringLiteral("states %1 and %2 are the same").arg(i).arg(j)));
        }
    }

    void checkMarkHalvesDiffer()
    {
        const QImage marks = skin::pictureImage(QStringLiteral("check_marks"));
        QVERIFY(marks.copy(0, 0, 14, 14) != marks.copy(14, 0, 14, 14));
    }

    void keyedWindows_data()
    {
        QTest::addColumn<QString>("name");
        for (const char *name : KeyedWindows)
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void keyedWindows()
    {
        QFETCH(QString, name);
        QVERIFY(skin::isKeyed(name));
        const QImage image = skin::keyedPicture(name);
        QCOMPARE(image, skin::pictureImage(name));
        const int w = image.width();
        const int h = image.height();
        // Rounded outline: the corners show the desktop, the middle does not.
        for (const QPoint corner : {QPoint(0, 0), QPoint(w - 1, 0), QPoint(0, h - 1), QPoint(w - 1, h - 1)})
            QCOMPARE(image.pixel(corner), ShapeKeyColour);
        QVERIFY(image.pixel(w / 2, h / 2) != ShapeKeyColour);
        QVERIFY(image.pixel(w / 2, 0) != ShapeKeyColour);

        int keyPixels = 0;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const QRgb c = image.pixel(x, y);
                QCOMPARE(qAlpha(c), 255);
                if (c == ShapeKeyColour) {
                    ++keyPixels;
                    continue;
                }
                if (nearlyMagenta(c))
                    QFAIL(qPrintable(QStringLiteral("pixel %1,%2 is nearly magenta: %3")
                                         .arg(x).arg(y).arg(QColor(c).name())));
            }
        }
        // Corners only: the window keeps its shape, not just its bounding box.
        QVERIFY(keyPixels > 4);
        QVERIFY(keyPixels < w * h / 100);

        const QRegion shape = ShapeRegion(image);
        QCOMPARE(shape.boundingRect(), QRect(0, 0, w, h));
        QVERIFY(!shape.contains(QPoint(0, 0)));
        QVERIFY(shape.contains(QPoint(w / 2, h / 2)));
    }

    void plainPicturesAreNotKeyed()
    {
        QVERIFY(!skin::isKeyed(QStringLiteral("splash")));
        QVERIFY(!skin::isKeyed(QStringLiteral("add_normal")));
        // Transparent corners, so the picture sits on any background.
        QCOMPARE(qAlpha(skin::pictureImage(QStringLiteral("start_normal")).pixel(0, 0)), 0);
    }

    void colourKeyRule_data()
    {
        QTest::addColumn<QRgb>("premultiplied");
        QTest::addColumn<QRgb>("keyed");
        QTest::newRow("transparent") << qRgba(0, 0, 0, 0) << ShapeKeyColour;
        QTest::newRow("below threshold") << qPremultiply(qRgba(20, 40, 60, 127)) << ShapeKeyColour;
        QTest::newRow("at threshold keeps its own colour")
            << qPremultiply(qRgba(200, 40, 60, 128)) << qRgb(200, 40, 60);
        QTest::newRow("opaque") << qRgb(29, 36, 51) << qRgb(29, 36, 51);
        QTest::newRow("opaque magenta is moved off the key") << qRgb(255, 0, 255) << qRgb(254, 0, 255);
    }
    void colourKeyRule()
    {
        QFETCH(QRgb, premultiplied);
        QFETCH(QRgb, keyed);
        QImage in(1, 1, QImage::Format_ARGB32_Premultiplied);
        in.setPixel(0, 0, premultiplied);
        const QImage out = skin::applyColourKey(in);
        const QRgb got = out.pixel(0, 0);
        // Un-premultiplying rounds; one step either way is the same colour.
        QVERIFY2(std::abs(qRed(got) - qRed(keyed)) <= 1 && std::abs(qGreen(got) - qGreen(keyed)) <= 1
                     && std::abs(qBlue(got) - qBlue(keyed)) <= 1 && qAlpha(got) == 255,
                 qPrintable(QColor(got).name()));
        QCOMPARE(got == ShapeKeyColour, keyed == ShapeKeyColour);
    }
};

QTEST_MAIN(TestPictures)
#include "tst_pictures.moc"
