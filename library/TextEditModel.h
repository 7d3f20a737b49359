// The editing model of a text field: its text, selection and one undo step, and the edits a user
// makes with keys and the mouse. It knows no toolkit: the headless host keeps its fields in it,
// the Qt host shows it on Qt's editors, so both hosts edit exactly alike.
//
// Positions count 16-bit units. The caret is the moving end of the selection, the anchor the
// fixed one. A line break is "\r\n" (a lone "\r" or "\n" also ends a line); the caret steps over
// a "\r\n" pair and a surrogate pair as one character.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "library/String.h"

namespace qv {

class TextEditModel {
  public:
    // What an edit needs outside the model.
    class Environment {
      public:
        virtual void Beep() = 0;
        virtual String ClipboardText() = 0;
        virtual void ClipboardText(const String& text) = 0;
        // After every change of the text (never when an edit leaves it as it was).
        virtual void TextChanged() = 0;

      protected:
        ~Environment() = default;
    };

    TextEditModel(bool multiLine, Environment& env);
    TextEditModel(const TextEditModel&) = delete;
    TextEditModel& operator=(const TextEditModel&) = delete;

    // --- Property access (program writes: no undo step) ------------------------------------
    const String& Text() const { return text_; }
    void Text(const String& v);  // selection to the start
    int32_t SelStart() const;
    void SelStart(int32_t v);  // clamps to the end, empties the selection; negative: 380
    int32_t SelLength() const;
    void SelLength(int32_t v);  // clamps to the text; negative: 380
    String SelText() const;
    void SelText(const String& v);  // replaces the selection, caret after it
    bool Locked() const { return locked_; }
    void Locked(bool v) { locked_ = v; }
    int32_t MaxLength() const { return maxLength_; }
    void MaxLength(int32_t v);  // 0 no limit; negative: 380
    const String& PasswordChar() const { return passwordChar_; }
    void PasswordChar(const String& v);  // "" or one character, else 380
    bool MultiLine() const { return multiLine_; }

    int32_t Caret() const { return caret_; }
    int32_t Anchor() const { return anchor_; }
    bool CanUndo() const { return undo_.has_value(); }

    // --- For a view that shows the text ---------------------------------------------------
    // Counts the changes of the text. A view that showed revision r can follow to r + 1 by
    // applying LastEdit() instead of showing the whole text again.
    uint64_t Revision() const { return revision_; }
    struct Edit {
        int32_t start = 0;
        int32_t removed = 0;   // units that were at `start`
        int32_t inserted = 0;  // units now at `start` in their place
        bool whole = true;     // a Text write: the text was replaced as a whole
    };
    const Edit& LastEdit() const { return lastEdit_; }
    // Positions with every "\r\n" pair counted as one character, as an editor that keeps one
    // character per line break counts them; a position inside a pair counts after it. The pairs
    // are indexed on first use and the index kept up to date by every edit after that.
    int32_t CollapsedPosition(int32_t pos) const;
    int32_t ExpandedPosition(int32_t collapsed) const;

    // --- User edits -----------------------------------------------------------------------
    // The action of a key (key code and ShiftState bits): caret movement, Delete (Shift+Delete
    // cuts), Ctrl+Insert copies, Shift+Insert pastes. Alt combinations do nothing.
    void ActOnKeyDown(int16_t keyCode, int16_t shift);
    // The action of a character: Ctrl+C 3, Backspace 8, Enter 13, Ctrl+V 22, Ctrl+X 24, Ctrl+Z
    // 26; characters from 32 up (but 127) are typed in.
    void ActOnKeyPress(int16_t keyAscii);
    enum class Move { Left, Right, Home, End, Up, Down };
    void MoveCaret(Move move, bool extend, bool ctrl = false);
    // True when the character went in (Locked and MaxLength refuse it; MaxLength beeps).
    bool InsertTyped(char16_t c);
    void Backspace();
    void Delete();
    void Enter();  // a line break in a multi-line field, nothing in a single-line one
    void Copy();   // nothing to copy from a password field
    void Cut();
    void Paste();  // a single-line field pastes the first line; MaxLength cuts it short and beeps
    void Undo();   // swaps with the undo step: a second Undo redoes
    // Mouse: a press puts the caret (Shift extends the selection), a drag moves it, a double
    // click selects the word (or the run of blanks) at the position.
    void PressAt(int32_t pos, bool extend);
    void DragTo(int32_t pos);
    void SelectWordAt(int32_t pos);
    // A selection made outside the model (a toolkit's own mouse handling); clamped.
    void Select(int32_t anchor, int32_t caret);

    struct Line {
        int32_t start;
        int32_t end;  // before the line break
    };
    std::vector<Line> Lines() const;
    size_t LineOf(int32_t pos, const std::vector<Line>& lines) const;

  private:
    // Replacing the `length` units at `start` by `text` gives back the text as it was before the
    // step, with that selection. Only the edited span is kept, so an edit costs the same whatever
    // the length of the text.
    struct UndoStep {
        int32_t start;
        int32_t length;
        String text;
        int32_t anchor;
        int32_t caret;
    };

    // Replaces the selection by a user edit (recorded for undo) and reports a changed text.
    // `typing` merges a run of typed characters into one undo step.
    void ReplaceSelection(const String& with, bool typing);
    // Widens the typing run's undo step over the edit of [start, end) by `inserted` units.
    void ExtendUndo(int32_t start, int32_t end, int32_t inserted);
    // Replaces `removed` units at `start` in place, sets the selection, reports a change.
    void Splice(int32_t start, int32_t removed, const String& with, int32_t anchor, int32_t caret);
    void SetTextAndNotify(const String& text, int32_t anchor, int32_t caret);
    void IndexPairs() const;
    void UpdatePairs(int32_t start, int32_t removed, int32_t inserted);
    bool InsertWithinMaxLength(const String& s, bool typing);
    int32_t StepLeft(int32_t pos) const;
    int32_t StepRight(int32_t pos) const;
    int32_t WordLeft(int32_t pos) const;
    int32_t WordRight(int32_t pos) const;
    int32_t SelEnd() const { return std::max(anchor_, caret_); }
    int32_t Clamp(int32_t pos) const;

    bool multiLine_;
    Environment& env_;
    String text_;
    int32_t anchor_ = 0;
    int32_t caret_ = 0;
    bool locked_ = false;
    int32_t maxLength_ = 0;
    String passwordChar_;
    std::optional<UndoStep> undo_;
    bool typingRun_ = false;  // the undo step holds a run of typed characters ending at the caret
    uint64_t revision_ = 0;
    Edit lastEdit_;
    mutable std::vector<int32_t> pairs_;  // where each "\r\n" starts, ascending
    mutable bool pairsIndexed_ = false;
};

}  // namespace qv
