#include "Converter.h"

#include "ConsoleTexts.h"
#include "common/DeviceType.h"
#include "common/DisplayAspect.h"
#include "common/TextHelpers.h"
#include "engine/EngineBinding.h"
#include "mediainfo/TMediaInfoInterfa.h"
#include "options/RefusedKinds.h"
#include "process/EngineCall.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstring>
#include <thread>
#include <vector>

#include <pthread.h>

namespace cli {

namespace {

// How often the engine is asked how far it is, and how often a terminal line is redrawn.
constexpr auto PollStep = std::chrono::milliseconds(100);
constexpr qint64 RedrawMs = 500;

void write(const Console &console, const QString &text)
{
    std::fputs(text.toUtf8().constData(), console.out);
    std::fflush(console.out);
}

// A finished file's line; on a terminal it replaces the progress line.
void fileLine(const Console &console, const QString &text)
{
    write(console, (console.terminal ? QStringLiteral("\r\x1b[K") : QString()) + text + QLatin1Char('\n'));
}

struct Probe {
    bool engineLoaded = false;
    bool readable = false;
    KrodecProbeInfo record{};
};

// The engine's probe of one file, as the window's add command makes it: the library is
// loaded for this call alone.
Probe ProbeFile(const QString &path)
{
    Probe probe;
    engine::EngineLibrary library;
    engine::ProbeFunctions functions;
    if (!library.Load(functions))
        return probe;
    probe.engineLoaded = true;
    probe.readable = engine::ProbeFileInfo(functions, path.toUtf8().toStdString(), &probe.record) != -1;
    return probe;
}

// Why the options refuse a readable file; empty when they do not.
QString RefusalReason(const QString &path, const QString &format, int width, const RefusedLists &refused)
{
    if (refused.extensions.contains(ClipExtension(path), Qt::CaseInsensitive))
        return QStringLiteral("its extension is listed under ExtName in Option.ini");
    if (refused.formats.contains(format, Qt::CaseInsensitive))
        return QStringLiteral("its format \"%1\" is listed under CodecName in Option.ini").arg(format);
    if (IsTooWide(width, refused.maxWidth))
        return QStringLiteral("its picture is %1 pixels wide; pictures wider than %2 pixels are skipped: "
                              "set MaxWidth=0 in Option.ini to convert them")
            .arg(width)
            .arg(refused.maxWidth);
    return {};
}

// The engine call on a thread that never takes the stop signal: the signal goes to the
// thread that watches for it, and the engine's reads and writes are never interrupted.
class EngineRun {
public:
    EngineRun(const engine::ConversionFunctions &functions, int deviceType, QStringList texts)
    {
        sigset_t blocked;
        sigset_t previous;
        sigemptyset(&blocked);
        sigaddset(&blocked, SIGINT);
        sigaddset(&blocked, SIGTERM);
        pthread_sigmask(SIG_BLOCK, &blocked, &previous);
        m_thread = std::thread([this, functions, deviceType, texts = std::move(texts)] {
            m_result = CallConversion(functions, nullptr, deviceType, texts);
            m_done = true;
        });
        pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    }
    ~EngineRun()
    {
        if (m_thread.joinable())
            m_thread.join();
    }
    EngineRun(const EngineRun &) = delete;
    EngineRun &operator=(const EngineRun &) = delete;

    bool done() const { return m_done; }
    int result()
    {
        m_thread.join();
        return m_result;
    }

private:
    std::thread m_thread;
    std::atomic<bool> m_done{false};
    int m_result = -1;
};

enum class Outcome { Converted, Skipped, Failed, Stopped };

struct FileJob {
    const RunSettings &settings;
    const JobArguments &job;
    const Console &console;
    const std::function<bool()> &stopRequested;
};

Outcome ConvertFile(const FileJob &f, const QString &file)
{
    const RunSettings &s = f.settings;
    const int deviceType = s.panel.deviceType;
    const QString path = QFileInfo(file).absoluteFilePath();
    const QFileInfo source(path);
    if (!source.isFile()) {
        fileLine(f.console, QStringLiteral("skipped    %1: %2").arg(file, source.exists() ? QStringLiteral("not a file")
                                                                                            : QStringLiteral("no such file")));
        return Outcome::Skipped;
    }
    const Probe probe = ProbeFile(path);
    if (!probe.engineLoaded) {
        fileLine(f.console, QStringLiteral("failed     %1: the conversion engine could not be loaded").arg(file));
        return Outcome::Failed;
    }
    if (!probe.readable) {
        fileLine(f.console, QStringLiteral("skipped    %1: the engine cannot read it").arg(file));
        return Outcome::Skipped;
    }
    TMediaInfo mediaInfo;
    TMediaInfoInterfa().ReadFormat(path, mediaInfo);
    const QString refusal = RefusalReason(path, mediaInfo.GeneralFormat, probe.record.width, s.refused);
    if (!refusal.isEmpty()) {
        fileLine(f.console, QStringLiteral("skipped    %1: %2").arg(file, refusal));
        return Outcome::Skipped;
    }

    const int duration = std::max(probe.record.seconds, 0);
    const int start = std::max(s.start, 0);
    if (s.start > 0 && start >= duration) {
        fileLine(f.console, QStringLiteral("skipped    %1: --start %2 is past its end (%3)")
                                .arg(file, TimeText(start), TimeText(duration)));
        return Outcome::Skipped;
    }
    ClipValues clip;
    clip.filePath = path;
    clip.duration = duration;
    clip.startTime = start;
    clip.endTime = s.end < 0 ? duration : std::min(s.end, duration);
    clip.width = probe.record.width;
    clip.height = probe.record.height;
    clip.aspectIndex = AspectIndexOfCode(probe.record.aspectCode);
    clip.useDisplayAspect = probe.record.displayAspectFlag == 0;
    const QString destination = FreeOutputPath(f.job.s_OutputDir, path, deviceType);
    clip.outputName = QFileInfo(destination).fileName();
    ClipArguments arguments = PrepareClipArguments(clip, f.job, deviceType, s.minDuration);
    // The file's name is its title; the window's output number has no place here.
    arguments.s_Title = SourceTitle(path);

    if (f.stopRequested()) {
        fileLine(f.console, QStringLiteral("stopped    %1: not started").arg(file));
        return Outcome::Stopped;
    }
    engine::EngineLibrary library;
    engine::ConversionFunctions functions;
    if (!library.Load(functions)) {
        fileLine(f.console, QStringLiteral("failed     %1: the conversion engine could not be loaded").arg(file));
        return Outcome::Failed;
    }
    ProgressSample sample;
    sample.startSeconds = start;
    sample.rangeSeconds = arguments.i_RangeLength;
    const QString name = QFileInfo(file).fileName();
    QElapsedTimer elapsed;
    elapsed.start();
    qint64 drawn = -RedrawMs;
    bool stopped = false;
    EngineRun run(functions, deviceType, ConversionTexts(f.job, arguments, deviceType));
    while (!run.done()) {
        std::this_thread::sleep_for(PollStep);
        if (!stopped && f.stopRequested()) {
            stopped = true;
            functions.StopConvert();
        }
        if (f.console.terminal && elapsed.elapsed() - drawn >= RedrawMs && !run.done()) {
            std::int32_t info[3] = {0, 0, 0};
            functions.Get_Info(info);
            sample.secondsDone = info[0];
            sample.framesPerSecond = info[1];
            sample.elapsedMs = elapsed.elapsed();
            drawn = sample.elapsedMs;
            write(f.console, QStringLiteral("\r") + ProgressLine(name, sample, f.console.columns) + QStringLiteral("\x1b[K"));
        }
    }
    const int result = run.result();
    std::int32_t info[3] = {0, 0, 0};
    functions.Get_Info(info);
    library.Release();

    const bool written = QFileInfo::exists(destination);
    if (stopped) {
        fileLine(f.console, written ? QStringLiteral("stopped    %1 -> %2 (the part up to %3 is kept)")
                                          .arg(file, destination, TimeText(start + std::max(info[0], 0)))
                                    : QStringLiteral("stopped    %1: nothing was written").arg(file));
        return Outcome::Stopped;
    }
    if (result != 0 || !written) {
        fileLine(f.console, QStringLiteral("failed     %1: the engine could not convert it").arg(file));
        return Outcome::Failed;
    }
    fileLine(f.console, QStringLiteral("converted  %1 -> %2 (%3 in %4 s)")
                            .arg(file, destination, TimeText(arguments.i_RangeLength))
                            .arg(elapsed.elapsed() / 1000.0, 0, 'f', 1));
    return Outcome::Converted;
}

} // namespace

RunTotals ConvertFiles(const QStringList &files, const RunSettings &settings, const Console &console,
                       const std::function<bool()> &stopRequested)
{
    RunTotals totals;
    const platform::IniFile profileSettings(settings.settingsPath);
    const platform::IniFile definition(settings.definitionPath);
    JobArguments job = PrepareJobArguments(settings.panel, settings.optionsFolder, profileSettings, definition);
    if (!settings.outputFolder.isEmpty())
        job.s_OutputDir = settings.outputFolder;
    if (!QDir().mkpath(job.s_OutputDir)) {
        std::fprintf(stderr, "orvo-convert: the output folder %s cannot be created\n", job.s_OutputDir.toUtf8().constData());
        totals.failed = static_cast<int>(files.size());
        return totals;
    }

    const FileJob fileJob{settings, job, console, stopRequested};
    for (const QString &file : files) {
        if (stopRequested()) {
            totals.interrupted = true;
            break;
        }
        switch (ConvertFile(fileJob, file)) {
        case Outcome::Converted:
            ++totals.converted;
            break;
        case Outcome::Skipped:
            ++totals.skipped;
            break;
        case Outcome::Failed:
            ++totals.failed;
            break;
        case Outcome::Stopped:
            totals.interrupted = true;
            break;
        }
        if (totals.interrupted)
            break;
    }
    if (stopRequested())
        totals.interrupted = true;
    write(console, SummaryLine(totals.converted, totals.skipped, totals.failed, totals.interrupted) + QLatin1Char('\n'));
    return totals;
}

int ExitStatus(const RunTotals &totals)
{
    if (totals.interrupted)
        return 130;
    return totals.skipped > 0 || totals.failed > 0 ? 1 : 0;
}

} // namespace cli
