#include "hosts/headless/HeadlessWidgets.h"

#include <cmath>
#include <cstdlib>
#include <stdexcept>

#include "hosts/headless/HeadlessHost.h"
#include "hosts/headless/TextMetrics.h"
#include "library/RuntimeError.h"

namespace qv::headless {

namespace {

constexpr Color kButtonText = 0x80000012;

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}
bool IsBlankOrBreak(char16_t c) {
    return IsBlank(c) || c == u'\r' || c == u'\n';
}
bool IsHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

bool EqualsNoCase(StringView a, StringView b) {
    auto upper = [](char16_t c) -> char16_t { return c >= u'a' && c <= u'z' ? c - 32 : c; };
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (upper(a[i]) != upper(b[i])) return false;
    return true;
}

int32_t Length(const String& s) {
    return static_cast<int32_t>(s.size());
}

}  // namespace

// --- HeadlessWidget --------------------------------------------------------------------------

HeadlessWidget::HeadlessWidget(Container& container, Site* site, String name, int16_t index,
                               Color back, Color fore)
    : container_(container),
      site_(site),
      name_(std::move(name)),
      index_(index),
      backColor_(back),
      foreColor_(fore) {
    font_.emplace();
}

HeadlessWidget::~HeadlessWidget() {
    if (container_.focusedWidget_ == this) container_.focusedWidget_ = nullptr;
}

bool HeadlessWidget::HasFocus() const {
    return container_.focusedWidget_ == this;
}

bool HeadlessWidget::Contains(float x, float y) const {
    return x >= static_cast<float>(left_) && x < static_cast<float>(left_ + width_) &&
           y >= static_cast<float>(top_) && y < static_cast<float>(top_ + height_);
}

float HeadlessWidget::TwipsPerPixelX() const {
    return container_.tppX_;
}
float HeadlessWidget::TwipsPerPixelY() const {
    return container_.tppY_;
}
void HeadlessWidget::Beep() const {
    ++container_.beeps_;
}

void HeadlessWidget::CheckSize(int32_t v) const {
    if (v < 0) Raise(err::InvalidPropertyValue);
}

void HeadlessWidget::CheckMousePointer(int16_t v) {
    if ((v < 0 || v > 15) && v != 99) Raise(err::InvalidPropertyValue);
}

void HeadlessWidget::AvailabilityChanged() {
    container_.WidgetAvailabilityChanged(*this);
}
void HeadlessWidget::TakeFocus() {
    container_.FocusWidget(*this);
}

// --- HeadlessTextField -----------------------------------------------------------------------

HeadlessTextField::HeadlessTextField(Container& container, Site* site, String name, int16_t index,
                                     const TextFieldSettings& settings)
    : WidgetBase(container, site, std::move(name), index, SystemColor::WindowBackground,
                 SystemColor::WindowText),
      settings_(settings) {
    height_ = AdjustHeight(0);
}

void HeadlessTextField::Text(const String& v) {
    undo_.reset();
    typingRun_ = false;
    SetTextAndNotify(v, 0, 0);
}

int32_t HeadlessTextField::SelStart() const {
    return std::min(anchor_, caret_);
}
int32_t HeadlessTextField::SelLength() const {
    return std::abs(caret_ - anchor_);
}
String HeadlessTextField::SelText() const {
    return text_.substr(static_cast<size_t>(SelStart()), static_cast<size_t>(SelLength()));
}

void HeadlessTextField::SelStart(int32_t v) {
    if (v < 0) Raise(err::InvalidPropertyValue);
    typingRun_ = false;
    anchor_ = caret_ = std::min(v, Length(text_));
}

void HeadlessTextField::SelLength(int32_t v) {
    if (v < 0) Raise(err::InvalidPropertyValue);
    typingRun_ = false;
    const int32_t start = SelStart();
    anchor_ = start;
    caret_ = start + std::min(v, Length(text_) - start);
}

void HeadlessTextField::SelText(const String& v) {
    undo_.reset();
    typingRun_ = false;
    const int32_t start = SelStart();
    String text = text_.substr(0, static_cast<size_t>(start)) + v +
                  text_.substr(static_cast<size_t>(SelEnd()));
    const int32_t caret = start + Length(v);
    SetTextAndNotify(std::move(text), caret, caret);
}

void HeadlessTextField::MaxLength(int32_t v) {
    if (v < 0) Raise(err::InvalidPropertyValue);
    maxLength_ = v;
}

void HeadlessTextField::PasswordChar(const String& v) {
    if (v.size() > 1) Raise(err::InvalidPropertyValue);
    passwordChar_ = v;
}

void HeadlessTextField::SetTextAndNotify(String text, int32_t anchor, int32_t caret) {
    const bool changed = text != text_;
    text_ = std::move(text);
    anchor_ = anchor;
    caret_ = caret;
    if (!changed) return;
    ++changeCount_;
    if (auto change = notices.Change) change();
}

void HeadlessTextField::ReplaceSelection(const String& with, bool typing) {
    if (!(typing && typingRun_ && undo_)) undo_ = Snapshot{text_, anchor_, caret_};
    const int32_t start = SelStart();
    String text = text_.substr(0, static_cast<size_t>(start)) + with +
                  text_.substr(static_cast<size_t>(SelEnd()));
    const int32_t caret = start + Length(with);
    typingRun_ = typing;
    SetTextAndNotify(std::move(text), caret, caret);
}

bool HeadlessTextField::InsertWithinMaxLength(const String& s, bool typing) {
    if (locked_) return false;
    if (maxLength_ > 0 && Length(text_) - SelLength() + Length(s) > maxLength_) {
        Beep();
        return false;
    }
    ReplaceSelection(s, typing);
    return true;
}

bool HeadlessTextField::InsertTyped(char16_t c) {
    return InsertWithinMaxLength(String(1, c), true);
}

void HeadlessTextField::Enter() {
    if (settings_.multiLine) InsertWithinMaxLength(u"\r\n", true);
}

void HeadlessTextField::Backspace() {
    if (locked_) return;
    if (anchor_ == caret_) {
        if (caret_ == 0) return;
        anchor_ = StepLeft(caret_);
    }
    ReplaceSelection({}, false);
}

void HeadlessTextField::Delete() {
    if (locked_) return;
    if (anchor_ == caret_) {
        if (caret_ == Length(text_)) return;
        anchor_ = StepRight(caret_);
    }
    ReplaceSelection({}, false);
}

void HeadlessTextField::Copy() {
    if (!passwordChar_.empty() || anchor_ == caret_) return;
    container_.clipboard_ = SelText();
}

void HeadlessTextField::Cut() {
    if (!passwordChar_.empty() || locked_ || anchor_ == caret_) return;
    container_.clipboard_ = SelText();
    ReplaceSelection({}, false);
}

void HeadlessTextField::Paste() {
    if (locked_) return;
    String clip = container_.clipboard_;
    if (!settings_.multiLine) clip = clip.substr(0, clip.find_first_of(u"\r\n"));
    if (clip.empty()) return;
    if (maxLength_ > 0) {
        const int32_t room = std::max(0, maxLength_ - (Length(text_) - SelLength()));
        if (Length(clip) > room) {
            Beep();
            clip.resize(static_cast<size_t>(room));
            if (!clip.empty() && IsHighSurrogate(clip.back())) clip.pop_back();
            if (clip.empty()) return;
        }
    }
    ReplaceSelection(clip, false);
}

void HeadlessTextField::Undo() {
    if (locked_ || !undo_) return;
    Snapshot previous = std::move(*undo_);
    undo_ = Snapshot{text_, anchor_, caret_};
    typingRun_ = false;
    SetTextAndNotify(std::move(previous.text), previous.anchor, previous.caret);
}

std::vector<HeadlessTextField::Line> HeadlessTextField::Lines() const {
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

size_t HeadlessTextField::LineOf(int32_t pos, const std::vector<Line>& lines) const {
    size_t li = 0;
    while (li + 1 < lines.size() && lines[li + 1].start <= pos) ++li;
    return li;
}

int32_t HeadlessTextField::StepLeft(int32_t pos) const {
    if (pos <= 0) return 0;
    if (pos >= 2 && text_[pos - 2] == u'\r' && text_[pos - 1] == u'\n') return pos - 2;
    if (pos >= 2 && IsHighSurrogate(text_[pos - 2]) && !IsHighSurrogate(text_[pos - 1]) &&
        text_[pos - 1] >= 0xDC00 && text_[pos - 1] <= 0xDFFF)
        return pos - 2;
    return pos - 1;
}

int32_t HeadlessTextField::StepRight(int32_t pos) const {
    const int32_t n = Length(text_);
    if (pos >= n) return n;
    if (pos + 1 < n &&
        ((text_[pos] == u'\r' && text_[pos + 1] == u'\n') ||
         (IsHighSurrogate(text_[pos]) && text_[pos + 1] >= 0xDC00 && text_[pos + 1] <= 0xDFFF)))
        return pos + 2;
    return pos + 1;
}

int32_t HeadlessTextField::WordLeft(int32_t pos) const {
    while (pos > 0 && IsBlankOrBreak(text_[pos - 1])) --pos;
    while (pos > 0 && !IsBlankOrBreak(text_[pos - 1])) --pos;
    return pos;
}

int32_t HeadlessTextField::WordRight(int32_t pos) const {
    const int32_t n = Length(text_);
    while (pos < n && !IsBlankOrBreak(text_[pos])) ++pos;
    while (pos < n && IsBlankOrBreak(text_[pos])) ++pos;
    return pos;
}

void HeadlessTextField::MoveCaret(Move move, bool extend, bool ctrl) {
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
            if (!settings_.multiLine || ctrl) {
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
            if (!settings_.multiLine) return;
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

int32_t HeadlessTextField::PositionAt(float x, float y) const {
    const int32_t border = TextMetrics::BorderPixels(settings_);
    const float originX = static_cast<float>(border) * TwipsPerPixelX();
    const float originY = static_cast<float>(border) * TwipsPerPixelY();
    const auto lines = Lines();
    size_t li = 0;
    if (settings_.multiLine && y > originY) {
        const float lineHeight =
            static_cast<float>(TextMetrics::LineHeight(*font_, TwipsPerPixelY()));
        li = std::min(static_cast<size_t>((y - originY) / lineHeight), lines.size() - 1);
    }
    const Line& line = lines[li];
    int32_t best = line.start;
    float bestDistance = std::fabs(x - originX);
    for (int32_t i = line.start + 1; i <= line.end; ++i) {
        if (IsHighSurrogate(text_[i - 1])) continue;
        const StringView prefix = StringView(text_).substr(line.start, i - line.start);
        const float boundary =
            originX + static_cast<float>(TextMetrics::TextWidth(*font_, prefix, TwipsPerPixelX()));
        const float distance = std::fabs(x - boundary);
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

void HeadlessTextField::ActOnKeyDown(int16_t keyCode, int16_t shift) {
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

void HeadlessTextField::ActOnKeyPress(int16_t keyAscii) {
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

void HeadlessTextField::ActOnMouseDown(int16_t button, int16_t shift, float x, float y) {
    if (!(button & MouseButton::Left)) return;
    typingRun_ = false;
    caret_ = PositionAt(x, y);
    if (!(shift & ShiftState::Shift)) anchor_ = caret_;
}

void HeadlessTextField::ActOnMouseMove(int16_t button, int16_t /*shift*/, float x, float y) {
    if (button & MouseButton::Left) caret_ = PositionAt(x, y);
}

void HeadlessTextField::ActOnDblClick(float x, float y) {
    typingRun_ = false;
    const int32_t pos = PositionAt(x, y);
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

int32_t HeadlessTextField::AdjustHeight(int32_t h) const {
    return std::max(h, TextMetrics::MinFieldHeight(*font_, settings_, TwipsPerPixelY()));
}

void HeadlessTextField::FontChanged() {
    height_ = AdjustHeight(height_);
}

// --- HeadlessLabel, HeadlessPictureSurface -----------------------------------------------------

HeadlessLabel::HeadlessLabel(Container& container, Site* site, String name, int16_t index,
                             const LabelSettings& settings)
    : WidgetBase(container, site, std::move(name), index, SystemColor::ButtonFace, kButtonText),
      settings_(settings) {}

HeadlessList::HeadlessList(Container& container, Site* site, String name, int16_t index,
                           const ListSettings& settings)
    : WidgetBase(container, site, std::move(name), index, SystemColor::WindowBackground,
                 SystemColor::WindowText),
      settings_(settings) {
    height_ = AdjustHeight(0);
}

int32_t HeadlessList::AdjustHeight(int32_t h) const {
    return settings_.dropDown ? TextMetrics::ListHeight(*font_, TwipsPerPixelY()) : h;
}

HeadlessPictureSurface::HeadlessPictureSurface(Container& container, Site* site, String name)
    : WidgetBase(container, site, std::move(name), -1, SystemColor::ButtonFace,
                 SystemColor::WindowText) {}

int32_t HeadlessPictureSurface::TextWidth(const String& text) const {
    return TextMetrics::TextWidth(*font_, text, TwipsPerPixelX());
}

int32_t HeadlessPictureSurface::TextHeight(const String& text) const {
    return TextMetrics::TextHeight(*font_, text, TwipsPerPixelY());
}

// --- HeadlessTimer ---------------------------------------------------------------------------

HeadlessTimer::HeadlessTimer(Container& container, String name)
    : container_(container), name_(std::move(name)), start_(container.RunningTime()) {
    container_.RegisterTimer(this);
}

HeadlessTimer::~HeadlessTimer() {
    container_.UnregisterTimer(this);
}

void HeadlessTimer::Interval(int32_t ms) {
    if (ms < 0) Raise(err::InvalidPropertyValue);
    interval_ = ms;
    Restart();
}

void HeadlessTimer::Enabled(bool v) {
    if (v && !enabled_) Restart();
    enabled_ = v;
}

void HeadlessTimer::Restart() {
    start_ = container_.RunningTime();
    ticks_ = 0;
}

std::optional<int64_t> HeadlessTimer::NextDue() const {
    if (!enabled_ || interval_ <= 0) return std::nullopt;
    return start_ + (ticks_ + 1) * static_cast<int64_t>(interval_) * 1000;
}

// --- WidgetStore -----------------------------------------------------------------------------

void WidgetStore::CheckNew(StringView name, int16_t index) const {
    if (Find(name, index) || (index < 0 && FindTimer(name)))
        throw std::logic_error("headless host: widget " + ToUtf8(name) + " (" +
                               std::to_string(index) + ") created twice");
}

TextField& WidgetStore::CreateTextField(const String& name, int16_t index,
                                        const TextFieldSettings& settings) {
    return Add<HeadlessTextField>(name, index, index, settings);
}

Label& WidgetStore::CreateLabel(const String& name, int16_t index, const LabelSettings& settings) {
    return Add<HeadlessLabel>(name, index, index, settings);
}

ListWidget& WidgetStore::CreateList(const String& name, int16_t index,
                                    const ListSettings& settings) {
    return Add<HeadlessList>(name, index, index, settings);
}

TimerWidget& WidgetStore::CreateTimer(const String& name) {
    CheckNew(name, -1);
    timers_.push_back(std::make_unique<HeadlessTimer>(container_, name));
    return *timers_.back();
}

PictureSurface& WidgetStore::CreatePictureSurface(const String& name) {
    return Add<HeadlessPictureSurface>(name, -1);
}

HeadlessWidget* WidgetStore::Find(StringView name, int16_t index) const {
    for (const auto& w : widgets_)
        if (w->AsWidget().Index() == index && EqualsNoCase(w->AsWidget().Name(), name))
            return w.get();
    return nullptr;
}

HeadlessTimer* WidgetStore::FindTimer(StringView name) const {
    for (const auto& t : timers_)
        if (EqualsNoCase(t->Name(), name)) return t.get();
    return nullptr;
}

}  // namespace qv::headless
