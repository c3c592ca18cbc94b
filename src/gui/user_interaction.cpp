// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/user_interaction.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QUrl>

#include "gui/path_text.h"

namespace dorvo {

void DesktopInteraction::report(const Message& message) {
    QMessageBox::warning(parent_, QString::fromUtf8(kProgramCaption),
                         QString::fromStdString(withPlace(message)));
}

bool DesktopInteraction::askYesNo(const Message& question) {
    return QMessageBox::question(
               parent_, QString::fromUtf8(kProgramCaption), QString::fromStdString(question.text),
               QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

std::optional<QFont> DesktopInteraction::chooseFont(const QFont& initial) {
    bool chosen = false;
    const QFont font = QFontDialog::getFont(&chosen, initial, parent_, QStringLiteral("フォント"));
    if (!chosen) return std::nullopt;
    return font;
}

std::optional<QColor> DesktopInteraction::chooseColour(const QColor& initial) {
    const QColor colour = QColorDialog::getColor(initial, parent_, QStringLiteral("色"));
    if (!colour.isValid()) return std::nullopt;
    return colour;
}

SaveAnswer DesktopInteraction::askToSave(const std::string& title) {
    const QString text =
        QStringLiteral("%1 への変更を保存しますか?").arg(QString::fromStdString(title));
    const auto button = QMessageBox::question(
        parent_, QString::fromUtf8(kProgramCaption), text,
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (button == QMessageBox::Save) return SaveAnswer::Save;
    if (button == QMessageBox::Discard) return SaveAnswer::Discard;
    return SaveAnswer::Cancel;
}

namespace {

const QString kProjectFilter = QStringLiteral("安定計算ﾌｧｲﾙ(*.slw);;すべて(*)");

}  // namespace

std::optional<std::filesystem::path> DesktopInteraction::chooseFileToOpen(
    const std::filesystem::path& startFolder) {
    const QString file = QFileDialog::getOpenFileName(parent_, QStringLiteral("開く"),
                                                      toQString(startFolder), kProjectFilter);
    if (file.isEmpty()) return std::nullopt;
    return toPath(file);
}

std::optional<std::filesystem::path> DesktopInteraction::chooseFileToSave(
    const std::filesystem::path& currentPath) {
    const QString file = QFileDialog::getSaveFileName(parent_, QStringLiteral("名前を付けて保存"),
                                                      toQString(currentPath), kProjectFilter);
    if (file.isEmpty()) return std::nullopt;
    return toPath(file);
}

std::optional<std::filesystem::path> DesktopInteraction::chooseExportFile(
    const std::filesystem::path& suggestion) {
    const QString file = QFileDialog::getSaveFileName(
        parent_, QStringLiteral("CSVで保存"), toQString(suggestion), QStringLiteral("CSV (*.csv)"));
    if (file.isEmpty()) return std::nullopt;
    return toPath(file);
}

bool DesktopInteraction::openExternally(const std::filesystem::path& file) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(toQString(file)));
}

}  // namespace dorvo
