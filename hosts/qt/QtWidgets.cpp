#include "hosts/qt/QtWidgets.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFontMetricsF>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <climits>
#include <cmath>

#include "hosts/qt/ControlWidget.h"
#include "hosts/qt/QtHost.h"
#include "hosts/qt/QtKeys.h"
#include "library/Keyboard.h"
#include "library/RuntimeError.h"

namespace qv::qt {

namespace {

// Routes a widget's input events to its item before the Qt widget sees them.
class EventFilter final : public QObject {
  public:
    explicit EventFilter(QtWidgetItem& item) : item_(item) {}
    bool eventFilter(QObject* /*watched*/, QEvent* e) override {
        switch (e->type()) {
            case QEvent::KeyPress:
            case QEvent::KeyRelease:
            case QEvent::InputMethod:
                return item_.OnKey(e);
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::MouseMove:
                return item_.OnMouse(e);
            case QEvent::StyleChange:
                item_.OnStyleChange();
                return false;
            default:
                return false;
        }
    }

  private:
    QtWidgetItem& item_;
};

int16_t ButtonsOf(Qt::MouseButtons b) {
    int16_t r = 0;
    if (b & Qt::LeftButton) r |= MouseButton::Left;
    if (b & Qt::RightButton) r |= MouseButton::Right;
    if (b & Qt::MiddleButton) r |= MouseButton::Middle;
    return r;
}

int16_t ShiftOf(Qt::KeyboardModifiers m) {
    return MapQtKey(0, m, {}).shift;
}

// Calls a notice through a copy of its slot: a handler may clear or replace its own slot while it
// runs (a one-shot handler), which would destroy the function being called.
template <class F, class... A>
void Notify(const F& slot, A&&... args) {
    if (!slot) return;
    const F call(slot);
    call(std::forward<A>(args)...);
}

}  // namespace

// --- QtSurfaceItem, QtWidgetItem ------------------------------------------------------------

QtSurfaceItem::QtSurfaceItem(QtSite* site, QWidget* parent, QtWidgetStore* store)
    : site_(site), parent_(parent), store_(store) {}

QtSurfaceItem::~QtSurfaceItem() {
    DestroySurface();
}

void QtSurfaceItem::Materialize() {
    if (surface_ || !parent_) return;
    surface_ = MakeSurface(parent_);
    ApplyAll();
    if (store_) store_->Stack(*this);
    surface_->setVisible(IsVisibleItem());
}

void QtSurfaceItem::ShowSurface(bool visible) {
    if (surface_)
        surface_->setVisible(visible);
    else if (visible && parent_ && parent_->isVisible())
        Materialize();
}

void QtSurfaceItem::DestroySurface() {
    if (!surface_) return;
    if (QtServices* services = QtServices::Existing()) services->Unregister(surface_);
    delete surface_.data();
}

QtWidgetItem::~QtWidgetItem() {
    DestroySurface();  // while the event filter still exists
}

void QtWidgetItem::Filter(QObject* target) {
    if (!filter_) filter_ = std::make_unique<EventFilter>(*this);
    target->installEventFilter(filter_.get());
}

bool QtWidgetItem::OnMouse(QEvent* e) {
    // Qt shows a disabled widget's mouse to its event filters too; in a container a disabled
    // widget swallows it: no notices, no focus.
    if (!AsWidget().Enabled()) return true;
    auto* me = static_cast<QMouseEvent*>(e);
    const float tppX = TwipsPerPixelX(), tppY = TwipsPerPixelY();
    // Coordinates in the widget's own space, in twips.
    const QPointF local = surface_->mapFromGlobal(me->globalPosition());
    float x = static_cast<float>(local.x()) * tppX;
    float y = static_cast<float>(local.y()) * tppY;
    int16_t shift = ShiftOf(me->modifiers());
    WidgetNotices& n = AsWidget().notices;
    QtServices& services = QtServices::Instance();
    switch (e->type()) {
        case QEvent::MouseButtonPress: {
            if (services.SecondPressOfDoubleClick(*me)) return true;  // the double click follows
            int16_t button = ButtonsOf(me->button());
            // A press focuses first, as a container does; then the notice, then the reaction. A
            // widget that takes no focus (a label) gives it to its control.
            if (CanTakeFocus()) {
                if (!surface_->hasFocus()) surface_->setFocus(Qt::MouseFocusReason);
            } else if (site_) {
                site_->TakeFocus(Qt::MouseFocusReason);
            }
            if (button == MouseButton::Left) pressed_ = true;
            afterDblClick_ = false;
            services.Guard([&] { Notify(n.MouseDown, button, shift, x, y); });
            ActOnMouse(e->type(), button, shift, local);
            return true;
        }
        case QEvent::MouseMove: {
            int16_t button = ButtonsOf(me->buttons());
            services.Guard([&] { Notify(n.MouseMove, button, shift, x, y); });
            ActOnMouse(e->type(), button, shift, local);
            return true;
        }
        case QEvent::MouseButtonRelease: {
            int16_t button = ButtonsOf(me->button());
            const bool click = pressed_ && button == MouseButton::Left && !afterDblClick_;
            pressed_ = false;
            afterDblClick_ = false;
            services.Guard([&] {
                Notify(n.MouseUp, button, shift, x, y);
                if (click) Notify(n.Click);
            });
            return true;
        }
        case QEvent::MouseButtonDblClick: {
            afterDblClick_ = true;
            pressed_ = false;
            services.Guard([&] { Notify(n.DblClick); });
            ActOnMouse(e->type(), ButtonsOf(me->button()), shift, local);
            return true;
        }
        default:
            return false;
    }
}

// --- QtWidgetBase ----------------------------------------------------------------------------

template <class I>
QtWidgetBase<I>::QtWidgetBase(QtSite* site, QWidget* parent, QtWidgetStore* store, String name,
                              int16_t index, Color back, Color fore)
    : QtWidgetItem(site, parent, store),
      name_(std::move(name)),
      index_(index),
      backColor_(back),
      foreColor_(fore) {
    font_.emplace();
}

template <class I>
void QtWidgetBase<I>::ApplyAll() {
    ApplyGeometry();
    surface_->setEnabled(enabled_);
    ApplyColors();
    surface_->setFont(ToQFont(*font_));
    if (!toolTip_.empty()) surface_->setToolTip(ToQString(toolTip_));
    if (mousePointer_ != 0) surface_->setCursor(ToQCursor(mousePointer_, mouseIcon_.get()));
}

template <class I>
float QtWidgetBase<I>::TppX() const {
    return TwipsPerPixelX();
}
template <class I>
float QtWidgetBase<I>::TppY() const {
    return TwipsPerPixelY();
}

template <class I>
void QtWidgetBase<I>::Visible(bool v) {
    visible_ = v;
    if (!surface_) {
        if (v && parent_ && parent_->isVisible()) Materialize();
    } else {
        // Keep the focus within the control (as a container does when a field goes away),
        // instead of letting Qt pass it to the next widget on the form.
        if (!v && surface_->hasFocus() && site_) site_->ParkFocus();
        surface_->setVisible(v);
    }
    if (site_ && Focusable()) site_->FieldsChanged();
}

template <class I>
void QtWidgetBase<I>::Enabled(bool v) {
    enabled_ = v;
    if (surface_) surface_->setEnabled(v);
}

template <class I>
void QtWidgetBase<I>::ApplyGeometry() {
    if (!surface_) return;
    const float tx = TppX(), ty = TppY();
    surface_->setGeometry(ToPixels(left_, tx), ToPixels(top_, ty), ToPixels(width_, tx),
                          ToPixels(height_, ty));
}

template <class I>
void QtWidgetBase<I>::Left(int32_t v) {
    left_ = v;
    ApplyGeometry();
}
template <class I>
void QtWidgetBase<I>::Top(int32_t v) {
    top_ = v;
    ApplyGeometry();
}
template <class I>
void QtWidgetBase<I>::Width(int32_t v) {
    if (v < 0) Raise(err::InvalidPropertyValue);
    width_ = v;
    ApplyGeometry();
}
template <class I>
void QtWidgetBase<I>::Height(int32_t v) {
    if (v < 0) Raise(err::InvalidPropertyValue);
    height_ = AdjustHeight(v);
    ApplyGeometry();
}

template <class I>
void QtWidgetBase<I>::ApplyColors() {
    if (!surface_) return;
    QPalette p = surface_->palette();
    p.setColor(QPalette::Window, ToQColor(backColor_));
    p.setColor(QPalette::WindowText, ToQColor(foreColor_));
    surface_->setPalette(p);
    surface_->setAutoFillBackground(true);
}

template <class I>
void QtWidgetBase<I>::BackColor(Color c) {
    backColor_ = c;
    ApplyColors();
}
template <class I>
void QtWidgetBase<I>::ForeColor(Color c) {
    foreColor_ = c;
    ApplyColors();
}

template <class I>
void QtWidgetBase<I>::SetFont(const Font& f) {
    Font copy(f);  // `f` may be this widget's own font
    font_.emplace(copy);
    if (surface_) surface_->setFont(ToQFont(*font_));
    FontChanged();
}

template <class I>
void QtWidgetBase<I>::ToolTipText(const String& v) {
    toolTip_ = v;
    if (surface_) surface_->setToolTip(ToQString(v));
}

template <class I>
void QtWidgetBase<I>::MousePointer(int16_t v) {
    if ((v < 0 || v > 15) && v != 99) Raise(err::InvalidPropertyValue);
    mousePointer_ = v;
    if (!surface_) return;
    if (v == 0)
        surface_->unsetCursor();
    else
        surface_->setCursor(ToQCursor(v, mouseIcon_.get()));
}

template <class I>
void QtWidgetBase<I>::MouseIcon(std::shared_ptr<Picture> p) {
    mouseIcon_ = std::move(p);
    if (surface_ && mousePointer_ == 99) surface_->setCursor(ToQCursor(99, mouseIcon_.get()));
}

template <class I>
void QtWidgetBase<I>::Refresh() {
    if (surface_) surface_->update();
}

template <class I>
void QtWidgetBase<I>::SetFocus() {
    if (!site_ || !CanTakeFocus()) Raise(err::InvalidProcedureCall);
    Surface()->setFocus(Qt::OtherFocusReason);
}

// --- QtTextField -----------------------------------------------------------------------------

namespace {
QWidget* MakeEditor(QWidget* parent, const TextFieldSettings& s) {
    if (!s.multiLine) {
        auto* e = new QLineEdit(parent);
        e->setFrame(s.border);
        e->setMaxLength(INT_MAX);  // the model limits typing; Text writes are never cut
        e->setContextMenuPolicy(Qt::NoContextMenu);
        e->setDragEnabled(false);
        e->setAcceptDrops(false);
        return e;
    }
    auto* e = new QPlainTextEdit(parent);
    e->setFrameShape(s.border ? QFrame::StyledPanel : QFrame::NoFrame);
    if (s.border) e->setFrameShadow(s.threeD ? QFrame::Sunken : QFrame::Plain);
    e->setVerticalScrollBarPolicy(s.verticalScrollBar ? Qt::ScrollBarAlwaysOn
                                                      : Qt::ScrollBarAlwaysOff);
    e->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    e->setTabChangesFocus(true);
    e->setContextMenuPolicy(Qt::NoContextMenu);
    e->setAcceptDrops(false);
    e->document()->setUndoRedoEnabled(false);  // the model keeps the undo step
    return e;
}
}  // namespace

QtTextField::QtTextField(QtSite* site, QWidget* parent, QtWidgetStore* store, String name,
                         int16_t index, const TextFieldSettings& settings)
    : QtWidgetBase(site, parent, store, std::move(name), index, SystemColor::WindowBackground,
                   SystemColor::WindowText),
      settings_(settings),
      model_(settings.multiLine, *this) {
    height_ = AdjustHeight(0);
}

QWidget* QtTextField::MakeSurface(QWidget* parent) {
    QWidget* editor = MakeEditor(parent, settings_);
    if (settings_.multiLine) {
        plain_ = static_cast<QPlainTextEdit*>(editor);
        Filter(plain_);
        Filter(plain_->viewport());  // the viewport gets the mouse
        QObject::connect(plain_, &QPlainTextEdit::cursorPositionChanged, plain_,
                         [this] { AdoptEditorSelection(); });
    } else {
        line_ = static_cast<QLineEdit*>(editor);
        Filter(line_);
        QObject::connect(line_, &QLineEdit::selectionChanged, line_,
                         [this] { AdoptEditorSelection(); });
        QObject::connect(line_, &QLineEdit::cursorPositionChanged, line_,
                         [this] { AdoptEditorSelection(); });
    }
    editor->setAttribute(Qt::WA_InputMethodEnabled, true);
    QtServices::Instance().Register(editor, this);
    textShown_ = false;
    return editor;
}

void QtTextField::ApplyAll() {
    QtWidgetBase::ApplyAll();
    if (line_) line_->setReadOnly(model_.Locked());
    if (plain_) plain_->setReadOnly(model_.Locked());
    Show();
}

QtTextField::~QtTextField() = default;

void QtTextField::Text(const String& v) {
    model_.Text(v);
    Show();
}
void QtTextField::SelStart(int32_t v) {
    model_.SelStart(v);
    Show();
}
void QtTextField::SelLength(int32_t v) {
    model_.SelLength(v);
    Show();
}
void QtTextField::SelText(const String& v) {
    model_.SelText(v);
    Show();
}
void QtTextField::Locked(bool v) {
    model_.Locked(v);
    if (line_) line_->setReadOnly(v);
    if (plain_) plain_->setReadOnly(v);
}
void QtTextField::PasswordChar(const String& v) {
    model_.PasswordChar(v);
    textShown_ = false;  // the same text shows other characters
    Show();
}

void QtTextField::Beep() {
    QtServices::Instance().Beep();
}
String QtTextField::ClipboardText() {
    return FromQString(QGuiApplication::clipboard()->text());
}
void QtTextField::ClipboardText(const String& text) {
    QGuiApplication::clipboard()->setText(ToQString(text));
}
void QtTextField::TextChanged() {
    Show();  // the Change handler sees the new text on screen too
    Notify(notices.Change);
}

QString QtTextField::DisplayText() const {
    const String& t = model_.Text();
    if (!model_.PasswordChar().empty())
        return QString(static_cast<qsizetype>(t.size()), QChar(model_.PasswordChar()[0]));
    if (!plain_) return ToQString(t);
    return DisplayText(0, static_cast<int32_t>(t.size()));
}

QString QtTextField::DisplayText(int32_t start, int32_t end) const {
    const String& t = model_.Text();
    if (!model_.PasswordChar().empty())
        return QString(static_cast<qsizetype>(end - start), QChar(model_.PasswordChar()[0]));
    if (!plain_)
        return QString(reinterpret_cast<const QChar*>(t.data() + start),
                       static_cast<qsizetype>(end - start));
    // The editor keeps one character per line break.
    QString s;
    s.reserve(static_cast<qsizetype>(end - start));
    for (int32_t i = start; i < end; ++i) {
        if (t[i] == u'\r') {
            s += QChar(u'\n');
            if (i + 1 < end && t[i + 1] == u'\n') ++i;
        } else {
            s += QChar(t[i]);
        }
    }
    return s;
}

int QtTextField::ToDocument(int32_t modelPos) const {
    if (!plain_) return modelPos;
    return model_.CollapsedPosition(modelPos);
}

int32_t QtTextField::ToModel(int docPos) const {
    if (!plain_) return docPos;
    return model_.ExpandedPosition(docPos);
}

int QtTextField::EditorLength() const {
    return line_ ? static_cast<int>(line_->text().size())
                 : plain_->document()->characterCount() - 1;  // less the closing paragraph
}

int QtTextField::ExpectedEditorLength() const {
    const auto n = static_cast<int32_t>(model_.Text().size());
    return model_.PasswordChar().empty() ? ToDocument(n) : n;
}

bool QtTextField::ApplyLastEdit() {
    const TextEditModel::Edit& e = model_.LastEdit();
    // A multi-line password field shows one mask character per unit but maps positions by
    // lines; it is shown whole.
    if (e.whole || (plain_ && !model_.PasswordChar().empty())) return false;
    if (line_) {
        if (e.removed > 0)
            line_->setSelection(e.start, e.removed);
        else
            line_->setCursorPosition(e.start);
        line_->insert(DisplayText(e.start, e.start + e.inserted));
        return true;
    }
    // Widen the span over a line break pair it touches, so that no pair straddles its ends in
    // the text before or after the edit; the text around the span is the same in both.
    const String& t = model_.Text();
    const auto n = static_cast<int32_t>(t.size());
    int32_t from = e.start, to = e.start + e.inserted;
    if (from > 0 && t[from - 1] == u'\r') --from;
    if (to < n && t[to] == u'\n') ++to;
    const int docFrom = ToDocument(from);
    // The editor still holds the old text: its end is as far from the span as the model's is.
    const int docTo = EditorLength() - (ToDocument(n) - ToDocument(to));
    if (docTo < docFrom) return false;
    QTextCursor c(plain_->document());
    c.setPosition(docFrom);
    c.setPosition(docTo, QTextCursor::KeepAnchor);
    c.insertText(DisplayText(from, to));
    return true;
}

bool QtTextField::ShowText() {
    const uint64_t revision = model_.Revision();
    if (textShown_ && shownRevision_ == revision && EditorLength() == ExpectedEditorLength())
        return false;
    const bool inStep = textShown_ && (shownRevision_ == revision ||
                                       (shownRevision_ + 1 == revision && ApplyLastEdit()));
    // A length that does not match means the editor lost step: show the whole text.
    if (!inStep || EditorLength() != ExpectedEditorLength()) {
        const QString text = DisplayText();
        if (line_) {
            if (line_->text() != text) line_->setText(text);
        } else if (plain_->toPlainText() != text) {
            plain_->setPlainText(text);
        }
    }
    textShown_ = true;
    shownRevision_ = revision;
    return true;
}

void QtTextField::Show() {
    if (!surface_) return;
    showing_ = true;
    const bool textChanged = ShowText();
    const int anchor = ToDocument(model_.Anchor());
    const int caret = ToDocument(model_.Caret());
    if (line_) {
        if (anchor == caret)
            line_->setCursorPosition(caret);
        else
            line_->setSelection(anchor, caret - anchor);
    } else {
        QTextCursor c = plain_->textCursor();
        // Setting the cursor also scrolls it into view: needed after an edit or a move only.
        if (textChanged || c.anchor() != anchor || c.position() != caret) {
            c.setPosition(anchor);
            c.setPosition(caret, QTextCursor::KeepAnchor);
            plain_->setTextCursor(c);
        }
    }
    showing_ = false;
}

void QtTextField::AdoptEditorSelection() {
    if (showing_) return;
    int anchor, caret;
    if (line_) {
        caret = line_->cursorPosition();
        anchor = !line_->hasSelectedText()          ? caret
                 : line_->selectionStart() == caret ? line_->selectionEnd()
                                                    : line_->selectionStart();
    } else {
        const QTextCursor c = plain_->textCursor();
        caret = c.position();
        anchor = c.anchor();
    }
    model_.Select(ToModel(anchor), ToModel(caret));
}

int32_t QtTextField::PositionAt(QPointF pos) const {
    if (line_) return line_->cursorPositionAt(pos.toPoint());
    const QPoint viewport = plain_->viewport()->mapFrom(plain_, pos.toPoint());
    return ToModel(plain_->cursorForPosition(viewport).position());
}

void QtTextField::ActOnMouse(QEvent::Type type, int16_t button, int16_t shift, QPointF pos) {
    if (!(button & MouseButton::Left)) return;
    switch (type) {
        case QEvent::MouseButtonPress:
            model_.PressAt(PositionAt(pos), (shift & ShiftState::Shift) != 0);
            break;
        case QEvent::MouseMove:
            model_.DragTo(PositionAt(pos));
            break;
        case QEvent::MouseButtonDblClick:
            model_.SelectWordAt(PositionAt(pos));
            break;
        default:
            return;
    }
    Show();
}

void QtTextField::Deliver(int16_t keyCode, int16_t shift, char16_t character, bool keyDown) {
    QtServices& services = QtServices::Instance();
    if (!keyDown) {
        services.Guard([&] { Notify(notices.KeyUp, keyCode, shift); });
        return;
    }
    // The same steps as the headless host: key down, the key's action, the character, its
    // action. A notice that throws ends the keystroke there.
    services.Guard([&] {
        Notify(notices.KeyDown, keyCode, shift);
        if (keyCode != 0) model_.ActOnKeyDown(keyCode, shift);
        // Ctrl+A selects all, as in every Qt editor.
        if (keyCode == int16_t{'A'} && shift == ShiftState::Ctrl)
            model_.Select(0, static_cast<int32_t>(model_.Text().size()));
        if (character != 0) {
            auto ascii = static_cast<int16_t>(character);
            Notify(notices.KeyPress, ascii);
            if (ascii != 0) model_.ActOnKeyPress(ascii);
        }
    });
    Show();
}

void QtTextField::TypeKey(int16_t keyCode, int16_t shift, char16_t character) {
    Deliver(keyCode, shift, character, true);
    Deliver(keyCode, shift, 0, false);
}

void QtTextField::ShowPreedit(const QInputMethodEvent& e) {
    // The editor shows the composition at the caret without touching its text: no selection
    // (the committed text will replace the model's), and no attributes that move the caret.
    QList<QInputMethodEvent::Attribute> attributes;
    for (const auto& a : e.attributes())
        if (a.type == QInputMethodEvent::TextFormat || a.type == QInputMethodEvent::Cursor)
            attributes << a;
    showing_ = true;
    if (line_) {
        line_->setCursorPosition(ToDocument(model_.Caret()));
    } else {
        QTextCursor c = plain_->textCursor();
        c.clearSelection();
        plain_->setTextCursor(c);
    }
    QInputMethodEvent preedit(e.preeditString(), attributes);
    composing_ = !e.preeditString().isEmpty();
    filterOff_ = true;
    QCoreApplication::sendEvent(surface_, &preedit);
    filterOff_ = false;
    showing_ = false;
    if (!composing_) Show();  // composition over or cancelled: the model's selection again
}

bool QtTextField::OnKey(QEvent* e) {
    if (filterOff_) return false;
    if (e->type() == QEvent::InputMethod) {
        auto* ime = static_cast<QInputMethodEvent*>(e);
        // Composed characters ("ü" from a dead key, a CJK word) arrive typed, with the
        // "processed" key code; the composition before them is shown, not typed.
        const QString commit = ime->commitString();
        if (!commit.isEmpty() && composing_) {
            QInputMethodEvent end;
            ShowPreedit(end);
        }
        for (QChar c : commit) {
            Deliver(Key::Processed, 0, c.unicode(), true);
            Deliver(Key::Processed, 0, 0, false);
        }
        if (!ime->preeditString().isEmpty() || (composing_ && commit.isEmpty())) ShowPreedit(*ime);
        return true;
    }
    auto* ke = static_cast<QKeyEvent*>(e);
    // Enter (single-line) and Escape that a dialog takes go on to it through the editor, which
    // ignores them: the field hears nothing of them, as a container's field does not.
    if ((e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease) && site_ &&
        DialogTakesKey(*surface_, *ke, settings_.multiLine))
        return false;
    const MappedKey k = MapQtKey(ke->key(), ke->modifiers(), ke->text());
    // Tab moves the focus (Qt does that); the field hears nothing of it, as in a container.
    if (k.keyCode == Key::Tab && !(k.shift & (ShiftState::Ctrl | ShiftState::Alt))) return false;
    if (e->type() == QEvent::KeyRelease) {
        if (!ke->isAutoRepeat()) Deliver(k.keyCode, k.shift, 0, false);
        return true;
    }
    Deliver(k.keyCode, k.shift, k.character, true);
    if (site_ && !settings_.multiLine && (k.keyCode == Key::Return) && k.shift == 0)
        site_->Surface().finishEditing();
    return true;
}

int32_t QtTextField::AdjustHeight(int32_t h) const {
    if (settings_.multiLine) return h;
    const int px = QtServices::Instance().LineEditMinimumHeight(*font_, settings_.border);
    return std::max(h, static_cast<int32_t>(std::ceil(static_cast<float>(px) * TppY())));
}

void QtTextField::ApplyColors() {
    if (!surface_) return;
    const QColor back = ToQColor(backColor_);
    const QColor fore = ReadableTextColor(foreColor_, backColor_);
    QPalette p = surface_->palette();
    p.setColor(QPalette::Base, back);
    p.setColor(QPalette::Text, fore);
    surface_->setPalette(p);
    // A style sheet in force (the application's, an ancestor's) would repaint the editor its own
    // way: the editor's own sheet, which always wins, keeps the state colours and adds no frame.
    QString sheet;
    if (StyleSheetInForce(*surface_))
        sheet = QStringLiteral("%1 { background-color: %2; color: %3;%4 }")
                    .arg(QString::fromLatin1(surface_->metaObject()->className()),
                         back.name(QColor::HexArgb), fore.name(QColor::HexArgb),
                         settings_.border ? QString() : QStringLiteral(" border: none;"));
    if (sheet != styleSheet_) {
        styleSheet_ = sheet;
        surface_->setStyleSheet(sheet);
    }
}

void QtTextField::FontChanged() {
    height_ = AdjustHeight(height_);
    ApplyGeometry();
}

// --- QtLabel, QtList, QtPictureSurface, QtTimer ----------------------------------------------

QtLabel::QtLabel(QtSite* site, QWidget* parent, QtWidgetStore* store, String name, int16_t index,
                 const LabelSettings& settings)
    : QtWidgetBase(site, parent, store, std::move(name), index, SystemColor::ButtonFace,
                   SystemColor::ButtonText),
      settings_(settings) {}

QWidget* QtLabel::MakeSurface(QWidget* parent) {
    auto* label = new QLabel(parent);
    if (settings_.border) {
        label->setFrameShape(settings_.threeD ? QFrame::Panel : QFrame::Box);
        label->setFrameShadow(settings_.threeD ? QFrame::Sunken : QFrame::Plain);
        label->setLineWidth(settings_.threeD ? 2 : 1);
    }
    label->setAlignment(settings_.alignment == 1   ? Qt::AlignRight
                        : settings_.alignment == 2 ? Qt::AlignHCenter
                                                   : Qt::AlignLeft);
    label->setMouseTracking(true);  // MouseMove without a button, as over any window
    Filter(label);
    return label;
}

void QtLabel::ApplyColors() {
    if (!surface_) return;
    // A transparent label's text lies on the control's own background.
    const Color under = settings_.transparent && site_ ? site_->BackColor() : backColor_;
    QPalette p = surface_->palette();
    p.setColor(QPalette::Window, ToQColor(backColor_));
    p.setColor(QPalette::WindowText, ReadableTextColor(foreColor_, under));
    surface_->setPalette(p);
    surface_->setAutoFillBackground(!settings_.transparent);
}

void QtLabel::ApplyAll() {
    QtWidgetBase::ApplyAll();
    static_cast<QLabel*>(surface_.data())->setText(ToQString(caption_));
}

void QtLabel::Caption(const String& v) {
    caption_ = v;
    if (surface_) static_cast<QLabel*>(surface_.data())->setText(ToQString(v));
}

QtList::QtList(QtSite* site, QWidget* parent, QtWidgetStore* store, String name, int16_t index,
               const ListSettings& settings)
    : QtWidgetBase(site, parent, store, std::move(name), index, SystemColor::WindowBackground,
                   SystemColor::WindowText),
      settings_(settings) {}

QWidget* QtList::MakeSurface(QWidget* parent) {
    return new QComboBox(parent);
}

void QtList::ApplyAll() {
    height_ = AdjustHeight(height_);  // now that Qt can say how high the font makes it
    QtWidgetBase::ApplyAll();
}

int32_t QtList::AdjustHeight(int32_t h) const {
    if (!settings_.dropDown || !surface_) return h;
    // A drop-down list is as high as its font makes it.
    return static_cast<int32_t>(
        std::ceil(static_cast<float>(surface_->sizeHint().height()) * TppY()));
}

void QtList::FontChanged() {
    height_ = AdjustHeight(height_);
    ApplyGeometry();
}

QtPictureSurface::QtPictureSurface(QtSite* site, QWidget* parent, QtWidgetStore* store, String name)
    : QtWidgetBase(site, parent, store, std::move(name), -1, SystemColor::ButtonFace,
                   SystemColor::ButtonText) {
    visible_ = false;  // measures only
}

QWidget* QtPictureSurface::MakeSurface(QWidget* parent) {
    return new QWidget(parent);
}

int32_t QtPictureSurface::TextWidth(const String& text) const {
    const QFontMetricsF fm(ToQFont(*font_));
    double widest = 0;
    for (const QString& line : ToQString(text).split(QChar(u'\n')))
        widest = std::max(widest, fm.horizontalAdvance(QString(line).remove(QChar(u'\r'))));
    return static_cast<int32_t>(std::ceil(widest) * TppX());
}

int32_t QtPictureSurface::TextHeight(const String& text) const {
    const QFontMetricsF fm(ToQFont(*font_));
    const auto lines = static_cast<double>(ToQString(text).count(QChar(u'\n')) + 1);
    return static_cast<int32_t>(std::ceil(fm.height() * lines) * TppY());
}

QtTimer::QtTimer(QtSite* /*site*/) {
    QObject::connect(&timer_, &QTimer::timeout,
                     [this] { QtServices::Instance().Guard([&] { Notify(notices.Timer); }); });
}

void QtTimer::Interval(int32_t ms) {
    if (ms < 0) Raise(err::InvalidPropertyValue);
    interval_ = ms;
    Update();
}

void QtTimer::Enabled(bool v) {
    enabled_ = v;
    Update();
}

void QtTimer::Update() {
    // A timer runs while enabled with an interval above 0; a change restarts the interval.
    if (enabled_ && interval_ > 0)
        timer_.start(interval_);
    else
        timer_.stop();
}

template class QtWidgetBase<TextField>;
template class QtWidgetBase<Label>;
template class QtWidgetBase<ListWidget>;
template class QtWidgetBase<PictureSurface>;

}  // namespace qv::qt
