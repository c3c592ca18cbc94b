// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace dorvo {

/// Appends `value` as printf's "%*.*f" writes it in the C locale — the same correctly rounded
/// digits, right-aligned in `width` — without printf's cost: the records of a search format
/// millions of numbers.
void appendFixed(std::string& out, double value, int width, int precision);

}  // namespace dorvo
