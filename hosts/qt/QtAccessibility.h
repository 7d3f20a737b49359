// Accessibility of the control widgets: what a screen reader reads of them.
#pragma once

namespace qv::qt {

// Installs (once) the accessible interfaces of the control widgets without a field of their own:
// the numeric box reads as a QDoubleSpinBox does (role, name from its buddy label, value with the
// value interface, text). Controls with fields need none: their fields are Qt's own editors and
// carry the control widget's name and description.
void InstallAccessibility();

}  // namespace qv::qt
