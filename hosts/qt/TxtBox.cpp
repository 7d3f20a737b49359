#include "hosts/qt/TxtBox.h"

#include <QMetaMethod>

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

bool TxtBox::setText(const QString& v) {
    if (!guardedWrite("Text", [&] { box().Text(Variant(FromQString(v))); })) return false;
    written_ = QVariant(v);
    return true;
}

void TxtBox::writeBoundText(const QVariant& v) {
    // Kept as given: a null (a database NULL) goes back as null while the box is not edited.
    if (setText(v.toString())) written_ = v;
}

void TxtBox::changed() {
    if (!inProgramWrite()) written_.reset();
    // The text is copied only for a listener: a key must not cost the text's length.
    static const QMetaMethod signal = QMetaMethod::fromSignal(&TxtBox::textChanged);
    if (isSignalConnected(signal)) emit textChanged(Text());
}

}  // namespace qv::qt
