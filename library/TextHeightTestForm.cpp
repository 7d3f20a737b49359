#include "library/TextHeightTestForm.h"

namespace qv {

namespace {
// The one loaded instance of this thread (the library keeps no other state of its own).
thread_local TextHeightTestForm* tlsLoaded = nullptr;
}  // namespace

TextHeightTestForm::TextHeightTestForm(std::unique_ptr<Form> form)
    : form_(std::move(form)),
      txtPicture(form_->CreatePictureSurface(u"txtPicture")),
      ccFontTestCombo(form_->CreateList(u"ccFontTestCombo", -1, {.dropDown = true})),
      txtBoxNoBorder(form_->CreateTextField(u"txtBoxNoBorder", -1, {.border = false})),
      txtBoxBorder(form_->CreateTextField(u"txtBoxBorder", -1, {.border = true, .threeD = true})) {}

TextHeightTestForm::Loan TextHeightTestForm::Load(Host& host) {
    if (!tlsLoaded) tlsLoaded = new TextHeightTestForm(host.LoadForm(u"TextHeightTestForm"));
    ++tlsLoaded->loans_;
    return Loan(tlsLoaded);
}

bool TextHeightTestForm::IsLoaded() {
    return tlsLoaded != nullptr;
}

TextHeightTestForm::Loan::~Loan() {
    if (form_ && --form_->loans_ == 0) {
        if (tlsLoaded == form_) tlsLoaded = nullptr;
        delete form_;
    }
}

}  // namespace qv
