#pragma once

#include "options/OptionStore.h"
#include "process/JobArguments.h"

#include <QString>
#include <QStringList>

#include <cstdio>
#include <functional>

// The conversion of orvo-convert's files, one after another: the probe and the refusal rule,
// the job's engine arguments, the engine call on a thread of its own while this thread
// shows the progress and watches for a stop request.
namespace cli {

struct RunSettings {
    PanelValues panel;         // device, profile and parameter positions
    QString settingsPath;      // PfSetting.ini
    QString definitionPath;    // PfDef.dll
    QString optionsFolder;     // the program's output folder ("OutputFolder"), ends with '/'
    QString outputFolder;      // --output, ends with '/'; empty: the options folder's device sub-folder
    int start = -1;            // seconds; -1: from the beginning
    int end = -1;              // seconds; -1: to the end
    RefusedLists refused;
    int minDuration = -1;      // "MinDuration"
};

// Where the lines go. On a terminal the running file's line is redrawn in place.
struct Console {
    std::FILE *out = stdout;
    bool terminal = false;
    int columns = 80;
};

struct RunTotals {
    int converted = 0;
    int skipped = 0;
    int failed = 0;
    bool interrupted = false;
};

// stopRequested is polled while the files run; once it answers true the current conversion
// is stopped through the engine, its part is kept, and no further file is started.
RunTotals ConvertFiles(const QStringList &files, const RunSettings &settings, const Console &console,
                       const std::function<bool()> &stopRequested);

// 0 when every file was converted, 1 when one was skipped or failed, 130 after a stop.
int ExitStatus(const RunTotals &totals);

} // namespace cli
