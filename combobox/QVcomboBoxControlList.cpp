// QVcomboBoxControl: the list members, the row records, the buttons and the constituents'
// notices.
#include "combobox/QVcomboBoxControl.h"
#include "library/CaseFold.h"
#include "library/FieldArray.h"
#include "library/Global.h"
#include "library/RuntimeError.h"
#include "library/ScopedFlag.h"

namespace qv {

namespace {
// A row or insertion index given as a variant: a number, else error 380.
int32_t IndexArg(const Variant& v) {
    if (!IsNumeric(v)) Raise(err::InvalidPropertyValue);
    try {
        return v.ToLong();
    } catch (const RuntimeError&) {
        Raise(err::InvalidPropertyValue);
    }
}
// An optional index: omitted (Missing, Empty or Null) gives `omitted`.
int32_t OptionalIndex(const Variant& v, int32_t omitted) {
    return v.IsMissing() || v.IsEmpty() || v.IsNull() ? omitted : IndexArg(v);
}
}  // namespace

// --- The items ------------------------------------------------------------------------------

String QVcomboBoxControl::List(int32_t Index) const {
    return Items().Text(Index);  // "" for no item
}

void QVcomboBoxControl::List(int32_t Index, const String& New_List) {
    if (!Items().SetText(Index, New_List)) Raise(err::InvalidPropertyValue);
    Notice(u"List");
}

int32_t QVcomboBoxControl::ItemData(int32_t Index) const {
    return Items().Data(Index);  // 0 for no item
}

void QVcomboBoxControl::ItemData(int32_t Index, int32_t New_ItemData) {
    if (!Items().SetData(Index, New_ItemData)) Raise(err::InvalidPropertyValue);
    Notice(u"ItemData");
}

void QVcomboBoxControl::ListIndex(int32_t New_ListIndex) {
    if (New_ListIndex < -1 || New_ListIndex >= Items().Count()) Raise(err::InvalidPropertyValue);
    RunSteps([&] {
        Items().Select(New_ListIndex);  // a change runs the list click handling
        Notice(u"ListIndex");
    });
}

void QVcomboBoxControl::AddItem(const String& Item, const Variant& Index) {
    const int32_t at = OptionalIndex(Index, -1);
    if (at < -1 || Items().Insert(Item, at) < 0) Raise(err::InvalidPropertyValue);
    mCache.ItemInserted(at, Items().Count());
}

void QVcomboBoxControl::RemoveItem(int32_t Index) {
    if (!Items().Valid(Index)) Raise(err::InvalidPropertyValue);
    RunSteps([&] {
        Items().Remove(Index);  // a removed selection is cleared without a click
        mCache.ItemRemoved(Index, Items().Count());
        Recolour();
    });
}

void QVcomboBoxControl::Clear() {
    RunSteps([&] {
        Items().Clear();
        mCache.Clear();
        ccText.Text(String());
    });
}

void QVcomboBoxControl::SetItem(const Variant& New_Text, int32_t New_ItemData) {
    String text;
    if (!New_Text.IsNull()) {
        try {
            text = New_Text.ToString();
        } catch (const RuntimeError&) {
            Raise(err::InvalidPropertyValue);
        }
    }
    RunSteps([&] {
        Items().Clear();
        mCache.Clear();
        Items().Insert(std::move(text));
        Items().SetData(0, New_ItemData);
        Items().Select(0);  // the list click handling takes the item
    });
}

// --- Records ----------------------------------------------------------------------------------

namespace {
// What an ItemIndex names: the item text, the item data and/or a cache column.
struct Target {
    bool text = false;
    bool data = false;
    int32_t column = -1;
    String name;  // a name that matched nothing
};
}  // namespace

// Resolves ItemIndex (380 for a column number beyond the table or a value without a text form).
static Target Resolve(const Variant& ItemIndex, const RowCache& cache, const String& dataField,
                      const String& dataIdField) {
    Target t;
    if (!ItemIndex.IsString() && IsNumeric(ItemIndex)) {
        int32_t column = 0;
        try {
            column = ItemIndex.ToLong();
        } catch (const RuntimeError&) {
            Raise(err::InvalidPropertyValue);
        }
        if (column >= cache.Columns()) Raise(err::InvalidPropertyValue);
        t.column = column < 0 ? -2 : column;  // a negative column reads as nothing
        return t;
    }
    String name;
    try {
        name = ItemIndex.ToString();
    } catch (const RuntimeError&) {
        Raise(err::InvalidPropertyValue);
    }
    const String wanted = TrimRightBlanks(name);
    t.text = EqualsFolded(wanted, TrimRightBlanks(dataField));
    t.data = EqualsFolded(wanted, TrimRightBlanks(dataIdField));
    t.column = cache.FindColumn(wanted);
    if (!t.text && !t.data && t.column < 0) t.name = std::move(name);
    return t;
}

Variant QVcomboBoxControl::Item(const Variant& ItemIndex, const Variant& Index) const {
    const int32_t row = OptionalIndex(Index, Items().Selected());
    const Target t = Resolve(ItemIndex, mCache, mDataField, mDataIdField);
    if (row < 0) return String();
    if (t.text) return Items().Valid(row) ? Variant(Items().Text(row)) : Variant(String());
    if (t.data) return Items().Valid(row) ? Variant(Items().Data(row)) : Variant(String());
    if (t.column < 0 || row >= mCache.Rows()) return String();
    return mCache.Cell(t.column, row);
}

void QVcomboBoxControl::Item(const Variant& ItemIndex, const Variant& Index,
                             const Variant& New_Item) {
    const int32_t row = OptionalIndex(Index, Items().Selected());
    Target t = Resolve(ItemIndex, mCache, mDataField, mDataIdField);
    if (t.column == -2) return;
    RunSteps([&] {
        if (!t.text && !t.data && t.column < 0) t.column = mCache.AddColumn(std::move(t.name));
        if (row >= mCache.Rows()) mCache.GrowTo(Items().Count());
        if (row < 0) return;
        // Values without the form they are written as are ignored.
        try {
            if (t.column >= 0) mCache.SetCell(t.column, row, New_Item);
            if (t.text && Items().SetText(row, New_Item.ToString()) && row == Items().Selected()) {
                const ScopedFlag fromList(mFromList, true);
                Text(New_Item);
            }
            if (t.data) Items().SetData(row, New_Item.ToLong());
        } catch (const RuntimeError&) {
        }
    });
}

// --- Buttons --------------------------------------------------------------------------------

void QVcomboBoxControl::ccButton_MouseUp(int16_t Index, int16_t& Button, int16_t& Shift, float& X,
                                         float& Y) {
    RaiseEvent(u"MouseUp", events.MouseUp, Button, Shift, X, Y);
    if (Index == kButton2) {
        FocusText();
        RaiseEvent(u"Button2Click", events.Button2Click);
        return;
    }
    FocusText();
    if (IsDatabaseMode() || !mDropDownStyle) {
        if (!TickedRecently()) {
            RunQuery();
            if (!IsDatabaseMode() && Items().Selected() < 0 && Items().Count() > 0 &&
                !ccCombo.Dropped())
                DropList();
        }
    } else if (!ccCombo.Dropped() && !TickedRecently()) {
        DropList();
    }
    RaiseEvent(u"Button1Click", events.Button1Click);
}

// --- Notices of the constituents ------------------------------------------------------------

void QVcomboBoxControl::KeyDown(int16_t Index, int16_t& KeyCode, int16_t& Shift) {
    if (Index == kText) return RunSteps([&] { ccText_KeyDown(KeyCode, Shift); });
    // Moving through the list by keyboard is no choice yet.
    if (Index == kCombo && KeyCode > 0) mNoListClick = true;
}

void QVcomboBoxControl::KeyPress(int16_t Index, int16_t& KeyAscii) {
    if (Index == kText) RunSteps([&] { ccText_KeyPress(KeyAscii); });
}

void QVcomboBoxControl::KeyUp(int16_t Index, int16_t& KeyCode, int16_t& Shift) {
    if (Index == kText) return RunSteps([&] { ccText_KeyUp(KeyCode, Shift); });
    if (Index == kCombo) mNoListClick = false;
}

void QVcomboBoxControl::Change(int16_t Index) {
    if (Index == kText) RunSteps([&] { ccText_Change(); });
}

void QVcomboBoxControl::Click(int16_t Index) {
    if (Index == kCombo) return RunSteps([&] { ListClickHandling(); });
    if (Index == kText || Index == kBorder0 || Index == kBorder1 || Index == kFrame)
        RaiseEvent(u"Click", events.Click);
}

void QVcomboBoxControl::DblClick(int16_t Index) {
    if (Index == kText || Index == kBorder0 || Index == kBorder1 || Index == kFrame)
        RaiseEvent(u"DblClick", events.DblClick);
}

void QVcomboBoxControl::GotFocus(int16_t) {}

void QVcomboBoxControl::LostFocus(int16_t Index) {
    if (Index == kText) FormatText();
}

void QVcomboBoxControl::MouseDown(int16_t Index, int16_t& Button, int16_t& Shift, float& X,
                                  float& Y) {
    if (Index != kCombo) RaiseEvent(u"MouseDown", events.MouseDown, Button, Shift, X, Y);
}

void QVcomboBoxControl::MouseMove(int16_t Index, int16_t& Button, int16_t& Shift, float& X,
                                  float& Y) {
    if (Index == kCombo) return;
    if (Index == kText) CopyExtenderTooltip(GetHost(), ccText);
    if (Index == kButton1 || Index == kButton2) ccText.ToolTipText(String());
    RaiseEvent(u"MouseMove", events.MouseMove, Button, Shift, X, Y);
}

void QVcomboBoxControl::MouseUp(int16_t Index, int16_t& Button, int16_t& Shift, float& X,
                                float& Y) {
    if (Index == kText) return RunSteps([&] { ccText_MouseUp(Button, Shift, X, Y); });
    if (Index == kButton1 || Index == kButton2)
        return RunSteps([&] { ccButton_MouseUp(Index, Button, Shift, X, Y); });
    if (Index != kCombo) RaiseEvent(u"MouseUp", events.MouseUp, Button, Shift, X, Y);
}

void QVcomboBoxControl::Timer(int16_t) {
    RunSteps([&] { Timer1_Timer(); });
}

void QVcomboBoxControl::DropDown(int16_t) {
    RaiseEvent(u"DropDown", events.DropDown);
}

}  // namespace qv
