#pragma once

#include <QString>

// What the progress window shows, computed without a window.

// Full length of the progress bar in pixels.
constexpr int ProgressBarLength = 271;

struct ProgressShown {
    int barWidth = 0; // 0 .. ProgressBarLength
    int percent = 0;  // the number beside the bar
};

// From seconds done against the clip's range length (the scale). While a clip runs the bar
// never fills and the number never reaches 100: a time at or past the scale counts as one
// second short of it.
ProgressShown ProgressByTime(int seconds, int scale);

// From a percentage; only the end of a job shows 100.
ProgressShown ProgressByPercent(int percent);

// The serial base from which a list of entryCount output names on the device hits no file
// that is already in folder, and no name of the list twice (numbers wrap at 10000, and
// multiples of 10000 share "8888" with 8888 itself). serialBase itself when it is free,
// or when no base of a whole cycle of numbers is.
int FreeSerialBase(int serialBase, int entryCount, int deviceType, const QString &folder);
