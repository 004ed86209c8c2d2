#pragma once

#include <QString>

class QApplication;

namespace platform {

// Top-level windows announce their titles to the user's other processes, so a program can
// ask whether a window with a given title exists (the single-instance test). Each titled
// window holds a per-user local socket named after its title; a socket left behind by a
// crashed process answers nobody and is replaced.
void InstallWindowTitleRegistry(QApplication &app);

// True when a top-level window with exactly this title exists in any process of this user.
bool FindWindowTitled(const QString &title);

// The socket name for a title; exposed for tests.
QString WindowTitleSocketName(const QString &title);

} // namespace platform
