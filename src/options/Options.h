#pragma once

#include "platform/SettingsFile.h"

#include <QString>

// Program-wide settings, loaded once at start-up by the option store.
extern QString g_s_OutputFolder;      // always ends with '/'
extern int i_OutputPSPSerialNumber;   // serial base of output numbers
extern int i_MinDurationTime;         // seconds; -1 when not set
extern QString OpenDialogFilter;      // the add dialog's filter, "description|pattern|..."
extern QString PSPUploadFolder;
extern QString PSPAVCFolder;
extern QString PSPMP4Folder;

// Full path of Option.ini in the program folder, as this user reads or writes it.
QString OptionFilePath(platform::SettingsAccess access = platform::SettingsAccess::Read);
