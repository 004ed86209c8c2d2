// Time of the add command over a set of files: probe, thumbnail, MediaInfo and row for each,
// with the real engine from the bundle. Prints figures; passes or fails nothing.
//   adding_bench FILE...
#include "mainform/ClipListPanel.h"
#include "mainform/ClipProbe.h"
#include "mediainfo/TMediaInfoInterfa.h"
#include "mainform/TMainForm.h"
#include "options/Options.h"
#include "platform/Dialogs.h"
#include "platform/ProgramFolder.h"
#include "platform/Shell.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QMap>

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace {

// Answers the open dialog with the files and counts the messages instead of showing them.
class BenchDialogs : public platform::Dialogs {
public:
    QStringList files;
    int messages = 0;
    platform::MessageAnswer showMessage(platform::MessageKind, const QString &) override
    {
        ++messages;
        return platform::MessageAnswer::Ok;
    }
    QStringList openFileNames(QWidget *, const QString &, const QString &) override { return files; }
    QString saveFileName(QWidget *, const QString &, int &, const QString &) override { return {}; }
    QString browseFolder(QWidget *, const QString &, const QString &) override { return {}; }
};

double processorMs()
{
    return 1000.0 * static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values.at(values.size() / 2);
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList files = app.arguments().mid(1);
    if (files.isEmpty()) {
        std::fprintf(stderr, "usage: adding_bench FILE...\n");
        return 2;
    }
    platform::SetProgramFolder(QStringLiteral(ORVO_BUNDLE_DIR "/"));
    g_s_OutputFolder = QDir::tempPath() + QLatin1Char('/');
    BenchDialogs dialogs;
    dialogs.files = files;
    platform::SetDialogs(&dialogs);

    // The whole add command, as the user runs it, with the progress panel.
    {
        TMainForm form;
        form.show();
        QElapsedTimer wall;
        const double cpu = processorMs();
        wall.start();
        form.AddFiles();
        const double ms = static_cast<double>(wall.nsecsElapsed()) / 1e6;
        std::printf("add command: %lld files, %d refused, %.1f ms in all, %.1f ms per file (processor %.1f ms per file)\n",
                    static_cast<long long>(files.size()), dialogs.messages ? 1 : 0, ms, ms / files.size(),
                    (processorMs() - cpu) / files.size());
        std::printf("entries: %lld\n", static_cast<long long>(form.Clips.size()));
    }

    // Each file alone, grouped by its extension.
    TMainForm form;
    QMap<QString, QList<double>> byKind;
    QList<double> all;
    for (const QString &file : files) {
        QElapsedTimer wall;
        wall.start();
        form.ProbeAndAddClip(file);
        const double ms = static_cast<double>(wall.nsecsElapsed()) / 1e6;
        byKind[QFileInfo(file).suffix()].append(ms);
        all.append(ms);
    }
    // Where the time of one file goes: the engine (load, probe, thumbnail, release) and MediaInfo.
    QMap<QString, QList<double>> engineByKind, formatByKind;
    for (const QString &file : files) {
        QElapsedTimer wall;
        wall.start();
        ProbeClipFile(file);
        engineByKind[QFileInfo(file).suffix()].append(static_cast<double>(wall.nsecsElapsed()) / 1e6);
        wall.restart();
        TMediaInfo info;
        TMediaInfoInterfa().ReadFormat(file, info);
        formatByKind[QFileInfo(file).suffix()].append(static_cast<double>(wall.nsecsElapsed()) / 1e6);
    }
    for (auto it = byKind.cbegin(); it != byKind.cend(); ++it)
        std::printf("  %-5s %2lld files, median %.1f ms per file (engine %.1f ms, MediaInfo %.1f ms)\n",
                    qPrintable(it.key()), static_cast<long long>(it.value().size()), median(it.value()),
                    median(engineByKind.value(it.key())), median(formatByKind.value(it.key())));
    std::printf("per file: median %.1f ms, slowest %.1f ms\n", median(all), *std::max_element(all.cbegin(), all.cend()));
    platform::SetDialogs(nullptr);
    return 0;
}
