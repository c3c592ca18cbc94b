// SPDX-License-Identifier: GPL-3.0-or-later
// Feeds arbitrary bytes to the project reader, then writes and re-reads what it understood:
// a project that the writer accepts must load back to the same tables, and one it refuses
// must leave nothing written.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>

#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const dorvo::Project project =
        dorvo::fuzz::loadProject({reinterpret_cast<const char*>(data), size});

    std::ostringstream written;
    if (!dorvo::writeProject(project, written, nullptr)) {
        if (!written.str().empty()) std::abort();
        return 0;
    }
    std::istringstream again(written.str());
    std::ostringstream noResults;
    dorvo::Project reloaded;
    dorvo::fuzz::IgnoreMessages messages;
    if (!dorvo::readProjectLines(reloaded, again, noResults, "fuzz", messages)) std::abort();
    std::ostringstream rewritten;
    if (!dorvo::writeProject(reloaded, rewritten, nullptr)) std::abort();
    if (rewritten.str() != written.str()) std::abort();
    return 0;
}
