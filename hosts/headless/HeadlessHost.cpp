#include "hosts/headless/HeadlessHost.h"

#include "library/Enums.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "library/ClassRegistry.h"
#include "library/Enums.h"
#include "library/FirstError.h"
#include "library/RuntimeError.h"

namespace qv::headless {

namespace {

constexpr int64_t kMicrosPerDay = 86'400'000'000;
// Keystrokes one delivery may run before the host calls it a loop of controls queuing keys.
constexpr int kMaxInjectedKeys = 100'000;

}  // namespace

// Counts the notices running; keys queued by SendKeys wait until the count drops to 0.
class NoticeScope {
  public:
    explicit NoticeScope(Container& c) : c_(c) { ++c_.noticeDepth_; }
    ~NoticeScope() { --c_.noticeDepth_; }
    NoticeScope(const NoticeScope&) = delete;
    NoticeScope& operator=(const NoticeScope&) = delete;

  private:
    Container& c_;
};

template <class F>
void Container::UserCall(F&& action) {
    if (noticeDepth_ == 0) DeliverPendingKeys();
    {
        NoticeScope scope(*this);
        action();
    }
    if (noticeDepth_ == 0) DeliverPendingKeys();
}

// --- HeadlessForm ----------------------------------------------------------------------------

HeadlessForm::HeadlessForm(Container& container, String name)
    : container_(container), name_(std::move(name)), store_(container, nullptr) {
    container_.loadedForms_.push_back(name_);
}

HeadlessForm::~HeadlessForm() {
    auto& forms = container_.loadedForms_;
    if (auto it = std::find(forms.begin(), forms.end(), name_); it != forms.end()) forms.erase(it);
}

void HeadlessForm::ShowModal() {
    if (shown_) Raise(err::InvalidProcedureCall, {}, u"The form is shown already");
    shown_ = true;
    open_ = true;
    container_.shownForms_.push_back(name_);
    if (container_.modalUser_) {
        const auto user = container_.modalUser_;  // the handler may set another
        user(*this);
    }
    open_ = false;  // what the user left open, they close with the window's close box
}

void HeadlessForm::Unload() {
    open_ = false;
}

HeadlessLabel* HeadlessForm::FindLabel(StringView name) const {
    return dynamic_cast<HeadlessLabel*>(store_.Find(name, -1));
}

HeadlessButton* HeadlessForm::FindButton(StringView name) const {
    return dynamic_cast<HeadlessButton*>(store_.Find(name, -1));
}

void HeadlessForm::Click(StringView button) {
    HeadlessButton* b = FindButton(button);
    if (!b) Raise(err::InvalidProcedureCall, {}, u"No button " + String(button));
    if (b->Visible() && b->Enabled()) container_.UserCall([&] { b->NotifyClick(); });
}

// --- Site ------------------------------------------------------------------------------------

Site::Site(Container& container, String name, int32_t width, int32_t height)
    : container_(container),
      name_(std::move(name)),
      width_(width),
      height_(height),
      store_(container, this) {}

Site::~Site() = default;

HeadlessWidget* Site::FindWidget(StringView name, int16_t index) const {
    return store_.Find(name, index);
}

HeadlessTextField* Site::FindTextField(StringView name, int16_t index) const {
    return dynamic_cast<HeadlessTextField*>(store_.Find(name, index));
}

HeadlessLabel* Site::FindLabel(StringView name, int16_t index) const {
    return dynamic_cast<HeadlessLabel*>(store_.Find(name, index));
}

HeadlessList* Site::FindList(StringView name, int16_t index) const {
    return dynamic_cast<HeadlessList*>(store_.Find(name, index));
}

HeadlessButton* Site::FindButton(StringView name, int16_t index) const {
    return dynamic_cast<HeadlessButton*>(store_.Find(name, index));
}

HeadlessTimer* Site::FindTimer(StringView name) const {
    return store_.FindTimer(name);
}

HeadlessLine* Site::FindLine(StringView name) const {
    return store_.FindLine(name);
}

HeadlessShape* Site::FindShape(StringView name) const {
    return store_.FindShape(name);
}

void Site::SetExtender(const String& name, Variant value) {
    for (auto& [key, v] : extender_) {
        if (EqualsNoCase(key, name)) {
            v = std::move(value);
            return;
        }
    }
    extender_.emplace_back(name, std::move(value));
}

void Site::RemoveExtender(const String& name) {
    std::erase_if(extender_, [&](const auto& e) { return EqualsNoCase(e.first, name); });
}

void Site::Resize(int32_t width, int32_t height) {
    if (width < 0 || height < 0) throw std::invalid_argument("headless host: negative size");
    container_.UserCall([&] {
        width_ = width;
        height_ = height;
        if (control_) control_->UserControl_Resize();
    });
}

TextField& Site::CreateTextField(const String& name, int16_t index,
                                 const TextFieldSettings& settings) {
    return store_.CreateTextField(name, index, settings);
}

Label& Site::CreateLabel(const String& name, int16_t index, const LabelSettings& settings) {
    return store_.CreateLabel(name, index, settings);
}

ListWidget& Site::CreateList(const String& name, int16_t index, const ListSettings& settings) {
    return store_.CreateList(name, index, settings);
}

ButtonWidget& Site::CreateButton(const String& name, int16_t index) {
    return store_.CreateButton(name, index);
}

TimerWidget& Site::CreateTimer(const String& name) {
    return store_.CreateTimer(name);
}

PictureSurface& Site::CreatePictureSurface(const String& name) {
    return store_.CreatePictureSurface(name);
}

LineWidget& Site::CreateLine(const String& name) {
    return store_.CreateLine(name);
}

ShapeWidget& Site::CreateShape(const String& name) {
    return store_.CreateShape(name);
}

void Site::Size(int32_t width, int32_t height) {
    ++sizeRequests_;
    if (width < 0 || height < 0) Raise(err::InvalidPropertyValue);
    if (width == width_ && height == height_) return;
    width_ = width;
    height_ = height;
    if (control_) control_->UserControl_Resize();
}

void Site::MousePointer(int16_t v) {
    if (!DisplayName(MousePointerEnumInfo(), v)) Raise(err::InvalidPropertyValue);
    mousePointer_ = v;
}

Font Site::AmbientFont() const {
    if (container_.failAmbientFont_)
        Raise(err::NoSuchMember, u"Ambient", u"Ambient font unavailable");
    return Font(container_.ambientFont_);
}

bool Site::AmbientUserMode() const {
    if (container_.failUserMode_) Raise(err::NoSuchMember, u"Ambient", u"UserMode unavailable");
    return container_.userMode_;
}

Variant Site::Extender(const String& name) const {
    for (const auto& [key, v] : extender_)
        if (EqualsNoCase(key, name)) return v;
    Raise(err::NoSuchMember);
}

void Site::PropertyChanged(const String& name) {
    container_.propertyChanges_.push_back({name_, name});
}

float Site::TwipsPerPixelX() const {
    return container_.tppX_;
}
float Site::TwipsPerPixelY() const {
    return container_.tppY_;
}
String Site::ClipboardGetText() {
    return container_.clipboard_;
}
void Site::ClipboardSetText(const String& text) {
    container_.clipboard_ = text;
}
void Site::ClipboardClear() {
    container_.clipboard_.clear();
}

void Site::SendKeys(const String& keys) {
    std::vector<KeyStroke> strokes = ParseKeys(keys);
    container_.pendingKeys_.insert(container_.pendingKeys_.end(), strokes.begin(), strokes.end());
}

void Site::Beep() {
    ++container_.beeps_;
}
float Site::Timer() const {
    return static_cast<float>(container_.Clock());
}

std::unique_ptr<Form> Site::LoadForm(const String& name) {
    if (name.empty()) Raise(err::InvalidProcedureCall);
    return std::make_unique<HeadlessForm>(container_, name);
}

// --- Site: the system -------------------------------------------------------------------------

std::optional<uint32_t> Site::RegistryOpenKey(uint32_t root, const String& keyName,
                                              uint32_t access) {
    auto& c = container_;
    c.registryCalls_.push_back(u"open " + FromUtf8(std::to_string(root)) + u" " + keyName + u" " +
                               FromUtf8(std::to_string(access)));
    for (const auto& entry : c.registry_)
        if (entry.root == root && EqualsNoCase(entry.key, keyName)) {
            const uint32_t handle = c.nextRegistryHandle_++;
            c.openKeys_.emplace(handle, &entry - c.registry_.data());
            return handle;
        }
    return std::nullopt;
}

std::optional<RegistryValue> Site::RegistryQueryValue(uint32_t key, const String& valueName,
                                                      size_t maxBytes) {
    auto& c = container_;
    c.registryCalls_.push_back(u"query " + valueName + u" " + FromUtf8(std::to_string(maxBytes)));
    const auto open = c.openKeys_.find(key);
    if (open == c.openKeys_.end()) return std::nullopt;
    for (const auto& [name, value] : c.registry_[static_cast<size_t>(open->second)].values)
        if (EqualsNoCase(name, valueName))
            return value.data.size() <= maxBytes ? std::optional(value) : std::nullopt;
    return std::nullopt;
}

void Site::RegistryCloseKey(uint32_t key) {
    container_.registryCalls_.push_back(u"close");
    container_.openKeys_.erase(key);
}

bool Site::StartProgram(const String& path) {
    auto& c = container_;
    if (std::find(c.failingPrograms_.begin(), c.failingPrograms_.end(), path) !=
        c.failingPrograms_.end())
        return false;
    c.startedPrograms_.push_back(path);
    return true;
}

bool Site::FileExists(const String& path) {
    const auto& files = container_.files_;
    return std::find(files.begin(), files.end(), path) != files.end();
}

void Site::MessageBox(const String& text) {
    container_.messages_.push_back(text);
}

// --- Container: the system ------------------------------------------------------------------

void Container::SetRegistryValue(uint32_t root, const String& key, const String& name,
                                 RegistryValue value) {
    auto it = std::find_if(registry_.begin(), registry_.end(), [&](const RegistryKey& k) {
        return k.root == root && EqualsNoCase(k.key, key);
    });
    if (it == registry_.end()) {
        registry_.push_back({root, key, {}});
        it = registry_.end() - 1;
    }
    for (auto& [n, v] : it->values)
        if (EqualsNoCase(n, name)) {
            v = std::move(value);
            return;
        }
    it->values.emplace_back(name, std::move(value));
}

void Container::SetRegistryString(uint32_t root, const String& key, const String& name,
                                  const String& text) {
    RegistryValue v{1, {}};
    for (const char16_t c : text + u'\0') {
        v.data.push_back(static_cast<uint8_t>(c & 0xFF));
        v.data.push_back(static_cast<uint8_t>(c >> 8));
    }
    SetRegistryValue(root, key, name, std::move(v));
}

void Container::SetRegistryNumber(uint32_t root, const String& key, const String& name,
                                  uint32_t number) {
    RegistryValue v{4, {}};
    for (int i = 0; i < 4; ++i) v.data.push_back(static_cast<uint8_t>(number >> (8 * i)));
    SetRegistryValue(root, key, name, std::move(v));
}

// --- Container: controls ---------------------------------------------------------------------

Container::Container() = default;

Container::~Container() {
    focusedControl_ = nullptr;
    focusedWidget_ = nullptr;
    for (auto& control : controls_) {
        try {
            control->UserControl_Terminate();
        } catch (...) {  // a destructor cannot report it
        }
    }
    controls_.clear();
    sitesByName_.clear();
    sites_.clear();
}

size_t Container::NameHash::operator()(StringView name) const {
    size_t h = 14695981039346656037ull;  // FNV-1a over the units, ASCII letters upper-cased
    for (char16_t c : name) {
        if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
        h = (h ^ c) * 1099511628211ull;
    }
    return h;
}

Site& Container::NewSite(const String& name, int32_t width, int32_t height) {
    if (FindSite(name))
        throw std::invalid_argument("headless host: a control named " + ToUtf8(name) +
                                    " is on the form already");
    if (width < 0 || height < 0) throw std::invalid_argument("headless host: negative size");
    auto site = std::make_unique<Site>(*this, name, width, height);
    sitesByName_.emplace(site->name_, site.get());
    sites_.push_back(std::move(site));
    return *sites_.back();
}

void Container::DropSite(Site& site) {
    sitesByName_.erase(site.name_);
    std::erase_if(sites_, [&](const auto& s) { return s.get() == &site; });
}

void Container::Adopt(Site& site, std::unique_ptr<Control> control, PropertyBag* bag,
                      bool runInitialize) {
    Control& c = *control;
    site.control_ = &c;
    controls_.push_back(std::move(control));
    try {
        UserCall([&] {
            if (runInitialize) c.UserControl_Initialize();
            if (bag)
                c.UserControl_ReadProperties(*bag);
            else
                c.UserControl_InitProperties();
            c.UserControl_Resize();
        });
    } catch (...) {
        Discard(c);
        throw;
    }
}

// Terminates and destroys a control that failed to load, without focus notices.
void Container::Discard(Control& control) {
    if (focusedControl_ == &control) {
        focusedControl_ = nullptr;
        focusedWidget_ = nullptr;
    }
    if (fieldlessControl_ == &control) fieldlessControl_ = nullptr;
    try {
        control.UserControl_Terminate();
    } catch (...) {  // the load's own error is the one to report
    }
    Site& site = SiteOf(control);
    std::erase_if(controls_, [&](const auto& c) { return c.get() == &control; });
    DropSite(site);
}

Control& Container::Add(StringView className, const String& name, int32_t width, int32_t height) {
    Site& site = NewSite(name, width, height);
    std::unique_ptr<Control> control;
    try {
        control = GetClassObject(className).CreateInstance(site);
    } catch (...) {
        DropSite(site);
        throw;
    }
    Control& ref = *control;
    Adopt(site, std::move(control), nullptr, false);
    return ref;
}

Control& Container::Load(StringView className, const String& name, PropertyBag& bag, int32_t width,
                         int32_t height) {
    Site& site = NewSite(name, width, height);
    std::unique_ptr<Control> control;
    try {
        control = GetClassObject(className).CreateInstance(site);
    } catch (...) {
        DropSite(site);
        throw;
    }
    Control& ref = *control;
    Adopt(site, std::move(control), &bag, false);
    return ref;
}

void Container::Save(Control& control, PropertyBag& bag) {
    SiteOf(control);
    UserCall([&] { control.UserControl_WriteProperties(bag); });
}

void Container::Remove(Control& control) {
    Site& site = SiteOf(control);
    auto destroy = [&] {
        if (focusedControl_ == &control) {
            focusedControl_ = nullptr;
            focusedWidget_ = nullptr;
        }
        if (fieldlessControl_ == &control) fieldlessControl_ = nullptr;
        std::erase_if(controls_, [&](const auto& c) { return c.get() == &control; });
        DropSite(site);
    };
    try {
        UserCall([&] {
            if (focusedControl_ == &control) MoveFocusTo(nullptr, nullptr);
            control.UserControl_Terminate();
        });
    } catch (...) {
        destroy();
        throw;
    }
    destroy();
}

Site& Container::SiteOf(const Control& control) const {
    // A control talks to its site: its host is the site, when the control is on this form.
    auto* site = dynamic_cast<Site*>(&control.GetHost());
    if (site && &site->container_ == this && site->control_ == &control) return *site;
    throw std::logic_error("headless host: the control is not on this form");
}

Site* Container::FindSite(StringView name) const {
    auto it = sitesByName_.find(name);
    return it == sitesByName_.end() ? nullptr : it->second;
}

std::vector<Control*> Container::Controls() const {
    std::vector<Control*> out;
    for (const auto& c : controls_) out.push_back(c.get());
    return out;
}

// --- Container: what widgets share -----------------------------------------------------------

const String& Container::InternName(String name) {
    return *widgetNames_.insert(std::move(name)).first;
}

std::shared_ptr<const Font> Container::ShareFont(const Font& f) {
    for (const auto* shared : {&lastFont_, &defaultFont_})
        if (*shared && (*shared)->SameAttributes(f)) return *shared;
    auto font = std::make_shared<const Font>(f);
    if (!defaultFont_ && font->SameAttributes(Font())) return defaultFont_ = font;
    return lastFont_ = font;
}

// --- Container: clock and timers -------------------------------------------------------------

double Container::Clock() const {
    return static_cast<double>((dayOffsetUs_ + elapsedUs_) % kMicrosPerDay) / 1e6;
}

void Container::SetClock(double secondsSinceMidnight) {
    if (!(secondsSinceMidnight >= 0 && secondsSinceMidnight < 86400))
        throw std::invalid_argument("headless host: the clock takes 0 <= seconds < 86400");
    const int64_t target = std::llround(secondsSinceMidnight * 1e6) % kMicrosPerDay;
    dayOffsetUs_ = ((target - elapsedUs_) % kMicrosPerDay + kMicrosPerDay) % kMicrosPerDay;
}

void Container::AdvanceTime(double seconds) {
    if (!(seconds >= 0) || !std::isfinite(seconds))
        throw std::invalid_argument("headless host: time only moves forward");
    const int64_t end = elapsedUs_ + std::llround(seconds * 1e6);
    if (noticeDepth_ == 0) DeliverPendingKeys();
    for (;;) {
        HeadlessTimer* next = nullptr;
        int64_t due = 0;
        for (HeadlessTimer* t : timers_) {
            auto d = t->NextDue();
            if (d && *d <= end && (!next || *d < due)) {
                next = t;
                due = *d;
            }
        }
        if (!next) break;
        elapsedUs_ = std::max(elapsedUs_, due);
        ++next->ticks_;
        ++next->fired_;
        UserCall([&] { next->NotifyTimer(); });
    }
    elapsedUs_ = end;
}

void Container::UnregisterTimer(HeadlessTimer* t) {
    std::erase(timers_, t);
}

// --- Container: keyboard ---------------------------------------------------------------------

void Container::DoEvents() {
    if (noticeDepth_ == 0) DeliverPendingKeys();
}

void Container::DeliverPendingKeys() {
    int delivered = 0;
    while (!pendingKeys_.empty()) {
        if (++delivered > kMaxInjectedKeys) {
            pendingKeys_.clear();
            throw std::logic_error("headless host: controls keep queuing keystrokes");
        }
        const KeyStroke k = pendingKeys_.front();
        pendingKeys_.pop_front();
        NoticeScope scope(*this);
        DeliverStroke(k);
    }
}

void Container::DeliverStroke(const KeyStroke& k) {
    if (k.keyCode == Key::Tab && !(k.shift & ShiftState::Alt)) {
        TabFocus((k.shift & ShiftState::Shift) != 0);
        return;
    }
    Control* control = focusedControl_;
    HeadlessWidget* w = focusedWidget_;
    if (!control) return;
    // A notice that throws ends the key's press there; its release is still heard, as a
    // windowed container delivers it as an event of its own. The first error is passed on.
    FirstError errors;
    errors.Run([&] {
        int16_t keyCode = k.keyCode, shift = k.shift;
        if (w) {
            w->AsWidget().NotifyKeyDown(keyCode, shift);
            if (keyCode != 0) w->ActOnKeyDown(keyCode, shift);
        } else {
            control->UserControl_KeyDown(keyCode, shift);
        }
        if (k.character != 0) {
            auto ascii = static_cast<int16_t>(k.character);
            if (w) {
                w->AsWidget().NotifyKeyPress(ascii);
                if (ascii != 0) w->ActOnKeyPress(ascii);
            } else {
                control->UserControl_KeyPress(ascii);
            }
        }
    });
    errors.Run([&] {
        int16_t keyCode = k.keyCode, shift = k.shift;
        if (w)
            w->AsWidget().NotifyKeyUp(keyCode, shift);
        else
            control->UserControl_KeyUp(keyCode, shift);
    });
    errors.Rethrow();
}

void Container::RequireFocus() const {
    if (!focusedControl_) throw std::logic_error("headless host: no control has the focus");
}

void Container::Type(StringView text) {
    RequireFocus();
    for (size_t i = 0; i < text.size(); ++i) {
        const KeyStroke k = StrokeForChar(text[i]);
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
        UserCall([&] { DeliverStroke(k); });
    }
}

void Container::PressKey(int16_t keyCode, int16_t shift) {
    if (keyCode != Key::Tab) RequireFocus();
    const KeyStroke k{keyCode, shift, CharForKey(keyCode, shift)};
    UserCall([&] { DeliverStroke(k); });
}

// --- Container: focus ------------------------------------------------------------------------

void Container::Focus(Control& control) {
    const Site& site = SiteOf(control);
    UserCall([&] {
        // Also when a move was cut short (a handler threw) and the control kept no field.
        if (focusedControl_ != &control || !focusedWidget_)
            MoveFocusTo(&control, FocusTarget(site));
    });
}

void Container::Leave() {
    UserCall([&] { MoveFocusTo(nullptr, nullptr); });
}

// Sends the notices in the container's order. A handler that moves the focus itself wins: the
// remaining notices of this move are not sent. A notice that throws does not stop the move: the
// first error is passed on once every notice is sent, so that the controls and the container
// agree on where the focus is.
void Container::MoveFocusTo(Control* control, HeadlessWidget* widget) {
    if (control == focusedControl_ && widget == focusedWidget_) return;
    FirstError errors;
    [&] {
        fieldlessControl_ = nullptr;
        Control* oldControl = focusedControl_;
        HeadlessWidget* oldWidget = focusedWidget_;
        focusedWidget_ = nullptr;
        if (oldWidget) {
            errors.Run([&] { oldWidget->AsWidget().NotifyLostFocus(); });
            if (focusedControl_ != oldControl || focusedWidget_) return;
        }
        if (oldControl != control) {
            focusedControl_ = nullptr;
            if (oldControl) {
                errors.Run([&] { oldControl->UserControl_ExitFocus(); });
                if (focusedControl_) return;
            }
            focusedControl_ = control;
            if (control) {
                errors.Run([&] { control->UserControl_EnterFocus(); });
                if (focusedControl_ != control || focusedWidget_) return;
            }
        }
        focusedWidget_ = widget;
        // A control whose fields cannot take the focus now keeps it on its surface, and the
        // first of its fields that can again takes it, as when its focused field goes away.
        if (!widget) fieldlessControl_ = control;
        if (widget) errors.Run([&] { widget->AsWidget().NotifyGotFocus(); });
    }();
    errors.Rethrow();
}

HeadlessWidget* Container::FocusTarget(const Site& site) const {
    for (const auto& w : site.Widgets())
        if (w->CanTakeFocus() && w->visible_ && w->enabled_) return w.get();
    return nullptr;
}

void Container::FocusWidget(HeadlessWidget& w) {
    if (!w.site_ || !w.site_->control_ || !w.CanTakeFocus() || !w.visible_ || !w.enabled_)
        Raise(err::InvalidProcedureCall);
    MoveFocusTo(w.site_->control_, &w);
}

// A focused widget that is hidden or disabled loses the focus to its control's own surface. The
// control keeps the focus, and the first of its widgets that can take the focus again gets it, as
// when a control swaps the field it shows while the user types into it.
void Container::WidgetAvailabilityChanged(HeadlessWidget& w) {
    const bool available = w.visible_ && w.enabled_;
    if (&w == focusedWidget_) {
        if (available) return;
        focusedWidget_ = nullptr;
        fieldlessControl_ = focusedControl_;
        w.AsWidget().NotifyLostFocus();
        return;
    }
    if (available && !focusedWidget_ && focusedControl_ && focusedControl_ == fieldlessControl_ &&
        w.site_ && w.site_->control_ == focusedControl_ && w.CanTakeFocus())
        MoveFocusTo(focusedControl_, &w);
}

void Container::TabFocus(bool backwards) {
    std::vector<Control*> stops;
    for (const auto& c : controls_)
        if (SiteOf(*c).tabStop_) stops.push_back(c.get());
    if (stops.empty()) return;
    const auto n = static_cast<std::ptrdiff_t>(stops.size());
    auto it = std::find(stops.begin(), stops.end(), focusedControl_);
    std::ptrdiff_t next;
    if (it == stops.end())
        next = backwards ? n - 1 : 0;
    else
        next = ((it - stops.begin()) + (backwards ? n - 1 : 1)) % n;
    Control* target = stops[static_cast<size_t>(next)];
    if (target == focusedControl_) return;
    MoveFocusTo(target, FocusTarget(SiteOf(*target)));
}

// --- Container: mouse ------------------------------------------------------------------------

HeadlessWidget* Container::HitTest(const Site& site, float x, float y) const {
    const auto& widgets = site.Widgets();
    for (auto it = widgets.rbegin(); it != widgets.rend(); ++it)
        if ((*it)->visible_ && (*it)->Contains(x, y)) return it->get();
    return nullptr;
}

// The widget a press at (x, y) reaches, after moving the focus there; nullptr when the press
// lands on the control's own surface or on a disabled widget.
HeadlessWidget* Container::Press(Control& control, float x, float y) {
    const Site& site = SiteOf(control);
    HeadlessWidget* w = HitTest(site, x, y);
    if (w && !w->enabled_) return nullptr;
    if (w && w->CanTakeFocus())
        MoveFocusTo(&control, w);
    else if (focusedControl_ != &control)
        MoveFocusTo(&control, FocusTarget(site));
    return w;
}

void Container::Mouse(HeadlessWidget& w, MouseNotice n, int16_t button, int16_t shift, float x,
                      float y) {
    x -= static_cast<float>(w.left_);
    y -= static_cast<float>(w.top_);
    Widget& target = w.AsWidget();
    switch (n) {
        case MouseNotice::Down:
            target.NotifyMouseDown(button, shift, x, y);
            w.ActOnMouseDown(button, shift, x, y);
            break;
        case MouseNotice::Move:
            target.NotifyMouseMove(button, shift, x, y);
            w.ActOnMouseMove(button, shift, x, y);
            break;
        case MouseNotice::Up:
            target.NotifyMouseUp(button, shift, x, y);
            break;
    }
}

void Container::Click(Control& control, float x, float y, int16_t button, int16_t shift) {
    UserCall([&] {
        HeadlessWidget* w = Press(control, x, y);
        if (!w) return;
        Mouse(*w, MouseNotice::Down, button, shift, x, y);
        Mouse(*w, MouseNotice::Up, button, shift, x, y);
        if (button & MouseButton::Left) w->AsWidget().NotifyClick();
    });
}

void Container::DoubleClick(Control& control, float x, float y) {
    UserCall([&] {
        HeadlessWidget* w = Press(control, x, y);
        if (!w) return;
        Mouse(*w, MouseNotice::Down, MouseButton::Left, 0, x, y);
        Mouse(*w, MouseNotice::Up, MouseButton::Left, 0, x, y);
        w->AsWidget().NotifyClick();
        w->AsWidget().NotifyDblClick();
        w->ActOnDblClick(x - static_cast<float>(w->left_), y - static_cast<float>(w->top_));
        Mouse(*w, MouseNotice::Up, MouseButton::Left, 0, x, y);
    });
}

void Container::Drag(Control& control, float x1, float y1, float x2, float y2, int steps) {
    if (steps < 0) throw std::invalid_argument("headless host: negative step count");
    UserCall([&] {
        HeadlessWidget* w = Press(control, x1, y1);
        if (!w) return;
        Mouse(*w, MouseNotice::Down, MouseButton::Left, 0, x1, y1);
        for (int i = 1; i <= steps; ++i) {
            const float t = static_cast<float>(i) / static_cast<float>(steps);
            Mouse(*w, MouseNotice::Move, MouseButton::Left, 0, x1 + (x2 - x1) * t,
                  y1 + (y2 - y1) * t);
        }
        Mouse(*w, MouseNotice::Up, MouseButton::Left, 0, x2, y2);
        w->AsWidget().NotifyClick();
    });
}

void Container::MouseMove(Control& control, float x, float y) {
    const Site& site = SiteOf(control);
    UserCall([&] {
        HeadlessWidget* w = HitTest(site, x, y);
        if (w && w->enabled_) Mouse(*w, MouseNotice::Move, 0, 0, x, y);
    });
}

void Container::ChooseListItem(ListWidget& list, int32_t index) {
    if (!list.Dropped()) throw std::logic_error("headless host: the list is not dropped");
    if (!list.Items().Valid(index)) throw std::logic_error("headless host: no such list item");
    UserCall([&] {
        if (list.Items().Selected() != index) list.Items().Select(index);  // Click
        list.Dropped(false);
    });
}

void Container::CloseList(ListWidget& list) {
    if (!list.Dropped()) throw std::logic_error("headless host: the list is not dropped");
    UserCall([&] { list.Dropped(false); });
}

}  // namespace qv::headless
