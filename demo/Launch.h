// How qv_demo starts: interactively, or the scripted walkthrough offscreen. Decided from the
// arguments and the environment before the QApplication exists, since the platform cannot be
// chosen afterwards.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>

namespace qv::demo {

struct LaunchPlan {
    bool walkthrough = false;
    bool setOffscreen = false;       // set QT_QPA_PLATFORM=offscreen before the QApplication
    bool announceNoDisplay = false;  // say why the walkthrough runs
    QString screenshot = QStringLiteral("qvcontrols-demo.png");
    QString database;  // --database: where the customer lookup searches (empty: the default)
    bool help = false;
    QString error;  // a usage error; the program prints usage and fails
};

inline constexpr const char* kNoDisplayNotice =
    "No display: running the scripted walkthrough offscreen";

// `args` without the program name; `env` reads an environment variable (empty when unset).
// --walkthrough (or --screenshot) runs the walkthrough offscreen unless a platform was chosen
// explicitly. Without
// a display (no DISPLAY, WAYLAND_DISPLAY or QT_QPA_PLATFORM) it runs anyway, announced; so it does
// on the offscreen platform, where a window would wait for input that never comes.
LaunchPlan PlanLaunch(const QStringList& args, const std::function<QByteArray(const char*)>& env);

QString UsageText();

}  // namespace qv::demo
