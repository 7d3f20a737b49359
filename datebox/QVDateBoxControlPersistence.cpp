// QVDateBoxControl: creation, defaults, loading and saving.
#include "datebox/QVDateBoxControl.h"
#include "library/AmbientFont.h"
#include "library/PropertyHelpers.h"
#include "library/RuntimeError.h"
#include "library/ScopedFlag.h"

namespace qv {

namespace {
// The state colours' defaults are those of a new ColorRoles.
constexpr ColorRoles kColors{};
constexpr Color kDefaultBackColor = kColors.back;
constexpr Color kDefaultForeColor = SystemColor::WindowText;
constexpr Color kDefaultDisabledColor = kColors.disabled;
constexpr Color kDefaultErrorColor = kColors.error;
constexpr Color kDefaultFocusColor = kColors.focus;
constexpr Color kDefaultWarningColor = kColors.warning;
const DateValue kEarliest = DateSerial(1900, 1, 1);
const DateValue kLatest = DateSerial(2099, 12, 31);
}  // namespace

void QVDateBoxControl::UserControl_Initialize() {
    AttachFont(std::make_shared<qv::Font>());
    QVTxtBoxCC.SetFont(*mFont);
}

void QVDateBoxControl::UserControl_InitProperties() {
    mAppearance = Flat3d::qv3D;
    mColors = ColorRoles{};
    mBorderStyle = NoneFixedSingle::FixedSingle;
    mRange = {.check = false,
              .includeSmallest = true,
              .includeLargest = true,
              .smallest = kEarliest,
              .largest = kLatest};
    mDateFormat = DateFmt::DMY;
    mMustHaveValue = true;
    mSelectedOnGotFocus = false;
    mSeparators = datetext::Separators{};
    CopyAmbientFont(GetHost(), *mFont);
    SelectActiveField();
}

void QVDateBoxControl::UserControl_ReadProperties(PropertyBag& PropBag) {
    // A stored bound that is no date from 1900 to 2099 (29 February 1900 included) gives the
    // default; so does a damaged border setting, instead of failing the whole load.
    const auto readBound = [&](const char16_t* key, DateValue fallback) {
        try {
            return Bound(PropBag.ReadProperty(key, fallback).ToDate());
        } catch (const RuntimeError&) {
            return fallback;
        }
    };
    mAppearance = static_cast<Flat3d>(ReadZeroOrOne(PropBag, u"Appearance", 1));
    mColors.back = ReadColor(PropBag, u"BackColor", kDefaultBackColor);
    mBorderStyle = static_cast<NoneFixedSingle>(ReadZeroOrOne(PropBag, u"BorderStyle", 1));
    mRange.check = ReadBool(PropBag, u"CheckRange", false);
    const int32_t format = ReadLong(PropBag, u"DateFormat", 0);
    mDateFormat = static_cast<DateFmt>(format >= 0 && format <= 2 ? format : 0);
    mColors.disabled = ReadColor(PropBag, u"DisabledColor", kDefaultDisabledColor);
    mColors.error = ReadColor(PropBag, u"ErrorColor", kDefaultErrorColor);
    mColors.focus = ReadColor(PropBag, u"FocusColor", kDefaultFocusColor);
    mRange.includeSmallest = ReadBool(PropBag, u"IncludeSmallestValueToRange", true);
    mRange.includeLargest = ReadBool(PropBag, u"IncludeLargestValueToRange", true);
    mRange.largest = readBound(u"LargestValue", kLatest);

    std::shared_ptr<Picture> icon;
    try {
        icon = PropBag.ReadProperty(u"MouseIcon", Variant()).As<Picture>();
    } catch (const RuntimeError&) {
    }
    MouseIcon(icon);

    mMustHaveValue = ReadBool(PropBag, u"MustHaveValue", true);
    mSelectedOnGotFocus = ReadBool(PropBag, u"SelectedOnGotFocus", false);
    mSeparators.dmy = ReadString(PropBag, u"SeparatorDMY", u".").substr(0, 1);
    mSeparators.mdy = ReadString(PropBag, u"SeparatorMDY", u"/").substr(0, 1);
    mSeparators.ymd = ReadString(PropBag, u"SeparatorYMD", u"-").substr(0, 1);
    mRange.smallest = readBound(u"SmallestValue", kEarliest);
    mColors.useWarning = ReadBool(PropBag, u"UseWarningColor", false);
    mColors.warning = ReadColor(PropBag, u"WarningColor", kDefaultWarningColor);
    ReadFont(PropBag);

    // The stored text is shown as it is, without the typing rules, and raises no Change.
    const ScopedFlag loading(mWritingText, true);
    for (TextField* f : QVTxtBoxCC) {
        f->Enabled(ReadBool(PropBag, u"Enabled", true));
        f->SetFont(*mFont);
        f->ForeColor(ReadColor(PropBag, u"ForeColor", kDefaultForeColor));
        f->Locked(ReadBool(PropBag, u"Locked", false));
        const int32_t pointer = ReadLong(PropBag, u"MousePointer", 0);
        try {
            f->MousePointer(
                static_cast<int16_t>(pointer >= INT16_MIN && pointer <= INT16_MAX ? pointer : 0));
        } catch (const RuntimeError&) {
            f->MousePointer(0);
        }
        String text;
        try {
            text = ReadOr(PropBag, u"Text", String()).ToString();  // null gives ""
        } catch (const RuntimeError&) {
        }
        f->Text(text);
    }
    SelectActiveField();
    Recolour();
}

void QVDateBoxControl::UserControl_WriteProperties(PropertyBag& PropBag) {
    const TextField& first = QVTxtBoxCC[0];
    PropBag.WriteProperty(u"Appearance", static_cast<int32_t>(mAppearance), 1);
    PropBag.WriteProperty(u"BackColor", ColorToVariant(mColors.back),
                          ColorToVariant(kDefaultBackColor));
    PropBag.WriteProperty(u"BorderStyle", static_cast<int32_t>(mBorderStyle), 1);
    PropBag.WriteProperty(u"CheckRange", mRange.check, false);
    PropBag.WriteProperty(u"DateFormat", static_cast<int32_t>(mDateFormat), 0);
    PropBag.WriteProperty(u"DisabledColor", ColorToVariant(mColors.disabled),
                          ColorToVariant(kDefaultDisabledColor));
    PropBag.WriteProperty(u"Enabled", first.Enabled(), true);
    PropBag.WriteProperty(u"ErrorColor", ColorToVariant(mColors.error),
                          ColorToVariant(kDefaultErrorColor));
    PropBag.WriteProperty(u"FocusColor", ColorToVariant(mColors.focus),
                          ColorToVariant(kDefaultFocusColor));
    PropBag.WriteProperty(u"Font", Variant(mFont), Variant());
    PropBag.WriteProperty(u"ForeColor", ColorToVariant(first.ForeColor()),
                          ColorToVariant(kDefaultForeColor));
    PropBag.WriteProperty(u"IncludeLargestValueToRange", mRange.includeLargest, true);
    PropBag.WriteProperty(u"IncludeSmallestValueToRange", mRange.includeSmallest, true);
    PropBag.WriteProperty(u"LargestValue", mRange.largest, kLatest);
    PropBag.WriteProperty(u"Locked", first.Locked(), false);
    const auto icon = first.MouseIcon();
    PropBag.WriteProperty(u"MouseIcon", icon ? Variant(icon) : Variant(), Variant());
    PropBag.WriteProperty(u"MousePointer", first.MousePointer(), int16_t{0});
    PropBag.WriteProperty(u"MustHaveValue", mMustHaveValue, true);
    PropBag.WriteProperty(u"SelectedOnGotFocus", mSelectedOnGotFocus, false);
    PropBag.WriteProperty(u"SeparatorDMY", mSeparators.dmy, String(u"."));
    PropBag.WriteProperty(u"SeparatorMDY", mSeparators.mdy, String(u"/"));
    PropBag.WriteProperty(u"SeparatorYMD", mSeparators.ymd, String(u"-"));
    PropBag.WriteProperty(u"SmallestValue", mRange.smallest, kEarliest);
    // What the user sees: a Backspace edits the visible field first.
    PropBag.WriteProperty(u"Text", ActiveField().Text(), String());
    PropBag.WriteProperty(u"UseWarningColor", mColors.useWarning, false);
    PropBag.WriteProperty(u"WarningColor", ColorToVariant(mColors.warning),
                          ColorToVariant(kDefaultWarningColor));
}

}  // namespace qv
