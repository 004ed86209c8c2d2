// The main window's add command: the open dialog or files dropped on the window, the probe
// of every chosen file, the progress panel and the message about refused files.
#include "mainform/TMainForm.h"

#include "mainform/ClipListPanel.h"
#include "mainform/ClipProbe.h"
#include "mediainfo/TMediaInfoInterfa.h"
#include "options/Options.h"
#include "platform/Dialogs.h"
#include "process/TProcessForm.h"
#include "skin/ImagePanel.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMimeData>
#include <QUrl>

namespace {

constexpr int AddProgressWidth = 271;

} // namespace

bool TMainForm::ProbeAndAddClip(const QString &path)
{
    const ProbedClip probed = ProbeClipFile(path);
    if (!probed.accepted)
        return false;
    const ProbeRecord &r = probed.record;
    const QString fileName = QFileInfo(path).fileName();

    TVideoInfo *entry = CreateClipEntry(fileName);
    entry->SetFilePath(path);
    entry->SetDuration(r.seconds);
    entry->SetStartTime(0);
    entry->SetEndTime(r.seconds);
    entry->SetChecked(true);
    entry->SetPicture(r.aspectCode, r.width, r.height);
    entry->SetInfoHint(ClipInfoHint(fileName, r, QLocale()));
    entry->b_UseDisplayAspect = r.displayAspectFlag == 0;
    entry->bmp_Thumbnail = probed.thumbnail;

    TMediaInfo mediaInfo;
    TMediaInfoInterfa().ReadFormat(path, mediaInfo);
    if (IsRefusedKind(path, mediaInfo.GeneralFormat, r.width, UnsupportedExtList, UnsupportedFormatList, i_MaxWidth))
        entry->SetSupported(false);

    AppendClipEntry(entry);
    ClipList->Panel_Intro->hide();
    update();
    return true;
}

void TMainForm::SetAddProgress(int done)
{
    const bool counting = i_AddTotal > 0;
    const int width = counting ? done * AddProgressWidth / i_AddTotal : 0;
    ClipList->Panel_Progress1->resize(width, ClipList->Panel_Progress1->height());
    ClipList->Label_Percent->setText(QString::number(counting ? done * 100 / i_AddTotal : 0));
    // The probes hold the event loop, so the panel is drawn now.
    ClipList->Panel_AddProgress->repaint();
}

void TMainForm::AddFiles()
{
    if (b_Adding || HoldWhileListHeld([this] { AddFiles(); }))
        return;
    const QStringList paths = platform::dialogs().openFileNames(this, OpenDialogFilter, QDir::currentPath());
    if (paths.isEmpty())
        return;
    AddChosenFiles(paths);
}

void TMainForm::AddChosenFiles(const QStringList &paths)
{
    if (b_Adding || paths.isEmpty())
        return;
    QDir::setCurrent(g_s_OutputFolder);
    CloseFrameSource();
    // An add that started while this one waited for the engine has the list now.
    if (b_Adding)
        return;
    repaint();

    QStringList refused;
    b_Adding = true;
    QWidget *panel = ClipList->Panel_AddProgress;
    if (paths.size() > 1) {
        i_AddTotal = static_cast<int>(paths.size());
        SetAddProgress(0);
        panel->show();
    }
    for (int i = 0; i < paths.size(); ++i) {
        if (!panel->isHidden())
            SetAddProgress(i);
        if (!ProbeAndAddClip(paths.at(i)))
            refused.append(paths.at(i));
    }
    if (!panel->isHidden())
        SetAddProgress(i_AddTotal);
    repaint();
    panel->hide();
    b_Adding = false;

    if (!refused.isEmpty()) {
        QString text = QStringLiteral("Some UNSUPPORTED file(s) format can not add in. \n\n");
        for (const QString &path : std::as_const(refused))
            text += path + QLatin1Char('\n');
        platform::dialogs().showMessage(platform::MessageKind::Information, text);
    }

    RebuildSelectedClips();
    if (SelectedClips.isEmpty() && !Clips.isEmpty()) {
        TVideoInfo *first = Clips.first();
        SetCurrentClip(first);
        if (CurrentClip == first)
            first->Select();
    }
}

bool TMainForm::AddingBlocked() const
{
    return b_Adding || SeekNoticeShown() || (ProcessForm && ProcessForm->JobRunning());
}

namespace {

// Local files only, in the order given: folders are not scanned, remote addresses not fetched.
QStringList DroppedFiles(const QMimeData *data)
{
    QStringList paths;
    if (!data || !data->hasUrls())
        return paths;
    for (const QUrl &url : data->urls()) {
        const QFileInfo file(url.toLocalFile());
        // Made absolute here: adding moves the current directory to the output folder.
        if (url.isLocalFile() && file.isFile())
            paths << file.absoluteFilePath();
    }
    return paths;
}

} // namespace

void TMainForm::dragEnterEvent(QDragEnterEvent *event)
{
    if (!AddingBlocked() && !DroppedFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
    else
        event->ignore();
}

void TMainForm::dropEvent(QDropEvent *event)
{
    const QStringList paths = DroppedFiles(event->mimeData());
    if (AddingBlocked() || paths.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    // Added once the drop is over: the probes and the message box must not hold the
    // program the files were dragged from.
    QMetaObject::invokeMethod(this, [this, paths] { AddDroppedFiles(paths); }, Qt::QueuedConnection);
}

void TMainForm::AddDroppedFiles(const QStringList &paths)
{
    // A drop is not user input to the engine waits: while one is under way it is held.
    if (AddingBlocked() || HoldWhileListHeld([this, paths] { AddDroppedFiles(paths); }))
        return;
    AddChosenFiles(paths);
}
