// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMainWindow>
#include <QPrinter>
#include <filesystem>
#include <map>
#include <optional>

#include "app/search_insight.h"
#include "app/view_commands.h"
#include "calc/circle_evaluation.h"
#include "gui/colour_chooser.h"
#include "gui/desktop_session.h"
#include "gui/print_dialogs.h"
#include "gui/table_editor_dialog.h"
#include "render/fs_grid.h"

class QLabel;
class QScrollArea;

namespace dorvo {

class CDorvoView;
class CalculationDialog;

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
}  // namespace command

/// The most pages the print preview lays out: it holds each of them in memory.
inline constexpr int kPreviewPageLimit = 200;

/// The status bar's prompt while no command is chosen.
inline constexpr const char* kIdlePrompt =
    "安定計算（円弧すべり）  　断面図は→で次頁　データ、計算結果は↓で次頁";

/// The main window: menus, the tool bar, the status bar and the view of the one project.
class CMainFrame : public QMainWindow {
    Q_OBJECT

  public:
    /// Layers take their colours from `colours`, the desktop's chooser when it is null.
    explicit CMainFrame(DesktopSession& session, ColourChooser* colours = nullptr,
                        QWidget* parent = nullptr);
    ~CMainFrame() override;

    QAction* action(int command) const { return actions_.at(command); }
    CDorvoView* view() const { return view_; }
    DesktopSession& session() { return session_; }
    /// Prints and previews through `dialogs` from now on (tests answer them without waiting).
    void setPrintDialogs(PrintDialogs& dialogs) { printDialogs_ = &dialogs; }

    /// Opens a project as the command line, a dropped file or a recent file does, asking
    /// first when the current project has unsaved changes. False when nothing was opened.
    bool openProject(const std::filesystem::path& file);
    /// Prints pages `from` … `to` into a PDF file as print to file does, never over the open
    /// project; a failure is reported. Returns whether the file was written.
    bool printToFile(const std::filesystem::path& file, int from, int to);
    /// The four most recent projects, newest first.
    QStringList recentFiles() const;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    QAction* addCommand(int command, const QString& caption, const QString& statusText,
                        const QString& toolTip = {});
    void createActions();
    void createMenus();
    void createToolBar();
    void createStatusBar();

    bool mayReplaceProject();
    void projectReplaced();
    void projectChanged();
    void rememberRecent(const std::filesystem::path& file);
    void updateRecentMenu();
    void updateTitle();
    void updateCommands();
    void notYetAvailable();

    void newProject();
    void openWithChooser();
    void save();
    void saveAs();
    void print();
    void printPreview();
    void printSetup();
    EditorOptions editorOptions() const;
    void editBlocks();
    void editLayers();
    /// Takes over a project that a data editor changed, as one step of undo.
    void applyEdit(const Project& changed);
    void editLoads();
    void editCircleSearch();
    void calculate();
    void explainCriticalCircle();
    /// After a calculation: the Bishop Fs and whether the true minimum may lie outside the
    /// search, in the status bar, without stopping the user.
    void showSearchNotice(const SearchInsight& insight);
    void showPage(ViewPage page);
    void scroll(ScrollCommand command);
    void editEnterKey();
    void editHeadings();
    void editScale();
    /// "断面に合わせる": the scale and window that show the section and the centre grid on one
    /// page, as one step of undo.
    void fitSection();
    /// Fits the view's window to the section while the project's window was never set.
    void fitUnsetWindow();
    void editMargins();
    void editLineStyles();
    void editFonts();
    /// After a dialog that may have changed the project's settings lines: undo history and
    /// the modified mark when they changed, and a repaint.
    void keepSettingsChange(const Project& before);
    void changeLocation();
    void showHelp();
    void showFormulas();
    void undo();
    void redo();

    /// Counts the printed pages and prints `from` … `to` on a printer, with progress and a
    /// way to stop.
    int printedPageCount();
    void printRange(QPrinter& printer, int from, int to, const QString& title);

    DesktopSession& session_;
    CDorvoView* view_;
    QScrollArea* scrollArea_;
    std::map<int, QAction*> actions_;
    QMenu* recentMenu_ = nullptr;
    QPrinter printer_;
    DesktopPrintDialogs desktopPrintDialogs_;
    PrintDialogs* printDialogs_ = &desktopPrintDialogs_;
    CalculationDialog* runningCalculation_ = nullptr;
    QLabel* notice_ = nullptr;
    /// The critical circle of the last calculation by the simplified Bishop method, which
    /// 最小安全率の円の内訳 explains when that method was chosen.
    std::optional<CircleResult> bishopCritical_;
    DesktopColourChooser desktopColours_;
    ColourChooser& colours_;
};

}  // namespace dorvo
