// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/command_table.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace dorvo {
namespace {

TEST(CommandTable, EachCommandIsDeclaredOnceAndReachedFromAMenuOrTheToolBar) {
    std::set<int> declared;
    std::set<std::string> keys;
    for (const CommandDeclaration& command : commandDeclarations()) {
        EXPECT_TRUE(declared.insert(command.id).second) << command.id;
        EXPECT_FALSE(std::string(command.caption).empty()) << command.id;
        EXPECT_FALSE(std::string(command.statusTip).empty()) << command.id;
        for (const char* key : command.shortcuts) {
            if (key != nullptr) {
                EXPECT_TRUE(keys.insert(key).second) << key;
            }
        }
    }
    std::set<int> reached;
    for (const MenuDeclaration& menu : menuDeclarations()) {
        reached.insert(menu.commands.begin(), menu.commands.end());
    }
    reached.insert(toolBarCommands().begin(), toolBarCommands().end());
    reached.erase(command::kSeparator);
    reached.erase(command::kRecentFiles);
    EXPECT_EQ(reached, declared);
}

TEST(CommandTable, TheElementTableWaitsForResultsAndUndoForSomethingToUndo) {
    EXPECT_FALSE(commandAvailable(commandDeclaration(command::kExplain).enabledWhen, {}));
    EXPECT_TRUE(
        commandAvailable(commandDeclaration(command::kExplain).enabledWhen, {.hasResults = true}));
    EXPECT_FALSE(
        commandAvailable(commandDeclaration(command::kUndo).enabledWhen, {.canRedo = true}));
    EXPECT_TRUE(commandAvailable(commandDeclaration(command::kCalculate).enabledWhen, {}));
    EXPECT_THROW(commandDeclaration(12345), std::out_of_range);
}

}  // namespace
}  // namespace dorvo
