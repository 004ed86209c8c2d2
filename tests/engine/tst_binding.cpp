#include "engine/EngineBinding.h"
#include "platform/ProgramFolder.h"
#include "platform/WindowMessage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <dlfcn.h>
#include <thread>

using engine::EngineLibrary;

// Each stand-in engine, copied into a program folder of its own as libKrodecDLL.so.
class TestBinding : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString programFolderWith(const QString &variant)
    {
        const QString folder = m_dir.filePath(variant);
        QDir().mkpath(folder);
        const QString target = folder + "/libKrodecDLL.so";
        QFile::remove(target);
        QFile::copy(QStringLiteral(ORVO_TEST_BINARY_DIR "/lib%1.so").arg(variant), target);
        platform::SetProgramFolder(folder);
        return target;
    }

    static bool stillLoaded(const QString &path)
    {
        void *h = dlopen(path.toLocal8Bit().constData(), RTLD_NOW | RTLD_NOLOAD);
        if (h)
            dlclose(h);
        return h != nullptr;
    }

private slots:
    void cleanup() { platform::SetProgramFolder(QString()); }

    void completeEngineResolvesEverySet()
    {
        programFolderWith("engine_complete");
        EngineLibrary probe, preview, conversion;
        engine::ProbeFunctions p;
        engine::PreviewFunctions v;
        engine::ConversionFunctions c;
        QVERIFY(probe.Load(p));
        QVERIFY(preview.Load(v));
        QVERIFY(conversion.Load(c));
        char path[] = "x";
        QCOMPARE(p.GetFileinfo_GetPic(path, 10, nullptr), 7);
        QVERIFY(v.GetFrame_UnInit && c.ConvertAppleTV && c.ConvertIPodMusic);
    }

    void missingFunctionFailsTheSetAndUnloads_data()
    {
        QTest::addColumn<QString>("variant");
        QTest::addColumn<bool>("probe");
        QTest::addColumn<bool>("preview");
        QTest::addColumn<bool>("conversion");
        QTest::newRow("no X_Get_Frame") << "engine_no_frame" << false << false << true;
        QTest::newRow("no conversion") << "engine_no_conversion" << true << true << false;
        QTest::newRow("no Apple TV") << "engine_no_appletv" << true << true << false;
    }
    void missingFunctionFailsTheSetAndUnloads()
    {
        QFETCH(QString, variant);
        QFETCH(bool, probe);
        QFETCH(bool, preview);
        QFETCH(bool, conversion);
        const QString path = programFolderWith(variant);

        EngineLibrary library;
        engine::ProbeFunctions p;
        QCOMPARE(library.Load(p), probe);
        QCOMPARE(library.IsLoaded(), probe);
        QCOMPARE(p.GetFileinfo_GetPic != nullptr, probe);
        library.Release();

        engine::PreviewFunctions v;
        QCOMPARE(library.Load(v), preview);
        library.Release();

        engine::ConversionFunctions c;
        QCOMPARE(library.Load(c), conversion);
        QCOMPARE(c.Get_Info != nullptr, conversion);
        library.Release();
        QVERIFY(!stillLoaded(path));
    }

    void missingLibrary()
    {
        platform::SetProgramFolder(m_dir.filePath("empty"));
        EngineLibrary library;
        engine::ProbeFunctions p;
        QVERIFY(!library.Load(p));
        QVERIFY(!library.IsLoaded());
    }

    void loadsAreIndependent()
    {
        const QString path = programFolderWith("engine_complete");
        auto probe = std::make_unique<EngineLibrary>();
        EngineLibrary preview;
        engine::ProbeFunctions p;
        engine::PreviewFunctions v;
        QVERIFY(probe->Load(p));
        QVERIFY(preview.Load(v));
        probe.reset(); // the preview's load keeps the library
        QVERIFY(stillLoaded(path));
        QCOMPARE(v.Set_NextFrame_Time(3), 0);
        preview.Release();
        QVERIFY(!stillLoaded(path));
    }

    void engineWindowPostsFromAnyThread()
    {
        struct Receiver : QObject {
            QList<std::tuple<quint32, qintptr, qintptr>> got;
            bool event(QEvent *e) override
            {
                if (e->type() == platform::WindowMessageEvent::typeFor(2412)
                    || e->type() == platform::WindowMessageEvent::typeFor(2512)) {
                    auto *m = static_cast<platform::WindowMessageEvent *>(e);
                    got.append({m->message(), m->wparam(), m->lparam()});
                    return true;
                }
                return QObject::event(e);
            }
        } receiver;
        platform::EngineWindowHandle handle(&receiver);
        KrodecWindow *window = handle.handle();
        std::thread engineThread([window] {
            window->post(window, 2412, 1, 0);
            window->post(window, 2512, 0, 9);
        });
        engineThread.join();
        QCoreApplication::processEvents();
        QCOMPARE(receiver.got.size(), 2);
        QCOMPARE(std::get<0>(receiver.got[0]), 2412u);
        QCOMPARE(std::get<1>(receiver.got[0]), qintptr(1));
        QCOMPARE(std::get<2>(receiver.got[1]), qintptr(9));
        QVERIFY(platform::WindowMessageEvent::typeFor(2412) != platform::WindowMessageEvent::typeFor(2512));
    }

    void postAfterTheWindowIsGoneIsDropped()
    {
        auto receiver = std::make_unique<QObject>();
        auto handle = std::make_unique<platform::EngineWindowHandle>(receiver.get());
        KrodecWindow *window = handle->handle();
        auto post = window->post;
        handle.reset();
        receiver.reset();
        post(window, 2412, 1, 0); // an engine thread that outlived the window
        QCoreApplication::processEvents();
    }
};

QTEST_GUILESS_MAIN(TestBinding)
#include "tst_binding.moc"
