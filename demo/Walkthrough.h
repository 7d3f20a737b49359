// The scripted walkthrough: types into the customer form as a user would, prints what happened
// and writes a screenshot. Runs offscreen (no display needed); qv_demo --walkthrough and the
// tests run it.
#pragma once

#include <QColor>
#include <QString>
#include <QTextStream>

#include "demo/MainWindow.h"

namespace qv::demo {

// The application font the screenshot is made with, so that it looks the same on every machine.
void PinWalkthroughFont();

// Runs the session on `window` (shown and activated here), prints each step and its verdict to
// `out` and saves a PNG of the window to `screenshotPath`. True when every step came out as
// expected.
bool RunWalkthrough(MainWindow& window, const QString& screenshotPath, QTextStream& out);

// The background a control shows: its visible field's, or its own (the numeric box's).
QColor ShownColor(const qt::ControlWidget& control);

}  // namespace qv::demo
