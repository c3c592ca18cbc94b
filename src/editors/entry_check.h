// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "editors/editor_table.h"
#include "model/messages.h"

namespace dorvo {

/// The values a key may take: a coordinate 0.0001 to 99999.9 as a real number, or a layer
/// number 0 to 9999 as an integer.
enum class KeyRange { Coordinate, LayerNumber };

/// 903 when the key is not number-like, 4006 when its value lies outside the range.
std::optional<Message> checkKey(std::string_view key, KeyRange range);

/// The check before an entry is added: 903 when every field is empty, else the check of the
/// key in the first field.
std::optional<Message> checkEntryFields(const TableRow& fields, KeyRange range);

/// A coordinate that may be left empty, such as a Y-right: else a number 0 to 99999.9.
std::optional<Message> checkOptionalCoordinate(std::string_view text);

/// A number as a coordinate cell shows it once entered: with two decimals.
std::string twoDecimals(std::string_view number);

/// A row that OK refuses and why.
struct RowProblem {
    int row = 0;
    Message message;
};

}  // namespace dorvo
