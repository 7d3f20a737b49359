// The base of every control: its host, the container's lifecycle notices, late binding and the
// generic event listener.
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <type_traits>
#include <utility>

#include "library/FirstError.h"
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

    // Whether `e` is an application handler's error that a control passed on after finishing
    // its own steps (the last one passed on by this thread), rather than an error of the control
    // itself. A host that reports a failed property write tells the two apart with it: after a
    // handler's error the write has been made.
    static bool IsPassedOnHandlerError(const std::exception_ptr& e);

  protected:
    // Raises an event: the generic listener first (with the arguments as raised), then the
    // typed slot, whose by-reference arguments come back to the caller.
    // Both run as copies: a handler may clear or replace its own slot (a one-shot handler) while
    // it runs, which would otherwise destroy the code that is running.
    // Inside RunSteps an exception of either is kept and the control goes on (see RunSteps).
    template <class... Args>
    void RaiseEvent(const char16_t* name, const std::function<void(Args&...)>& slot,
                    Args&... args) {
        if (!steps_) return Deliver(name, slot, args...);
        // The handler runs outside the steps: control writes it makes raise to it as usual.
        StepErrors* const steps = std::exchange(steps_, nullptr);
        try {
            Deliver(name, slot, args...);
        } catch (...) {
            steps->KeepHandlerError(std::current_exception());
        }
        steps_ = steps;
    }

    // Runs the control's own steps (a property write, the handling of a notice) to their end
    // when an application's event handler throws in between, then passes the first error on.
    // Steps run inside steps (FormatText inside a Text write) share the outer steps' errors, so
    // only the outermost steps pass an error on. An error of the steps themselves ends them, and
    // passes on unless a handler's came first.
    template <class Steps>
    std::invoke_result_t<Steps&> RunSteps(Steps&& steps) {
        using Result = std::invoke_result_t<Steps&>;
        if (steps_) return steps();
        StepErrors errors(steps_);
        if constexpr (std::is_void_v<Result>) {
            errors.first.Run(steps);
            errors.PassOn();
        } else {
            std::optional<Result> result;
            errors.first.Run([&] { result.emplace(steps()); });
            errors.PassOn();
            return std::move(*result);
        }
    }

  private:
    template <class... Args>
    void Deliver(const char16_t* name, const std::function<void(Args&...)>& slot, Args&... args) {
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

    // The errors of the outermost RunSteps running; `owner` points to it meanwhile.
    class StepErrors {
      public:
        explicit StepErrors(StepErrors*& owner) : owner_(owner) { owner_ = this; }
        ~StepErrors() { owner_ = nullptr; }
        StepErrors(const StepErrors&) = delete;
        StepErrors& operator=(const StepErrors&) = delete;
        void KeepHandlerError(std::exception_ptr e) noexcept {
            if (!first.HasError()) fromHandler_ = true;
            first.Keep(std::move(e));
        }
        void PassOn();  // rethrows the first error, if any
        FirstError first;

      private:
        StepErrors*& owner_;
        bool fromHandler_ = false;
    };

    Host& host_;
    std::unique_ptr<EventListener> listener_;
    StepErrors* steps_ = nullptr;
};

}  // namespace qv
