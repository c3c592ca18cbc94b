// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/main_frame.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QScreen>
#include <QScrollArea>
#include <QSettings>
#include <QStatusBar>
#include <QToolBar>

#include "app/analysis_availability.h"
#include "gui/back_analysis_dialog.h"
#include "gui/calculation_dialog.h"
#include "gui/dorvo_view.h"
#include "gui/path_text.h"
#include "gui/probability_dialog.h"
#include "gui/restraint_dialog.h"
#include "gui/sensitivity_dialog.h"
#include "gui/small_dialogs.h"
#include "gui/status_indicators.h"

namespace dorvo {

namespace {

constexpr int kRecentFiles = 4;
const QString kRecentKey = QStringLiteral("recentFiles");

QSettings programSettings() {
    return QSettings(QStringLiteral("Quenvar"), QStringLiteral("Dorvo"));
}

QIcon icon(const char* name) {
    return QIcon(QStringLiteral(":/icons/%1.svg").arg(QString::fromUtf8(name)));
}

/// Whether the results working file holds a calculation's results.
bool hasResults(const DesktopSession& session) {
    return session.document.project.critical.radius > 0.0 ||
           calculationResultsExist(session.installation.resultsFile());
}

}  // namespace

CMainFrame::CMainFrame(DesktopSession& session, ColourChooser* colours, QWidget* parent)
    : QMainWindow(parent),
      session_(session),
      printer_(QPrinter::HighResolution),
      desktopColours_(this),
      colours_(colours != nullptr ? *colours : desktopColours_) {
    setAcceptDrops(true);
    setWindowIcon(icon("dorvo"));
    view_ = new CDorvoView(session_, this);
    scrollArea_ = new QScrollArea(this);
    scrollArea_->setWidget(view_);
    scrollArea_->setWidgetResizable(true);  // the view fills the window, at least a page
    scrollArea_->setBackgroundRole(QPalette::Dark);
    scrollArea_->setFocusProxy(view_);
    setCentralWidget(scrollArea_);

    actions_ = createCommandActions(this);
    connectCommands();
    recentMenu_ = buildMenus(*this, actions_);
    updateRecentMenu();
    QToolBar* bar = buildToolBar(*this, actions_);
    action(command::kToolBar)->setChecked(true);
    connect(action(command::kToolBar), &QAction::toggled, bar, &QToolBar::setVisible);
    connect(bar, &QToolBar::visibilityChanged, action(command::kToolBar), &QAction::setChecked);
    action(command::kStatusBar)->setChecked(true);
    createStatusBar();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QSize size = screen->size();
        resize(int(size.width() * 0.86), int(size.height() * 0.8));
    }
    printer_.setPageSize(session_.paper.pageSize);
    printer_.setPageOrientation(session_.paper.orientation);
    session_.onChange([this](ProjectChange change) { followChange(change); });
    session_.showAfresh();
    view_->setFocus();
}

CMainFrame::~CMainFrame() {
    session_.onChange({});
}

void CMainFrame::connectCommands() {
    using namespace command;
    const std::pair<int, void (CMainFrame::*)()> handlers[] = {
        {kNew, &CMainFrame::newProject},
        {kOpen, &CMainFrame::openWithChooser},
        {kSave, &CMainFrame::save},
        {kSaveAs, &CMainFrame::saveAs},
        {kPrint, &CMainFrame::print},
        {kPrintPreview, &CMainFrame::printPreview},
        {kPrintSetup, &CMainFrame::printSetup},
        {kHeadings, &CMainFrame::editHeadings},
        {kBlocks, &CMainFrame::editBlocks},
        {kLayers, &CMainFrame::editLayers},
        {kLoads, &CMainFrame::editLoads},
        {kCircleSearch, &CMainFrame::editCircleSearch},
        {kCalculate, &CMainFrame::calculate},
        {kExplain, &CMainFrame::explainCriticalCircle},
        {kScale, &CMainFrame::editScale},
        {kLineStyles, &CMainFrame::editLineStyles},
        {kMargins, &CMainFrame::editMargins},
        {kFonts, &CMainFrame::editFonts},
        {kEnterKey, &CMainFrame::editEnterKey},
        {kSetup, &CMainFrame::changeLocation},
        {kHelp, &CMainFrame::showHelp},
        {kFormulas, &CMainFrame::showFormulas},
        {kUndo, &CMainFrame::undo},
        {kRedo, &CMainFrame::redo},
        {kFitSection, &CMainFrame::fitSection},
    };
    for (const auto& [id, handler] : handlers) {
        connect(action(id), &QAction::triggered, this, handler);
    }
    connect(action(kExit), &QAction::triggered, this, &QWidget::close);
    connect(action(kAbout), &QAction::triggered, this, [this] { showAboutBox(this); });
    connect(action(kZoomIn), &QAction::triggered, this, [this] { view_->zoomIn(); });
    connect(action(kZoomOut), &QAction::triggered, this, [this] { view_->zoomOut(); });
    connect(action(kZoomReset), &QAction::triggered, this, [this] { view_->setZoom(1.0); });
    const std::pair<int, ViewPage> pages[] = {
        {kShowFigure, ViewPage::Figure},   {kShowData, ViewPage::Data},
        {kShowResults, ViewPage::Results}, {kFigureButton, ViewPage::Figure},
        {kDataButton, ViewPage::Data},     {kResultsButton, ViewPage::Results},
    };
    for (const auto& [id, page] : pages) {
        const ViewPage shown = page;
        connect(action(id), &QAction::triggered, this, [this, shown] { showPage(shown); });
    }
    auto* pageChoice = new QActionGroup(this);
    for (int id : {kShowFigure, kShowData, kShowResults}) pageChoice->addAction(action(id));
    const std::pair<int, ScrollCommand> scrolls[] = {
        {kFigureLeft, ScrollCommand::Left},
        {kFigureRight, ScrollCommand::Right},
        {kScrollUp, ScrollCommand::Up},
        {kScrollDown, ScrollCommand::Down},
    };
    for (const auto& [id, direction] : scrolls) {
        const ScrollCommand move = direction;
        connect(action(id), &QAction::triggered, this, [this, move] { scroll(move); });
    }
    connectFigureLayers();
    connectAnalyses();
}

void CMainFrame::connectAnalyses() {
    using namespace command;
    connect(action(kRestraint), &QAction::triggered, this, [this] {
        openRestraintDialog(this, session_, [this](std::optional<RestraintMark> mark) {
            session_.pages.figure.restraint = mark;
            showPage(ViewPage::Figure);
        });
    });
    connect(action(kBackAnalysis), &QAction::triggered, this, [this] {
        openBackAnalysisDialog(this, session_, [this](const Project& changed) {
            ProjectSession::Edit edit = session_.beginEdit();
            edit.project() = changed;
            edit.commit();
            calculate();
        });
    });
    connect(action(kSensitivity), &QAction::triggered, this,
            [this] { openSensitivityDialog(this, session_); });
    connect(action(kProbability), &QAction::triggered, this, [this] {
        openProbabilityDialog(this, session_, [this](std::vector<CriticalCircle> circles) {
            session_.pages.figure.failingCircles = std::move(circles);
            showPage(ViewPage::Figure);
        });
    });
}

void CMainFrame::connectFigureLayers() {
    // The figure's optional layers, remembered from one run to the next.
    const std::tuple<int, const char*, bool FigureOptions::*> layers[] = {
        {command::kContours, "figureContours", &FigureOptions::contours},
        {command::kAnnotate, "figureAnnotations", &FigureOptions::annotate},
    };
    for (const auto& [id, key, member] : layers) {
        QAction* layer = action(id);
        const QString settingsKey = QString::fromUtf8(key);
        const bool on = programSettings().value(settingsKey, false).toBool();
        layer->setChecked(on);
        session_.pages.figure.*member = on;
        const auto option = member;
        connect(layer, &QAction::toggled, this, [this, settingsKey, option](bool checked) {
            session_.pages.figure.*option = checked;
            programSettings().setValue(settingsKey, checked);
            view_->update();
        });
    }
}

void CMainFrame::createStatusBar() {
    auto* prompt = new QLabel(QString::fromUtf8(kIdlePrompt), this);
    prompt->setAccessibleName(QStringLiteral("ステータス"));
    statusBar()->addWidget(prompt, 1);
    notice_ = new QLabel(this);
    notice_->setAccessibleName(QStringLiteral("計算の注意"));
    notice_->setWordWrap(true);
    // Not a permanent widget: a command's description, shown while the pointer is on it,
    // takes the whole bar in place of the prompt and the notice.
    statusBar()->addWidget(notice_, 2);
    new StatusIndicators(*statusBar(), platformIndicatorReader(), this);
    connect(action(command::kStatusBar), &QAction::toggled, statusBar(), &QStatusBar::setVisible);
}

bool CMainFrame::mayReplaceProject() {
    return session_.mayReplace(session_.user, session_.context());
}

void CMainFrame::followChange(ProjectChange change) {
    if (change == ProjectChange::Replaced) {
        notice_->clear();
        bishopCritical_.reset();
    }
    fitUnsetWindow();
    // Counting the pages takes a page past the last back to the first, as a key does, so that
    // fewer results or data never leave the view on a blank page.
    view_->pageCount();
    updateTitle();
    updateCommands();
    view_->setMinimumSize(view_->sizeHint());
    view_->update();
}

void CMainFrame::updateTitle() {
    const QString name = toQString(session_.document.title());
    setWindowTitle(QString::fromUtf8(kProgramCaption) + QStringLiteral("- ") +
                   (name.isEmpty() ? QStringLiteral("無題") : name) + QStringLiteral("[*]"));
    setWindowModified(session_.document.modified);
}

void CMainFrame::updateCommands() {
    using namespace command;
    updateAvailability(actions_, {session_.canUndo(), session_.canRedo(), hasResults(session_),
                                  projectCanBeCalculated(session_.document.project)});
    const ViewPage page = session_.pages.view.page;
    action(kShowFigure)->setChecked(page == ViewPage::Figure);
    action(kShowData)->setChecked(page == ViewPage::Data);
    action(kShowResults)->setChecked(page == ViewPage::Results);
}

QStringList CMainFrame::recentFiles() const {
    return programSettings().value(kRecentKey).toStringList();
}

void CMainFrame::rememberRecent(const std::filesystem::path& file) {
    QStringList files = recentFiles();
    const QString name = toQString(std::filesystem::absolute(file));
    files.removeAll(name);
    files.prepend(name);
    while (files.size() > kRecentFiles) files.removeLast();
    programSettings().setValue(kRecentKey, files);
    updateRecentMenu();
}

void CMainFrame::updateRecentMenu() {
    recentMenu_->clear();
    const QStringList files = recentFiles();
    int number = 0;
    for (const QString& file : files) {
        QAction* entry = recentMenu_->addAction(QStringLiteral("&%1 %2").arg(++number).arg(file));
        connect(entry, &QAction::triggered, this, [this, file] { openProject(toPath(file)); });
    }
    recentMenu_->setEnabled(!files.isEmpty());
}

bool CMainFrame::openProject(const std::filesystem::path& file) {
    if (!mayReplaceProject()) return false;
    if (!session_.load(file, OpenPath::Framework, session_.context())) {
        view_->update();
        return false;
    }
    rememberRecent(file);
    return true;
}

void CMainFrame::newProject() {
    if (mayReplaceProject()) session_.newProject(session_.context());
}

void CMainFrame::openWithChooser() {
    if (!mayReplaceProject()) return;
    if (session_.open(session_.context())) rememberRecent(session_.document.pathName);
}

void CMainFrame::save() {
    if (session_.save(session_.context())) rememberRecent(session_.document.pathName);
}

void CMainFrame::saveAs() {
    if (session_.saveAs(session_.context())) rememberRecent(session_.document.pathName);
}

void CMainFrame::showPage(ViewPage page) {
    showPageKind(page, session_.pages.view, session_.window, session_.document.project);
    updateCommands();
    view_->update();
}

void CMainFrame::scroll(ScrollCommand command) {
    view_->apply(scrollView(view_->navigation(), command));
}

void CMainFrame::undo() {
    session_.undo();
}

void CMainFrame::redo() {
    session_.redo();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (runningCalculation_ != nullptr) runningCalculation_->stopAndWait();
    if (!mayReplaceProject()) {
        event->ignore();
        return;
    }
    event->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.front().isLocalFile()) return;
    event->acceptProposedAction();
    openProject(toPath(urls.front().toLocalFile()));
}

}  // namespace dorvo
