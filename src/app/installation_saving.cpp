// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/installation_saving.h"

namespace dorvo {

Status saveProgramSettings(const Installation& installation) {
    return writeSettingsFile(installation);
}

Failures saveMargins(const Installation& installation) {
    Failures failures;
    for (const Status& written :
         {saveProgramSettings(installation), writeMarginsFile(installation)}) {
        if (!written) failures.push_back(Failure{written.error()});
    }
    return failures;
}

Failures saveFonts(const Installation& installation) {
    return writeFontFiles(installation);
}

}  // namespace dorvo
