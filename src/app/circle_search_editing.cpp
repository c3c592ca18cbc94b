// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/circle_search_editing.h"

#include "app/dialog_fields.h"
#include "calc/circle_search.h"
#include "model/encoding.h"
#include "model/storable_text.h"

namespace dorvo {

const std::array<CircleSearchFieldPlace, kCircleSearchLines + 1> kCircleSearchFieldPlaces = {{
    {"中心点", "起点座標", "X"},
    {"中心点", "起点座標", "Y"},
    {"中心点", "終点座標", "X"},
    {"中心点", "終点座標", "Y"},
    {"中心点", "きざみ", "ｄX"},
    {"中心点", "きざみ", "ｄY"},
    {"半径設定", "上部すべり面座標", "Y"},
    {"半径設定", "下部すべり面座標", "Y"},
    {"半径設定", "きざみ", "ｄR"},
    {"半径制限指定点", "最小１", "X"},
    {"半径制限指定点", "最小１", "Y"},
    {"半径制限指定点", "最小２", "X"},
    {"半径制限指定点", "最小２", "Y"},
    {"半径制限指定点", "最大", "X"},
    {"半径制限指定点", "最大", "Y"},
    {"地震時水平震度 ", "", "Kh"},
}};

std::string circleSearchFieldName(std::size_t field) {
    const CircleSearchFieldPlace& place = kCircleSearchFieldPlaces.at(field);
    const std::string row = place.row;
    if (row.empty()) {
        std::string group = place.group;
        while (group.ends_with(' ')) group.pop_back();
        return group + " " + place.axis;
    }
    return std::string(place.group) + " " + row + " " + place.axis;
}

CircleSearchTexts circleSearchTexts(const Project& project) {
    CircleSearchTexts texts;
    for (int line = 1; line <= kCircleSearchLines; ++line) {
        texts[static_cast<std::size_t>(line - 1)] = toDisplayText(project.circleSearch.line(line));
    }
    texts.back() = toDisplayText(project.settings.line(settings_line::kKh));
    return texts;
}

Result<StoredCircleSearch> acceptCircleSearch(Project& project, const CircleSearchTexts& typed,
                                              int showing) {
    CircleSearchTexts stored;
    for (std::size_t i = 0; i < typed.size(); ++i) {
        Result<std::string> text =
            typedNumberText(typed[i], circleSearchFieldName(i), CellStorage::WholeLine);
        if (!text) return Failure{text.error()};
        stored[i] = std::move(text).value();
    }
    for (int line = 1; line <= kCircleSearchLines; ++line) {
        project.circleSearch.line(line) = stored[static_cast<std::size_t>(line - 1)];
    }
    project.settings.line(settings_line::kKh) = stored.back();
    const auto search = validCircleSearch(project.circleSearch);
    if (search) return StoredCircleSearch{};
    return StoredCircleSearch{
        showing >= kCircleSearchShowings ? CircleSearchStep::Done : CircleSearchStep::ShowAgain,
        search.error()};
}

}  // namespace dorvo
