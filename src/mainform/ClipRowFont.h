#pragma once

#include <QFont>
#include <QList>
#include <QStringList>

// A text column of a clip row: where it begins, the room it has up to the next text (or to
// the visible end of the row), and the widest texts it shows.
struct ClipRowColumn {
    const char *label;
    int left;
    int room;
    QStringList widest;
};

// At least this much free room stays between a text and the next, the width of a blank.
constexpr int ClipColumnGap = 3;

const QList<ClipRowColumn> &ClipRowColumns();

// The font of a row's texts: the window's font when every column's texts fit their room,
// else the same family narrower, then smaller, whichever fits first. The fonts a machine has
// differ in width, so the choice is measured, not assumed.
QFont ClipRowFont();
