#pragma once

// Progress of the running conversion and the stop request, shared with the thread
// that polls. Only atomics: the poll and the stop button never wait for the
// converting thread.

#include <cstdint>

namespace krodec::convert::progress {

// A new conversion starts: counters back to "still seeking".
void reset();

// One more frame went into the encoder; outputSeconds is its time in the output.
void frameEncoded(double outputSeconds);

// Seconds done, frames per second of the conversion, frame number.
void read(int32_t info[3]);

void requestStop();
bool stopRequested();
// The request has been answered; called when a conversion call returns, so a stop
// that arrives just before the call starts still stops it.
void clearStop();

} // namespace krodec::convert::progress
