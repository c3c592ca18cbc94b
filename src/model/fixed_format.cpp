// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/fixed_format.h"

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>

#include "model/number_text.h"

namespace dorvo {

namespace {

constexpr std::array<std::uint64_t, 5> kPowersOfTen = {1, 10, 100, 1000, 10000};

// A 53-bit mantissa times 10^4 needs 67 bits.
__extension__ typedef unsigned __int128 Wide;

/// |value| · 10^precision rounded to the nearest integer, ties to even, as printf rounds the
/// exact binary value; for magnitudes below 1e14 and precisions up to 4.
std::uint64_t scaledAndRounded(double magnitude, int precision) {
    // magnitude = mantissa / 2^shift exactly: the bits of a normal double, or of a subnormal.
    const auto bits = std::bit_cast<std::uint64_t>(magnitude);
    const auto biased = static_cast<int>(bits >> 52);
    const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
    const std::uint64_t mantissa = biased == 0 ? fraction : fraction | (std::uint64_t{1} << 52);
    const int shift = biased == 0 ? 1074 : 1075 - biased;
    const Wide scaled =
        static_cast<Wide>(mantissa) * kPowersOfTen[static_cast<std::size_t>(precision)];
    if (shift <= 0) return static_cast<std::uint64_t>(scaled << -shift);
    if (shift >= 120) return 0;  // below a half at any precision
    const Wide one = 1;
    const auto whole = static_cast<std::uint64_t>(scaled >> shift);
    const Wide rest = scaled & ((one << shift) - 1);
    const Wide half = one << (shift - 1);
    return whole + ((rest > half || (rest == half && (whole & 1) != 0)) ? 1 : 0);
}

}  // namespace

void appendFixed(std::string& out, double value, int width, int precision) {
    // Record values stay far below 1e14: their digits come from integer arithmetic on the
    // exact binary value, written from the last one back. Larger ones, those printf writes as
    // inf or nan, and widths beyond any record's go the long way.
    if (!(std::fabs(value) < 1e14) || precision < 0 || precision > 4 || width > 32) {
        out += formatC("%*.*f", width, precision, value);
        return;
    }
    std::uint64_t rest = scaledAndRounded(std::fabs(value), precision);
    char text[64];  // a sign, 14 digits, a point and 4 decimals, padded to at most 32
    char* const end = text + sizeof text;
    char* first = end;
    for (int place = 0; place < precision; ++place) {
        *--first = static_cast<char>('0' + rest % 10);
        rest /= 10;
    }
    if (precision > 0) *--first = '.';
    do {
        *--first = static_cast<char>('0' + rest % 10);
        rest /= 10;
    } while (rest != 0);
    if (std::signbit(value)) *--first = '-';
    while (end - first < width) *--first = ' ';
    out.append(first, end);
}

}  // namespace dorvo
