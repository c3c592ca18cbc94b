// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/main_frame.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QPageSetupDialog>
#include <QScreen>
#include <QScrollArea>
#include <QSettings>
#include <QStatusBar>
#include <QToolBar>

#include "app/circle_search_editing.h"
#include "app/search_insight.h"
#include "calc/circle_search.h"
#include "calc/result_records.h"
#include "gui/block_dialog.h"
#include "gui/calculation_dialog.h"
#include "gui/circle_search_dialog.h"
#include "gui/dorvo_view.h"
#include "gui/enter_key_filter.h"
#include "gui/explanation_dialog.h"
#include "gui/layer_dialog.h"
#include "gui/loads_dialog.h"
#include "gui/path_text.h"
#include "gui/small_dialogs.h"
#include "model/number_text.h"
#include "render/fs_grid.h"
#include "render/result_overlay.h"

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

    createActions();
    createMenus();
    createToolBar();
    createStatusBar();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QSize size = screen->size();
        resize(int(size.width() * 0.86), int(size.height() * 0.8));
    }
    printer_.setPageSize(session_.paper.pageSize);
    printer_.setPageOrientation(session_.paper.orientation);
    projectReplaced();
    view_->setFocus();
}

CMainFrame::~CMainFrame() = default;

QAction* CMainFrame::addCommand(int command, const QString& caption, const QString& statusText,
                                const QString& toolTip) {
    auto* action = new QAction(caption, this);
    action->setStatusTip(statusText);
    action->setToolTip(toolTip.isEmpty() ? statusText : toolTip);
    action->setData(command);
    actions_[command] = action;
    return action;
}

void CMainFrame::createActions() {
    using namespace command;
    auto bind = [this](QAction* action, auto slot) {
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    bind(addCommand(kNew, "新規作成(&N)", "新規にファイルを作成", "新規ﾌｧｲﾙ"),
         &CMainFrame::newProject)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    bind(addCommand(kOpen, "開く(&O)...", "既存のファイルを開く", "開く"),
         &CMainFrame::openWithChooser)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    bind(addCommand(kSave, "上書き保存(&S)", "作業中のファイルを保存", "保存"), &CMainFrame::save)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    bind(addCommand(kSaveAs, "名前を付けて保存(&A)...", "作業中のファイルに名前を付けて保存"),
         &CMainFrame::saveAs);
    bind(addCommand(kPrint, "印刷(&P)...", "作業中の図表を印刷", "印刷"), &CMainFrame::print)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    bind(addCommand(kPrintPreview, "印刷ﾌﾟﾚﾋﾞｭｰ(&V)", "印刷イメージを表示"),
         &CMainFrame::printPreview);
    bind(addCommand(kPrintSetup, "ﾌﾟﾘﾝﾀの設定(&R)...", "プリンタと用紙の設定"),
         &CMainFrame::printSetup);
    bind(addCommand(kExit, "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)", "アプリケーションを終了"), &QWidget::close);

    bind(addCommand(kHeadings, "見出しとページ(&M)", "見出しとページ番号"),
         &CMainFrame::editHeadings);
    bind(addCommand(kBlocks, "ブロックデータ(&B)", "断面のブロックと境界線"),
         &CMainFrame::editBlocks);
    bind(addCommand(kLayers, "層データ(&S)", "土層の定数"), &CMainFrame::editLayers);
    bind(addCommand(kLoads, "集中加重データ((&F)", "集中荷重の位置と大きさ"),
         &CMainFrame::editLoads);
    bind(addCommand(kCircleSearch, "すべり円データ((&R)", "中心点、半径"),
         &CMainFrame::editCircleSearch);
    bind(addCommand(kCalculate, "計算実行(&C)", "安定計算実行　計算式"), &CMainFrame::calculate);
    bind(addCommand(kExplain, "最小安全率の円の内訳(&E)...",
                    "最小安全率の円の要素ごとのモーメントと簡易ビショップ法の安全率"),
         &CMainFrame::explainCriticalCircle);

    auto* toolBarShown = addCommand(kToolBar, "ﾂｰﾙ ﾊﾞｰ(&T)", "ツール バーの表示/非表示");
    toolBarShown->setCheckable(true);
    toolBarShown->setChecked(true);
    auto* statusBarShown = addCommand(kStatusBar, "ｽﾃｰﾀｽ ﾊﾞｰ(&S)", "ステータス バーの表示/非表示");
    statusBarShown->setCheckable(true);
    statusBarShown->setChecked(true);
    auto* pages = new QActionGroup(this);
    const std::array<std::tuple<int, const char*, const char*, ViewPage>, 3> kinds = {{
        {kShowFigure, "断面図(&F)", "断面図を表示", ViewPage::Figure},
        {kShowData, "データ(&A)", "入力データを表示", ViewPage::Data},
        {kShowResults, "計算結果(&C)", "計算結果を表示", ViewPage::Results},
    }};
    for (const auto& [id, caption, status, page] : kinds) {
        QAction* action = addCommand(id, caption, status);
        action->setCheckable(true);
        pages->addAction(action);
        const ViewPage shown = page;
        connect(action, &QAction::triggered, this, [this, shown] { showPage(shown); });
    }
    const std::array<std::tuple<int, const char*, const char*, const char*, ViewPage>, 3> buttons =
        {{
            {kFigureButton, "図", "図", "図表示", ViewPage::Figure},
            {kDataButton, "データ", "データ", "データ表示", ViewPage::Data},
            {kResultsButton, "計算結果", "計算結果", "計算結果", ViewPage::Results},
        }};
    for (const auto& [id, caption, status, tip, page] : buttons) {
        const ViewPage shown = page;
        connect(addCommand(id, caption, status, tip), &QAction::triggered, this,
                [this, shown] { showPage(shown); });
    }
    const std::array<std::tuple<int, const char*, const char*, ScrollCommand>, 4> scrolls = {{
        {kFigureLeft, "図の左", "図の左方を見る", ScrollCommand::Left},
        {kFigureRight, "図の右", "図の右方を見る", ScrollCommand::Right},
        {kScrollUp, "上へ", "図の上方を見る、または前頁", ScrollCommand::Up},
        {kScrollDown, "下へ", "図の下方を見る、または次頁", ScrollCommand::Down},
    }};
    for (const auto& [id, caption, tip, direction] : scrolls) {
        const ScrollCommand move = direction;
        connect(addCommand(id, caption, caption, tip), &QAction::triggered, this,
                [this, move] { scroll(move); });
    }

    bind(addCommand(kScale, "図の縮尺と印刷範囲(&S)", "図の縮尺と印刷範囲"),
         &CMainFrame::editScale);
    bind(addCommand(kLineStyles, "様式　桁数、図の線種(&Y)",
                    "数値の桁数、XY軸目盛り、作図線の太さなど"),
         &CMainFrame::editLineStyles);
    bind(addCommand(kMargins, "マージンと表示位置(&X)", "マージンと表示位置"),
         &CMainFrame::editMargins);
    bind(addCommand(kFonts, "フォント(&F)", "活字の書体とサイズ"), &CMainFrame::editFonts);
    bind(addCommand(kEnterKey, "キーの動作(&E)", "データ入力画面でのEnterキーの動作"),
         &CMainFrame::editEnterKey);
    bind(addCommand(kSetup, "セットアップ(&S)", "本プログラムのインストール場所"),
         &CMainFrame::changeLocation);
    bind(addCommand(kAbout, "ﾊﾞｰｼﾞｮﾝ情報(&A)", "ﾊﾞｰｼﾞｮﾝ情報", "ﾊﾞｰｼﾞｮﾝ情報"),
         [this] { showAboutBox(this); });
    bind(addCommand(kHelp, "操作＆ヘルプ(&H)", "操作案内"), &CMainFrame::showHelp);
    bind(addCommand(kFormulas, "計算式(&C)", "計算式参考表示"), &CMainFrame::showFormulas);

    bind(addCommand(kUndo, "元に戻す(&U)", "データの変更を元に戻す"), &CMainFrame::undo)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    bind(addCommand(kRedo, "やり直し(&R)", "元に戻した変更をやり直す"), &CMainFrame::redo)
        ->setShortcuts(
            {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    // The figure's optional layers, remembered from one run to the next.
    const std::array<std::tuple<int, const char*, const char*, const char*, bool FigureOptions::*>,
                     2>
        layers = {{
            {kContours, "安全率の等高線(&K)", "中心点ごとの最小安全率を色分けして図に重ねる",
             "figureContours", &FigureOptions::contours},
            {kAnnotate, "図の注釈(&N)", "荷重の値、最小安全率の円、縮尺と土層の凡例を図に書き込む",
             "figureAnnotations", &FigureOptions::annotate},
        }};
    for (const auto& [id, caption, status, key, member] : layers) {
        QAction* layer = addCommand(id, caption, status);
        layer->setCheckable(true);
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
    bind(addCommand(kFitSection, "断面に合わせる(&W)",
                    "断面と中心点の格子が１ページに入る縮尺と範囲にする"),
         &CMainFrame::fitSection);
    bind(addCommand(kZoomIn, "拡大(&I)", "画面の表示を拡大"), [this] { view_->zoomIn(); })
        ->setShortcuts(
            {QKeySequence(Qt::CTRL | Qt::Key_Plus), QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    bind(addCommand(kZoomOut, "縮小(&O)", "画面の表示を縮小"), [this] {
        view_->zoomOut();
    })->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Minus));
    bind(addCommand(kZoomReset, "等倍(&Z)", "画面の表示を等倍に戻す"), [this] {
        view_->setZoom(1.0);
    })->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
}

void CMainFrame::createMenus() {
    using namespace command;
    QMenu* file = menuBar()->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    for (int id : {kNew, kOpen, kSave, kSaveAs}) file->addAction(action(id));
    file->addSeparator();
    for (int id : {kPrint, kPrintPreview, kPrintSetup}) file->addAction(action(id));
    file->addSeparator();
    recentMenu_ = file->addMenu(QStringLiteral("最近使ったﾌｧｲﾙ"));
    file->addSeparator();
    file->addAction(action(kExit));
    updateRecentMenu();

    QMenu* edit = menuBar()->addMenu(QStringLiteral("編集(&E)"));
    edit->addAction(action(kUndo));
    edit->addAction(action(kRedo));

    QMenu* dataMenu = menuBar()->addMenu(QStringLiteral("データ(A)"));
    dataMenu->addAction(action(kHeadings));
    dataMenu->addSeparator();
    for (int id : {kBlocks, kLayers, kLoads, kCircleSearch}) dataMenu->addAction(action(id));
    dataMenu->addSeparator();
    dataMenu->addAction(action(kCalculate));
    dataMenu->addAction(action(kExplain));

    QMenu* show = menuBar()->addMenu(QStringLiteral("表示(&V)"));
    show->addAction(action(kToolBar));
    show->addAction(action(kStatusBar));
    show->addSeparator();
    for (int id : {kShowFigure, kShowData, kShowResults}) show->addAction(action(id));
    show->addSeparator();
    show->addAction(action(kContours));
    show->addAction(action(kAnnotate));
    show->addSeparator();
    show->addAction(action(kFitSection));
    for (int id : {kZoomIn, kZoomOut, kZoomReset}) show->addAction(action(id));

    QMenu* settings = menuBar()->addMenu(QStringLiteral("設定(&S)"));
    for (int id : {kScale, kLineStyles, kMargins, kFonts}) settings->addAction(action(id));
    settings->addSeparator();
    settings->addAction(action(kEnterKey));
    settings->addAction(action(kSetup));

    QMenu* help = menuBar()->addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    for (int id : {kAbout, kHelp, kFormulas}) help->addAction(action(id));
}

void CMainFrame::createToolBar() {
    using namespace command;
    QToolBar* bar = addToolBar(QStringLiteral("ツール バー"));
    bar->setObjectName(QStringLiteral("toolBar"));
    const std::array<std::pair<int, const char*>, 12> buttons = {{
        {kNew, "new"},
        {kOpen, "open"},
        {kSave, "save"},
        {kPrint, "print"},
        {kAbout, "about"},
        {kFigureLeft, "left"},
        {kFigureRight, "right"},
        {kScrollUp, "up"},
        {kScrollDown, "down"},
        {kFigureButton, "figure"},
        {kDataButton, "data"},
        {kResultsButton, "results"},
    }};
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        if (i == 3 || i == 5 || i == 9) bar->addSeparator();
        QAction* button = action(buttons[i].first);
        button->setIcon(icon(buttons[i].second));
        bar->addAction(button);
    }
    connect(action(kToolBar), &QAction::toggled, bar, &QToolBar::setVisible);
    connect(bar, &QToolBar::visibilityChanged, action(kToolBar), &QAction::setChecked);
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
    connect(action(command::kStatusBar), &QAction::toggled, statusBar(), &QStatusBar::setVisible);
}

void CMainFrame::notYetAvailable() {
    session_.user.report(literalMessage("この機能はまだ使えません"));
}

bool CMainFrame::mayReplaceProject() {
    return dorvo::mayReplaceProject(session_.document, session_.user, session_.context());
}

void CMainFrame::projectReplaced() {
    session_.history.clear();
    notice_->clear();
    bishopCritical_.reset();
    session_.pages.figure.contourMinima.reset();
    session_.setUp();
    session_.showNewProject();
    projectChanged();
}

void CMainFrame::projectChanged() {
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
    action(kUndo)->setEnabled(session_.history.canUndo());
    action(kRedo)->setEnabled(session_.history.canRedo());
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
    if (!loadDocument(session_.document, file, OpenPath::Framework, session_.context())) {
        view_->update();
        return false;
    }
    rememberRecent(file);
    projectReplaced();
    return true;
}

void CMainFrame::newProject() {
    if (!mayReplaceProject()) return;
    newDocument(session_.document, session_.context());
    projectReplaced();
}

void CMainFrame::openWithChooser() {
    if (!mayReplaceProject()) return;
    if (!openCommand(session_.document, session_.context())) return;
    rememberRecent(session_.document.pathName);
    projectReplaced();
}

void CMainFrame::save() {
    if (saveCommand(session_.document, session_.context())) {
        rememberRecent(session_.document.pathName);
    }
    updateTitle();
}

void CMainFrame::saveAs() {
    if (saveAsCommand(session_.document, session_.context())) {
        rememberRecent(session_.document.pathName);
    }
    updateTitle();
}

int CMainFrame::printedPageCount() {
    const PageSetup setup = session_.pageSetup();
    const RenderInputs inputs = session_.inputs(setup);
    session_.pages.view.printing = false;
    rememberScreenHeights(inputs, session_.pages);
    session_.pages.view.printing = true;
    const int shown = session_.pages.view.currentPage;
    const int pages = pageCount(inputs, session_.pages);
    session_.pages.view.currentPage = shown;
    session_.pages.view.printing = false;
    return pages;
}

void CMainFrame::printRange(QPrinter& printer, int from, int to, const QString& title) {
    const PageSetup setup = session_.pageSetup();
    const std::unique_ptr<PrintProgress> progress =
        printDialogs_->progress(title, to - from + 1, this);
    const PrintOutcome outcome =
        printPages(printer, printer.resolution(), session_.inputs(setup), session_.pages, from, to,
                   [&](int done, int total) { return progress->carryOn(done, total); });
    if (outcome == PrintOutcome::Failed) {
        session_.user.report(literalMessage("印刷できませんでした"));
    }
}

void CMainFrame::print() {
    const int pages = printedPageCount();
    if (!printDialogs_->askToPrint(printer_, pages, this)) return;
    int from = 1;
    int to = pages;
    if (printer_.printRange() == QPrinter::PageRange) {
        from = std::max(1, printer_.fromPage());
        to = std::min(pages, printer_.toPage());
    } else if (printer_.printRange() == QPrinter::CurrentPage) {
        from = to = std::min(session_.pages.view.currentPage, pages);
    }
    if (!printer_.outputFileName().isEmpty()) {
        printToFile(toPath(printer_.outputFileName()), from, to);
        return;
    }
    printRange(printer_, from, to, QStringLiteral("印刷"));
}

bool CMainFrame::printToFile(const std::filesystem::path& file, int from, int to) {
    if (auto refused = exportOverProject(file, session_.document)) {
        session_.user.report(*refused);
        return false;
    }
    const PageSetup setup = session_.pageSetup();
    const std::unique_ptr<PrintProgress> progress =
        printDialogs_->progress(QStringLiteral("印刷"), to - from + 1, this);
    const Result<PrintOutcome> printed = printPagesToPdf(
        file, printer_.pageLayout(), printer_.resolution(), session_.inputs(setup), session_.pages,
        from, to, [&](int done, int total) { return progress->carryOn(done, total); });
    if (!printed) {
        session_.user.report(literalMessage("印刷できませんでした\n" + printed.error().text));
        return false;
    }
    return printed.value() == PrintOutcome::Printed;
}

void CMainFrame::printPreview() {
    const int pages = printedPageCount();
    // The preview keeps every page it shows in memory: a result table of millions of records
    // would fill the machine before the window opened.
    const int shown = std::min(pages, kPreviewPageLimit);
    if (shown < pages) {
        session_.user.report(
            literalMessage(formatC("印刷ﾌﾟﾚﾋﾞｭｰは最初の %d ページまでを表示します（全 %d ページ）。"
                                   "それより後のページは画面で↓のキーで見るか、印刷してください。",
                                   shown, pages)));
    }
    printDialogs_->preview(
        printer_,
        [this, shown](QPrinter& printer) {
            printRange(printer, 1, shown, QStringLiteral("印刷ﾌﾟﾚﾋﾞｭｰ"));
        },
        this);
}

void CMainFrame::printSetup() {
    QPageSetupDialog dialog(&printer_, this);
    if (dialog.exec() != QDialog::Accepted) return;
    const QPageLayout layout = printer_.pageLayout();
    session_.paper = Paper{layout.pageSize(), layout.orientation()};
    session_.pages.resultPages = {};
    projectChanged();
}

EditorOptions CMainFrame::editorOptions() const {
    const ProgramSettings& settings = session_.installation.settings;
    return {enterKeyActionOf(settings.enterKeyOption), settings.listScrollOption >= 1};
}

void CMainFrame::editBlocks() {
    const EditorOptions options = editorOptions();
    BlockDialog dialog(session_.document.project, options, session_.user, session_.user, this);
    EnterKeyFilter::install(&dialog, options.enterKey);
    if (dialog.exec() != QDialog::Accepted) return;
    Project changed = session_.document.project;
    changed.blocks = dialog.blocks();
    applyEdit(changed);
}

void CMainFrame::editLayers() {
    const EditorOptions options = editorOptions();
    LayerDialog dialog(session_.document.project, options, session_.user, session_.user, colours_,
                       this);
    EnterKeyFilter::install(&dialog, options.enterKey);
    if (dialog.exec() != QDialog::Accepted) return;
    Project changed = session_.document.project;
    changed.layers = dialog.layers();
    storeLayerGeneralValues(changed.settings, dialog.generalValues());
    applyEdit(changed);
}

void CMainFrame::applyEdit(const Project& changed) {
    Project& project = session_.document.project;
    if (changed.blocks == project.blocks && changed.layers == project.layers &&
        changed.settings.lines == project.settings.lines) {
        return;
    }
    session_.history.recordBefore(project);
    project = changed;
    session_.document.modified = true;
    projectChanged();
}

void CMainFrame::editLoads() {
    LoadsDialog dialog(session_.document.project, session_.user, this);
    EnterKeyFilter::install(&dialog,
                            enterKeyActionOf(session_.installation.settings.enterKeyOption));
    if (dialog.exec() != QDialog::Accepted) return;
    Project& project = session_.document.project;
    const auto& loads = dialog.loads();
    if (std::equal(loads.begin(), loads.end(), project.loads.begin(),
                   [](auto& a, auto& b) { return a.x == b.x && a.force == b.force; })) {
        return;
    }
    session_.history.recordBefore(project);
    std::copy(loads.begin(), loads.end(), project.loads.begin());
    session_.document.modified = true;
    projectChanged();
}

void CMainFrame::editCircleSearch() {
    Project& project = session_.document.project;
    const Project before = project;
    CircleSearchDialog dialog(
        circleSearchTexts(project),
        [this, &project](const CircleSearchTexts& typed, int showing) {
            const CircleSearchStep step =
                acceptCircleSearch(project, typed, showing, session_.user);
            view_->update();
            return step;
        },
        this);
    EnterKeyFilter::install(&dialog,
                            enterKeyActionOf(session_.installation.settings.enterKeyOption));
    dialog.exec();
    if (project.circleSearch.lines != before.circleSearch.lines ||
        project.settings.lines != before.settings.lines) {
        session_.history.recordBefore(before);
        session_.document.modified = true;
    }
    projectChanged();
}

void CMainFrame::calculate() {
    Project& project = session_.document.project;
    if (const auto search = validCircleSearch(project.circleSearch); !search) {
        session_.user.report(search.error());
        return;
    }
    if (auto missing = firstMissingLayer(project)) {
        session_.user.report(missingLayerMessage(*missing));
    }
    SearchOptions options;
    options.decimals = session_.installation.settings.fsDecimals;
    CalculationDialog dialog(project, session_.installation.resultsFile(), options, session_.user,
                             this);
    runningCalculation_ = &dialog;
    dialog.exec();
    runningCalculation_ = nullptr;
    if (dialog.calculation()) {
        project.critical = dialog.calculatedProject().critical;
        session_.document.modified = true;
        session_.pages.resultPages = {};
        const auto& critical = dialog.calculation()->summary.critical;
        const auto& bishop = dialog.bishopSearch();
        bishopCritical_ = bishop ? bishop->critical : std::nullopt;
        session_.pages.figure.contourMinima.reset();
        if (bishop) session_.pages.figure.contourMinima = centreLabelsOf(bishop->centreMinima);
        if (bishop) {
            showSearchNotice(bishopSearchInsight(project, *bishop));
        } else if (critical) {
            showSearchNotice(
                searchInsight(project, *critical, session_.installation.resultsFile()));
        } else {
            notice_->clear();
        }
    }
    projectChanged();
}

void CMainFrame::showSearchNotice(const SearchInsight& insight) {
    notice_->clear();
    QStringList lines;
    if (insight.method == SearchMethod::Bishop) {
        if (!insight.critical) {
            notice_->setText(QStringLiteral("簡易ビショップ法: 解のある円がありません"));
            return;
        }
        const CircleResult& c = *insight.critical;
        lines << QString::fromStdString(
            formatC("簡易ビショップ法で探索: 中心 (%.2f, %.2f) 半径 %.2f", c.rx, c.ry, c.r));
    } else if (!insight.critical) {
        return;
    }
    const int places = fsPlaces(clampFsDecimals(session_.installation.settings.fsDecimals));
    lines << QString::fromStdString(
        "簡易ビショップ法 Fs = " +
        bishopValueText(insight.bishop, places, WarningLanguage::Japanese));
    for (SearchEdge edge : insight.warnings) {
        lines << QString::fromStdString(describeSearchEdge(edge, WarningLanguage::Japanese));
    }
    if (insight.bishop.lowMAlpha()) {
        lines << QString::fromStdString(describeBishop(insight.bishop, WarningLanguage::Japanese));
    }
    if (insight.upwardLoadOnSlipMass) {
        lines << QString::fromStdString(describeUpwardLoad(WarningLanguage::Japanese));
    }
    notice_->setText(lines.join(QStringLiteral("\n")));
}

void CMainFrame::explainCriticalCircle() {
    // A project opened with its results has its critical circle in them, not in the project.
    CriticalCircle c = session_.document.project.critical;
    if (!(c.radius > 0.0)) readResultOverlay(session_.installation.resultsFile(), c);
    const Result<Section> prepared = prepareSection(session_.document.project);
    if (!(c.radius > 0.0) || !prepared) {
        session_.user.report(literalMessage("計算実行のあとで使えます"));
        return;
    }
    const auto explained =
        bishopCritical_
            ? explainCircle(*prepared, bishopCritical_->rx, bishopCritical_->ry, bishopCritical_->r)
            : explainCircle(*prepared, c.centreX, c.centreY, c.radius);
    ExplanationDialog dialog(explained, session_.document, session_.user, this);
    dialog.exec();
}

void CMainFrame::showPage(ViewPage page) {
    showPageKind(page, session_.pages.view, session_.window, session_.document.project);
    updateCommands();
    view_->update();
}

void CMainFrame::scroll(ScrollCommand command) {
    view_->apply(scrollView(view_->navigation(), command));
}

void CMainFrame::editEnterKey() {
    EnterKeyDialog dialog(session_.installation.settings.enterKeyOption, this);
    if (dialog.exec() == QDialog::Accepted) {
        session_.installation.settings.enterKeyOption = dialog.option();
        if (!writeSettingsFile(session_.installation)) {
            session_.user.report(cannotWriteMessage(session_.installation.settingsFile()));
        }
    }
    view_->update();
}

void CMainFrame::changeLocation() {
    LocationDialog dialog(session_.installation.workFolder, session_.installation.environment,
                          session_.user, this);
    if (dialog.exec() == QDialog::Accepted) {
        changeInstallLocation(session_.installation, session_.document.project, dialog.folder(),
                              session_.user);
        session_.installHelp();
        session_.pages.resultPages = {};
    }
    view_->update();
}

void CMainFrame::showHelp() {
    HelpDialog dialog(session_.installation.workFolder / "Help.txt", session_.user, this);
    dialog.exec();
    view_->update();
}

void CMainFrame::showFormulas() {
    FormulaDialog dialog(session_.installation.workFolder / "HelpCalc.html", session_.user, this);
    dialog.exec();
    view_->update();
}

void CMainFrame::undo() {
    if (!session_.history.canUndo()) return;
    session_.document.project = session_.history.undo(session_.document.project);
    session_.document.modified = true;
    projectChanged();
}

void CMainFrame::redo() {
    if (!session_.history.canRedo()) return;
    session_.document.project = session_.history.redo(session_.document.project);
    session_.document.modified = true;
    projectChanged();
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
