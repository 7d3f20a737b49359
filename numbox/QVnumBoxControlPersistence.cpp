// QVnumBoxControl: creation, defaults, loading and saving.
#include "library/AmbientFont.h"
#include "library/Global.h"
#include "library/PropertyHelpers.h"
#include "library/RuntimeError.h"
#include "numbox/QVnumBoxControl.h"

namespace qv {

namespace {
constexpr Color kDefaultBackColor = SystemColor::WindowBackground;
constexpr Color kDefaultForeColor = SystemColor::WindowText;
constexpr Color kDefaultDisabledColor = 0xC0C0C0;
constexpr Color kDefaultErrorColor = 0xC0C0FF;
constexpr Color kDefaultFocusColor = 0xC0FFC0;
constexpr Color kDefaultWarningColor = 0xC0FFFF;
// Stored forms spell this key with a capital O; it is read and written only so.
constexpr const char16_t* kWarningColorKey = u"WarningCOlor";

double ReadDouble(PropertyBag& bag, const String& key, double defaultValue) {
    try {
        return bag.ReadProperty(key, defaultValue).ToDouble();
    } catch (const RuntimeError&) {
        return defaultValue;
    }
}
}  // namespace

void QVnumBoxControl::UserControl_Initialize() {
    AttachFont(std::make_shared<qv::Font>());
    txtLabel->SetFont(*mFont);
    mSuppressChange = false;
}

void QVnumBoxControl::UserControl_InitProperties() {
    mAllowMinus = false;
    mAppearance = Flat3d::qv3D;
    mColors.back = kDefaultBackColor;
    mBorderStyle = NoneFixedSingle::FixedSingle;
    mRange.check = false;
    mDecimalPointCharacter = u",";
    mColors.disabled = kDefaultDisabledColor;
    mColors.error = kDefaultErrorColor;
    mColors.focus = kDefaultFocusColor;
    mForeColor = kDefaultForeColor;
    mRange.includeLargest = true;
    mRange.includeSmallest = true;
    mRange.largest = 0;
    mLocked = false;
    mMousePointer = static_cast<MousePointerEnum>(0);
    mMustHaveValue = false;
    mPostDecimalNumbers = 2;
    mPreDecimalNumbers = 7;
    mSelectedOnGotFocus = true;
    mSeparator = true;
    mRange.smallest = 0;
    mColors.useWarning = false;
    mColors.warning = kDefaultWarningColor;
    mValue = int16_t{0};
    CopyAmbientFont(GetHost(), *mFont);
    mIsNull = false;
    mNegative = false;
    UpdateFrame();
    UpdateTextColour();
    Recolour();
    ApplyMousePointer();
}

void QVnumBoxControl::UserControl_ReadProperties(PropertyBag& PropBag) {
    mColors.back = ReadColor(PropBag, u"BackColor", kDefaultBackColor);
    mForeColor = ReadColor(PropBag, u"ForeColor", kDefaultForeColor);
    txtLabel->Enabled(ReadBool(PropBag, u"Enabled", true));

    ReadFont(PropBag);
    txtLabel->SetFont(*mFont);

    std::shared_ptr<Picture> icon;
    try {
        icon = PropBag.ReadProperty(u"MouseIcon", Variant()).As<Picture>();
    } catch (const RuntimeError&) {
    }
    MouseIcon(icon);
    const int32_t pointer = ReadLong(PropBag, u"MousePointer", 0);
    mMousePointer =
        static_cast<MousePointerEnum>(Global::IsValidMousePointer(pointer) ? pointer : 0);
    txtLabel->ToolTipText(ReadString(PropBag, u"ToolTipText", String()));

    mColors.focus = ReadColor(PropBag, u"FocusColor", kDefaultFocusColor);
    mColors.error = ReadColor(PropBag, u"ErrorColor", kDefaultErrorColor);
    // Colour-tested like the others: a damaged colour gives the default.
    mColors.warning = ReadColor(PropBag, kWarningColorKey, kDefaultWarningColor);
    mColors.disabled = ReadColor(PropBag, u"DisabledColor", kDefaultDisabledColor);

    mSelectedOnGotFocus = ReadBool(PropBag, u"SelectedOnGotFocus", true);
    mMustHaveValue = ReadBool(PropBag, u"MustHaveValue", false);
    mAllowMinus = ReadBool(PropBag, u"AllowMinus", false);

    const Variant storedValue = ReadOr(PropBag, u"Value", int16_t{0});
    mValue =
        IsAcceptableValue(storedValue) && !storedValue.IsNull() ? storedValue : Variant(int16_t{0});

    mRange.check = ReadBool(PropBag, u"CheckRange", false);
    mSeparator = ReadBool(PropBag, u"Separator", true);
    mRange.smallest = ReadDouble(PropBag, u"SmallestValue", 0);
    mRange.largest = ReadDouble(PropBag, u"LargestValue", 0);
    mRange.includeSmallest = ReadBool(PropBag, u"IncludeSmallestValueToRange", true);
    mRange.includeLargest = ReadBool(PropBag, u"IncludeLargestValueToRange", true);
    const String dec = ReadString(PropBag, u"DecimalPointCharacter", u",").substr(0, 1);
    const bool usableDec =
        dec.empty() || !((dec[0] >= u'0' && dec[0] <= u'9') || dec[0] == u'-' || dec[0] == u' ');
    mDecimalPointCharacter = usableDec ? dec : String(u",");

    const int32_t post = ReadLong(PropBag, u"PostDecimalNumbers", 2);
    mPostDecimalNumbers = static_cast<int16_t>(post >= 0 && post <= 255 ? post : 2);
    const int32_t pre = ReadLong(PropBag, u"PreDecimalNumbers", 7);
    mPreDecimalNumbers = static_cast<int16_t>(Global::IsValidPreDecimalCount(pre) ? pre : 7);
    mAppearance = static_cast<Flat3d>(ReadZeroOrOne(PropBag, u"Appearance", 1));
    mBorderStyle = static_cast<NoneFixedSingle>(ReadZeroOrOne(PropBag, u"BorderStyle", 1));

    mLocked = ReadBool(PropBag, u"Locked", false);

    // The stored display text sets the value; one that does not parse, or no longer fits the
    // digit limits, gives an empty box.
    bool taken = false;
    try {
        taken = SetValueFromText(ReadOr(PropBag, u"Text", String()), true);
    } catch (const RuntimeError&) {
        taken = false;
    }
    if (!taken) SetValueFromText(Variant::Null(), true);

    mColors.useWarning = ReadBool(PropBag, u"UseWarningColor", false);

    mNegative = mValue.IsNumber() && mValue.ToDouble() < 0;
    UpdateFrame();
    UpdateTextColour();
    Recolour();
    ApplyMousePointer();
}

void QVnumBoxControl::UserControl_WriteProperties(PropertyBag& PropBag) {
    PropBag.WriteProperty(u"AllowMinus", mAllowMinus, int16_t{0});
    PropBag.WriteProperty(u"Appearance", static_cast<int32_t>(mAppearance), 1);
    PropBag.WriteProperty(u"BackColor", ColorToVariant(mColors.back),
                          ColorToVariant(kDefaultBackColor));
    PropBag.WriteProperty(u"BorderStyle", static_cast<int32_t>(mBorderStyle), 1);
    PropBag.WriteProperty(u"CheckRange", mRange.check, false);
    PropBag.WriteProperty(u"DecimalPointCharacter", mDecimalPointCharacter, String(u","));
    PropBag.WriteProperty(u"DisabledColor", ColorToVariant(mColors.disabled),
                          ColorToVariant(kDefaultDisabledColor));
    PropBag.WriteProperty(u"Enabled", txtLabel->Enabled(), true);
    PropBag.WriteProperty(u"ErrorColor", ColorToVariant(mColors.error),
                          ColorToVariant(kDefaultErrorColor));
    PropBag.WriteProperty(u"FocusColor", ColorToVariant(mColors.focus),
                          ColorToVariant(kDefaultFocusColor));
    PropBag.WriteProperty(u"Font", Variant(mFont), Variant());
    PropBag.WriteProperty(u"ForeColor", ColorToVariant(mForeColor),
                          ColorToVariant(kDefaultForeColor));
    PropBag.WriteProperty(u"IncludeLargestValueToRange", mRange.includeLargest, true);
    PropBag.WriteProperty(u"IncludeSmallestValueToRange", mRange.includeSmallest, true);
    PropBag.WriteProperty(u"LargestValue", mRange.largest, int16_t{0});
    PropBag.WriteProperty(u"Locked", mLocked, false);
    const auto icon = txtLabel->MouseIcon();
    PropBag.WriteProperty(u"MouseIcon", icon ? Variant(icon) : Variant(), Variant());
    PropBag.WriteProperty(u"MousePointer", static_cast<int32_t>(mMousePointer), int16_t{0});
    PropBag.WriteProperty(u"MustHaveValue", mMustHaveValue, int16_t{0});
    PropBag.WriteProperty(u"PostDecimalNumbers", mPostDecimalNumbers, int16_t{2});
    PropBag.WriteProperty(u"PreDecimalNumbers", mPreDecimalNumbers, int16_t{7});
    PropBag.WriteProperty(u"SelectedOnGotFocus", mSelectedOnGotFocus, true);
    PropBag.WriteProperty(u"Separator", mSeparator, true);
    PropBag.WriteProperty(u"SmallestValue", mRange.smallest, int16_t{0});
    PropBag.WriteProperty(u"Text", DisplayText(), String());
    PropBag.WriteProperty(u"ToolTipText", txtLabel->ToolTipText(), String());
    PropBag.WriteProperty(u"UseWarningColor", mColors.useWarning, false);
    PropBag.WriteProperty(u"Value", mValue, int16_t{0});
    PropBag.WriteProperty(kWarningColorKey, ColorToVariant(mColors.warning),
                          ColorToVariant(kDefaultWarningColor));
}

}  // namespace qv
