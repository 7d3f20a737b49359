// QVcomboBoxControl: the verdict, typing, the lookup, focus, the timer and the mouse on the field.
#include <algorithm>

#include "combobox/QVcomboBoxControl.h"
#include "library/CaseFold.h"
#include "library/FieldArray.h"
#include "library/Global.h"
#include "library/Keyboard.h"
#include "library/RuntimeError.h"
#include "library/ScopedFlag.h"

namespace qv {

namespace {
char16_t CharOf(int16_t keyAscii) {
    return static_cast<char16_t>(static_cast<uint16_t>(keyAscii));
}
}  // namespace

// --- Verdict and colour ---------------------------------------------------------------------

bool QVcomboBoxControl::CheckValueNow() {
    return RunSteps([&] { return Judge(); });
}

bool QVcomboBoxControl::Judge() {
    const bool runMode = RunMode();
    const bool db = IsDatabaseMode();
    const bool searchEmpty = SearchText().empty();
    // In database mode a dropped list holds candidates, not a value.
    const bool noItem = Items().Selected() < 0 || (db && ccCombo.Dropped());
    bool ValueOkay = true;
    if ((mDropDownStyle && !db) || !mMustFitDataList)
        ValueOkay = !(searchEmpty && mMustHaveValue);
    else if (mMustHaveValue)
        ValueOkay = !noItem;
    else
        ValueOkay = searchEmpty || !noItem;
    if (runMode) RaiseEvent(u"ValidationCheck", events.ValidationCheck, ValueOkay);
    const Color back =
        mColors.Background(runMode, ccText.Enabled() && !ccText.Locked(), ValueOkay, mHasFocus);
    ccText.BackColor(back);
    ccCombo.BackColor(mColors.focus);
    ccFrame.BackColor(back);
    return runMode ? ValueOkay : true;
}

// --- The list operations the editing uses ---------------------------------------------------

void QVcomboBoxControl::DropList() {
    ccCombo.Dropped(true);
    Timer1.Enabled(true);
}

void QVcomboBoxControl::CloseList() {
    const int32_t selected = Items().Selected();
    ccCombo.Dropped(false);
    if (Items().Selected() != selected) Items().Select(selected);
}

void QVcomboBoxControl::CloseListQuietly() {
    const ScopedFlag quiet(mQuiet, true);
    CloseList();
}

void QVcomboBoxControl::SelectQuietly(int32_t index) {
    const ScopedFlag quiet(mQuiet, true);
    Items().Select(index);
}

void QVcomboBoxControl::TakeItem(int32_t index) {
    const ScopedFlag noListClick(mNoListClick, true);
    Items().Select(index);
}

void QVcomboBoxControl::CaretToEnd() {
    ccText.SelStart(static_cast<int32_t>(ccText.Text().size()));
}

void QVcomboBoxControl::FocusText() {
    try {
        ccText.SetFocus();
    } catch (const RuntimeError&) {
        // Hidden or disabled: the focus stays where it is.
    }
}

void QVcomboBoxControl::RaiseItemFound() {
    RaiseEvent(u"ItemFound", events.ItemFound);
}

void QVcomboBoxControl::RaiseItemNotFound() {
    RaiseEvent(u"ItemNotFound", events.ItemNotFound);
}

void QVcomboBoxControl::ListClickHandling() {
    const int32_t selected = Items().Selected();
    if (selected >= 0 && !mQuiet) {
        const ScopedFlag fromList(mFromList, true);
        ccText.Text(TrimRightBlanks(Items().Text(selected)));
        CaretToEnd();
        RaiseItemFound();
        mUnchecked = false;
        Recolour();
    }
    if (!mNoListClick && !mQuiet) RaiseEvent(u"ListClick", events.ListClick);
}

// --- The lookup -----------------------------------------------------------------------------

void QVcomboBoxControl::StartQuery() {
    RunSteps([&] {
        if (static_cast<int64_t>(SearchText().size()) >= mMinLen) RunQuery();
    });
}

void QVcomboBoxControl::RunQuery() {
    if (IsDatabaseMode())
        RunDatabaseQuery();
    else
        RunPlainQuery();
}

void QVcomboBoxControl::RunPlainQuery() {
    const auto notFound = [&] {
        Recolour();
        RaiseItemNotFound();
    };
    if (Items().Count() == 0) return notFound();
    const String s = SearchText();
    const int32_t idx = Items().FindPrefix(s, 0);
    if (idx < 0) return notFound();
    const auto found = [&] {
        TakeItem(idx);
        CaretToEnd();
        Recolour();
        RaiseItemFound();
    };
    const String& item = Items().Text(idx);
    if (EqualsFolded(TrimRightBlanks(item), s)) return found();
    // The text the item and the search text share; the item is the one candidate when no other
    // item begins with it (the search examines item idx last).
    const String upper = UpperCase(s), itemUpper = UpperCase(item);
    const size_t m = std::min(upper.size(), itemUpper.size());
    size_t c = 0;
    while (c < m && upper[c] == itemUpper[c]) ++c;
    if (Items().FindPrefix(StringView(s).substr(0, c), idx) == idx) return found();
    DropList();
    SelectQuietly(idx);
}

Variant QVcomboBoxControl::FindItem(const Variant& SearchValue, SearchItemEnum SearchItem,
                                    MatchModeEnum MatchMode) const {
    try {
        if (SearchItem == SearchItemEnum::SearchItemData) {
            const int32_t data = SearchValue.ToLong();
            for (int32_t i = 0; i < Items().Count(); ++i)
                if (Items().Data(i) == data) return i;
            return int32_t{-1};
        }
        const String text = SearchValue.ToString();
        return MatchMode == MatchModeEnum::Partial ? Items().FindPrefix(text, 0)
                                                   : Items().FindExact(text, 0);
    } catch (const RuntimeError&) {
        return int32_t{-1};
    }
}

void QVcomboBoxControl::CompleteNow() {
    if (!RunMode()) return;
    RunSteps([&] {
        if (Items().Selected() >= 0 && ccCombo.Dropped()) {
            CloseList();
            Timer1_Timer();
        } else if (Items().Selected() < 0 && !TrimBlanks(ccText.Text()).empty()) {
            StartQuery();
        }
    });
}

// --- Keys -----------------------------------------------------------------------------------

void QVcomboBoxControl::ccText_KeyDown(int16_t& KeyCode, int16_t& Shift) {
    RaiseEvent(u"KeyDown", events.KeyDown, KeyCode, Shift);
    const int32_t selected = Items().Selected();
    if (IsDropDownStyle()) {
        if (KeyCode == Key::Down && selected < Items().Count() - 1)
            Items().Select(selected + 1);
        else if (KeyCode == Key::Up && selected > 0)
            Items().Select(selected - 1);
        else if (KeyCode == Key::Return)
            ccCombo.Dropped() ? CloseList() : DropList();
        KeyCode = 0;
        if (mSelectedOnGotFocus)
            SelectAll(ccText);
        else
            CaretToEnd();
        return;
    }
    if (!ccCombo.Dropped()) {
        if (KeyCode == Key::Return && Shift == 0 &&
            static_cast<int64_t>(SearchText().size()) >= mMinLen) {
            RunQuery();
            KeyCode = 0;
            if (!IsDatabaseMode() && Items().Selected() < 0 && Items().Count() > 0 &&
                !ccCombo.Dropped())
                DropList();
        }
        return;
    }
    if (Shift != 0) return;
    if ((KeyCode == Key::Up && selected > 0) ||
        (KeyCode == Key::Down && selected < Items().Count() - 1)) {
        SelectQuietly(selected + (KeyCode == Key::Up ? -1 : 1));
        {
            const ScopedFlag noListClick(mNoListClick, true);
            ListClickHandling();
        }
        mFromList = true;
        KeyCode = 0;
    } else if (KeyCode == Key::Return) {
        // Enter chooses the marked item; it does not reach the form's default button.
        ListClickHandling();
        CloseListQuietly();
        CaretToEnd();
        Recolour();
        KeyCode = 0;
    }
}

void QVcomboBoxControl::ccText_KeyPress(int16_t& KeyAscii) {
    RaiseEvent(u"KeyPress", events.KeyPress, KeyAscii);
    if (KeyAscii != 0 && mForbiddenCharacters.find(CharOf(KeyAscii)) != String::npos) KeyAscii = 0;
    if (IsDropDownStyle()) {
        // Printable characters choose the next item with that initial; nothing is typed.
        // KeyAscii holds a 16-bit unit: from U+8000 on it reads negative.
        if (Items().Count() > 0 && CharOf(KeyAscii) >= 32) {
            const char16_t typed[] = {CharOf(KeyAscii), 0};
            const StringView initial(typed, 1);
            const int32_t selected = Items().Selected();
            const String& item = Items().Text(selected);
            const bool sameInitial = selected >= 0 && !item.empty() &&
                                     EqualsFolded(StringView(item).substr(0, 1), initial);
            const int32_t idx = Items().FindPrefix(initial, sameInitial ? selected : 0);
            if (idx >= 0 && idx < Items().Count()) {
                Items().Select(idx);
                if (mSelectedOnGotFocus) SelectAll(ccText);
            }
        }
        KeyAscii = 0;
    }
    RaiseEvent(u"KeyPress", events.KeyPress, KeyAscii);
}

void QVcomboBoxControl::ccText_KeyUp(int16_t& KeyCode, int16_t& Shift) {
    RaiseEvent(u"KeyUp", events.KeyUp, KeyCode, Shift);
    const auto escape = [&] {
        const ScopedFlag quiet(mQuiet, true);
        CloseList();
        Items().Select(-1);
        Recolour();
    };
    if (IsDropDownStyle()) {
        if (ccCombo.Dropped() && KeyCode == Key::Escape && Shift == 0) escape();
        KeyCode = 0;
        return;
    }
    const ScopedFlag noChangeEvent(mNoChangeEvent, true);
    if (ccCombo.Dropped() && mFromList) CaretToEnd();
    if (ccCombo.Dropped() && !mFromList) {
        if (KeyCode == Key::Escape && Shift == 0) {
            escape();
        } else {
            // The longest typed prefix that an item begins with stays, and that item is marked.
            String t = ccText.Text();
            int32_t idx = -1;
            {
                const ScopedFlag quiet(mQuiet, true);
                while (!t.empty() && (idx = Items().FindPrefix(t, 0)) < 0) t.pop_back();
            }
            if (idx < 0) {
                if (!ccText.Text().empty()) ccText.Text(String());
            } else {
                TakeItem(idx);
                if (ccText.Text() != t) {
                    ccText.Text(t);
                    CaretToEnd();
                }
            }
        }
    }
    mFromList = false;
}

void QVcomboBoxControl::ccText_Change() {
    if (IsDatabaseMode() || !mDropDownStyle) {
        if (!ccCombo.Dropped()) {
            if (!mFromList && Items().Selected() >= 0) {
                const ScopedFlag quiet(mQuiet, true), noListClick(mNoListClick, true);
                Items().Select(-1);
            }
            Recolour();
        }
        mUnchecked = true;
        UpdateButtonsEnabled();
    }
    if (ccText.Enabled() && !mNoChangeEvent) RaiseEvent(u"Change", events.Change);
}

// --- Focus ----------------------------------------------------------------------------------

void QVcomboBoxControl::UserControl_EnterFocus() {
    RunSteps([&] {
        if (IsDropDownStyle() && Items().Selected() < 0 && Items().Count() > 0) Items().Select(0);
        mFocusTime = GetHost().Timer();
        mLastTick.reset();
        mHasFocus = true;
        Recolour();
        FocusText();
        if (mSelectedOnGotFocus && !mKeepCaret)
            SelectAll(ccText);
        else
            CaretToEnd();
        mKeepCaret = false;
        mUnchecked = false;
    });
}

void QVcomboBoxControl::UserControl_ExitFocus() {
    RunSteps([&] {
        if (ccCombo.Dropped()) {
            // The list closes in any case: a dropped list without a choice would stay open over
            // the form after the focus has gone.
            if (Items().Selected() >= 0) ListClickHandling();
            CloseListQuietly();
            Timer1.Enabled(false);
            mHasFocus = false;
            Recolour();
            return;
        }
        if (mMustFitDataList && mUnchecked && !SearchText().empty() && ccButton[0]->Enabled()) {
            RunQuery();
            if (ccCombo.Dropped()) {
                // Several candidates: the user is to choose one before leaving.
                FocusText();
                mKeepCaret = true;
                CaretToEnd();
                return;
            }
        }
        mHasFocus = false;
        Recolour();
    });
}

// --- The timer ------------------------------------------------------------------------------

void QVcomboBoxControl::Timer1_Timer() {
    mLastTick = GetHost().Timer();
    if (ccCombo.Dropped()) return;
    Timer1.Enabled(false);
    if (mHasFocus) FocusText();
    const int32_t selected = Items().Selected();
    if (Items().Count() > 0 && selected >= 0 &&
        TrimRightBlanks(ccText.Text()) != TrimRightBlanks(Items().Text(selected)))
        ListClickHandling();
    if (!IsDatabaseMode() && mSelectedOnGotFocus && mDropDownStyle)
        SelectAll(ccText);
    else
        CaretToEnd();
    Recolour();
}

bool QVcomboBoxControl::TickedRecently() const {
    // No tick since the focus came: nothing was closed by this click.
    return mLastTick && Global::SecondsSince(*mLastTick, GetHost().Timer()) <= 0.3f;
}

// --- Mouse on the field ---------------------------------------------------------------------

void QVcomboBoxControl::ccText_MouseUp(int16_t& Button, int16_t& Shift, float& X, float& Y) {
    if (Global::SecondsSince(mFocusTime, GetHost().Timer()) < 0.5f) SelectAll(ccText);
    RaiseEvent(u"MouseUp", events.MouseUp, Button, Shift, X, Y);
}

}  // namespace qv
