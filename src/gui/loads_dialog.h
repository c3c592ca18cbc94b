// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <array>

#include "model/messages.h"
#include "model/project.h"

class QLineEdit;

namespace dorvo {

/// "集中加重データ": the X and F of the five concentrated loads, as plain texts.
class LoadsDialog : public QDialog {
    Q_OBJECT

  public:
    LoadsDialog(const Project& project, MessageSink& messages, QWidget* parent = nullptr);

    /// The loads as OK stored them, in the project file's bytes.
    const std::array<ConcentratedLoad, kMaxLoads>& loads() const { return loads_; }

    QLineEdit* xField(int row) const { return fields_[std::size_t(row - 1)][0]; }
    QLineEdit* forceField(int row) const { return fields_[std::size_t(row - 1)][1]; }

    /// Keeps the dialog open with a message when a text cannot be stored.
    void accept() override;

  private:
    MessageSink& messages_;
    std::array<std::array<QLineEdit*, 2>, kMaxLoads> fields_{};
    std::array<ConcentratedLoad, kMaxLoads> loads_{};
};

}  // namespace dorvo
