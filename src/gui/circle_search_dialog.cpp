// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/circle_search_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "gui/dialog_parts.h"

namespace dorvo {

CircleSearchDialog::CircleSearchDialog(const CircleSearchTexts& texts, Store store, QWidget* parent)
    : QDialog(parent), store_(std::move(store)) {
    setWindowTitle(QStringLiteral("すべり円データ"));
    auto* layout = new QVBoxLayout(this);
    QGroupBox* group = nullptr;
    QGridLayout* grid = nullptr;
    QString currentGroup;
    for (std::size_t i = 0; i < kCircleSearchFieldPlaces.size(); ++i) {
        const CircleSearchFieldPlace& place = kCircleSearchFieldPlaces[i];
        const QString groupName = QString::fromUtf8(place.group);
        if (groupName != currentGroup) {
            currentGroup = groupName;
            group = new QGroupBox(groupName, this);
            grid = new QGridLayout(group);
            layout->addWidget(group);
        }
        const QString row = QString::fromUtf8(place.row);
        const QString axis = QString::fromUtf8(place.axis);
        QLineEdit* field = namedField(QString::fromStdString(circleSearchFieldName(i)), group);
        field->setText(QString::fromStdString(texts[i]));
        fields_[i] = field;
        const int line = grid->rowCount();
        grid->addWidget(new QLabel(row, group), line, 0);
        grid->addWidget(labelFor(axis, field, group), line, 1);
        grid->addWidget(field, line, 2);
    }
    layout->addWidget(
        new QLabel(QStringLiteral("すべり円の中心点が層より低い場合は下図の円で計算し、\n"
                                  "中心点より上の白い部分の抵抗モーメントは計算しません"),
                   this));
    layout->addWidget(
        pictureLabel(QStringLiteral(":/pictures/circle-below-layer.svg"), QSize(200, 140),
                     QStringLiteral("中心点より上の白い部分を除くすべり円"), this),
        0, Qt::AlignHCenter);
    layout->addWidget(okCancelButtons(this));
}

CircleSearchTexts CircleSearchDialog::texts() const {
    CircleSearchTexts texts;
    for (std::size_t i = 0; i < fields_.size(); ++i) texts[i] = fields_[i]->text().toStdString();
    return texts;
}

void CircleSearchDialog::accept() {
    const std::optional<CircleSearchStep> next = store_(texts(), showing_);
    if (!next) return;
    switch (*next) {
        case CircleSearchStep::ShowAgain:
            ++showing_;
            return;
        case CircleSearchStep::Done:
            QDialog::accept();
            return;
    }
}

}  // namespace dorvo
