// The headless host's widgets: every property kept in memory, the text field's editing model, and
// the notices a windowed container would deliver.
//
// Widgets are created by the host (Site or a hidden form) and owned by it. Sizes are validated as
// a window system does (a negative width or height is error 380) and single-line text fields keep
// their minimum height (see TextMetrics.h). Refresh() only counts its calls.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "library/TextEditModel.h"
#include "library/Widgets.h"

namespace qv::headless {

class Container;
class Site;

// What all the headless widgets share, whatever interface they implement; the host keeps them in
// one list (creation order, later widgets on top) and reaches the interface through AsWidget().
class HeadlessWidget {
  public:
    enum class Kind { TextField, Label, List, Button, PictureSurface };

    HeadlessWidget(const HeadlessWidget&) = delete;
    HeadlessWidget& operator=(const HeadlessWidget&) = delete;
    virtual ~HeadlessWidget();

    virtual Kind GetKind() const = 0;
    virtual Widget& AsWidget() = 0;
    virtual const Widget& AsWidget() const = 0;

    Container& GetContainer() const { return container_; }
    // The control's site, or nullptr for a widget on a hidden form.
    Site* GetSite() const { return site_; }
    int32_t RefreshCount() const { return refreshCount_; }
    bool HasFocus() const;
    // Whether (x, y), in the parent's coordinates, lies on the widget.
    bool Contains(float x, float y) const;

  protected:
    HeadlessWidget(Container& container, Site* site, String name, int16_t index, Color back,
                   Color fore);

    // The widget's own reaction after its notices (the text field edits; the others do nothing).
    virtual void ActOnKeyDown(int16_t /*keyCode*/, int16_t /*shift*/) {}
    virtual void ActOnKeyPress(int16_t /*keyAscii*/) {}
    virtual void ActOnMouseDown(int16_t /*button*/, int16_t /*shift*/, float /*x*/, float /*y*/) {}
    virtual void ActOnMouseMove(int16_t /*button*/, int16_t /*shift*/, float /*x*/, float /*y*/) {}
    virtual void ActOnDblClick(float /*x*/, float /*y*/) {}
    virtual bool CanTakeFocus() const { return false; }
    // The height a write of `h` leaves.
    virtual int32_t AdjustHeight(int32_t h) const { return h; }
    virtual void FontChanged() {}

    float TwipsPerPixelX() const;
    float TwipsPerPixelY() const;
    void Beep() const;
    void CheckSize(int32_t v) const;  // error 380 when negative
    static void CheckMousePointer(int16_t v);
    void AvailabilityChanged();  // after Visible or Enabled changed
    std::shared_ptr<const Font> ShareFont(const Font& f) const;
    void TakeFocus();  // SetFocus()

    Container& container_;
    Site* site_;
    const String* name_;  // kept once by the container for all widgets of that name
    int16_t index_;
    bool visible_ = true;
    bool enabled_ = true;
    int32_t left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    Color backColor_;
    Color foreColor_;
    // Shared with the other widgets of the same attributes (see Container::ShareFont).
    std::shared_ptr<const Font> font_;
    int16_t mousePointer_ = 0;
    int32_t refreshCount_ = 0;
    // What few widgets are given; made by the first write of something else than the default.
    struct Extras {
        String toolTipText;
        std::shared_ptr<Picture> mouseIcon;
    };
    std::unique_ptr<Extras> extras_;
    Extras& MakeExtras() {
        if (!extras_) extras_ = std::make_unique<Extras>();
        return *extras_;
    }
    static const String kNoText;

    friend class Container;
};

// qv::Widget's common properties over the state kept in HeadlessWidget, for any widget interface.
template <class Interface>
class WidgetBase : public Interface, public HeadlessWidget {
  public:
    Widget& AsWidget() override { return *this; }
    const Widget& AsWidget() const override { return *this; }

    const String& Name() const override { return *name_; }
    int16_t Index() const override { return index_; }
    bool Visible() const override { return visible_; }
    void Visible(bool v) override {
        visible_ = v;
        AvailabilityChanged();
    }
    bool Enabled() const override { return enabled_; }
    void Enabled(bool v) override {
        enabled_ = v;
        AvailabilityChanged();
    }
    int32_t Left() const override { return left_; }
    void Left(int32_t v) override { left_ = v; }
    int32_t Top() const override { return top_; }
    void Top(int32_t v) override { top_ = v; }
    int32_t Width() const override { return width_; }
    void Width(int32_t v) override {
        CheckSize(v);
        width_ = v;
    }
    int32_t Height() const override { return height_; }
    void Height(int32_t v) override {
        CheckSize(v);
        height_ = AdjustHeight(v);
    }
    Color BackColor() const override { return backColor_; }
    void BackColor(Color c) override { backColor_ = c; }
    Color ForeColor() const override { return foreColor_; }
    void ForeColor(Color c) override { foreColor_ = c; }
    const Font& GetFont() const override { return *font_; }
    void SetFont(const Font& f) override {
        font_ = ShareFont(f);  // `f` may be this widget's own font: it is read before the swap
        FontChanged();
    }
    const String& ToolTipText() const override { return extras_ ? extras_->toolTipText : kNoText; }
    void ToolTipText(const String& v) override {
        if (extras_ || !v.empty()) MakeExtras().toolTipText = v;
    }
    int16_t MousePointer() const override { return mousePointer_; }
    void MousePointer(int16_t v) override {
        CheckMousePointer(v);
        mousePointer_ = v;
    }
    std::shared_ptr<Picture> MouseIcon() const override {
        return extras_ ? extras_->mouseIcon : nullptr;
    }
    void MouseIcon(std::shared_ptr<Picture> p) override {
        if (extras_ || p) MakeExtras().mouseIcon = std::move(p);
    }
    void Refresh() override { ++refreshCount_; }
    void SetFocus() override { TakeFocus(); }

  protected:
    using HeadlessWidget::HeadlessWidget;
};

// A text field with a single-level undo, the clipboard keys and mouse selection.
//
// Keys (after the key-down notice, when KeyCode is still set): Left/Right (Ctrl: by word),
// Home/End (multi-line: of the line; Ctrl: of the text), Up/Down (multi-line only), Delete,
// Shift+Delete cut, Shift+Insert paste, Ctrl+Insert copy; Shift extends the selection.
// Characters (after the character notice, when KeyAscii is still set): codes from 32 are typed at
// the selection, Backspace, Enter ("\r\n", multi-line only), Ctrl+C copy, Ctrl+X cut, Ctrl+V
// paste, Ctrl+Z undo. A run of typed characters is undone at once; undoing twice redoes.
// Locked fields allow navigation and copying only. MaxLength limits typing (a character that
// does not fit beeps and is dropped) and pasting (only what fits goes in, with a beep); code
// writes ignore it. With a PasswordChar, copy and cut do nothing. A single-line field pastes the
// clipboard's first line only. Writes of Text and SelText clear the undo step.
class HeadlessTextField final : public WidgetBase<TextField>, private TextEditModel::Environment {
  public:
    HeadlessTextField(Container& container, Site* site, String name, int16_t index,
                      const TextFieldSettings& settings);

    Kind GetKind() const override { return Kind::TextField; }

    const TextFieldSettings& Settings() const override { return settings_; }
    const String& Text() const override { return model_.Text(); }
    void Text(const String& v) override { model_.Text(v); }
    int32_t SelStart() const override { return model_.SelStart(); }
    void SelStart(int32_t v) override { model_.SelStart(v); }
    int32_t SelLength() const override { return model_.SelLength(); }
    void SelLength(int32_t v) override { model_.SelLength(v); }
    String SelText() const override { return model_.SelText(); }
    void SelText(const String& v) override { model_.SelText(v); }
    bool Locked() const override { return model_.Locked(); }
    void Locked(bool v) override { model_.Locked(v); }
    int32_t MaxLength() const override { return model_.MaxLength(); }
    void MaxLength(int32_t v) override { model_.MaxLength(v); }
    const String& PasswordChar() const override { return model_.PasswordChar(); }
    void PasswordChar(const String& v) override { model_.PasswordChar(v); }

    // The editing model, as the container's key and mouse handling uses it.
    TextEditModel& Model() { return model_; }
    int32_t Caret() const { return model_.Caret(); }
    int32_t Anchor() const { return model_.Anchor(); }
    // The character boundary nearest to (x, y), in the field's own coordinates (twips).
    int32_t PositionAt(float x, float y) const;
    // How often Change was sent.
    int32_t ChangeCount() const { return changeCount_; }

  protected:
    void ActOnKeyDown(int16_t keyCode, int16_t shift) override {
        model_.ActOnKeyDown(keyCode, shift);
    }
    void ActOnKeyPress(int16_t keyAscii) override { model_.ActOnKeyPress(keyAscii); }
    void ActOnMouseDown(int16_t button, int16_t shift, float x, float y) override;
    void ActOnMouseMove(int16_t button, int16_t shift, float x, float y) override;
    void ActOnDblClick(float x, float y) override { model_.SelectWordAt(PositionAt(x, y)); }
    bool CanTakeFocus() const override { return true; }
    int32_t AdjustHeight(int32_t h) const override;
    void FontChanged() override;

  private:
    // TextEditModel::Environment
    void Beep() override { HeadlessWidget::Beep(); }
    String ClipboardText() override;
    void ClipboardText(const String& text) override;
    void TextChanged() override;

    TextFieldSettings settings_;
    TextEditModel model_;
    int32_t changeCount_ = 0;
};

class HeadlessLabel final : public WidgetBase<Label> {
  public:
    HeadlessLabel(Container& container, Site* site, String name, int16_t index,
                  const LabelSettings& settings);
    Kind GetKind() const override { return Kind::Label; }
    const LabelSettings& Settings() const override { return settings_; }
    const String& Caption() const override { return caption_; }
    void Caption(const String& v) override { caption_ = v; }

  private:
    LabelSettings settings_;
    String caption_;
};

// A button: its caption in memory; a press and release on it is MouseDown, MouseUp, Click.
class HeadlessButton final : public WidgetBase<ButtonWidget> {
  public:
    HeadlessButton(Container& container, Site* site, String name, int16_t index);
    Kind GetKind() const override { return Kind::Button; }
    const String& Caption() const override { return caption_; }
    void Caption(const String& v) override { caption_ = v; }

  private:
    String caption_;
};

// A list; a drop-down one keeps TextMetrics::ListHeight for its font. Its dropped state is a
// flag; a selection change is its Click notice.
class HeadlessList final : public WidgetBase<ListWidget>, private ItemList::Listener {
  public:
    HeadlessList(Container& container, Site* site, String name, int16_t index,
                 const ListSettings& settings);
    Kind GetKind() const override { return Kind::List; }
    const ListSettings& Settings() const override { return settings_; }
    ItemList& Items() override { return items_; }
    const ItemList& Items() const override { return items_; }
    bool Dropped() const override { return dropped_; }
    void Dropped(bool v) override;

  protected:
    int32_t AdjustHeight(int32_t h) const override;
    void FontChanged() override { height_ = AdjustHeight(height_); }

  private:
    void ItemsInserted(int32_t /*first*/, int32_t /*count*/) override {}
    void ItemsRemoved(int32_t /*first*/, int32_t /*count*/) override {}
    void ItemChanged(int32_t /*index*/) override {}
    void SelectionChanged(int32_t /*index*/) override { NotifyClick(); }

    ListSettings settings_;
    ItemList items_;
    bool dropped_ = false;
};

// Measures with TextMetrics in its font.
class HeadlessPictureSurface final : public WidgetBase<PictureSurface> {
  public:
    HeadlessPictureSurface(Container& container, Site* site, String name);
    Kind GetKind() const override { return Kind::PictureSurface; }
    int32_t TextWidth(const String& text) const override;
    int32_t TextHeight(const String& text) const override;
};

// A timer on the container's virtual clock. It starts enabled with interval 0 (never fires).
// While enabled with interval I > 0 it fires at each multiple of I after it was last started;
// enabling a disabled timer or writing Interval starts it again from the current time.
class HeadlessTimer final : public TimerWidget {
  public:
    HeadlessTimer(Container& container, String name);
    ~HeadlessTimer() override;
    HeadlessTimer(const HeadlessTimer&) = delete;
    HeadlessTimer& operator=(const HeadlessTimer&) = delete;

    const String& Name() const { return name_; }
    int32_t Interval() const override { return interval_; }
    void Interval(int32_t ms) override;  // negative is error 380
    bool Enabled() const override { return enabled_; }
    void Enabled(bool v) override;
    // When it fires next (microseconds of the container's running time), or none.
    std::optional<int64_t> NextDue() const;
    int32_t FireCount() const { return fired_; }

  private:
    friend class Container;
    void Restart();

    Container& container_;
    String name_;
    int32_t interval_ = 0;
    bool enabled_ = true;
    int64_t start_ = 0;  // running time when last started
    int64_t ticks_ = 0;  // firings since then
    int32_t fired_ = 0;
};

// A line on the control's surface: its geometry in memory, never hit by the mouse.
class HeadlessLine final : public LineWidget {
  public:
    explicit HeadlessLine(String name) : name_(std::move(name)) {}
    const String& Name() const override { return name_; }
    bool Visible() const override { return visible_; }
    void Visible(bool v) override { visible_ = v; }
    int32_t X1() const override { return x1_; }
    void X1(int32_t v) override { x1_ = v; }
    int32_t Y1() const override { return y1_; }
    void Y1(int32_t v) override { y1_ = v; }
    int32_t X2() const override { return x2_; }
    void X2(int32_t v) override { x2_ = v; }
    int32_t Y2() const override { return y2_; }
    void Y2(int32_t v) override { y2_ = v; }
    Color BorderColor() const override { return color_; }
    void BorderColor(Color c) override { color_ = c; }

  private:
    String name_;
    bool visible_ = true;
    int32_t x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
    Color color_ = SystemColor::WindowText;
};

// A filled rectangle on the control's surface: its geometry in memory, never hit by the mouse.
class HeadlessShape final : public ShapeWidget {
  public:
    explicit HeadlessShape(String name) : name_(std::move(name)) {}
    const String& Name() const override { return name_; }
    bool Visible() const override { return visible_; }
    void Visible(bool v) override { visible_ = v; }
    int32_t Left() const override { return left_; }
    void Left(int32_t v) override { left_ = v; }
    int32_t Top() const override { return top_; }
    void Top(int32_t v) override { top_ = v; }
    int32_t Width() const override { return width_; }
    void Width(int32_t v) override;  // negative is error 380
    int32_t Height() const override { return height_; }
    void Height(int32_t v) override;
    Color FillColor() const override { return fill_; }
    void FillColor(Color c) override { fill_ = c; }

  private:
    String name_;
    bool visible_ = true;
    int32_t left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    Color fill_ = SystemColor::Highlight;
};

// The widgets of one surface (a control's site or a hidden form), in creation order. A name and
// index pair can be created once; names are found case-insensitively.
class WidgetStore {
  public:
    WidgetStore(Container& container, Site* site) : container_(container), site_(site) {}

    TextField& CreateTextField(const String& name, int16_t index,
                               const TextFieldSettings& settings);
    Label& CreateLabel(const String& name, int16_t index, const LabelSettings& settings);
    ListWidget& CreateList(const String& name, int16_t index, const ListSettings& settings);
    ButtonWidget& CreateButton(const String& name, int16_t index);
    TimerWidget& CreateTimer(const String& name);
    PictureSurface& CreatePictureSurface(const String& name);
    LineWidget& CreateLine(const String& name);
    ShapeWidget& CreateShape(const String& name);

    HeadlessWidget* Find(StringView name, int16_t index) const;
    HeadlessTimer* FindTimer(StringView name) const;
    HeadlessLine* FindLine(StringView name) const;
    HeadlessShape* FindShape(StringView name) const;
    const std::vector<std::unique_ptr<HeadlessWidget>>& Widgets() const { return widgets_; }
    const std::vector<std::unique_ptr<HeadlessTimer>>& Timers() const { return timers_; }

  private:
    void CheckNew(StringView name, int16_t index) const;
    // Checks the name is new, creates the widget on this store and keeps it.
    template <class W, class... Args>
    W& Add(const String& name, int16_t index, Args&&... args) {
        CheckNew(name, index);
        auto w = std::make_unique<W>(container_, site_, name, std::forward<Args>(args)...);
        W& ref = *w;
        widgets_.push_back(std::move(w));
        return ref;
    }

    Container& container_;
    Site* site_;
    std::vector<std::unique_ptr<HeadlessWidget>> widgets_;
    std::vector<std::unique_ptr<HeadlessTimer>> timers_;
    std::vector<std::unique_ptr<HeadlessLine>> lines_;
    std::vector<std::unique_ptr<HeadlessShape>> shapes_;
};

}  // namespace qv::headless
