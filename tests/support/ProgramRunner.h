#pragma once

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QSize>
#include <QTemporaryDir>
#include <QThread>

// Starts copies of the built program from a private copy of the bundle, with a fresh home
// folder, and finds its windows on the X display through xdotool.
class ProgramRunner {
public:
    ProgramRunner()
    {
        m_bundle = m_root.filePath(QStringLiteral("bundle"));
        m_home = m_root.filePath(QStringLiteral("home"));
        QDir().mkpath(m_home);
        copyFolder(QStringLiteral(ORVO_BUNDLE_DIR), m_bundle);
    }

    const QString &bundle() const { return m_bundle; }
    const QString &home() const { return m_home; }

    // A second bundle beside the first, for copies that must differ.
    QString copyBundle(const QString &name) const
    {
        const QString target = m_root.filePath(name);
        copyFolder(QStringLiteral(ORVO_BUNDLE_DIR), target);
        return target;
    }

    QProcess *start(const QString &bundle)
    {
        auto *process = new QProcess;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), m_home);
        // The program finds a running copy through a socket in the temporary folder: a folder
        // of this runner's own keeps tests that run at the same time apart.
        env.insert(QStringLiteral("TMPDIR"), m_root.path());
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        process->setProcessEnvironment(env);
        process->setWorkingDirectory(bundle);
        process->setProcessChannelMode(QProcess::MergedChannels);
        process->start(bundle + QStringLiteral("/orvo-video-converter"), {});
        process->waitForStarted();
        m_processes << process;
        return process;
    }

    ~ProgramRunner()
    {
        for (QProcess *p : m_processes) {
            if (p->state() != QProcess::NotRunning) {
                p->kill();
                p->waitForFinished(5000);
            }
            delete p;
        }
    }

    // Ids of the shown windows whose name matches the pattern exactly (optionally of one process).
    static QStringList windows(const QString &name, qint64 pid = 0)
    {
        QStringList args{QStringLiteral("search"), QStringLiteral("--onlyvisible")};
        if (pid)
            args << QStringLiteral("--all") << QStringLiteral("--pid") << QString::number(pid);
        args << QStringLiteral("--name") << QLatin1Char('^') + QRegularExpression::escape(name) + QLatin1Char('$');
        return output(QStringLiteral("xdotool"), args).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    // Waits for such a window; empty after the time-out.
    static QString waitForWindow(const QString &name, int timeoutMs = 20000, qint64 pid = 0)
    {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < timeoutMs) {
            const QStringList found = windows(name, pid);
            if (!found.isEmpty())
                return found.first();
            QThread::msleep(100);
        }
        return {};
    }

    // Every window with its process and name, for failure reports.
    static QString windowList()
    {
        QProcess x;
        x.start(QStringLiteral("sh"), {QStringLiteral("-c"),
            QStringLiteral("for w in $(xdotool search --name .); do "
                           "echo \"$w $(xdotool getwindowpid $w) $(xdotool getwindowname $w)\"; done")});
        x.waitForFinished(10000);
        return QString::fromLocal8Bit(x.readAllStandardOutput());
    }

    static void pressReturn(const QString &window)
    {
        xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
        xdotool({QStringLiteral("key"), QStringLiteral("Return")});
    }

    // A left click at x, y inside the window, through the X server's input like a real mouse.
    static void click(const QString &window, int x, int y)
    {
        xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), window, QStringLiteral("--sync"),
                 QString::number(x), QString::number(y)});
        xdotool({QStringLiteral("click"), QStringLiteral("1")});
    }

    // Types the text into the window's focused control, as from the keyboard.
    static void type(const QString &window, const QString &text)
    {
        xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
        xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("10"), text});
    }

    // Whether the window still exists and is mapped.
    static bool isShown(const QString &window)
    {
        return output(QStringLiteral("xwininfo"), {QStringLiteral("-id"), window}).contains(QLatin1String("IsViewable"));
    }

    // Waits until the window is closed or hidden; false after the time-out.
    static bool waitUntilGone(const QString &window, int timeoutMs = 20000)
    {
        QElapsedTimer timer;
        timer.start();
        while (isShown(window)) {
            if (timer.elapsed() > timeoutMs)
                return false;
            QThread::msleep(100);
        }
        return true;
    }

    // The mapped windows of one process.
    static QStringList shownWindows(qint64 pid)
    {
        return output(QStringLiteral("xdotool"), {QStringLiteral("search"), QStringLiteral("--all"),
                                                  QStringLiteral("--onlyvisible"), QStringLiteral("--pid"),
                                                  QString::number(pid), QStringLiteral("--name"), QStringLiteral(".*")})
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    // The window's size in pixels, empty when it is gone.
    static QSize windowSize(const QString &window)
    {
        const QString info = output(QStringLiteral("xwininfo"), {QStringLiteral("-id"), window});
        const QRegularExpression width(QStringLiteral("Width: (\\d+)")), height(QStringLiteral("Height: (\\d+)"));
        const auto w = width.match(info), h = height.match(info);
        if (!w.hasMatch() || !h.hasMatch())
            return {};
        return {w.captured(1).toInt(), h.captured(1).toInt()};
    }

private:
    // What the program printed, empty when it failed.
    static QString output(const QString &program, const QStringList &args)
    {
        QProcess x;
        x.start(program, args);
        x.waitForFinished(5000);
        return x.exitCode() == 0 ? QString::fromLocal8Bit(x.readAllStandardOutput()) : QString();
    }

    static void xdotool(const QStringList &args)
    {
        QProcess::execute(QStringLiteral("xdotool"), args);
    }

    static void copyFolder(const QString &from, const QString &to)
    {
        QDir().mkpath(to);
        const QDir source(from);
        for (const QFileInfo &entry : source.entryInfoList(QDir::NoDotAndDotDot | QDir::AllEntries)) {
            const QString target = to + QLatin1Char('/') + entry.fileName();
            if (entry.isDir())
                copyFolder(entry.filePath(), target);
            else if (entry.fileName() != QLatin1String("Option.ini"))
                QFile::copy(entry.filePath(), target);
        }
    }

    QTemporaryDir m_root;
    QString m_bundle;
    QString m_home;
    QList<QProcess *> m_processes;
};
