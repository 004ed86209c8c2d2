#pragma once

#include <QString>
#include <QStringList>

// The rule that marks a readable file as one that is not converted: its extension or
// container format is on a refused list of Option.ini, or its picture is too wide.

// The extension of a path's file name: the text after its last dot, empty without one.
QString ClipExtension(const QString &path);

// A clip of a refused extension or format (letter case ignored), or wider than maxWidth
// pixels; a maxWidth of 0 or less sets no width limit.
bool IsRefusedKind(const QString &path, const QString &format, int width, const QStringList &refusedExtensions,
                   const QStringList &refusedFormats, int maxWidth);

// Whether a picture of that width is over the limit (0 or less: no limit).
bool IsTooWide(int width, int maxWidth);
