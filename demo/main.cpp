// qv_demo: the customer form with a property grid and an event log; without a display, or with
// --walkthrough, a scripted session offscreen that ends in a screenshot.
#include <QApplication>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>

#include "library/RuntimeError.h"

#include "demo/CustomerDatabase.h"
#include "demo/Launch.h"
#include "demo/MainWindow.h"
#include "demo/Walkthrough.h"

namespace {

QtMessageHandler previousHandler = nullptr;

// The offscreen platform warns about window hints it cannot pass on; that says nothing here.
void QuietOffscreen(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.contains(QLatin1String("does not support propagateSizeHints"))) return;
    if (previousHandler) previousHandler(type, context, message);
}

}  // namespace

int main(int argc, char** argv) {
    using namespace qv::demo;
    QStringList args;
    for (int i = 1; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
    const LaunchPlan plan = PlanLaunch(args, [](const char* name) { return qgetenv(name); });
    if (plan.help || !plan.error.isEmpty()) {
        if (!plan.error.isEmpty()) std::fprintf(stderr, "qv_demo: %s\n", qPrintable(plan.error));
        std::fputs(qPrintable(UsageText()), plan.help ? stdout : stderr);
        return plan.help ? 0 : 2;
    }
    if (plan.announceNoDisplay) {
        std::puts(kNoDisplayNotice);
        std::fflush(stdout);
    }
    if (plan.setOffscreen) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir runtimeDir;  // offscreen Qt wants a private runtime folder
    if (plan.walkthrough && qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") &&
        runtimeDir.isValid()) {
        QFile::setPermissions(runtimeDir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                     QFileDevice::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", runtimeDir.path().toUtf8());
    }

    QApplication app(argc, argv);
    try {
        CustomerDatabase() = OpenCustomerDatabase(plan.database);
    } catch (const qv::RuntimeError& e) {
        std::fprintf(stderr, "qv_demo: the customer database does not open: %s\n",
                     qv::ToUtf8(e.Description()).c_str());
        if (!plan.database.isEmpty()) return 1;  // the one asked for: say so and stop
    }
    if (plan.walkthrough) {
        previousHandler = qInstallMessageHandler(QuietOffscreen);
        PinWalkthroughFont();
        MainWindow window;
        QTextStream out(stdout);
        return RunWalkthrough(window, plan.screenshot, out) ? 0 : 1;
    }
    MainWindow window;
    window.show();
    return app.exec();
}
