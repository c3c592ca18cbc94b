// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/dialog_parts.h"

#include <QDialog>
#include <QIcon>
#include <QPushButton>

namespace dorvo {

QDialogButtonBox* okCancelButtons(QDialog* dialog) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("ｷｬﾝｾﾙ"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

QLineEdit* namedField(const QString& accessibleName, QWidget* parent) {
    auto* field = new QLineEdit(parent);
    field->setAccessibleName(accessibleName);
    return field;
}

QLabel* pictureLabel(const QString& resource, QSize size, const QString& description,
                     QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setPixmap(QIcon(resource).pixmap(size, label->devicePixelRatioF()));
    label->setAccessibleName(description);
    return label;
}

QLabel* labelFor(const QString& text, QWidget* field, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(field);
    return label;
}

}  // namespace dorvo
