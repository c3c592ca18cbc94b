// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>

#include "app/design_tables.h"
#include "app/document.h"
#include "model/result.h"

namespace dorvo {

/// Writes an analysis table as CSV in code page 932 with CR LF, as the spreadsheets of the
/// program's users read it, through the atomic writer. Refuses the open project's own file and
/// a cell that code page 932 cannot hold, naming it.
Status writeTableCsv(const std::filesystem::path& file, const AnalysisTable& table,
                     const Document& document);

}  // namespace dorvo
