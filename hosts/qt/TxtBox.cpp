#include "hosts/qt/TxtBox.h"

namespace qv::qt {

TxtBox::TxtBox(QWidget* parent) : PropertyWriteGate(parent) {
    auto control = std::make_unique<QVtxtBoxControl>(site());
    connectEvents(control->events);
    attach(std::move(control), nullptr);
}

TxtBox::TxtBox(PropertyBag& bag, QWidget* parent) : PropertyWriteGate(parent) {
    auto control = std::make_unique<QVtxtBoxControl>(site());
    connectEvents(control->events);
    attach(std::move(control), &bag);
}

}  // namespace qv::qt
