#pragma once

// The frame rate of a request that asks to keep the source's own ("source").

#include "convert/ConvertRequest.h"

extern "C" {
#include <libavutil/rational.h>
}

#include <optional>

namespace krodec::convert {

// The rate a stream is shown at: its average rate when the frames come at a steady pace
// (the average agrees with the rate guessed from the time stamps), else the guessed rate,
// which for a variable-rate source is the pace its frames are laid out on. Empty when
// neither is known.
std::optional<Rational> streamFrameRate(AVRational average, AVRational guessed);

// Reads the rate of the video stream the conversion will read into the request; a source
// whose rate cannot be read is taken as 29.97, the rate of the video profiles before.
// Requests with a fixed rate pass unchanged.
std::optional<ConvertRequest> withSourceFrameRate(std::optional<ConvertRequest> request);

} // namespace krodec::convert
