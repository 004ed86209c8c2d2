// The length of a transport or program stream whose time stamps jump: recordings joined end to
// end, broadcasts where the encoder restarted. The demuxer's own length runs from the first time
// stamp to the last and counts the jumps; this one leaves them out, as a conversion does.
#pragma once

#include "Ffmpeg.h"

namespace krodec {

class Interrupt;

// Seconds from `origin` (seconds of the time stamps) to the end of the file with the jumps taken
// out, or a negative value when no jump was found (the demuxer's length holds then). Looks at time
// stamps spread over the file and reads through the stretches where they jump. Leaves the demuxer
// anywhere: the caller seeks afterwards.
double lengthWithoutJumps(AVFormatContext *format, const AVStream *reference, double origin,
                          const Interrupt &interrupt);

} // namespace krodec
