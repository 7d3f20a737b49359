#include "library/TextEditModel.h"

#include <algorithm>
#include <cstdlib>

#include "library/Keyboard.h"
#include "library/RuntimeError.h"
#include "library/Widgets.h"

namespace qv {

namespace {

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}
bool IsBlankOrBreak(char16_t c) {
    return IsBlank(c) || c == u'\r' || c == u'\n';
}
int32_t Length(const String& s) {
    return static_cast<int32_t>(s.size());
}

}  // namespace

TextEditModel::TextEditModel(bool multiLine, Environment& env) : multiLine_(multiLine), env_(env) {}

void TextEditModel::Text(const String& v) {
    undo_.reset();
    typingRun_ = false;
    SetTextAndNotify(v, 0, 0);
}

int32_t TextEditModel::SelStart() const {
    return std::min(anchor_, caret_);
}
int32_t TextEditModel::SelLength() const {
    return std::abs(caret_ - anchor_);
}
String TextEditModel::SelText() const {
    return text_.substr(static_cast<size_t>(SelStart()), static_cast<size_t>(SelLength()));
}

void TextEditModel::SelStart(int32_t v) {
    if (v < 0) Raise(err::InvalidPropertyValue);
    typingRun_ = false;
    anchor_ = caret_ = std::min(v, Length(text_));
}

void TextEditModel::SelLength(int32_t v) {
    if (v < 0) Raise(err::InvalidPropertyValue);
    typingRun_ = false;
    const int32_t start = SelStart();
    anchor_ = start;
    caret_ = start + std::min(v, Length(text_) - start);
}

void TextEditModel::SelText(const String& v) {
    undo_.reset();
    typingRun_ = false;
    const int32_t start = SelStart();
    const int32_t caret = start + Length(v);
    Splice(start, SelEnd() - start, v, caret, caret);
}

void TextEditModel::MaxLength(int32_t v) {
    if (v < 0) Raise(err::InvalidPropertyValue);
    maxLength_ = v;
}

void TextEditModel::PasswordChar(const String& v) {
    if (v.size() > 1) Raise(err::InvalidPropertyValue);
    passwordChar_ = v;
}

void TextEditModel::SetTextAndNotify(const String& text, int32_t anchor, int32_t caret) {
    const bool changed = text != text_;
    text_.assign(text);  // keeps the buffer that typing has grown
    anchor_ = anchor;
    caret_ = caret;
    if (!changed) return;
    ++revision_;
    lastEdit_ = Edit{};
    pairsIndexed_ = false;
    pairs_.clear();
    env_.TextChanged();
}

void TextEditModel::Splice(int32_t start, int32_t removed, const String& with, int32_t anchor,
                           int32_t caret) {
    const auto at = static_cast<size_t>(start);
    const bool changed = removed != Length(with) || text_.compare(at, removed, with) != 0;
    const auto inserted = Length(with);
    text_.replace(at, static_cast<size_t>(removed), with);
    anchor_ = anchor;
    caret_ = caret;
    if (!changed) return;
    ++revision_;
    lastEdit_ = Edit{start, removed, inserted, false};
    if (pairsIndexed_) UpdatePairs(start, removed, inserted);
    env_.TextChanged();
}

void TextEditModel::ExtendUndo(int32_t start, int32_t end, int32_t inserted) {
    UndoStep& step = *undo_;
    // The span the step restores grows to cover the edit; text around the step's span has not
    // changed since the step began, so it is taken from the text as it is now.
    const int32_t stepEnd = step.start + step.length;
    const int32_t from = std::min(step.start, start), to = std::max(stepEnd, end);
    if (from < step.start || to > stepEnd) {
        step.text =
            text_.substr(static_cast<size_t>(from), static_cast<size_t>(step.start - from)) +
            step.text +
            text_.substr(static_cast<size_t>(stepEnd), static_cast<size_t>(to - stepEnd));
        step.start = from;
    }
    step.length = to - from - (end - start) + inserted;
}

void TextEditModel::ReplaceSelection(const String& with, bool typing) {
    const int32_t start = SelStart(), end = SelEnd();
    if (typing && typingRun_ && undo_)
        ExtendUndo(start, end, Length(with));
    else
        undo_ = UndoStep{start, Length(with),
                         text_.substr(static_cast<size_t>(start), static_cast<size_t>(end - start)),
                         anchor_, caret_};
    const int32_t caret = start + Length(with);
    typingRun_ = typing;
    Splice(start, end - start, with, caret, caret);
}

bool TextEditModel::InsertWithinMaxLength(const String& s, bool typing) {
    if (locked_) return false;
    if (maxLength_ > 0 && Length(text_) - SelLength() + Length(s) > maxLength_) {
        env_.Beep();
        return false;
    }
    ReplaceSelection(s, typing);
    return true;
}

bool TextEditModel::InsertTyped(char16_t c) {
    return InsertWithinMaxLength(String(1, c), true);
}

void TextEditModel::Enter() {
    if (multiLine_) InsertWithinMaxLength(u"\r\n", true);
}

void TextEditModel::Backspace() {
    if (locked_) return;
    if (anchor_ == caret_) {
        if (caret_ == 0) return;
        anchor_ = StepLeft(caret_);
    }
    ReplaceSelection({}, false);
}

void TextEditModel::Delete() {
    if (locked_) return;
    if (anchor_ == caret_) {
        if (caret_ == Length(text_)) return;
        anchor_ = StepRight(caret_);
    }
    ReplaceSelection({}, false);
}

void TextEditModel::Copy() {
    if (!passwordChar_.empty() || anchor_ == caret_) return;
    env_.ClipboardText(SelText());
}

void TextEditModel::Cut() {
    if (!passwordChar_.empty() || locked_ || anchor_ == caret_) return;
    env_.ClipboardText(SelText());
    ReplaceSelection({}, false);
}

void TextEditModel::Paste() {
    if (locked_) return;
    String clip = env_.ClipboardText();
    if (!multiLine_) clip = clip.substr(0, clip.find_first_of(u"\r\n"));
    if (clip.empty()) return;
    if (maxLength_ > 0) {
        const int32_t room = std::max(0, maxLength_ - (Length(text_) - SelLength()));
        if (Length(clip) > room) {
            env_.Beep();
            clip.resize(static_cast<size_t>(room));
            if (!clip.empty() && IsHighSurrogate(clip.back())) clip.pop_back();
            if (clip.empty()) return;
        }
    }
    ReplaceSelection(clip, false);
}

void TextEditModel::Undo() {
    if (locked_ || !undo_) return;
    UndoStep step = std::move(*undo_);
    // The step that redoes: the span as it is now, back over the span the undo puts in.
    undo_ =
        UndoStep{step.start, Length(step.text),
                 text_.substr(static_cast<size_t>(step.start), static_cast<size_t>(step.length)),
                 anchor_, caret_};
    typingRun_ = false;
    Splice(step.start, step.length, step.text, step.anchor, step.caret);
}

void TextEditModel::IndexPairs() const {
    pairs_.clear();
    for (size_t i = 0; i + 1 < text_.size(); ++i)
        if (text_[i] == u'\r' && text_[i + 1] == u'\n') pairs_.push_back(static_cast<int32_t>(i++));
    pairsIndexed_ = true;
}

void TextEditModel::UpdatePairs(int32_t start, int32_t removed, int32_t inserted) {
    // Pairs in the replaced span, or one whose "\r" stood just before it, are gone; the pairs
    // after it move. New pairs can only start from the unit before the span to its last unit.
    auto first = std::lower_bound(pairs_.begin(), pairs_.end(), start - 1);
    auto last = std::lower_bound(first, pairs_.end(), start + removed);
    for (auto it = last; it != pairs_.end(); ++it) *it += inserted - removed;
    first = pairs_.erase(first, last);
    std::vector<int32_t> made;
    const int32_t n = Length(text_);
    for (int32_t i = std::max(0, start - 1); i < start + inserted && i + 1 < n; ++i)
        if (text_[i] == u'\r' && text_[i + 1] == u'\n') made.push_back(i++);
    pairs_.insert(first, made.begin(), made.end());
}

int32_t TextEditModel::CollapsedPosition(int32_t pos) const {
    if (!pairsIndexed_) IndexPairs();
    pos = Clamp(pos);
    // Pairs wholly before the position count one unit less; a position between a pair's "\r"
    // and "\n" lands after the pair.
    const auto before = std::lower_bound(pairs_.begin(), pairs_.end(), pos - 1) - pairs_.begin();
    return pos - static_cast<int32_t>(before);
}

int32_t TextEditModel::ExpandedPosition(int32_t collapsed) const {
    if (!pairsIndexed_) IndexPairs();
    if (collapsed <= 0) return 0;
    // Pair j stands at collapsed position pairs_[j] - j; those before `collapsed` add a unit each.
    size_t lo = 0, hi = pairs_.size();
    while (lo < hi) {
        const size_t mid = (lo + hi) / 2;
        if (pairs_[mid] - static_cast<int32_t>(mid) < collapsed)
            lo = mid + 1;
        else
            hi = mid;
    }
    return std::min(Length(text_), collapsed + static_cast<int32_t>(lo));
}

std::vector<TextEditModel::Line> TextEditModel::Lines() const {
    std::vector<Line> lines;
    int32_t start = 0;
    const int32_t n = Length(text_);
    for (int32_t i = 0; i < n; ++i) {
        if (text_[i] != u'\r' && text_[i] != u'\n') continue;
        lines.push_back({start, i});
        if (text_[i] == u'\r' && i + 1 < n && text_[i + 1] == u'\n') ++i;
        start = i + 1;
    }
    lines.push_back({start, n});
    return lines;
}

size_t TextEditModel::LineOf(int32_t pos, const std::vector<Line>& lines) const {
    size_t li = 0;
    while (li + 1 < lines.size() && lines[li + 1].start <= pos) ++li;
    return li;
}

int32_t TextEditModel::StepLeft(int32_t pos) const {
    if (pos <= 0) return 0;
    if (pos >= 2 && text_[pos - 2] == u'\r' && text_[pos - 1] == u'\n') return pos - 2;
    if (pos >= 2 && IsHighSurrogate(text_[pos - 2]) && !IsHighSurrogate(text_[pos - 1]) &&
        text_[pos - 1] >= 0xDC00 && text_[pos - 1] <= 0xDFFF)
        return pos - 2;
    return pos - 1;
}

int32_t TextEditModel::StepRight(int32_t pos) const {
    const int32_t n = Length(text_);
    if (pos >= n) return n;
    if (pos + 1 < n &&
        ((text_[pos] == u'\r' && text_[pos + 1] == u'\n') ||
         (IsHighSurrogate(text_[pos]) && text_[pos + 1] >= 0xDC00 && text_[pos + 1] <= 0xDFFF)))
        return pos + 2;
    return pos + 1;
}

int32_t TextEditModel::WordLeft(int32_t pos) const {
    while (pos > 0 && IsBlankOrBreak(text_[pos - 1])) --pos;
    while (pos > 0 && !IsBlankOrBreak(text_[pos - 1])) --pos;
    return pos;
}

int32_t TextEditModel::WordRight(int32_t pos) const {
    const int32_t n = Length(text_);
    while (pos < n && !IsBlankOrBreak(text_[pos])) ++pos;
    while (pos < n && IsBlankOrBreak(text_[pos])) ++pos;
    return pos;
}

void TextEditModel::MoveCaret(Move move, bool extend, bool ctrl) {
    typingRun_ = false;
    int32_t pos = caret_;
    const bool selected = anchor_ != caret_;
    switch (move) {
        case Move::Left:
            pos = (selected && !extend && !ctrl) ? SelStart()
                  : ctrl                         ? WordLeft(caret_)
                                                 : StepLeft(caret_);
            break;
        case Move::Right:
            pos = (selected && !extend && !ctrl) ? SelEnd()
                  : ctrl                         ? WordRight(caret_)
                                                 : StepRight(caret_);
            break;
        case Move::Home:
        case Move::End: {
            if (!multiLine_ || ctrl) {
                pos = move == Move::Home ? 0 : Length(text_);
                break;
            }
            const auto lines = Lines();
            const Line& line = lines[LineOf(caret_, lines)];
            pos = move == Move::Home ? line.start : line.end;
            break;
        }
        case Move::Up:
        case Move::Down: {
            if (!multiLine_) return;
            const auto lines = Lines();
            const size_t li = LineOf(caret_, lines);
            const int32_t column = caret_ - lines[li].start;
            if (move == Move::Up ? li == 0 : li + 1 == lines.size()) break;
            const Line& target = lines[move == Move::Up ? li - 1 : li + 1];
            pos = std::min(target.start + column, target.end);
            break;
        }
    }
    caret_ = pos;
    if (!extend) anchor_ = pos;
}

void TextEditModel::ActOnKeyDown(int16_t keyCode, int16_t shift) {
    if (shift & ShiftState::Alt) return;
    const bool extend = (shift & ShiftState::Shift) != 0;
    const bool ctrl = (shift & ShiftState::Ctrl) != 0;
    switch (keyCode) {
        case Key::Left:
            MoveCaret(Move::Left, extend, ctrl);
            break;
        case Key::Right:
            MoveCaret(Move::Right, extend, ctrl);
            break;
        case Key::Home:
            MoveCaret(Move::Home, extend, ctrl);
            break;
        case Key::End:
            MoveCaret(Move::End, extend, ctrl);
            break;
        case Key::Up:
            MoveCaret(Move::Up, extend, ctrl);
            break;
        case Key::Down:
            MoveCaret(Move::Down, extend, ctrl);
            break;
        case Key::Delete:
            if (extend)
                Cut();
            else
                Delete();
            break;
        case Key::Insert:
            if (extend)
                Paste();
            else if (ctrl)
                Copy();
            break;
        default:
            break;
    }
}

void TextEditModel::ActOnKeyPress(int16_t keyAscii) {
    const auto c = static_cast<char16_t>(static_cast<uint16_t>(keyAscii));
    switch (c) {
        case 3:
            Copy();
            break;
        case 8:
            Backspace();
            break;
        case 13:
            Enter();
            break;
        case 22:
            Paste();
            break;
        case 24:
            Cut();
            break;
        case 26:
            Undo();
            break;
        default:
            if (c >= 32 && c != 127) InsertTyped(c);
            break;
    }
}

void TextEditModel::PressAt(int32_t pos, bool extend) {
    typingRun_ = false;
    caret_ = Clamp(pos);
    if (!extend) anchor_ = caret_;
}

void TextEditModel::DragTo(int32_t pos) {
    caret_ = Clamp(pos);
}

void TextEditModel::Select(int32_t anchor, int32_t caret) {
    if (anchor == anchor_ && caret == caret_) return;
    typingRun_ = false;
    anchor_ = Clamp(anchor);
    caret_ = Clamp(caret);
}

int32_t TextEditModel::Clamp(int32_t pos) const {
    return std::clamp(pos, 0, Length(text_));
}

void TextEditModel::SelectWordAt(int32_t pos) {
    typingRun_ = false;
    pos = Clamp(pos);
    const auto lines = Lines();
    const Line& line = lines[LineOf(pos, lines)];
    anchor_ = caret_ = pos;
    if (line.start == line.end) return;
    const int32_t at = pos < line.end ? pos : pos - 1;
    const bool blank = IsBlank(text_[at]);
    int32_t from = at, to = at + 1;
    while (from > line.start && IsBlank(text_[from - 1]) == blank) --from;
    while (to < line.end && IsBlank(text_[to]) == blank) ++to;
    anchor_ = from;
    caret_ = to;
}

}  // namespace qv
