// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>

#include "render/canvas.h"

class QWidget;

namespace dorvo {

/// The system's colour chooser; the GUI shows it, tests answer.
class ColourChooser {
  public:
    virtual ~ColourChooser() = default;
    /// Asks for a colour starting from `initial`; nothing on Cancel.
    virtual std::optional<Colour> chooseColour(Colour initial) = 0;
};

/// The colour chooser of the desktop.
class DesktopColourChooser : public ColourChooser {
  public:
    explicit DesktopColourChooser(QWidget* parent) : parent_(parent) {}
    std::optional<Colour> chooseColour(Colour initial) override;

  private:
    QWidget* parent_;
};

}  // namespace dorvo
