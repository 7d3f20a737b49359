// Sets a flag for a scope and gives it back its earlier value however the scope ends, so that an
// exception in the middle of a control's own steps cannot leave a flag set for good.
#pragma once

namespace qv {

class ScopedFlag {
  public:
    explicit ScopedFlag(bool& flag, bool value = true) : flag_(flag), saved_(flag) { flag = value; }
    ~ScopedFlag() { flag_ = saved_; }
    ScopedFlag(const ScopedFlag&) = delete;
    ScopedFlag& operator=(const ScopedFlag&) = delete;

  private:
    bool& flag_;
    bool saved_;
};

}  // namespace qv
