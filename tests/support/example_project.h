// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "model/project.h"

namespace dorvo::test {

/// The bundled example project, read as the program reads it; a failed read fails the test.
Project exampleProject();

}  // namespace dorvo::test
