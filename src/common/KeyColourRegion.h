#pragma once

#include <QImage>
#include <QRegion>

// The region of the picture's pixels whose colour equals the key colour (alpha ignored);
// a key colour of 0 means the colour of the top-left pixel. Built from one rectangle per
// run of key pixels in a row, so a window-sized picture takes milliseconds.
QRegion KeyColourRegion(const QImage &picture, QRgb keyColour);

// Magenta, the key colour of every shaped window.
constexpr QRgb ShapeKeyColour = 0xFFFF00FF;

// A shaped window's region: its picture's rectangle without the magenta pixels.
QRegion ShapeRegion(const QImage &picture);
