// SPDX-License-Identifier: GPL-3.0-or-later
// Text crossing from the core into Qt widgets.
#pragma once

#include <QString>

#include <string>
#include <string_view>

#include "model/encoding.h"

namespace dorvo {

/// UTF-8 text of the core as Qt text.
inline QString qText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

/// A stored (code page 932) cell as a field shows it.
inline QString shown(const std::string& stored) {
    return QString::fromStdString(toDisplayText(stored));
}

}  // namespace dorvo
