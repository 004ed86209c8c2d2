// The main window's work that belongs to adding files, the device panel, the conversion and
// the preview. The window calls these at the right moments; each part fills its own.
#include "mainform/TMainForm.h"
