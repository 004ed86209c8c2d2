#include "DisplayAspect.h"

#include <cmath>
#include <limits>

int AspectIndexOfCode(int aspectCode)
{
    switch (aspectCode) {
    case 1:
        return AspectSquare;
    case 2:
        return Aspect4x3;
    case 3:
        return Aspect16x9;
    case 4:
        return Aspect221x1;
    default:
        return AspectOwn;
    }
}

double DisplayAspect(int aspectIndex, int width, int height)
{
    switch (aspectIndex) {
    case Aspect4x3:
        return 4.0 / 3.0;
    case Aspect16x9:
        return 16.0 / 9.0;
    case AspectSquare:
        return 1.0;
    case Aspect221x1:
        return 2.21;
    default:
        return static_cast<double>(width) / static_cast<double>(height);
    }
}

namespace {

// Cuts a finite value toward zero, saturating where it does not fit.
std::int64_t cut(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= 9.2e18)
        return std::numeric_limits<std::int64_t>::max();
    if (value <= -9.2e18)
        return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(value);
}

// p is the rounded result, residual the exact error (exact - p) measured with a fused
// multiply-add. Where p is a whole number, the sign of the error decides the cut.
std::int64_t cutExact(double p, double residual)
{
    if (!std::isfinite(p))
        return cut(p);
    const double whole = std::trunc(p);
    if (whole == p) {
        if (p > 0 && residual < 0)
            return cut(whole) - 1;
        if (p < 0 && residual > 0)
            return cut(whole) + 1;
    }
    return cut(whole);
}

} // namespace

std::int64_t TruncatedProduct(std::int64_t n, double v)
{
    const double dn = static_cast<double>(n);
    const double p = dn * v;
    return cutExact(p, std::fma(dn, v, -p));
}

std::int64_t TruncatedQuotient(std::int64_t n, double v)
{
    const double dn = static_cast<double>(n);
    const double q = dn / v;
    if (!std::isfinite(q) || v == 0)
        return cut(q);
    // exact remainder n - q·v: its sign against v's tells whether q is above the true quotient.
    const double remainder = std::fma(-q, v, dn);
    return cutExact(q, v > 0 ? remainder : -remainder);
}
