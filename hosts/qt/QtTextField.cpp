// The text field of the Qt host: a QLineEdit or QPlainTextEdit showing the field's edit model.
#include "hosts/qt/QtWidgets.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <climits>
#include <cmath>

#include "hosts/qt/ControlWidget.h"
#include "hosts/qt/QtHost.h"
#include "hosts/qt/QtKeys.h"
#include "library/Keyboard.h"

namespace qv::qt {

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
    NotifyChange();
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
        services.Guard([&] { NotifyKeyUp(keyCode, shift); });
        return;
    }
    // The same steps as the headless host: key down, the key's action, the character, its
    // action. A notice that throws ends the keystroke there.
    services.Guard([&] {
        NotifyKeyDown(keyCode, shift);
        if (keyCode != 0) model_.ActOnKeyDown(keyCode, shift);
        // Ctrl+A selects all, as in every Qt editor.
        if (keyCode == int16_t{'A'} && shift == ShiftState::Ctrl)
            model_.Select(0, static_cast<int32_t>(model_.Text().size()));
        if (character != 0) {
            auto ascii = static_cast<int16_t>(character);
            NotifyKeyPress(ascii);
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
    // While the control's list is dropped, Enter and Escape are the list's.
    if ((e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease) && site_ &&
        !site_->Widgets().AnyListDropped() &&
        DialogTakesKey(*surface_, *ke, settings_.multiLine || settings_.takesEnter))
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
    const int px = QtServices::Instance().LineEditMinimumHeight(font_->font, settings_.border);
    return std::max(h, static_cast<int32_t>(std::ceil(static_cast<float>(px) * TppY())));
}

void QtTextField::ApplyColors() {
    if (!surface_) return;
    const QColor back = ToQColor(backColor_);
    const QColor fore = ReadableTextColor(foreColor_, backColor_);
    // An editor whose inherited colours are the wanted ones keeps no palette of its own (one
    // costs most of a kilobyte an editor, and a form's fields are mostly in their plain state).
    // The groups compared are the ones the editor paints with in its present enabled state.
    if (surface_->testAttribute(Qt::WA_SetPalette)) surface_->setPalette(QPalette());
    QPalette p = surface_->palette();
    const auto inherited = [&](QPalette::ColorGroup g) {
        return p.color(g, QPalette::Base) == back && p.color(g, QPalette::Text) == fore;
    };
    const bool plain = surface_->isEnabled()
                           ? inherited(QPalette::Active) && inherited(QPalette::Inactive)
                           : inherited(QPalette::Disabled);
    if (!plain) {
        p.setColor(QPalette::Base, back);
        p.setColor(QPalette::Text, fore);
        surface_->setPalette(p);
    }
    // A style sheet in force (the application's, an ancestor's) would repaint the editor its own
    // way: the editor's own sheet, which always wins, keeps the state colours and adds no frame.
    // A flat single-line field has no look of its own in Qt styles: its one-pixel line is a sheet.
    const bool flatLine = settings_.border && !settings_.threeD && !settings_.multiLine;
    QString sheet;
    if (flatLine || StyleSheetInForce(*surface_)) {
        QString border;
        if (!settings_.border)
            border = QStringLiteral(" border: none;");
        else if (flatLine)
            border = QStringLiteral(" border: 1px solid %1;")
                         .arg(ToQColor(SystemColor::WindowText).name(QColor::HexArgb));
        sheet = QStringLiteral("%1 { background-color: %2; color: %3;%4 }")
                    .arg(QString::fromLatin1(surface_->metaObject()->className()),
                         back.name(QColor::HexArgb), fore.name(QColor::HexArgb), border);
    }
    if (sheet != styleSheet_) {
        styleSheet_ = sheet;
        surface_->setStyleSheet(sheet);
    }
}

void QtTextField::FontChanged() {
    height_ = AdjustHeight(height_);
    ApplyGeometry();
}

}  // namespace qv::qt
