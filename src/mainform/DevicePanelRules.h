#pragma once

#include <QString>
#include <QStringList>

// The device panel's rules that need no window.

// Every device but iPod music shows the video-only row (resolution, frame rate, video bit rate).
bool ShowsVideoControls(int deviceType);

// What the output folder field shows: the folder the files of the device go to.
QString OutputFolderText(const QString &outputFolder, int deviceType);

// The value beside the volume track bar: "+ 4 db." for position 4.
QString VolumeLabelText(int position);

// The track bar's range, taken from the number of the volume list's first and last item. The
// definition file must not leave the list empty; if it does the range is 0 .. 0.
struct VolumeRange {
    int minimum = 0;
    int maximum = 0;
};
VolumeRange VolumeRangeOf(const QStringList &volumeItems);

// The position to select in a list of `count` items: the position itself when the list has
// it, otherwise -1 (nothing selected).
int ListPosition(int position, int count);
