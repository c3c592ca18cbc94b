// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/margins_dialog.h"
#include "gui/qt_text.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/dialog_parts.h"

namespace dorvo {

namespace {

QLineEdit* shortField(const QString& name, QWidget* parent) {
    QLineEdit* field = namedField(name, parent);
    field->setMaximumWidth(48);
    return field;
}

}  // namespace

MarginsDialog::MarginsDialog(const MarginsForm& form, Store store, QWidget* parent)
    : QDialog(parent), store_(std::move(store)) {
    setWindowTitle(QStringLiteral("マージンと表示位置"));
    auto* layout = new QVBoxLayout(this);

    auto* margins = new QGroupBox(QStringLiteral("マージン mm"), this);
    auto* marginRow = new QHBoxLayout(margins);
    top_ = shortField(QStringLiteral("トップ"), margins);
    left_ = shortField(QStringLiteral("レフト"), margins);
    marginRow->addWidget(labelFor(QStringLiteral("トップ"), top_, margins));
    marginRow->addWidget(top_);
    marginRow->addWidget(labelFor(QStringLiteral("レフト"), left_, margins));
    marginRow->addWidget(left_);
    marginRow->addStretch();
    layout->addWidget(margins);

    auto* table =
        new QGroupBox(QStringLiteral("表の表示位置　レフトマージンからの距離　単位 mm"), this);
    auto* grid = new QGridLayout(table);
    for (int field = 0; field < kMarginFields; ++field) {
        grid->addWidget(new QLabel(QString::number(field + 1), table), 0, field + 1,
                        Qt::AlignCenter);
    }
    for (std::size_t row = 0; row < positions_.size(); ++row) {
        const QString name = qText(kMarginsRowNames[row]);
        const int gridRow = static_cast<int>(row) + 1;
        grid->addWidget(new QLabel(name, table), gridRow, 0);
        for (std::size_t field = 0; field < kMarginFields; ++field) {
            QLineEdit* edit =
                shortField(name + " " + QString::number(static_cast<int>(field) + 1), table);
            grid->addWidget(edit, gridRow, static_cast<int>(field) + 1);
            positions_[row][field] = edit;
        }
    }
    layout->addWidget(table);

    auto* buttons = new QHBoxLayout;
    auto* standard = new QPushButton(QStringLiteral("標準の設定"), this);
    connect(standard, &QPushButton::clicked, this, [this] { setForm(standardMarginsForm()); });
    buttons->addWidget(standard);
    buttons->addStretch();
    buttons->addWidget(okCancelButtons(this));
    layout->addLayout(buttons);
    setForm(form);
}

MarginsForm MarginsDialog::form() const {
    MarginsForm form;
    form.top = top_->text().toStdString();
    form.left = left_->text().toStdString();
    for (std::size_t row = 0; row < positions_.size(); ++row) {
        for (std::size_t field = 0; field < kMarginFields; ++field) {
            form.positions[row][field] = positions_[row][field]->text().toStdString();
        }
    }
    return form;
}

void MarginsDialog::setForm(const MarginsForm& form) {
    top_->setText(QString::fromStdString(form.top));
    left_->setText(QString::fromStdString(form.left));
    for (std::size_t row = 0; row < positions_.size(); ++row) {
        for (std::size_t field = 0; field < kMarginFields; ++field) {
            positions_[row][field]->setText(QString::fromStdString(form.positions[row][field]));
        }
    }
}

void MarginsDialog::accept() {
    if (store_(form())) QDialog::accept();
}

}  // namespace dorvo
