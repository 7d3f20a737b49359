// QVtxtBoxControl: a one-value text entry control.
//
// It filters typed characters (forbidden characters, forced upper case), keeps a null state,
// trims and capitalises the text when the user leaves, judges the value (MustHaveValue and the
// application's ValidationCheck handler) and shows the verdict by its background colour. It is
// built of three text fields of which one is visible (single line, multi-line, multi-line with
// a vertical scroll bar) and two border labels (3-D and flat frame).
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "library/Control.h"
#include "library/Enums.h"

namespace qv {

class QVtxtBoxControl final : public Control {
  public:
    explicit QVtxtBoxControl(Host& host);
    ~QVtxtBoxControl() override;

    // Events: typed slots (see ControlEvents); by-reference arguments come back to the control.
    ControlEvents events;

    // --- Properties. A rejected write raises error 380 and changes nothing. -------------------
    int16_t Alignment() const;
    bool AllUcase() const { return mAllUcase; }
    void AllUcase(bool New_AllUcase);
    Flat3d Appearance() const { return mAppearance; }
    void Appearance(Flat3d New_Appearance);
    Color BackColor() const { return mBackColor; }
    void BackColor(Color New_BackColor);
    NoneFixedSingle BorderStyle() const { return mBorderStyle; }
    void BorderStyle(NoneFixedSingle New_BorderStyle);
    Color DisabledColor() const { return mDisabledColor; }
    void DisabledColor(Color New_DisabledColor);
    bool Enabled() const;
    void Enabled(bool New_Enabled);
    Color ErrorColor() const { return mErrorColor; }
    void ErrorColor(Color New_ErrorColor);
    bool FirstCharacterCapital() const { return mFirstCharacterCapital; }
    void FirstCharacterCapital(bool New_FirstCharacterCapital);
    Color FocusColor() const { return mFocusColor; }
    void FocusColor(Color New_FocusColor);
    const String& ForbiddenCharacters() const { return mForbiddenCharacters; }
    void ForbiddenCharacters(const String& New_ForbiddenCharacters);
    Color ForeColor() const;
    void ForeColor(Color New_ForeColor);
    // The control's own font object; writing copies the attributes of the given font into it.
    std::shared_ptr<qv::Font> Font() const { return mFont; }
    void Font(const qv::Font& New_Font);
    bool FontBold() const { return mFont->Bold(); }
    void FontBold(bool New_FontBold);
    bool FontItalic() const { return mFont->Italic(); }
    void FontItalic(bool New_FontItalic);
    String FontName() const { return mFont->Name(); }
    void FontName(const String& New_FontName);
    float FontSize() const { return mFont->Size(); }
    void FontSize(float New_FontSize);
    bool FontStrikethru() const { return mFont->Strikethrough(); }
    void FontStrikethru(bool New_FontStrikethru);
    bool FontUnderline() const { return mFont->Underline(); }
    void FontUnderline(bool New_FontUnderline);
    bool HideSelection() const;
    bool Locked() const;
    void Locked(bool New_Locked);
    int16_t MaxLength() const;
    void MaxLength(int16_t New_MaxLength);
    std::shared_ptr<Picture> MouseIcon() const;
    void MouseIcon(std::shared_ptr<Picture> New_MouseIcon);
    MousePointerEnum MousePointer() const;
    void MousePointer(MousePointerEnum New_MousePointer);
    bool MultiLine() const { return mMultiLine; }
    void MultiLine(bool New_MultiLine);
    bool MustHaveValue() const { return mMustHaveValue; }
    void MustHaveValue(bool New_MustHaveValue);
    bool NullToEmptyString() const { return mNullToEmptyString; }
    void NullToEmptyString(bool New_NullToEmptyString);
    String PasswordChar() const;
    void PasswordChar(const String& New_PasswordChar);
    ScrollBarsEnum ScrollBars() const { return mScrollBars; }
    void ScrollBars(ScrollBarsEnum New_ScrollBars);
    bool SelectedOnGotFocus() const { return mSelectedOnGotFocus; }
    void SelectedOnGotFocus(bool New_SelectedOnGotFocus);
    int32_t SelLength() const;
    void SelLength(int32_t New_SelLength);
    int32_t SelStart() const;
    void SelStart(int32_t New_SelStart);
    String SelText() const;
    void SelText(const String& New_SelText);
    // Null while the value is null and NullToEmptyString is false; otherwise the text.
    Variant Text() const;
    // Null empties the box; anything else is written as its text form. A value without a text
    // form (an object) raises error 380.
    void Text(const Variant& New_Text);
    // The text as FormatText would leave it (trailing blanks always removed, AllUcase applied).
    String TextFormatted() const;
    bool Trim() const { return mTrim; }
    void Trim(bool New_Trim);
    bool UseWarningColor() const { return mUseWarningColor; }
    void UseWarningColor(bool New_UseWarningColor);
    Color WarningColor() const { return mWarningColor; }
    void WarningColor(Color New_WarningColor);

    // --- Methods --------------------------------------------------------------------------
    // Judges the value, raises ValidationCheck, recolours and returns the (possibly changed)
    // verdict.
    bool CheckValueNow();
    // Trims and capitalises the visible field's text and copies it into the other fields.
    void FormatText();
    void Refresh();
    void ShowAboutBox();

    // --- Container notices ------------------------------------------------------------------
    void UserControl_Initialize() override;
    void UserControl_InitProperties() override;
    void UserControl_ReadProperties(PropertyBag& PropBag) override;
    void UserControl_WriteProperties(PropertyBag& PropBag) override;
    void UserControl_Resize() override;
    void UserControl_EnterFocus() override;
    void UserControl_ExitFocus() override;

    const ClassInfo& Class() const override;
    const MemberTable& Members() const override { return MemberTableOf(); }
    static const MemberTable& MemberTableOf();

    // The constituent widgets, for hosts and tests that look at them.
    // Field(0..2), Border(0..1); another index throws std::out_of_range.
    TextField& Field(int16_t index) const { return *QVTxtBoxCC.at(static_cast<size_t>(index)); }
    Label& Border(int16_t index) const { return *ccBorder.at(static_cast<size_t>(index)); }
    int16_t ActiveFieldIndex() const { return mActiveField; }
    bool IsNull() const { return mIsNull; }
    bool HasFocus() const { return mHasFocus; }

  private:
    // Field notices, each told the element index of the field that sent it.
    void QVTxtBoxCC_KeyDown(int16_t Index, int16_t& KeyCode, int16_t& Shift);
    void QVTxtBoxCC_KeyPress(int16_t Index, int16_t& KeyAscii);
    void QVTxtBoxCC_KeyUp(int16_t Index, int16_t& KeyCode, int16_t& Shift);
    void QVTxtBoxCC_Change(int16_t Index);
    void QVTxtBoxCC_Click(int16_t Index);
    void QVTxtBoxCC_DblClick(int16_t Index);
    void QVTxtBoxCC_GotFocus(int16_t Index);
    void QVTxtBoxCC_LostFocus(int16_t Index);
    void QVTxtBoxCC_MouseDown(int16_t Index, int16_t& Button, int16_t& Shift, float& X, float& Y);
    void QVTxtBoxCC_MouseMove(int16_t Index, int16_t& Button, int16_t& Shift, float& X, float& Y);
    void QVTxtBoxCC_MouseUp(int16_t Index, int16_t& Button, int16_t& Shift, float& X, float& Y);
    void mFont_FontChanged(const String& PropertyName);

    void AttachFont(std::shared_ptr<qv::Font> font);
    TextField& ActiveField() const { return *QVTxtBoxCC[mActiveField]; }
    void SelectActiveField();
    void SwapActiveField();
    void Recolour() { (void)CheckValueNow(); }
    bool Judge();  // CheckValueNow's steps
    void ChangeBorder(const std::function<void()>& store);
    void SelectAll(TextField& field);
    void Notice(const char16_t* name) { GetHost().PropertyChanged(name); }

    void RaiseChange();

    // The control's own writes end with mWritingText false, also when one fails half way, or
    // Change would stay silent for good.
    class WritingTextScope {
      public:
        explicit WritingTextScope(bool& flag) : flag_(flag) {}
        ~WritingTextScope() { flag_ = false; }
        WritingTextScope(const WritingTextScope&) = delete;
        WritingTextScope& operator=(const WritingTextScope&) = delete;

      private:
        bool& flag_;
    };

    // Set while SelectActiveField swaps the visible field; reset however the swap ends.
    class SwitchingFieldScope {
      public:
        explicit SwitchingFieldScope(QVtxtBoxControl& c) : c_(c) { c_.mSwitchingField = true; }
        ~SwitchingFieldScope() { c_.mSwitchingField = false; }
        SwitchingFieldScope(const SwitchingFieldScope&) = delete;
        SwitchingFieldScope& operator=(const SwitchingFieldScope&) = delete;

      private:
        QVtxtBoxControl& c_;
    };

    std::array<TextField*, 3> QVTxtBoxCC{};
    std::array<Label*, 2> ccBorder{};

    int16_t mActiveField = 0;
    bool mHasFocus = false;
    bool mIsNull = false;
    bool mWritingText = false;
    bool mFieldHasFocus = false;   // between a field's GotFocus and LostFocus
    bool mSwitchingField = false;  // SelectActiveField is swapping the visible field
    bool mFormatPending = false;   // a field lost the focus during that swap
    float mSelectTime = 0;
    bool mSelectTimeSet = false;  // a focus entry has selected the text at mSelectTime
    std::shared_ptr<qv::Font> mFont;

    bool mAllUcase = false;
    Flat3d mAppearance = Flat3d::qv3D;
    Color mBackColor = SystemColor::WindowBackground;
    NoneFixedSingle mBorderStyle = NoneFixedSingle::FixedSingle;
    Color mDisabledColor = 0xC0C0C0;
    Color mErrorColor = 0xC0C0FF;
    bool mFirstCharacterCapital = true;
    Color mFocusColor = 0xC0FFC0;
    String mForbiddenCharacters;
    bool mMultiLine = false;
    bool mMustHaveValue = true;
    bool mNullToEmptyString = true;
    ScrollBarsEnum mScrollBars = ScrollBarsEnum::None;
    bool mSelectedOnGotFocus = false;
    bool mTrim = true;
    bool mUseWarningColor = false;
    Color mWarningColor = 0xC0FFFF;
};

}  // namespace qv
