// The Qt host's lines and shapes, drawn by the surface they lie on; the mouse passes through.
#include <QPainter>
#include <algorithm>

#include "hosts/qt/QtWidgets.h"
#include "library/RuntimeError.h"

namespace qv::qt {

QtLine::QtLine(QtSite* site, QWidget* parent, QtWidgetStore* store, String name)
    : QtSurfaceItem(site, parent, store), name_(&InternName(name)) {}

QRect QtLine::PixelRect() const {
    const float tx = TwipsPerPixelX(), ty = TwipsPerPixelY();
    const QPoint a(ToPixels(x1_, tx), ToPixels(y1_, ty)), b(ToPixels(x2_, tx), ToPixels(y2_, ty));
    return {QPoint(std::min(a.x(), b.x()), std::min(a.y(), b.y())),
            QPoint(std::max(a.x(), b.x()), std::max(a.y(), b.y()))};
}

void QtLine::Paint(QPainter& p) const {
    const float tx = TwipsPerPixelX(), ty = TwipsPerPixelY();
    p.setPen(QPen(ToQColor(color_), 0));
    p.drawLine(QPoint(ToPixels(x1_, tx), ToPixels(y1_, ty)),
               QPoint(ToPixels(x2_, tx), ToPixels(y2_, ty)));
}

void QtLine::Visible(bool v) {
    visible_ = v;
    Redraw();
}
void QtLine::X1(int32_t v) {
    x1_ = v;
    Redraw();
}
void QtLine::Y1(int32_t v) {
    y1_ = v;
    Redraw();
}
void QtLine::X2(int32_t v) {
    x2_ = v;
    Redraw();
}
void QtLine::Y2(int32_t v) {
    y2_ = v;
    Redraw();
}
void QtLine::BorderColor(Color c) {
    color_ = c;
    Redraw();
}

QtShape::QtShape(QtSite* site, QWidget* parent, QtWidgetStore* store, String name)
    : QtSurfaceItem(site, parent, store), name_(&InternName(name)) {}

QRect QtShape::PixelRect() const {
    const float tx = TwipsPerPixelX(), ty = TwipsPerPixelY();
    return {ToPixels(left_, tx), ToPixels(top_, ty), ToPixels(width_, tx), ToPixels(height_, ty)};
}

void QtShape::Paint(QPainter& p) const {
    p.fillRect(PixelRect(), ToQColor(fill_));
}

void QtShape::Visible(bool v) {
    visible_ = v;
    Redraw();
}

void QtShape::Left(int32_t v) {
    left_ = v;
    Redraw();
}
void QtShape::Top(int32_t v) {
    top_ = v;
    Redraw();
}
void QtShape::Width(int32_t v) {
    if (v < 0) Raise(err::InvalidPropertyValue);
    width_ = v;
    Redraw();
}
void QtShape::Height(int32_t v) {
    if (v < 0) Raise(err::InvalidPropertyValue);
    height_ = v;
    Redraw();
}
void QtShape::FillColor(Color c) {
    fill_ = c;
    Redraw();
}

}  // namespace qv::qt
