// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/design_dialog_fields.h"

#include <charconv>

#include "app/dialog_fields.h"
#include "app/probability_inputs.h"
#include "model/number_text.h"

namespace dorvo {

namespace {

constexpr RealRange kCoordinates{-1e6, 1e6};

/// A whole number without sign, blanks around it allowed.
template <class T>
Result<T> typedWholeNumber(std::string_view typed, std::string_view label, T low, T high) {
    const auto first = typed.find_first_not_of(' ');
    const auto last = typed.find_last_not_of(' ');
    T value{};
    if (first != typed.npos) {
        const std::string_view digits = typed.substr(first, last - first + 1);
        const auto [end, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), value);
        if (error == std::errc() && end == digits.data() + digits.size() && value >= low &&
            value <= high) {
            return value;
        }
    }
    return Failure{literalMessage(std::string(label) + "：" + std::to_string(low) + "〜" +
                                  std::to_string(high) + " の整数を入力してください。")};
}

}  // namespace

Result<TrialCircle> typedTrialCircle(std::string_view rx, std::string_view ry, std::string_view r) {
    const auto x = typedReal(rx, "中心 X", kCoordinates);
    if (!x) return Failure{x.error()};
    const auto y = typedReal(ry, "中心 Y", kCoordinates);
    if (!y) return Failure{y.error()};
    const auto radius = typedReal(r, "半径 R", {1e-6, 1e6});
    if (!radius) return Failure{radius.error()};
    return TrialCircle{*x, *y, *radius};
}

Result<TrialCircle> typedCircleThroughEnds(std::string_view x1, std::string_view y1,
                                           std::string_view x2, std::string_view y2,
                                           std::string_view depth) {
    double values[5] = {};
    const std::string_view typed[5] = {x1, y1, x2, y2, depth};
    const char* labels[5] = {"端点1 X", "端点1 Y", "端点2 X", "端点2 Y", "深さ"};
    for (int i = 0; i < 5; ++i) {
        const auto value = typedReal(typed[i], labels[i], kCoordinates);
        if (!value) return Failure{value.error()};
        values[i] = *value;
    }
    const auto circle = circleThroughEnds(values[0], values[1], values[2], values[3], values[4]);
    if (!circle) {
        return Failure{
            literalMessage("両端から：異なる 2 点と、弦の中点からの正の深さを入力してください。")};
    }
    return *circle;
}

Result<int> typedLayerNo(std::string_view typed) {
    return typedInteger(typed, "層No.", IntRange{0, 1'000'000});
}

Result<StrengthPair> typedChosenPair(const BackAnalysis& analysis, std::string_view typedPhi) {
    const auto phi = typedReal(typedPhi, "適用する φ", {0.0, 89.9});
    if (!phi) return Failure{phi.error()};
    const StrengthPair pair{*phi, analysis.coAt(*phi)};
    if (pair.co < 0.0) {
        return Failure{literalMessage(formatC(
            "適用する φ：φ %.2f° では Co が負（%.2f）になります。小さい φ を入力してください。",
            pair.phiDegrees, pair.co))};
    }
    return pair;
}

Result<std::int64_t> typedRealisations(std::string_view typed) {
    return typedWholeNumber<std::int64_t>(typed, "回数 N", 1, kMostRealisations);
}

Result<std::uint64_t> typedSeed(std::string_view typed) {
    return typedWholeNumber<std::uint64_t>(typed, "乱数の種", 0, UINT64_MAX);
}

}  // namespace dorvo
