// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace dorvo {

/// Reads the longest decimal-integer prefix (blanks, sign, digits); 0 when there is none.
/// Values beyond the int range are clamped to it.
int readInteger(std::string_view text);

/// Reads the longest decimal-real prefix (blanks, sign, digits, fraction, exponent); 0 when
/// there is none. Like the C conversion, an overflowing value becomes ±infinity.
double readReal(std::string_view text);

/// Reads a colour value 0x00BBGGRR with automatic base ("0x" hex, "0" octal, else decimal);
/// text that is not a number gives 0 (black).
std::uint32_t readColour(std::string_view text);

/// Formats a colour as the colour picker writes it, "0x%06x".
std::string formatColour(std::uint32_t colour);

/// Formats with a C format string in the C locale, whatever the process locale, so that
/// records match the stored files byte for byte.
std::string formatC(const char* format, ...) __attribute__((format(printf, 1, 2)));

std::string formatInt(int value);

}  // namespace dorvo
