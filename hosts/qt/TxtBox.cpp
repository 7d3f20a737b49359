#include "hosts/qt/TxtBox.h"

#include <QMetaMethod>

namespace qv::qt {

TxtBox::TxtBox(QWidget* parent) : PropertyWriteGate(parent) {
    attachNew<QVtxtBoxControl>(nullptr);
}

TxtBox::TxtBox(PropertyBag& bag, QWidget* parent) : PropertyWriteGate(parent) {
    attachNew<QVtxtBoxControl>(&bag);
}

bool TxtBox::setText(const QString& v) {
    if (!guardedWrite("Text", [&] { box().Text(Variant(FromQString(v))); })) return false;
    written_.Wrote(QVariant(v));
    return true;
}

void TxtBox::writeBoundText(const QVariant& v) {
    if (setText(v.toString())) written_.Wrote(v);
}

void TxtBox::changed() {
    written_.Changed(inProgramWrite());
    // The text is copied only for a listener: a key must not cost the text's length.
    static const QMetaMethod signal = QMetaMethod::fromSignal(&TxtBox::textChanged);
    if (isSignalConnected(signal)) emit textChanged(Text());
}

}  // namespace qv::qt
