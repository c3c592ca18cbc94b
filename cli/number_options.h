// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string_view>

namespace dorvo::cli {

/// The whole number a command-line value spells, when it lies within [low, high]: decimal
/// digits after an optional sign, nothing else.
std::optional<int> wholeNumberIn(std::string_view text, int low, int high);

}  // namespace dorvo::cli
