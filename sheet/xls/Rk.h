// RK values: numbers in four bytes, as cell records (RK, MULRK) keep them. Either a 30-bit
// integer or the top 30 bits of a double whose other bits are zero, either of them possibly to be
// divided by 100.
#pragma once

#include <cstdint>
#include <optional>

namespace sheet::xls {

double rkValue(std::uint32_t rk);
// The RK that reads back as exactly this number, bit for bit; nullopt when there is none.
std::optional<std::uint32_t> rkOf(double value);

}  // namespace sheet::xls
