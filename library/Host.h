// The host: everything a control reaches outside itself.
//
// One Host object serves one control instance (its "site" on a form); the services it offers
// (clock, clipboard, key injection, screen metrics) are usually shared by all sites of a
// container. A failing host call raises qv::RuntimeError into the calling control code.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "library/Font.h"
#include "library/Widgets.h"

namespace qv {

class Control;

// A form the library loads for one operation: the measuring form (hidden), or a dialog such as
// the About box, whose widgets are made on it and which is then shown modally.
class Form : public WidgetFactory {
  public:
    virtual const String& Name() const = 0;
    // The window title.
    virtual const String& Caption() const = 0;
    virtual void Caption(const String& v) = 0;
    // The client area, in twips.
    virtual void Size(int32_t width, int32_t height) = 0;
    // Shows the form modally, over the control's form; returns once it is unloaded (Unload, or
    // the user closing its window). A form is shown once.
    virtual void ShowModal() = 0;
    // Closes the form shown modally; ShowModal returns. Nothing for a form not shown.
    virtual void Unload() = 0;
};

// A value read from the system's settings store (the registry): its type (1 a string, 4 a
// 32-bit number, others as the store has them) and its bytes (strings in UTF-16, little-endian
// like numbers).
struct RegistryValue {
    uint32_t type = 0;
    std::vector<uint8_t> data;
};

// Roots of the settings store.
namespace RegistryRoot {
inline constexpr uint32_t LocalMachine = 0x80000002;
}

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

    // Loads a form by name ("TextHeightTestForm", "frmAbout"), hidden until shown; it is unloaded
    // when the pointer dies.
    virtual std::unique_ptr<Form> LoadForm(const String& name) = 0;

    // --- The system: its settings store, programs, files and message boxes ---------------
    // Opens key `keyName` under `root` with the access rights `access`: a handle, or nullopt.
    virtual std::optional<uint32_t> RegistryOpenKey(uint32_t root, const String& keyName,
                                                    uint32_t access) = 0;
    // Value `valueName` of an open key; nullopt when the key has no such value or the value
    // takes more than `maxBytes`.
    virtual std::optional<RegistryValue> RegistryQueryValue(uint32_t key, const String& valueName,
                                                            size_t maxBytes) = 0;
    // Closes a handle; an unknown one is ignored.
    virtual void RegistryCloseKey(uint32_t key) = 0;
    // Starts the program at `path` in a normal window with the focus; false when it cannot.
    virtual bool StartProgram(const String& path) = 0;
    virtual bool FileExists(const String& path) = 0;
    // A message box with an OK button; returns when the user has closed it.
    virtual void MessageBox(const String& text) = 0;
};

}  // namespace qv
