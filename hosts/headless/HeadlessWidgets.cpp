#include "hosts/headless/HeadlessWidgets.h"

#include <cmath>
#include <cstdlib>
#include <stdexcept>

#include "hosts/headless/HeadlessHost.h"
#include "hosts/headless/TextMetrics.h"
#include "library/RuntimeError.h"

namespace qv::headless {

// --- HeadlessWidget --------------------------------------------------------------------------

const String HeadlessWidget::kNoText;

HeadlessWidget::HeadlessWidget(Container& container, Site* site, String name, int16_t index,
                               Color back, Color fore)
    : container_(container),
      site_(site),
      name_(&container.InternName(std::move(name))),
      index_(index),
      backColor_(back),
      foreColor_(fore),
      font_(container.ShareFont(Font())) {}

HeadlessWidget::~HeadlessWidget() {
    if (container_.focusedWidget_ == this) container_.focusedWidget_ = nullptr;
}

bool HeadlessWidget::HasFocus() const {
    return container_.focusedWidget_ == this;
}

bool HeadlessWidget::Contains(float x, float y) const {
    // In 64 bits: a widget far right or down may end beyond the 32-bit range.
    const auto right = static_cast<double>(int64_t{left_} + width_);
    const auto bottom = static_cast<double>(int64_t{top_} + height_);
    return x >= static_cast<double>(left_) && x < right && y >= static_cast<double>(top_) &&
           y < bottom;
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

std::shared_ptr<const Font> HeadlessWidget::ShareFont(const Font& f) const {
    return container_.ShareFont(f);
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
      settings_(settings),
      model_(settings.multiLine, *this) {
    height_ = AdjustHeight(0);
}

String HeadlessTextField::ClipboardText() {
    return container_.clipboard_;
}
void HeadlessTextField::ClipboardText(const String& text) {
    container_.clipboard_ = text;
}
void HeadlessTextField::TextChanged() {
    ++changeCount_;
    NotifyChange();
}

int32_t HeadlessTextField::PositionAt(float x, float y) const {
    const int32_t border = TextMetrics::BorderPixels(settings_);
    const float originX = static_cast<float>(border) * TwipsPerPixelX();
    const float originY = static_cast<float>(border) * TwipsPerPixelY();
    const String& text = model_.Text();
    const auto lines = model_.Lines();
    size_t li = 0;
    if (settings_.multiLine && y > originY) {
        // Compared before the conversion: a point far below the text is on the last line.
        const double lineHeight = TextMetrics::LineHeight(*font_, TwipsPerPixelY());
        const double line = std::floor((double{y} - originY) / lineHeight);
        const auto last = static_cast<double>(lines.size() - 1);
        li = line < last ? static_cast<size_t>(line) : lines.size() - 1;
    }
    const TextEditModel::Line& line = lines[li];
    int32_t best = line.start;
    float bestDistance = std::fabs(x - originX);
    for (int32_t i = line.start + 1; i <= line.end; ++i) {
        if (IsHighSurrogate(text[i - 1])) continue;
        // A line holds no line break: its prefix is as wide as its count of units.
        const auto units = static_cast<size_t>(i - line.start);
        const float boundary =
            originX + static_cast<float>(TextMetrics::RunWidth(*font_, units, TwipsPerPixelX()));
        const float distance = std::fabs(x - boundary);
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

void HeadlessTextField::ActOnMouseDown(int16_t button, int16_t shift, float x, float y) {
    if (button & MouseButton::Left) model_.PressAt(PositionAt(x, y), shift & ShiftState::Shift);
}

void HeadlessTextField::ActOnMouseMove(int16_t button, int16_t /*shift*/, float x, float y) {
    if (button & MouseButton::Left) model_.DragTo(PositionAt(x, y));
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
    : WidgetBase(container, site, std::move(name), index, SystemColor::ButtonFace,
                 SystemColor::ButtonText),
      settings_(settings) {}

HeadlessButton::HeadlessButton(Container& container, Site* site, String name, int16_t index)
    : WidgetBase(container, site, std::move(name), index, SystemColor::ButtonFace,
                 SystemColor::ButtonText) {}

HeadlessList::HeadlessList(Container& container, Site* site, String name, int16_t index,
                           const ListSettings& settings)
    : WidgetBase(container, site, std::move(name), index, SystemColor::WindowBackground,
                 SystemColor::WindowText),
      settings_(settings) {
    height_ = AdjustHeight(0);
    items_.SetListener(this);
}

void HeadlessList::Dropped(bool v) {
    if (v == dropped_) return;
    dropped_ = v;
    if (v) NotifyDropDown();
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

void HeadlessShape::Width(int32_t v) {
    if (v < 0) Raise(err::InvalidPropertyValue);
    width_ = v;
}

void HeadlessShape::Height(int32_t v) {
    if (v < 0) Raise(err::InvalidPropertyValue);
    height_ = v;
}

void WidgetStore::CheckNew(StringView name, int16_t index) const {
    if (Find(name, index) || (index < 0 && (FindTimer(name) || FindLine(name) || FindShape(name))))
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

ButtonWidget& WidgetStore::CreateButton(const String& name, int16_t index) {
    return Add<HeadlessButton>(name, index, index);
}

TimerWidget& WidgetStore::CreateTimer(const String& name) {
    CheckNew(name, -1);
    timers_.push_back(std::make_unique<HeadlessTimer>(container_, name));
    return *timers_.back();
}

PictureSurface& WidgetStore::CreatePictureSurface(const String& name) {
    return Add<HeadlessPictureSurface>(name, -1);
}

LineWidget& WidgetStore::CreateLine(const String& name) {
    CheckNew(name, -1);
    lines_.push_back(std::make_unique<HeadlessLine>(name));
    return *lines_.back();
}

ShapeWidget& WidgetStore::CreateShape(const String& name) {
    CheckNew(name, -1);
    shapes_.push_back(std::make_unique<HeadlessShape>(name));
    return *shapes_.back();
}

HeadlessLine* WidgetStore::FindLine(StringView name) const {
    for (const auto& l : lines_)
        if (EqualsNoCase(l->Name(), name)) return l.get();
    return nullptr;
}

HeadlessShape* WidgetStore::FindShape(StringView name) const {
    for (const auto& sh : shapes_)
        if (EqualsNoCase(sh->Name(), name)) return sh.get();
    return nullptr;
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
