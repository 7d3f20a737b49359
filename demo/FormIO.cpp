#include "demo/FormIO.h"

#include <QFile>
#include <cmath>

#include "demo/CustomerForm.h"
#include "hosts/qt/ControlWidgetFactory.h"
#include "hosts/qt/QtConvert.h"
#include "library/RuntimeError.h"

namespace qv::demo {

namespace {

int32_t ToTwips(int pixels, float twipsPerPixel) {
    return static_cast<int32_t>(std::lround(static_cast<double>(pixels) * twipsPerPixel));
}

QString ErrorLine(const QString& prefix, const RuntimeError& e) {
    return QStringLiteral("%1Error %2: %3")
        .arg(prefix)
        .arg(e.Number())
        .arg(qt::ToQString(e.Description()));
}

std::string LocalPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

}  // namespace

FormDocument CaptureForm(const DemoForm& form) {
    FormDocument doc;
    doc.title = qt::FromQString(form.title());
    const float tppX = qt::TwipsPerPixelX(), tppY = qt::TwipsPerPixelY();
    for (qt::ControlWidget* w : form.controls()) {
        FormControl& c = doc.controls.emplace_back();
        c.className = qt::ClassNameOf(*w);
        c.name = qt::FromQString(w->objectName());
        const QRect g = w->geometry();
        c.left = ToTwips(g.x(), tppX);
        c.top = ToTwips(g.y(), tppY);
        c.width = ToTwips(g.width(), tppX);
        c.height = ToTwips(g.height(), tppY);
        w->writeProperties(c.properties);
    }
    return doc;
}

void SaveForm(const DemoForm& form, const QString& path) {
    SaveFormFile(LocalPath(path), CaptureForm(form));
}

QStringList LoadDocument(DemoForm& form, FormDocument& document) {
    QStringList problems;
    form.clear();
    form.setTitle(qt::ToQString(document.title));
    const float tppX = qt::TwipsPerPixelX(), tppY = qt::TwipsPerPixelY();
    for (FormControl& c : document.controls) {
        const QString name = qt::ToQString(c.name);
        const QString prefix = name + QStringLiteral(": ");
        qt::ControlWidget* w = nullptr;
        try {
            w = qt::CreateControlWidget(c.className, &form, &c.properties);
        } catch (const RuntimeError& e) {
            problems << ErrorLine(prefix, e) + QStringLiteral("; the control was left out.");
        } catch (const std::exception& e) {
            problems << prefix + QString::fromLocal8Bit(e.what()) +
                            QStringLiteral("; the control was left out.");
        }
        if (!w) continue;
        const QRect g(qt::ToPixels(c.left, tppX), qt::ToPixels(c.top, tppY),
                      qt::ToPixels(c.width, tppX), qt::ToPixels(c.height, tppY));
        form.addControl(w, name, CaptionFor(name), g);
        ApplyCustomerRules(*w);
    }
    return problems;
}

QStringList OpenForm(DemoForm& form, const QString& path) {
    FormLoadResult loaded;
    try {
        loaded = LoadFormFile(LocalPath(path));
    } catch (const RuntimeError& e) {
        return {ErrorLine(QString(), e) +
                QStringLiteral(" (%1); the form was left as it was.").arg(path)};
    } catch (const std::exception& e) {
        return {QString::fromLocal8Bit(e.what()) +
                QStringLiteral("; the form was left as it was.")};
    }
    QStringList problems;
    for (const String& p : loaded.problems) problems << qt::ToQString(p);
    // Nothing readable: keep the work on screen rather than replace it with an empty form.
    if (loaded.form.controls.empty() && !problems.isEmpty()) {
        problems << QStringLiteral("No control could be read; the form was left as it was.");
        return problems;
    }
    problems << LoadDocument(form, loaded.form);
    return problems;
}

}  // namespace qv::demo
