// The start command's conversion: from the output folder as current directory to the
// renumbered list after the job.
#include "mainform/TMainForm.h"

#include "common/DeviceType.h"
#include "mainform/DevicePanel.h"
#include "options/Options.h"
#include "process/ProgressRules.h"
#include "process/TProcessForm.h"

#include <QDir>
#include <QLabel>

#include <algorithm>
#include <memory>

namespace {

// The job's view of the list and the panel.
class MainFormJobSource : public JobSource {
public:
    explicit MainFormJobSource(const TMainForm &form)
        : m_form(form)
    {
    }

    std::optional<Entry> ClipEntry(int index) const override
    {
        const TVideoInfo *entry = m_form.ClipAt(index);
        if (!entry)
            return std::nullopt;
        Entry e;
        e.supported = entry->IsSupported();
        ClipValues &v = e.values;
        v.filePath = entry->FilePath();
        v.sourceNumber = entry->SourceNumber();
        v.duration = entry->Duration();
        v.startTime = entry->StartTime();
        v.endTime = entry->EndTime();
        const ClipPicture picture = entry->Picture();
        v.width = picture.width;
        v.height = picture.height;
        v.aspectIndex = entry->AspectIndex();
        v.useDisplayAspect = entry->b_UseDisplayAspect;
        v.outputName = entry->Label_OutputName ? entry->Label_OutputName->text() : QString();
        return e;
    }

    PanelValues Panel(int deviceType) const override { return m_form.Devices->CurrentValues(deviceType); }

private:
    const TMainForm &m_form;
};

} // namespace

void TMainForm::ConvertClips()
{
    QDir::setCurrent(g_s_OutputFolder);
    CloseFrameSource();
    // Commands are held during the close; still, a list without anything to convert is not handed on.
    const auto supported = [](const TVideoInfo *e) { return e->IsSupported(); };
    if (std::none_of(Clips.cbegin(), Clips.cend(), supported))
        return;

    // Files the user already has in the device's folder are never written over: the list
    // moves on to numbers whose names are free, and shows them before the job starts.
    const int count = static_cast<int>(Clips.size());
    const int freeBase =
        FreeSerialBase(i_OutputPSPSerialNumber, count, DeviceType, g_s_OutputFolder + DeviceSubFolder(DeviceType));
    if (freeBase != i_OutputPSPSerialNumber) {
        i_OutputPSPSerialNumber = freeBase;
        RenumberOutputNames();
    }

    if (ProcessForm) {
        // The job reads the list until it ends; a disc removed meanwhile clears it afterwards.
        b_Converting = true;
        const std::unique_ptr<bool, void (*)(bool *)> done(&b_Converting, [](bool *flag) { *flag = false; });
        const MainFormJobSource source(*this);
        ProcessForm->StartJob(DeviceType, source);
    }

    i_OutputPSPSerialNumber += count;
    RenumberOutputNames();
    ReleaseHeldCommands();
}
