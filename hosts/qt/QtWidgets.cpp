#include "hosts/qt/QtWidgets.h"

#include <QComboBox>
#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>
#include <unordered_set>

#include "hosts/qt/ControlWidget.h"
#include "hosts/qt/QtHost.h"
#include "hosts/qt/QtKeys.h"
#include "library/Keyboard.h"
#include "library/RuntimeError.h"

namespace qv::qt {

namespace {

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

}  // namespace

const String& InternName(const String& name) {
    static std::unordered_set<String> names;  // nodes stay where they are: references hold
    return *names.insert(name).first;
}

std::shared_ptr<const SharedFont> ShareFont(const Font& f) {
    // Few fonts serve a whole form: a short list, searched from the start.
    static std::vector<std::weak_ptr<const SharedFont>> shared;
    std::erase_if(shared, [](const auto& w) { return w.expired(); });
    for (const auto& w : shared)
        if (auto font = w.lock(); font && font->font.SameAttributes(f)) return font;
    auto font = std::make_shared<const SharedFont>(SharedFont{f, ToQFont(f)});
    shared.push_back(font);
    return font;
}

// --- QtSurfaceItem, QtWidgetItem ------------------------------------------------------------

QtSurfaceItem::QtSurfaceItem(QtSite* site, QWidget* parent, QtWidgetStore* store)
    : site_(site), parent_(parent), store_(store) {}

QtSurfaceItem::~QtSurfaceItem() {
    DestroySurface();
}

void QtSurfaceItem::Materialize() {
    if (surface_ || !parent_ || Drawn()) return;
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

void QtSurfaceItem::Redraw() {
    if (!Drawn() || !parent_) return;
    const QRect now = IsVisibleItem() ? PixelRect() : QRect();
    if (!drawnAt_.isEmpty()) parent_->update(drawnAt_);
    if (!now.isEmpty() && now != drawnAt_) parent_->update(now);
    drawnAt_ = now;
}

void QtSurfaceItem::DestroySurface() {
    if (!surface_) return;
    if (QtServices* services = QtServices::Existing()) services->Unregister(surface_);
    delete surface_.data();
}

QtWidgetItem::~QtWidgetItem() = default;

void QtWidgetItem::Filter(QObject* target) {
    QtServices::Instance().Register(target, this);
}

bool QtWidgetItem::OnMouse(QEvent* e) {
    // Qt shows a disabled widget's mouse to its event filters too; in a container a disabled
    // widget swallows it: no notices, no focus.
    if (!AsWidget().Enabled()) return true;
    auto* me = static_cast<QMouseEvent*>(e);
    const float tppX = TwipsPerPixelX(), tppY = TwipsPerPixelY();
    // Coordinates in the widget's own space, in twips (a drawn item's space starts at its corner).
    const QPointF local =
        surface_ ? surface_->mapFromGlobal(me->globalPosition())
                 : parent_->mapFromGlobal(me->globalPosition()) - QPointF(PixelRect().topLeft());
    float x = static_cast<float>(local.x()) * tppX;
    float y = static_cast<float>(local.y()) * tppY;
    int16_t shift = ShiftOf(me->modifiers());
    Widget& n = AsWidget();
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
            services.Guard([&] { n.NotifyMouseDown(button, shift, x, y); });
            ActOnMouse(e->type(), button, shift, local);
            return true;
        }
        case QEvent::MouseMove: {
            int16_t button = ButtonsOf(me->buttons());
            services.Guard([&] { n.NotifyMouseMove(button, shift, x, y); });
            ActOnMouse(e->type(), button, shift, local);
            return true;
        }
        case QEvent::MouseButtonRelease: {
            int16_t button = ButtonsOf(me->button());
            const bool click = pressed_ && button == MouseButton::Left && !afterDblClick_;
            pressed_ = false;
            afterDblClick_ = false;
            services.Guard([&] {
                n.NotifyMouseUp(button, shift, x, y);
                if (click) n.NotifyClick();
            });
            return true;
        }
        case QEvent::MouseButtonDblClick: {
            afterDblClick_ = true;
            pressed_ = false;
            services.Guard([&] { n.NotifyDblClick(); });
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
      name_(&InternName(name)),
      index_(index),
      backColor_(back),
      foreColor_(fore) {
    font_ = ShareFont(Font());
}

template <class I>
void QtWidgetBase<I>::ApplyAll() {
    ApplyGeometry();
    surface_->setEnabled(enabled_);
    ApplyColors();
    ReapplyFont();
    if (pointer_ && !pointer_->toolTip.empty()) surface_->setToolTip(ToQString(pointer_->toolTip));
    if (pointer_ && pointer_->mousePointer != 0)
        surface_->setCursor(ToQCursor(pointer_->mousePointer, pointer_->mouseIcon.get()));
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
        Redraw();
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
    const bool changed = v != enabled_;
    enabled_ = v;
    if (!surface_) return Redraw();
    surface_->setEnabled(v);
    if (changed) ApplyColors();  // a field may take its colours from the palette's other group
}

template <class I>
QRect QtWidgetBase<I>::PixelRect() const {
    const float tx = TppX(), ty = TppY();
    return {ToPixels(left_, tx), ToPixels(top_, ty), ToPixels(width_, tx), ToPixels(height_, ty)};
}

template <class I>
void QtWidgetBase<I>::ApplyGeometry() {
    if (!surface_) return Redraw();
    surface_->setGeometry(PixelRect());
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
    // Controls recolour on every key: an unchanged colour costs no palette or sheet.
    if (c == backColor_) return;
    backColor_ = c;
    ApplyColors();
}
template <class I>
void QtWidgetBase<I>::ForeColor(Color c) {
    if (c == foreColor_) return;
    foreColor_ = c;
    ApplyColors();
}

template <class I>
void QtWidgetBase<I>::SetFont(const Font& f) {
    font_ = ShareFont(f);
    ReapplyFont();
    Redraw();
    FontChanged();
}

template <class I>
void QtWidgetBase<I>::ReapplyFont() {
    if (!surface_) return;
    // A widget in its parent's font inherits it rather than keep a copy (a font of its own
    // costs a quarter of a kilobyte a widget); the control widget reapplies on a font change.
    const QWidget* parent = surface_->parentWidget();
    if (parent && font_->qfont == parent->font()) {
        if (surface_->testAttribute(Qt::WA_SetFont)) surface_->setFont(QFont());
    } else {
        surface_->setFont(font_->qfont);
    }
}

template <class I>
typename QtWidgetBase<I>::PointerSettings& QtWidgetBase<I>::Pointer() {
    if (!pointer_) pointer_ = std::make_unique<PointerSettings>();
    return *pointer_;
}

template <class I>
const String& QtWidgetBase<I>::ToolTipText() const {
    static const String none;
    return pointer_ ? pointer_->toolTip : none;
}

template <class I>
void QtWidgetBase<I>::ToolTipText(const String& v) {
    if (v.empty() && !pointer_) return;
    Pointer().toolTip = v;
    if (surface_) surface_->setToolTip(ToQString(v));
}

template <class I>
void QtWidgetBase<I>::MousePointer(int16_t v) {
    if ((v < 0 || v > 15) && v != 99) Raise(err::InvalidPropertyValue);
    if (v == 0 && !pointer_) return;
    PointerSettings& p = Pointer();
    p.mousePointer = v;
    if (!surface_) return;
    if (v == 0)
        surface_->unsetCursor();
    else
        surface_->setCursor(ToQCursor(v, p.mouseIcon.get()));
}

template <class I>
void QtWidgetBase<I>::MouseIcon(std::shared_ptr<Picture> icon) {
    if (!icon && !pointer_) return;
    PointerSettings& p = Pointer();
    p.mouseIcon = std::move(icon);
    if (surface_ && p.mousePointer == 99) surface_->setCursor(ToQCursor(99, p.mouseIcon.get()));
}

template <class I>
void QtWidgetBase<I>::Refresh() {
    if (surface_)
        surface_->update();
    else
        Redraw();
}

template <class I>
void QtWidgetBase<I>::SetFocus() {
    if (!site_ || !CanTakeFocus()) Raise(err::InvalidProcedureCall);
    Surface()->setFocus(Qt::OtherFocusReason);
}

// --- QtLabel, QtList, QtPictureSurface, QtTimer ----------------------------------------------

QtLabel::QtLabel(QtSite* site, QWidget* parent, QtWidgetStore* store, String name, int16_t index,
                 const LabelSettings& settings)
    : QtWidgetBase(site, parent, store, std::move(name), index, SystemColor::ButtonFace,
                   SystemColor::ButtonText),
      settings_(settings) {}

QColor QtLabel::FillColor() const {
    return settings_.transparent ? QColor() : ToQColor(backColor_);
}

QColor QtLabel::TextColor() const {
    // A transparent label's text lies on the control's own background.
    const Color under = settings_.transparent && site_ ? site_->BackColor() : backColor_;
    return ReadableTextColor(foreColor_, under);
}

void QtLabel::Paint(QPainter& p) const {
    const QRect r = PixelRect();
    if (r.isEmpty()) return;
    const QColor back = FillColor(), fore = TextColor();
    if (back.isValid()) p.fillRect(r, back);
    const int frame = !settings_.border ? 0 : settings_.threeD ? 2 : 1;
    if (frame == 1) {
        p.setPen(fore);
        p.setBrush(Qt::NoBrush);
        p.drawRect(r.adjusted(0, 0, -1, -1));
    } else if (frame == 2) {
        // A sunken panel two pixels wide: shadow above and left, light below and right.
        const QPalette& pal = parent_->palette();
        const QColor shade = pal.color(QPalette::Dark), light = pal.color(QPalette::Light);
        for (int i = 0; i < 2; ++i) {
            const QRect f = r.adjusted(i, i, -i, -i);
            p.fillRect(f.left(), f.bottom(), f.width(), 1, light);
            p.fillRect(f.right(), f.top(), 1, f.height(), light);
            p.fillRect(f.left(), f.top(), f.width() - 1, 1, shade);
            p.fillRect(f.left(), f.top(), 1, f.height() - 1, shade);
        }
    }
    if (caption_.empty()) return;
    const QFont font = font_->qfont;
    QRect area = r.adjusted(frame, frame, -frame, -frame);
    const Qt::Alignment align = settings_.alignment == 1   ? Qt::AlignRight
                                : settings_.alignment == 2 ? Qt::AlignHCenter
                                                           : Qt::AlignLeft;
    if (frame > 0) {
        // Text in a frame keeps half an "x" from it on its own side.
        const int indent = QFontMetrics(font, parent_).horizontalAdvance(QLatin1Char('x')) / 2;
        if (align & Qt::AlignLeft) area.setLeft(area.left() + indent);
        if (align & Qt::AlignRight) area.setRight(area.right() - indent);
    }
    p.save();
    p.setClipRect(r);
    p.setFont(font);
    p.setPen(fore);
    p.drawText(area, static_cast<int>(align), ToQString(caption_));
    p.restore();
}

void QtLabel::Caption(const String& v) {
    if (v == caption_) return;
    caption_ = v;
    Redraw();
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
    const QFontMetricsF fm(font_->qfont);
    double widest = 0;
    for (const QString& line : ToQString(text).split(QChar(u'\n')))
        widest = std::max(widest, fm.horizontalAdvance(QString(line).remove(QChar(u'\r'))));
    return static_cast<int32_t>(std::ceil(widest) * TppX());
}

int32_t QtPictureSurface::TextHeight(const String& text) const {
    const QFontMetricsF fm(font_->qfont);
    const auto lines = static_cast<double>(ToQString(text).count(QChar(u'\n')) + 1);
    return static_cast<int32_t>(std::ceil(fm.height() * lines) * TppY());
}

QtTimer::QtTimer(QtSite* /*site*/) {
    QObject::connect(&timer_, &QTimer::timeout,
                     [this] { QtServices::Instance().Guard([&] { NotifyTimer(); }); });
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

// Items defined in files of their own.
template class QtWidgetBase<ButtonWidget>;

}  // namespace qv::qt
