// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/design_exports.h"

#include "model/atomic_write.h"
#include "model/encoding.h"

namespace dorvo {

Status writeTableCsv(const std::filesystem::path& file, const AnalysisTable& table,
                     const Document& document) {
    if (auto refused = exportOverProject(file, document)) return Failure{*refused};
    const std::string csv = tableAsCsv(table);
    const std::optional<std::string> stored = toStoredText(csv);
    if (!stored) {
        for (const auto& row : table) {
            for (const std::string& cell : row) {
                if (!toStoredText(cell)) return Failure{literalMessage(notEncodableMessage(cell))};
            }
        }
        return Failure{literalMessage(notEncodableMessage(csv))};
    }
    return writeFileAtomically(file, [&](std::ostream& out) {
        out << *stored;
        return static_cast<bool>(out);
    });
}

}  // namespace dorvo
