// The About dialog on the Qt host: a real modal QDialog with the dialog's widgets, its buttons,
// and the system-information lookup in the host's settings store.
#include <gtest/gtest.h>

#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

#include "hosts/qt/TxtBox.h"
#include "scenario.h"

namespace {

// Runs `act` on the modal widget once it is shown (polling the event loop).
void WhenModal(std::function<bool(QWidget*)> act, int tries = 200) {
    QTimer::singleShot(5, [act, tries] {
        QWidget* modal = QApplication::activeModalWidget();
        if ((!modal || !act(modal)) && tries > 0) WhenModal(act, tries - 1);
    });
}

struct AboutForm {
    QTemporaryDir dir;
    QWidget window;
    qv::qt::TxtBox* box = new qv::qt::TxtBox(&window);
    AboutForm() {
        qv::qt::QtServices::Instance().SetRegistryFile(dir.filePath("registry.ini"));
        conformance::ShowActive(window);
        // A dialog a test fails to close would wait for ever: closed, and the test failed.
        QTimer::singleShot(10'000, &window, [] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                ADD_FAILURE() << "a modal window stayed open";
                modal->close();
            }
        });
    }
    void SetRegistry(const QString& key, const QVariant& value) {
        QSettings store(dir.filePath("registry.ini"), QSettings::IniFormat);
        store.setValue(key, value);
        store.sync();
        qv::qt::QtServices::Instance().SetRegistryFile(dir.filePath("registry.ini"));
    }
};

TEST(QtAbout, AModalDialogShowsTitleVersionAndButtonsAndOKClosesIt) {
    AboutForm f;
    QString title, version, ok, sysInfo;
    bool wasModal = false;
    WhenModal([&](QWidget* w) {
        auto* dialog = qobject_cast<QDialog*>(w);
        if (!dialog || dialog->objectName() != "frmAbout") return false;
        wasModal = dialog->isModal();
        title = dialog->windowTitle();
        version = dialog->findChild<QLabel*>("lblVersion")->text();
        ok = dialog->findChild<QPushButton*>("cmdOK")->text();
        sysInfo = dialog->findChild<QPushButton*>("cmdSysInfo")->text();
        EXPECT_TRUE(dialog->findChild<QLabel*>("Label2")->isVisible());
        EXPECT_TRUE(dialog->findChild<QPushButton*>("cmdOK")->isDefault());
        dialog->findChild<QPushButton*>("cmdOK")->click();
        return true;
    });
    f.box->box().ShowAboutBox();  // returns once OK closed it
    EXPECT_TRUE(wasModal);
    EXPECT_EQ(title, "qvControls");
    EXPECT_EQ(version, QStringLiteral("%1.%2.%3")
                           .arg(QV_VERSION_MAJOR)
                           .arg(QV_VERSION_MINOR)
                           .arg(QV_VERSION_PATCH));
    EXPECT_EQ(ok, "OK");
    EXPECT_EQ(sysInfo, "&System Info...");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(QtAbout, WithoutASystemInformationProgramTheButtonSaysSo) {
    AboutForm f;
    QString message;
    WhenModal([&](QWidget* w) {
        auto* dialog = qobject_cast<QDialog*>(w);
        if (!dialog || dialog->objectName() != "frmAbout") return false;
        WhenModal([&, dialog](QWidget* m) {
            auto* box = qobject_cast<QMessageBox*>(m);
            if (!box) return false;
            message = box->text();
            box->accept();
            WhenModal([dialog](QWidget* again) {
                if (again != dialog) return false;
                dialog->findChild<QPushButton*>("cmdOK")->click();
                return true;
            });
            return true;
        });
        dialog->findChild<QPushButton*>("cmdSysInfo")->click();
        return true;
    });
    f.box->box().ShowAboutBox();
    EXPECT_EQ(message, "System Information Is Unavailable At This Time");
}

TEST(QtAbout, TheProgramNamedInTheSettingsStoreIsStarted) {
    AboutForm f;
    f.SetRegistry("HKEY_LOCAL_MACHINE/SOFTWARE/Microsoft/Shared Tools/MSINFO/PATH", "/bin/true");
    bool messageShown = false;
    WhenModal([&](QWidget* w) {
        auto* dialog = qobject_cast<QDialog*>(w);
        if (!dialog || dialog->objectName() != "frmAbout") return false;
        dialog->findChild<QPushButton*>("cmdSysInfo")->click();  // starts it, no message
        messageShown = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()) != nullptr;
        dialog->findChild<QPushButton*>("cmdOK")->click();
        return true;
    });
    f.box->box().ShowAboutBox();
    EXPECT_FALSE(messageShown);
}

}  // namespace
