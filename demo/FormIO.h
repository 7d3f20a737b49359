// Saving and opening the demo's form as a form file, without dialogs: the main window's Save...
// and Open... and the tests use the same functions.
#pragma once

#include <QString>
#include <QStringList>

#include "demo/DemoForm.h"
#include "formfile/FormFile.h"

namespace qv::demo {

// The form as a document: per control its class, name, geometry in twips and stored properties.
FormDocument CaptureForm(const DemoForm& form);

// Saves the form; raises qv::RuntimeError (75) when the file cannot be written, the old file
// then being left as it was.
void SaveForm(const DemoForm& form, const QString& path);

// Replaces the form's controls with those of the file and returns the problems, one line each
// (empty for a sound file). A damaged file loads what it can: unreadable keys take their
// defaults, a control whose class cannot be created is left out. A file that cannot be read at
// all, or from which nothing could be read, leaves the form as it was. Never throws.
QStringList OpenForm(DemoForm& form, const QString& path);

// The same from a document already read (problems of the reading are the caller's).
QStringList LoadDocument(DemoForm& form, FormDocument& document);

}  // namespace qv::demo
