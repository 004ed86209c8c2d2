#include "platform/Dialogs.h"
#include "platform/Library.h"
#include "platform/ProgramFolder.h"
#include "platform/WindowTitles.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>

class TestPlatform : public QObject {
    Q_OBJECT

private slots:
    void dialogFilter_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("qt");
        QTest::newRow("empty shows all") << "" << "";
        QTest::newRow("one pair") << "Video files|*.avi;*.mp4" << "Video files (*.avi *.mp4)";
        QTest::newRow("two pairs") << "JPEG|*.jpg|Bitmap|*.bmp" << "JPEG (*.jpg);;Bitmap (*.bmp)";
        QTest::newRow("blanks around patterns") << "All| *.* " << "All (*.*)";
        QTest::newRow("description only") << "Everything" << "Everything";
        QTest::newRow("snapshot: pattern already named") << "JPG (*.jpg)|*.jpg|BMP (*.bmp)|*.bmp"
                                                         << "JPG (*.jpg);;BMP (*.bmp)";
        QTest::newRow("named with two patterns") << "Video (*.avi *.mpg)|*.avi;*.mpg" << "Video (*.avi *.mpg)";
        QTest::newRow("other words in brackets") << "Movies (old)|*.avi" << "Movies (old) (*.avi)";
        QTest::newRow("another pattern named") << "JPG (*.jpeg)|*.jpg" << "JPG (*.jpeg) (*.jpg)";
    }
    void dialogFilter()
    {
        QFETCH(QString, filter);
        QFETCH(QString, qt);
        QCOMPARE(platform::QtFilterFromDialogFilter(filter), qt);
    }

    void libraryNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("candidates");
        QTest::newRow("engine") << "KrodecDLL.dll" << QStringList{"/opt/orvo/libKrodecDLL.so", "libKrodecDLL.so"};
        QTest::newRow("no extension") << "Other" << QStringList{"/opt/orvo/libOther.so", "libOther.so"};
        QTest::newRow("mediainfo") << "MediaInfo.dll" << QStringList{"libmediainfo.so.0"};
        QTest::newRow("upper case extension") << "X.DLL" << QStringList{"/opt/orvo/libX.so", "libX.so"};
    }
    void libraryNames()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, candidates);
        QCOMPARE(platform::LibraryCandidates(name, QStringLiteral("/opt/orvo/")), candidates);
    }

    void missingLibraryLoadsNothing()
    {
        platform::SetProgramFolder(QDir::tempPath());
        QCOMPARE(platform::LoadLibrary(QStringLiteral("NoSuchLibraryAtAll.dll")), nullptr);
        QCOMPARE(platform::GetProcAddress(nullptr, "X"), nullptr);
        platform::FreeLibrary(nullptr);
        platform::SetProgramFolder(QString());
    }

    void mediaInfoLoads()
    {
        platform::LibraryHandle h = platform::LoadLibrary(QStringLiteral("MediaInfo.dll"));
        QVERIFY(h);
        QVERIFY(platform::GetProcAddress(h, "MediaInfoA_New"));
        QCOMPARE(platform::GetProcAddress(h, "NoSuchFunction"), nullptr);
        platform::FreeLibrary(h);
    }

    void rootSearchTakesLastExisting()
    {
        QTemporaryDir a, b;
        QCOMPARE(platform::LastExistingRoot({a.path(), b.path()}), b.path() + "/");
        QCOMPARE(platform::LastExistingRoot({a.path(), b.path() + "/gone"}), a.path() + "/");
        QCOMPARE(platform::LastExistingRoot({}), QString());
        QCOMPARE(platform::FixedRoots().first(), QDir::homePath());
    }

    void createFolderMakesOneLevel()
    {
        QTemporaryDir dir;
        QVERIFY(platform::CreateFolder(dir.filePath("one/")));
        QVERIFY(platform::FolderExists(dir.filePath("one")));
        QVERIFY(!platform::CreateFolder(dir.filePath("two/three")));
        QVERIFY(!platform::CreateFolder(QString()));
        QVERIFY(!platform::FolderExists(QString()));
    }

    void windowTitleIsFound()
    {
        const QString title = QStringLiteral("Orvo title test %1").arg(QCoreApplication::applicationPid());
        QVERIFY(!platform::FindWindowTitled(title));
        {
            QWidget window;
            window.setWindowTitle(title);
            QVERIFY(platform::FindWindowTitled(title));
            QVERIFY(!platform::FindWindowTitled(title + " 2"));
            window.setWindowTitle(title + " 2");
            QVERIFY(!platform::FindWindowTitled(title));
            QVERIFY(platform::FindWindowTitled(title + " 2"));
        }
        QVERIFY(!platform::FindWindowTitled(title + " 2"));
        QVERIFY(!platform::FindWindowTitled(QString()));
    }

    void childTitlesDoNotCount()
    {
        const QString title = QStringLiteral("Orvo child %1").arg(QCoreApplication::applicationPid());
        QWidget window;
        auto *child = new QWidget(&window);
        child->setWindowTitle(title);
        QVERIFY(!platform::FindWindowTitled(title));
    }

    void staleSocketDoesNotBlock()
    {
        // A socket file left by a crashed process answers nobody.
        const QString title = QStringLiteral("Orvo stale %1").arg(QCoreApplication::applicationPid());
        const QString name = platform::WindowTitleSocketName(title);
        const QString path = QDir::tempPath() + "/" + name;
        QFile stale(path);
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.close();
        QVERIFY(!platform::FindWindowTitled(title));
        QWidget window;
        window.setWindowTitle(title);
        QVERIFY(platform::FindWindowTitled(title));
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    platform::InstallWindowTitleRegistry(app);
    TestPlatform test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_platform.moc"
