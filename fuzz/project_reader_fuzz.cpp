// Feeds arbitrary bytes to the project reader, then writes and re-reads what it understood:
// a written project must load back to the same tables. Cells are written without quoting, so
// the check leaves out projects whose field cells hold a comma or a quote (only a hand-made
// file can give them such cells).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>

#include "fuzz_support.h"

namespace {

bool hasSeparator(const std::string& cell) {
    return cell.find_first_of(",\"") != cell.npos;
}

bool fieldCellsAreWritable(const dorvo::Project& project) {
    for (const auto& block : project.blocks) {
        if (hasSeparator(block.x)) return false;
    }
    for (const auto& layer : project.layers) {
        for (const std::string* cell : dorvo::layerCells(layer)) {
            if (hasSeparator(*cell)) return false;
        }
    }
    for (const auto& load : project.loads) {
        if (hasSeparator(load.x) || hasSeparator(load.force)) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const dorvo::Project project =
        dorvo::fuzz::loadProject({reinterpret_cast<const char*>(data), size});

    if (!fieldCellsAreWritable(project)) return 0;
    std::ostringstream written;
    dorvo::writeProject(project, written, nullptr);
    std::istringstream again(written.str());
    std::ostringstream noResults;
    dorvo::Project reloaded;
    dorvo::fuzz::IgnoreMessages messages;
    dorvo::readProjectLines(reloaded, again, noResults, messages);
    std::ostringstream rewritten;
    dorvo::writeProject(reloaded, rewritten, nullptr);
    if (rewritten.str() != written.str()) std::abort();
    return 0;
}
