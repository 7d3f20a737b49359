#include "hosts/qt/QtAccessibility.h"

#include <QAccessibleValueInterface>
#include <QAccessibleWidget>
#include <cmath>

#include "hosts/qt/NumBox.h"

namespace qv::qt {

namespace {

class NumBoxAccessible final : public QAccessibleWidget, public QAccessibleValueInterface {
  public:
    explicit NumBoxAccessible(QWidget* w) : QAccessibleWidget(w, QAccessible::SpinBox) {}

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return box().displayText();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = box().box().Locked();
        return s;
    }

    QVariant currentValue() const override {
        const QVariant v = box().Value();
        return v.isValid() ? QVariant(v.toDouble()) : QVariant();
    }
    void setCurrentValue(const QVariant& value) override { box().setValue(value); }
    // The range the box checks, else what its digits can hold.
    QVariant maximumValue() const override {
        const QVnumBoxControl& b = box().box();
        if (b.CheckRange()) return b.LargestValue();
        return std::pow(10.0, b.PreDecimalNumbers()) - step();
    }
    QVariant minimumValue() const override {
        const QVnumBoxControl& b = box().box();
        if (b.CheckRange()) return b.SmallestValue();
        return b.AllowMinus() ? -maximumValue().toDouble() : 0.0;
    }
    QVariant minimumStepSize() const override { return step(); }

  private:
    NumBox& box() const { return *static_cast<NumBox*>(widget()); }
    double step() const { return std::pow(10.0, -box().box().PostDecimalNumbers()); }
};

QAccessibleInterface* Factory(const QString& className, QObject* object) {
    if (className == QLatin1String("qv::qt::NumBox") && object && object->isWidgetType())
        return new NumBoxAccessible(static_cast<QWidget*>(object));
    return nullptr;
}

}  // namespace

void InstallAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(&Factory);
        return true;
    }();
    (void)installed;
}

}  // namespace qv::qt
