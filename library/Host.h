// The host: everything a control reaches outside itself.
//
// One Host object serves one control instance (its "site" on a form); the services it offers
// (clock, clipboard, key injection, screen metrics) are usually shared by all sites of a
// container. A failing host call raises qv::RuntimeError into the calling control code.
#pragma once

#include <cstdint>
#include <memory>

#include "library/Font.h"
#include "library/Widgets.h"

namespace qv {

class Control;

// A hidden form loaded for one operation (the measuring form): a place to create widgets on.
class Form : public WidgetFactory {
  public:
    virtual const String& Name() const = 0;
};

// What the About dialog shows.
struct AboutInfo {
    String title;    // library title, trailing blanks removed
    String version;  // "major.minor.revision"
    String description;
};

class Host : public WidgetFactory {
  public:
    // --- The control's own surface -------------------------------------------------------
    // The client area in twips.
    virtual int32_t ScaleWidth() const = 0;
    virtual int32_t ScaleHeight() const = 0;
    // Asks the container to size the control; the container answers at once with a new Resize
    // notice (before this call returns) when the size changes.
    virtual void Size(int32_t width, int32_t height) = 0;
    virtual Color BackColor() const = 0;
    virtual void BackColor(Color c) = 0;
    // The pointer over the control's own surface: a MousePointerEnum value (error 380 for any
    // other), with the icon that Custom (99) shows.
    virtual int16_t MousePointer() const = 0;
    virtual void MousePointer(int16_t v) = 0;
    virtual std::shared_ptr<Picture> MouseIcon() const = 0;
    virtual void MouseIcon(std::shared_ptr<Picture> icon) = 0;

    // --- Ambient properties of the containing form; a failing read raises ------------------
    virtual Font AmbientFont() const = 0;
    // True at run time, false in a designer.
    virtual bool AmbientUserMode() const = 0;

    // --- Extender: members the container adds to each control ("ToolTipText") ------------
    // Error 438 when the container has no member of that name.
    virtual Variant Extender(const String& name) const = 0;

    // Marks a persisted property as changed (the designer's "dirty" flag).
    virtual void PropertyChanged(const String& name) = 0;

    // --- Services ------------------------------------------------------------------------
    virtual float TwipsPerPixelX() const = 0;
    virtual float TwipsPerPixelY() const = 0;

    virtual String ClipboardGetText() = 0;
    virtual void ClipboardSetText(const String& text) = 0;
    virtual void ClipboardClear() = 0;

    // Queues keystrokes to the focused widget, delivered after the current notice returns.
    // Plain characters and braced names: "{BACKSPACE}", "{LEFT}", "{DELETE}", "{ENTER}", ...
    virtual void SendKeys(const String& keys) = 0;
    virtual void Beep() = 0;
    // Seconds since midnight, with fractions.
    virtual float Timer() const = 0;

    // Loads a hidden form by name ("TextHeightTestForm"); it is unloaded when the pointer dies.
    virtual std::unique_ptr<Form> LoadForm(const String& name) = 0;
    // Shows the About dialog modally; returns when the user has closed it.
    virtual void ShowAboutDialog(const AboutInfo& info) = 0;
};

}  // namespace qv
