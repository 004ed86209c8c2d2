#pragma once

#include "FakeDialogs.h"
#include "mainform/ClipListPanel.h"
#include "mainform/ClipTexts.h"
#include "mainform/DevicePanel.h"
#include "mainform/PreviewPanel.h"
#include "mainform/TMainForm.h"
#include "mainform/ToolbarPanel.h"
#include "options/Options.h"
#include "platform/ProgramFolder.h"
#include "skin/ImageButton.h"
#include "skin/ImagePanel.h"
#include "skin/ImageView.h"
#include "skin/SkinComboBox.h"
#include "skin/SkinEdit.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

// A main window in a program folder of its own, with the dialog and shell doubles in place.
// The start command's conversion is recorded instead of run.
class TestMainForm : public TMainForm {
public:
    bool converted = false;
    bool reachedDefault = false; // an event went on to the default handling

protected:
    void ConvertClips() override { converted = true; }
    void customEvent(QEvent *) override { reachedDefault = true; }
};

struct MainFormFixture {
    QTemporaryDir folder;
    FakeDialogs dialogs;
    FakeShell shell;

    MainFormFixture() { platform::SetProgramFolder(folder.path() + QLatin1Char('/')); }
    ~MainFormFixture() { platform::SetProgramFolder(QString()); }
};

// A clip as the probe leaves it: named, timed, sized, checked, and appended.
inline TVideoInfo *AddClip(TMainForm &form, const QString &name, int duration = 60, bool supported = true,
                           bool checked = true)
{
    TVideoInfo *entry = form.CreateClipEntry(name);
    entry->SetDuration(duration);
    entry->SetStartTime(0);
    entry->SetEndTime(duration);
    entry->SetPicture(1, 320, 240);
    entry->SetFilePath(QStringLiteral("/videos/") + name);
    entry->SetSupported(supported);
    entry->SetChecked(checked);
    form.AppendClipEntry(entry);
    return entry;
}
