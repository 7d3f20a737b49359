// The headless host: a deterministic container that keeps its widgets in memory.
//
// It runs the controls exactly as a windowed container would, without a display: for the
// library's own tests, fuzzing and benchmarks, and for application developers who want to test
// their forms. A Container is one form with its controls and the services they share:
//
//     qv::headless::Container form;
//     auto& box = form.Add<qv::QVtxtBoxControl>(u"txtName");  // Initialize, InitProperties
//     form.Focus(box);      // EnterFocus, GotFocus
//     form.Type(u"anna ");  // per character: KeyDown, KeyPress, Change, KeyUp
//     form.Leave();         // LostFocus, ExitFocus
//     assert(box.Text().ToString() == u"Anna");
//
// Determinism:
// - Time is virtual. The clock starts at 0 seconds since midnight (SetClock changes it) and moves
//   only through AdvanceTime, which fires due timers in deadline order; it wraps at midnight.
//   Timers run on the container's running time, which SetClock does not change.
// - Keystrokes queued by a control (Host::SendKeys) are delivered when the outermost notice that
//   is running returns: after each keystroke, click, timer firing or lifecycle notice of the
//   user-simulation call that caused them, before that call returns. Keys queued while no notice
//   runs (control code called directly by a test) wait for DoEvents() or the next user call.
// - Text metrics are derived from the font alone (see TextMetrics.h).
//
// Exceptions thrown by control code reach the caller of the user-simulation call. Misuse of the
// simulation itself (typing with nothing focused, an unknown control) throws std::logic_error.
// Controls must not be removed from inside their own notices, and hidden forms must not outlive
// their container.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "hosts/headless/HeadlessWidgets.h"
#include "library/Control.h"
#include "library/Host.h"
#include "library/Keyboard.h"
#include "library/PropertyBag.h"

namespace qv::headless {

class Container;

// A form the library loaded through a site (the measuring form, the About dialog): its widgets,
// and what a user does with it while it is shown modally (see Container::OnModalForm).
class HeadlessForm final : public Form {
  public:
    HeadlessForm(Container& container, String name);
    ~HeadlessForm() override;
    const String& Name() const override { return name_; }
    const String& Caption() const override { return caption_; }
    void Caption(const String& v) override { caption_ = v; }
    void Size(int32_t width, int32_t height) override {
        width_ = width;
        height_ = height;
    }
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    void ShowModal() override;
    void Unload() override;
    // Whether it is shown and not yet unloaded.
    bool Open() const { return open_; }

    HeadlessLabel* FindLabel(StringView name) const;
    HeadlessButton* FindButton(StringView name) const;
    // The user clicks the button of that name (error 5 when there is none); a hidden or disabled
    // button takes no click.
    void Click(StringView button);

    TextField& CreateTextField(const String& name, int16_t index,
                               const TextFieldSettings& settings) override {
        return store_.CreateTextField(name, index, settings);
    }
    Label& CreateLabel(const String& name, int16_t index, const LabelSettings& settings) override {
        return store_.CreateLabel(name, index, settings);
    }
    ListWidget& CreateList(const String& name, int16_t index,
                           const ListSettings& settings) override {
        return store_.CreateList(name, index, settings);
    }
    ButtonWidget& CreateButton(const String& name, int16_t index) override {
        return store_.CreateButton(name, index);
    }
    TimerWidget& CreateTimer(const String& name) override { return store_.CreateTimer(name); }
    PictureSurface& CreatePictureSurface(const String& name) override {
        return store_.CreatePictureSurface(name);
    }
    LineWidget& CreateLine(const String& name) override { return store_.CreateLine(name); }
    ShapeWidget& CreateShape(const String& name) override { return store_.CreateShape(name); }

  private:
    Container& container_;
    String name_, caption_;
    int32_t width_ = 0, height_ = 0;
    bool shown_ = false, open_ = false;
    WidgetStore store_;
};

// One control's place on the form: the qv::Host the control talks to.
class Site final : public qv::Host {
  public:
    Site(Container& container, String name, int32_t width, int32_t height);
    ~Site() override;

    const String& Name() const { return name_; }
    Container& GetContainer() const { return container_; }
    Control* GetControl() const { return control_; }

    // Widgets the control created, by name (case-insensitive) and index (-1 for a single
    // widget); nullptr if none.
    HeadlessWidget* FindWidget(StringView name, int16_t index = -1) const;
    HeadlessTextField* FindTextField(StringView name, int16_t index = -1) const;
    HeadlessLabel* FindLabel(StringView name, int16_t index = -1) const;
    HeadlessList* FindList(StringView name, int16_t index = -1) const;
    HeadlessButton* FindButton(StringView name, int16_t index = -1) const;
    HeadlessTimer* FindTimer(StringView name) const;
    HeadlessLine* FindLine(StringView name) const;
    HeadlessShape* FindShape(StringView name) const;
    // In creation order; later widgets lie on top of earlier ones.
    const std::vector<std::unique_ptr<HeadlessWidget>>& Widgets() const { return store_.Widgets(); }

    // Extender members by name, case-insensitive ("ToolTipText", "ControlTipText"); a member
    // not set is missing (438).
    void SetExtender(const String& name, Variant value);
    void RemoveExtender(const String& name);

    // Whether Tab stops at the control (default true).
    bool TabStop() const { return tabStop_; }
    void TabStop(bool v) { tabStop_ = v; }

    // The container resizes the control (as a form designer or a layout would): the size is
    // stored and the Resize notice delivered, also when the size stays the same.
    void Resize(int32_t width, int32_t height);
    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    // Size calls the control made itself.
    int32_t SizeRequests() const { return sizeRequests_; }

    // --- qv::Host ---------------------------------------------------------------------------
    TextField& CreateTextField(const String& name, int16_t index,
                               const TextFieldSettings& settings) override;
    Label& CreateLabel(const String& name, int16_t index, const LabelSettings& settings) override;
    ListWidget& CreateList(const String& name, int16_t index,
                           const ListSettings& settings) override;
    ButtonWidget& CreateButton(const String& name, int16_t index) override;
    TimerWidget& CreateTimer(const String& name) override;
    PictureSurface& CreatePictureSurface(const String& name) override;
    LineWidget& CreateLine(const String& name) override;
    ShapeWidget& CreateShape(const String& name) override;
    int32_t ScaleWidth() const override { return width_; }
    int32_t ScaleHeight() const override { return height_; }
    // Negative sizes are error 380. A different size is stored and Resize delivered at once.
    void Size(int32_t width, int32_t height) override;
    Color BackColor() const override { return backColor_; }
    void BackColor(Color c) override { backColor_ = c; }
    int16_t MousePointer() const override { return mousePointer_; }
    void MousePointer(int16_t v) override;
    std::shared_ptr<Picture> MouseIcon() const override { return mouseIcon_; }
    void MouseIcon(std::shared_ptr<Picture> icon) override { mouseIcon_ = std::move(icon); }
    // A copy of the container's ambient font; error 438 when made to fail.
    Font AmbientFont() const override;
    // Error 438 when made to fail.
    bool AmbientUserMode() const override;
    Variant Extender(const String& name) const override;
    void PropertyChanged(const String& name) override;
    float TwipsPerPixelX() const override;
    float TwipsPerPixelY() const override;
    String ClipboardGetText() override;
    void ClipboardSetText(const String& text) override;
    void ClipboardClear() override;
    // See ParseKeys for the syntax; a malformed string is error 5.
    void SendKeys(const String& keys) override;
    void Beep() override;
    float Timer() const override;
    // Any non-empty name (error 5 for ""): an empty form listed in LoadedForms() while the
    // pointer lives (a HeadlessForm).
    std::unique_ptr<Form> LoadForm(const String& name) override;
    // The container's settings store, programs, files and message boxes (see Container).
    std::optional<uint32_t> RegistryOpenKey(uint32_t root, const String& keyName,
                                            uint32_t access) override;
    std::optional<RegistryValue> RegistryQueryValue(uint32_t key, const String& valueName,
                                                    size_t maxBytes) override;
    void RegistryCloseKey(uint32_t key) override;
    bool StartProgram(const String& path) override;
    bool FileExists(const String& path) override;
    void MessageBox(const String& text) override;

  private:
    friend class Container;
    Container& container_;
    String name_;
    int32_t width_;
    int32_t height_;
    Color backColor_ = SystemColor::WindowBackground;
    int16_t mousePointer_ = 0;
    std::shared_ptr<Picture> mouseIcon_;
    int32_t sizeRequests_ = 0;
    bool tabStop_ = true;
    Control* control_ = nullptr;
    std::vector<std::pair<String, Variant>> extender_;
    WidgetStore store_;
};

// One form: its controls in tab order, focus, and the services all sites share.
class Container {
  public:
    Container();
    ~Container();  // terminates and destroys the controls, without focus notices
    Container(const Container&) = delete;
    Container& operator=(const Container&) = delete;

    // --- Placing, loading, saving -----------------------------------------------------------
    // Control names are unique on the form, compared without regard to the case of ASCII letters
    // (std::invalid_argument otherwise). A control whose
    // placing or loading throws is terminated and removed, and the exception passed on.
    //
    // A newly placed control: constructed, Initialize, InitProperties, then Resize.
    template <class C>
    C& Add(const String& name, int32_t width = 1500, int32_t height = 300) {
        return Place<C>(name, width, height, nullptr);
    }
    // The same through the class registry by class name (error 429 when not available).
    Control& Add(StringView className, const String& name, int32_t width = 1500,
                 int32_t height = 300);
    // A loaded control: constructed, Initialize, ReadProperties(bag), then Resize.
    template <class C>
    C& Load(const String& name, PropertyBag& bag, int32_t width = 1500, int32_t height = 300) {
        return Place<C>(name, width, height, &bag);
    }
    Control& Load(StringView className, const String& name, PropertyBag& bag, int32_t width = 1500,
                  int32_t height = 300);
    // For controls whose constructor takes more than the host (test doubles): constructed as
    // C(site, args...), then placed (bag == nullptr) or loaded from the bag; 1500 × 300 twips.
    template <class C, class... Args>
    C& Emplace(const String& name, PropertyBag* bag, Args&&... args) {
        return Place<C>(name, 1500, 300, bag, std::forward<Args>(args)...);
    }
    // WriteProperties(bag).
    void Save(Control& control, PropertyBag& bag);
    // Focus leaves the control if it has it; then Terminate, and the control is destroyed.
    void Remove(Control& control);

    Site& SiteOf(const Control& control) const;
    Site* FindSite(StringView name) const;   // by name, as Add compares them; nullptr if none
    std::vector<Control*> Controls() const;  // in tab order (the order they were placed)

    // --- Ambient properties -----------------------------------------------------------------
    Font& AmbientFont() { return ambientFont_; }
    void FailAmbientFontRead(bool fail) { failAmbientFont_ = fail; }
    void UserMode(bool runMode) { userMode_ = runMode; }  // default true (run mode)
    bool UserMode() const { return userMode_; }
    void FailUserModeRead(bool fail) { failUserMode_ = fail; }

    // --- Screen, clock, clipboard, beep -----------------------------------------------------
    void TwipsPerPixel(float x, float y) {
        tppX_ = x;
        tppY_ = y;
    }  // default 15 × 15
    float TwipsPerPixelX() const { return tppX_; }
    float TwipsPerPixelY() const { return tppY_; }
    // Seconds since midnight (microsecond resolution).
    double Clock() const;
    // 0 <= seconds < 86400, else std::invalid_argument. Timers are not affected.
    void SetClock(double secondsSinceMidnight);
    // Moves the clock forward (seconds >= 0), firing every timer that falls due, in deadline
    // order (timers due at the same moment in creation order), each with the clock at its
    // deadline. A timer changed by a notice counts from the moment of the change.
    void AdvanceTime(double seconds);
    // Microseconds the clock has advanced since the container was made.
    int64_t RunningTime() const { return elapsedUs_; }
    String& Clipboard() { return clipboard_; }
    int32_t Beeps() const { return beeps_; }

    // Property-changed notices in the order they came: (control name, property name).
    struct PropertyChange {
        String control;
        String property;
    };
    const std::vector<PropertyChange>& PropertyChanges() const { return propertyChanges_; }
    void ClearPropertyChanges() { propertyChanges_.clear(); }

    // Forms currently loaded, by name.
    const std::vector<String>& LoadedForms() const { return loadedForms_; }
    // Forms shown modally so far, by name, in order.
    const std::vector<String>& ShownForms() const { return shownForms_; }
    // What the user does with a form shown modally (click its buttons, read its labels), called
    // while it is shown; whatever the handler leaves open the user then closes with the window's
    // close box. Without a handler a modal form is closed at once.
    void OnModalForm(std::function<void(HeadlessForm&)> user) { modalUser_ = std::move(user); }

    // --- The system -------------------------------------------------------------------------
    // The settings store, empty at first: values by root, key and name (keys and names without
    // regard to ASCII case). A string is stored in UTF-16 with its terminating NUL.
    void SetRegistryValue(uint32_t root, const String& key, const String& name,
                          RegistryValue value);
    void SetRegistryString(uint32_t root, const String& key, const String& name,
                           const String& text);
    void SetRegistryNumber(uint32_t root, const String& key, const String& name, uint32_t number);
    // The calls made on the store, in order: "open ROOT KEY ACCESS", "query NAME MAXBYTES",
    // "close" (numbers in decimal).
    const std::vector<String>& RegistryCalls() const { return registryCalls_; }
    // Files that exist (none at first); programs started, in order; programs that fail to start.
    void AddFile(const String& path) { files_.push_back(path); }
    const std::vector<String>& StartedPrograms() const { return startedPrograms_; }
    void FailProgram(const String& path) { failingPrograms_.push_back(path); }
    // Message boxes shown, in order (each closed at once).
    const std::vector<String>& Messages() const { return messages_; }

    // --- The user -------------------------------------------------------------------------
    // Moves the focus to the control (its first visible, enabled text field, or the control's
    // own surface when it has none): field LostFocus, ExitFocus of the old control, EnterFocus
    // of the new one, field GotFocus. Nothing happens when the control has the focus already.
    void Focus(Control& control);
    // Takes the focus away from the form's controls (as when another window is activated).
    void Leave();
    // A focused field that is hidden or disabled gets LostFocus and leaves the focus on its
    // control's own surface; the first field of that control to become available again takes it
    // (GotFocus), unless the focus has moved on meanwhile.
    Control* FocusedControl() const { return focusedControl_; }
    // The focused widget, nullptr when the focus is on the control's own surface (keys then go
    // to Control::UserControl_KeyDown/KeyPress/KeyUp) or nowhere.
    HeadlessWidget* FocusedWidget() const { return focusedWidget_; }

    // Types text into the focused widget: for each character key down, character, key up (the
    // field inserts the character and sends Change between); see StrokeForChar for the key
    // codes. "\r", "\n" and "\r\n" press Enter, "\b" Backspace, "\t" Tab.
    void Type(StringView text);
    // Presses one key with a shift state (ShiftState bits): key down, the character the key
    // makes (see CharForKey), key up. A KeyDown handler that clears KeyCode stops the field's
    // own action for the key; one that clears KeyAscii drops the character. Tab (without Alt)
    // moves the focus to the next control with a tab stop (Shift+Tab the previous), and the
    // widgets see no notices for it.
    void PressKey(int16_t keyCode, int16_t shift = 0);
    // Delivers the keystrokes queued by SendKeys while no notice was running.
    void DoEvents();

    // Mouse gestures in the control's own coordinates (twips). The topmost visible widget under
    // the point gets the notices in its own coordinates (a disabled one swallows them); a press
    // on an unfocused control focuses it first, on the pressed text field if it can take the
    // focus. Each notice comes before the field's own reaction to it (caret placement,
    // selection), so a MouseDown handler still sees the old selection.
    //   Click:       MouseDown, MouseUp, Click (Click for the left button only)
    //   DoubleClick: MouseDown, MouseUp, Click, DblClick (selects the word), MouseUp
    //   Drag:        MouseDown at (x1, y1), `steps` MouseMoves with the left button held ending
    //                at (x2, y2), MouseUp there, Click; the pressed widget gets them all
    //   MouseMove:   one MouseMove without a button
    void Click(Control& control, float x, float y, int16_t button = MouseButton::Left,
               int16_t shift = 0);
    void DoubleClick(Control& control, float x, float y);
    void Drag(Control& control, float x1, float y1, float x2, float y2, int steps = 4);
    void MouseMove(Control& control, float x, float y);

    // A dropped list: the user clicks an item (the selection changes, a Click notice, then the
    // list closes), or closes the list without choosing (a click elsewhere). std::logic_error
    // when the list is not dropped or the index is no item.
    void ChooseListItem(ListWidget& list, int32_t index);
    void CloseList(ListWidget& list);

  private:
    friend class Site;
    friend class HeadlessWidget;
    friend class HeadlessTextField;
    friend class HeadlessTimer;
    friend class HeadlessForm;
    friend class NoticeScope;

    template <class C, class... Args>
    C& Place(const String& name, int32_t width, int32_t height, PropertyBag* bag, Args&&... args) {
        Site& site = NewSite(name, width, height);
        std::unique_ptr<C> control;
        try {
            control = std::make_unique<C>(site, std::forward<Args>(args)...);
        } catch (...) {
            DropSite(site);
            throw;
        }
        C& ref = *control;
        Adopt(site, std::move(control), bag, true);
        return ref;
    }

    Site& NewSite(const String& name, int32_t width, int32_t height);
    void DropSite(Site& site);
    // Initialize (when asked), InitProperties or ReadProperties, Resize.
    void Adopt(Site& site, std::unique_ptr<Control> control, PropertyBag* bag, bool runInitialize);
    void Discard(Control& control);
    // Runs one user action as an outermost notice, then delivers the keys it queued.
    template <class F>
    void UserCall(F&& action);
    void DeliverPendingKeys();
    void DeliverStroke(const KeyStroke& k);
    void RequireFocus() const;
    void MoveFocusTo(Control* control, HeadlessWidget* widget);
    void TabFocus(bool backwards);
    HeadlessWidget* FocusTarget(const Site& site) const;
    void FocusWidget(HeadlessWidget& w);  // Widget::SetFocus
    void WidgetAvailabilityChanged(HeadlessWidget& w);
    HeadlessWidget* HitTest(const Site& site, float x, float y) const;
    HeadlessWidget* Press(Control& control, float x, float y);
    enum class MouseNotice { Down, Move, Up };
    void Mouse(HeadlessWidget& w, MouseNotice n, int16_t button, int16_t shift, float x, float y);
    void RegisterTimer(HeadlessTimer* t) { timers_.push_back(t); }
    // Widgets keep their name and font here, once for all that share them: most widgets of a
    // form have one of a few names and the same font.
    const String& InternName(String name);
    std::shared_ptr<const Font> ShareFont(const Font& f);
    void UnregisterTimer(HeadlessTimer* t);

    // Control names compare as EqualsNoCase does: ASCII letters without regard to case.
    struct NameHash {
        using is_transparent = void;
        size_t operator()(StringView name) const;
    };
    struct NameEqual {
        using is_transparent = void;
        bool operator()(StringView a, StringView b) const { return EqualsNoCase(a, b); }
    };

    std::vector<std::unique_ptr<Site>> sites_;
    std::vector<std::unique_ptr<Control>> controls_;
    // The site of each name, for large forms; the keys are views of Site::name_.
    std::unordered_map<StringView, Site*, NameHash, NameEqual> sitesByName_;
    std::unordered_set<String> widgetNames_;
    std::shared_ptr<const Font> defaultFont_;
    std::shared_ptr<const Font> lastFont_;  // the font most recently given to a widget
    Font ambientFont_;
    bool failAmbientFont_ = false;
    bool userMode_ = true;
    bool failUserMode_ = false;
    float tppX_ = 15;
    float tppY_ = 15;
    int64_t elapsedUs_ = 0;    // running time
    int64_t dayOffsetUs_ = 0;  // time of day at running time 0
    String clipboard_;
    int32_t beeps_ = 0;
    std::vector<PropertyChange> propertyChanges_;
    std::vector<String> loadedForms_;
    std::vector<String> shownForms_;
    std::function<void(HeadlessForm&)> modalUser_;
    struct RegistryKey {
        uint32_t root;
        String key;
        std::vector<std::pair<String, RegistryValue>> values;
    };
    std::vector<RegistryKey> registry_;
    std::unordered_map<uint32_t, std::ptrdiff_t> openKeys_;  // handle -> index in registry_
    uint32_t nextRegistryHandle_ = 1;
    std::vector<String> registryCalls_;
    std::vector<String> files_, startedPrograms_, failingPrograms_, messages_;
    Control* focusedControl_ = nullptr;
    HeadlessWidget* focusedWidget_ = nullptr;
    // The focused control whose focused widget was hidden or disabled, until the focus moves.
    Control* fieldlessControl_ = nullptr;
    std::deque<KeyStroke> pendingKeys_;  // from SendKeys
    int noticeDepth_ = 0;
    std::vector<HeadlessTimer*> timers_;
};

}  // namespace qv::headless
