// QVcomboBoxControl: creation, defaults, loading and saving.
#include "combobox/QVcomboBoxControl.h"
#include "library/AmbientFont.h"
#include "library/PropertyHelpers.h"
#include "library/RuntimeError.h"

namespace qv {

namespace {
constexpr ColorRoles kColors{};
constexpr Color kDefaultForeColor = SystemColor::WindowText;

// -1 or more, else -1.
int16_t ReadLockSetting(PropertyBag& bag, const char16_t* key) {
    const int32_t v = ReadLong(bag, key, -1);
    return v >= -1 && v <= INT16_MAX ? static_cast<int16_t>(v) : int16_t{-1};
}
}  // namespace

void QVcomboBoxControl::UserControl_Initialize() {
    AttachFont(std::make_shared<qv::Font>());
    ApplyFont();
}

void QVcomboBoxControl::UserControl_InitProperties() {
    mAppearance = Flat3d::qv3D;
    mBorderStyle = NoneFixedSingle::FixedSingle;
    mColors = ColorRoles{};
    mButton1Visible = mButton2Visible = true;
    mConnection = nullptr;
    mDropDownStyle = false;
    mLockType = mOption = -1;
    mDataField.clear();
    mDataIdField.clear();
    mSqlQueryString.clear();
    mForbiddenCharacters.clear();
    mToolTipTextButton2.clear();
    mMinLen = 0;
    mMustFitDataList = true;
    mMustHaveValue = false;
    mSelectedOnGotFocus = false;
    mTrim = true;
    CopyAmbientFont(GetHost(), *mFont);
    StartUp();
}

void QVcomboBoxControl::StartUp() {
    RunSteps([&] {
        UpdateEnabledState();
        UserControl_Resize();
        Recolour();
        ApplyPointer();
        UpdateButtonsEnabled();
    });
}

void QVcomboBoxControl::UserControl_ReadProperties(PropertyBag& PropBag) {
    mAppearance = static_cast<Flat3d>(ReadZeroOrOne(PropBag, u"Appearance", 1));
    mColors.back = ReadColor(PropBag, u"BackColor", kColors.back);
    mButton1Visible = ReadBool(PropBag, u"Button1Visible", true);
    mButton2Visible = ReadBool(PropBag, u"Button2Visible", true);
    try {
        mConnection = PropBag.ReadProperty(u"Connection", Variant()).ToObject();
    } catch (const RuntimeError&) {
        mConnection = nullptr;
    }
    mLockType = ReadLockSetting(PropBag, u"ConnectionLockType");
    mOption = ReadLockSetting(PropBag, u"ConnectionOption");
    mBorderStyle = static_cast<NoneFixedSingle>(ReadZeroOrOne(PropBag, u"BorderStyle", 1));
    mDataField = ReadString(PropBag, u"DataField", String());
    mDataIdField = ReadString(PropBag, u"DataIdField", String());
    mColors.disabled = ReadColor(PropBag, u"DisabledColor", kColors.disabled);
    mDropDownStyle = ReadBool(PropBag, u"DropDownStyle", false);
    ccText.Enabled(ReadBool(PropBag, u"Enabled", true));
    mColors.error = ReadColor(PropBag, u"ErrorColor", kColors.error);
    mColors.focus = ReadColor(PropBag, u"FocusColor", kColors.focus);
    ReadFont(PropBag);
    ApplyFont();
    mForbiddenCharacters = ReadString(PropBag, u"ForbiddenCharacters", String());
    const Color fore = ReadColor(PropBag, u"ForeColor", kDefaultForeColor);
    ccText.ForeColor(fore);
    ccCombo.ForeColor(fore);
    ccText.Locked(ReadBool(PropBag, u"Locked", false));
    const int32_t maxLength = ReadLong(PropBag, u"MaxLength", 0);
    ccText.MaxLength(maxLength >= 0 && maxLength <= INT16_MAX ? maxLength : 0);
    try {
        ccText.MouseIcon(PropBag.ReadProperty(u"MouseIcon", Variant()).As<Picture>());
    } catch (const RuntimeError&) {
    }
    const int32_t pointer = ReadLong(PropBag, u"MousePointer", 0);
    ccText.MousePointer(
        static_cast<int16_t>(pointer == 99 || (pointer >= 0 && pointer <= 15) ? pointer : 0));
    mMinLen = ReadLong(PropBag, u"MinLen", 0);
    mMustFitDataList = ReadBool(PropBag, u"MustFitDataList", true);
    mMustHaveValue = ReadBool(PropBag, u"MustHaveValue", false);
    mSelectedOnGotFocus = ReadBool(PropBag, u"SelectedOnGotFocus", false);
    mSqlQueryString = ReadString(PropBag, u"SqlQueryString", String());
    String text;
    try {
        text = ReadOr(PropBag, u"Text", String()).ToString();  // null gives ""
    } catch (const RuntimeError&) {
    }
    ccText.Text(text);
    try {
        ccButton[0]->ToolTipText(ReadString(PropBag, u"ToolTipTextButton1", String()));
    } catch (const RuntimeError&) {
    }
    mToolTipTextButton2 = ReadString(PropBag, u"ToolTipTextButton2", String());
    mTrim = ReadBool(PropBag, u"Trim", true);
    mColors.useWarning = ReadBool(PropBag, u"UseWarningColor", false);
    mColors.warning = ReadColor(PropBag, u"WarningColor", kColors.warning);
    StartUp();
}

void QVcomboBoxControl::UserControl_WriteProperties(PropertyBag& PropBag) {
    const auto color = [&](const char16_t* key, Color value, Color defaultValue) {
        PropBag.WriteProperty(key, ColorToVariant(value), ColorToVariant(defaultValue));
    };
    PropBag.WriteProperty(u"Appearance", static_cast<int32_t>(mAppearance), 1);
    color(u"BackColor", mColors.back, kColors.back);
    PropBag.WriteProperty(u"Button1Visible", mButton1Visible, true);
    PropBag.WriteProperty(u"Button2Visible", mButton2Visible, true);
    PropBag.WriteProperty(u"BorderStyle", static_cast<int32_t>(mBorderStyle), 1);
    PropBag.WriteProperty(u"Connection", mConnection ? Variant(mConnection) : Variant(), Variant());
    PropBag.WriteProperty(u"ConnectionLockType", mLockType, int16_t{-1});
    PropBag.WriteProperty(u"ConnectionOption", mOption, int16_t{-1});
    PropBag.WriteProperty(u"DataField", mDataField, String());
    PropBag.WriteProperty(u"DataIdField", mDataIdField, String());
    color(u"DisabledColor", mColors.disabled, kColors.disabled);
    PropBag.WriteProperty(u"DropDownStyle", mDropDownStyle, false);
    PropBag.WriteProperty(u"Enabled", ccText.Enabled(), true);
    color(u"ErrorColor", mColors.error, kColors.error);
    color(u"FocusColor", mColors.focus, kColors.focus);
    PropBag.WriteProperty(u"Font", Variant(mFont), Variant());
    PropBag.WriteProperty(u"ForbiddenCharacters", mForbiddenCharacters, String());
    color(u"ForeColor", ccText.ForeColor(), kDefaultForeColor);
    PropBag.WriteProperty(u"Locked", ccText.Locked(), false);
    PropBag.WriteProperty(u"MaxLength", static_cast<int16_t>(ccText.MaxLength()), int16_t{0});
    PropBag.WriteProperty(u"MinLen", mMinLen, int32_t{0});
    const auto icon = ccText.MouseIcon();
    PropBag.WriteProperty(u"MouseIcon", icon ? Variant(icon) : Variant(), Variant());
    PropBag.WriteProperty(u"MousePointer", ccText.MousePointer(), int16_t{0});
    PropBag.WriteProperty(u"MustFitDataList", mMustFitDataList, true);
    PropBag.WriteProperty(u"MustHaveValue", mMustHaveValue, false);
    PropBag.WriteProperty(u"SelectedOnGotFocus", mSelectedOnGotFocus, false);
    PropBag.WriteProperty(u"SqlQueryString", mSqlQueryString, String());
    PropBag.WriteProperty(u"Text", ccText.Text(), String());
    PropBag.WriteProperty(u"ToolTipTextButton1", ccButton[0]->ToolTipText(), String());
    PropBag.WriteProperty(u"ToolTipTextButton2", mToolTipTextButton2, String());
    PropBag.WriteProperty(u"Trim", mTrim, true);
    PropBag.WriteProperty(u"UseWarningColor", mColors.useWarning, false);
    color(u"WarningColor", mColors.warning, kColors.warning);
}

}  // namespace qv
