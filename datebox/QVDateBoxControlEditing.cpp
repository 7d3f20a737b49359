// QVDateBoxControl: validation and colours, the field notices, keys, focus, mouse and layout.
#include <algorithm>

#include "datebox/QVDateBoxControl.h"
#include "library/Keyboard.h"
#include "library/ScopedFlag.h"

namespace qv {

// --- Validation and colour ------------------------------------------------------------------

bool QVDateBoxControl::CheckValueNow() {
    // The colour follows the verdict even when the handler fails after changing it.
    return RunSteps([&] { return Judge(); });
}

bool QVDateBoxControl::Judge() {
    const bool runMode = RunMode();
    const String& t = ActiveField().Text();
    // A complete text must name a date: one loaded as 31.04.2024 is no value.
    bool ValueOkay;
    if (t.empty()) {
        ValueOkay = !mMustHaveValue;
    } else {
        const std::optional<datetext::Ymd> date = ShownDate();
        ValueOkay = date && mRange.Admits(DateSerial(date->year, date->month, date->day));
    }
    RaiseEvent(u"ValidationCheck", events.ValidationCheck, ValueOkay);

    const TextField& active = ActiveField();
    const Color colour =
        mColors.Background(runMode, active.Enabled() && !active.Locked(), ValueOkay, mHasFocus);
    QVTxtBoxCC.SetBackColor(colour);
    GetHost().BackColor(colour);
    return ValueOkay;
}

// --- Field notices --------------------------------------------------------------------------

void QVDateBoxControl::QVTxtBoxCC_Change(int16_t Index) {
    // The control's own writes recolour once when every field holds the new text; an edit the
    // parser takes back entirely (a paste of no date) changed nothing.
    if (mWritingText || !KeepFieldsEqual(Index)) return;
    RunSteps([&] {
        Recolour();
        RaiseChange();
    });
}

bool QVDateBoxControl::KeepFieldsEqual(int16_t edited) {
    const TextField& field = QVTxtBoxCC[edited];
    const String before = QVTxtBoxCC[edited == 0 ? 1 : 0].Text();
    String text = field.Text();
    if (!before.starts_with(text)) text = datetext::Parse(text, Layout(), mSeparators);
    const ScopedFlag silent(mWritingText, true);
    for (TextField* f : QVTxtBoxCC)
        if (f->Text() != text) f->Text(text);
    return text != before;
}

void QVDateBoxControl::QVTxtBoxCC_KeyDown(int16_t, int16_t& KeyCode, int16_t& Shift) {
    RaiseEvent(u"KeyDown", events.KeyDown, KeyCode, Shift);
    // The left arrow deletes the character in front of the caret, which is always at the end.
    if (KeyCode == Key::Left && Shift == 0) {
        KeyCode = 0;
        GetHost().SendKeys(u"{BACKSPACE}");
    }
    // Shift+Insert pastes as Ctrl+V does: at the end, also where a program write left the caret.
    if (KeyCode == Key::Insert && Shift == ShiftState::Shift && !ActiveField().Locked()) {
        KeyCode = 0;
        RunSteps([&] { AddAtEnd(GetHost().ClipboardGetText()); });
    }
}

void QVDateBoxControl::AddAtEnd(const String& typed) {
    TextField& active = ActiveField();
    if (active.SelLength() != 0) {
        const auto keep =
            std::max<int32_t>(0, static_cast<int32_t>(active.Text().size()) - active.SelLength());
        Text(active.Text().substr(0, static_cast<size_t>(keep)));
    }
    if (!typed.empty()) Text(ActiveField().Text() + typed);
}

void QVDateBoxControl::QVTxtBoxCC_KeyPress(int16_t, int16_t& KeyAscii) {
    RaiseEvent(u"KeyPress", events.KeyPress, KeyAscii);
    if (KeyAscii == 0) return;  // the application took the key
    RunSteps([&] {
        TextField& active = ActiveField();
        if (KeyAscii == 27) active.SelStart(10);
        // Ctrl+C copies and Ctrl+X cuts (a selection always ends at the end of the text);
        // the field does both.
        if (KeyAscii == 3 || KeyAscii == 24) return;
        // A locked box takes no typing: the key goes on to the field, which copies but refuses
        // every edit.
        if (active.Locked()) return;
        const auto c = static_cast<char16_t>(static_cast<uint16_t>(KeyAscii));
        if ((c >= u'0' && c <= u'9') || c == u'.' || c == u',' || c == u'-' || c == u'/')
            AddAtEnd(String(1, c));
        else if (KeyAscii == 22)  // a paste goes through the parser like typing
            AddAtEnd(GetHost().ClipboardGetText());
        else
            AddAtEnd(String());     // any other key still replaces a selection
        if (KeyAscii == 8) return;  // the field deletes
        KeyAscii = 0;
    });
}

void QVDateBoxControl::QVTxtBoxCC_KeyUp(int16_t, int16_t& KeyCode, int16_t& Shift) {
    RaiseEvent(u"KeyUp", events.KeyUp, KeyCode, Shift);
    KeyCode = 0;
    TextField& active = ActiveField();
    if (active.SelLength() == 0) active.SelStart(static_cast<int32_t>(active.Text().size()));
}

void QVDateBoxControl::QVTxtBoxCC_GotFocus(int16_t) {
    RunSteps([&] {
        Recolour();
        // Otherwise the caret goes where typing adds, also after a program write left it at 0.
        TextField& active = ActiveField();
        if (mSelectedOnGotFocus)
            SelectAll(active);
        else
            active.SelStart(static_cast<int32_t>(active.Text().size()));
    });
}

void QVDateBoxControl::UserControl_EnterFocus() {
    mHasFocus = true;
}

void QVDateBoxControl::UserControl_ExitFocus() {
    mHasFocus = false;
    Recolour();
}

// --- Mouse ----------------------------------------------------------------------------------

void QVDateBoxControl::QVTxtBoxCC_Click(int16_t) {
    RaiseEvent(u"Click", events.Click);
}

void QVDateBoxControl::QVTxtBoxCC_DblClick(int16_t) {
    RaiseEvent(u"DblClick", events.DblClick);
}

void QVDateBoxControl::QVTxtBoxCC_MouseDown(int16_t, int16_t& Button, int16_t& Shift, float& X,
                                            float& Y) {
    RaiseEvent(u"MouseDown", events.MouseDown, Button, Shift, X, Y);
}

void QVDateBoxControl::QVTxtBoxCC_MouseMove(int16_t Index, int16_t& Button, int16_t& Shift,
                                            float& X, float& Y) {
    CopyExtenderTooltip(GetHost(), QVTxtBoxCC[Index]);
    RaiseEvent(u"MouseMove", events.MouseMove, Button, Shift, X, Y);
}

void QVDateBoxControl::QVTxtBoxCC_MouseUp(int16_t, int16_t& Button, int16_t& Shift, float& X,
                                          float& Y) {
    // A click leaves the caret at the end, where typing adds; a drag over 3 or more characters
    // selects everything, so that the next key replaces the date.
    TextField& active = ActiveField();
    if (active.SelLength() < 3)
        active.SelStart(static_cast<int32_t>(active.Text().size()));
    else
        SelectAll(active);
    RaiseEvent(u"MouseUp", events.MouseUp, Button, Shift, X, Y);
}

// --- Visible field, layout and font ---------------------------------------------------------

void QVDateBoxControl::SelectActiveField() {
    int16_t index = 2;
    if (mBorderStyle == NoneFixedSingle::None)
        index = 1;
    else if (mAppearance == Flat3d::qv3D)
        index = 0;
    QVTxtBoxCC.ShowOnly(index);
    UserControl_Resize();
}

void QVDateBoxControl::UserControl_Resize() {
    Host& host = GetHost();
    const int32_t W = host.ScaleWidth();
    const int32_t H = host.ScaleHeight();
    for (TextField* f : QVTxtBoxCC) {
        f->Left(0);
        f->Top(0);
        f->Width(W);
        f->Height(H);
    }
    // A field keeps the height its font needs: the control grows to it, never shrinks.
    const int32_t needed = ActiveField().Height();
    if (needed > H) host.Size(W, needed);
}

void QVDateBoxControl::mFont_FontChanged(const String&) {
    QVTxtBoxCC.SetFont(*mFont);
    UserControl_Resize();
}

}  // namespace qv
