#pragma once

// The program's entry point: version check, single instance, splash, the windows in their
// order, the message loop. Returns the exit code: 0, or -1 when the version record file is
// invalid or another copy runs.
int RunProgram(int argc, char **argv);
