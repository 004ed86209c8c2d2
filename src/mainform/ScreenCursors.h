#pragma once

#include <QCursor>
#include <QString>

// The program's own screen cursors, loaded once from the "Cursor/" folder of the program.
constexpr int crDragWE = 1001; // left-right drag, the range bar's handles
constexpr int crPress = 1002;  // the clip check marks

// Loads "DragWE.cur" and "Press.cur" from folder + "Cursor/". A missing or unreadable file
// leaves the arrow in its place.
void LoadScreenCursors(const QString &programFolder);

// The cursor registered under the number; the arrow for any other number.
QCursor ScreenCursor(int id);
