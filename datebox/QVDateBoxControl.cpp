// QVDateBoxControl: construction, property reads and writes, the date conversions.
#include "datebox/QVDateBoxControl.h"

#include "about/frmAbout.h"
#include "library/ClassRegistry.h"
#include "library/Global.h"
#include "library/PropertyHelpers.h"
#include "library/RuntimeError.h"
#include "library/ScopedFlag.h"

namespace qv {

namespace {
constexpr FieldArray::Settings kFieldSettings = {{
    {.multiLine = false, .verticalScrollBar = false, .border = true, .threeD = true},
    {.multiLine = false, .verticalScrollBar = false, .border = false, .threeD = false},
    {.multiLine = false, .verticalScrollBar = false, .border = true, .threeD = false},
}};

// The date of a valid Ymd as a date value.
DateValue ToDateValue(const datetext::Ymd& d) {
    return DateSerial(d.year, d.month, d.day);
}
}  // namespace

QVDateBoxControl::QVDateBoxControl(Host& host)
    : RangedControl(host), QVTxtBoxCC(host, u"QVTxtBoxCC", kFieldSettings, *this) {
    for (TextField* f : QVTxtBoxCC) f->MaxLength(10);
    mRange.smallest = DateSerial(1900, 1, 1);
    mRange.largest = DateSerial(2099, 12, 31);
}

QVDateBoxControl::~QVDateBoxControl() = default;

const ClassInfo& QVDateBoxControl::Class() const {
    return *FindClass(u"QVDateBoxControl");
}

// --- Properties held by the control ---------------------------------------------------------

void QVDateBoxControl::ChangeBorder(Flat3d appearance, NoneFixedSingle borderStyle,
                                    const char16_t* name) {
    RunSteps([&] {
        const String text = ActiveField().Text();
        mAppearance = appearance;
        mBorderStyle = borderStyle;
        SelectActiveField();
        // The shown text stays what it was; carrying it over changes nothing the user sees.
        if (ActiveField().Text() != text) {
            const ScopedFlag silent(mWritingText, true);
            ActiveField().Text(text);
        }
        Notice(name);
    });
}

void QVDateBoxControl::Appearance(Flat3d New_Appearance) {
    if (!Global::IsValidAppearance(static_cast<int32_t>(New_Appearance)))
        Raise(err::InvalidPropertyValue);
    ChangeBorder(New_Appearance, mBorderStyle, u"Appearance");
}

void QVDateBoxControl::BorderStyle(NoneFixedSingle New_BorderStyle) {
    if (!Global::IsValidBorderStyle(static_cast<int32_t>(New_BorderStyle)))
        Raise(err::InvalidPropertyValue);
    ChangeBorder(mAppearance, New_BorderStyle, u"BorderStyle");
}

void QVDateBoxControl::DateFormat(DateFmt New_DateFormat) {
    const auto v = static_cast<int32_t>(New_DateFormat);
    if (v < 0 || v > 2) Raise(err::InvalidPropertyValue);
    RunSteps([&] {
        const String& text = ActiveField().Text();
        const std::optional<datetext::Ymd> parts = datetext::Parts(text, Layout());
        mDateFormat = New_DateFormat;
        // A complete text keeps its numbers in the new layout; anything shorter is no date.
        WriteResult(parts ? datetext::Compose(*parts, Layout(), mSeparators) : String());
        Notice(u"DateFormat");
    });
}

void QVDateBoxControl::MustHaveValue(bool New_MustHaveValue) {
    mMustHaveValue = New_MustHaveValue;
    RecolourAndNotice(u"MustHaveValue");
}

void QVDateBoxControl::SelectedOnGotFocus(bool New_SelectedOnGotFocus) {
    mSelectedOnGotFocus = New_SelectedOnGotFocus;
    Notice(u"SelectedOnGotFocus");
}

#define QV_SEPARATOR_PROPERTY(Name, member)                 \
    void QVDateBoxControl::Name(const String& New_##Name) { \
        mSeparators.member = New_##Name.substr(0, 1);       \
        Notice(u## #Name);                                  \
    }
QV_SEPARATOR_PROPERTY(SeparatorDMY, dmy)
QV_SEPARATOR_PROPERTY(SeparatorMDY, mdy)
QV_SEPARATOR_PROPERTY(SeparatorYMD, ymd)
#undef QV_SEPARATOR_PROPERTY

DateValue QVDateBoxControl::Bound(const DateValue& value) const {
    int32_t y = 0, m = 0, d = 0;
    try {
        y = Year(value);
        m = Month(value);
        d = Day(value);
    } catch (const RuntimeError&) {
        Raise(err::InvalidPropertyValue);
    }
    if (!datetext::IsValidDate(d, m, y)) Raise(err::InvalidPropertyValue);
    return DateSerial(y, m, d);  // the day alone: the range compares whole days
}

// --- Properties held by the fields: written to all three, read from the first ---------------

void QVDateBoxControl::Enabled(bool New_Enabled) {
    RunSteps([&] {
        QVTxtBoxCC.SetEnabled(New_Enabled);
        Recolour();
        Notice(u"Enabled");
    });
}

void QVDateBoxControl::ForeColor(Color New_ForeColor) {
    RequireValidColor(New_ForeColor);
    QVTxtBoxCC.SetForeColor(New_ForeColor);
    Notice(u"ForeColor");
}

void QVDateBoxControl::Locked(bool New_Locked) {
    QVTxtBoxCC.SetLocked(New_Locked);
    RecolourAndNotice(u"Locked");
}

void QVDateBoxControl::MouseIcon(std::shared_ptr<Picture> New_MouseIcon) {
    QVTxtBoxCC.SetMouseIcon(New_MouseIcon);
    Notice(u"MouseIcon");
}

MousePointerEnum QVDateBoxControl::MousePointer() const {
    return static_cast<MousePointerEnum>(QVTxtBoxCC[0].MousePointer());
}

void QVDateBoxControl::MousePointer(MousePointerEnum New_MousePointer) {
    const auto v = static_cast<int32_t>(New_MousePointer);
    if (v < INT16_MIN || v > INT16_MAX) Raise(err::InvalidPropertyValue);
    // The fields judge the value themselves (0..15 and 99).
    QVTxtBoxCC.SetMousePointer(static_cast<int16_t>(v));
    Notice(u"MousePointer");
}

// --- The text and the date ------------------------------------------------------------------

void QVDateBoxControl::Text(const Variant& New_Text) {
    if (New_Text.IsNull()) return RunSteps([&] { WriteResult(String()); });
    String candidate;
    try {
        candidate = New_Text.ToString();
    } catch (const RuntimeError&) {
        Raise(err::InvalidPropertyValue);
    }
    RunSteps([&] {
        WriteResult(datetext::Parse(candidate, Layout(), mSeparators));
        SendDateNotices();
    });
}

std::optional<datetext::Ymd> QVDateBoxControl::ShownDate() const {
    return datetext::DateOf(ActiveField().Text(), Layout());
}

Variant QVDateBoxControl::DateIn(datetext::Layout layout) const {
    const std::optional<datetext::Ymd> date = ShownDate();
    if (!date) return Variant::Null();
    return datetext::Compose(*date, layout, mSeparators);
}

void QVDateBoxControl::WriteDateIn(datetext::Layout layout, const Variant& value) {
    if (value.IsNull()) return RunSteps([&] { WriteResult(String()); });
    String text;
    try {
        text = value.ToString();
    } catch (const RuntimeError&) {
        Raise(err::InvalidPropertyValue);
    }
    const std::optional<datetext::Ymd> date = datetext::DateOf(text, layout);
    if (!date) Raise(err::InvalidPropertyValue);
    ShowDate(*date);
}

Variant QVDateBoxControl::DDate() const {
    const std::optional<datetext::Ymd> date = ShownDate();
    if (!date) return Variant::Null();
    return ToDateValue(*date);
}

void QVDateBoxControl::DDate(const Variant& New_DDate) {
    if (New_DDate.IsNull()) return RunSteps([&] { WriteResult(String()); });
    datetext::Ymd date;
    try {
        const DateValue d = New_DDate.ToDate();
        date = {Year(d), Month(d), Day(d)};
    } catch (const RuntimeError&) {
        Raise(err::InvalidPropertyValue);
    }
    if (!datetext::IsValidDate(date.day, date.month, date.year)) Raise(err::InvalidPropertyValue);
    ShowDate(date);
}

void QVDateBoxControl::ShowDate(const datetext::Ymd& date) {
    RunSteps([&] {
        WriteResult(datetext::Compose(date, Layout(), mSeparators));
        SendDateNotices();
    });
}

void QVDateBoxControl::WriteResult(const String& text) {
    bool changed = false;
    {
        const ScopedFlag silent(mWritingText, true);
        for (TextField* f : QVTxtBoxCC) {
            if (f->Text() != text) {
                f->Text(text);
                changed = true;
            }
        }
    }
    // One recolour and one Change for the write, once every field shows the new text.
    if (changed)
        RunSteps([&] {
            Recolour();
            RaiseChange();
        });
}

void QVDateBoxControl::SendDateNotices() {
    for (const char16_t* name : {u"DateDMY", u"DateMDY", u"DateYMD", u"DDate", u"Text"})
        Notice(name);
}

// --- Methods --------------------------------------------------------------------------------

void QVDateBoxControl::ShowAboutBox() {
    qv::ShowAboutBox(GetHost());
}

void QVDateBoxControl::RaiseChange() {
    RaiseEvent(u"Change", events.Change);
}

}  // namespace qv
