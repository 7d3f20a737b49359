// ControlWidget: a control on a Qt form. The base of the Qt widgets of all controls (TxtBox, ...).
//
// It owns the control and its site, delivers the lifecycle notices (Initialize, InitProperties
// or ReadProperties, Resize whenever Qt resizes it, Terminate when it is destroyed), passes the
// focus it gets on to the control's first field, and turns the control's events into signals
// with the same arguments. By-reference arguments (KeyAscii, ValueOkay) come back from slots
// connected directly (the default within one thread).
#pragma once

#include <QWidget>
#include <memory>

#include "hosts/qt/QtHost.h"
#include "library/Control.h"
#include "library/RuntimeError.h"

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

    void resizeEvent(QResizeEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void showEvent(QShowEvent* e) override;

  private:
    friend class PropertyWriteGate;
    friend class QtSite;
    void refuse(const char* property, const RuntimeError& e, int* status);

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

}  // namespace qv::qt
