// QVtxtBoxControl: typing, the value, formatting, validation and the field notices.
#include <algorithm>

#include "library/Global.h"
#include "library/PropertyHelpers.h"
#include "library/RuntimeError.h"
#include "library/ScopedFlag.h"
#include "txtbox/QVtxtBoxControl.h"

namespace qv {

namespace {
char16_t CharOf(int16_t keyAscii) {
    return static_cast<char16_t>(static_cast<uint16_t>(keyAscii));
}
}  // namespace

// --- The value ------------------------------------------------------------------------------

Variant QVtxtBoxControl::Text() const {
    if (!mIsNull || mNullToEmptyString) return ActiveField().Text();
    return Variant::Null();
}

void QVtxtBoxControl::Text(const Variant& New_Text) {
    RunSteps([&] {
        if (New_Text.IsNull()) {
            QVTxtBoxCC.WriteAll(String(), mWritingText);
            mIsNull = true;
        } else {
            // A value without a text form is refused before anything changes.
            String text;
            try {
                text = New_Text.ToString();
            } catch (const RuntimeError&) {
                Raise(err::InvalidPropertyValue);
            }
            if (mAllUcase) text = UpperCase(text);
            // Handlers of the fields' change notices run inside these writes; an error of
            // theirs is passed on once every field is written and the text formatted.
            QVTxtBoxCC.WriteAll(text, mWritingText);
            mIsNull = false;
        }
        FormatText();
        Notice(u"Text");
    });
}

void QVtxtBoxControl::FormatText() {
    RunSteps([&] {
        const ScopedFlag reset(mWritingText, false);
        TextField& active = ActiveField();
        if (mTrim) {
            String trimmed = TrimBlanks(active.Text());
            if (trimmed != active.Text()) {
                active.Text(trimmed);
                mWritingText = true;
            }
        }
        if (!active.Text().empty() && mFirstCharacterCapital) {
            String text = active.Text();
            text[0] = UpperCaseChar(text[0]);
            active.Text(text);
        }
        QVTxtBoxCC.WriteAllSilently(String(active.Text()), mWritingText);
    });
}

String QVtxtBoxControl::TextFormatted() const {
    if (mIsNull) return String();
    String text = mTrim ? TrimBlanks(ActiveField().Text()) : TrimRightBlanks(ActiveField().Text());
    if (mAllUcase) {
        text = UpperCase(text);
    } else if (mFirstCharacterCapital && !text.empty()) {
        text[0] = UpperCaseChar(text[0]);
    }
    return text;
}

// --- Validation and colour ------------------------------------------------------------------

bool QVtxtBoxControl::CheckValueNow() {
    // The colour follows the verdict even when the handler fails after changing it.
    return RunSteps([&] { return Judge(); });
}

bool QVtxtBoxControl::Judge() {
    const bool runMode = RunMode();
    // Blank or empty: nothing but code 32 (no copy of the text on every keystroke).
    bool ValueOkay =
        !(mMustHaveValue && ActiveField().Text().find_first_not_of(u' ') == String::npos);
    RaiseEvent(u"ValidationCheck", events.ValidationCheck, ValueOkay);

    const TextField& first = QVTxtBoxCC[0];
    const Color colour =
        mColors.Background(runMode, first.Enabled() && !first.Locked(), ValueOkay, mHasFocus);
    QVTxtBoxCC.SetBackColor(colour);
    GetHost().BackColor(colour);
    return ValueOkay;
}

// --- Field notices --------------------------------------------------------------------------

void QVtxtBoxControl::QVTxtBoxCC_KeyDown(int16_t, int16_t& KeyCode, int16_t& Shift) {
    RaiseEvent(u"KeyDown", events.KeyDown, KeyCode, Shift);
}

void QVtxtBoxControl::QVTxtBoxCC_KeyUp(int16_t, int16_t& KeyCode, int16_t& Shift) {
    RaiseEvent(u"KeyUp", events.KeyUp, KeyCode, Shift);
}

void QVtxtBoxControl::QVTxtBoxCC_KeyPress(int16_t, int16_t& KeyAscii) {
    RaiseEvent(u"KeyPress", events.KeyPress, KeyAscii);
    if (mAllUcase) KeyAscii = static_cast<int16_t>(UpperCaseChar(CharOf(KeyAscii)));
    if (KeyAscii != 0 && mForbiddenCharacters.find(CharOf(KeyAscii)) != String::npos) KeyAscii = 0;
}

void QVtxtBoxControl::QVTxtBoxCC_Change(int16_t) {
    // Typing into a null box gives it a value before the handlers run, so that they read it.
    if (mIsNull && !ActiveField().Text().empty()) mIsNull = false;
    // Change follows also when the ValidationCheck handler fails.
    RunSteps([&] {
        Recolour();
        if (!mWritingText) RaiseChange();
    });
}

void QVtxtBoxControl::QVTxtBoxCC_Click(int16_t) {
    RaiseEvent(u"Click", events.Click);
}

void QVtxtBoxControl::QVTxtBoxCC_DblClick(int16_t) {
    RaiseEvent(u"DblClick", events.DblClick);
}

void QVtxtBoxControl::QVTxtBoxCC_GotFocus(int16_t) {
    mFieldHasFocus = true;
    RunSteps([&] {
        Recolour();
        if (mSelectedOnGotFocus) {
            SelectAll(ActiveField());
            mSelectTime = GetHost().Timer();
            mSelectTimeSet = true;
        }
    });
}

void QVtxtBoxControl::QVTxtBoxCC_LostFocus(int16_t) {
    mFieldHasFocus = false;
    if (mSwitchingField) {
        mFormatPending = true;  // SelectActiveField decides once the new field shows
        return;
    }
    FormatText();
}

void QVtxtBoxControl::QVTxtBoxCC_MouseDown(int16_t, int16_t& Button, int16_t& Shift, float& X,
                                           float& Y) {
    RaiseEvent(u"MouseDown", events.MouseDown, Button, Shift, X, Y);
}

void QVtxtBoxControl::QVTxtBoxCC_MouseMove(int16_t Index, int16_t& Button, int16_t& Shift, float& X,
                                           float& Y) {
    CopyExtenderTooltip(GetHost(), QVTxtBoxCC[Index]);
    RaiseEvent(u"MouseMove", events.MouseMove, Button, Shift, X, Y);
}

void QVtxtBoxControl::QVTxtBoxCC_MouseUp(int16_t, int16_t& Button, int16_t& Shift, float& X,
                                         float& Y) {
    // The click that brought the focus would leave a caret; keep the whole text selected.
    if (mSelectTimeSet && Global::SecondsSince(mSelectTime, GetHost().Timer()) < 0.5f)
        SelectAll(ActiveField());
    RaiseEvent(u"MouseUp", events.MouseUp, Button, Shift, X, Y);
}

void QVtxtBoxControl::UserControl_EnterFocus() {
    mHasFocus = true;
}

void QVtxtBoxControl::UserControl_ExitFocus() {
    mHasFocus = false;
    Recolour();
}

}  // namespace qv
