// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/line_io.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <future>
#include <iterator>

#include "support/temp_folder.h"

namespace dorvo {
namespace {

namespace fs = std::filesystem;

bool writeText(const fs::path& target, const std::string& text) {
    return writeFileAtomically(target, [&](std::ostream& out) {
        out << text;
        return static_cast<bool>(out);
    });
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

TEST(WriteFileAtomically, TemporaryPathForNamesTheFileBeingWrittenBesideALinksTarget) {
    test::TempFolder folder;
    fs::create_directory(folder.path() / "real");
    const fs::path file = folder.path() / "real" / "p.slw";
    const fs::path link = folder.path() / "link.slw";
    test::writeBytes(file, "old");
    fs::create_symlink(file, link);
    const fs::path temporary = temporaryPathFor(link);
    EXPECT_EQ(temporary.parent_path(), fs::canonical(folder.path() / "real"));
    bool existedWhileWriting = false;
    ASSERT_TRUE(writeFileAtomically(link, [&](std::ostream& out) {
        existedWhileWriting = fs::exists(temporary);
        return static_cast<bool>(out << "new");
    }));
    EXPECT_TRUE(existedWhileWriting);
    EXPECT_FALSE(fs::exists(temporary));
    EXPECT_EQ(temporaryPathFor(folder.path() / "new.slw"),
              folder.path() / ("new.slw.saving-" + std::to_string(::getpid())));
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
