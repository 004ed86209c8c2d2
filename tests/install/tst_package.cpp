#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

// The Debian package as cpack builds it from the build folder: its name, its dependencies
// against the libraries its files really need, and its contents.
class TestPackage : public QObject {
    Q_OBJECT

    QTemporaryDir m_work;
    QString m_deb;
    QString m_tree; // the package's files, unpacked
    QStringList m_depends;

    struct Result {
        int code = -1;
        QString output;
    };
    static Result run(const QString &program, const QStringList &args, bool mergeErrors = true)
    {
        QProcess p;
        if (mergeErrors)
            p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(program, args);
        if (!p.waitForFinished(200000))
            return {-1, program + QStringLiteral(" did not finish")};
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromLocal8Bit(p.readAllStandardOutput())};
    }

    QString field(const QString &name) const
    {
        return run(QStringLiteral("dpkg-deb"), {"-f", m_deb, name}, false).output.trimmed();
    }

    QStringList elfFiles() const
    {
        QStringList files;
        QDirIterator it(m_tree, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            QFile f(it.next());
            if (f.open(QIODevice::ReadOnly) && f.read(4) == "\x7f" "ELF")
                files << f.fileName();
        }
        return files;
    }

    // The package that holds a library file, whichever of /lib and /usr/lib the loader named.
    static QString owner(const QString &path)
    {
        QStringList tries{path};
        if (path.startsWith(QStringLiteral("/usr/")))
            tries << path.mid(4);
        else
            tries << QStringLiteral("/usr") + path;
        tries << QFileInfo(path).canonicalFilePath();
        for (const QString &p : tries) {
            const Result r = run(QStringLiteral("dpkg-query"), {"-S", p}, false);
            if (r.code == 0)
                return r.output.section(QLatin1Char(':'), 0, 0).trimmed();
        }
        return {};
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_work.isValid());
        const Result pack = run(QStringLiteral(ORVO_CPACK_COMMAND),
                                {"-G", "DEB", "--config", ORVO_BUILD_DIR "/CPackConfig.cmake", "-B", m_work.path()});
        QVERIFY2(pack.code == 0, qPrintable(pack.output));
        const QStringList debs = QDir(m_work.path()).entryList({QStringLiteral("*.deb")}, QDir::Files);
        QCOMPARE(debs.size(), 1);
        m_deb = m_work.filePath(debs.first());
        m_tree = m_work.filePath(QStringLiteral("tree"));
        QCOMPARE(run(QStringLiteral("dpkg-deb"), {"-x", m_deb, m_tree}).code, 0);
        for (const QString &item : field(QStringLiteral("Depends")).split(QLatin1Char(','), Qt::SkipEmptyParts))
            m_depends << item.section(QLatin1Char('('), 0, 0).trimmed();
    }

    void name()
    {
        const QString arch = run(QStringLiteral("dpkg"), {"--print-architecture"}, false).output.trimmed();
        QCOMPARE(QFileInfo(m_deb).fileName(),
                 QStringLiteral("orvo-video-converter_%1_%2.deb").arg(field(QStringLiteral("Version")), arch));
        QCOMPARE(field(QStringLiteral("Package")), QStringLiteral("orvo-video-converter"));
        QCOMPARE(field(QStringLiteral("Architecture")), arch);
        QCOMPARE(field(QStringLiteral("Section")), QStringLiteral("video"));
    }

    // Loaded by name at run time, so no link names it; the package must.
    void dependsOnRunTimeLibraries()
    {
        QVERIFY2(m_depends.contains(QStringLiteral("libmediainfo0v5")), qPrintable(m_depends.join(", ")));
    }

    // Every library that an executable or the engine links directly comes from a package
    // the package depends on.
    void dependsOnEveryLinkedLibrary()
    {
        const QStringList files = elfFiles();
        QVERIFY(files.size() >= 2);
        for (const QString &file : files) {
            const QString dynamic = run(QStringLiteral("readelf"), {"-d", file}).output;
            QStringList needed;
            const QRegularExpression neededLine(QStringLiteral("\\(NEEDED\\).*\\[(.+)\\]"));
            for (auto it = neededLine.globalMatch(dynamic); it.hasNext();)
                needed << it.next().captured(1);
            QVERIFY2(!needed.isEmpty(), qPrintable(file));
            const QString resolved = run(QStringLiteral("ldd"), {file}).output;
            for (const QString &library : needed) {
                // "name => path (address)", or for the loader "path (address)".
                const QString name = QRegularExpression::escape(library);
                const QRegularExpression line(QStringLiteral("\\s(?:%1 => (\\S+)|(/\\S*/%1)) ").arg(name));
                const QRegularExpressionMatch match = line.match(resolved);
                const QString path = match.captured(1).isEmpty() ? match.captured(2) : match.captured(1);
                QVERIFY2(!path.isEmpty(), qPrintable(file + QStringLiteral(": ") + library + QStringLiteral(" not found")));
                const QString package = owner(path);
                QVERIFY2(!package.isEmpty(), qPrintable(path));
                QVERIFY2(m_depends.contains(package),
                         qPrintable(QStringLiteral("%1 needs %2 of %3; Depends: %4").arg(file, library, package, m_depends.join(", "))));
            }
        }
    }

    void contents()
    {
        for (const char *path : {"usr/bin/orvo-video-converter", "usr/lib/orvo-video-converter/orvo-video-converter",
                                 "usr/bin/orvo-convert", "usr/lib/orvo-video-converter/orvo-convert",
                                 "usr/lib/orvo-video-converter/libKrodecDLL.so", "usr/lib/orvo-video-converter/PfDef.dll",
                                 "usr/lib/orvo-video-converter/PfSetting.ini", "usr/lib/orvo-video-converter/WinVersion.bin",
                                 "usr/lib/orvo-video-converter/Cursor/DragWE.cur",
                                 "usr/lib/orvo-video-converter/Cursor/Press.cur",
                                 "usr/share/applications/org.example.OrvoVideoConverter.desktop",
                                 "usr/share/icons/hicolor/scalable/apps/org.example.OrvoVideoConverter.svg",
                                 "usr/share/metainfo/org.example.OrvoVideoConverter.metainfo.xml"})
            QVERIFY2(QFileInfo(m_tree + QLatin1Char('/') + QLatin1String(path)).isFile(), path);
        // Everything under /usr, nothing of a run of the build's bundle.
        const QStringList top = QDir(m_tree).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        QCOMPARE(top, QStringList{QStringLiteral("usr")});
        QVERIFY(!QFileInfo::exists(m_tree + QStringLiteral("/usr/lib/orvo-video-converter/Option.ini")));
        // Files owned by root, in the archive itself.
        const QString listing = run(QStringLiteral("dpkg-deb"), {"-c", m_deb}).output;
        for (const QString &line : listing.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            QVERIFY2(line.section(QLatin1Char(' '), 1, 1, QString::SectionSkipEmpty) == QStringLiteral("root/root"), qPrintable(line));
    }

    // A package carries no debugging data.
    void stripped()
    {
        for (const QString &file : elfFiles()) {
            const QString sections = run(QStringLiteral("readelf"), {"-S", "-W", file}).output;
            QVERIFY2(!sections.contains(QStringLiteral(".debug_info")), qPrintable(file));
        }
    }
};

QTEST_GUILESS_MAIN(TestPackage)
#include "tst_package.moc"
