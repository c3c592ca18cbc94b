// SPDX-License-Identifier: GPL-3.0-or-later
// The lock indicators of the X server's keyboard. Apart from the rest of the program, as the
// X11 headers define names (Status, Bool, None …) that the program uses for itself.
#include <QGuiApplication>

#include "gui/status_indicators.h"

#include <X11/XKBlib.h>

namespace dorvo {

namespace {

std::optional<bool> namedIndicator(Display* display, Atom name) {
    Bool on = False;
    if (XkbGetNamedIndicator(display, name, nullptr, &on, nullptr, nullptr) == False) {
        return std::nullopt;  // this keyboard has no such indicator
    }
    return on != False;
}

}  // namespace

// The kana state stays unknown everywhere: the input methods of the desktop (through Qt's
// input context) tell an application what is being composed, never their conversion mode.
// Wayland and the other platforms give no program the lock states, so they show no pane.
IndicatorReader platformIndicatorReader() {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    Display* display = x11 != nullptr ? x11->display() : nullptr;
    int major = XkbMajorVersion;
    int minor = XkbMinorVersion;
    if (display == nullptr ||
        XkbQueryExtension(display, nullptr, nullptr, nullptr, &major, &minor) == False) {
        return [] { return KeyboardIndicators{}; };
    }
    const Atom caps = XInternAtom(display, "Caps Lock", False);
    const Atom num = XInternAtom(display, "Num Lock", False);
    const Atom scroll = XInternAtom(display, "Scroll Lock", False);
    return [display, caps, num, scroll] {
        KeyboardIndicators states;
        states.capsLock = namedIndicator(display, caps);
        states.numLock = namedIndicator(display, num);
        states.scrollLock = namedIndicator(display, scroll);
        return states;
    };
}

}  // namespace dorvo
