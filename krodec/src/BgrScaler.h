// Turns a decoded frame into the picture the program shows: width x height pixels of blue, green,
// red bytes, rows top first without padding. The whole stored picture is scaled to the asked size;
// the caller has already given that size the picture's display shape.
#pragma once

#include "Ffmpeg.h"

#include <cstdint>
#include <vector>

namespace krodec {

class BgrScaler {
public:
    // Fills `pixels` with width x height x 3 bytes (it may keep a few bytes more capacity).
    // False when the frame cannot be converted; `pixels` is then black.
    bool scale(const AVFrame &frame, int width, int height, std::vector<uint8_t> &pixels);

    // Largest side the engine scales to; larger requests are refused.
    static constexpr int kMaxSide = 8192;

private:
    SwsPtr context_;
};

// Sets `pixels` to width x height black BGR pixels. False when the size is not usable.
bool blackPicture(int width, int height, std::vector<uint8_t> &pixels);

} // namespace krodec
