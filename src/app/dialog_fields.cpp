// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/dialog_fields.h"

#include <charconv>
#include <cmath>

#include "model/number_text.h"

namespace dorvo {

namespace {

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == text.npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

/// Drops a leading "+", which the number readers below do not take.
std::string_view withoutPlus(std::string_view text) {
    if (text.starts_with('+') && text.size() > 1 && text[1] != '-') text.remove_prefix(1);
    return text;
}

Failure refused(std::string_view label, const std::string& what) {
    return Failure{literalMessage(std::string(label) + "：" + what)};
}

/// The value of a text that is one whole number, blanks around it allowed.
std::optional<double> wholeNumber(std::string_view typed) {
    const std::string_view text = withoutPlus(trimmed(typed));
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    const bool whole = error == std::errc() && end == text.data() + text.size() && !text.empty();
    if (!whole || !std::isfinite(value)) return std::nullopt;
    return value;
}

}  // namespace

Result<int> typedInteger(std::string_view typed, std::string_view label,
                         std::optional<IntRange> range) {
    const std::string_view text = withoutPlus(trimmed(typed));
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    const bool whole = error == std::errc() && end == text.data() + text.size() && !text.empty();
    if (!whole) {
        if (!range) return refused(label, "整数を入力してください。");
        return refused(label, formatC("整数を入力してください。範囲は %d から %d までです。",
                                      range->low, range->high));
    }
    if (range && (value < range->low || value > range->high)) {
        return refused(
            label, formatC("%d から %d までの整数を入力してください。", range->low, range->high));
    }
    return value;
}

Result<double> typedReal(std::string_view typed, std::string_view label, RealRange range) {
    const std::optional<double> value = wholeNumber(typed);
    if (!value || *value < range.low || *value > range.high) {
        return refused(label,
                       formatC("%g から %g までの数値を入力してください。", range.low, range.high));
    }
    return *value;
}

Result<std::string> typedNumberText(std::string_view typed, std::string_view label,
                                    CellStorage storage) {
    if (!trimmed(typed).empty() && !wholeNumber(typed)) {
        return refused(label, "数値を入力してください。");
    }
    Result<std::string> stored = toStorableText(typed, storage);
    if (!stored) return refused(label, stored.error().text);
    return stored;
}

Result<std::string> typedText(std::string_view typed, std::string_view label) {
    Result<std::string> stored = toStorableText(typed, CellStorage::WholeLine);
    if (!stored) return refused(label, stored.error().text);
    if (stored->size() > kDialogTextLimit) {
        return refused(label, formatC("%zu バイトを超える文字は保存できません", kDialogTextLimit));
    }
    return stored;
}

}  // namespace dorvo
