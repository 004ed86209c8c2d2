// The main window's disc watch: a DVD-Video disc that arrives while the list is empty is
// remembered, and its removal clears the list.
#include "mainform/TMainForm.h"

void TMainForm::WatchDiscs(platform::MountWatcher *watcher)
{
    delete DiscWatcher;
    DiscWatcher = watcher;
    if (!watcher)
        return;
    watcher->setParent(this);
    connect(watcher, &platform::MountWatcher::volumeArrived, this,
            [this](const platform::MountEntry &volume) { OnDeviceChange(VolumeEvent::Arrived, volume); });
    connect(watcher, &platform::MountWatcher::volumeRemoved, this,
            [this](const platform::MountEntry &volume) { OnDeviceChange(VolumeEvent::Removed, volume); });
}

void TMainForm::OnDeviceChange(VolumeEvent event, const platform::MountEntry &volume)
{
    // The list stays as it is during an engine wait or a job; the disc is looked at after.
    if (HoldWhileListHeld([this, event, volume] { OnDeviceChange(event, volume); }))
        return;
    if (event == VolumeEvent::Arrived) {
        if (Clips.isEmpty())
            CheckDiscInDrive(volume);
        return;
    }
    if (DiscDecision(event, volume, Clips.isEmpty(), s_DiscDrive, {}) == DiscAction::ClearList)
        ClearClips();
}

void TMainForm::CheckDiscInDrive(const platform::MountEntry &volume)
{
    // Only a disc mount is asked for its volume and folders.
    const VolumeFacts facts = platform::IsDiscMount(volume) ? ReadVolumeFacts(volume.mountPoint) : VolumeFacts();
    if (DiscDecision(VolumeEvent::Arrived, volume, Clips.isEmpty(), s_DiscDrive, facts) == DiscAction::RememberDisc)
        s_DiscDrive = volume.mountPoint;
}
