// A Qt form with a text box from the installed library; exits 0 when a refused write is refused.
#include <QApplication>
#include <cstdio>

#include "hosts/qt/NumBox.h"
#include "hosts/qt/TxtBox.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QWidget form;
    auto* box = new qv::qt::TxtBox(&form);
    box->setText(QStringLiteral("anna"));
    const bool refused = !box->setProperty("MaxLength", -1);
    auto* price = new qv::qt::NumBox(&form);
    price->setValue(12.5);
    const bool ok = refused && box->Text() == QStringLiteral("Anna") &&
                    price->Text() == QVariant(QStringLiteral("12,50"));
    std::puts(ok ? "qt: ok" : "qt: unexpected result");
    return ok ? 0 : 1;
}
