#pragma once

#include <cstdint>

// Display shape index of a clip (i_AspectIndex) and its width over height.
enum AspectIndex : int {
    Aspect4x3 = 0,
    Aspect16x9 = 1,
    AspectSquare = 2,
    Aspect221x1 = 3,
    AspectOwn = 4 // the clip's own width over height
};

// The index for the probe's aspect code: 1 square pixels, 2 4:3, 3 16:9, 4 2.21:1; any
// other code takes the picture's own shape.
int AspectIndexOfCode(int aspectCode);

// Display width / height for an index; any index outside 0..3 takes width / height,
// which for a height of 0 is the floating result of the division (infinite or NaN).
double DisplayAspect(int aspectIndex, int width, int height);

// n × v and n / v as if formed exactly, then cut toward zero. The main thread's results
// depend on this: 576 × 4/3 gives 767 and 1080 × 16/9 gives 1919, where rounding the
// product to a double first would give 768 and 1920.
std::int64_t TruncatedProduct(std::int64_t n, double v);
std::int64_t TruncatedQuotient(std::int64_t n, double v);
