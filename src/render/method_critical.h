// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

#include "calc/bishop_search.h"
#include "model/project.h"

namespace dorvo {

/// The critical circle of a search by another method than the records' one, which writes no
/// records, as the figure draws and annotates it in place of the records' critical circle.
struct MethodCritical {
    std::string method;     // the method's name, as the label of its Fs says it
    CriticalCircle circle;  // radius 0 when the search found no circle with a value
    double fs = 0.0;
};

/// The critical circle of a search by the simplified Bishop method.
MethodCritical bishopCriticalOf(const BishopSearch& search);

}  // namespace dorvo
