// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/small_dialogs.h"

#include <QButtonGroup>
#include <QDir>
#include <QFocusEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <algorithm>
#include <fstream>

#include "app/help_lines.h"
#include "gui/dialog_parts.h"
#include "gui/formula_panel.h"
#include "gui/path_text.h"
#include "gui/user_interaction.h"
#include "model/encoding.h"
#include "model/line_io.h"

namespace dorvo {

EnterKeyDialog::EnterKeyDialog(int option, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("キーの動作"));
    auto* group = new QGroupBox(QStringLiteral("Enterキー (Returnキー)"), this);
    auto* groupLayout = new QVBoxLayout(group);
    groupLayout->addWidget(new QLabel(QStringLiteral("データ入力画面での動作"), group));
    choices_ = new QButtonGroup(this);
    const std::array<std::pair<const char*, const char*>, 3> buttons = {{
        {"Windows標準", "OKボタンクリックと同じ"},
        {"次に移動", "次の入力欄に移動"},
        {"確定のみ", "OKボタンや次に移動しない"},
    }};
    for (int value = 0; value < 3; ++value) {
        auto* button =
            new QRadioButton(QString::fromUtf8(buttons[std::size_t(value)].first), group);
        button->setAccessibleDescription(QString::fromUtf8(buttons[std::size_t(value)].second));
        choices_->addButton(button, value);
        groupLayout->addWidget(button);
        groupLayout->addWidget(
            new QLabel(QString::fromUtf8(buttons[std::size_t(value)].second), group));
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(new QLabel(
        QStringLiteral("漢字変換やドロップダウン選択等では常にWindowsの\n標準動作になります"),
        this));
    layout->addWidget(okCancelButtons(this));
    setOption(option);
}

int EnterKeyDialog::option() const {
    return std::max(0, choices_->checkedId());
}

void EnterKeyDialog::setOption(int option) {
    if (QAbstractButton* button = choices_->button(option >= 0 && option <= 2 ? option : 0)) {
        button->setChecked(true);
    }
}

LocationDialog::LocationDialog(const std::filesystem::path& current, const Environment& environment,
                               MessageSink& messages, QWidget* parent)
    : QDialog(parent), messages_(messages) {
    setWindowTitle(QStringLiteral("安定計算 セットアップ"));
    folder_ = namedField(QStringLiteral("フォルダ"), this);
    folder_->setText(toQString(current));
    // Wide enough for the whole path of a folder in the home directory, and more.
    folder_->setMinimumWidth(
        std::max(folder_->fontMetrics().horizontalAdvance(folder_->text() + "MMMM"), 420));
    folder_->installEventFilter(this);
    auto* standard = new QPushButton(QStringLiteral("標準の設定"), this);
    const QString standardFolder = toQString(defaultWorkFolder(environment));
    connect(standard, &QPushButton::clicked, this,
            [this, standardFolder] { folder_->setText(standardFolder); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("本システムのインストール場所"), this));
    layout->addWidget(labelFor(QStringLiteral("フォルダ"), folder_, this));
    layout->addWidget(folder_);
    layout->addWidget(standard);
    layout->addWidget(okCancelButtons(this));
}

std::string LocationDialog::folder() const {
    return toPath(folder_->text()).string();
}

bool LocationDialog::eventFilter(QObject* watched, QEvent* event) {
    // Focus taken by another window (the dialog closing, a message box) has not left the
    // field: a message box from here would open over a dialog that is going away.
    if (watched == folder_ && event->type() == QEvent::FocusOut &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::ActiveWindowFocusReason &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
        const std::string typed = folder();
        const Result<std::string> completed = completeFolderField(typed);
        if (!completed) messages_.report(completed.error());
        folder_->setText(toQString(completed ? *completed : typed));
    }
    return QDialog::eventFilter(watched, event);
}

namespace {

/// A folder of this run that only this user may enter, for copies handed to other programs;
/// removed when the program ends.
const QTemporaryDir& privateCopiesFolder() {
    static const QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/dorvo-XXXXXX"));
    return folder;
}

}  // namespace

void openHelpFile(const std::filesystem::path& file, UserInteraction& user) {
    std::filesystem::path shown = file;
    if (file.extension() == ".txt" && privateCopiesFolder().isValid()) {
        // The guide is stored in code page 932; a desktop editor reads UTF-8.
        shown = toPath(privateCopiesFolder().path()) / file.filename();
        const auto lines = readTextLines(file);
        const bool copied = lines && writeFileAtomically(shown, [&](std::ostream& out) {
                                for (const std::string& line : *lines) {
                                    out << toDisplayText(line) << "\n";
                                }
                                return static_cast<bool>(out);
                            });
        if (!copied) shown = file;
    }
    if (!user.openExternally(shown)) user.report(makeMessage(MessageId::CannotRun));
}

HelpDialog::HelpDialog(const std::filesystem::path& guide, UserInteraction& user, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("操作＆ヘルプ"));
    list_ = new QListWidget(this);
    list_->setAccessibleName(QStringLiteral("操作＆ヘルプ"));
    // The guide's column tables line up only in a face whose full-width characters are
    // exactly two half-width ones wide, as IPA Gothic's are.
    QFont fixed(QStringLiteral("IPAGothic"));
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setFixedPitch(true);
    list_->setFont(fixed);
    list_->setMinimumSize(640, 420);
    if (auto entries = readHelpEntries(guide)) {
        for (const std::string& entry : *entries) {
            list_->addItem(QString::fromStdString(toDisplayText(entry)));
        }
    } else {
        user.report(makeMessage(MessageId::FileNotFound, guide.string()));
    }
    auto* open = new QPushButton(QStringLiteral("開いて印刷"), this);
    connect(open, &QPushButton::clicked, this, [guide, &user] { openHelpFile(guide, user); });
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(new QLabel(QStringLiteral("ブロックデータについて：→ Ｘ　↑ Ｙ"), this));
    layout->addWidget(pictureLabel(QStringLiteral(":/pictures/blocks.svg"), QSize(220, 130),
                                   QStringLiteral("ブロックと境界線の例"), this),
                      0, Qt::AlignLeft);
    layout->addWidget(open);
    layout->addWidget(ok);
}

FormulaDialog::FormulaDialog(const std::filesystem::path& document, UserInteraction& user,
                             QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("計算式"));
    if (!std::ifstream(document)) {
        user.report(makeMessage(MessageId::FileNotFound, document.string()));
    }
    auto* open = new QPushButton(QStringLiteral("開いて印刷"), this);
    connect(open, &QPushButton::clicked, this, [document, &user] { openHelpFile(document, user); });
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(makeFormulaPanel(UnitWeightNotes::Shown, this));
    layout->addWidget(open);
    layout->addWidget(ok);
}

void showAboutBox(QWidget* parent) {
    QMessageBox box(parent);
    box.setWindowTitle(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
    box.setIconPixmap(QIcon(QStringLiteral(":/icons/dorvo.svg")).pixmap(48, 48));
    box.setText(QStringLiteral("安定計算（円弧すべり）Dorvo Version5  R001"));
    box.exec();
}

}  // namespace dorvo
