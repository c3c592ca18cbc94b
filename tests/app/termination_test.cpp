// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/termination.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>

#include "model/atomic_write.h"
#include "support/temp_folder.h"

namespace dorvo {
namespace {

namespace fs = std::filesystem;

TEST(Termination, SignalDuringASaveEndsTheProgramKeepingTheOldFileAndNoTemporary) {
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        test::TempFolder folder;
        const fs::path target = folder.path() / "p.slw";
        test::writeBytes(target, "saved before");
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            leaveOnTerminationSignals();
            [[maybe_unused]] const Status never =
                writeFileAtomically(target, [&](std::ostream& out) {
                    out << std::string(1 << 20, 'x') << std::flush;
                    [[maybe_unused]] const ssize_t told = ::write(ready[1], "w", 1);
                    for (;;) ::pause();
                    return true;
                });
            ::_exit(0);
        }
        char byte = 0;
        ASSERT_EQ(::read(ready[0], &byte, 1), 1);
        ::close(ready[0]);
        ::close(ready[1]);
        ASSERT_EQ(::kill(child, signal), 0);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status)) << signal;
        EXPECT_EQ(WEXITSTATUS(status), 128 + signal);
        EXPECT_EQ(test::readBytes(target), "saved before");
        int files = 0;
        for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder.path())) ++files;
        EXPECT_EQ(files, 1) << "a temporary file was left behind";
    }
}

}  // namespace
}  // namespace dorvo
