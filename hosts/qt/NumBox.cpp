#include "hosts/qt/NumBox.h"

namespace qv::qt {

NumBox::NumBox(QWidget* parent) : PropertyWriteGate(parent) {
    auto control = std::make_unique<QVnumBoxControl>(site());
    connectEvents(control->events);
    attach(std::move(control), nullptr);
}

NumBox::NumBox(PropertyBag& bag, QWidget* parent) : PropertyWriteGate(parent) {
    auto control = std::make_unique<QVnumBoxControl>(site());
    connectEvents(control->events);
    attach(std::move(control), &bag);
}

QString NumBox::TextFormatted() const {
    try {
        return ToQString(box().TextFormatted());
    } catch (const RuntimeError&) {
        return {};
    }
}

}  // namespace qv::qt
