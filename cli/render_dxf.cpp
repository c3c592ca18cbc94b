// SPDX-License-Identifier: GPL-3.0-or-later
#include "render_dxf.h"

#include <fstream>

#include "dxf/section_dxf.h"
#include "model/line_io.h"
#include "render/fs_grid.h"
#include "render/method_critical.h"
#include "settings/working_files.h"

namespace dorvo::cli {

int renderDxf(const Project& project, SearchMethod method, const std::filesystem::path& resultsFile,
              const std::filesystem::path& scratch, const std::filesystem::path& output,
              std::ostream& out, MessageSink& messages) {
    const Installation installation = readInstallationSettings(environmentFromProcess(), messages);
    SectionDxfInputs inputs{
        project, installation.settings, {}, {}, figureWindowWithDefaults(project).scaleY, {}};
    if (method == SearchMethod::Bishop) {
        const std::optional<BishopSearch> bishop = searchByBishop(project, 0, {});
        if (!bishop) return 2;
        inputs.labels = centreLabelsOf(bishop->centreMinima);
        inputs.critical = bishopCriticalOf(*bishop).circle;
        inputs.method = "simplified Bishop";
    } else {
        inputs.labels = readResultOverlay(resultsFile, inputs.critical);
    }
    if (Status drawn = writeSectionDxf(scratch, inputs); !drawn) {
        messages.report(drawn.error());
        return 1;
    }
    const Status written = writeFileAtomically(output, [&](std::ostream& to) {
        std::ifstream from(scratch, std::ios::binary);
        return from && copyStream(from, to);
    });
    if (!written) {
        messages.report(written.error());
        return 1;
    }
    out << "wrote " << output.string() << ": the section in model metres\n";
    return 0;
}

}  // namespace dorvo::cli
