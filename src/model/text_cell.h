// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace dorvo {

/// Whether a cell holds a value: −1 empty or blank, 0 text, 1 starts like a number.
enum class CellKind { Empty = -1, Text = 0, Number = 1 };

/// Classifies a cell by its first non-blank character.
CellKind classifyCell(std::string_view text);

/// Returns true when the cell starts like a number, the presence rule of every table.
inline bool isPresent(std::string_view text) {
    return classifyCell(text) == CellKind::Number;
}

struct FirstField {
    std::string field;
    std::size_t consumed = 0;  // characters up to and including the ending comma; 0 at the end
};

/// Splits off the first comma field, toggling quoting at double quotes.
FirstField splitFirstField(std::string_view text);

inline constexpr std::size_t kCsvLineLimit = 2600;

enum class CsvStatus { EmptyLine = -1, Missing = 0, Found = 1 };

struct CsvField {
    CsvStatus status = CsvStatus::EmptyLine;
    std::string text;
    bool truncated = false;  // the line was longer than kCsvLineLimit and was cut
};

/// Returns field n (from 1) of a comma-separated line.
CsvField csvField(std::string_view line, int n);

struct TextAfter {
    std::size_t position = 0;  // index of the separator plus 1; 0 when absent
    std::string text;
};

/// Returns the text after the first occurrence of the separator.
TextAfter textAfter(std::string_view text, std::string_view separator);

}  // namespace dorvo
