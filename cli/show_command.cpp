// SPDX-License-Identifier: GPL-3.0-or-later
#include "show_command.h"

#include <fstream>
#include <ostream>
#include <sstream>
#include <system_error>

#include "model/encoding.h"
#include "model/number_text.h"
#include "model/project_file.h"
#include "model/text_cell.h"

namespace dorvo::cli {

namespace {

/// A cell as the terminal may show it: control characters (ESC, BEL, …) become visible
/// escapes such as "\x1b", so a project file cannot retitle the window or clear the screen.
std::string printable(std::string_view stored) {
    std::string text;
    for (char c : toDisplayText(stored)) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f) {
            text += formatC("\\x%02x", byte);
        } else {
            text.push_back(c);
        }
    }
    return text;
}

std::string shown(std::string_view stored) {
    return stored.empty() ? std::string("-") : printable(stored);
}

void printBlocks(const Project& project, std::ostream& out) {
    int count = blockCount(project);
    out << "Blocks (" << count << ")\n";
    for (int row = 1; row <= count; ++row) {
        const Block& block = project.block(row);
        out << "  " << row << ": X " << printable(block.x) << "\n";
        int number = 0;
        for (const BlockLine& line : splitBlockLines(block.lines, BlockLineEnd::LeftAbsent)) {
            out << "      line " << ++number << ": yLeft " << shown(line.yLeft) << ", yRight "
                << shown(line.yRight) << ", layer " << shown(line.layerNo) << "\n";
        }
    }
}

void printLayers(const Project& project, std::ostream& out) {
    int count = layerCount(project);
    out << "Layers (" << count << ")\n";
    out << "  No.  gamma1  gamma2  phi  Co  k  colour\n";
    for (int row = 1; row <= count; ++row) {
        const Layer& layer = project.layer(row);
        out << "  " << shown(layer.layerNo) << "  " << shown(layer.gamma1) << "  "
            << shown(layer.gamma2) << "  " << shown(layer.phi) << "  " << shown(layer.co) << "  "
            << shown(layer.k) << "  " << shown(layer.colour) << "\n";
    }
}

void printLoads(const Project& project, std::ostream& out) {
    out << "Concentrated loads\n";
    for (int row = 1; row <= kMaxLoads; ++row) {
        const ConcentratedLoad& load = project.load(row);
        if (!isPresent(load.x)) continue;
        out << "  " << row << ": X " << printable(load.x) << ", F " << shown(load.force) << "\n";
    }
}

void printCircleSearch(const Project& project, std::ostream& out) {
    out << "Circle search\n";
    for (int line = 1; line <= kCircleSearchLines; ++line) {
        out << "  " << kCircleSearchNames[static_cast<std::size_t>(line - 1)] << " "
            << shown(project.circleSearch.line(line)) << "\n";
    }
}

}  // namespace

void printProject(const Project& project, std::size_t resultLines, std::ostream& out) {
    printBlocks(project, out);
    printLayers(project, out);
    printLoads(project, out);
    printCircleSearch(project, out);
    const ProjectSettings& settings = project.settings;
    out << "Kh " << shown(settings.line(settings_line::kKh)) << "\n";
    out << "Yc " << shown(settings.line(settings_line::kYc)) << "\n";
    out << "Distributed-load layer " << shown(settings.line(settings_line::kLoadLayerNo)) << "\n";
    out << "Result lines " << resultLines << "\n";
}

std::optional<std::size_t> loadForCommandLine(const std::filesystem::path& file, Project& project,
                                              std::ostream& results, MessageSink& messages) {
    std::error_code error;
    std::ifstream in(file, std::ios::binary);
    if (!std::filesystem::is_regular_file(file, error) || !in) {
        messages.report(makeMessage(MessageId::FileNotFound, file.string()));
        return std::nullopt;
    }
    std::ostringstream copy;
    if (Status read = readProjectLines(project, in, copy, file.string(), messages); !read) {
        messages.report(read.error());
        return std::nullopt;
    }
    std::string text = copy.str();
    results << text;
    std::size_t lines = 0;
    for (char c : text) lines += c == '\n' ? 1 : 0;
    return lines;
}

}  // namespace dorvo::cli
