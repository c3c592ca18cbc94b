// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/help_files.h"

#include <system_error>

namespace dorvo {

void installHelpFiles(const std::filesystem::path& workFolder,
                      const std::vector<std::filesystem::path>& sources) {
    namespace fs = std::filesystem;
    std::error_code error;
    for (const char* name : kHelpFileNames) {
        if (fs::exists(workFolder / name, error)) continue;
        for (const fs::path& source : sources) {
            if (fs::copy_file(source / name, workFolder / name, error)) break;
        }
    }
}

}  // namespace dorvo
