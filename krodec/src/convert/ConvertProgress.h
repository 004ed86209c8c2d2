#pragma once

// Progress of the running conversion and the stop request, shared with the thread
// that polls. Only atomics: the poll and the stop button never wait for the
// converting thread.

#include <cstdint>

namespace krodec::convert::progress {

// A new conversion starts: counters back to "still seeking".
void reset();

// Frame number `frame` went into the encoder; outputSeconds is its time in the output.
void frameEncoded(double outputSeconds, int64_t frame);
// Sound of a video conversion went into its encoder. When it runs more than a second ahead of
// the picture (one that does not decode for a while) it moves the counters, as if the frames of
// its time had been made: the conversion is under way, not seeking.
void soundEncoded(double outputSeconds, double frameRate);

// Seconds done, frames per second of the conversion, frame number.
void read(int32_t info[3]);

void requestStop();
bool stopRequested();
// The request has been answered; called when a conversion call returns, so a stop
// that arrives just before the call starts still stops it.
void clearStop();

} // namespace krodec::convert::progress
