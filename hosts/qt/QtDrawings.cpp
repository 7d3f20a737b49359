// The Qt host's lines and shapes: child widgets that paint themselves and let the mouse through.
#include <QPainter>
#include <algorithm>

#include "hosts/qt/QtWidgets.h"
#include "library/RuntimeError.h"

namespace qv::qt {

namespace {

// Paints one line in its own coordinates; the mouse passes through to what lies under it.
class LineSurface final : public QWidget {
  public:
    explicit LineSurface(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    QLine line;
    QColor color;

  protected:
    void paintEvent(QPaintEvent* /*e*/) override {
        QPainter p(this);
        p.setPen(QPen(color, 0));
        p.drawLine(line);
    }
};

QWidget* MakeShapeSurface(QWidget* parent) {
    auto* w = new QWidget(parent);
    w->setAttribute(Qt::WA_TransparentForMouseEvents);
    w->setAutoFillBackground(true);
    return w;
}

}  // namespace

QtLine::QtLine(QtSite* site, QWidget* parent, QtWidgetStore* store, String name)
    : QtSurfaceItem(site, parent, store), name_(std::move(name)) {}

QWidget* QtLine::MakeSurface(QWidget* parent) {
    return new LineSurface(parent);
}

void QtLine::ApplyAll() {
    if (!surface_) return;
    auto* s = static_cast<LineSurface*>(surface_.data());
    const float tx = TwipsPerPixelX(), ty = TwipsPerPixelY();
    const QPoint a(ToPixels(x1_, tx), ToPixels(y1_, ty)), b(ToPixels(x2_, tx), ToPixels(y2_, ty));
    const QRect box(QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
                    QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y())));  // both ends inside
    s->setGeometry(box);
    s->line = QLine(a - box.topLeft(), b - box.topLeft());
    s->color = ToQColor(color_);
    s->update();
}

void QtLine::Visible(bool v) {
    visible_ = v;
    ShowSurface(v);
}
void QtLine::X1(int32_t v) {
    x1_ = v;
    ApplyAll();
}
void QtLine::Y1(int32_t v) {
    y1_ = v;
    ApplyAll();
}
void QtLine::X2(int32_t v) {
    x2_ = v;
    ApplyAll();
}
void QtLine::Y2(int32_t v) {
    y2_ = v;
    ApplyAll();
}
void QtLine::BorderColor(Color c) {
    color_ = c;
    ApplyAll();
}

QtShape::QtShape(QtSite* site, QWidget* parent, QtWidgetStore* store, String name)
    : QtSurfaceItem(site, parent, store), name_(std::move(name)) {}

QWidget* QtShape::MakeSurface(QWidget* parent) {
    return MakeShapeSurface(parent);
}

void QtShape::ApplyAll() {
    if (!surface_) return;
    const float tx = TwipsPerPixelX(), ty = TwipsPerPixelY();
    surface_->setGeometry(ToPixels(left_, tx), ToPixels(top_, ty), ToPixels(width_, tx),
                          ToPixels(height_, ty));
    QPalette p = surface_->palette();
    p.setColor(QPalette::Window, ToQColor(fill_));
    surface_->setPalette(p);
}

void QtShape::Left(int32_t v) {
    left_ = v;
    ApplyAll();
}
void QtShape::Top(int32_t v) {
    top_ = v;
    ApplyAll();
}
void QtShape::Width(int32_t v) {
    if (v < 0) Raise(err::InvalidPropertyValue);
    width_ = v;
    ApplyAll();
}
void QtShape::Height(int32_t v) {
    if (v < 0) Raise(err::InvalidPropertyValue);
    height_ = v;
    ApplyAll();
}
void QtShape::FillColor(Color c) {
    fill_ = c;
    ApplyAll();
}

}  // namespace qv::qt
