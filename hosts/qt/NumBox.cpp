#include "hosts/qt/NumBox.h"

#include <QPainter>

#include "hosts/qt/QtAccessibility.h"
#include "library/Keyboard.h"

namespace qv::qt {

NumBox::NumBox(QWidget* parent) : PropertyWriteGate(parent) {
    InstallAccessibility();
    attachNew<QVnumBoxControl>(nullptr);
}

NumBox::NumBox(PropertyBag& bag, QWidget* parent) : PropertyWriteGate(parent) {
    InstallAccessibility();
    attachNew<QVnumBoxControl>(&bag);
}

bool NumBox::setValue(const QVariant& v) {
    if (!guardedWrite("Value", [&] { box().Value(FromQVariant(v)); })) return false;
    endUnshown();
    return true;
}

void NumBox::writeValue(const QVariant& v) {
    if (setValue(v)) return;
    // Data binding: the previous record's number must not stay on show (nor be written back).
    const RuntimeError* e = lastRefusedWrite();
    const int number = e ? e->Number() : 0;
    const QString description = e ? ToQString(e->Description()) : QString();
    if (!guardedWrite("Value", [&] { box().Value(Variant::Null()); })) return;
    unshown_ = v;
    update();
    callSlots([&] { emit valueNotShown(v, number, description); });
}

void NumBox::endUnshown() {
    if (!unshown_.isValid()) return;
    unshown_ = QVariant();
    update();
}

void NumBox::changed() {
    if (!inProgramWrite()) endUnshown();
    callSlots([&] { emit valueChanged(Value()); });
    callSlots([&] { emit textChanged(displayText()); });
}

void NumBox::paintEvent(QPaintEvent* e) {
    ControlWidget::paintEvent(e);
    if (!unshown_.isValid()) return;
    // As a spreadsheet cell too narrow for its number: marks where the digits would be.
    QPainter p(this);
    p.setFont(ToQFont(*box().Font()));
    p.setPen(ReadableTextColor(box().ForeColor(), site().BackColor()));
    const int margin = fontMetrics().averageCharWidth() / 2 + 2;
    p.drawText(rect().adjusted(margin, 0, -margin, 0), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("####"));
}

void NumBox::selectAll() {
    // Shift+Home is the box's own select-all key.
    typeOwnKey(Key::Home, ShiftState::Shift, 0);
}

ControlWidget::EditState NumBox::editState() const {
    EditState s;
    s.editable = box().Enabled() && !box().Locked();
    s.hasSelection = box().IsHighlighted();
    s.hasText = !box().DisplayText().empty();
    return s;
}

QString NumBox::TextFormatted() const {
    try {
        return ToQString(box().TextFormatted());
    } catch (const RuntimeError&) {
        return {};
    }
}

}  // namespace qv::qt
