// The Qt host's widgets: the library's widget interfaces on real Qt widgets.
//
// A text field shows a TextEditModel (the same editing model the headless host uses) on a
// QLineEdit or, multi-line, a QPlainTextEdit. An event filter takes every key, character and
// mouse event before the Qt editor sees it: the owner's notices run first, their by-reference
// arguments may change or cancel the key, then the model edits and the editor shows the result.
// Labels, lines and shapes have no Qt widget: the control's surface draws them under its Qt
// widgets and passes them the mouse (a child widget each would cost kilobytes a control). Lists
// are QComboBoxes, timers QTimers.
#pragma once

#include <QEvent>
#include <QLabel>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <optional>

#include "hosts/qt/QtConvert.h"
#include "library/TextEditModel.h"
#include "library/Widgets.h"

class QLineEdit;
class QPainter;
class QInputMethodEvent;
class QPlainTextEdit;
class QComboBox;

namespace qv::qt {

class QtSite;

class QtWidgetStore;

// A font as the library and Qt see it, shared by every widget item in that font.
struct SharedFont {
    Font font;
    QFont qfont;
};
// The shared font with the attributes of `f`.
std::shared_ptr<const SharedFont> ShareFont(const Font& f);
// One copy of a widget name for all the items that bear it (controls name their widgets alike,
// and a name's own storage would cost every item a block). Names live as long as the program.
const String& InternName(const String& name);

// A Qt widget the host makes for an item only when it is first needed (shown on a visible
// control, focused, asked for), not when the control creates the item: a control makes widgets it
// may never show (the text box has three fields and shows one), and Qt editors are costly to
// make. Until then the item keeps every property itself and the Qt widget gets them all when it
// is made.
class QtSurfaceItem {
  public:
    virtual ~QtSurfaceItem();
    QtSurfaceItem(const QtSurfaceItem&) = delete;
    QtSurfaceItem& operator=(const QtSurfaceItem&) = delete;

    // The widget shown (made now if it was not yet); the one that takes the focus for fields.
    QWidget* Surface() {
        Materialize();
        return surface_;
    }
    // The widget if it has been made, nullptr otherwise.
    QWidget* MadeSurface() const { return surface_; }
    void Materialize();
    virtual bool IsVisibleItem() const = 0;
    // The control's site, nullptr on a hidden form.
    QtSite* Site() const { return site_; }
    // Whether the surface draws the item itself (it never gets a Qt widget).
    virtual bool Drawn() const { return false; }
    // Draws a drawn item; the painter paints the surface, in pixels.
    virtual void Paint(QPainter& /*p*/) const {}
    // Where the item lies on the surface, in pixels.
    virtual QRect PixelRect() const { return {}; }

  protected:
    QtSurfaceItem(QtSite* site, QWidget* parent, QtWidgetStore* store);
    // Makes the Qt widget on `parent`, with its fixed settings.
    virtual QWidget* MakeSurface(QWidget* parent) = 0;
    // Gives a newly made Qt widget everything the item kept.
    virtual void ApplyAll() = 0;
    // Shows or hides the made widget; an item shown on a visible surface is made now.
    void ShowSurface(bool visible);
    void DestroySurface();
    // Repaints a drawn item where it was last drawn and where it lies now.
    void Redraw();

    QtSite* site_;
    QWidget* parent_;
    QtWidgetStore* store_;
    QPointer<QWidget> surface_;
    QRect drawnAt_;  // where a drawn item was when it last asked for a repaint
};

// An item with the widget interface: its notices, the focus and the mouse.
class QtWidgetItem : public QtSurfaceItem {
  public:
    ~QtWidgetItem() override;

    virtual Widget& AsWidget() = 0;
    virtual bool CanTakeFocus() const { return false; }
    // Whether widgets of this kind ever take the focus (a text field does, a label never).
    virtual bool Focusable() const { return false; }

    // Mouse events arrive here from the event filter, before the Qt widget acts. True when the
    // event was handled and the Qt widget must not see it.
    virtual bool OnMouse(QEvent* e);
    virtual bool OnKey(QEvent* /*e*/) { return false; }
    // A style sheet in force changed (the application's or an ancestor's).
    virtual void OnStyleChange() {}
    // Applies the colours again: system colours resolve anew from the palette.
    virtual void ReapplyColors() {}
    // The control's own background changed (what transparent widgets show through).
    virtual void BackgroundChanged() {}
    // The control widget's Qt font changed (what a widget in the same font inherits).
    virtual void ReapplyFont() {}

  protected:
    using QtSurfaceItem::QtSurfaceItem;
    // The widget's own reaction to a press after the notices (the text field places its caret).
    virtual void ActOnMouse(QEvent::Type /*type*/, int16_t /*button*/, int16_t /*shift*/,
                            QPointF /*pos*/) {}
    // Sends `target`'s input events here first (the surface, or a viewport that gets the mouse).
    void Filter(QObject* target);

    bool pressed_ = false;        // a left press on this widget awaits its release
    bool afterDblClick_ = false;  // the release after a double click makes no Click
};

// The widget properties every item implements on its surface; twips are kept as set, the Qt
// widget gets whole pixels.
template <class Interface>
class QtWidgetBase : public Interface, public QtWidgetItem {
  public:
    Widget& AsWidget() override { return *this; }
    const String& Name() const override { return *name_; }
    int16_t Index() const override { return index_; }
    bool Visible() const override { return visible_; }
    void Visible(bool v) override;
    bool Enabled() const override { return enabled_; }
    void Enabled(bool v) override;
    int32_t Left() const override { return left_; }
    void Left(int32_t v) override;
    int32_t Top() const override { return top_; }
    void Top(int32_t v) override;
    int32_t Width() const override { return width_; }
    void Width(int32_t v) override;
    int32_t Height() const override { return height_; }
    void Height(int32_t v) override;
    Color BackColor() const override { return backColor_; }
    void BackColor(Color c) override;
    Color ForeColor() const override { return foreColor_; }
    void ForeColor(Color c) override;
    const Font& GetFont() const override { return font_->font; }
    void SetFont(const Font& f) override;
    const String& ToolTipText() const override;
    void ToolTipText(const String& v) override;
    int16_t MousePointer() const override { return pointer_ ? pointer_->mousePointer : 0; }
    void MousePointer(int16_t v) override;
    std::shared_ptr<Picture> MouseIcon() const override {
        return pointer_ ? pointer_->mouseIcon : nullptr;
    }
    void MouseIcon(std::shared_ptr<Picture> p) override;
    void Refresh() override;
    void SetFocus() override;

    bool IsVisibleItem() const override { return visible_; }
    void ReapplyColors() override { ApplyColors(); }
    void ReapplyFont() override;
    QRect PixelRect() const override;

  protected:
    QtWidgetBase(QtSite* site, QWidget* parent, QtWidgetStore* store, String name, int16_t index,
                 Color back, Color fore);
    void ApplyAll() override;
    virtual int32_t AdjustHeight(int32_t h) const { return h; }
    virtual void ApplyColors();
    virtual void FontChanged() {}
    void ApplyGeometry();
    float TppX() const;
    float TppY() const;

    const String* name_;
    int16_t index_;
    bool visible_ = true;
    bool enabled_ = true;
    int32_t left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    Color backColor_;
    Color foreColor_;
    std::shared_ptr<const SharedFont> font_;  // shared by the items with the same font
    // The tooltip and pointer, made on the first write that sets one: most widgets have none.
    struct PointerSettings {
        String toolTip;
        int16_t mousePointer = 0;
        std::shared_ptr<Picture> mouseIcon;
    };
    PointerSettings& Pointer();
    std::unique_ptr<PointerSettings> pointer_;
};

class QtTextField final : public QtWidgetBase<TextField>, private TextEditModel::Environment {
  public:
    QtTextField(QtSite* site, QWidget* parent, QtWidgetStore* store, String name, int16_t index,
                const TextFieldSettings& settings);
    ~QtTextField() override;

    const TextFieldSettings& Settings() const override { return settings_; }
    const String& Text() const override { return model_.Text(); }
    void Text(const String& v) override;
    int32_t SelStart() const override { return model_.SelStart(); }
    void SelStart(int32_t v) override;
    int32_t SelLength() const override { return model_.SelLength(); }
    void SelLength(int32_t v) override;
    String SelText() const override { return model_.SelText(); }
    void SelText(const String& v) override;
    bool Locked() const override { return model_.Locked(); }
    void Locked(bool v) override;
    int32_t MaxLength() const override { return model_.MaxLength(); }
    void MaxLength(int32_t v) override { model_.MaxLength(v); }
    const String& PasswordChar() const override { return model_.PasswordChar(); }
    void PasswordChar(const String& v) override;

    bool CanTakeFocus() const override { return visible_ && enabled_; }
    bool Focusable() const override { return true; }
    bool OnKey(QEvent* e) override;
    void OnStyleChange() override { ApplyColors(); }
    const TextEditModel& Model() const { return model_; }
    // Types one keystroke as the user would (key down, its action, character, key up): the edit
    // menu's entries.
    void TypeKey(int16_t keyCode, int16_t shift, char16_t character);

  protected:
    int32_t AdjustHeight(int32_t h) const override;
    void ApplyColors() override;
    void FontChanged() override;
    QWidget* MakeSurface(QWidget* parent) override;
    void ApplyAll() override;
    void ActOnMouse(QEvent::Type type, int16_t button, int16_t shift, QPointF pos) override;

  private:
    // TextEditModel::Environment
    void Beep() override;
    String ClipboardText() override;
    void ClipboardText(const String& text) override;
    void TextChanged() override;

    // Shows the model's text and selection on the editor.
    void Show();
    // Brings the editor's text up to the model's: the model's last edit alone when the editor
    // shows the revision before it, the whole text otherwise. False when it was up to date.
    bool ShowText();
    bool ApplyLastEdit();
    int EditorLength() const;
    int ExpectedEditorLength() const;
    // The editor's selection made by Qt itself (accessibility, input methods) back into the model.
    void AdoptEditorSelection();
    int32_t PositionAt(QPointF pos) const;  // pixels in the editor's coordinates
    int32_t ToModel(int docPos) const;
    int ToDocument(int32_t modelPos) const;
    QString DisplayText() const;
    QString DisplayText(int32_t start, int32_t end) const;  // the editor's text for a span
    void Deliver(int16_t keyCode, int16_t shift, char16_t character, bool keyDown);

    TextFieldSettings settings_;
    TextEditModel model_;
    QLineEdit* line_ = nullptr;
    QPlainTextEdit* plain_ = nullptr;
    bool showing_ = false;    // the editor's signals come from Show()
    bool composing_ = false;  // the editor shows an input method's preedit text
    bool filterOff_ = false;  // an event this field passes to its editor itself
    QString styleSheet_;      // the style sheet this field set on its editor
    // The input method's composition shown on the editor; only committed text reaches the model.
    void ShowPreedit(const QInputMethodEvent& e);
    bool textShown_ = false;  // the editor shows the model's text at shownRevision_
    uint64_t shownRevision_ = 0;
};

// A label: its background, frame and caption, drawn by the surface.
class QtLabel final : public QtWidgetBase<Label> {
  public:
    QtLabel(QtSite* site, QWidget* parent, QtWidgetStore* store, String name, int16_t index,
            const LabelSettings& settings);
    const LabelSettings& Settings() const override { return settings_; }
    const String& Caption() const override { return caption_; }
    void Caption(const String& v) override;

    void BackgroundChanged() override {
        if (settings_.transparent) Redraw();
    }
    bool Drawn() const override { return true; }
    void Paint(QPainter& p) const override;
    // The colours it is drawn in: the fill (invalid when transparent) and the caption's, which
    // stays readable on what lies under it.
    QColor FillColor() const;
    QColor TextColor() const;

  protected:
    QWidget* MakeSurface(QWidget* /*parent*/) override { return nullptr; }
    void ApplyAll() override {}
    void ApplyColors() override { Redraw(); }

  private:
    LabelSettings settings_;
    String caption_;
};

// A push button drawn by the surface in the style's button look, sunken while pressed. It takes
// no focus. Captions in the symbol fonts that controls use for glyphs (an arrow in Wingdings, an
// ellipsis in Symbol) are drawn as those glyphs, whatever fonts the system has.
class QtButton final : public QtWidgetBase<ButtonWidget> {
  public:
    QtButton(QtSite* site, QWidget* parent, QtWidgetStore* store, String name, int16_t index);
    const String& Caption() const override { return caption_; }
    void Caption(const String& v) override;
    bool Drawn() const override { return true; }
    void Paint(QPainter& p) const override;
    bool OnMouse(QEvent* e) override;

  protected:
    QWidget* MakeSurface(QWidget* /*parent*/) override { return nullptr; }
    void ApplyAll() override {}
    void ApplyColors() override { Redraw(); }
    void FontChanged() override { Redraw(); }

  private:
    String caption_;
};

class ItemListModel;

// A list: a QComboBox over a Qt item model that shows the item list (never a copy of it).
class QtList final : public QtWidgetBase<ListWidget>, private ItemList::Listener {
  public:
    QtList(QtSite* site, QWidget* parent, QtWidgetStore* store, String name, int16_t index,
           const ListSettings& settings);
    ~QtList() override;
    const ListSettings& Settings() const override { return settings_; }
    ItemList& Items() override { return items_; }
    const ItemList& Items() const override { return items_; }
    bool Dropped() const override { return dropped_; }
    void Dropped(bool v) override;
    // The combo box's popup opened or closed (the user's doing or the program's).
    void PopupShown(bool shown);
    // The user chose an item in the combo box.
    void Chosen(int index);
    // Announces to Qt the appended items it has not heard of yet.
    void CatchUp();

  protected:
    QWidget* MakeSurface(QWidget* parent) override;
    void ApplyAll() override;
    int32_t AdjustHeight(int32_t h) const override;
    void FontChanged() override;

  private:
    void ItemsAboutToBeInserted(int32_t first, int32_t count) override;
    void ItemsAboutToBeRemoved(int32_t first, int32_t count) override;
    void ItemsInserted(int32_t first, int32_t count) override;
    void ItemsRemoved(int32_t first, int32_t count) override;
    void ItemChanged(int32_t index) override;
    void SelectionChanged(int32_t index) override;
    void ShowSelection();

    ListSettings settings_;
    ItemList items_;
    std::unique_ptr<ItemListModel> model_;  // made with the combo box
    bool dropped_ = false;
    bool showing_ = false;        // the combo box's signals come from this item's own writes
    bool appending_ = false;      // the insert under way is an append, announced later
    bool catchUpPosted_ = false;  // a CatchUp waits in the event loop
};

class QtPictureSurface final : public QtWidgetBase<PictureSurface> {
  public:
    QtPictureSurface(QtSite* site, QWidget* parent, QtWidgetStore* store, String name);
    int32_t TextWidth(const String& text) const override;
    int32_t TextHeight(const String& text) const override;

  protected:
    QWidget* MakeSurface(QWidget* parent) override;
};

// A line, drawn with both end points; the mouse passes through it.
class QtLine final : public LineWidget, public QtSurfaceItem {
  public:
    QtLine(QtSite* site, QWidget* parent, QtWidgetStore* store, String name);
    const String& Name() const override { return *name_; }
    bool Visible() const override { return visible_; }
    void Visible(bool v) override;
    int32_t X1() const override { return x1_; }
    void X1(int32_t v) override;
    int32_t Y1() const override { return y1_; }
    void Y1(int32_t v) override;
    int32_t X2() const override { return x2_; }
    void X2(int32_t v) override;
    int32_t Y2() const override { return y2_; }
    void Y2(int32_t v) override;
    Color BorderColor() const override { return color_; }
    void BorderColor(Color c) override;
    bool IsVisibleItem() const override { return visible_; }
    bool Drawn() const override { return true; }
    void Paint(QPainter& p) const override;
    QRect PixelRect() const override;  // the bounding box, both ends inside

  protected:
    QWidget* MakeSurface(QWidget* /*parent*/) override { return nullptr; }
    void ApplyAll() override {}

  private:
    const String* name_;
    bool visible_ = true;
    int32_t x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
    Color color_ = SystemColor::WindowText;
};

// A filled rectangle; the mouse passes through it.
class QtShape final : public ShapeWidget, public QtSurfaceItem {
  public:
    QtShape(QtSite* site, QWidget* parent, QtWidgetStore* store, String name);
    const String& Name() const override { return *name_; }
    bool Visible() const override { return visible_; }
    void Visible(bool v) override;
    int32_t Left() const override { return left_; }
    void Left(int32_t v) override;
    int32_t Top() const override { return top_; }
    void Top(int32_t v) override;
    int32_t Width() const override { return width_; }
    void Width(int32_t v) override;  // negative: 380
    int32_t Height() const override { return height_; }
    void Height(int32_t v) override;  // negative: 380
    Color FillColor() const override { return fill_; }
    void FillColor(Color c) override;
    bool IsVisibleItem() const override { return visible_; }
    bool Drawn() const override { return true; }
    void Paint(QPainter& p) const override;
    QRect PixelRect() const override;

  protected:
    QWidget* MakeSurface(QWidget* /*parent*/) override { return nullptr; }
    void ApplyAll() override {}

  private:
    const String* name_;
    bool visible_ = true;
    int32_t left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    Color fill_ = SystemColor::Highlight;
};

class QtTimer final : public TimerWidget {
  public:
    explicit QtTimer(QtSite* site);
    int32_t Interval() const override { return interval_; }
    void Interval(int32_t ms) override;  // negative: 380
    bool Enabled() const override { return enabled_; }
    void Enabled(bool v) override;

  private:
    void Update();
    QTimer timer_;
    int32_t interval_ = 0;
    bool enabled_ = true;
};

}  // namespace qv::qt
