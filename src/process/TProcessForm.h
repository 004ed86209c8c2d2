#pragma once

#include "engine/EngineBinding.h"
#include "platform/WindowMessage.h"
#include "process/JobArguments.h"

#include <QPoint>
#include <QWidget>

#include <atomic>
#include <optional>
#include <thread>

class QEventLoop;
class QLabel;
class QTimer;
namespace skin {
class CheckBox;
class ImageButton;
class ImageView;
} // namespace skin

// The end of a conversion job, posted by the worker; first word the job result.
constexpr std::uint32_t WM_JOB_ENDED = 2023;
// From the engine: the conversion's first frame is under way.
constexpr std::uint32_t WM_ENGINE_STARTED = 2312;

// Results of a job.
enum JobResult : int {
    JobStopped = 0,    // ended after a stop request
    JobFinished = 1,   // every convertible clip converted
    JobFailed = -1,    // the engine failed on the current clip
    JobNoEngine = 2    // the engine or one of its conversion functions is missing
};

// What a job reads from the window that started it. Called on the main thread only, while
// that window waits behind the progress window.
class JobSource {
public:
    struct Entry {
        bool supported = true;
        ClipValues values;
    };

    virtual ~JobSource() = default;
    // The entry at list position index; none past the end of the list.
    virtual std::optional<Entry> ClipEntry(int index) const = 0;
    virtual PanelValues Panel(int deviceType) const = 0;
};

// The progress window, and the conversion job it shows: the job converts the main window's
// clip list on a worker thread while the window is shown modally. The worker touches the
// windows only through calls carried out on the main thread, in order, and waits for each.
class TProcessForm : public QWidget {
    Q_OBJECT

public:
    explicit TProcessForm(QWidget *parent = nullptr);
    ~TProcessForm() override;

    // Main thread: runs the job for the device over the source's list and returns when the
    // window has been closed. The source must outlive the call.
    void StartJob(int deviceType, const JobSource &source);
    // Main thread, from the stop button: asks, and stops the engine on Yes.
    void RequestStop();

    void ShowProgressByTime(int seconds);
    void ShowProgressPercent(int percent);
    void JobEnded(int result);
    void EngineStarted();

    // Published handlers.
    void FormShow();
    bool FormCloseQuery() const;
    void Timer_InfoTimer();
    void suiImageButton_StopConvertClick();
    void suiImageButton_CloseClick();
    void suiImageButton_MinClick();

    skin::ImageView *Image_Bk;
    QLabel *Label_TitleName;
    QLabel *Label_DesName;
    QLabel *Label_StartTime;
    QLabel *Label_Length;
    QLabel *Label_FPS;
    QLabel *Label_StopTime;
    QLabel *Label_CurrentTime;
    QLabel *Label_CurrentFrame;
    QLabel *Label_Percent;
    QWidget *Panel_Progress;
    skin::ImageView *Image_Progress;
    skin::ImageButton *suiImageButton_StopConvert;
    skin::CheckBox *suiCheckBox_PowerOff;
    skin::CheckBox *suiCheckBox_OpenFolder;
    skin::ImageButton *suiImageButton_Min;
    skin::ImageButton *suiImageButton_Close;
    QTimer *Timer_Info;

    bool JobRunning() const { return b_JobRunning; }

protected:
    bool event(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    // The job, on the worker thread.
    int RunJob();
    int ConvertClip(int index);
    bool LoadEngine();
    void UnloadEngine();
    void PrepareJob();
    bool PrepareClip(int index);
    int CallEngine();
    // Carries f out on the main thread and waits for it.
    template <typename F>
    void OnMainThread(F &&f);

    void FormCreate();
    void MakeControls();
    void WindowDragDown(Qt::MouseButton button, QPoint globalPos);
    void WindowDragMove(Qt::MouseButtons buttons, QPoint globalPos);
    void WindowDragUp(Qt::MouseButton button);

    const JobSource *m_source = nullptr;
    int i_DeviceType = 2;
    std::atomic<bool> b_Prepared{false};
    int i_ClipIndex = 0;
    std::atomic<bool> b_StopRequested{false};
    // Set and cleared on the main thread only, so the poll and the stop request never see
    // an engine that is being unloaded.
    engine::EngineLibrary h_Engine;
    engine::ConversionFunctions p_Engine;
    std::thread h_Thread;
    bool b_JobRunning = false;

    JobArguments m_job;   // worker
    ClipArguments m_clip; // worker
    // The clip's figures the main thread shows, copied there with the clip's labels.
    int i_ClipStart = 0;
    int i_RangeLength = 0;
    int i_EngineDuration = 0;

    QPoint pt_DragOrigin;
    QPoint pt_DragNow;
    int i_DragStartLeft = 0;
    int i_DragStartTop = 0;
    bool b_WindowDragging = false;

    platform::EngineWindowHandle m_engineWindow{this};
    QEventLoop *m_modalLoop = nullptr;
};

extern TProcessForm *ProcessForm;
