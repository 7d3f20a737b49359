// QVnumBoxControl: a one-value numeric entry control, typed like a pocket calculator.
//
// It holds a decimal number with fixed limits on its integer and fraction digits and shows it
// right-aligned with a chosen decimal character and optional thousands grouping. Digits are
// always added at the right end, Backspace removes the last character, "-" toggles the sign and
// a highlighted value is replaced by the next keystroke. When the user leaves, the number is
// rounded (half up), padded and grouped. The value is judged against an optional range (and the
// application's ValidationCheck handler) and the verdict shown by the background colour.
//
// It has no text field: a right-aligned label shows the number, and the control draws its own
// caret (a blinking line at the right edge), its own highlight and its frame (two border
// labels, 3-D and flat). Keys arrive on the control's own surface.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

#include "library/Enums.h"
#include "library/RangedControl.h"
#include "numbox/NumberText.h"

namespace qv {

class QVnumBoxControl final : public RangedControl<double> {
  public:
    explicit QVnumBoxControl(Host& host);
    ~QVnumBoxControl() override;

    // Events: typed slots (see ControlEvents); by-reference arguments come back to the control.
    ControlEvents events;

    // --- Properties. A rejected write raises error 380 and changes nothing. -------------------
    int16_t Alignment() const { return 1; }  // right, fixed
    bool AllowMinus() const { return mAllowMinus; }
    void AllowMinus(bool New_AllowMinus);
    Flat3d Appearance() const { return mAppearance; }
    void Appearance(Flat3d New_Appearance);  // 0 or 1
    NoneFixedSingle BorderStyle() const { return mBorderStyle; }
    void BorderStyle(NoneFixedSingle New_BorderStyle);  // 0 or 1
    // "" or one character; a write keeps the first character of the argument and changes the
    // character in the display (no Change event).
    const String& DecimalPointCharacter() const { return mDecimalPointCharacter; }
    void DecimalPointCharacter(const String& New_DecimalPointCharacter);
    bool Enabled() const;
    void Enabled(bool New_Enabled);
    Color ForeColor() const { return mForeColor; }
    void ForeColor(Color New_ForeColor);
    bool HideSelection() const { return true; }
    bool Locked() const { return mLocked; }
    void Locked(bool New_Locked);
    // The longest display text the digit limits, sign and grouping allow.
    int16_t MaxLength() const;
    std::shared_ptr<Picture> MouseIcon() const;
    void MouseIcon(std::shared_ptr<Picture> New_MouseIcon);
    MousePointerEnum MousePointer() const { return mMousePointer; }
    void MousePointer(MousePointerEnum New_MousePointer);  // 0..15 or 99
    bool MultiLine() const { return false; }
    bool MustHaveValue() const { return mMustHaveValue; }
    void MustHaveValue(bool New_MustHaveValue);
    String PasswordChar() const { return String(); }
    // Most fraction digits, 0..255. Without the focus the display is rounded or padded at once;
    // while typing it takes the new count when the focus leaves (unless it already holds more
    // fraction digits, which are rounded away at once).
    int16_t PostDecimalNumbers() const { return mPostDecimalNumbers; }
    void PostDecimalNumbers(int16_t New_PostDecimalNumbers);
    // Most integer digits, 1..15 (a double holds 15 digits exactly). The display is not
    // reformatted: a value now too long fails at the next formatting.
    int16_t PreDecimalNumbers() const { return mPreDecimalNumbers; }
    void PreDecimalNumbers(int16_t New_PreDecimalNumbers);
    int16_t ScrollBars() const { return 0; }
    bool SelectedOnGotFocus() const { return mSelectedOnGotFocus; }
    void SelectedOnGotFocus(bool New_SelectedOnGotFocus);
    bool Separator() const { return mSeparator; }
    void Separator(bool New_Separator);  // regroups the display, no Change event
    // Null when the box is empty, else the display text ("1.234,50").
    Variant Text() const;
    // Parses a display-style text ("1.234,5", " +12 ", "-3"); text that does not parse, or a
    // negative one while AllowMinus is false, is ignored without an error. "" or Null empties
    // the box.
    void Text(const Variant& New_Text);
    // The value as it will be shown once the focus leaves; "" for an empty box. Error 380
    // "Too many pre decimal numbers!" when it does not fit the digit limits.
    String TextFormatted() const;
    // Null when the box is empty, else the value as last written (its type unchanged) or as a
    // Double when typed. A write must be Null or a plain decimal number ("-12.5", 7): anything
    // else, an exponent, or a negative one while AllowMinus is false is error 380; a value with
    // too many integer digits is error 380 "Too many pre decimal numbers!". A failed write
    // changes nothing.
    Variant Value() const;
    void Value(const Variant& New_Value);

    // --- Methods --------------------------------------------------------------------------
    // Judges the value (MustHaveValue, the range), raises ValidationCheck at run time,
    // recolours and returns the (possibly handler-changed) verdict.
    bool CheckValueNow() override;
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
    void UserControl_KeyDown(int16_t& KeyCode, int16_t& Shift) override;
    void UserControl_KeyPress(int16_t& KeyAscii) override;
    void UserControl_KeyUp(int16_t& KeyCode, int16_t& Shift) override;

    const ClassInfo& Class() const override;
    const MemberTable& Members() const override { return MemberTableOf(); }
    static const MemberTable& MemberTableOf();

    // --- The constituent widgets and the number state, for hosts and tests -----------------
    Label& Display() const { return *txtLabel; }  // its caption is the display text
    Label& Border(int16_t index) const { return *BorderLabel.at(static_cast<size_t>(index)); }
    LineWidget& Caret() const { return *CursorLine; }
    ShapeWidget& Highlight() const { return *HighlightShape; }
    TimerWidget& CaretTimer() const { return *CursorTimer; }
    const String& DisplayText() const { return txtLabel->Caption(); }
    const String& ValueText() const { return mValueText; }  // canonical: "1234.5", no sign
    bool IsNegative() const { return mNegative; }
    bool IsNull() const { return mIsNull; }
    bool HasFocus() const { return mHasFocus; }
    bool CaretOn() const { return mCaretOn; }
    bool IsHighlighted() const { return HighlightShape->Visible(); }

  private:
    // Label notices; the border labels' notices arrive here too.
    void txtLabel_Click();
    void txtLabel_DblClick();
    void txtLabel_MouseDown(int16_t& Button, int16_t& Shift, float& X, float& Y);
    void txtLabel_MouseMove(int16_t& Button, int16_t& Shift, float& X, float& Y);
    void txtLabel_MouseUp(int16_t& Button, int16_t& Shift, float& X, float& Y);
    void CursorTimer_Timer();
    void mFont_FontChanged(const String& PropertyName) override;

    // The number model.
    numtext::Chars Chars() const;
    // The formatted value, or error 380 "Too many pre decimal numbers!".
    String FormattedValue() const;
    String FormatValue(bool formatOnly);
    bool SetValueFromText(const Variant& value, bool notify = true);
    bool IsAcceptableValue(const Variant& value) const;
    void SetDisplay(const String& text) { txtLabel->Caption(text); }
    // Empties the box (display "", null value).
    void SetNull(bool notify);
    // The number state, saved so that a write that fails half-way can change nothing.
    struct NumberState {
        String valueText;
        bool negative;
        Variant value;
        bool isNull;
    };
    NumberState SaveNumber() const { return {mValueText, mNegative, mValue, mIsNull}; }
    void RestoreNumber(NumberState s);
    void CommitTyping();
    void RestoreValue(const Variant& value);

    // Caret, highlight, frame and layout.
    int32_t TextTop() const;  // ty: where the text area starts below the frame
    void PlaceCaret();
    void SelectAll();
    void UpdateTextColour();
    void ApplyMousePointer();
    void UpdateFrame();
    int32_t MeasureHeight(const String& text) const;
    int32_t MeasureWidth(const String& text) const;

    bool Judge();  // CheckValueNow's steps
    bool Editable() const { return Enabled() && !mLocked; }
    void RaiseChange();

    // The labels' and the timer's notices; the border labels' arrive as the label's own.
    struct Notices final : NoticeSink {
        explicit Notices(QVnumBoxControl& box) : c(box) {}
        QVnumBoxControl& c;
        void Click(int16_t) override { c.txtLabel_Click(); }
        void DblClick(int16_t) override { c.txtLabel_DblClick(); }
        void MouseDown(int16_t, int16_t& b, int16_t& s, float& x, float& y) override {
            c.txtLabel_MouseDown(b, s, x, y);
        }
        void MouseMove(int16_t, int16_t& b, int16_t& s, float& x, float& y) override {
            c.txtLabel_MouseMove(b, s, x, y);
        }
        void MouseUp(int16_t, int16_t& b, int16_t& s, float& x, float& y) override {
            c.txtLabel_MouseUp(b, s, x, y);
        }
        void Timer(int16_t) override { c.CursorTimer_Timer(); }
    } notices_{*this};

    Label* txtLabel = nullptr;
    std::array<Label*, 2> BorderLabel{};
    LineWidget* CursorLine = nullptr;
    ShapeWidget* HighlightShape = nullptr;
    TimerWidget* CursorTimer = nullptr;

    String mValueText;
    bool mNegative = false;
    Variant mValue;
    bool mIsNull = false;
    bool mHasFocus = false;
    bool mCaretOn = false;
    bool mSuppressChange = false;
    int32_t mDragStartX = 0;
    bool mDblClicked = false;
    bool mAfterCopy = false;
    bool mAfterPaste = false;
    Variant mUndoValue;  // Empty until the focus first leaves: undo then empties the box

    bool mAllowMinus = false;
    Flat3d mAppearance = Flat3d::qv3D;
    NoneFixedSingle mBorderStyle = NoneFixedSingle::FixedSingle;
    String mDecimalPointCharacter = u",";
    Color mForeColor = SystemColor::WindowText;
    bool mLocked = false;
    MousePointerEnum mMousePointer = static_cast<MousePointerEnum>(0);
    bool mMustHaveValue = false;
    int16_t mPostDecimalNumbers = 2;
    int16_t mPreDecimalNumbers = 7;
    bool mSelectedOnGotFocus = true;
    bool mSeparator = true;
};

}  // namespace qv
