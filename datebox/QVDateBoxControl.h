// QVDateBoxControl: a one-value date entry control.
//
// The user types a date as ten characters in one of three layouts (day-month-year,
// year-month-day, month-day-year); the control supplies leading zeros and separators while the
// user types and refuses every character that cannot lead to a valid date between 1 January 1900
// and 31 December 2099. Every character enters at the end of the text. The value is judged
// (complete, in range, the application's ValidationCheck handler) and the verdict shown by the
// background colour. It stands on three text fields of which one is visible; they differ only in
// their border (3-D, none, flat).
//
// The text is the only store of the value: the date properties are computed from the visible
// field's text when read. A ten-character text that names no date (possible only through loading)
// reads as no date, and is judged invalid.
#pragma once

#include <cstdint>

#include "datebox/DateText.h"
#include "library/Enums.h"
#include "library/FieldArray.h"
#include "library/RangedControl.h"
#include "library/Variant.h"

namespace qv {

class QVDateBoxControl final : public RangedControl<DateValue>, private FieldHandlers {
  public:
    explicit QVDateBoxControl(Host& host);
    ~QVDateBoxControl() override;

    // Events: typed slots (see ControlEvents); by-reference arguments come back to the control.
    ControlEvents events;

    // --- Properties. A rejected write raises error 380 and changes nothing. -------------------
    int16_t Alignment() const { return 0; }
    Flat3d Appearance() const { return mAppearance; }
    void Appearance(Flat3d New_Appearance);
    NoneFixedSingle BorderStyle() const { return mBorderStyle; }
    void BorderStyle(NoneFixedSingle New_BorderStyle);
    DateFmt DateFormat() const { return mDateFormat; }
    // 0, 1 or 2; a complete date is rewritten in the new layout, an incomplete text emptied.
    void DateFormat(DateFmt New_DateFormat);
    // Null while the text is not a complete date; otherwise the date in the named layout with
    // that layout's separator. A write takes null (clears) or ten characters in the named layout
    // naming a valid date, and shows it in the current layout.
    Variant DateDMY() const { return DateIn(datetext::Layout::DMY); }
    void DateDMY(const Variant& New_DateDMY) { WriteDateIn(datetext::Layout::DMY, New_DateDMY); }
    Variant DateMDY() const { return DateIn(datetext::Layout::MDY); }
    void DateMDY(const Variant& New_DateMDY) { WriteDateIn(datetext::Layout::MDY, New_DateMDY); }
    Variant DateYMD() const { return DateIn(datetext::Layout::YMD); }
    void DateYMD(const Variant& New_DateYMD) { WriteDateIn(datetext::Layout::YMD, New_DateYMD); }
    // Null while the text is not a complete date; otherwise that date. A write takes null
    // (clears) or a value that converts to a date from 1900 to 2099.
    Variant DDate() const;
    void DDate(const Variant& New_DDate);
    bool Enabled() const { return QVTxtBoxCC[0].Enabled(); }
    void Enabled(bool New_Enabled);
    Color ForeColor() const { return QVTxtBoxCC[0].ForeColor(); }
    void ForeColor(Color New_ForeColor);
    bool HideSelection() const { return QVTxtBoxCC[0].HideSelection(); }
    bool Locked() const { return QVTxtBoxCC[0].Locked(); }
    void Locked(bool New_Locked);
    int16_t MaxLength() const { return 10; }
    std::shared_ptr<Picture> MouseIcon() const { return QVTxtBoxCC[0].MouseIcon(); }
    void MouseIcon(std::shared_ptr<Picture> New_MouseIcon);
    MousePointerEnum MousePointer() const;
    void MousePointer(MousePointerEnum New_MousePointer);
    bool MultiLine() const { return false; }
    bool MustHaveValue() const { return mMustHaveValue; }
    void MustHaveValue(bool New_MustHaveValue);
    String PasswordChar() const { return String(); }
    int16_t ScrollBars() const { return 0; }
    bool SelectedOnGotFocus() const { return mSelectedOnGotFocus; }
    void SelectedOnGotFocus(bool New_SelectedOnGotFocus);
    // "" or one character; a write keeps the first character. The shown text is not rewritten.
    const String& SeparatorDMY() const { return mSeparators.dmy; }
    void SeparatorDMY(const String& New_SeparatorDMY);
    const String& SeparatorMDY() const { return mSeparators.mdy; }
    void SeparatorMDY(const String& New_SeparatorMDY);
    const String& SeparatorYMD() const { return mSeparators.ymd; }
    void SeparatorYMD(const String& New_SeparatorYMD);
    // The visible field's text (never null). A write goes through the typing parser: the text
    // is cut at the first character that cannot be part of a date; null clears; a value without
    // a text form raises 380.
    Variant Text() const { return ActiveField().Text(); }
    void Text(const Variant& New_Text);

    // --- Methods --------------------------------------------------------------------------
    bool CheckValueNow() override;
    void Refresh() { QVTxtBoxCC.Refresh(); }
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

    // The constituent widgets, for hosts and tests. Another index throws std::out_of_range.
    TextField& Field(int16_t index) const { return QVTxtBoxCC.At(index); }
    int16_t ActiveFieldIndex() const { return QVTxtBoxCC.ActiveIndex(); }
    bool HasFocus() const { return mHasFocus; }
    datetext::Layout Layout() const { return static_cast<datetext::Layout>(mDateFormat); }

  private:
    void QVTxtBoxCC_KeyDown(int16_t Index, int16_t& KeyCode, int16_t& Shift) override;
    void QVTxtBoxCC_KeyPress(int16_t Index, int16_t& KeyAscii) override;
    void QVTxtBoxCC_KeyUp(int16_t Index, int16_t& KeyCode, int16_t& Shift) override;
    void QVTxtBoxCC_Change(int16_t Index) override;
    void QVTxtBoxCC_Click(int16_t Index) override;
    void QVTxtBoxCC_DblClick(int16_t Index) override;
    void QVTxtBoxCC_GotFocus(int16_t Index) override;
    void QVTxtBoxCC_MouseDown(int16_t Index, int16_t& Button, int16_t& Shift, float& X,
                              float& Y) override;
    void QVTxtBoxCC_MouseMove(int16_t Index, int16_t& Button, int16_t& Shift, float& X,
                              float& Y) override;
    void QVTxtBoxCC_MouseUp(int16_t Index, int16_t& Button, int16_t& Shift, float& X,
                            float& Y) override;
    void mFont_FontChanged(const String& PropertyName) override;
    DateValue Bound(const DateValue& value) const override;

    TextField& ActiveField() const { return QVTxtBoxCC.Active(); }
    // The date the visible field's text names; nullopt for an incomplete or impossible text.
    std::optional<datetext::Ymd> ShownDate() const;
    Variant DateIn(datetext::Layout layout) const;
    void WriteDateIn(datetext::Layout layout, const Variant& value);
    // Shows a valid date in the current layout, then sends the date notices.
    void ShowDate(const datetext::Ymd& date);
    // Puts one text into the three fields; if any changed, judges it and raises Change, once.
    void WriteResult(const String& text);
    // After a field's own edit (Backspace, a cut or paste): the other fields take its text, which
    // goes through the typing parser unless the edit only shortened it. False when the fields
    // end up with the text they held before the edit.
    bool KeepFieldsEqual(int16_t edited);
    // A key at the caret, which is kept at the end: a selection is first cut from the end of the
    // text (as many characters as are selected), then `typed` is added through the parser.
    void AddAtEnd(const String& typed);
    void RaiseChange();
    void SendDateNotices();
    void SelectActiveField();
    void ChangeBorder(Flat3d appearance, NoneFixedSingle borderStyle, const char16_t* name);
    bool Judge();

    // Frames come from the fields themselves: the three differ only in their border.
    FieldArray QVTxtBoxCC;

    bool mHasFocus = false;
    bool mWritingText = false;

    Flat3d mAppearance = Flat3d::qv3D;
    NoneFixedSingle mBorderStyle = NoneFixedSingle::FixedSingle;
    DateFmt mDateFormat = DateFmt::DMY;
    bool mMustHaveValue = true;
    bool mSelectedOnGotFocus = false;
    datetext::Separators mSeparators;
};

}  // namespace qv
