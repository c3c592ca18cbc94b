// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <span>
#include <vector>

namespace dorvo {

/// Command numbers of the menus and the tool bar, by which tests and the tool bar find them.
namespace command {
inline constexpr int kNew = 57600;
inline constexpr int kOpen = 57601;
inline constexpr int kSave = 57603;
inline constexpr int kSaveAs = 57604;
inline constexpr int kPrint = 57607;
inline constexpr int kPrintPreview = 57609;
inline constexpr int kPrintSetup = 57606;
inline constexpr int kExit = 57665;
inline constexpr int kHeadings = 32795;
inline constexpr int kBlocks = 32771;
inline constexpr int kLayers = 32772;
inline constexpr int kLoads = 32773;
inline constexpr int kCircleSearch = 32774;
inline constexpr int kCalculate = 32775;
inline constexpr int kToolBar = 59392;
inline constexpr int kStatusBar = 59393;
inline constexpr int kShowFigure = 32784;
inline constexpr int kShowData = 32787;
inline constexpr int kShowResults = 32786;
inline constexpr int kScale = 32777;
inline constexpr int kLineStyles = 32778;
inline constexpr int kMargins = 32796;
inline constexpr int kFonts = 32779;
inline constexpr int kEnterKey = 32801;
inline constexpr int kSetup = 32782;
inline constexpr int kAbout = 57664;
inline constexpr int kHelp = 32776;
inline constexpr int kFormulas = 32800;
inline constexpr int kFigureLeft = 32788;
inline constexpr int kFigureRight = 32789;
inline constexpr int kScrollUp = 32790;
inline constexpr int kScrollDown = 32791;
inline constexpr int kFigureButton = 32797;
inline constexpr int kDataButton = 32798;
inline constexpr int kResultsButton = 32799;
inline constexpr int kUndo = 1;
inline constexpr int kRedo = 2;
inline constexpr int kZoomIn = 3;
inline constexpr int kZoomOut = 4;
inline constexpr int kZoomReset = 5;
inline constexpr int kExplain = 6;
inline constexpr int kContours = 7;
inline constexpr int kAnnotate = 8;
inline constexpr int kFitSection = 9;
inline constexpr int kRestraint = 10;
inline constexpr int kBackAnalysis = 11;
inline constexpr int kSensitivity = 12;
inline constexpr int kProbability = 13;
/// In a menu or tool bar: a separator; in the file menu: the recent files.
inline constexpr int kSeparator = 0;
inline constexpr int kRecentFiles = -1;
}  // namespace command

/// When a command can run; otherwise its menu entry and button are disabled.
enum class CommandAvailability { Always, CanUndo, CanRedo, HasResults, CanCalculate };

/// One command as the menus, the tool bar and the status bar show it.
struct CommandDeclaration {
    int id = 0;
    const char* caption = "";       // the menu entry, with its access key
    const char* statusTip = "";     // the status bar's description while the pointer is on it
    const char* toolTip = nullptr;  // the tool button's tip; the status tip when null
    const char* icon = nullptr;     // the tool button's picture, by name
    std::array<const char*, 2> shortcuts{};  // portable key texts such as "Ctrl+N"
    CommandAvailability enabledWhen = CommandAvailability::Always;
    bool checkable = false;
};

/// Every command, each once.
std::span<const CommandDeclaration> commandDeclarations();
/// The declaration of this command; throws when there is none.
const CommandDeclaration& commandDeclaration(int id);

/// A menu of the menu bar: its caption and its commands in order, separators included.
struct MenuDeclaration {
    const char* caption;
    std::vector<int> commands;
};

std::span<const MenuDeclaration> menuDeclarations();
/// The tool bar's buttons in order, separators included.
std::span<const int> toolBarCommands();

/// What the availability of the commands depends on.
struct CommandState {
    bool canUndo = false;
    bool canRedo = false;
    bool hasResults = false;
    bool canCalculate = false;  // the section and the circle search are complete enough
};

bool commandAvailable(CommandAvailability availability, const CommandState& state);

}  // namespace dorvo
