# SPDX-License-Identifier: GPL-3.0-or-later
# Compiler flags shared by every target, exposed as INTERFACE targets so that each
# library opts in explicitly.

add_library(dorvo_warnings INTERFACE)
target_compile_options(dorvo_warnings INTERFACE
    -Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wsign-conversion -Wnon-virtual-dtor
    -Wold-style-cast -Werror
    # GCC 12 reports false -Wrestrict overlaps inside std::string at -O2 (GCC bug 105329).
    $<$<CXX_COMPILER_ID:GNU>:-Wno-restrict>)

add_library(dorvo_sanitizers INTERFACE)
if(DORVO_ENABLE_SANITIZERS)
    target_compile_options(dorvo_sanitizers INTERFACE
        -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_link_options(dorvo_sanitizers INTERFACE -fsanitize=address,undefined)
endif()
if(DORVO_ENABLE_THREAD_SANITIZER)
    if(DORVO_ENABLE_SANITIZERS)
        message(FATAL_ERROR "ThreadSanitizer cannot be combined with AddressSanitizer")
    endif()
    target_compile_options(dorvo_sanitizers INTERFACE -fsanitize=thread -fno-omit-frame-pointer)
    target_link_options(dorvo_sanitizers INTERFACE -fsanitize=thread)
endif()
if(DORVO_ENABLE_FUZZERS)
    # Coverage instrumentation for the code under fuzzing; the fuzz targets add the driver.
    target_compile_options(dorvo_sanitizers INTERFACE -fsanitize=fuzzer-no-link)
endif()

add_library(dorvo_build_options INTERFACE)
target_link_libraries(dorvo_build_options INTERFACE dorvo_warnings dorvo_sanitizers)
