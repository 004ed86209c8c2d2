#include "FakeDialogs.h"
#include "OrvoApplication.h"
#include "Startup.h"
#include "TStartForm.h"

#include <QtTest>
#include <QTemporaryDir>

#include <stdexcept>

namespace {

// An object whose event handler fails, as a command with an uncaught error would.
class Failing : public QObject {
public:
    int handled = 0;
    bool event(QEvent *e) override
    {
        if (e->type() == QEvent::User) {
            ++handled;
            throw std::runtime_error("Unable to write to /x/Option.ini");
        }
        return QObject::event(e);
    }
};

} // namespace

class TestStartup : public QObject {
    Q_OBJECT

private slots:
    void fadeInTakes25PausesOf20ms()
    {
        TStartForm form{QPixmap()};
        QVector<int> pauses;
        QVector<int> alphas;
        FadeStartForm(form, [&](int ms) {
            pauses << ms;
            alphas << form.i_Alpha;
        });
        QCOMPARE(pauses.size(), 25);
        QVERIFY(std::all_of(pauses.begin(), pauses.end(), [](int ms) { return ms == 20; }));
        QCOMPARE(alphas.first(), 10);
        QCOMPARE(alphas.last(), 250);
        QCOMPARE(form.i_Alpha, 255);
        QVERIFY(!form.b_FadingIn);
        QCOMPARE(form.windowOpacity(), 1.0);
    }

    void fadeOutTakes51PausesOf10ms()
    {
        TStartForm form{QPixmap()};
        FadeStartForm(form, [](int) {});
        QVector<int> pauses;
        QVector<int> alphas;
        FadeStartForm(form, [&](int ms) {
            pauses << ms;
            alphas << form.i_Alpha;
        });
        QCOMPARE(pauses.size(), 51);
        QVERIFY(std::all_of(pauses.begin(), pauses.end(), [](int ms) { return ms == 10; }));
        QCOMPARE(alphas.first(), 250);
        QCOMPARE(alphas.last(), 0);
        QCOMPARE(form.i_Alpha, 0);
        QCOMPARE(form.windowOpacity(), 0.0);
    }

    void alphaNeverLeavesRange()
    {
        TStartForm form{QPixmap()};
        form.i_Alpha = 251; // not a step of the fade: the jump to 255 comes at once
        FadeStartForm(form, [&](int) { QVERIFY(form.i_Alpha >= 0 && form.i_Alpha <= 255); });
        QCOMPARE(form.i_Alpha, 255);
        form.i_Alpha = 3;
        FadeStartForm(form, [&](int) { QVERIFY(form.i_Alpha >= 0 && form.i_Alpha <= 255); });
        QCOMPARE(form.i_Alpha, 0);
    }

    void splashIsItsPicture()
    {
        TStartForm form{QPixmap(400, 220)};
        QCOMPARE(form.size(), QSize(400, 220));
        QVERIFY(form.windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(form.windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(form.windowOpacity(), 0.0);
    }

    void errorInHandlerIsShownAndProgramGoesOn()
    {
        FakeDialogs dialogs;
        Failing failing;
        QCoreApplication::postEvent(&failing, new QEvent(QEvent::User));
        QCoreApplication::postEvent(&failing, new QEvent(QEvent::User));
        QCoreApplication::processEvents();
        QCOMPARE(failing.handled, 2);
        QCOMPARE(dialogs.texts(), QStringList({"Unable to write to /x/Option.ini", "Unable to write to /x/Option.ini"}));
        QCOMPARE(dialogs.messages.first().kind, platform::MessageKind::Error);
    }

    void brokenVersionFileAsksForANewInstallation_data()
    {
        QTest::addColumn<bool>("present");
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("missing") << false << QByteArray();
        QTest::newRow("empty") << true << QByteArray();
        QTest::newRow("garbage") << true << QByteArray(300, '\x7f');
    }
    void brokenVersionFileAsksForANewInstallation()
    {
        QFETCH(bool, present);
        QFETCH(QByteArray, content);
        QTemporaryDir folder;
        const QString start = QDir::currentPath();
        QDir::setCurrent(folder.path());
        if (present) {
            QFile file(QStringLiteral("WinVersion.bin"));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        FakeDialogs dialogs;
        const bool passed = CheckVersionFile();
        QDir::setCurrent(start);
        QVERIFY(!passed);
        QCOMPARE(dialogs.texts(), QStringList{QStringLiteral("Initilization Error!\nPlease re-install software!")});
        QCOMPARE(dialogs.messages.first().kind, platform::MessageKind::Error);
    }

    void applicationTitleLeavesWindowTitlesAlone()
    {
        SetApplicationTitle(QStringLiteral("Orvo Video Converter"));
        QCOMPARE(ApplicationTitle(), QStringLiteral("Orvo Video Converter"));
        QWidget window;
        window.setWindowTitle(QStringLiteral("OrvoVideoConverter"));
        window.show();
        QCOMPARE(window.windowHandle()->title(), QStringLiteral("OrvoVideoConverter"));
    }
};

int main(int argc, char **argv)
{
    OrvoApplication app(argc, argv);
    TestStartup test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_startup.moc"
