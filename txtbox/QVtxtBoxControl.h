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

#include "library/DataEntryControl.h"
#include "library/Enums.h"
#include "library/FieldArray.h"

namespace qv {

class QVtxtBoxControl final : public DataEntryControl, private FieldHandlers {
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
    NoneFixedSingle BorderStyle() const { return mBorderStyle; }
    void BorderStyle(NoneFixedSingle New_BorderStyle);
    bool Enabled() const;
    void Enabled(bool New_Enabled);
    bool FirstCharacterCapital() const { return mFirstCharacterCapital; }
    void FirstCharacterCapital(bool New_FirstCharacterCapital);
    const String& ForbiddenCharacters() const { return mForbiddenCharacters; }
    void ForbiddenCharacters(const String& New_ForbiddenCharacters);
    Color ForeColor() const;
    void ForeColor(Color New_ForeColor);
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

    // --- Methods --------------------------------------------------------------------------
    // Judges the value, raises ValidationCheck, recolours and returns the (possibly changed)
    // verdict.
    bool CheckValueNow() override;
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
    TextField& Field(int16_t index) const { return QVTxtBoxCC.At(index); }
    Label& Border(int16_t index) const { return *ccBorder.at(static_cast<size_t>(index)); }
    int16_t ActiveFieldIndex() const { return QVTxtBoxCC.ActiveIndex(); }
    bool IsNull() const { return mIsNull; }
    bool HasFocus() const { return mHasFocus; }

  private:
    // Field notices, each told the element index of the field that sent it.
    void QVTxtBoxCC_KeyDown(int16_t Index, int16_t& KeyCode, int16_t& Shift) override;
    void QVTxtBoxCC_KeyPress(int16_t Index, int16_t& KeyAscii) override;
    void QVTxtBoxCC_KeyUp(int16_t Index, int16_t& KeyCode, int16_t& Shift) override;
    void QVTxtBoxCC_Change(int16_t Index) override;
    void QVTxtBoxCC_Click(int16_t Index) override;
    void QVTxtBoxCC_DblClick(int16_t Index) override;
    void QVTxtBoxCC_GotFocus(int16_t Index) override;
    void QVTxtBoxCC_LostFocus(int16_t Index) override;
    void QVTxtBoxCC_MouseDown(int16_t Index, int16_t& Button, int16_t& Shift, float& X,
                              float& Y) override;
    void QVTxtBoxCC_MouseMove(int16_t Index, int16_t& Button, int16_t& Shift, float& X,
                              float& Y) override;
    void QVTxtBoxCC_MouseUp(int16_t Index, int16_t& Button, int16_t& Shift, float& X,
                            float& Y) override;
    void mFont_FontChanged(const String& PropertyName) override;

    TextField& ActiveField() const { return QVTxtBoxCC.Active(); }
    void SelectActiveField();
    void SwapActiveField();
    bool Judge();  // CheckValueNow's steps
    void ChangeBorder(const std::function<void()>& store);

    void RaiseChange();

    // Frames first: widgets created later lie on top, and the fields sit inside the frames.
    std::array<Label*, 2> ccBorder;
    FieldArray QVTxtBoxCC;

    bool mHasFocus = false;
    bool mIsNull = false;
    bool mWritingText = false;
    bool mFieldHasFocus = false;   // between a field's GotFocus and LostFocus
    bool mSwitchingField = false;  // SelectActiveField is swapping the visible field
    bool mFormatPending = false;   // a field lost the focus during that swap
    float mSelectTime = 0;
    bool mSelectTimeSet = false;  // a focus entry has selected the text at mSelectTime

    bool mAllUcase = false;
    Flat3d mAppearance = Flat3d::qv3D;
    NoneFixedSingle mBorderStyle = NoneFixedSingle::FixedSingle;
    bool mFirstCharacterCapital = true;
    String mForbiddenCharacters;
    bool mMultiLine = false;
    bool mMustHaveValue = true;
    bool mNullToEmptyString = true;
    ScrollBarsEnum mScrollBars = ScrollBarsEnum::None;
    bool mSelectedOnGotFocus = false;
    bool mTrim = true;
};

}  // namespace qv
