// orvo-convert: the window's conversions from a terminal or a script.
#include "CommandLine.h"
#include "Converter.h"
#include "ProfileChoice.h"
#include "common/DeviceType.h"
#include "options/OptionStore.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"
#include "profiles/ProfileDefinition.h"
#include "profiles/ProfileStore.h"

#include <QCoreApplication>
#include <QDir>

#include <csignal>
#include <cstdio>

#include <sys/ioctl.h>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t g_stopRequested = 0;

void RequestStop(int)
{
    g_stopRequested = 1;
}

// The first Ctrl+C stops the running file cleanly; the handler then gives way, so a second
// one ends the program at once.
void WatchForStop()
{
    struct sigaction action = {};
    action.sa_handler = RequestStop;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

void Print(std::FILE *stream, const QString &text)
{
    std::fputs(text.toUtf8().constData(), stream);
}

int UsageError(const QString &message)
{
    Print(stderr, QStringLiteral("orvo-convert: %1\n\n").arg(message) + cli::UsageText()
                      + QStringLiteral("Try 'orvo-convert --help' for more.\n"));
    return 2;
}

int TerminalColumns()
{
    winsize size = {};
    if (ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) == 0 && size.ws_col > 0)
        return size.ws_col;
    return 80;
}

QString WithSlash(const QString &folder)
{
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    const cli::ParsedCommandLine parsed = cli::ParseCommandLine(QCoreApplication::arguments().mid(1));
    if (!parsed.error.isEmpty())
        return UsageError(parsed.error);
    const cli::Request &request = parsed.request;
    if (request.help) {
        Print(stdout, cli::HelpText());
        return 0;
    }

    const QString folder = platform::ProgramFolder();
    const platform::IniFile settings(folder + profiles::ProfileFileName);
    const platform::IniFile definition(folder + profiles::DefinitionFileName);
    if (request.list) {
        Print(stdout, cli::DeviceListText(settings, definition));
        return 0;
    }

    const cli::ProfileChoice profile = cli::ChooseProfile(settings, definition, request.deviceType, request.profile);
    if (!profile.error.isEmpty())
        return UsageError(profile.error);
    cli::RunSettings run;
    run.panel = cli::ProfilePanelValues(settings, definition, request.deviceType, profile.position);
    if (request.volume) {
        const cli::VolumeSteps steps =
            cli::DeviceVolumeSteps(settings, definition, request.deviceType, profile.position);
        if (*request.volume < steps.lowest || *request.volume > steps.highest)
            return UsageError(QStringLiteral("--volume %1 is outside %2..%3 for this profile")
                                  .arg(*request.volume)
                                  .arg(steps.lowest)
                                  .arg(steps.highest));
        run.panel.volumePosition = *request.volume;
    }
    if (request.artist)
        run.panel.artistText = *request.artist;

    const QString optionFile = folder + QStringLiteral("Option.ini");
    const OptionValues options = LoadOptions(optionFile, platform::FixedRoots(), folder);
    run.settingsPath = folder + profiles::ProfileFileName;
    run.definitionPath = folder + profiles::DefinitionFileName;
    run.optionsFolder = options.outputFolder;
    if (!request.outputFolder.isEmpty())
        run.outputFolder = WithSlash(QDir(request.outputFolder).absolutePath());
    run.start = request.start;
    run.end = request.end;
    run.refused = ReadRefusedLists(optionFile);
    run.minDuration = options.minDuration;

    cli::Console console;
    console.terminal = isatty(STDOUT_FILENO) != 0;
    console.columns = TerminalColumns();
    WatchForStop();
    const cli::RunTotals totals =
        cli::ConvertFiles(request.files, run, console, [] { return g_stopRequested != 0; });
    return cli::ExitStatus(totals);
}
