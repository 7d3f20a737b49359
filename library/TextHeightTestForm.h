// The hidden measuring form on which controls learn how tall their font makes a widget.
#pragma once

#include <memory>

#include "library/Host.h"

namespace qv {

// Loaded through the host for one operation and unloaded at its end:
//
//     auto form = TextHeightTestForm::Load(host);
//     form->txtBoxBorder.SetFont(font);
//     form->txtBoxBorder.Height(h);
//     int32_t needed = form->txtBoxBorder.Height();
//     // form unloads here
//
// Nested loads on one thread share the one instance, which is unloaded when the outermost
// loan ends.
class TextHeightTestForm {
    std::unique_ptr<Form> form_;  // first: the widget references below live on it

  public:
    class Loan {
      public:
        explicit Loan(TextHeightTestForm* f) : form_(f) {}
        Loan(Loan&& o) noexcept : form_(o.form_) { o.form_ = nullptr; }
        Loan(const Loan&) = delete;
        Loan& operator=(const Loan&) = delete;
        Loan& operator=(Loan&&) = delete;
        ~Loan();
        TextHeightTestForm* operator->() const { return form_; }
        TextHeightTestForm& operator*() const { return *form_; }

      private:
        TextHeightTestForm* form_;
    };

    static Loan Load(Host& host);
    // True while an instance is loaded on this thread.
    static bool IsLoaded();

    PictureSurface& txtPicture;
    ListWidget& ccFontTestCombo;  // drop-down list
    TextField& txtBoxNoBorder;    // single line, no border
    TextField& txtBoxBorder;      // single line, 3-D border

  private:
    explicit TextHeightTestForm(std::unique_ptr<Form> form);
    int loans_ = 0;
    friend class Loan;
};

}  // namespace qv
