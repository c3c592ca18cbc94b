// SPDX-License-Identifier: GPL-3.0-or-later
#include "number_options.h"

#include <charconv>

namespace dorvo::cli {

std::optional<int> wholeNumberIn(std::string_view text, int low, int high) {
    if (text.starts_with('+')) text.remove_prefix(1);
    long long value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
    if (value < low || value > high) return std::nullopt;
    return static_cast<int>(value);
}

}  // namespace dorvo::cli
