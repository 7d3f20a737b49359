#include "hosts/qt/DateBox.h"

#include <QMetaMethod>

namespace qv::qt {

DateBox::DateBox(QWidget* parent) : PropertyWriteGate(parent) {
    attachNew<QVDateBoxControl>(nullptr);
}

DateBox::DateBox(PropertyBag& bag, QWidget* parent) : PropertyWriteGate(parent) {
    attachNew<QVDateBoxControl>(&bag);
}

bool DateBox::setDDate(const QDate& v) {
    if (!guardedWrite("DDate", [&] { box().DDate(FromQDate(v)); })) return false;
    unshown_ = QDate();
    return true;
}

void DateBox::writeBoundDate(const QDate& v) {
    if (setDDate(v)) return;
    // Data binding: the previous record's date must not stay on show (nor be written back).
    const RuntimeError* e = lastRefusedWrite();
    const int number = e ? e->Number() : 0;
    const QString description = e ? ToQString(e->Description()) : QString();
    if (!guardedWrite("DDate", [&] { box().DDate(Variant::Null()); })) return;
    unshown_ = v;
    callSlots([&] { emit dateNotShown(v, number, description); });
}

void DateBox::changed() {
    if (!inProgramWrite()) unshown_ = QDate();
    static const QMetaMethod dateSignal = QMetaMethod::fromSignal(&DateBox::dateChanged);
    static const QMetaMethod textSignal = QMetaMethod::fromSignal(&DateBox::textChanged);
    if (isSignalConnected(dateSignal)) callSlots([&] { emit dateChanged(DDate()); });
    if (isSignalConnected(textSignal)) callSlots([&] { emit textChanged(Text()); });
}

}  // namespace qv::qt
