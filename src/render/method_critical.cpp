// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/method_critical.h"

namespace dorvo {

MethodCritical bishopCriticalOf(const BishopSearch& search) {
    MethodCritical critical{"簡易ビショップ法", {}, 0.0};
    if (const auto& c = search.critical) {
        critical.circle = {c->rx, c->ry, c->r, c->p1x, c->p1y, c->p2x, c->p2y};
        critical.fs = c->fs;
    }
    return critical;
}

}  // namespace dorvo
