// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/loads_dialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "app/dialog_fields.h"
#include "gui/dialog_parts.h"
#include "model/encoding.h"

namespace dorvo {

LoadsDialog::LoadsDialog(const Project& project, MessageSink& messages, QWidget* parent)
    : QDialog(parent), messages_(messages) {
    setWindowTitle(QStringLiteral("集中加重データ"));
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("X座標 m"), this), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("集中加重 "), this), 0, 2);
    for (int row = 1; row <= kMaxLoads; ++row) {
        const QString number = QString::number(row);
        auto* x = namedField(QStringLiteral("X座標 m %1").arg(number), this);
        auto* force = namedField(QStringLiteral("集中加重 %1").arg(number), this);
        x->setText(QString::fromStdString(toDisplayText(project.load(row).x)));
        force->setText(QString::fromStdString(toDisplayText(project.load(row).force)));
        grid->addWidget(new QLabel(number, this), row, 0);
        grid->addWidget(x, row, 1);
        grid->addWidget(force, row, 2);
        fields_[std::size_t(row - 1)] = {x, force};
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(okCancelButtons(this));
}

void LoadsDialog::accept() {
    std::array<ConcentratedLoad, kMaxLoads> stored{};
    for (int row = 1; row <= kMaxLoads; ++row) {
        std::array<std::string*, 2> cells = {&stored[std::size_t(row - 1)].x,
                                             &stored[std::size_t(row - 1)].force};
        for (std::size_t k = 0; k < 2; ++k) {
            QLineEdit* field = fields_[std::size_t(row - 1)][k];
            Result<std::string> text =
                typedNumberText(field->text().toStdString(), field->accessibleName().toStdString(),
                                CellStorage::JoinedField);
            if (!text) {
                messages_.report(text.error());
                field->setFocus();
                field->selectAll();
                return;
            }
            *cells[k] = std::move(text).value();
        }
    }
    loads_ = stored;
    QDialog::accept();
}

}  // namespace dorvo
