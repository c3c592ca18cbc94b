// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/user_interaction.h"

#include <QColorDialog>
#include <QDesktopServices>
#include <QDoubleValidator>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QUrl>

#include "gui/path_text.h"

namespace dorvo {

void DesktopInteraction::report(const Message& message) {
    QMessageBox::warning(parent_, QString::fromUtf8(kProgramCaption),
                         QString::fromStdString(withPlace(message)));
}

namespace {

/// The answer of a question's default button, the one that loses nothing: Yes cancels the
/// add of 4000 (No adds the line twice); No keeps the changes of 133.
QMessageBox::StandardButton safeAnswer(const Message& question) {
    return question.id == MessageId::DuplicateLine ? QMessageBox::Yes : QMessageBox::No;
}

}  // namespace

bool DesktopInteraction::askYesNo(const Message& question) {
    return QMessageBox::question(
               parent_, QString::fromUtf8(kProgramCaption), QString::fromStdString(question.text),
               QMessageBox::Yes | QMessageBox::No, safeAnswer(question)) == QMessageBox::Yes;
}

namespace {

/// The size field of Qt's font dialog, which takes whole points only.
QLineEdit* sizeFieldOf(QFontDialog& dialog) {
    for (QLineEdit* field : dialog.findChildren<QLineEdit*>()) {
        if (qobject_cast<const QIntValidator*>(field->validator())) return field;
    }
    return nullptr;
}

bool hasItalicStyle(const QString& family) {
    for (const QString& style : QFontDatabase::styles(family)) {
        if (QFontDatabase::italic(family, style)) return true;
    }
    return false;
}

}  // namespace

std::optional<QFont> DesktopInteraction::chooseFont(const QFont& initial) {
    QFontDialog dialog(initial, parent_);
    dialog.setWindowTitle(QStringLiteral("フォント"));
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    // Japanese documents are set in 10.5 points: the size field takes half points too.
    QLineEdit* size = sizeFieldOf(dialog);
    if (size != nullptr) {
        auto* halfPoints = new QDoubleValidator(1.0, 512.0, 1, size);
        halfPoints->setLocale(QLocale::c());
        halfPoints->setNotation(QDoubleValidator::StandardNotation);
        size->setValidator(halfPoints);
        size->setText(QString::number(initial.pointSizeF()));
    }
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    QFont font = dialog.selectedFont();
    bool typed = false;
    const double points = size != nullptr ? QLocale::c().toDouble(size->text(), &typed) : 0.0;
    if (typed && points > 0.0) font.setPointSizeF(points);
    // A face without an italic style cannot show the flag; it stays as it was for another.
    if (!hasItalicStyle(font.family())) font.setItalic(initial.italic());
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

// Open and Save As name the type as they always have. The document type's own name, "Dorvo
// ﾌｧｲﾙ" ("Dorvo Document" in English), is what the desktop shows for a project file: it is the
// comment of the registered file type (packaging/dorvo-mime.xml), which no chooser of ours uses.
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
