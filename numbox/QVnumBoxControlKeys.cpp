// QVnumBoxControl: typing like a pocket calculator, the clipboard keys and the focus steps.
#include "library/Keyboard.h"
#include "library/RuntimeError.h"
#include "numbox/QVnumBoxControl.h"

namespace qv {

namespace {
bool IsCtrl(int16_t keyCode, int16_t shift, int16_t key) {
    return keyCode == key && shift == ShiftState::Ctrl;
}
}  // namespace

// --- Key-down -------------------------------------------------------------------------------

void QVnumBoxControl::UserControl_KeyDown(int16_t& KeyCode, int16_t& Shift) {
    if (Enabled()) RaiseEvent(u"KeyDown", events.KeyDown, KeyCode, Shift);
    // The key's own steps run to their end when a handler fails in between.
    RunSteps([&] {
        if (!Editable()) return;

        if (IsCtrl(KeyCode, Shift, 'X') || IsCtrl(KeyCode, Shift, 'C')) {
            // An empty box copies the empty text, not the value it held before.
            String text;
            if (!mIsNull) {
                try {
                    text = mValue.ToString();
                } catch (const RuntimeError&) {
                }
                text = TrimBlanks(text);
            }
            Host& host = GetHost();
            host.ClipboardClear();
            host.ClipboardSetText(text);
            if (KeyCode == 'C') mAfterCopy = true;
        } else if (IsCtrl(KeyCode, Shift, 'V')) {
            const String clip = GetHost().ClipboardGetText();
            const bool wasHighlighted = IsHighlighted();
            mAfterPaste = true;
            if (IsNumeric(Variant(clip))) {
                const Variant old = Value();
                try {
                    Value(Val(clip));
                } catch (const RuntimeError&) {
                    RestoreValue(old);
                    HighlightShape->Visible(wasHighlighted);
                    mAfterPaste = wasHighlighted;
                }
            }
        } else if (IsCtrl(KeyCode, Shift, 'Z')) {
            const Variant old = Value();
            const bool wasHighlighted = IsHighlighted();
            mAfterPaste = true;
            // Before the focus has ever left there is nothing to go back to but an empty box.
            const Variant undo = mUndoValue.IsEmpty() ? Variant::Null() : mUndoValue;
            try {
                Value(undo);
            } catch (const RuntimeError&) {
                RestoreValue(old);
                HighlightShape->Visible(wasHighlighted);
                mAfterPaste = wasHighlighted;
            }
            mUndoValue = old;
        } else if (KeyCode == Key::Left && Shift == 0) {
            // Left deletes the last character: it comes back as an ordinary Backspace.
            KeyCode = 0;
            GetHost().SendKeys(u"{BACKSPACE}");
        }

        const int16_t code = KeyCode;
        if (code == Key::Escape || (code >= Key::End && code <= Key::Down)) {
            if (code == Key::Home && Shift >= 1) {
                SelectAll();
            } else {
                HighlightShape->Visible(false);
                UpdateTextColour();
            }
        } else if (code == Key::Delete && IsHighlighted()) {
            SetDisplay(String());
            mNegative = false;
            mIsNull = true;
            HighlightShape->Visible(false);
            UpdateTextColour();
            Recolour();
            RaiseChange();
            mValueText = u".";
        }
    });
}

// Puts back the value a failed paste or undo replaced; a value that no longer fits the limits
// stays as it is.
void QVnumBoxControl::RestoreValue(const Variant& value) {
    try {
        Value(value);
    } catch (const RuntimeError&) {
    }
}

// --- Characters -----------------------------------------------------------------------------

void QVnumBoxControl::UserControl_KeyPress(int16_t& KeyAscii) {
    if (Enabled()) RaiseEvent(u"KeyPress", events.KeyPress, KeyAscii);
    RunSteps([&] {
        if (Editable()) {
            bool committed = false;
            String display = DisplayText();
            if (IsHighlighted() && !mAfterCopy && !mAfterPaste) {
                HighlightShape->Visible(false);
                UpdateTextColour();
                if (!display.empty()) {
                    display.clear();
                    SetDisplay(display);
                    mNegative = false;
                    committed = true;
                }
            }
            const numtext::Chars c = Chars();
            const auto ch = static_cast<char16_t>(static_cast<uint16_t>(KeyAscii));
            if (ch == u'\b') {
                if (!display.empty()) {
                    display.pop_back();
                    SetDisplay(numtext::FormatDisplayText(display, c, mSeparator));
                    if (DisplayText().empty()) mNegative = false;
                    committed = true;
                }
            } else if (ch == u'-') {
                if (mAllowMinus) {
                    if (!display.empty() && display[0] == u'-') {
                        SetDisplay(display.substr(1));
                        mNegative = false;
                    } else {
                        SetDisplay(u"-" + display);
                        mNegative = true;
                    }
                    committed = true;
                }
            } else if (ch == u',' || ch == u'.') {
                if (mPostDecimalNumbers >= 1 && display.find(c.dec) == String::npos) {
                    display.push_back(c.dec);
                    if (display.size() == 1) display.insert(display.begin(), u'0');
                    SetDisplay(display);
                    committed = true;
                }
            } else if (ch >= u'0' && ch <= u'9') {
                String candidate;
                if (display == u"0")
                    candidate = String(1, ch);
                else if (display == u"-0")
                    candidate = String{u'-', ch};
                else
                    candidate = numtext::FormatDisplayText(display + ch, c, mSeparator);
                if (numtext::PostDecimalDigits(candidate, c).size() <=
                        static_cast<size_t>(mPostDecimalNumbers) &&
                    numtext::PreDecimalDigits(candidate, c).size() <=
                        static_cast<size_t>(mPreDecimalNumbers)) {
                    SetDisplay(candidate);
                    committed = true;
                }
            }
            // The control characters of the clipboard keys (3, 22, 24, 26) are refused like any
            // other: they beep, unless a cut has just cleared a highlighted value above.
            if (committed)
                CommitTyping();
            else
                GetHost().Beep();
        }
        mAfterCopy = false;
        mAfterPaste = false;
    });
}

void QVnumBoxControl::CommitTyping() {
    const String& display = DisplayText();
    const numtext::Chars c = Chars();
    mValueText =
        numtext::PreDecimalDigits(display, c) + u"." + numtext::PostDecimalDigits(display, c);
    mIsNull = display.empty();
    Notice(u"Text");
    const double number = Val(mValueText);
    mValue = !display.empty() && display[0] == u'-' && number != 0 ? -number : number;
    Notice(u"Value");
    Recolour();
    RaiseChange();
}

void QVnumBoxControl::UserControl_KeyUp(int16_t& KeyCode, int16_t& Shift) {
    if (Enabled()) RaiseEvent(u"KeyUp", events.KeyUp, KeyCode, Shift);
}

// --- Focus ----------------------------------------------------------------------------------

void QVnumBoxControl::UserControl_EnterFocus() {
    RunSteps([&] {
        mHasFocus = true;
        Recolour();
        CursorTimer->Enabled(true);
        if (Enabled()) {
            mCaretOn = true;
            PlaceCaret();
        }
        if (Enabled() && mSelectedOnGotFocus) SelectAll();
    });
}

void QVnumBoxControl::UserControl_ExitFocus() {
    RunSteps([&] {
        CursorTimer->Enabled(false);
        mHasFocus = false;
        mCaretOn = false;
        if (!DisplayText().empty()) {
            try {
                FormatValue(false);
            } catch (const RuntimeError& e) {
                // The digits typed no longer fit limits written meanwhile: the display stays as
                // typed and the focus still moves. Code that asks (TextFormatted) gets the error.
                if (e.Source() != u"QVNumBoxControl") throw;
            }
        } else {
            mIsNull = true;
        }
        PlaceCaret();
        Recolour();
        HighlightShape->Visible(false);
        UpdateTextColour();
        mUndoValue = Value();
    });
}

}  // namespace qv
