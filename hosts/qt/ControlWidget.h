// ControlWidget: a control on a Qt form. The base of the Qt widgets of all controls (TxtBox, ...).
//
// It owns the control and its site, delivers the lifecycle notices (Initialize, InitProperties
// or ReadProperties, Resize whenever Qt resizes it, Terminate when it is destroyed), passes the
// focus it gets on to the control's first field, and turns the control's events into signals
// with the same arguments. By-reference arguments (KeyAscii, ValueOkay) come back from slots
// connected directly (the default within one thread).
//
// A control without a field of its own (the numeric box) takes the focus on this widget: Tab and
// a press on it or its labels focus it, and the keys it gets go to the control's
// UserControl_KeyDown, KeyPress and KeyUp.
#pragma once

#include <QColor>
#include <QFont>
#include <QWidget>
#include <memory>

#include "hosts/qt/QtHost.h"
#include "library/Control.h"
#include "library/RuntimeError.h"

// Declares a property's accessors: Name() reads it, setName(v) writes it (raising the control's
// error), and a private writeName(v) serves Qt's property system (a refusal makes setProperty()
// return false). GET and SET are expressions; SET sees the new value as `v`.
#define QV_QT_ACCESSORS(Type, Name, GET, SET)       \
  public:                                           \
    Type Name() const {                             \
        return GET;                                 \
    }                                               \
    void set##Name(const Type& v) {                 \
        SET;                                        \
    }                                               \
                                                    \
  private:                                          \
    void write##Name(const Type& v) {               \
        guardedWrite(#Name, [&] { set##Name(v); }); \
    }                                               \
                                                    \
  public:

namespace qv::qt {

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
    void writeProperties(PropertyBag& bag);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // The last property write through Qt's property system that the control refused.
    const RuntimeError* lastRefusedWrite() const { return lastRefused_.get(); }

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
    // The control marked a persisted property as changed (a designer's "modified" flag).
    void propertyChanged(const QString& name);
    // A write through setProperty() was refused: setProperty() returned false, nothing changed.
    void propertyWriteRefused(const QString& property, int number, const QString& description);

  protected:
    explicit ControlWidget(QWidget* parent);
    // Takes the control (constructed on site()), runs Initialize and InitProperties, or
    // ReadProperties from `bag`, then lays it out.
    void attach(std::unique_ptr<Control> control, PropertyBag* bag);
    // Runs a property write that came through Qt's property system. A refused write (a
    // qv::RuntimeError) makes setProperty() return false and emits propertyWriteRefused.
    template <class F>
    void guardedWrite(const char* property, F&& write) {
        int* status = writeStatus_;
        writeStatus_ = nullptr;
        try {
            write();
        } catch (const RuntimeError& e) {
            refuse(property, e, status);
        }
    }

    // Turns the control's events (a struct of std::function slots named like the signals) into
    // the signals.
    template <class Events>
    void connectEvents(Events& e) {
        e.Change = [this] { emit Change(); };
        e.Click = [this] { emit Click(); };
        e.DblClick = [this] { emit DblClick(); };
        e.KeyDown = [this](int16_t& code, int16_t& shift) { emit KeyDown(code, shift); };
        e.KeyPress = [this](int16_t& ascii) { emit KeyPress(ascii); };
        e.KeyUp = [this](int16_t& code, int16_t& shift) { emit KeyUp(code, shift); };
        e.MouseDown = [this](int16_t& b, int16_t& s, float& x, float& y) {
            emit MouseDown(b, s, x, y);
        };
        e.MouseMove = [this](int16_t& b, int16_t& s, float& x, float& y) {
            emit MouseMove(b, s, x, y);
        };
        e.MouseUp = [this](int16_t& b, int16_t& s, float& x, float& y) {
            emit MouseUp(b, s, x, y);
        };
        e.ValidationCheck = [this](bool& ok) { emit ValidationCheck(ok); };
    }

    bool event(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void showEvent(QShowEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;

  private:
    friend class PropertyWriteGate;
    friend class QtSite;
    void refuse(const char* property, const RuntimeError& e, int* status);
    // Whether this widget itself has the focus: then its keys are the control's.
    bool hasOwnFocus() const;
    void deliverKey(int16_t keyCode, int16_t shift, char16_t character, bool keyDown);

    std::unique_ptr<QtSite> site_;
    std::unique_ptr<Control> control_;
    std::unique_ptr<RuntimeError> lastRefused_;
    int* writeStatus_ = nullptr;
    bool attached_ = false;
};

// Sits between ControlWidget and each control's widget class: it catches the status word of a
// property write on its way to the class's setter, so that guardedWrite() can report a refusal
// to setProperty() (which returns that word). No Q_OBJECT here on purpose: the class's own
// meta-call must call this one first.
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
