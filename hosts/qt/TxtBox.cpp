#include "hosts/qt/TxtBox.h"

#include <limits>

namespace qv::qt {

Color ColorArg(const QColor& c) {
    if (!c.isValid()) Raise(err::InvalidPropertyValue);
    return FromQColor(c);
}

TxtBox::TxtBox(QWidget* parent) : PropertyWriteGate(parent) {
    auto control = std::make_unique<QVtxtBoxControl>(site());
    connectEvents_(*control);
    attach(std::move(control), nullptr);
}

TxtBox::TxtBox(PropertyBag& bag, QWidget* parent) : PropertyWriteGate(parent) {
    auto control = std::make_unique<QVtxtBoxControl>(site());
    connectEvents_(*control);
    attach(std::move(control), &bag);
}

void TxtBox::connectEvents_(QVtxtBoxControl& c) {
    auto& e = c.events;
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
    e.MouseUp = [this](int16_t& b, int16_t& s, float& x, float& y) { emit MouseUp(b, s, x, y); };
    e.ValidationCheck = [this](bool& ok) { emit ValidationCheck(ok); };
}

int16_t TxtBox::Int16Arg(int v) {
    if (v < std::numeric_limits<int16_t>::min() || v > std::numeric_limits<int16_t>::max())
        Raise(err::InvalidPropertyValue);
    return static_cast<int16_t>(v);
}

qv::Font TxtBox::FontArg(const QFont& f) {
    qv::Font font;
    AssignFromQFont(font, f);
    return font;
}

}  // namespace qv::qt
