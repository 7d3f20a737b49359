// Constituent widgets: the pieces a control is built of, created for it by its host.
//
// A control never paints. It creates its widgets through the host (by name and index, with their
// fixed settings), sets their properties and handles their notices. Every host implements these
// interfaces: the headless host in memory, the Qt host on Qt widgets.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "library/Font.h"
#include "library/ItemList.h"
#include "library/Picture.h"
#include "library/String.h"

namespace qv {

// A colour in the container's format: low byte red, then green, then blue; the top bit set
// names a system colour (0x80000005 window background, 0x80000008 window text, ...).
using Color = uint32_t;

namespace SystemColor {
inline constexpr Color WindowBackground = 0x80000005;
inline constexpr Color WindowText = 0x80000008;
inline constexpr Color Highlight = 0x8000000D;
inline constexpr Color HighlightText = 0x8000000E;
inline constexpr Color ButtonFace = 0x8000000F;
inline constexpr Color ButtonText = 0x80000012;
}  // namespace SystemColor

// Shift state bits of key and mouse notices.
namespace ShiftState {
inline constexpr int16_t Shift = 1;
inline constexpr int16_t Ctrl = 2;
inline constexpr int16_t Alt = 4;
}  // namespace ShiftState

// Mouse button bits.
namespace MouseButton {
inline constexpr int16_t Left = 1;
inline constexpr int16_t Right = 2;
inline constexpr int16_t Middle = 4;
}  // namespace MouseButton

// The notices a widget delivers to its owner. By-reference arguments come back possibly changed
// and the widget goes on with the changed values (a KeyPress handler that sets KeyAscii to 0
// cancels the character; a KeyDown handler that sets KeyCode to 0 stops the widget's own action
// for that key). Unset handlers do nothing.
struct WidgetNotices {
    std::function<void(int16_t& KeyCode, int16_t& Shift)> KeyDown;
    std::function<void(int16_t& KeyAscii)> KeyPress;
    std::function<void(int16_t& KeyCode, int16_t& Shift)> KeyUp;
    std::function<void()> Change;
    std::function<void()> Click;
    std::function<void()> DblClick;
    std::function<void()> GotFocus;
    std::function<void()> LostFocus;
    std::function<void(int16_t& Button, int16_t& Shift, float& X, float& Y)> MouseDown;
    std::function<void(int16_t& Button, int16_t& Shift, float& X, float& Y)> MouseMove;
    std::function<void(int16_t& Button, int16_t& Shift, float& X, float& Y)> MouseUp;
    std::function<void()> Timer;
    std::function<void()> DropDown;  // a list drops down
};

// Handlers that several widgets share (a control's field array, its labels), each notice told
// the element index of the widget that sent it. A widget with a sink keeps no slots of its own:
// a slot table is a dozen function objects, and a control has several widgets.
class NoticeSink {
  public:
    virtual void KeyDown(int16_t /*Index*/, int16_t& /*KeyCode*/, int16_t& /*Shift*/) {}
    virtual void KeyPress(int16_t /*Index*/, int16_t& /*KeyAscii*/) {}
    virtual void KeyUp(int16_t /*Index*/, int16_t& /*KeyCode*/, int16_t& /*Shift*/) {}
    virtual void Change(int16_t /*Index*/) {}
    virtual void Click(int16_t /*Index*/) {}
    virtual void DblClick(int16_t /*Index*/) {}
    virtual void GotFocus(int16_t /*Index*/) {}
    virtual void LostFocus(int16_t /*Index*/) {}
    virtual void MouseDown(int16_t /*Index*/, int16_t& /*Button*/, int16_t& /*Shift*/, float& /*X*/,
                           float& /*Y*/) {}
    virtual void MouseMove(int16_t /*Index*/, int16_t& /*Button*/, int16_t& /*Shift*/, float& /*X*/,
                           float& /*Y*/) {}
    virtual void MouseUp(int16_t /*Index*/, int16_t& /*Button*/, int16_t& /*Shift*/, float& /*X*/,
                         float& /*Y*/) {}
    virtual void Timer(int16_t /*Index*/) {}
    virtual void DropDown(int16_t /*Index*/) {}

  protected:
    ~NoticeSink() = default;
};

// Where a widget's notices go: its sink when it has one, else its own slots (made on first use).
// Hosts deliver through the Notify members, which call a copy of a slot: a handler may clear or
// replace its own slot while it runs (a one-shot handler).
class NoticeTarget {
  public:
    WidgetNotices& notices() {
        if (!slots_) slots_ = std::make_unique<WidgetNotices>();
        return *slots_;
    }
    void SetNoticeSink(NoticeSink* sink, int16_t index) {
        sink_ = sink;
        sinkIndex_ = index;
    }
    // Nothing is delivered afterwards (the owner is going away).
    void ClearNotices() {
        slots_.reset();
        sink_ = nullptr;
    }

    void NotifyKeyDown(int16_t& KeyCode, int16_t& Shift) {
        Deliver(&WidgetNotices::KeyDown, &NoticeSink::KeyDown, KeyCode, Shift);
    }
    void NotifyKeyPress(int16_t& KeyAscii) {
        Deliver(&WidgetNotices::KeyPress, &NoticeSink::KeyPress, KeyAscii);
    }
    void NotifyKeyUp(int16_t& KeyCode, int16_t& Shift) {
        Deliver(&WidgetNotices::KeyUp, &NoticeSink::KeyUp, KeyCode, Shift);
    }
    void NotifyChange() { Deliver(&WidgetNotices::Change, &NoticeSink::Change); }
    void NotifyClick() { Deliver(&WidgetNotices::Click, &NoticeSink::Click); }
    void NotifyDblClick() { Deliver(&WidgetNotices::DblClick, &NoticeSink::DblClick); }
    void NotifyGotFocus() { Deliver(&WidgetNotices::GotFocus, &NoticeSink::GotFocus); }
    void NotifyLostFocus() { Deliver(&WidgetNotices::LostFocus, &NoticeSink::LostFocus); }
    void NotifyMouseDown(int16_t& Button, int16_t& Shift, float& X, float& Y) {
        Deliver(&WidgetNotices::MouseDown, &NoticeSink::MouseDown, Button, Shift, X, Y);
    }
    void NotifyMouseMove(int16_t& Button, int16_t& Shift, float& X, float& Y) {
        Deliver(&WidgetNotices::MouseMove, &NoticeSink::MouseMove, Button, Shift, X, Y);
    }
    void NotifyMouseUp(int16_t& Button, int16_t& Shift, float& X, float& Y) {
        Deliver(&WidgetNotices::MouseUp, &NoticeSink::MouseUp, Button, Shift, X, Y);
    }
    void NotifyTimer() { Deliver(&WidgetNotices::Timer, &NoticeSink::Timer); }
    void NotifyDropDown() { Deliver(&WidgetNotices::DropDown, &NoticeSink::DropDown); }

  protected:
    NoticeTarget() = default;
    ~NoticeTarget() = default;

  private:
    template <class... A>
    void Deliver(std::function<void(A&...)> WidgetNotices::*slot,
                 void (NoticeSink::*sinkNotice)(int16_t, A&...), A&... args) {
        if (sink_) return (sink_->*sinkNotice)(sinkIndex_, args...);
        if (!slots_ || !((*slots_).*slot)) return;
        const std::function<void(A & ...)> call = (*slots_).*slot;
        call(args...);
    }

    std::unique_ptr<WidgetNotices> slots_;
    NoticeSink* sink_ = nullptr;
    int16_t sinkIndex_ = 0;
};

// Properties every visible widget has. Positions and sizes are twips in the parent's coordinates.
class Widget : public NoticeTarget {
  public:
    virtual ~Widget() = default;

    virtual const String& Name() const = 0;
    virtual int16_t Index() const = 0;  // element index in a widget array, -1 for a single widget

    virtual bool Visible() const = 0;
    virtual void Visible(bool v) = 0;
    virtual bool Enabled() const = 0;
    virtual void Enabled(bool v) = 0;

    // Setting a size may leave a different size (a single-line field keeps the minimum height its
    // font needs); read it back.
    virtual int32_t Left() const = 0;
    virtual void Left(int32_t v) = 0;
    virtual int32_t Top() const = 0;
    virtual void Top(int32_t v) = 0;
    virtual int32_t Width() const = 0;
    virtual void Width(int32_t v) = 0;
    virtual int32_t Height() const = 0;
    virtual void Height(int32_t v) = 0;

    virtual Color BackColor() const = 0;
    virtual void BackColor(Color c) = 0;
    virtual Color ForeColor() const = 0;
    virtual void ForeColor(Color c) = 0;

    // The widget keeps its own copy of the attributes.
    virtual const Font& GetFont() const = 0;
    virtual void SetFont(const Font& f) = 0;

    virtual const String& ToolTipText() const = 0;
    virtual void ToolTipText(const String& v) = 0;

    // 0..15 or 99; any other value is error 380.
    virtual int16_t MousePointer() const = 0;
    virtual void MousePointer(int16_t v) = 0;
    virtual std::shared_ptr<Picture> MouseIcon() const = 0;
    virtual void MouseIcon(std::shared_ptr<Picture> p) = 0;

    virtual void Refresh() = 0;
    virtual void SetFocus() = 0;
};

// Fixed settings of a text field, chosen when it is created.
struct TextFieldSettings {
    bool multiLine = false;
    bool verticalScrollBar = false;  // multi-line fields only
    bool border = false;             // a bordered field draws its own frame...
    bool threeD = true;              // ...sunken (3-D) or flat
    // The control acts on Enter in this field: a dialog's default button does not take it.
    bool takesEnter = false;
};

// An editable text field. It inserts typed characters at its selection, honours Locked and
// MaxLength, and sends Change only when its text changes (writes included).
class TextField : public Widget {
  public:
    virtual const TextFieldSettings& Settings() const = 0;

    virtual const String& Text() const = 0;
    virtual void Text(const String& v) = 0;  // selection goes to the start, Change if different
    // Selection in 16-bit units. SelStart beyond the end clamps to the end; SelLength beyond the
    // text clamps; negative values are error 380.
    virtual int32_t SelStart() const = 0;
    virtual void SelStart(int32_t v) = 0;  // also empties the selection
    virtual int32_t SelLength() const = 0;
    virtual void SelLength(int32_t v) = 0;
    virtual String SelText() const = 0;
    virtual void SelText(const String& v) = 0;  // replaces the selection, caret after it
    virtual bool Locked() const = 0;
    virtual void Locked(bool v) = 0;
    // 0 is no limit; negative is error 380. Limits typing and pasting, not Text writes.
    virtual int32_t MaxLength() const = 0;
    virtual void MaxLength(int32_t v) = 0;
    // "" or one character shown in place of each typed one.
    virtual const String& PasswordChar() const = 0;
    virtual void PasswordChar(const String& v) = 0;
    virtual int16_t Alignment() const { return 0; }  // left, fixed
    virtual bool HideSelection() const { return true; }
};

// Fixed settings of a label.
struct LabelSettings {
    bool border = false;       // draws a frame around its whole area...
    bool threeD = true;        // ...sunken (3-D) or flat
    int16_t alignment = 0;     // 0 left, 1 right, 2 centre
    bool transparent = false;  // draws no background: what lies under it shows through
};

class Label : public Widget {
  public:
    virtual const LabelSettings& Settings() const = 0;
    virtual const String& Caption() const = 0;
    virtual void Caption(const String& v) = 0;
};

// A push button: a caption in its font, drawn raised and pressed while the left button is held.
// It never takes the focus (a click leaves it where it was); its notices are the mouse ones and
// Click.
class ButtonWidget : public Widget {
  public:
    virtual const String& Caption() const = 0;
    virtual void Caption(const String& v) = 0;
};

// Fixed settings of a list widget.
struct ListSettings {
    bool dropDown = true;  // a drop-down list: a one-line box whose height its font sets
};

// A list of items: the host's view of its ItemList, showing every change made through it. A
// drop-down list keeps the height its font gives it, whatever height is set, and drops its list
// below itself. Every change of the selection (the user's or the program's) is a Click notice;
// dropping down is a DropDown notice.
class ListWidget : public Widget {
  public:
    virtual const ListSettings& Settings() const = 0;
    virtual ItemList& Items() = 0;
    virtual const ItemList& Items() const = 0;
    virtual bool Dropped() const = 0;
    // Drops the list down or closes it; closing keeps the selection.
    virtual void Dropped(bool v) = 0;
};

// A timer delivering its Timer notice every Interval milliseconds while enabled.
class TimerWidget : public NoticeTarget {  // Timer only
  public:
    virtual ~TimerWidget() = default;
    virtual int32_t Interval() const = 0;
    virtual void Interval(int32_t ms) = 0;
    virtual bool Enabled() const = 0;
    virtual void Enabled(bool v) = 0;
};

// A drawing surface that measures text in its font.
class PictureSurface : public Widget {
  public:
    virtual int32_t TextWidth(const String& text) const = 0;   // twips
    virtual int32_t TextHeight(const String& text) const = 0;  // twips
};

// A straight line drawn on the control's surface, both end points included. Like every widget it
// lies over those created before it. It has no notices: the mouse reaches whatever lies under it.
// Coordinates are twips in the parent's coordinates.
class LineWidget {
  public:
    virtual ~LineWidget() = default;
    virtual const String& Name() const = 0;
    virtual bool Visible() const = 0;
    virtual void Visible(bool v) = 0;
    virtual int32_t X1() const = 0;
    virtual void X1(int32_t v) = 0;
    virtual int32_t Y1() const = 0;
    virtual void Y1(int32_t v) = 0;
    virtual int32_t X2() const = 0;
    virtual void X2(int32_t v) = 0;
    virtual int32_t Y2() const = 0;
    virtual void Y2(int32_t v) = 0;
    virtual Color BorderColor() const = 0;  // starts as the window text colour
    virtual void BorderColor(Color c) = 0;
};

// A filled rectangle drawn on the control's surface, over the widgets created before it and under
// those created after it (a transparent label made later shows its text over it). No notices: the
// mouse reaches whatever lies under it. A negative width or height is error 380.
class ShapeWidget {
  public:
    virtual ~ShapeWidget() = default;
    virtual const String& Name() const = 0;
    virtual bool Visible() const = 0;
    virtual void Visible(bool v) = 0;
    virtual int32_t Left() const = 0;
    virtual void Left(int32_t v) = 0;
    virtual int32_t Top() const = 0;
    virtual void Top(int32_t v) = 0;
    virtual int32_t Width() const = 0;
    virtual void Width(int32_t v) = 0;
    virtual int32_t Height() const = 0;
    virtual void Height(int32_t v) = 0;
    virtual Color FillColor() const = 0;
    virtual void FillColor(Color c) = 0;
};

// A place where widgets live: a control's own surface, or a hidden form such as the measuring
// form. Widgets are owned by the surface and live as long as it does.
class WidgetFactory {
  public:
    virtual ~WidgetFactory() = default;
    virtual TextField& CreateTextField(const String& name, int16_t index,
                                       const TextFieldSettings& settings) = 0;
    virtual Label& CreateLabel(const String& name, int16_t index,
                               const LabelSettings& settings) = 0;
    virtual ListWidget& CreateList(const String& name, int16_t index,
                                   const ListSettings& settings) = 0;
    virtual ButtonWidget& CreateButton(const String& name, int16_t index) = 0;
    virtual TimerWidget& CreateTimer(const String& name) = 0;
    virtual PictureSurface& CreatePictureSurface(const String& name) = 0;
    virtual LineWidget& CreateLine(const String& name) = 0;
    virtual ShapeWidget& CreateShape(const String& name) = 0;
};

}  // namespace qv
