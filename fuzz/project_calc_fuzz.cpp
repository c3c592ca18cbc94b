// SPDX-License-Identifier: GPL-3.0-or-later
// Loads arbitrary bytes as a project and, when its search is small, runs the whole
// calculation: validation, preparation, evaluation and the record stream.
#include <cmath>
#include <cstdlib>
#include <sstream>

#include "calc/circle_search_run.h"
#include "fuzz_support.h"

namespace {

constexpr double kMaxCircles = 3000.0;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const dorvo::Project project =
        dorvo::fuzz::loadProject({reinterpret_cast<const char*>(data), size});

    auto search = dorvo::validCircleSearch(project.circleSearch);
    if (!search) return 0;
    const double circles =
        double(search->columns()) * double(search->rows()) * double(search->radiiPerCentre());
    if (!(circles <= kMaxCircles)) return 0;
    dorvo::Result<dorvo::Section> prepared = dorvo::prepareSection(project);
    if (!prepared) return 0;

    dorvo::SearchOptions options;
    options.threads = 1;
    std::ostringstream out;
    dorvo::SearchSummary summary =
        dorvo::runCircleSearch(*prepared, *search, options, out, nullptr);
    const std::string stream = out.str();
    if (!summary.completed || !stream.ends_with("$$END\r\n")) std::abort();
    if (stream.find("nan") != stream.npos || stream.find("inf") != stream.npos) std::abort();
    return 0;
}
