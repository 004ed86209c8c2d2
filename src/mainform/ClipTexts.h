#pragma once

#include <QString>

// The clip list's rules that need no window: the texts of a row, the time clamp, output
// names and the scroll offset.

// Longest clip time a row accepts, in seconds (24 hours).
constexpr int MaxClipSeconds = 86400;
// Characters of the file name part of a row's name text.
constexpr int ClipNameWidth = 30;

// Row geometry in the moving panel: 17 pixels of row and one of gap.
constexpr int ClipRowWidth = 792;
constexpr int ClipRowHeight = 17;
constexpr int ClipRowPitch = 18;
constexpr int VisibleClipRows = 8;

// The scroll thumb's top runs over these 122 steps.
constexpr int ThumbTopMin = 2;
constexpr int ThumbTopMax = 124;

// A time outside 0 .. 86400 seconds becomes 0.
int ClampClipTime(int seconds);

// Six blanks and the file name, padded with blanks or cut to 30 characters.
QString ClipNameText(const QString &fileName);
QString VideoLengthText(int durationSeconds);
QString BeginningText(int startSeconds);
QString EndingText(int endSeconds, int durationSeconds);

// What a row takes from the probed picture: its size text, width over height, and the
// display shape index (0 4:3, 1 16:9, 2 square, 3 2.21:1, 4 the picture's own).
struct ClipPictureInfo {
    QString sizeText; // "Video Size : " and "<w>X<h>" or "Unknown"
    double pictureAspect = 1.0;
    int aspectIndex = 4;
};
ClipPictureInfo PictureInfoFor(int aspectCode, int width, int height);

// The output file name of an output number on a device: ".mp3" for the iPod music device
// (type 1), ".mp4" otherwise.
QString OutputNameFor(int number, int deviceType);

// The first row shown for a list of count rows with the thumb at thumbTop.
int ClipScrollOffset(int count, int thumbTop);
int ClampThumbTop(int top);
