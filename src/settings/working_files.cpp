// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/working_files.h"

#include <system_error>

#include "model/line_io.h"
#include "model/number_text.h"

namespace dorvo {

namespace fs = std::filesystem;

namespace {

/// A first run finds no working folder: create it with the recommended settings, so a new
/// user starts from a sensible installation instead of a "file not found" message.
Failures seedNewWorkFolder(const Installation& installation) {
    std::error_code error;
    if (fs::exists(installation.workFolder, error)) return {};
    if (!fs::create_directories(installation.workFolder, error)) {
        return {Failure{cannotWriteMessage(installation.workFolder)}};
    }
    Installation seeded;
    seeded.workFolder = installation.workFolder;
    seeded.settings = recommendedProgramSettings();
    seeded.margins = defaultMarginsTable();
    seeded.fonts = defaultFontSlots();
    Failures failures;
    for (const Status& written : {writeSettingsFile(seeded), writeMarginsFile(seeded)}) {
        if (!written) failures.push_back(Failure{written.error()});
    }
    for (Failure& font : writeFontFiles(seeded)) failures.push_back(std::move(font));
    return failures;
}

/// Claims this program's results working file in the folder and deletes what a previous
/// program left in it.
void claimResultsFile(Installation& installation) {
    installation.resultsClaim = ResultsClaim::claim(installation.workFolder);
    std::error_code ignored;
    fs::remove(installation.resultsFile(), ignored);
}

void readSettings(Installation& installation, MessageSink& messages) {
    if (auto lines = readTextLines(installation.settingsFile())) {
        installation.settings = parseProgramSettings(*lines);
    } else {
        messages.report(makeMessage(MessageId::FileNotFound, installation.settingsFile().string()));
    }
    if (auto lines = readTextLines(installation.marginsFile())) {
        applyMarginsLines(installation.margins, *lines, installation.marginsFile().string(),
                          messages);
    }
    installation.settingsRead = true;
}

void readFonts(Installation& installation, MessageSink& messages) {
    for (int slot = 1; slot <= kFontSlots; ++slot) {
        FontSlot& font = installation.fonts[static_cast<std::size_t>(slot - 1)];
        font.colour = 0;
        font.italic = 0;
        if (auto lines = readTextLines(installation.fontFile(slot))) {
            applyFontLines(font, *lines);
        } else if (slot == 1) {
            messages.report(
                makeMessage(MessageId::FileNotFound, installation.fontFile(1).string()));
        }
    }
    for (int slot = 1; slot <= kFontSlots; ++slot) {
        applyFontRules(installation.fonts[static_cast<std::size_t>(slot - 1)], slot);
    }
    installation.fontsRead = true;
}

}  // namespace

FigureWindow figureWindowWithDefaults(const Project& project) {
    FigureWindow window = readFigureWindow(project.settings);
    if (window.scaleX <= 0) window.scaleX = 500;
    if (window.scaleY <= 0) window.scaleY = 500;
    if (window.figureTopY < 1.0) window.figureTopY = 100.0;
    if (window.pageWidthM <= 0) window.pageWidthM = 85;
    if (window.pageDepthM <= 0) window.pageDepthM = 85;
    return window;
}

Installation readInstallationSettings(const Environment& environment, MessageSink& messages) {
    Installation installation;
    installation.environment = environment;
    installation.workFolder = findWorkFolder(environment);
    installation.located = true;
    installation.settings = recommendedProgramSettings();
    installation.margins = defaultMarginsTable();
    installation.fonts = defaultFontSlots();
    std::error_code error;
    const bool folderExists = fs::is_directory(installation.workFolder, error);
    if (auto lines = readTextLines(installation.settingsFile())) {
        installation.settings = parseProgramSettings(*lines);
    } else if (folderExists) {
        messages.report(makeMessage(MessageId::FileNotFound, installation.settingsFile().string()));
    }
    if (folderExists && !fs::exists(installation.fontFile(1), error)) {
        messages.report(makeMessage(MessageId::FileNotFound, installation.fontFile(1).string()));
    }
    if (auto lines = readTextLines(installation.marginsFile())) {
        applyMarginsLines(installation.margins, *lines, installation.marginsFile().string(),
                          messages);
    }
    for (int slot = 1; slot <= kFontSlots; ++slot) {
        FontSlot& font = installation.fonts[static_cast<std::size_t>(slot - 1)];
        if (auto lines = readTextLines(installation.fontFile(slot))) {
            font.colour = 0;
            font.italic = 0;
            applyFontLines(font, *lines);
        }
        applyFontRules(font, slot);
    }
    applySettingsRules(installation.settings);
    ensureMarginsDefaults(installation.margins);
    installation.settingsRead = true;
    installation.fontsRead = true;
    return installation;
}

fs::path Installation::fontFile(int slot) const {
    return workFolder / ("Font" + std::to_string(slot) + ".ndx");
}

SetUpOutcome setUpWorkingFiles(Installation& installation, Project& project, Reload reload,
                               MessageSink& messages) {
    SetUpOutcome outcome;
    if (reload == Reload::Yes) {
        outcome.viewPage = readInteger(project.settings.line(settings_line::kViewPage));
        installation.settingsRead = false;
        installation.fontsRead = false;
    }
    if (!installation.located) {
        installation.workFolder = findWorkFolder(installation.environment);
        removeAbandonedTemporaries(installation.workFolder);
        reportEach(seedNewWorkFolder(installation), messages);
        claimResultsFile(installation);
        installation.located = true;
    }
    if (!installation.settingsRead) readSettings(installation, messages);
    applySettingsRules(installation.settings);
    ensureDefaults(project);
    ensureMarginsDefaults(installation.margins);
    if (!installation.fontsRead) readFonts(installation, messages);
    return outcome;
}

Result<SetUpOutcome> changeInstallLocation(Installation& installation, Project& project,
                                           const std::string& folder, MessageSink& messages) {
    const auto stored = storeInstallLocation(folder, installation.environment);
    if (!stored) return Failure{stored.error()};
    if (stored->unsaved) messages.report(*stored->unsaved);
    const fs::path oldResults = installation.resultsFile();
    Installation moved = installation;
    moved.workFolder = stored->folder;
    reportEach(seedNewWorkFolder(moved), messages);
    moved.resultsClaim = ResultsClaim::claim(moved.workFolder);
    std::error_code error;
    if (moved.resultsFile() != oldResults) {
        if (fs::exists(oldResults, error)) {
            fs::copy_file(oldResults, moved.resultsFile(), fs::copy_options::overwrite_existing,
                          error);
        } else {
            fs::remove(moved.resultsFile(), error);
        }
    }
    if (error) return Failure{cannotWriteMessage(moved.resultsFile())};
    fs::remove(oldResults, error);
    installation = std::move(moved);
    return setUpWorkingFiles(installation, project, Reload::Yes, messages);
}

Status writeLinesFile(const fs::path& path, const std::vector<std::string>& lines) {
    const Status written = writeFileAtomically(path, [&](std::ostream& out) {
        for (const std::string& line : lines) out << line << "\r\n";
        return static_cast<bool>(out);
    });
    if (!written) return Failure{cannotWriteMessage(path)};
    return Done{};
}

Status writeSettingsFile(const Installation& installation) {
    return writeLinesFile(installation.settingsFile(), programSettingsLines(installation.settings));
}

Status writeMarginsFile(const Installation& installation) {
    return writeLinesFile(installation.marginsFile(), marginsTableLines(installation.margins));
}

Failures writeFontFiles(const Installation& installation) {
    Failures failures;
    for (int slot = 1; slot <= kFontSlots; ++slot) {
        const Status written =
            writeLinesFile(installation.fontFile(slot),
                           fontSlotLines(installation.fonts[static_cast<std::size_t>(slot - 1)]));
        if (!written) failures.push_back(Failure{written.error()});
    }
    return failures;
}

std::vector<std::string> readHeadingCandidates(const Installation& installation) {
    std::vector<std::string> candidates;
    auto lines = readTextLines(installation.headingCandidatesFile());
    if (!lines) return candidates;
    for (std::size_t i = 0; i < lines->size() && i < 3; ++i) {
        std::string line = (*lines)[i].substr(0, 200);
        if (!line.empty()) candidates.push_back(std::move(line));
    }
    return candidates;
}

}  // namespace dorvo
