#pragma once

#include "engine/EngineBinding.h"
#include "mainform/DiscWatch.h"
#include "mainform/TVideoInfo.h"
#include "options/OptionStore.h"
#include "platform/WindowMessage.h"

#include <QList>
#include <QPoint>
#include <QStringList>
#include <QWidget>

#include <cstdint>
#include <functional>

class QMenu;
class ClipListPanel;
class DevicePanel;
class PreviewPanel;
class RangeEditor;
class ToolbarPanel;
namespace skin {
class ImageView;
}

// Set once the updater has been started; it is started at most once per run.
extern bool b_UpdaterStarted;
// True while the preview's frame source is being closed; a second close waits for none.
extern bool b_ClosingFrames;

// The main window: a borderless window cut out of its background picture, with the clip
// list, the preview and range bar, the device panel and the toolbar on it.
class TMainForm : public QWidget {
    Q_OBJECT

public:
    explicit TMainForm(QWidget *parent = nullptr);
    ~TMainForm() override;

    // Clip list.
    TVideoInfo *CreateClipEntry(const QString &fileName);
    void AppendClipEntry(TVideoInfo *entry);
    void SetCurrentClip(TVideoInfo *entry);
    void RebuildSelectedClips();
    void RemoveSelectedClips();
    void ClearClips();
    void RelayoutClips();
    void RenumberOutputNames();
    void ShowThumbnail(TVideoInfo *entry);
    void ShowClipRange(TVideoInfo *entry);
    void PreparePopupMenu();
    // The entry at position i, or none outside the list.
    TVideoInfo *ClipAt(int i) const;

    // Published handlers.
    void suiImageButton_MinClick();
    void suiImageButton_CloseClick();
    void suiImageButton_BrowseClick();
    void suiImageButton_StartConvertClick();
    void suiImageButton_AboutClick();
    void suiImageButton_HomeClick();
    void suiImageButton_MailClick();
    void suiImageButton_TellFriendClick();
    void suiImageButton_OpenFileClick();
    void suiImageButton_ClearClick();
    void suiImageButton_OpenDirClick();
    void suiImageButton_SnapshootClick();
    void suiTrackBar_VolumeChange();
    void suiComboBox_ProfileChange();

    // Work of the add, device, conversion and preview parts of the window.
    void AddFiles();
    // The add command from the current directory on, for files the dialog gave or that
    // were dropped on the window, in their order.
    void AddChosenFiles(const QStringList &paths);
    void AddDroppedFiles(const QStringList &paths);
    // True while adding, while the preview's seek notice shows, or while a job runs.
    bool AddingBlocked() const;
    // True when the file became the last entry of the list; false when it was refused.
    bool ProbeAndAddClip(const QString &path);
    void SetAddProgress(int done);
    // Takes the watcher (replacing the one held) and follows its volumes.
    void WatchDiscs(platform::MountWatcher *watcher);
    void OnDeviceChange(VolumeEvent event, const platform::MountEntry &volume);
    void CheckDiscInDrive(const platform::MountEntry &volume);
    void SwitchDevice(int deviceType);
    void CloseFrameSource();
    void OnFrameSourceReady();
    void OnFrameAvailable(std::intptr_t wParam);
    void OnFrameSourceClosed();

    // The preview of the current clip through the engine's frame source.
    bool OpenFrameEngine();
    void PreviewSeek(int seekTime, int openingTime);
    // The engine's frame on show at w x h as a 24-bit picture; null without a library.
    QImage GrabFrame(int width, int height);
    void SetPreviewIdle(bool idle);
    // The range bar at rest, with its drag handlers and the time boxes' handlers.
    void SetupRangeBar();

    skin::ImageView *Image_Bk;
    skin::ImageView *Image_Chk;
    ToolbarPanel *Toolbar;
    PreviewPanel *Preview;
    ClipListPanel *ClipList;
    DevicePanel *Devices;

    QList<TVideoInfo *> Clips;
    QList<TVideoInfo *> SelectedClips;
    TVideoInfo *CurrentClip = nullptr;
    QMenu *PopupMenu_Clips = nullptr;
    bool b_Adding = false;
    QString s_DiscDrive;
    int i_AddTotal = 0;
    platform::MountWatcher *DiscWatcher = nullptr;

    int DeviceType = 0;
    QStringList UnsupportedExtList;
    QStringList UnsupportedFormatList;
    int i_MaxWidth = DefaultMaxWidth; // pictures wider are not supported; 0 or less: no limit
    QPoint pt_DragOrigin;
    QPoint pt_DragNow;
    int i_DragStartLeft = 0;
    int i_DragStartTop = 0;
    bool b_WindowDragging = false;

    engine::EngineLibrary h_FrameLibrary;
    engine::PreviewFunctions m_frameFunctions;
    bool b_FrameReady = false;
    bool b_FrameClosed = false;
    int i_LastFrameTime = 0;
    // Bound of each wait for the engine in CloseFrameSource, in milliseconds.
    int i_FrameWaitLimit = 10000;
    platform::EngineWindowHandle m_engineWindow{this};
    RangeEditor *m_rangeEditor = nullptr;
    // True from the start of a conversion job until it has ended: the job reads the list.
    bool b_Converting = false;

    // The list must stay as it is: an engine wait (whose message processing can run any
    // handler) or a conversion job is under way.
    bool ListHeld() const;
    // While the list is held, keeps the command to run once it is free again and returns true.
    bool HoldWhileListHeld(std::function<void()> command);

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

    // Everything the start command does once its checks have passed: set up and run the
    // conversion of the list, then move the serial base on.
    virtual void ConvertClips();

private:
    void FormCreate();
    void FormShow();
    void FormClose();
    void FormDestroy();
    void ConnectHandlers();
    void MakeCheckMarks();
    void ClipMouseDown(QObject *sender, Qt::MouseButton button);
    void ClipMouseUp(QObject *sender, Qt::MouseButton button, QPoint globalPos);
    void PopupMenuClick(const QString &itemName);
    void WindowDragDown(Qt::MouseButton button, QPoint globalPos);
    void WindowDragMove(Qt::MouseButtons buttons, QPoint globalPos);
    void WindowDragUp(Qt::MouseButton button);
    bool SeekNoticeShown() const;

    // Runs the commands kept while the list was held, in their order, after the current
    // handler has returned.
    void ReleaseHeldCommands();
    void RunHeldCommands();

    ClipMarks m_marks;
    bool m_centred = false;
    QList<std::function<void()>> m_heldCommands;
    bool m_heldRunQueued = false;
};

extern TMainForm *MainForm;
