// Keeps the first exception of a series of calls so that the series can run to its end, and
// passes it on afterwards. Controls use it (through Control::RunSteps) to finish their own steps
// when an application's event handler throws in between; hosts use it to deliver every notice of
// one user action.
#pragma once

#include <exception>
#include <utility>

namespace qv {

class FirstError {
  public:
    // Runs `f`; an exception it throws is kept when it is the first, and not passed on.
    template <class F>
    void Run(F&& f) noexcept {
        try {
            std::forward<F>(f)();
        } catch (...) {
            Keep(std::current_exception());
        }
    }
    void Keep(std::exception_ptr e) noexcept {
        if (!first_) first_ = std::move(e);
    }
    bool HasError() const noexcept { return static_cast<bool>(first_); }
    // Rethrows the kept exception, if any, and forgets it.
    void Rethrow() {
        if (first_) std::rethrow_exception(std::exchange(first_, nullptr));
    }

  private:
    std::exception_ptr first_;
};

}  // namespace qv
