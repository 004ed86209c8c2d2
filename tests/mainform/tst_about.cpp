// The about window, its links, the main window's about button and the notice window.
#include "MainFormFixture.h"
#include "ProductStrings.h"
#include "TForm_About.h"
#include "TLimitForm.h"
#include "VersionRecord.h"
#include "skin/UrlLabel.h"

#include <QFile>
#include <QLabel>

#include <fstream>

namespace {

// A version record file whose six records hold the given texts.
QString WriteVersionFile(const QTemporaryDir &folder, const QStringList &texts)
{
    const QString path = folder.filePath(QStringLiteral("WinVersion.bin"));
    std::ofstream file(QFile::encodeName(path).toStdString(), std::ios::binary);
    for (const QString &text : texts)
        file << version::VersionRecordBytes(text.toStdString(), version::KeyA, version::KeyB);
    return path;
}

} // namespace

class TestAbout : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { ResetProductStrings(); }

    void headingAndBuildLine_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("build");
        QTest::addColumn<QString>("buildLine");
        QTest::newRow("empty records") << QString() << QString() << "Build on ";
        QTest::newRow("shipped records") << "Orvo Video Converter 1.0" << "20260101" << "Build on 20260101";
    }

    void headingAndBuildLine()
    {
        QFETCH(QString, version);
        QFETCH(QString, build);
        QFETCH(QString, buildLine);
        QTemporaryDir folder;
        QVERIFY(ReadVersionFile(WriteVersionFile(folder, {"Orvo", version, build, "", "OrvoVideoConverter", ""})));
        TForm_About about;
        QCOMPARE(about.Label1->text(), version);
        QCOMPARE(about.Label5->text(), version);
        QCOMPARE(about.Label2->text(), buildLine);
        // The upper copy lies over the lower one, which shows 2 pixels right and 1 down.
        QCOMPARE(about.Label5->geometry(), QRect(16, 51, 400, 24));
        QCOMPARE(about.Label1->geometry(), QRect(18, 52, 400, 24));
        QVERIFY(about.children().indexOf(about.Label5) > about.children().indexOf(about.Label1));
        QCOMPARE(about.Label1->palette().color(QPalette::WindowText), QColor(Qt::white));
        QCOMPARE(about.Label2->pos(), QPoint(305, 77));
        QCOMPARE(about.size(), QSize(432, 236));
    }

    void textsAreSetOnceAtCreation()
    {
        VersionText = QStringLiteral("Orvo Video Converter 1.0");
        TForm_About about;
        VersionText = QStringLiteral("changed later");
        about.show();
        about.hide();
        about.show();
        QCOMPARE(about.Label5->text(), "Orvo Video Converter 1.0");
    }

    void linksOpenTheirAddresses_data()
    {
        QTest::addColumn<QString>("link");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("opened");
        QTest::newRow("home") << "suiURLLabel2" << HomePage << HomePage;
        QString address = SupportEmail;
        address.remove(QStringLiteral("mailto:"));
        QTest::newRow("contact") << "suiURLLabel1" << address << SupportEmail;
    }

    void linksOpenTheirAddresses()
    {
        QFETCH(QString, link);
        QFETCH(QString, shown);
        QFETCH(QString, opened);
        FakeShell shell;
        TForm_About about;
        auto *label = about.findChild<skin::UrlLabel *>(link);
        QVERIFY(label);
        QCOMPARE(label->text(), shown);
        QVERIFY(label->font().underline());
        QCOMPARE(label->textColour(), QColor(Qt::blue));
        QTest::mouseClick(label, Qt::LeftButton);
        QCOMPARE(shell.opened, QStringList({opened}));
    }

    void aboutButtonShowsTheWindowEachTime()
    {
        MainFormFixture fixture;
        VersionText = QStringLiteral("Orvo Video Converter 1.0");
        TForm_About about;
        Form_About = &about;
        TestMainForm form;
        form.show();
        QStringList seen;
        for (int press = 0; press < 2; ++press) {
            QTimer::singleShot(0, &about, [&] {
                seen << (about.isVisible() ? about.Label5->text() : QStringLiteral("not shown"));
                QTest::mouseClick(about.suiButton1, Qt::LeftButton);
            });
            QTest::mouseClick(form.Toolbar->suiImageButton_About, Qt::LeftButton);
            QVERIFY(!about.isVisible());
        }
        Form_About = nullptr;
        QCOMPARE(seen, QStringList({"Orvo Video Converter 1.0", "Orvo Video Converter 1.0"}));
    }

    void noticeClosesByEitherButton_data()
    {
        QTest::addColumn<QString>("button");
        QTest::newRow("close picture") << "suiImageButton_Close";
        QTest::newRow("text button") << "suiButton1";
    }

    void noticeClosesByEitherButton()
    {
        QFETCH(QString, button);
        TLimitForm notice;
        QCOMPARE(notice.size(), QSize(518, 299));
        notice.SetLimitMode(TLimitForm::LimitMode::UnsupportedClip);
        auto *control = notice.findChild<QWidget *>(button);
        QVERIFY(control);
        QTimer::singleShot(0, control, [control] { QTest::mouseClick(control, Qt::LeftButton); });
        QCOMPARE(notice.exec(), int(QDialog::Accepted));
        QVERIFY(!notice.isVisible());
        QVERIFY(!notice.mask().isEmpty());
    }

    void noticeTipNamesTheLimit_data()
    {
        QTest::addColumn<int>("maxWidth");
        QTest::addColumn<QString>("tip");
        QTest::newRow("usual") << 800
                               << "Pictures wider than 800 pixels are skipped: set MaxWidth=0 in Option.ini to convert them";
        QTest::newRow("raised") << 1280
                                << "Pictures wider than 1280 pixels are skipped: set MaxWidth=0 in Option.ini to convert them";
        QTest::newRow("none") << 0
                              << "File types and formats listed under ExtName and CodecName in Option.ini are skipped.";
    }
    void noticeTipNamesTheLimit()
    {
        QFETCH(int, maxWidth);
        QFETCH(QString, tip);
        TLimitForm notice;
        auto *label = notice.findChild<QLabel *>("Label_Tip");
        QVERIFY(label);
        QVERIFY(label->text().contains("800 pixels"));
        notice.SetWidthLimit(maxWidth);
        QCOMPARE(label->text(), tip);
        // The tip stays on the footer, inside the window.
        QVERIFY(label->geometry().top() > 251);
        QVERIFY(notice.rect().contains(label->geometry()));
        QVERIFY(label->heightForWidth(label->width()) <= label->height());
    }
};

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
