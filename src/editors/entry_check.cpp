// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/entry_check.h"

#include "model/number_text.h"
#include "model/text_cell.h"

namespace dorvo {

namespace {

constexpr double kSmallestCoordinate = 0.0001;
constexpr double kLargestCoordinate = 99999.9;
constexpr int kLargestLayerNumber = 9999;

bool inRange(std::string_view key, KeyRange range) {
    if (range == KeyRange::LayerNumber) {
        const int value = readInteger(key);
        return value >= 0 && value <= kLargestLayerNumber;
    }
    const double value = readReal(key);
    return value >= kSmallestCoordinate && value <= kLargestCoordinate;
}

}  // namespace

std::optional<Message> checkKey(std::string_view key, KeyRange range) {
    if (!isPresent(key)) return makeMessage(MessageId::NoValidData);
    if (!inRange(key, range)) return makeMessage(MessageId::AbnormalNumber);
    return std::nullopt;
}

std::optional<Message> checkEntryFields(const TableRow& fields, KeyRange range) {
    if (isEmptyRow(fields)) return makeMessage(MessageId::NoValidData);
    return checkKey(fields.front(), range);
}

std::optional<Message> checkOptionalCoordinate(std::string_view text) {
    if (text.empty()) return std::nullopt;
    if (!isPresent(text)) return makeMessage(MessageId::NoValidData);
    const double value = readReal(text);
    if (value < 0.0 || value > kLargestCoordinate) return makeMessage(MessageId::AbnormalNumber);
    return std::nullopt;
}

std::string twoDecimals(std::string_view number) {
    return formatC("%.2f", readReal(number));
}

}  // namespace dorvo
