#pragma once

#include <QString>

namespace platform {

// What the desktop does outside the program. Results are not reported: a missing browser,
// mail program or updater changes nothing. Tests install a double that records calls.
class Shell {
public:
    virtual ~Shell() = default;
    // A folder, web address or mail link.
    virtual void open(const QString &address) = 0;
    // Starts the program of that name in the program folder, detached; never one found in
    // the current directory or on PATH.
    virtual void startProgram(const QString &name) = 0;
    // Asks the system to power off.
    virtual void powerOff() = 0;
};

Shell &shell();
// Not owned; nullptr restores the real shell.
void SetShell(Shell *replacement);

} // namespace platform
