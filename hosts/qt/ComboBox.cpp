#include "hosts/qt/ComboBox.h"

#include <QMetaMethod>

namespace qv::qt {

ComboBox::ComboBox(QWidget* parent) : PropertyWriteGate(parent) {
    attachNew<QVcomboBoxControl>(nullptr,
                                 [this](QVcomboBoxControl& c) { connectComboEvents(c.events); });
}

ComboBox::ComboBox(PropertyBag& bag, QWidget* parent) : PropertyWriteGate(parent) {
    attachNew<QVcomboBoxControl>(&bag,
                                 [this](QVcomboBoxControl& c) { connectComboEvents(c.events); });
}

void ComboBox::connectComboEvents(ComboBoxEvents& e) {
    e.DropDown = [this] { callSlots([&] { emit DropDown(); }); };
    e.Button1Click = [this] { callSlots([&] { emit Button1Click(); }); };
    e.Button2Click = [this] { callSlots([&] { emit Button2Click(); }); };
    e.ItemFound = [this] { callSlots([&] { emit ItemFound(); }); };
    e.ItemNotFound = [this] { callSlots([&] { emit ItemNotFound(); }); };
    e.ListClick = [this] { callSlots([&] { emit ListClick(); }); };
}

bool ComboBox::setText(const QString& v) {
    if (!guardedWrite("Text", [&] { box().Text(Variant(FromQString(v))); })) return false;
    written_.Wrote(QVariant(v));
    return true;
}

void ComboBox::writeBoundText(const QVariant& v) {
    if (setText(v.toString())) written_.Wrote(v);
}

void ComboBox::changed() {
    written_.Changed(inProgramWrite());
    static const QMetaMethod signal = QMetaMethod::fromSignal(&ComboBox::textChanged);
    if (isSignalConnected(signal)) emit textChanged(Text());
}

bool ComboBox::AddItem(const QString& item, int index) {
    return guardedWrite("AddItem", [&] {
        box().AddItem(FromQString(item), index < 0 ? Variant::Missing() : Variant(index));
    });
}

void ComboBox::addItems(const QStringList& items) {
    guardedWrite("AddItem", [&] {
        for (const QString& item : items) box().AddItem(FromQString(item));
    });
}

bool ComboBox::RemoveItem(int index) {
    return guardedWrite("RemoveItem", [&] { box().RemoveItem(index); });
}

void ComboBox::Clear() {
    guardedWrite("Clear", [&] { box().Clear(); });
}

void ComboBox::SetItem(const QString& text, int itemData) {
    guardedWrite("SetItem", [&] { box().SetItem(Variant(FromQString(text)), itemData); });
}

bool ComboBox::setList(int index, const QString& text) {
    return guardedWrite("List", [&] { box().List(index, FromQString(text)); });
}

bool ComboBox::setItemData(int index, int data) {
    return guardedWrite("ItemData", [&] { box().ItemData(index, data); });
}

QVariant ComboBox::Item(const QVariant& itemIndex, const QVariant& index) const {
    try {
        const Variant row = index.isValid() ? FromQVariant(index) : Variant::Missing();
        return ToQVariant(box().Item(FromQVariant(itemIndex), row));
    } catch (const RuntimeError&) {
        return {};
    }
}

bool ComboBox::setItem(const QVariant& itemIndex, const QVariant& index, const QVariant& value) {
    return guardedWrite("Item", [&] {
        const Variant row = index.isValid() ? FromQVariant(index) : Variant::Missing();
        box().Item(FromQVariant(itemIndex), row, FromQVariant(value));
    });
}

int ComboBox::FindItem(const QVariant& value, int searchItem, int matchMode) const {
    try {
        return box()
            .FindItem(FromQVariant(value), static_cast<SearchItemEnum>(searchItem),
                      static_cast<MatchModeEnum>(matchMode))
            .ToLong();
    } catch (const RuntimeError&) {
        return -1;
    }
}

void ComboBox::CompleteNow() {
    guardedWrite("CompleteNow", [&] { box().CompleteNow(); });
}

void ComboBox::FormatText() {
    guardedWrite("FormatText", [&] { box().FormatText(); });
}

void ComboBox::StartQuery() {
    guardedWrite("StartQuery", [&] { box().StartQuery(); });
}

}  // namespace qv::qt
