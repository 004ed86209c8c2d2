#pragma once

#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QString>
#include <QStringList>

// The skin's pictures: SVG sources compiled into the resource ":/skin", rendered at their
// design size and cached. Call from the GUI thread only.
namespace skin {

// Pixels of a key-coloured picture below this alpha become the key colour; the others
// become fully opaque in their own colour.
constexpr int KeyAlphaThreshold = 128;

// The four pictures of an image button, in the suffix order of their resource names.
enum class ButtonState { Normal, Hover, Pressed, Disabled };

struct ButtonPictures {
    QPixmap normal;
    QPixmap hover;
    QPixmap pressed;
    QPixmap disabled;
};

// Every picture name of the manifest. A button named "add" contributes "add_normal",
// "add_hover", "add_pressed" and "add_disabled".
QStringList pictureNames();

// Design size of a picture; invalid for a name not in the manifest.
QSize pictureSize(const QString &name);

// True for the window backgrounds whose outline is cut from magenta pixels.
bool isKeyed(const QString &name);

// The picture at its design size: ARGB32 premultiplied, transparent outside its shape,
// or for a keyed picture the magenta-keyed image. Null for an unknown name.
QImage pictureImage(const QString &name);

// The same as a pixmap, for painting.
QPixmap picture(const QString &name);

// The picture with every pixel outside its shape exactly magenta and every other pixel
// opaque and never magenta (RGB32). Null for an unknown name.
QImage keyedPicture(const QString &name);

// Resource name of a button state, e.g. ("add", Hover) -> "add_hover".
QString buttonPictureName(const QString &button, ButtonState state);

// The four state pictures of an image button.
ButtonPictures buttonPictures(const QString &button);

// The key rule on its own: pixels with alpha below the threshold become magenta, the others
// take their un-premultiplied colour at full opacity; an opaque pixel that happens to be
// magenta is moved off the key by one step of red.
QImage applyColourKey(const QImage &rendered);

} // namespace skin
