// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/messages.h"
#include "settings/working_files.h"

namespace dorvo {

// Settings dialogs of the installation write their files at once on OK. A file that cannot
// be written is reported by its name; the settings stay in use for this run all the same.

/// Writes "Sys.ndx".
void saveProgramSettings(const Installation& installation, MessageSink& messages);

/// Writes "Sys.ndx" with the margins and "Syx.ndx" with the column positions.
void saveMargins(const Installation& installation, MessageSink& messages);

/// Writes the six font slot files.
void saveFonts(const Installation& installation, MessageSink& messages);

}  // namespace dorvo
