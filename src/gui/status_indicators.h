// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <array>
#include <functional>
#include <optional>

class QLabel;
class QStatusBar;

namespace dorvo {

/// The keyboard states the status bar shows; each is unknown where the platform does not
/// report it.
struct KeyboardIndicators {
    std::optional<bool> kana;
    std::optional<bool> capsLock;
    std::optional<bool> numLock;
    std::optional<bool> scrollLock;
};

/// Reads the keyboard states anew at each call.
using IndicatorReader = std::function<KeyboardIndicators()>;

/// The reader of the platform the program runs on: the lock indicators of the X server's
/// keyboard; nothing on other platforms, where no program may read them.
IndicatorReader platformIndicatorReader();

/// The indicator panes at the right of the status bar: "ｶﾅ", "CAP", "NUM" and "SCRL". Only
/// the states the reader reports on the first reading get a pane; a pane shows its name while
/// the state is on and stands blank while it is off.
class StatusIndicators : public QObject {
    Q_OBJECT

  public:
    StatusIndicators(QStatusBar& bar, IndicatorReader reader, QObject* parent);

    /// Reads the states again and shows them.
    void refresh();

  private:
    IndicatorReader reader_;
    std::array<QLabel*, 4> panes_{};
};

}  // namespace dorvo
