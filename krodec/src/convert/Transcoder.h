#pragma once

// One conversion from start to finish: read, decode, filter, encode, write.

#include "KrodecDLL.h"
#include "convert/ConvertRequest.h"

namespace krodec::convert {

// 0 when the clip was converted or stopped (the part done is kept), -1 on failure,
// in which case no file is left behind.
int runConversion(const ConvertRequest &request, KrodecWindow *window);

} // namespace krodec::convert
