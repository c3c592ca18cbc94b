// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "model/result.h"
#include "model/storable_text.h"

namespace dorvo {

/// The longest text, in code page 932 bytes, that a settings dialog stores in one line.
inline constexpr std::size_t kDialogTextLimit = 200;

struct IntRange {
    int low;
    int high;
};

struct RealRange {
    double low;
    double high;
};

// What the user typed into a field of a settings dialog, checked as OK reads it. A failure
// names the field by its label, then says what the field takes.

/// An integer: an optional sign and digits, blanks around them allowed, within the range.
Result<int> typedInteger(std::string_view typed, std::string_view label,
                         std::optional<IntRange> range = std::nullopt);

/// A number with an optional fraction and exponent, within the range.
Result<double> typedReal(std::string_view typed, std::string_view label, RealRange range);

/// A number field as its cell or line stores it, exactly as typed: empty (which keeps its
/// meaning), or one number with an optional sign, fraction and exponent, blanks around it
/// allowed. A decimal comma or letters after the digits are refused, naming the field.
Result<std::string> typedNumberText(std::string_view typed, std::string_view label,
                                    CellStorage storage);

/// A text as a settings line stores it: code page 932, without "$$" or a line end, at most
/// `kDialogTextLimit` bytes.
Result<std::string> typedText(std::string_view typed, std::string_view label);

}  // namespace dorvo
