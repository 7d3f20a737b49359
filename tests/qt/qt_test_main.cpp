// The Qt tests' main: one QApplication on the offscreen platform (unless another is chosen), a
// pinned application font so that pixel metrics do not depend on the machine, then GoogleTest.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QTemporaryDir>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir runtimeDir;  // silences "XDG_RUNTIME_DIR not set"
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtimeDir.isValid()) {
        QFile::setPermissions(runtimeDir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                     QFileDevice::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", runtimeDir.path().toUtf8());
    }
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
