// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "model/messages.h"
#include "model/project.h"
#include "model/result.h"
#include "settings/font_slots.h"
#include "settings/install_location.h"
#include "settings/margins_table.h"
#include "settings/program_settings.h"
#include "settings/results_claim.h"

namespace dorvo {

/// The installation: where its working files are and the settings read from them, which
/// apply to every project.
struct Installation {
    Environment environment;
    bool located = false;
    std::filesystem::path workFolder;
    bool settingsRead = false;
    bool fontsRead = false;
    ProgramSettings settings;
    MarginsTable margins;
    FontSlots fonts;
    std::shared_ptr<const ResultsClaim> resultsClaim;  // this program's results working file

    std::filesystem::path settingsFile() const { return workFolder / "Sys.ndx"; }
    std::filesystem::path marginsFile() const { return workFolder / "Syx.ndx"; }
    std::filesystem::path resultsFile() const {
        return resultsClaim ? resultsClaim->resultsFile() : workFolder / "Tmp1.tmp";
    }
    std::filesystem::path lastFolderFile() const { return workFolder / "FileV.ndx"; }
    std::filesystem::path headingCandidatesFile() const { return workFolder / "Sym.ndx"; }
    std::filesystem::path fontFile(int slot) const;
};

enum class Reload { No, Yes };

/// What the set-up asks of the view: after a reload, the page named by the project.
struct SetUpOutcome {
    std::optional<int> viewPage;
};

/// Finds the working folder and claims this program's results working file on the first
/// call, reads the settings, margins and fonts when they are not read yet, and applies the
/// defaults that every call applies.
SetUpOutcome setUpWorkingFiles(Installation& installation, Project& project, Reload reload,
                               MessageSink& messages);

/// Reads the installation's settings, margins and fonts for a tool that runs beside the
/// program: nothing is created or deleted; what is missing takes the recommended values, and
/// a working folder without its settings or first font file says so, as the program does.
Installation readInstallationSettings(const Environment& environment, MessageSink& messages);

/// The figure window of the project's settings lines with the fallbacks of its numbers:
/// scales of 500, a top of 100 m, 85 m pages.
FigureWindow figureWindowWithDefaults(const Project& project);

/// Changes the installation location (a folder typed by the user) and sets up again; the
/// current results move along to the new folder. A refused folder, or results that cannot be
/// carried over, fail and leave the installation as it was; what the set-up finds on the way
/// is reported as it goes.
Result<SetUpOutcome> changeInstallLocation(Installation& installation, Project& project,
                                           const std::string& folder, MessageSink& messages);

/// Writes "Sys.ndx".
Status writeSettingsFile(const Installation& installation);

/// Writes "Syx.ndx".
Status writeMarginsFile(const Installation& installation);

/// Writes the six font slot files, each one whether or not the ones before it could be
/// written: a failure for each file that could not be.
[[nodiscard]] Failures writeFontFiles(const Installation& installation);

/// Writes a file of lines, each ending with CR LF, replacing the old file only when complete.
/// A failure names the file.
Status writeLinesFile(const std::filesystem::path& path, const std::vector<std::string>& lines);

/// The extra heading candidates of "Sym.ndx": up to three non-empty lines of 200 bytes at most.
std::vector<std::string> readHeadingCandidates(const Installation& installation);

}  // namespace dorvo
