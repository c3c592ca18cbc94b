// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/installation_saving.h"

namespace dorvo {

void saveProgramSettings(const Installation& installation, MessageSink& messages) {
    if (!writeSettingsFile(installation)) {
        messages.report(cannotWriteMessage(installation.settingsFile()));
    }
}

void saveMargins(const Installation& installation, MessageSink& messages) {
    saveProgramSettings(installation, messages);
    if (!writeMarginsFile(installation)) {
        messages.report(cannotWriteMessage(installation.marginsFile()));
    }
}

void saveFonts(const Installation& installation, MessageSink& messages) {
    for (const auto& file : writeFontFiles(installation)) {
        messages.report(cannotWriteMessage(file));
    }
}

}  // namespace dorvo
