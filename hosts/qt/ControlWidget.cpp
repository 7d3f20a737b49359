#include "hosts/qt/ControlWidget.h"

#include <QFocusEvent>
#include <QResizeEvent>

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
