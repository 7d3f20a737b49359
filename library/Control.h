// The base of every control: its host, the container's lifecycle notices, late binding and the
// generic event listener.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>

#include "library/Host.h"
#include "library/MemberTable.h"
#include "library/PropertyBag.h"

namespace qv {

struct ClassInfo;

// The events of a control, as typed slots. Each slot runs synchronously; by-reference arguments
// come back to the control, which goes on with the changed values.
struct ControlEvents {
    std::function<void()> Change;
    std::function<void()> Click;
    std::function<void()> DblClick;
    std::function<void(int16_t& KeyCode, int16_t& Shift)> KeyDown;
    std::function<void(int16_t& KeyAscii)> KeyPress;
    std::function<void(int16_t& KeyCode, int16_t& Shift)> KeyUp;
    std::function<void(int16_t& Button, int16_t& Shift, float& X, float& Y)> MouseDown;
    std::function<void(int16_t& Button, int16_t& Shift, float& X, float& Y)> MouseMove;
    std::function<void(int16_t& Button, int16_t& Shift, float& X, float& Y)> MouseUp;
    std::function<void(bool& ValueOkay)> ValidationCheck;
};

class Control {
  public:
    explicit Control(Host& host);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    Host& GetHost() const { return host_; }

    // --- Lifecycle notices, in the container's order: Initialize; InitProperties (new control)
    // or ReadProperties (loaded control); Resize, focus, key and mouse notices; WriteProperties
    // whenever the form is saved; Terminate.
    virtual void UserControl_Initialize() {}
    virtual void UserControl_InitProperties() = 0;
    virtual void UserControl_ReadProperties(PropertyBag& PropBag) = 0;
    virtual void UserControl_WriteProperties(PropertyBag& PropBag) = 0;
    virtual void UserControl_Resize() {}
    virtual void UserControl_EnterFocus() {}
    virtual void UserControl_ExitFocus() {}
    virtual void UserControl_Terminate() {}

    // Input on the control's own surface, for controls that have no focusable constituent.
    virtual void UserControl_KeyDown(int16_t& /*KeyCode*/, int16_t& /*Shift*/) {}
    virtual void UserControl_KeyPress(int16_t& /*KeyAscii*/) {}
    virtual void UserControl_KeyUp(int16_t& /*KeyCode*/, int16_t& /*Shift*/) {}

    // --- Late binding -----------------------------------------------------------------------
    virtual const ClassInfo& Class() const = 0;
    virtual const MemberTable& Members() const = 0;
    // By name (case-insensitive). Unknown names and wrong kinds are error 438; writing a
    // read-only property is error 383; a value of the wrong type is error 380.
    Variant GetProperty(StringView name);
    void LetProperty(StringView name, const Variant& value);
    Variant CallMethod(StringView name, std::span<const Variant> args = {});
    // The default member (identifier 0), error 438 when the class has none.
    Variant DefaultValue();
    void DefaultValue(const Variant& value);

    // --- Events -----------------------------------------------------------------------------
    // Sees every event the control raises, with its arguments as raised, before the typed slot
    // runs. For logs and tools; the typed slots of each control are the way to handle events.
    using EventListener = std::function<void(StringView event, std::span<const Variant> args)>;
    void SetEventListener(EventListener listener) {
        // Kept apart: most controls never get one, and a slot is four words.
        listener_ = listener ? std::make_unique<EventListener>(std::move(listener)) : nullptr;
    }

    // Number of control instances alive in the process.
    static int32_t LiveInstances();

  protected:
    // Raises an event: the generic listener first (with the arguments as raised), then the
    // typed slot, whose by-reference arguments come back to the caller.
    // Both run as copies: a handler may clear or replace its own slot (a one-shot handler) while
    // it runs, which would otherwise destroy the code that is running.
    template <class... Args>
    void RaiseEvent(const char16_t* name, const std::function<void(Args&...)>& slot,
                    Args&... args) {
        if (listener_) {
            const EventListener listener = *listener_;
            if constexpr (sizeof...(Args) == 0) {
                listener(name, {});
            } else {
                const Variant values[] = {Variant(args)...};
                listener(name, values);
            }
        }
        if (slot) {
            const std::function<void(Args & ...)> handler = slot;
            handler(args...);
        }
    }

  private:
    Host& host_;
    std::unique_ptr<EventListener> listener_;
};

}  // namespace qv
