// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/result.h"
#include "settings/working_files.h"

namespace dorvo {

// Settings dialogs of the installation write their files at once on OK. A file that cannot
// be written fails naming the file; the settings stay in use for this run all the same, and
// the files after it are still written.

/// Writes "Sys.ndx".
Status saveProgramSettings(const Installation& installation);

/// Writes "Sys.ndx" with the margins and "Syx.ndx" with the column positions.
[[nodiscard]] Failures saveMargins(const Installation& installation);

/// Writes the six font slot files.
[[nodiscard]] Failures saveFonts(const Installation& installation);

}  // namespace dorvo
