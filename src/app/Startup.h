#pragma once

// The program's entry point: version check, single instance, splash, the windows in their
// order, the message loop. Returns the exit code: 0, or -1 when the version record file is
// invalid or another copy runs.
int RunProgram(int argc, char **argv);

// Reads the version record file from the current directory; when it is missing or invalid,
// shows the error box that asks for a new installation and returns false.
bool CheckVersionFile();
