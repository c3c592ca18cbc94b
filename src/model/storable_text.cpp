// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/storable_text.h"

#include "model/encoding.h"
#include "model/number_text.h"
#include "model/text_cell.h"

namespace dorvo {

namespace {

std::optional<std::string> lineTooLong(std::size_t length) {
    if (length <= kCsvLineLimit) return std::nullopt;
    return formatC("1 行が %zu バイトを超えるため保存できません", kCsvLineLimit);
}

std::optional<Message> problemAt(std::string_view stored, CellStorage storage,
                                 const std::string& place) {
    auto reason = unstorableReason(stored, storage);
    if (!reason) return std::nullopt;
    return literalMessage(place + "：" + *reason);
}

std::optional<Message> unstorableBlock(const Block& block, int row) {
    const std::string place = formatC("ブロック %d", row);
    if (auto problem = problemAt(block.x, CellStorage::JoinedField, place + " の X")) {
        return problem;
    }
    if (auto problem = problemAt(block.lines, CellStorage::BlockLines, place + " の線")) {
        return problem;
    }
    if (auto tooLong = lineTooLong(block.x.size() + 1 + block.lines.size())) {
        return literalMessage(place + "：" + *tooLong);
    }
    return std::nullopt;
}

std::optional<Message> unstorableLayer(const Layer& layer, int row) {
    const std::string place = formatC("層データ %d 行目", row);
    std::size_t length = kLayerCells - 1;
    for (const std::string* cell : layerCells(layer)) {
        if (auto problem = problemAt(*cell, CellStorage::JoinedField, place)) return problem;
        length += cell->size();
    }
    if (auto tooLong = lineTooLong(length)) return literalMessage(place + "：" + *tooLong);
    return std::nullopt;
}

}  // namespace

std::optional<std::string> unstorableReason(std::string_view stored, CellStorage storage) {
    // A whole-line cell may end with the line end the writer would add itself.
    if (storage == CellStorage::WholeLine && stored.ends_with("\r\n")) {
        stored.remove_suffix(2);
    }
    if (stored.find("$$") != stored.npos) return "「$$」を含む文字は保存できません";
    if (stored.find_first_of("\r\n") != stored.npos) return "改行を含む文字は保存できません";
    if (storage == CellStorage::JoinedField && stored.find_first_of(",\"") != stored.npos) {
        return "カンマ（,）や引用符（\"）を含む値は保存できません";
    }
    if (storage == CellStorage::BlockLines && stored.find('"') != stored.npos) {
        return "引用符（\"）を含む値は保存できません";
    }
    if (storage != CellStorage::WholeLine) return lineTooLong(stored.size());
    return std::nullopt;
}

Result<std::string> toStorableText(std::string_view typed, CellStorage storage) {
    auto stored = toStoredText(typed);
    if (!stored) return Failure{literalMessage(notEncodableMessage(typed))};
    if (auto reason = unstorableReason(*stored, storage)) {
        return Failure{literalMessage(*reason)};
    }
    return std::move(*stored);
}

std::optional<Message> findUnstorableCell(const Project& project) {
    for (int line = 1; line <= kSettingsLines; ++line) {
        const std::string place = formatC("設定 %d 行目", line);
        if (auto problem = problemAt(project.settings.line(line), CellStorage::WholeLine, place)) {
            return problem;
        }
    }
    for (int row = 1; row <= calculationBlockRows(project); ++row) {
        if (auto problem = unstorableBlock(project.block(row), row)) return problem;
    }
    for (int row = 1; row <= kMaxLayers && isPresent(project.layer(row).layerNo); ++row) {
        if (auto problem = unstorableLayer(project.layer(row), row)) return problem;
    }
    for (int row = 1; row <= kMaxLoads; ++row) {
        const std::string place = formatC("集中荷重 %d", row);
        const ConcentratedLoad& load = project.load(row);
        if (auto problem = problemAt(load.x, CellStorage::JoinedField, place)) return problem;
        if (auto problem = problemAt(load.force, CellStorage::JoinedField, place)) return problem;
    }
    for (int line = 1; line <= kCircleSearchLines; ++line) {
        const std::string place = formatC("円弧データ %d 行目", line);
        if (auto problem =
                problemAt(project.circleSearch.line(line), CellStorage::WholeLine, place)) {
            return problem;
        }
    }
    return std::nullopt;
}

}  // namespace dorvo
