// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/project_file.h"

#include "model/line_io.h"
#include "model/number_text.h"
#include "model/results_format.h"
#include "model/storable_text.h"
#include "model/text_cell.h"

namespace dorvo {

namespace {

constexpr std::string_view kCrLf = "\r\n";

void reportAtLine(const ProjectReadState& state, std::string_view text, MessageSink& messages) {
    Message message = literalMessage(text);
    if (!state.source.empty()) {
        message.where = std::string(state.source) + ":" + formatInt(state.lineNumber);
    }
    messages.report(message);
}

void reportTooManyCsv(const ProjectReadState& state, MessageSink& messages) {
    reportAtLine(state, "too many csv", messages);
}

/// Reports at its first line something of the file that the tables cannot hold and the next
/// save would drop.
void reportLoss(ProjectReadState& state, const std::string& text, MessageSink& messages) {
    if (state.reportedLosses.insert(text).second) reportAtLine(state, text, messages);
}

std::string rowsBeyondMessage(std::string_view table, int limit) {
    return formatC("%.*sは %d 行までです。%d 行目からは読み込みません",
                   static_cast<int>(table.size()), table.data(), limit, limit + 1);
}

std::string fieldOrEmpty(const ProjectReadState& state, std::string_view line, int n,
                         MessageSink& messages) {
    CsvField field = csvField(line, n);
    if (field.truncated) reportTooManyCsv(state, messages);
    return field.status == CsvStatus::Found ? std::move(field.text) : std::string();
}

void parseTableLine(ProjectReadState& state, Project& project, std::string_view line,
                    MessageSink& messages) {
    const int row = state.row;
    switch (state.section) {
        case 'Z':
            if (row > kSettingsLines) {
                reportLoss(state, rowsBeyondMessage("設定", kSettingsLines), messages);
                break;
            }
            project.settings.line(row) = line;
            break;
        case 'B':
            if (row > kMaxBlocks) {
                reportLoss(state, rowsBeyondMessage("ブロック", kMaxBlocks), messages);
                break;
            }
            project.block(row).x = fieldOrEmpty(state, line, 1, messages);
            project.block(row).lines = textAfter(line, ",").text;
            break;
        case 'S': {
            if (row > kMaxLayers) {
                reportLoss(state, rowsBeyondMessage("層データ", kMaxLayers), messages);
                break;
            }
            auto cells = layerCells(project.layer(row));
            for (int n = 1; n <= kLayerCells; ++n) {
                *cells[static_cast<std::size_t>(n - 1)] = fieldOrEmpty(state, line, n, messages);
            }
            if (csvField(line, kLayerCells + 1).status == CsvStatus::Found) {
                reportLoss(state,
                           formatC("層データの値は %d 個までです。%d 個目からは読み込みません",
                                   kLayerCells, kLayerCells + 1),
                           messages);
            }
            break;
        }
        case 'F':
            if (row > kMaxLoads) {
                reportLoss(state, rowsBeyondMessage("集中荷重", kMaxLoads), messages);
                break;
            }
            project.load(row).x = fieldOrEmpty(state, line, 1, messages);
            project.load(row).force = fieldOrEmpty(state, line, 2, messages);
            break;
        case 'R':
            if (row > kCircleSearchLines) {
                reportLoss(state, rowsBeyondMessage("円弧データ", kCircleSearchLines), messages);
                break;
            }
            project.circleSearch.line(row) = line;
            break;
        default:
            break;
    }
}

bool isKnownSection(char letter) {
    return std::string_view("ZBSFR_").find(letter) != std::string_view::npos;
}

Failure notAProjectFile(std::string_view source) {
    return Failure{
        literalMessage("プロジェクトファイルではありません\n( " + std::string(source) + " )")};
}

void writeLine(std::ostream& out, std::string_view text) {
    out << text;
    if (!text.ends_with(kCrLf)) out << kCrLf;
}

}  // namespace

void parseProjectLine(ProjectReadState& state, Project& project, std::string_view line,
                      MessageSink& messages) {
    line = withoutLineEnd(line);
    if (isSectionLine(line)) {
        if (line.size() > 2) {
            state.section = line[2];
            state.row = 1;
            if (!isKnownSection(state.section)) {
                reportLoss(state, "不明なセクションです。次のセクションまで読み込みません",
                           messages);
            }
        }
        return;
    }
    switch (state.section) {
        case 'Z':
        case 'B':
        case 'S':
        case 'F':
        case 'R':
            parseTableLine(state, project, line, messages);
            if (state.row <= kSettingsLines) ++state.row;
            break;
        case '_':
        case '\0':
            // Text between the header and the first table; a blank line holds nothing to lose.
            if (line.find_first_not_of(' ') != line.npos) {
                reportLoss(state, "先頭行と最初のセクションの間の行は読み込みません", messages);
            }
            break;
        default:
            break;  // an unknown section, reported at its section line
    }
}

Status readProjectLines(Project& project, std::istream& in, std::ostream& results,
                        std::string_view source, MessageSink& messages) {
    clearProject(project);
    ProjectReadState state;
    state.source = source;
    std::string line;
    bool inResults = false;
    while (readRawLine(in, line)) {
        ++state.lineNumber;
        // Every project file opens with a section line, normally the header.
        if (state.lineNumber == 1 && !isSectionLine(line)) {
            ensureDefaults(project);
            return notAProjectFile(source);
        }
        if (!inResults && startsResults(line)) inResults = true;
        if (inResults) {
            results << withoutLineEnd(line) << kCrLf;
        } else {
            parseProjectLine(state, project, line, messages);
        }
    }
    ensureDefaults(project);
    results.flush();
    if (in.bad()) {
        return Failure{
            literalMessage("ファイルを最後まで読めませんでした\n( " + std::string(source) + " )")};
    }
    if (state.lineNumber == 0) return notAProjectFile(source);
    if (!results) return Failure{literalMessage("計算結果を書き込めませんでした")};
    return Done{};
}

Status writeProject(const Project& project, std::ostream& out, std::istream* results) {
    if (auto unstorable = findUnstorableCell(project)) return Failure{*unstorable};
    out << kProjectHeader << kCrLf << "$$Z" << kCrLf;
    for (const std::string& line : project.settings.lines) writeLine(out, line);
    out << "$$B" << kCrLf;
    for (int row = 1; row <= calculationBlockRows(project); ++row) {
        const Block& block = project.block(row);
        out << block.x << ',' << block.lines << kCrLf;
    }
    out << "$$S" << kCrLf;
    for (const Layer& layer : project.layers) {
        if (!isPresent(layer.layerNo)) break;
        const char* separator = "";
        for (const std::string* cell : layerCells(layer)) {
            out << separator << *cell;
            separator = ",";
        }
        out << kCrLf;
    }
    out << "$$F" << kCrLf;
    for (const ConcentratedLoad& load : project.loads) out << load.x << ',' << load.force << kCrLf;
    out << "$$R" << kCrLf;
    for (const std::string& line : project.circleSearch.lines) writeLine(out, line);
    if (results != nullptr && !copyStream(*results, out)) {
        return Failure{makeMessage(MessageId::CouldNotSave)};
    }
    out.flush();
    if (!out) return Failure{makeMessage(MessageId::CouldNotSave)};
    return Done{};
}

}  // namespace dorvo
