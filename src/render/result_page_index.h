// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <vector>

#include "render/result_stream.h"

namespace dorvo {

/// Where a row layout stands: its page, the cursor and the rows on the page so far.
struct RowPosition {
    int page = 1;
    double y = 0.0;
    int rows = 0;
};

/// What the page breaks of the result table depend on besides the records themselves.
struct ResultPageLayout {
    ResultFileIdentity file;
    double rowHeight = 0.0;
    double headingHeight = 0.0;
    int rowsPerPage = 0;
    double firstRowY = 0.0;
    bool unitsRow = false;

    bool operator==(const ResultPageLayout&) const = default;
};

/// Where the result table resumes to draw one page: the line to read next, what the reader
/// had seen and where the rows stood.
struct ResultPageStart {
    std::uint64_t offset = 0;
    int section = 0;
    RowPosition position;
};

/// The starts of the result table's pages as far as a layout has gone, so that any page is
/// drawn without laying out the pages before it.
struct ResultPageIndex {
    ResultPageLayout layout;
    std::vector<ResultPageStart> starts;  // starts[k] resumes page k + 2
    int pageCount = 0;                    // known once a layout has reached the end
};

}  // namespace dorvo
