// ControlWidget: a control on a Qt form. The base of the Qt widgets of all controls (TxtBox, ...).
//
// It owns the control and its site, delivers the lifecycle notices (Initialize, InitProperties
// or ReadProperties, Resize whenever Qt resizes it, Terminate when it is destroyed), and turns the
// control's events into signals with the same arguments. By-reference arguments (KeyAscii,
// ValueOkay) come back from slots connected directly (the default within one thread).
//
// It is a Qt citizen as a QLineEdit is: a strong focus policy, the visible field as its focus
// proxy (so label buddies, setTabOrder, hasFocus() and focusWidget() work), focus-out and Enter on
// the widget itself (so item delegates and QDataWidgetMapper commit), one enabled state shared
// with Qt (an ancestor's too), the form's font and palette followed while the application has not
// set its own, a context menu and Ctrl+A. Setters never throw: a refused write returns false,
// changes nothing and emits propertyWriteRefused.
//
// A control without a field of its own (the numeric box) takes the focus on this widget: Tab and
// a press on it or its labels focus it, and the keys it gets go to the control's
// UserControl_KeyDown, KeyPress and KeyUp.
#pragma once

#include <QColor>
#include <QFont>
#include <QKeyEvent>
#include <QWidget>
#include <memory>
#include <optional>
#include <utility>

#include "hosts/qt/QtHost.h"
#include "library/Control.h"
#include "library/RuntimeError.h"

class QMenu;

// Declares a property's accessors: Name() reads it, setName(v) writes it and returns false when
// the control refused the write (nothing changed, propertyWriteRefused emitted), and a private
// writeName(v) serves Qt's property system (a refusal makes setProperty() return false). GET and
// SET are expressions; SET sees the new value as `v`.
#define QV_QT_ACCESSORS(Type, Name, GET, SET)     \
  public:                                         \
    Type Name() const {                           \
        return GET;                               \
    }                                             \
    bool set##Name(const Type& v) {               \
        return guardedWrite(#Name, [&] { SET; }); \
    }                                             \
                                                  \
  private:                                        \
    void write##Name(const Type& v) {             \
        set##Name(v);                             \
    }                                             \
                                                  \
  public:

namespace qv::qt {

// Whether a dialog takes this Enter or Escape (its default button, its reject()) rather than the
// control with the focus, as it does from a QLineEdit: Escape always, Enter when a default button
// is shown and the field has no use for Enter (it is single-line).
bool DialogTakesKey(const QWidget& w, const QKeyEvent& k, bool fieldUsesEnter);
// Warns that a dynamic property was set on `o` under a name it does not declare.
void warnUndeclaredProperty(const QObject& o, const QEvent& e);

class ControlWidget : public QWidget {
    Q_OBJECT
  public:
    ~ControlWidget() override;

    Control& control() const { return *control_; }
    // nullptr before the control is attached and while the widget is being destroyed.
    Control* controlOrNull() const { return control_.get(); }
    QtSite& site() const { return *site_; }

    // Loads the control's properties (for form files); the control is then laid out again.
    void readProperties(PropertyBag& bag);
    // Saves them. A control disabled only because an ancestor is stores itself as enabled.
    void writeProperties(PropertyBag& bag);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // The last write the control refused (through a setter or setProperty()).
    const RuntimeError* lastRefusedWrite() const { return lastRefused_.get(); }

    // Selects the whole value, as Ctrl+A does in the field (through the control's own keys and
    // events).
    virtual void selectAll();
    // Types one keystroke (key down, character, key up) where the control takes its keys: its
    // visible field, or this widget.
    virtual void typeKey(int16_t keyCode, int16_t shift, char16_t character);
    // What the edit menu may offer.
    struct EditState {
        bool editable = true;
        bool canUndo = true;
        bool hasSelection = false;
        bool hasText = false;
    };
    // The visible field's (or nothing to select on a control without fields).
    virtual EditState editState() const;
    // The edit menu of the context menu: undo, cut, copy, paste, delete, select all, each acting
    // through the control's keys. The caller owns the menu.
    QMenu* createStandardContextMenu();

    // The focus moved into or out of the control (the host's focus notices call these).
    // `field`: the focus moved to or from one of the control's fields (not this widget).
    void focusEntered(bool field);
    void focusLeft(bool field);
    // Enter in a single-line control: editingFinished, as QLineEdit emits it.
    void finishEditing() {
        edited_ = false;
        emit editingFinished();
    }
    // The control changed its Enabled property.
    void controlEnabledChanged();
    // The accessible name and description of the widget (or its buddy label's text), given to
    // the fields that hold the focus, which are what a screen reader reads.
    void updateFieldAccessibility();
    // Points the focus proxy at the visible field (none for a control without fields); a control
    // holding the focus itself while it has a field passes the focus on to it.
    void updateFocusProxy();

  signals:
    void Change();
    void Click();
    void DblClick();
    void KeyDown(qint16& KeyCode, qint16& Shift);
    void KeyPress(qint16& KeyAscii);
    void KeyUp(qint16& KeyCode, qint16& Shift);
    void MouseDown(qint16& Button, qint16& Shift, float& X, float& Y);
    void MouseMove(qint16& Button, qint16& Shift, float& X, float& Y);
    void MouseUp(qint16& Button, qint16& Shift, float& X, float& Y);
    void ValidationCheck(bool& ValueOkay);
    // The user finished editing: Enter in a single-line control, or the focus left after a change.
    void editingFinished();
    // The control marked a persisted property as changed (a designer's "modified" flag).
    void propertyChanged(const QString& name);
    // A write was refused (a setter returned false, setProperty() returned false); nothing changed.
    void propertyWriteRefused(const QString& property, int number, const QString& description);

  protected:
    explicit ControlWidget(QWidget* parent);
    // Takes the control (constructed on site()), runs Initialize and InitProperties, or
    // ReadProperties from `bag`, then lays it out.
    void attach(std::unique_ptr<Control> control, PropertyBag* bag);
    // Makes the control on site(), turns its events into signals (and `more` connects the
    // control's own events), then attaches it: what every widget's constructor does.
    template <class C, class More = void (*)(C&)>
    void attachNew(
        PropertyBag* bag, More more = [](C&) {}) {
        auto control = std::make_unique<C>(site());
        connectEvents(control->events);
        more(*control);
        attach(std::move(control), bag);
    }
    // Runs a property write. A refused write (a qv::RuntimeError) returns false, makes a
    // setProperty() in progress return false and emits propertyWriteRefused; any other error goes
    // to the host's error handler. Nothing escapes into Qt.
    template <class F>
    bool guardedWrite(const char* property, F&& write) {
        int* status = std::exchange(writeStatus_, nullptr);
        const QtServices::Activity activity;  // declared first: slot errors come after the refusal
        const ProgramWrite during(programWrites_);
        try {
            write();
            return true;
        } catch (const RuntimeError& e) {
            refuse(property, e, status);
        } catch (...) {
            QtServices::Instance().Report(std::current_exception());
        }
        return false;
    }
    // Called after the control raised Change: Qt-style change signals.
    virtual void changed() {}
    // Whether a write through this widget's setters is running (its Change is no user edit).
    bool inProgramWrite() const { return programWrites_ > 0; }

    // Turns the control's events (a struct of std::function slots named like the signals) into
    // the signals.
    template <class Events>
    void connectEvents(Events& e) {
        e.Change = [this] {
            if (!inProgramWrite()) edited_ = true;
            callSlots([&] { emit Change(); });
            callSlots([&] { changed(); });
        };
        e.Click = [this] { callSlots([&] { emit Click(); }); };
        e.DblClick = [this] { callSlots([&] { emit DblClick(); }); };
        // A key whose KeyDown or KeyPress slot throws ends there on both hosts (nothing is
        // typed); the error reaches the error handler through the key's guard.
        e.KeyDown = [this](int16_t& code, int16_t& shift) { emit KeyDown(code, shift); };
        e.KeyPress = [this](int16_t& ascii) { emit KeyPress(ascii); };
        e.KeyUp = [this](int16_t& code, int16_t& shift) {
            callSlots([&] { emit KeyUp(code, shift); });
        };
        e.MouseDown = [this](int16_t& b, int16_t& s, float& x, float& y) {
            callSlots([&] { emit MouseDown(b, s, x, y); });
        };
        e.MouseMove = [this](int16_t& b, int16_t& s, float& x, float& y) {
            callSlots([&] { emit MouseMove(b, s, x, y); });
        };
        e.MouseUp = [this](int16_t& b, int16_t& s, float& x, float& y) {
            callSlots([&] { emit MouseUp(b, s, x, y); });
        };
        e.ValidationCheck = [this](bool& ok) { callSlots([&] { emit ValidationCheck(ok); }); };
    }
    // Emits signals to the application's slots. What a slot throws stays out of the control's
    // steps and out of Qt: the host reports it once the action in progress is done.
    template <class F>
    static void callSlots(F&& emitSignals) noexcept {
        try {
            emitSignals();
        } catch (...) {
            QtServices::Instance().Defer(std::current_exception());
        }
    }
    // Delivers a keystroke to the control on its own surface (key down, character, key up).
    void typeOwnKey(int16_t keyCode, int16_t shift, char16_t character);

    bool event(QEvent* e) override;
    void changeEvent(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;

  private:
    friend class PropertyWriteGate;
    friend class QtSite;
    void refuse(const char* property, const RuntimeError& e, int* status);
    // Whether this widget itself has the focus: then its keys are the control's.
    bool hasOwnFocus() const;
    void deliverKey(int16_t keyCode, int16_t shift, char16_t character, bool keyDown);
    // Passes a mouse event to the drawn item under it (or to the one a press holds until every
    // button is up). False when no drawn item takes it.
    bool mouseToDrawn(QMouseEvent* e);
    std::optional<bool> controlEnabled() const;  // nullopt: the control has no Enabled
    void followQtEnabled();
    void followFormFont();
    void pushEnabledToQt();

    std::unique_ptr<QtSite> site_;
    std::unique_ptr<Control> control_;
    std::unique_ptr<RuntimeError> lastRefused_;
    int* writeStatus_ = nullptr;
    QtWidgetItem* mouseHolder_ = nullptr;  // the drawn item a press went to
    QtWidgetItem* hovered_ = nullptr;      // the drawn item whose pointer shows
    int16_t hoveredPointer_ = 0;           // and that pointer
    int programWrites_ = 0;
    struct ProgramWrite {
        explicit ProgramWrite(int& n) : n_(++n) {}
        ~ProgramWrite() { --n_; }
        ProgramWrite(const ProgramWrite&) = delete;
        ProgramWrite& operator=(const ProgramWrite&) = delete;
        int& n_;
    };

  protected:
    bool attached_ = false;

  private:
    bool syncingEnabled_ = false;
    bool edited_ = false;  // changed since the last editingFinished
    QFont adoptedFont_;    // the form's font the control last took
};

// Sits between ControlWidget and each control's widget class: it catches the status word of a
// property write on its way to the class's setter, so that guardedWrite() can report a refusal
// to setProperty() (which returns that word). No Q_OBJECT here on purpose: the class's own
// meta-call must call this one first.
// Text as a user property for data binding: until the user edits the box it reads back what was
// last written (a database NULL stays NULL, untrimmed text stays untrimmed), so a record the user
// only passed through is written back unchanged.
class WrittenText {
  public:
    QVariant Read(const QString& shown) const { return written_ ? *written_ : QVariant(shown); }
    void Wrote(QVariant v) { written_ = std::move(v); }
    // The text changed; a change the user made forgets what was written.
    void Changed(bool byProgram) {
        if (!byProgram) written_.reset();
    }

  private:
    std::optional<QVariant> written_;
};

class PropertyWriteGate : public ControlWidget {
  public:
    int qt_metacall(QMetaObject::Call call, int id, void** args) override;

  protected:
    using ControlWidget::ControlWidget;
};

// Property values from Qt: an invalid QColor is refused (380), so is an int beyond 16 bits.
Color ColorArg(const QColor& c);
int16_t Int16Arg(int v);
qv::Font FontArg(const QFont& f);

}  // namespace qv::qt
