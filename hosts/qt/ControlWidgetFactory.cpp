#include "hosts/qt/ControlWidgetFactory.h"

#include "hosts/qt/ComboBox.h"
#include "hosts/qt/DateBox.h"
#include "hosts/qt/NumBox.h"
#include "hosts/qt/TxtBox.h"
#include "library/ClassRegistry.h"

namespace qv::qt {

ControlWidget* CreateControlWidget(StringView className, QWidget* parent, PropertyBag* bag) {
    if (EqualsNoCase(className, u"QVtxtBoxControl"))
        return bag ? new TxtBox(*bag, parent) : new TxtBox(parent);
    if (EqualsNoCase(className, u"QVnumBoxControl"))
        return bag ? new NumBox(*bag, parent) : new NumBox(parent);
    if (EqualsNoCase(className, u"QVDateBoxControl"))
        return bag ? new DateBox(*bag, parent) : new DateBox(parent);
    if (EqualsNoCase(className, u"QVcomboBoxControl"))
        return bag ? new ComboBox(*bag, parent) : new ComboBox(parent);
    Raise(err::CannotCreateObject, u"qvControls",
          u"The class \"" + String(className) + u"\" has no Qt widget in this build");
}

String ClassNameOf(const ControlWidget& widget) {
    return widget.control().Class().name;
}

}  // namespace qv::qt
