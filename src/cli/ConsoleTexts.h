#pragma once

#include <QString>

// What orvo-convert writes, and the names of its output files. No console is touched here.
namespace cli {

// The output file for a source: the source's name without its extension, and ".mp4" (".mp3"
// for iPod music), in folder (which ends with '/'). A name that is taken, as a file, a
// folder or a link, is never used: "Name (2).mp4", "Name (3).mp4", ... follow.
QString FreeOutputPath(const QString &folder, const QString &sourcePath, int deviceType);

// One reading of the running conversion.
struct ProgressSample {
    int secondsDone = 0;     // output seconds written
    int startSeconds = 0;    // where the range starts in the source
    int rangeSeconds = 0;    // the range's length; 0 when unknown
    int framesPerSecond = 0; // the engine's speed
    qint64 elapsedMs = 0;    // since the engine started
};

// The percentage shown while a file runs: never 100 before it ends.
int ProgressPercent(const ProgressSample &sample);
// Seconds left, estimated from the speed so far; -1 while there is nothing to go on.
int SecondsLeft(const ProgressSample &sample);

// The line that a terminal shows for a running file, at most `columns` characters:
// name, percent, bar, source time, frames per second and the time left.
QString ProgressLine(const QString &name, const ProgressSample &sample, int columns);

// The summary after the last file.
QString SummaryLine(int converted, int skipped, int failed, bool interrupted);

} // namespace cli
