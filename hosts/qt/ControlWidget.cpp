#include "hosts/qt/ControlWidget.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDialog>
#include <QDynamicPropertyChangeEvent>
#include <QFocusEvent>
#include <QHelpEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMetaProperty>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpression>
#include <QResizeEvent>
#include <QToolTip>
#include <limits>

#include "hosts/qt/QtKeys.h"
#include "library/Keyboard.h"
#include "library/ScopedFlag.h"

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
    // As a QLineEdit: grows along a form's row, takes the focus by Tab and by click.
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    setMouseTracking(true);  // drawn labels hear MouseMove without a button, as any window
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
    // A control without fields takes the focus by a press on itself or its labels as the
    // container does (a disabled label takes none), not by Qt's click focus.
    if (!site_->HasFocusableWidget()) setFocusPolicy(Qt::TabFocus);
    adoptedFont_ = font();
    pushEnabledToQt();
    site_->SurfaceResized();
    updateFocusProxy();
}

void ControlWidget::readProperties(PropertyBag& bag) {
    control_->UserControl_ReadProperties(bag);
    pushEnabledToQt();
    site_->SurfaceResized();
    updateGeometry();
    updateFocusProxy();
}

void ControlWidget::writeProperties(PropertyBag& bag) {
    control_->UserControl_WriteProperties(bag);
    // Disabled with a group box, not by the application: the stored setting stays enabled.
    if (!isEnabled() && !testAttribute(Qt::WA_ForceDisabled))
        bag.WriteProperty(u"Enabled", Variant(true), Variant(true));
}

// --- One enabled state ------------------------------------------------------------------------

std::optional<bool> ControlWidget::controlEnabled() const {
    if (!control_->Members().Find(u"Enabled")) return std::nullopt;  // a control without it
    return control_->GetProperty(u"Enabled").ToBool();
}

void ControlWidget::pushEnabledToQt() {
    // A loaded disabled control disables its widget; a control placed inside a disabled
    // ancestor starts disabled.
    const ScopedFlag guard(syncingEnabled_);
    const std::optional<bool> enabled = controlEnabled();
    if (!enabled) return;
    if (!*enabled)
        QWidget::setEnabled(false);
    else if (!isEnabled())
        QtServices::Instance().Guard([&] { control_->LetProperty(u"Enabled", Variant(false)); });
}

void ControlWidget::followQtEnabled() {
    if (!attached_ || syncingEnabled_) return;
    const bool enabled = isEnabled();
    const ScopedFlag guard(syncingEnabled_);
    QtServices::Instance().Guard([&] {
        const std::optional<bool> current = controlEnabled();
        if (current && *current != enabled) control_->LetProperty(u"Enabled", Variant(enabled));
    });
}

void ControlWidget::controlEnabledChanged() {
    if (!attached_ || syncingEnabled_) return;
    const ScopedFlag guard(syncingEnabled_);
    const bool wanted = controlEnabled().value_or(true);
    QWidget::setEnabled(wanted);
    // Inside a disabled ancestor the widget stays disabled, and so does the control.
    if (isEnabled() != wanted)
        QtServices::Instance().Guard(
            [&] { control_->LetProperty(u"Enabled", Variant(isEnabled())); });
}

// --- The form's font and palette --------------------------------------------------------------

void ControlWidget::followFormFont() {
    if (!attached_) return;
    const QFont now = font();
    qv::Font adopted;
    AssignFromQFont(adopted, adoptedFont_);
    const std::shared_ptr<qv::Font> current = control_->GetProperty(u"Font").As<qv::Font>();
    // The application set a font of its own on the control: it stays. A QWidget::setFont on
    // this widget is the application's choice too.
    const bool follow =
        testAttribute(Qt::WA_SetFont) || (current && current->SameAttributes(adopted));
    adoptedFont_ = now;
    if (!follow) return;
    auto font = std::make_shared<qv::Font>();
    AssignFromQFont(*font, now);
    if (current && current->SameAttributes(*font)) return;
    QtServices::Instance().Guard([&] { control_->LetProperty(u"Font", Variant(font)); });
    updateGeometry();
}

void ControlWidget::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    switch (e->type()) {
        case QEvent::EnabledChange:
            followQtEnabled();
            break;
        case QEvent::FontChange:
            followFormFont();
            // Widgets that inherited the old font keep theirs when the control did not follow.
            if (attached_)
                for (const auto& item : site_->Widgets().Items()) item->ReapplyFont();
            break;
        case QEvent::PaletteChange:
        case QEvent::ApplicationPaletteChange:
            // System colours resolve anew; the text colour keeps its contrast.
            if (attached_) site_->ReapplyColors();
            break;
        default:
            break;
    }
}

// --- Focus ------------------------------------------------------------------------------------

void ControlWidget::updateFocusProxy() {
    if (!attached_) return;
    QtWidgetItem* target = site_->ProxyTarget();
    QWidget* proxy = target ? target->Surface() : nullptr;
    if (focusProxy() != proxy) setFocusProxy(proxy);
    // The control holds the focus itself (its field was just swapped): the new field takes it.
    // (Accessible names are given on focus entry: looking up the buddy scans the window.)
    if (proxy && window()->focusWidget() == this && proxy->isVisibleTo(this)) {
        updateFieldAccessibility();
        proxy->setFocus(Qt::OtherFocusReason);
    }
}

void ControlWidget::focusEntered(bool field) {
    updateFieldAccessibility();
    if (field) {
        // The focus sits on a field: the widget an item delegate watches hears of it too.
        QFocusEvent in(QEvent::FocusIn, Qt::OtherFocusReason);
        QCoreApplication::sendEvent(this, &in);
    }
}

void ControlWidget::focusLeft(bool field) {
    if (edited_) {
        edited_ = false;
        callSlots([&] { emit editingFinished(); });
    }
    if (!field) return;
    // Qt sent its focus-out to the field; item delegates (QDataWidgetMapper) commit on the
    // focus-out of the widget they map, this one.
    QFocusEvent out(QEvent::FocusOut, Qt::OtherFocusReason);
    QCoreApplication::sendEvent(this, &out);
}

void ControlWidget::updateFieldAccessibility() {
    QString name = accessibleName();
    if (name.isEmpty()) {
        for (const QLabel* label : window()->findChildren<QLabel*>())
            if (label->buddy() == this) {
                name = label->text();
                name.remove(QRegularExpression(QStringLiteral("&(?!&)")));
                break;
            }
    }
    const QString description = accessibleDescription();
    for (const auto& item : site_->Widgets().Items())
        if (item->Focusable())
            if (QWidget* field = item->MadeSurface()) {
                if (field->accessibleName() != name) field->setAccessibleName(name);
                if (field->accessibleDescription() != description)
                    field->setAccessibleDescription(description);
            }
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

void ControlWidget::paintEvent(QPaintEvent* e) {
    QPainter painter(this);
    if (site_->PaintsBackground()) painter.fillRect(e->rect(), ToQColor(site_->BackColor()));
    site_->Widgets().PaintDrawn(painter, e->rect());
}

void ControlWidget::showEvent(QShowEvent* e) {
    QWidget::showEvent(e);
    site_->Widgets().MaterializeVisible();
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
    if (e->type() == QEvent::DynamicPropertyChange) warnUndeclaredProperty(*this, *e);
    if (e->type() == QEvent::ToolTip) {
        // A drawn label's own tooltip, over it; the control's elsewhere.
        const auto* help = static_cast<QHelpEvent*>(e);
        if (QtWidgetItem* item = site_->Widgets().DrawnItemAt(help->pos()))
            if (const String& tip = item->AsWidget().ToolTipText(); !tip.empty()) {
                QToolTip::showText(help->globalPos(), ToQString(tip), this, item->PixelRect());
                return true;
            }
    }
    if (e->type() == QEvent::Leave && hovered_) {
        hovered_ = nullptr;
        hoveredPointer_ = 0;
        site_->ShowPointer(nullptr);
    }
    return QWidget::event(e);
}

bool DialogTakesKey(const QWidget& w, const QKeyEvent& k, bool fieldUsesEnter) {
    if (k.modifiers() & ~Qt::KeypadModifier) return false;
    const auto* dialog = qobject_cast<const QDialog*>(w.window());
    if (!dialog) return false;
    if (k.key() == Qt::Key_Escape) return true;  // the dialog's reject(), its cancel button
    if ((k.key() != Qt::Key_Return && k.key() != Qt::Key_Enter) || fieldUsesEnter) return false;
    const auto buttons = dialog->findChildren<QPushButton*>();
    return std::any_of(buttons.begin(), buttons.end(),
                       [](const QPushButton* b) { return b->isDefault() && b->isVisible(); });
}

void warnUndeclaredProperty(const QObject& o, const QEvent& e) {
    const QByteArray name = static_cast<const QDynamicPropertyChangeEvent&>(e).propertyName();
    if (name.startsWith("_q_") || !o.property(name.constData()).isValid()) return;
    QByteArray hint;
    const QMetaObject* meta = o.metaObject();
    for (int i = 0; i < meta->propertyCount(); ++i)
        if (qstricmp(meta->property(i).name(), name.constData()) == 0)
            hint = QByteArray(" (did you mean \"") + meta->property(i).name() + "\"?)";
    qWarning(
        "%s has no property \"%s\"%s: it is kept as a dynamic property, which the control "
        "reads only as an extender property",
        meta->className(), name.constData(), hint.constData());
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
    // Enter and Escape that a dialog's default and cancel buttons take never reach the control.
    if (DialogTakesKey(*this, *e, false)) return e->ignore();
    if (e->matches(QKeySequence::SelectAll)) return selectAll();
    const MappedKey k = MapQtKey(e->key(), e->modifiers(), e->text());
    // Tab moves the focus (QWidget::event did, or there is nowhere to go); the control hears
    // nothing of it.
    if (k.keyCode == Key::Tab && !(k.shift & (ShiftState::Ctrl | ShiftState::Alt)))
        return e->ignore();
    deliverKey(k.keyCode, k.shift, k.character, true);
}

void ControlWidget::keyReleaseEvent(QKeyEvent* e) {
    if (!hasOwnFocus()) return QWidget::keyReleaseEvent(e);
    if (DialogTakesKey(*this, *e, false) || e->matches(QKeySequence::SelectAll)) return e->ignore();
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

bool ControlWidget::mouseToDrawn(QMouseEvent* e) {
    if (!control_) return false;
    // Only the surface's own mouse: not what a child widget passed on.
    const QPoint at = e->position().toPoint();
    QtWidgetItem* under = childAt(at) ? nullptr : site_->Widgets().DrawnItemAt(at);
    if (e->buttons() == Qt::NoButton) {
        const int16_t pointer = under ? under->AsWidget().MousePointer() : 0;
        if (under != hovered_ || pointer != hoveredPointer_) {
            hovered_ = under;
            hoveredPointer_ = pointer;
            site_->ShowPointer(under);
        }
    }
    QtWidgetItem* item = mouseHolder_ ? mouseHolder_ : under;
    if (!item) return false;
    if (e->type() == QEvent::MouseButtonPress) mouseHolder_ = item;
    if (e->buttons() == Qt::NoButton) mouseHolder_ = nullptr;
    item->OnMouse(e);
    return true;
}

void ControlWidget::mousePressEvent(QMouseEvent* e) {
    if (mouseToDrawn(e)) return;
    // A press on the control's own surface (not one passed on from a widget on it) focuses the
    // control, as a press on its labels does.
    if (control_ && !childAt(e->position().toPoint())) site_->TakeFocus(Qt::MouseFocusReason);
    QWidget::mousePressEvent(e);
}

void ControlWidget::mouseMoveEvent(QMouseEvent* e) {
    if (!mouseToDrawn(e)) QWidget::mouseMoveEvent(e);
}

void ControlWidget::mouseReleaseEvent(QMouseEvent* e) {
    if (!mouseToDrawn(e)) QWidget::mouseReleaseEvent(e);
}

void ControlWidget::mouseDoubleClickEvent(QMouseEvent* e) {
    if (!mouseToDrawn(e)) QWidget::mouseDoubleClickEvent(e);
}

namespace {
QtTextField* VisibleField(const QtSite& site) {
    QtWidgetItem* item = site.ProxyTarget();
    return item ? dynamic_cast<QtTextField*>(item) : nullptr;
}
}  // namespace

void ControlWidget::typeKey(int16_t keyCode, int16_t shift, char16_t character) {
    if (QtTextField* f = VisibleField(*site_))
        f->TypeKey(keyCode, shift, character);
    else
        typeOwnKey(keyCode, shift, character);
}

void ControlWidget::selectAll() {
    if (VisibleField(*site_)) typeKey(int16_t{'A'}, ShiftState::Ctrl, 1);
}

ControlWidget::EditState ControlWidget::editState() const {
    EditState s;
    if (const QtTextField* f = VisibleField(*site_)) {
        const TextEditModel& m = f->Model();
        s.editable = f->Enabled() && !m.Locked();
        s.canUndo = m.CanUndo();
        s.hasSelection = m.SelLength() > 0;
        s.hasText = !m.Text().empty();
    }
    return s;
}

void ControlWidget::typeOwnKey(int16_t keyCode, int16_t shift, char16_t character) {
    deliverKey(keyCode, shift, character, true);
    deliverKey(keyCode, shift, 0, false);
}

void ControlWidget::contextMenuEvent(QContextMenuEvent* e) {
    if (!control_) return;
    site_->TakeFocus(Qt::PopupFocusReason);
    std::unique_ptr<QMenu> menu(createStandardContextMenu());
    menu->exec(e->globalPos());
}

QMenu* ControlWidget::createStandardContextMenu() {
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("qt_edit_menu"));
    const EditState state = editState();
    const bool clipboardText = !QGuiApplication::clipboard()->text().isEmpty();
    // Each entry is the key that does it, so the control's events, limits and beeps apply.
    struct Entry {
        const char* text;
        QKeySequence::StandardKey shortcut;
        int16_t keyCode, shift;
        char16_t character;
        bool enabled;
    };
    const Entry entries[] = {
        {QT_TR_NOOP("&Undo"), QKeySequence::Undo, int16_t{'Z'}, ShiftState::Ctrl, 26,
         state.editable && state.canUndo},
        {QT_TR_NOOP("Cu&t"), QKeySequence::Cut, int16_t{'X'}, ShiftState::Ctrl, 24,
         state.editable && state.hasSelection},
        {QT_TR_NOOP("&Copy"), QKeySequence::Copy, int16_t{'C'}, ShiftState::Ctrl, 3,
         state.hasSelection},
        {QT_TR_NOOP("&Paste"), QKeySequence::Paste, int16_t{'V'}, ShiftState::Ctrl, 22,
         state.editable && clipboardText},
        {QT_TR_NOOP("Delete"), QKeySequence::UnknownKey, Key::Delete, 0, 0,
         state.editable && state.hasSelection},
    };
    for (const Entry& entry : entries) {
        QAction* a = menu->addAction(tr(entry.text));
        if (entry.shortcut != QKeySequence::UnknownKey) a->setShortcut(entry.shortcut);
        a->setEnabled(entry.enabled && isEnabled());
        connect(a, &QAction::triggered, this,
                [this, entry] { typeKey(entry.keyCode, entry.shift, entry.character); });
        if (entry.shortcut == QKeySequence::Undo) menu->addSeparator();
    }
    menu->addSeparator();
    QAction* all = menu->addAction(tr("Select All"));
    all->setShortcut(QKeySequence::SelectAll);
    all->setEnabled(state.hasText && isEnabled());
    connect(all, &QAction::triggered, this, [this] { selectAll(); });
    return menu;
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
    callSlots([&] {
        emit propertyWriteRefused(QString::fromLatin1(property), e.Number(),
                                  ToQString(e.Description()));
    });
}

int PropertyWriteGate::qt_metacall(QMetaObject::Call call, int id, void** args) {
    writeStatus_ = call == QMetaObject::WriteProperty ? static_cast<int*>(args[2]) : nullptr;
    const int r = ControlWidget::qt_metacall(call, id, args);
    // A property of QWidget's was written here: no status word stays for a later setter.
    if (r < 0) writeStatus_ = nullptr;
    return r;
}

}  // namespace qv::qt
