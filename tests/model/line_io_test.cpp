// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/line_io.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <future>
#include <iterator>
#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace dorvo {
namespace {

namespace fs = std::filesystem;

bool writeText(const fs::path& target, const std::string& text) {
    return writeFileAtomically(target,
                               [&](std::ostream& out) {
                                   out << text;
                                   return static_cast<bool>(out);
                               })
        .ok();
}

TEST(WriteFileAtomically, SymlinkIsFollowedAndKeptWithTheTargetsMode) {
    test::TempFolder folder;
    const fs::path file = folder.path() / "real.txt";
    const fs::path link = folder.path() / "link.txt";
    test::writeBytes(file, "old");
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink(file, link);
    ASSERT_TRUE(writeText(link, "new"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(test::readBytes(file), "new");
    EXPECT_EQ(fs::status(file).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(WriteFileAtomically, FifoAndDeviceAreWrittenInPlaceNeverReplaced) {
    test::TempFolder folder;
    const fs::path fifo = folder.path() / "pipe";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    auto reader = std::async(std::launch::async, [&] {
        std::ifstream in(fifo, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    });
    ASSERT_TRUE(writeText(fifo, "records"));
    EXPECT_EQ(reader.get(), "records");
    EXPECT_TRUE(fs::is_fifo(fifo));

    const fs::path toNull = folder.path() / "null";
    fs::create_symlink("/dev/null", toNull);
    ASSERT_TRUE(writeText(toNull, "gone"));
    EXPECT_TRUE(fs::is_symlink(toNull));
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.path()), fs::directory_iterator()), 2);
}

/// The regular files and links in a folder, by name.
std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

TEST(WriteFileAtomically, LinksPlantedAtSavingNamesAreNeverFollowedOrReplaced) {
    test::TempFolder folder;
    const fs::path victim = folder.path() / "victim";
    test::writeBytes(victim, "secret");
    fs::permissions(victim, fs::perms::owner_read | fs::perms::owner_write);
    const fs::path target = folder.path() / "p.slw";
    test::writeBytes(target, "old");
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                                fs::perms::others_read);
    // The name every earlier version chose, and names of the shape the writer chooses now.
    std::vector<fs::path> planted = {folder.path() /
                                     ("p.slw.saving-" + std::to_string(::getpid()))};
    for (const char* random : {"AAAAAAAAAAAA", "abcdefghijkl", "000000000000"}) {
        planted.push_back(folder.path() /
                          ("p.slw.saving-" + std::to_string(::getpid()) + "-" + random));
    }
    for (const fs::path& link : planted) fs::create_symlink(victim, link);

    std::vector<fs::path> temporaries;
    for (int save = 0; save < 2; ++save) {
        ASSERT_TRUE(writeFileAtomically(target, [&](std::ostream& out) {
            for (const auto& entry : fs::directory_iterator(folder.path())) {
                const std::string name = entry.path().filename().string();
                if (isSavingTemporaryName(name) && !fs::is_symlink(entry.symlink_status())) {
                    temporaries.push_back(entry.path());
                    EXPECT_EQ(entry.status().permissions(),
                              fs::perms::owner_read | fs::perms::owner_write);
                }
            }
            return static_cast<bool>(out << "new " << save);
        }));
    }
    ASSERT_EQ(temporaries.size(), 2u);
    EXPECT_NE(temporaries[0], temporaries[1]);
    EXPECT_NE(
        temporaries[0].filename().string().find(".saving-" + std::to_string(::getpid()) + "-"),
        std::string::npos);
    EXPECT_FALSE(fs::is_symlink(target));
    EXPECT_EQ(test::readBytes(target), "new 1");
    EXPECT_EQ(fs::status(target).permissions(), fs::perms::owner_read | fs::perms::owner_write |
                                                    fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(test::readBytes(victim), "secret");
    EXPECT_EQ(fs::status(victim).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    for (const fs::path& link : planted) {
        EXPECT_TRUE(fs::is_symlink(link));
        EXPECT_EQ(fs::read_symlink(link), victim);
    }
    EXPECT_EQ(namesIn(folder.path()).size(), planted.size() + 2);
}

TEST(WriteFileAtomically, TemporaryIsCreatedBesideALinksTargetAndGoneAfterwards) {
    test::TempFolder folder;
    fs::create_directory(folder.path() / "real");
    const fs::path file = folder.path() / "real" / "p.slw";
    const fs::path link = folder.path() / "link.slw";
    test::writeBytes(file, "old");
    fs::create_symlink(file, link);
    std::vector<std::string> whileWriting;
    ASSERT_TRUE(writeFileAtomically(link, [&](std::ostream& out) {
        whileWriting = namesIn(folder.path() / "real");
        return static_cast<bool>(out << "new");
    }));
    ASSERT_EQ(whileWriting.size(), 2u);
    EXPECT_TRUE(isSavingTemporaryName(whileWriting[1]));
    EXPECT_EQ(namesIn(folder.path() / "real"), std::vector<std::string>{"p.slw"});
    EXPECT_EQ(test::readBytes(file), "new");
}

TEST(WriteFileAtomically, WriterThatGivesUpLeavesTheOldFileAndNoTemporary) {
    test::TempFolder folder;
    const fs::path file = folder.path() / "p.slw";
    test::writeBytes(file, "old");
    EXPECT_FALSE(writeFileAtomically(file, [](std::ostream& out) {
        out << std::string(200000, 'x');
        return false;
    }));
    EXPECT_EQ(test::readBytes(file), "old");
    EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>{"p.slw"});
}

TEST(SavingTemporaryName, CarriesTheWritersProcessAndARandomPart) {
    EXPECT_TRUE(isSavingTemporaryName("p.slw.saving-123-AbCdEf012345"));
    EXPECT_FALSE(isSavingTemporaryName("p.slw.saving-123"));
    EXPECT_FALSE(isSavingTemporaryName("p.slw.saving-123-short"));
    EXPECT_FALSE(isSavingTemporaryName("p.slw.saving-x1-AbCdEf012345"));
    EXPECT_FALSE(isSavingTemporaryName(".saving-123-AbCdEf012345"));
    EXPECT_FALSE(isSavingTemporaryName("p.slw.saving-123-AbCdEf01234!"));
}

TEST(RemoveAbandonedTemporaries, RemovesOnlyThisUsersFilesOfProcessesThatEnded) {
    test::TempFolder folder;
    const pid_t ended = ::fork();
    if (ended == 0) ::_exit(0);
    ASSERT_GT(ended, 0);
    ASSERT_EQ(::waitpid(ended, nullptr, 0), ended);
    const std::string random = "-AbCdEf012345";
    const fs::path abandoned = folder.path() / ("p.slw.saving-" + std::to_string(ended) + random);
    const fs::path running =
        folder.path() / ("p.slw.saving-" + std::to_string(::getpid()) + random);
    const fs::path link = folder.path() / ("q.slw.saving-" + std::to_string(ended) + random);
    const fs::path ordinary = folder.path() / ("p.slw.saving-" + std::to_string(ended));
    test::writeBytes(abandoned, "left by a killed program");
    test::writeBytes(running, "being written");
    test::writeBytes(ordinary, "not ours");
    test::writeBytes(folder.path() / "victim", "keep");
    fs::create_symlink(folder.path() / "victim", link);

    removeAbandonedTemporaries(folder.path());
    EXPECT_FALSE(fs::exists(abandoned));
    EXPECT_TRUE(fs::exists(running));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_TRUE(fs::exists(ordinary));
    EXPECT_EQ(test::readBytes(folder.path() / "victim"), "keep");

    // A save into the folder clears what killed programs left there.
    test::writeBytes(abandoned, "left again");
    ASSERT_TRUE(writeText(folder.path() / "p.slw", "saved"));
    EXPECT_FALSE(fs::exists(abandoned));
}

TEST(WriteFileAtomically, ReadOnlyFolderSaysWhyAndKeepsTheFile) {
    test::TempFolder folder;
    const fs::path file = folder.path() / "shared.slw";
    test::writeBytes(file, "old");
    fs::permissions(file, fs::perms::all);
    fs::permissions(folder.path(), fs::perms::owner_all | fs::perms::group_read |
                                       fs::perms::group_exec | fs::perms::others_read |
                                       fs::perms::others_exec);
    if (::geteuid() != 0)
        fs::permissions(folder.path(), fs::perms::owner_write, fs::perm_options::remove);
    // Root may create files anywhere: the save runs as an ordinary user in a child process.
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(2);
        const Status written = writeFileAtomically(
            file, [](std::ostream& out) { return static_cast<bool>(out << "new"); });
        const bool saysWhy =
            !written && written.error().text.find("このフォルダには新しいファイルを作れません") !=
                            std::string::npos;
        ::_exit(saysWhy ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    fs::permissions(folder.path(), fs::perms::owner_all);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(test::readBytes(file), "old");
}

TEST(WriteFileAtomically, FolderIsRefused) {
    test::TempFolder folder;
    EXPECT_FALSE(writeText(folder.path(), "x"));
}

TEST(WriteFileAtomically, OwnerOfAnotherUsersFileIsKeptWhenTheSaverMayChangeIt) {
    if (::geteuid() != 0) GTEST_SKIP() << "only root may give a file to another user";
    test::TempFolder folder;
    const fs::path file = folder.path() / "theirs.slw";
    test::writeBytes(file, "old");
    ASSERT_EQ(::chown(file.c_str(), 12345, 12345), 0);
    ASSERT_TRUE(writeText(file, "new"));
    struct stat after {};
    ASSERT_EQ(::stat(file.c_str(), &after), 0);
    EXPECT_EQ(after.st_uid, 12345u);
    EXPECT_EQ(after.st_gid, 12345u);
}

TEST(WriteFileAtomically, WriteProtectedFileIsRefusedForOrdinaryUsers) {
    if (::geteuid() == 0) GTEST_SKIP() << "root may write any file";
    test::TempFolder folder;
    const fs::path file = folder.path() / "locked.slw";
    test::writeBytes(file, "old");
    fs::permissions(file, fs::perms::owner_read);
    EXPECT_FALSE(writeText(file, "new"));
    EXPECT_EQ(test::readBytes(file), "old");
}

}  // namespace
}  // namespace dorvo
