// SPDX-License-Identifier: GPL-3.0-or-later
#include "gui/status_indicators.h"

#include <QLabel>
#include <QStatusBar>
#include <QTimer>

namespace dorvo {

namespace {

constexpr std::array kPaneNames = {"ｶﾅ", "CAP", "NUM", "SCRL"};

// The platform tells no change of the lock keys, so the panes look again a few times a second.
constexpr int kRefreshMs = 250;

std::array<std::optional<bool>, 4> statesOf(const KeyboardIndicators& indicators) {
    return {indicators.kana, indicators.capsLock, indicators.numLock, indicators.scrollLock};
}

}  // namespace

StatusIndicators::StatusIndicators(QStatusBar& bar, IndicatorReader reader, QObject* parent)
    : QObject(parent), reader_(std::move(reader)) {
    const auto states = statesOf(reader_());
    bool anyPane = false;
    for (std::size_t i = 0; i < panes_.size(); ++i) {
        if (!states[i]) continue;
        const QString name = QString::fromUtf8(kPaneNames[i]);
        auto* pane = new QLabel(&bar);
        pane->setAccessibleName(name);
        pane->setAlignment(Qt::AlignCenter);
        pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(name) + 8);
        bar.addPermanentWidget(pane);
        panes_[i] = pane;
        anyPane = true;
    }
    if (!anyPane) return;
    refresh();
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, &StatusIndicators::refresh);
    timer->start(kRefreshMs);
}

void StatusIndicators::refresh() {
    const auto states = statesOf(reader_());
    for (std::size_t i = 0; i < panes_.size(); ++i) {
        if (panes_[i] == nullptr) continue;
        const bool on = states[i].value_or(false);
        panes_[i]->setText(on ? QString::fromUtf8(kPaneNames[i]) : QString());
    }
}

}  // namespace dorvo
