// QtButton: a push button drawn by the control's surface.
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionButton>

#include "hosts/qt/QtConvert.h"
#include "hosts/qt/QtWidgets.h"

namespace qv::qt {

namespace {
// The glyph a one-character caption in a symbol font stands for; 0 when it is plain text.
enum class Glyph { None, ArrowDown, Ellipsis };
Glyph GlyphOf(const Font& font, const String& caption) {
    if (caption.size() != 1) return Glyph::None;
    if (EqualsNoCase(font.Name(), u"Wingdings") && caption[0] == 0xF2) return Glyph::ArrowDown;
    if (EqualsNoCase(font.Name(), u"Symbol") && caption[0] == 0xBC) return Glyph::Ellipsis;
    return Glyph::None;
}
}  // namespace

QtButton::QtButton(QtSite* site, QWidget* parent, QtWidgetStore* store, String name, int16_t index)
    : QtWidgetBase(site, parent, store, std::move(name), index, SystemColor::ButtonFace,
                   SystemColor::ButtonText) {}

void QtButton::Caption(const String& v) {
    if (v == caption_) return;
    caption_ = v;
    Redraw();
}

bool QtButton::OnMouse(QEvent* e) {
    const bool wasPressed = pressed_;
    const bool handled = QtWidgetItem::OnMouse(e);
    if (pressed_ != wasPressed) Redraw();
    return handled;
}

void QtButton::Paint(QPainter& p) const {
    const QRect r = PixelRect();
    if (r.isEmpty() || !parent_) return;
    QStyle* style = parent_->style();
    QStyleOptionButton option;
    option.initFrom(parent_);
    option.rect = r;
    option.state = QStyle::State_None;
    if (enabled_) option.state |= QStyle::State_Enabled;
    option.state |= pressed_ ? QStyle::State_Sunken : QStyle::State_Raised;
    option.palette.setColor(QPalette::Button, ToQColor(backColor_));
    option.palette.setColor(QPalette::ButtonText, ToQColor(foreColor_));
    p.save();
    p.setClipRect(r);
    style->drawControl(QStyle::CE_PushButtonBevel, &option, &p, parent_);
    const QRect inner = r.adjusted(2, 2, -2, -2).translated(pressed_ ? 1 : 0, pressed_ ? 1 : 0);
    const QColor text = enabled_
                            ? ToQColor(foreColor_)
                            : parent_->palette().color(QPalette::Disabled, QPalette::ButtonText);
    switch (GlyphOf(font_->font, caption_)) {
        case Glyph::ArrowDown: {
            QStyleOption arrow = option;
            // The arrow keeps a third of the button around it, as a combo box's does.
            const int side = std::max(4, std::min(inner.width(), inner.height()) * 2 / 3);
            arrow.rect = QRect(0, 0, side, side);
            arrow.rect.moveCenter(inner.center());
            arrow.palette.setColor(QPalette::ButtonText, text);
            style->drawPrimitive(QStyle::PE_IndicatorArrowDown, &arrow, &p, parent_);
            break;
        }
        case Glyph::Ellipsis: {
            QFont f = parent_->font();
            f.setBold(true);
            f.setPixelSize(std::max(6, inner.height() * 2 / 3));
            p.setFont(f);
            p.setPen(text);
            p.drawText(inner, Qt::AlignCenter, QString(QChar(0x2026)));
            break;
        }
        case Glyph::None:
            p.setFont(font_->qfont);
            p.setPen(text);
            p.drawText(inner, Qt::AlignCenter, ToQString(caption_));
            break;
    }
    p.restore();
}

}  // namespace qv::qt
