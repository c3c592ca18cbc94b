// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/command_table.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace dorvo {

namespace {

using namespace command;
using enum CommandAvailability;

const CommandDeclaration kCommands[] = {
    // ﾌｧｲﾙ
    {kNew, "新規作成(&N)", "新規にファイルを作成", "新規ﾌｧｲﾙ", "new", {"Ctrl+N"}},
    {kOpen, "開く(&O)...", "既存のファイルを開く", "開く", "open", {"Ctrl+O"}},
    {kSave, "上書き保存(&S)", "作業中のファイルを保存", "保存", "save", {"Ctrl+S"}},
    {kSaveAs, "名前を付けて保存(&A)...", "作業中のファイルに名前を付けて保存"},
    {kPrint, "印刷(&P)...", "作業中の図表を印刷", "印刷", "print", {"Ctrl+P"}},
    {kPrintPreview, "印刷ﾌﾟﾚﾋﾞｭｰ(&V)", "印刷イメージを表示"},
    {kPrintSetup, "ﾌﾟﾘﾝﾀの設定(&R)...", "プリンタと用紙の設定"},
    {kExit, "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)", "アプリケーションを終了"},
    // 編集
    {kUndo, "元に戻す(&U)", "データの変更を元に戻す", nullptr, nullptr, {"Ctrl+Z"}, CanUndo},
    {kRedo,
     "やり直し(&R)",
     "元に戻した変更をやり直す",
     nullptr,
     nullptr,
     {"Ctrl+Y", "Ctrl+Shift+Z"},
     CanRedo},
    // データ
    {kHeadings, "見出しとページ(&M)", "見出しとページ番号"},
    {kBlocks, "ブロックデータ(&B)", "断面のブロックと境界線"},
    {kLayers, "層データ(&S)", "土層の定数"},
    {kLoads, "集中加重データ((&F)", "集中荷重の位置と大きさ"},
    {kCircleSearch, "すべり円データ((&R)", "中心点、半径"},
    {kCalculate, "計算実行(&C)", "安定計算実行　計算式"},
    {kExplain,
     "最小安全率の円の内訳(&E)...",
     "最小安全率の円の要素ごとのモーメントと簡易ビショップ法の安全率",
     nullptr,
     nullptr,
     {},
     HasResults},
    {kRestraint,
     "必要抑止力(&P)...",
     "計画安全率に必要な抑止力と、それが最大の円",
     nullptr,
     nullptr,
     {},
     HasResults},
    {kBackAnalysis,
     "強度の逆算(&K)...",
     "すべり円の安全率が Fs0 になる層の c と φ",
     nullptr,
     nullptr,
     {},
     HasResults},
    {kSensitivity,
     "感度解析(&T)...",
     "各パラメータを変えたときの最小安全率",
     nullptr,
     nullptr,
     {},
     CanCalculate},
    {kProbability,
     "確率解析(&Y)...",
     "破壊確率と信頼性指標（入力はプロジェクトと共に保存）",
     nullptr,
     nullptr,
     {},
     CanCalculate},
    // 表示
    {kToolBar, "ﾂｰﾙ ﾊﾞｰ(&T)", "ツール バーの表示/非表示", nullptr, nullptr, {}, Always, true},
    {kStatusBar,
     "ｽﾃｰﾀｽ ﾊﾞｰ(&S)",
     "ステータス バーの表示/非表示",
     nullptr,
     nullptr,
     {},
     Always,
     true},
    {kShowFigure, "断面図(&F)", "断面図を表示", nullptr, nullptr, {}, Always, true},
    {kShowData, "データ(&A)", "入力データを表示", nullptr, nullptr, {}, Always, true},
    {kShowResults, "計算結果(&C)", "計算結果を表示", nullptr, nullptr, {}, Always, true},
    {kContours,
     "安全率の等高線(&K)",
     "中心点ごとの最小安全率を色分けして図に重ねる",
     nullptr,
     nullptr,
     {},
     Always,
     true},
    {kAnnotate,
     "図の注釈(&N)",
     "荷重の値、最小安全率の円、縮尺と土層の凡例を図に書き込む",
     nullptr,
     nullptr,
     {},
     Always,
     true},
    {kFitSection, "断面に合わせる(&W)", "断面と中心点の格子が１ページに入る縮尺と範囲にする"},
    {kZoomIn, "拡大(&I)", "画面の表示を拡大", nullptr, nullptr, {"Ctrl++", "Ctrl+="}},
    {kZoomOut, "縮小(&O)", "画面の表示を縮小", nullptr, nullptr, {"Ctrl+-"}},
    {kZoomReset, "等倍(&Z)", "画面の表示を等倍に戻す", nullptr, nullptr, {"Ctrl+0"}},
    // The tool bar's page and scroll buttons
    {kFigureLeft, "図の左", "図の左", "図の左方を見る", "left"},
    {kFigureRight, "図の右", "図の右", "図の右方を見る", "right"},
    {kScrollUp, "上へ", "上へ", "図の上方を見る、または前頁", "up"},
    {kScrollDown, "下へ", "下へ", "図の下方を見る、または次頁", "down"},
    {kFigureButton, "図", "図", "図表示", "figure"},
    {kDataButton, "データ", "データ", "データ表示", "data"},
    {kResultsButton, "計算結果", "計算結果", "計算結果", "results"},
    // 設定
    {kScale, "図の縮尺と印刷範囲(&S)", "図の縮尺と印刷範囲"},
    {kLineStyles, "様式　桁数、図の線種(&Y)", "数値の桁数、XY軸目盛り、作図線の太さなど"},
    {kMargins, "マージンと表示位置(&X)", "マージンと表示位置"},
    {kFonts, "フォント(&F)", "活字の書体とサイズ"},
    {kEnterKey, "キーの動作(&E)", "データ入力画面でのEnterキーの動作"},
    {kSetup, "セットアップ(&S)", "本プログラムのインストール場所"},
    // ﾍﾙﾌﾟ
    {kAbout, "ﾊﾞｰｼﾞｮﾝ情報(&A)", "ﾊﾞｰｼﾞｮﾝ情報", "ﾊﾞｰｼﾞｮﾝ情報", "about"},
    {kHelp, "操作＆ヘルプ(&H)", "操作案内"},
    {kFormulas, "計算式(&C)", "計算式参考表示"},
};

const MenuDeclaration kMenus[] = {
    {"ﾌｧｲﾙ(&F)",
     {kNew, kOpen, kSave, kSaveAs, kSeparator, kPrint, kPrintPreview, kPrintSetup, kSeparator,
      kRecentFiles, kSeparator, kExit}},
    {"編集(&E)", {kUndo, kRedo}},
    {"データ(A)",
     {kHeadings, kSeparator, kBlocks, kLayers, kLoads, kCircleSearch, kSeparator, kCalculate,
      kExplain, kRestraint, kBackAnalysis, kSensitivity, kProbability}},
    {"表示(&V)",
     {kToolBar, kStatusBar, kSeparator, kShowFigure, kShowData, kShowResults, kSeparator, kContours,
      kAnnotate, kSeparator, kFitSection, kZoomIn, kZoomOut, kZoomReset}},
    {"設定(&S)", {kScale, kLineStyles, kMargins, kFonts, kSeparator, kEnterKey, kSetup}},
    {"ﾍﾙﾌﾟ(&H)", {kAbout, kHelp, kFormulas}},
};

const int kToolBarButtons[] = {kNew,          kOpen,       kSave,         kSeparator,
                               kPrint,        kAbout,      kSeparator,    kFigureLeft,
                               kFigureRight,  kScrollUp,   kScrollDown,   kSeparator,
                               kFigureButton, kDataButton, kResultsButton};

}  // namespace

std::span<const CommandDeclaration> commandDeclarations() {
    return kCommands;
}

const CommandDeclaration& commandDeclaration(int id) {
    const auto found = std::ranges::find(kCommands, id, &CommandDeclaration::id);
    if (found == std::end(kCommands)) {
        throw std::out_of_range("no command " + std::to_string(id));
    }
    return *found;
}

std::span<const MenuDeclaration> menuDeclarations() {
    return kMenus;
}

std::span<const int> toolBarCommands() {
    return kToolBarButtons;
}

bool commandAvailable(CommandAvailability availability, const CommandState& state) {
    switch (availability) {
        case CommandAvailability::Always:
            return true;
        case CommandAvailability::CanUndo:
            return state.canUndo;
        case CommandAvailability::CanRedo:
            return state.canRedo;
        case CommandAvailability::HasResults:
            return state.hasResults;
        case CommandAvailability::CanCalculate:
            return state.canCalculate;
    }
    return false;
}

}  // namespace dorvo
