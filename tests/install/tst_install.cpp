#include "ProgramRunner.h"

#include <QDirIterator>
#include <QFile>
#include <QSvgRenderer>
#include <QtTest>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

// The program as an administrator installs it (cmake --install into a staging folder) and as
// a user without write access to the program folder meets it.
class TestInstall : public QObject {
    Q_OBJECT

    // Under /tmp, so that the other user of the start test can reach it.
    QTemporaryDir m_root{QStringLiteral("/tmp/orvo-install-XXXXXX")};
    QString m_prefix;  // the staged /usr
    QString m_bundle;  // the staged program folder
    const QString m_desktopId = QStringLiteral("org.example.OrvoVideoConverter");
    const QString m_mainTitle = QStringLiteral("OrvoVideoConverter");
    static constexpr QPoint MainCloseButton{857, 25};

    struct Result {
        int code = -1;
        QString output;
    };
    static Result run(const QString &program, const QStringList &args,
                      const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment())
    {
        QProcess p;
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(program, args);
        if (!p.waitForFinished(120000))
            return {-1, program + QStringLiteral(" did not finish")};
        const QString out = QString::fromLocal8Bit(p.readAll());
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, out};
    }

    static QByteArray contents(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // The value of a "Key=value" line of a desktop entry or INI text.
    static QString value(const QByteArray &text, const QString &key)
    {
        const QRegularExpression line(QStringLiteral("(?:^|\\n)%1=([^\\r\\n]*)").arg(QRegularExpression::escape(key)));
        return line.match(QString::fromUtf8(text)).captured(1);
    }

    QStringList installedFiles() const
    {
        QStringList files;
        QDirIterator it(m_root.filePath(QStringLiteral("dest")), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            files << it.next();
        return files;
    }

    // The user who starts the installed program: as root, the system's "nobody"; otherwise
    // this user, for whom the program folder is made read-only.
    struct User {
        bool switched = false;
        uid_t uid = 0;
        gid_t gid = 0;
    };
    static User startUser()
    {
        User user;
        if (geteuid() != 0)
            return user;
        const passwd *nobody = getpwnam("nobody");
        if (nobody) {
            user.switched = true;
            user.uid = nobody->pw_uid;
            user.gid = nobody->pw_gid;
        }
        return user;
    }

    // A fresh home folder owned by the user, with the X server's key where the user can read it.
    QProcessEnvironment userEnvironment(const User &user, const QString &home) const
    {
        QDir().mkpath(home + QStringLiteral("/tmp"));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME",
                                 "XDG_RUNTIME_DIR", "QT_QPA_PLATFORM"})
            env.remove(QString::fromLatin1(name));
        env.insert(QStringLiteral("HOME"), home);
        // The program finds a running copy through a socket in the temporary folder.
        env.insert(QStringLiteral("TMPDIR"), home + QStringLiteral("/tmp"));
        const QString xauthority = env.value(QStringLiteral("XAUTHORITY"));
        if (user.switched && !xauthority.isEmpty()) {
            QFile::copy(xauthority, home + QStringLiteral("/.Xauthority"));
            env.insert(QStringLiteral("XAUTHORITY"), home + QStringLiteral("/.Xauthority"));
        }
        if (user.switched) {
            QDirIterator it(home, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
            while (it.hasNext())
                ::chown(QFile::encodeName(it.next()).constData(), user.uid, user.gid);
            ::chown(QFile::encodeName(home).constData(), user.uid, user.gid);
        }
        return env;
    }

    // Starts the command as the user, from the root folder (any folder must do), and closes
    // the main window with its close button. Empty when all went well, else what went wrong.
    QString session(const User &user, const QProcessEnvironment &env, const QString &command)
    {
        QProcess program;
        program.setProcessEnvironment(env);
        program.setWorkingDirectory(QStringLiteral("/"));
        program.setProcessChannelMode(QProcess::MergedChannels);
        if (user.switched)
            program.start(QStringLiteral("setpriv"), {"--reuid", QString::number(user.uid), "--regid",
                                                     QString::number(user.gid), "--clear-groups", "--", command});
        else
            program.start(QStringLiteral("sh"), {"-c", "exec \"$0\"", command}); // found on the environment's path
        if (!program.waitForStarted())
            return command + QStringLiteral(" did not start");
        // setpriv and the start command replace themselves by the program: one process id.
        const QString main = ProgramRunner::waitForWindow(m_mainTitle, 30000, program.processId());
        QString problem;
        if (main.isEmpty()) {
            problem = QStringLiteral("the main window did not appear");
        } else {
            ProgramRunner::click(main, MainCloseButton.x(), MainCloseButton.y());
            if (!program.waitForFinished(20000))
                problem = QStringLiteral("the program did not end after its close button");
            else if (program.exitStatus() != QProcess::NormalExit || program.exitCode() != 0)
                problem = QStringLiteral("the program ended with %1").arg(program.exitCode());
        }
        if (problem.isEmpty())
            return {};
        problem += QStringLiteral("\nwindows:\n%1\nprogram output:\n%2")
                       .arg(ProgramRunner::windowList(), QString::fromLocal8Bit(program.readAll()));
        program.kill();
        program.waitForFinished(5000);
        return problem;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_root.isValid());
        QFile::setPermissions(m_root.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                                 | QFileDevice::ReadGroup | QFileDevice::ExeGroup
                                                 | QFileDevice::ReadOther | QFileDevice::ExeOther);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DESTDIR"), m_root.filePath(QStringLiteral("dest")));
        const Result install = run(QStringLiteral(ORVO_CMAKE_COMMAND),
                                   {"--install", ORVO_BUILD_DIR, "--prefix", "/usr"}, env);
        QVERIFY2(install.code == 0, qPrintable(install.output));
        m_prefix = m_root.filePath(QStringLiteral("dest/usr"));
        m_bundle = m_prefix + QStringLiteral("/lib/orvo-video-converter");
    }

    void cleanupTestCase()
    {
        // The start test leaves the program folder read-only; the temporary folder must go.
        if (!m_bundle.isEmpty())
            ::chmod(QFile::encodeName(m_bundle).constData(), 0755);
    }

    void installedTree_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("executable");
        QTest::newRow("start command") << "bin/orvo-video-converter" << true;
        QTest::newRow("program") << "lib/orvo-video-converter/orvo-video-converter" << true;
        QTest::newRow("command start") << "bin/orvo-convert" << true;
        QTest::newRow("command") << "lib/orvo-video-converter/orvo-convert" << true;
        QTest::newRow("engine") << "lib/orvo-video-converter/libKrodecDLL.so" << false;
        QTest::newRow("definitions") << "lib/orvo-video-converter/PfDef.dll" << false;
        QTest::newRow("profiles") << "lib/orvo-video-converter/PfSetting.ini" << false;
        QTest::newRow("version record") << "lib/orvo-video-converter/WinVersion.bin" << false;
        QTest::newRow("trim cursor") << "lib/orvo-video-converter/Cursor/DragWE.cur" << false;
        QTest::newRow("check cursor") << "lib/orvo-video-converter/Cursor/Press.cur" << false;
        QTest::newRow("desktop entry") << "share/applications/org.example.OrvoVideoConverter.desktop" << false;
        QTest::newRow("icon") << "share/icons/hicolor/scalable/apps/org.example.OrvoVideoConverter.svg" << false;
        QTest::newRow("metadata") << "share/metainfo/org.example.OrvoVideoConverter.metainfo.xml" << false;
    }
    void installedTree()
    {
        QFETCH(QString, path);
        QFETCH(bool, executable);
        const QFileInfo file(m_prefix + QLatin1Char('/') + path);
        QVERIFY2(file.isFile(), qPrintable(path));
        QVERIFY(file.size() > 0);
        QCOMPARE(bool(file.permissions() & QFileDevice::ExeOther), executable);
        QVERIFY(file.permissions() & QFileDevice::ReadOther);
    }

    // Whoever ran the build's bundle left its settings there; they are not installed.
    void noSettingsInstalled()
    {
        for (const QString &file : installedFiles())
            QVERIFY2(!file.endsWith(QStringLiteral("/Option.ini")), qPrintable(file));
    }

    // No file names the build or source folder: no run path of a library, no path in a
    // script or a data file.
    void nothingFromTheBuildFolder()
    {
        const QByteArray build = QByteArrayLiteral(ORVO_BUILD_DIR);
        const QByteArray source = QByteArrayLiteral(ORVO_SOURCE_DIR);
        for (const QString &file : installedFiles()) {
            const QByteArray data = contents(file);
            QByteArray checked = data;
            if (data.startsWith("\x7f" "ELF")) {
                const Result dynamic = run(QStringLiteral("readelf"), {"-d", file});
                QCOMPARE(dynamic.code, 0);
                checked = dynamic.output.toUtf8();
            }
            QVERIFY2(!checked.contains(build) && !checked.contains(source), qPrintable(file));
        }
    }

    // The command-line program's start command finds the profiles from any folder.
    void commandRunsFromAnyFolder()
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), m_root.filePath(QStringLiteral("command-home")));
        p.setProcessEnvironment(env);
        p.setWorkingDirectory(QStringLiteral("/"));
        p.start(m_prefix + QStringLiteral("/bin/orvo-convert"), {QStringLiteral("--list")});
        QVERIFY(p.waitForFinished(60000));
        const QString out = QString::fromUtf8(p.readAllStandardOutput());
        QCOMPARE(p.exitCode(), 0);
        QVERIFY2(out.contains(QStringLiteral("iPhone - H.264 480x320 Standard")), qPrintable(out));
    }

    void desktopEntry()
    {
        const QString entry = m_prefix + QStringLiteral("/share/applications/") + m_desktopId + QStringLiteral(".desktop");
        const Result check = run(QStringLiteral("desktop-file-validate"), {entry});
        QVERIFY2(check.code == 0 && check.output.trimmed().isEmpty(), qPrintable(check.output));
        const QByteArray text = contents(entry);
        QVERIFY(value(text, QStringLiteral("Categories")).split(QLatin1Char(';')).contains(QStringLiteral("AudioVideo")));
        // The menu starts the installed start command, found on the path, and shows the icon.
        QCOMPARE(value(text, QStringLiteral("Exec")), QStringLiteral("orvo-video-converter"));
        QVERIFY(QFileInfo(m_prefix + QStringLiteral("/bin/orvo-video-converter")).isExecutable());
        QCOMPARE(value(text, QStringLiteral("Icon")), m_desktopId);
    }

    void icon()
    {
        QSvgRenderer icon(m_prefix + QStringLiteral("/share/icons/hicolor/scalable/apps/") + m_desktopId + QStringLiteral(".svg"));
        QVERIFY(icon.isValid());
        QCOMPARE(icon.viewBox().width(), icon.viewBox().height());
    }

    void metadata()
    {
        const QString file = m_prefix + QStringLiteral("/share/metainfo/") + m_desktopId + QStringLiteral(".metainfo.xml");
        const Result check = run(QStringLiteral("appstreamcli"), {"validate", "--no-net", file});
        QVERIFY2(check.code == 0, qPrintable(check.output));
        const QString text = QString::fromUtf8(contents(file));
        QVERIFY(text.contains(QStringLiteral("<id>") + m_desktopId + QStringLiteral("</id>")));
        QVERIFY(text.contains(QStringLiteral("<launchable type=\"desktop-id\">") + m_desktopId + QStringLiteral(".desktop</launchable>")));
        QVERIFY(text.contains(QStringLiteral("<caption>The main window with clips</caption>")));
        QVERIFY(!text.contains(QLatin1Char('@'))); // every placeholder of the template filled
    }

    // A user who cannot write the program folder, with a fresh home, starts the installed
    // program twice: once by the start command's path, once as the menu does (by name, on the
    // path). The settings go to the user's configuration folder and are read back from there.
    void startsForUserWhoCannotWriteProgramFolder()
    {
        const User user = startUser();
        QVERIFY2(user.switched || geteuid() != 0, "no user 'nobody' to start the program as");
        QVERIFY(::chmod(QFile::encodeName(m_bundle).constData(), 0555) == 0);
        const QString home = m_root.filePath(QStringLiteral("home"));
        const QProcessEnvironment env = userEnvironment(user, home);

        QString problem = session(user, env, m_prefix + QStringLiteral("/bin/orvo-video-converter"));
        QVERIFY2(problem.isEmpty(), qPrintable(problem));

        const QString userFile = home + QStringLiteral("/.config/orvo-video-converter/Option.ini");
        const QByteArray saved = contents(userFile);
        QVERIFY2(!saved.isEmpty(), "Option.ini is not in the user's configuration folder");
        QCOMPARE(value(saved, QStringLiteral("OutputFolder")), home + QStringLiteral("/OutputFolder/"));
        QCOMPARE(value(saved, QStringLiteral("OutputPSPSerialNumber")), QStringLiteral("1"));
        QCOMPARE(value(saved, QStringLiteral("DefaultAudio")), QStringLiteral("1"));
        QVERIFY(QFileInfo(home + QStringLiteral("/OutputFolder")).isDir());
        QVERIFY(!QFileInfo::exists(m_bundle + QStringLiteral("/Option.ini")));

        // The next start reads the user's file: a value the program folder never had survives.
        QFile edit(userFile);
        QVERIFY(edit.open(QIODevice::WriteOnly));
        edit.write(QByteArray(saved).replace("OutputPSPSerialNumber=1", "OutputPSPSerialNumber=41") + "Custom=kept\n");
        edit.close();
        QProcessEnvironment menu = env;
        menu.insert(QStringLiteral("PATH"), m_prefix + QStringLiteral("/bin:") + env.value(QStringLiteral("PATH")));
        const QString exec = value(contents(m_prefix + QStringLiteral("/share/applications/") + m_desktopId
                                            + QStringLiteral(".desktop")), QStringLiteral("Exec"));
        problem = session(user, menu, exec);
        QVERIFY2(problem.isEmpty(), qPrintable(problem));
        const QByteArray again = contents(userFile);
        QCOMPARE(value(again, QStringLiteral("OutputPSPSerialNumber")), QStringLiteral("41"));
        QCOMPARE(value(again, QStringLiteral("Custom")), QStringLiteral("kept"));
        QVERIFY(!QFileInfo::exists(m_bundle + QStringLiteral("/Option.ini")));
    }
};

QTEST_GUILESS_MAIN(TestInstall)
#include "tst_install.moc"
