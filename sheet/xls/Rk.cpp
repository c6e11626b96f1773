// RK encoding and decoding.
#include "sheet/xls/Rk.h"

#include <bit>
#include <cmath>

namespace sheet::xls {

namespace {
constexpr std::uint32_t kTimes100 = 0x01;
constexpr std::uint32_t kInteger = 0x02;
constexpr double kIntegerLimit = 536870912.0;  // 2^29: the 30-bit integer's range is -2^29 .. 2^29 - 1
}  // namespace

double rkValue(std::uint32_t rk)
{
    double v = 0;
    if (rk & kInteger)
        v = static_cast<double>(static_cast<std::int32_t>(rk) >> 2);
    else
        v = std::bit_cast<double>(static_cast<std::uint64_t>(rk & 0xFFFFFFFCu) << 32);
    return (rk & kTimes100) ? v / 100 : v;
}

std::optional<std::uint32_t> rkOf(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    const auto same = [&](std::uint32_t rk) {
        return std::bit_cast<std::uint64_t>(rkValue(rk)) == std::bit_cast<std::uint64_t>(value);
    };
    const auto asInteger = [](double v) -> std::optional<std::uint32_t> {
        if (v != std::trunc(v) || v < -kIntegerLimit || v >= kIntegerLimit)
            return std::nullopt;
        return static_cast<std::uint32_t>(static_cast<std::int32_t>(v) * 4) | kInteger;
    };
    const auto asDouble = [](double v) -> std::optional<std::uint32_t> {
        const auto bits = std::bit_cast<std::uint64_t>(v);
        if (bits & 0x3'FFFF'FFFFull)
            return std::nullopt;
        return static_cast<std::uint32_t>(bits >> 32);
    };
    if (auto rk = asInteger(value); rk && same(*rk))
        return rk;
    if (auto rk = asDouble(value); rk && same(*rk))
        return rk;
    // Hundredths: 0.07 * 100 is a hair above 7, yet 7 / 100 reads back as 0.07.
    const double hundredfold = value * 100;
    if (auto rk = asInteger(std::nearbyint(hundredfold)); rk && same(*rk | kTimes100))
        return *rk | kTimes100;
    if (auto rk = asDouble(hundredfold); rk && same(*rk | kTimes100))
        return *rk | kTimes100;
    return std::nullopt;
}

}  // namespace sheet::xls
