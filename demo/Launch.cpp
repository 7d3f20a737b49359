#include "demo/Launch.h"

namespace qv::demo {

LaunchPlan PlanLaunch(const QStringList& args, const std::function<QByteArray(const char*)>& env) {
    LaunchPlan plan;
    bool screenshotGiven = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--walkthrough")) {
            plan.walkthrough = true;
        } else if (a == QLatin1String("--screenshot")) {
            if (i + 1 >= args.size() || args[i + 1].isEmpty()) {
                plan.error = QStringLiteral("--screenshot needs a file name");
                return plan;
            }
            plan.screenshot = args[++i];
            screenshotGiven = true;
        } else if (a.startsWith(QLatin1String("--screenshot="))) {
            plan.screenshot = a.mid(13);
            screenshotGiven = !plan.screenshot.isEmpty();
            if (!screenshotGiven) {
                plan.error = QStringLiteral("--screenshot needs a file name");
                return plan;
            }
        } else if (a == QLatin1String("--database") || a.startsWith(QLatin1String("--database="))) {
            const bool inline_ = a.size() > 10;
            if (!inline_ && i + 1 >= args.size()) {
                plan.error = QStringLiteral(
                    "--database needs a connection (sqlite:FILE or postgresql://...)");
                return plan;
            }
            plan.database = inline_ ? a.mid(11) : args[++i];
            if (plan.database.isEmpty()) {
                plan.error = QStringLiteral(
                    "--database needs a connection (sqlite:FILE or postgresql://...)");
                return plan;
            }
        } else if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            plan.help = true;
        } else {
            plan.error = QStringLiteral("unknown argument: %1").arg(a);
            return plan;
        }
    }
    if (screenshotGiven) plan.walkthrough = true;  // a screenshot is the walkthrough's
    const QByteArray platform = env("QT_QPA_PLATFORM");
    const bool display = !env("DISPLAY").isEmpty() || !env("WAYLAND_DISPLAY").isEmpty();
    if (platform.isEmpty() && !display) {
        plan.announceNoDisplay = true;
        plan.walkthrough = true;
        plan.setOffscreen = true;
    } else if (plan.walkthrough) {
        plan.setOffscreen = platform.isEmpty();
    } else if (platform == "offscreen" || platform == "minimal") {
        plan.walkthrough = true;
    }
    return plan;
}

QString UsageText() {
    return QStringLiteral(
        "Usage: qv_demo [--database CONNECTION] [--walkthrough [--screenshot FILE]]\n"
        "  (no arguments)     the demo window\n"
        "  --database CONNECTION\n"
        "                     where the customer lookup searches: sqlite:FILE, or a\n"
        "                     PostgreSQL connection string (postgresql://user@host/db or\n"
        "                     postgresql:host=... dbname=...); its Customer table is made\n"
        "                     when missing. Default: a SQLite file of 10,000 customers in\n"
        "                     the user's data folder, made on first run\n"
        "  --walkthrough      types into the form as a user would, offscreen, prints what\n"
        "                     happened and writes a screenshot; exit status 1 when a step\n"
        "                     did not come out as expected\n"
        "  --screenshot FILE  where the screenshot goes (default qvcontrols-demo.png);\n"
        "                     implies --walkthrough\n");
}

}  // namespace qv::demo
