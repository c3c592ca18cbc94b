#include "model/project_file.h"

#include "model/line_io.h"
#include "model/number_text.h"
#include "model/storable_text.h"
#include "model/text_cell.h"

namespace dorvo {

namespace {

constexpr std::string_view kCrLf = "\r\n";

void reportTooManyCsv(const ProjectReadState& state, MessageSink& messages) {
    Message message = literalMessage("too many csv");
    if (!state.source.empty()) {
        message.where = std::string(state.source) + ":" + formatInt(state.lineNumber);
    }
    messages.report(message);
}

std::string fieldOrEmpty(const ProjectReadState& state, std::string_view line, int n,
                         MessageSink& messages) {
    CsvField field = csvField(line, n);
    if (field.truncated) reportTooManyCsv(state, messages);
    return field.status == CsvStatus::Found ? std::move(field.text) : std::string();
}

void parseTableLine(const ProjectReadState& state, Project& project, std::string_view line,
                    MessageSink& messages) {
    const int row = state.row;
    switch (state.section) {
        case 'Z':
            if (row <= kSettingsLines) {
                project.settings.line(row) = line;
                refreshFigureWindowLine(project, row);
            }
            break;
        case 'B':
            if (row <= kMaxBlocks) {
                Block& block = project.block(row);
                block.x = fieldOrEmpty(state, line, 1, messages);
                block.lines = textAfter(line, ",").text;
            }
            break;
        case 'S':
            if (row <= kMaxLayers) {
                auto cells = layerCells(project.layer(row));
                for (int n = 1; n <= kLayerCells; ++n) {
                    *cells[static_cast<std::size_t>(n - 1)] =
                        fieldOrEmpty(state, line, n, messages);
                }
            }
            break;
        case 'F':
            if (row <= kMaxLoads) {
                project.load(row).x = fieldOrEmpty(state, line, 1, messages);
                project.load(row).force = fieldOrEmpty(state, line, 2, messages);
            }
            break;
        case 'R':
            if (row <= kCircleSearchLines) project.circleSearch.line(row) = line;
            break;
        default:
            break;
    }
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
        default:
            break;
    }
}

bool startsResults(std::string_view line) {
    return line.find("$$RSLT") != line.npos || line.find("$$CSV") != line.npos;
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
