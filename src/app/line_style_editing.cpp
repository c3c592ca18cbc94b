// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/line_style_editing.h"

#include <algorithm>
#include <stdexcept>

#include "model/encoding.h"
#include "model/number_text.h"

namespace dorvo {

namespace {

std::string shownText(const LineStyleField& field, const ProgramSettings& settings) {
    if (field.kind == LineStyleKind::Integer) return formatInt(settings.*field.number);
    return toDisplayText(settings.*field.text);
}

bool isFirmText(const LineStyleField& field) {
    return field.group == "登録";
}

}  // namespace

std::size_t lineStyleFieldIndex(std::string_view group, std::string_view label) {
    for (std::size_t i = 0; i < kLineStyleFields.size(); ++i) {
        if (kLineStyleFields[i].group == group && kLineStyleFields[i].label == label) return i;
    }
    throw std::out_of_range("no such line-style field");
}

LineStyleForm lineStyleForm(const ProgramSettings& settings) {
    LineStyleForm form;
    for (std::size_t i = 0; i < kLineStyleFields.size(); ++i) {
        form.texts[i] = shownText(kLineStyleFields[i], settings);
    }
    form.decimalsIndex = std::clamp(settings.fsDecimals - kLowestDecimals, 0, kDecimalsChoices - 1);
    return form;
}

void applyLineStyleExample(LineStyleForm& form) {
    const ProgramSettings recommended = recommendedProgramSettings();
    for (std::size_t i = 0; i < kLineStyleFields.size(); ++i) {
        if (!isFirmText(kLineStyleFields[i])) {
            form.texts[i] = shownText(kLineStyleFields[i], recommended);
        }
    }
    form.decimalsIndex = recommended.fsDecimals - kLowestDecimals;
}

void applyDashedSlipRange(LineStyleForm& form) {
    form.texts[lineStyleFieldIndex("すべり面範囲", "太さ")] = "2";
    form.texts[lineStyleFieldIndex("すべり面範囲", "実線部")] = "8";
    form.texts[lineStyleFieldIndex("すべり面範囲", "空白部")] = "8";
    form.texts[lineStyleFieldIndex("すべり面範囲", "色")] = "32768";
}

Status storeLineStyles(const LineStyleForm& typed, ProgramSettings& settings) {
    ProgramSettings stored = settings;
    for (std::size_t i = 0; i < kLineStyleFields.size(); ++i) {
        const LineStyleField& field = kLineStyleFields[i];
        const std::string name = field.name();
        if (field.kind == LineStyleKind::Integer) {
            Result<int> number = typedInteger(typed.texts[i], name, field.range);
            if (!number) return Failure{number.error()};
            stored.*field.number = *number;
        } else {
            Result<std::string> text = typedText(typed.texts[i], name);
            if (!text) return Failure{text.error()};
            stored.*field.text = std::move(text).value();
        }
    }
    stored.fsDecimals = std::clamp(typed.decimalsIndex, 0, kDecimalsChoices - 1) + kLowestDecimals;
    applySettingsRules(stored);
    settings = stored;
    return Done{};
}

}  // namespace dorvo
