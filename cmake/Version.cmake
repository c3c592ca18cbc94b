# SPDX-License-Identifier: GPL-3.0-or-later
# dorvo_version.h with the project's version, for the programs' --version.
configure_file("${CMAKE_CURRENT_LIST_DIR}/dorvo_version.h.in"
               "${PROJECT_BINARY_DIR}/generated/dorvo_version.h" @ONLY)
add_library(dorvo_version INTERFACE)
target_include_directories(dorvo_version INTERFACE "${PROJECT_BINARY_DIR}/generated")
