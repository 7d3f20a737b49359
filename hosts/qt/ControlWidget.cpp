#include "hosts/qt/ControlWidget.h"

#include <QApplication>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QResizeEvent>
#include <limits>

#include "hosts/qt/QtKeys.h"
#include "library/Keyboard.h"

namespace qv::qt {

namespace {
// A new control's size before its own layout: 1500 × 300 twips, as a form designer places it.
constexpr int32_t kInitialWidth = 1500;
constexpr int32_t kInitialHeight = 300;
}  // namespace

ControlWidget::ControlWidget(QWidget* parent) : QWidget(parent) {
    QtServices::Instance().ControlCreated();  // focus tracking from the first control on
    site_ = std::make_unique<QtSite>(*this);
    resize(ToPixels(kInitialWidth, TwipsPerPixelX()), ToPixels(kInitialHeight, TwipsPerPixelY()));
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

ControlWidget::~ControlWidget() {
    if (control_) {
        QtServices::Instance().Guard([&] { control_->UserControl_Terminate(); });
        control_.reset();
    }
    site_.reset();
    if (QtServices* services = QtServices::Existing()) services->ControlDestroyed();
}

void ControlWidget::attach(std::unique_ptr<Control> control, PropertyBag* bag) {
    control_ = std::move(control);
    site_->SetControl(control_.get());
    control_->UserControl_Initialize();
    if (bag)
        control_->UserControl_ReadProperties(*bag);
    else
        control_->UserControl_InitProperties();
    attached_ = true;
    if (!site_->HasFocusableWidget()) {
        // The control takes the focus and the keys itself. Tab reaches it; a press focuses it
        // through the host (mousePressEvent, the labels' press), as the container does.
        setFocusPolicy(Qt::TabFocus);
        setAttribute(Qt::WA_InputMethodEnabled);
    }
    site_->SurfaceResized();
}

void ControlWidget::readProperties(PropertyBag& bag) {
    control_->UserControl_ReadProperties(bag);
    site_->SurfaceResized();
    updateGeometry();
}

void ControlWidget::writeProperties(PropertyBag& bag) {
    control_->UserControl_WriteProperties(bag);
}

QSize ControlWidget::sizeHint() const {
    const int h = std::max(height(), ToPixels(site_->RequestedHeight(), TwipsPerPixelY()));
    return {ToPixels(kInitialWidth, TwipsPerPixelX()), h};
}

QSize ControlWidget::minimumSizeHint() const {
    return {0, ToPixels(site_->RequestedHeight(), TwipsPerPixelY())};
}

void ControlWidget::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    if (attached_) QtServices::Instance().Guard([&] { site_->SurfaceResized(); });
}

void ControlWidget::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    site_->Widgets().MaterializeVisible();
}

void ControlWidget::focusInEvent(QFocusEvent* e) {
    QWidget::focusInEvent(e);
    // The control itself took the focus (setFocus(), a click on its frame): pass it on to the
    // field a user would type into. The control's EnterFocus has run by now.
    if (QtWidgetItem* target = site_->FocusTarget()) target->Surface()->setFocus(e->reason());
}

bool ControlWidget::hasOwnFocus() const {
    return control_ && QApplication::focusWidget() == this;
}

namespace {
// Keys that a control with the focus on its own surface handles before the window's shortcuts:
// typing and the editing keys.
bool OwnsShortcut(const QKeyEvent& k) {
    const Qt::KeyboardModifiers mods = k.modifiers() & ~Qt::KeypadModifier;
    if (!(mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) return true;
    for (auto standard : {QKeySequence::Copy, QKeySequence::Cut, QKeySequence::Paste,
                          QKeySequence::Undo, QKeySequence::Redo, QKeySequence::SelectAll})
        if (k.matches(standard)) return true;
    return mods == Qt::ControlModifier && k.key() == Qt::Key_Insert;
}
}  // namespace

bool ControlWidget::event(QEvent* e) {
    if (e->type() == QEvent::ShortcutOverride && hasOwnFocus() &&
        OwnsShortcut(*static_cast<QKeyEvent*>(e))) {
        e->accept();
        return true;
    }
    return QWidget::event(e);
}

void ControlWidget::deliverKey(int16_t keyCode, int16_t shift, char16_t character, bool keyDown) {
    // The headless host's steps: key down, then the character; key up on release. A notice that
    // throws ends the keystroke there.
    QtServices::Instance().Guard([&] {
        if (!keyDown) {
            control_->UserControl_KeyUp(keyCode, shift);
            return;
        }
        control_->UserControl_KeyDown(keyCode, shift);
        if (character != 0) {
            auto ascii = static_cast<int16_t>(character);
            control_->UserControl_KeyPress(ascii);
        }
    });
}

void ControlWidget::keyPressEvent(QKeyEvent* e) {
    if (!hasOwnFocus()) return QWidget::keyPressEvent(e);
    const MappedKey k = MapQtKey(e->key(), e->modifiers(), e->text());
    // Tab moves the focus (QWidget::event did, or there is nowhere to go); the control hears
    // nothing of it.
    if (k.keyCode == Key::Tab && !(k.shift & (ShiftState::Ctrl | ShiftState::Alt)))
        return e->ignore();
    deliverKey(k.keyCode, k.shift, k.character, true);
}

void ControlWidget::keyReleaseEvent(QKeyEvent* e) {
    if (!hasOwnFocus()) return QWidget::keyReleaseEvent(e);
    const MappedKey k = MapQtKey(e->key(), e->modifiers(), e->text());
    if (k.keyCode == Key::Tab && !(k.shift & (ShiftState::Ctrl | ShiftState::Alt)))
        return e->ignore();
    if (!e->isAutoRepeat()) deliverKey(k.keyCode, k.shift, 0, false);
}

void ControlWidget::inputMethodEvent(QInputMethodEvent* e) {
    if (!hasOwnFocus()) return QWidget::inputMethodEvent(e);
    // Composed characters ("ü" from a dead key) arrive typed, with the "processed" key code.
    for (QChar c : e->commitString()) {
        deliverKey(Key::Processed, 0, c.unicode(), true);
        deliverKey(Key::Processed, 0, 0, false);
    }
    e->accept();
}

void ControlWidget::mousePressEvent(QMouseEvent* e) {
    // A press on the control's own surface (not one passed on from a widget on it) focuses the
    // control, as a press on its labels does.
    if (control_ && !childAt(e->position().toPoint())) site_->TakeFocus(Qt::MouseFocusReason);
    QWidget::mousePressEvent(e);
}

Color ColorArg(const QColor& c) {
    if (!c.isValid()) Raise(err::InvalidPropertyValue);
    return FromQColor(c);
}

int16_t Int16Arg(int v) {
    if (v < std::numeric_limits<int16_t>::min() || v > std::numeric_limits<int16_t>::max())
        Raise(err::InvalidPropertyValue);
    return static_cast<int16_t>(v);
}

qv::Font FontArg(const QFont& f) {
    qv::Font font;
    AssignFromQFont(font, f);
    return font;
}

void ControlWidget::refuse(const char* property, const RuntimeError& e, int* status) {
    if (status) *status = 0;
    lastRefused_ = std::make_unique<RuntimeError>(e);
    emit propertyWriteRefused(QString::fromLatin1(property), e.Number(),
                              ToQString(e.Description()));
}

int PropertyWriteGate::qt_metacall(QMetaObject::Call call, int id, void** args) {
    writeStatus_ = call == QMetaObject::WriteProperty ? static_cast<int*>(args[2]) : nullptr;
    return ControlWidget::qt_metacall(call, id, args);
}

}  // namespace qv::qt
