// The Qt widgets of the controls by class name, for form files and tools.
#pragma once

#include <QWidget>

#include "hosts/qt/ControlWidget.h"

namespace qv::qt {

// A new control widget of the class ("QVtxtBoxControl", "QVnumBoxControl"): placed with its
// defaults, or loaded from `bag`. Error 429 for a class without a Qt widget in this build.
ControlWidget* CreateControlWidget(StringView className, QWidget* parent,
                                   PropertyBag* bag = nullptr);

// The class name of a control widget ("QVtxtBoxControl").
String ClassNameOf(const ControlWidget& widget);

}  // namespace qv::qt
