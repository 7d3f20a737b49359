#include "hosts/qt/designer/DesignerPlugin.h"

#include <QIcon>
#include <QPixmap>

#include "hosts/qt/ComboBox.h"
#include "hosts/qt/DateBox.h"
#include "hosts/qt/NumBox.h"
#include "hosts/qt/QtConvert.h"
#include "hosts/qt/TxtBox.h"
#include "library/ClassRegistry.h"
#include "library/Picture.h"

namespace qv::qt {

ControlWidgetPlugin::ControlWidgetPlugin(Description d, QObject* parent)
    : QObject(parent), d_(std::move(d)) {}

QIcon ControlWidgetPlugin::icon() const {
    const ClassInfo* info = FindClass(FromQString(d_.controlClass));
    if (!info) return {};
    const auto picture = ToolboxBitmap(*info);
    QPixmap pixmap;
    if (picture && !picture->Data().empty())
        pixmap.loadFromData(picture->Data().data(), static_cast<uint>(picture->Data().size()));
    return QIcon(pixmap);
}

QString ControlWidgetPlugin::domXml() const {
    return QStringLiteral(
               "<ui language=\"c++\">\n"
               " <widget class=\"%1\" name=\"%2\"/>\n"
               " <customwidgets>\n"
               "  <customwidget>\n"
               "   <class>%1</class>\n"
               "   <header>%3</header>\n"
               "  </customwidget>\n"
               " </customwidgets>\n"
               "</ui>\n")
        .arg(d_.className, d_.objectName, d_.header);
}

DesignerPlugin::DesignerPlugin(QObject* parent) : QObject(parent) {
    const QList<ControlWidgetPlugin::Description> widgets{
        {QStringLiteral("qv::qt::TxtBox"), QStringLiteral("QVtxtBoxControl"),
         QStringLiteral("hosts/qt/TxtBox.h"), QStringLiteral("txtBox"),
         QStringLiteral("A text box that filters, upper-cases and validates what is typed"),
         [](QWidget* p) { return new TxtBox(p); }},
        {QStringLiteral("qv::qt::NumBox"), QStringLiteral("QVnumBoxControl"),
         QStringLiteral("hosts/qt/NumBox.h"), QStringLiteral("numBox"),
         QStringLiteral("A numeric box typed like a pocket calculator"),
         [](QWidget* p) { return new NumBox(p); }},
        {QStringLiteral("qv::qt::DateBox"), QStringLiteral("QVDateBoxControl"),
         QStringLiteral("hosts/qt/DateBox.h"), QStringLiteral("dateBox"),
         QStringLiteral("A date box that completes dates as they are typed"),
         [](QWidget* p) { return new DateBox(p); }},
        {QStringLiteral("qv::qt::ComboBox"), QStringLiteral("QVcomboBoxControl"),
         QStringLiteral("hosts/qt/ComboBox.h"), QStringLiteral("comboBox"),
         QStringLiteral("A combo box that completes from its list or looks the text up in a "
                        "database"),
         [](QWidget* p) { return new ComboBox(p); }},
    };
    for (const auto& w : widgets) widgets_.append(new ControlWidgetPlugin(w, this));
}

}  // namespace qv::qt
