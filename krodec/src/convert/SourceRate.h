#pragma once

// The frame rate of a request that asks to keep the source's own ("source").

#include "convert/ConvertRequest.h"

extern "C" {
#include <libavformat/avformat.h>
}

#include <optional>

namespace krodec::convert {

// The rate a stream is shown at: its average rate when the frames come at a steady pace
// (the average agrees with the rate guessed from the time stamps), else the guessed rate,
// which for a variable-rate source is the pace its frames are laid out on. Empty when
// neither is known.
std::optional<Rational> streamFrameRate(AVRational average, AVRational guessed);

// The rate to convert a stream at when the request keeps the source's own: the stream's
// rate, 29.97 (the video profiles' rate before) when it cannot be read.
Rational sourceFrameRate(AVFormatContext *format, AVStream *stream);

} // namespace krodec::convert
