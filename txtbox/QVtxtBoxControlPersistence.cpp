// QVtxtBoxControl: creation, defaults, loading and saving.
#include "library/AmbientFont.h"
#include "library/PropertyHelpers.h"
#include "library/RuntimeError.h"
#include "txtbox/QVtxtBoxControl.h"

namespace qv {

namespace {
constexpr Color kDefaultBackColor = SystemColor::WindowBackground;
constexpr Color kDefaultForeColor = SystemColor::WindowText;
constexpr Color kDefaultDisabledColor = 0xC0C0C0;
constexpr Color kDefaultErrorColor = 0xC0C0FF;
constexpr Color kDefaultFocusColor = 0xC0FFC0;
constexpr Color kDefaultWarningColor = 0xC0FFFF;

// Runs one field write from the store; a value the field refuses leaves its default.
template <class Write, class Fallback>
void Apply(Write write, Fallback fallback) {
    try {
        write();
    } catch (const RuntimeError&) {
        fallback();
    }
}
}  // namespace

void QVtxtBoxControl::UserControl_Initialize() {
    AttachFont(std::make_shared<qv::Font>());
    QVTxtBoxCC.SetFont(*mFont);
}

void QVtxtBoxControl::UserControl_InitProperties() {
    mAllUcase = false;
    mAppearance = Flat3d::qv3D;
    mColors.back = kDefaultBackColor;
    mBorderStyle = NoneFixedSingle::FixedSingle;
    mColors.disabled = kDefaultDisabledColor;
    mColors.error = kDefaultErrorColor;
    mFirstCharacterCapital = true;
    mColors.focus = kDefaultFocusColor;
    mForbiddenCharacters.clear();
    mMultiLine = false;
    mMustHaveValue = true;
    mNullToEmptyString = true;
    mScrollBars = ScrollBarsEnum::None;
    mSelectedOnGotFocus = false;
    mTrim = true;
    mColors.useWarning = false;
    mColors.warning = kDefaultWarningColor;
    CopyAmbientFont(GetHost(), *mFont);
    mIsNull = false;
    SelectActiveField();
    Recolour();
}

void QVtxtBoxControl::UserControl_ReadProperties(PropertyBag& PropBag) {
    mAllUcase = ReadBool(PropBag, u"AllUcase", false);
    // A damaged border setting gives the default instead of failing the whole load.
    mAppearance = static_cast<Flat3d>(ReadZeroOrOne(PropBag, u"Appearance", 1));
    mColors.back = ReadColor(PropBag, u"BackColor", kDefaultBackColor);
    mBorderStyle = static_cast<NoneFixedSingle>(ReadZeroOrOne(PropBag, u"BorderStyle", 1));
    mColors.disabled = ReadColor(PropBag, u"DisabledColor", kDefaultDisabledColor);
    mColors.error = ReadColor(PropBag, u"ErrorColor", kDefaultErrorColor);
    mFirstCharacterCapital = ReadBool(PropBag, u"FirstCharacterCapital", true);
    mForbiddenCharacters = ReadString(PropBag, u"ForbiddenCharacters", String());
    mColors.focus = ReadColor(PropBag, u"FocusColor", kDefaultFocusColor);

    std::shared_ptr<Picture> icon;
    try {
        icon = PropBag.ReadProperty(u"MouseIcon", Variant()).As<Picture>();
    } catch (const RuntimeError&) {
    }
    MouseIcon(icon);

    mMultiLine = ReadBool(PropBag, u"MultiLine", false);
    mMustHaveValue = ReadBool(PropBag, u"MustHaveValue", true);
    mNullToEmptyString = ReadBool(PropBag, u"NullToEmptyString", true);
    mScrollBars = static_cast<ScrollBarsEnum>(ReadLong(PropBag, u"ScrollBars", 0));
    mSelectedOnGotFocus = ReadBool(PropBag, u"SelectedOnGotFocus", false);
    mTrim = ReadBool(PropBag, u"Trim", true);
    mColors.useWarning = ReadBool(PropBag, u"UseWarningColor", false);
    mColors.warning = ReadColor(PropBag, u"WarningColor", kDefaultWarningColor);

    ReadFont(PropBag);

    for (TextField* f : QVTxtBoxCC) {
        f->Enabled(ReadBool(PropBag, u"Enabled", true));
        f->SetFont(*mFont);
        f->ForeColor(ReadColor(PropBag, u"ForeColor", kDefaultForeColor));
        f->Locked(ReadBool(PropBag, u"Locked", false));
        // The property is 16-bit: a longer stored limit would read back wrapped.
        const int32_t stored = ReadLong(PropBag, u"MaxLength", 0);
        const int32_t maxLength = stored <= INT16_MAX ? stored : 0;
        Apply([&] { f->MaxLength(maxLength); }, [&] { f->MaxLength(0); });
        // Also 16-bit: a value beyond that range is unusable, not to be cut to its low bits.
        const int32_t storedPointer = ReadLong(PropBag, u"MousePointer", 0);
        const auto pointer = static_cast<int16_t>(
            storedPointer >= INT16_MIN && storedPointer <= INT16_MAX ? storedPointer : 0);
        Apply([&] { f->MousePointer(pointer); }, [&] { f->MousePointer(0); });
        f->PasswordChar(ReadString(PropBag, u"PasswordChar", String()).substr(0, 1));
        const Variant text = ReadOr(PropBag, u"Text", String());
        if (text.IsNull()) {
            f->Text(String());
            mIsNull = true;
        } else {
            String value;
            try {
                value = text.ToString();
            } catch (const RuntimeError&) {
            }
            f->Text(value);
            mIsNull = false;
        }
    }
    SelectActiveField();
    Recolour();
}

void QVtxtBoxControl::UserControl_WriteProperties(PropertyBag& PropBag) {
    const TextField& first = QVTxtBoxCC[0];
    PropBag.WriteProperty(u"AllUcase", mAllUcase, false);
    PropBag.WriteProperty(u"Appearance", static_cast<int32_t>(mAppearance), 1);
    PropBag.WriteProperty(u"BackColor", ColorToVariant(mColors.back),
                          ColorToVariant(kDefaultBackColor));
    PropBag.WriteProperty(u"BorderStyle", static_cast<int32_t>(mBorderStyle), 1);
    PropBag.WriteProperty(u"DisabledColor", ColorToVariant(mColors.disabled),
                          ColorToVariant(kDefaultDisabledColor));
    PropBag.WriteProperty(u"Enabled", first.Enabled(), true);
    PropBag.WriteProperty(u"ErrorColor", ColorToVariant(mColors.error),
                          ColorToVariant(kDefaultErrorColor));
    PropBag.WriteProperty(u"FirstCharacterCapital", mFirstCharacterCapital, true);
    PropBag.WriteProperty(u"ForbiddenCharacters", mForbiddenCharacters, String());
    PropBag.WriteProperty(u"FocusColor", ColorToVariant(mColors.focus),
                          ColorToVariant(kDefaultFocusColor));
    PropBag.WriteProperty(u"Font", Variant(mFont), Variant());
    PropBag.WriteProperty(u"ForeColor", ColorToVariant(first.ForeColor()),
                          ColorToVariant(kDefaultForeColor));
    PropBag.WriteProperty(u"Locked", first.Locked(), false);
    PropBag.WriteProperty(u"MaxLength", static_cast<int32_t>(first.MaxLength()), int16_t{0});
    const auto icon = first.MouseIcon();
    PropBag.WriteProperty(u"MouseIcon", icon ? Variant(icon) : Variant(), Variant());
    PropBag.WriteProperty(u"MousePointer", first.MousePointer(), int16_t{0});
    PropBag.WriteProperty(u"MultiLine", mMultiLine, false);
    PropBag.WriteProperty(u"MustHaveValue", mMustHaveValue, true);
    PropBag.WriteProperty(u"NullToEmptyString", mNullToEmptyString, true);
    PropBag.WriteProperty(u"PasswordChar", first.PasswordChar(), String());
    PropBag.WriteProperty(u"ScrollBars", static_cast<int32_t>(mScrollBars), int16_t{0});
    PropBag.WriteProperty(u"SelectedOnGotFocus", mSelectedOnGotFocus, false);
    PropBag.WriteProperty(u"Text", ActiveField().Text(), String());
    PropBag.WriteProperty(u"Trim", mTrim, int16_t{1});
    PropBag.WriteProperty(u"UseWarningColor", mColors.useWarning, false);
    PropBag.WriteProperty(u"WarningColor", ColorToVariant(mColors.warning),
                          ColorToVariant(kDefaultWarningColor));
}

}  // namespace qv
