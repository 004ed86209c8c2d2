// The conversion job of the progress window: the worker thread's body and the steps it
// takes per clip. Everything here except StartJob and RequestStop runs on the worker.
#include "TProcessForm.h"

#include "EngineCall.h"

#include "common/DeviceType.h"
#include "common/TextHelpers.h"
#include "options/Options.h"
#include "platform/Dialogs.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"
#include "skin/ImageButton.h"

#include <QEventLoop>
#include <QLabel>
#include <QThread>
#include <QTimer>

#include <optional>
#include <vector>

namespace {

void EnsureFolder(const QString &folder)
{
    if (!platform::FolderExists(folder))
        platform::CreateFolder(folder);
}

} // namespace

template <typename F>
void TProcessForm::OnMainThread(F &&f)
{
    if (QThread::currentThread() == thread())
        f();
    else
        QMetaObject::invokeMethod(this, std::forward<F>(f), Qt::BlockingQueuedConnection);
}

void TProcessForm::StartJob(int deviceType, const JobSource &source)
{
    if (b_JobRunning)
        return;
    m_source = &source;
    if (h_Thread.joinable())
        h_Thread.join();
    i_DeviceType = deviceType;
    b_Prepared = false;
    b_StopRequested = false;
    b_JobRunning = true;
    // The worker's first window update waits for the loop below, so the reset of the
    // window's show comes first.
    h_Thread = std::thread([this] { RunJob(); });

    QEventLoop loop;
    m_modalLoop = &loop;
    setWindowModality(Qt::ApplicationModal);
    show();
    raise();
    activateWindow();
    if (isVisible())
        loop.exec();
    m_modalLoop = nullptr;
    // The window closes only after the end message, which is the worker's last act.
    if (!b_JobRunning && h_Thread.joinable())
        h_Thread.join();
    if (!b_JobRunning)
        m_source = nullptr;
}

int TProcessForm::RunJob()
{
    int result = JobFailed;
    try {
        PrepareJob();
        i_ClipIndex = 0;
        b_StopRequested = false;
        while (!b_StopRequested) {
            bool refused = false;
            OnMainThread([&] {
                const std::optional<JobSource::Entry> entry = m_source->ClipEntry(i_ClipIndex);
                refused = entry && !entry->supported;
            });
            if (refused) {
                ++i_ClipIndex;
                continue;
            }
            result = ConvertClip(i_ClipIndex);
            if (result == JobFinished || result == JobNoEngine || result == JobFailed)
                break;
            ++i_ClipIndex;
        }
    } catch (...) {
        // Nothing may leave the thread; the job ends as a failed conversion.
        OnMainThread([this] { Timer_Info->stop(); });
        UnloadEngine();
        result = JobFailed;
    }
    platform::PostWindowMessage(this, WM_JOB_ENDED, result, 0);
    return result;
}

int TProcessForm::ConvertClip(int index)
{
    PrepareJob();
    if (!PrepareClip(index))
        return JobFinished;
    if (!LoadEngine())
        return JobNoEngine;
    OnMainThread([this] {
        suiImageButton_StopConvert->setEnabled(false);
        Timer_Info->start();
    });
    const int result = CallEngine();
    OnMainThread([this] { Timer_Info->stop(); });
    UnloadEngine();
    return result;
}

int TProcessForm::CallEngine()
{
    return CallConversion(p_Engine, m_engineWindow.handle(), i_DeviceType, ConversionTexts(m_job, m_clip, i_DeviceType));
}

bool TProcessForm::LoadEngine()
{
    OnMainThread([this] { repaint(); });
    engine::EngineLibrary library;
    engine::ConversionFunctions functions;
    if (!library.Load(functions))
        return false;
    OnMainThread([&] {
        h_Engine = std::move(library);
        p_Engine = functions;
    });
    return true;
}

void TProcessForm::UnloadEngine()
{
    engine::EngineLibrary library;
    // Taken away on the main thread, between poll calls; freed here.
    OnMainThread([&] {
        library = std::move(h_Engine);
        p_Engine = engine::ConversionFunctions();
    });
    library.Release();
}

void TProcessForm::RequestStop()
{
    if (!Timer_Info->isActive() || !h_Engine.IsLoaded())
        return;
    const platform::MessageAnswer answer =
        platform::dialogs().showMessage(platform::MessageKind::Confirmation, QStringLiteral("Do you want to stop process?"));
    if (answer != platform::MessageAnswer::Yes)
        return;
    b_StopRequested = true;
    // The clip may have ended while the question was open.
    if (h_Engine.IsLoaded() && p_Engine.StopConvert)
        p_Engine.StopConvert();
    Timer_Info->stop();
}

void TProcessForm::PrepareJob()
{
    EnsureFolder(g_s_OutputFolder);
    if (b_Prepared.exchange(true))
        return;
    PanelValues panel;
    panel.deviceType = i_DeviceType;
    OnMainThread([&] { panel = m_source->Panel(i_DeviceType); });
    const QString folder = platform::ProgramFolder();
    const platform::IniFile settings(folder + QStringLiteral("PfSetting.ini"));
    const platform::IniFile definition(folder + QStringLiteral("PfDef.dll"));
    m_job = PrepareJobArguments(panel, g_s_OutputFolder, settings, definition);
    EnsureFolder(m_job.s_OutputDir);
}

bool TProcessForm::PrepareClip(int index)
{
    std::optional<ClipValues> values;
    OnMainThread([&] {
        if (const std::optional<JobSource::Entry> entry = m_source->ClipEntry(index))
            values = entry->values;
    });
    if (!values)
        return false;
    m_clip = PrepareClipArguments(*values, m_job, i_DeviceType, i_MinDurationTime);
    i_ClipIndex = index;
    OnMainThread([&] {
        i_ClipStart = m_clip.i_ClipStart;
        i_RangeLength = m_clip.i_RangeLength;
        i_EngineDuration = m_clip.i_EngineDuration;
        Label_StartTime->setText(TimeText(values->startTime));
        Label_StopTime->setText(TimeText(values->endTime));
        Label_Length->setText(TimeText(m_clip.i_EngineDuration));
        Label_CurrentTime->setText(TimeText(0));
        Label_TitleName->setText(values->filePath);
        Label_DesName->setText(values->outputName);
        Label_FPS->setText(QStringLiteral("0"));
        Label_CurrentFrame->setText(QStringLiteral("0"));
        ShowProgressPercent(0);
    });
    return true;
}
