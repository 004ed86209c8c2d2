#pragma once

#include "engine/EngineBinding.h"

#include <QStringList>

// The blocking conversion call of a device: the window and mode, the texts of
// ConversionTexts in their order, and the stamp. Returns the engine's result (0 done, -1
// failed); -1 also for a device without a conversion function or too few texts.
int CallConversion(const engine::ConversionFunctions &functions, KrodecWindow *window, int deviceType,
                   const QStringList &texts);
