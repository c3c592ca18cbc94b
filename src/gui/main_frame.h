// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMainWindow>
#include <QPrinter>
#include <filesystem>
#include <map>
#include <optional>

#include "app/command_table.h"
#include "app/search_insight.h"
#include "app/view_commands.h"
#include "calc/circle_evaluation.h"
#include "gui/colour_chooser.h"
#include "gui/command_actions.h"
#include "gui/desktop_session.h"
#include "gui/print_dialogs.h"
#include "gui/table_editor_dialog.h"
#include "render/fs_grid.h"

class QLabel;
class QScrollArea;

namespace dorvo {

class CDorvoView;
class CalculationDialog;

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
    /// Connects each command's action to what it does.
    void connectCommands();
    void connectFigureLayers();
    /// The design and probability analyses under データ.
    void connectAnalyses();
    void createStatusBar();

    bool mayReplaceProject();
    /// Follows a change of the project: what the view shows, the title and the commands.
    void followChange(ProjectChange change);
    void rememberRecent(const std::filesystem::path& file);
    void updateRecentMenu();
    void updateTitle();
    void updateCommands();

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
    void changeLocation();
    void showHelp();
    void showFormulas();
    void undo();
    void redo();

    /// Counts the printed pages and prints `from` … `to` on a printer, with progress and a
    /// way to stop; a stopped count gives nothing and leaves the view as it was.
    std::optional<int> printedPageCount(const QString& title);
    void printRange(QPrinter& printer, int from, int to, const QString& title);

    DesktopSession& session_;
    CDorvoView* view_;
    QScrollArea* scrollArea_;
    CommandActions actions_;
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
