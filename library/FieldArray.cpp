#include "library/FieldArray.h"

#include "library/RuntimeError.h"
#include "library/ScopedFlag.h"

namespace qv {

FieldArray::FieldArray(Host& host, const char16_t* name, const Settings& settings,
                       FieldHandlers& handlers)
    : handlers_(handlers) {
    for (int16_t i = 0; i < kCount; ++i) {
        TextField& f = host.CreateTextField(name, i, settings[static_cast<size_t>(i)]);
        fields_[static_cast<size_t>(i)] = &f;
        f.SetNoticeSink(this, i);
    }
}

FieldArray::~FieldArray() {
    for (TextField* f : fields_) f->ClearNotices();
}

void FieldArray::KeyDown(int16_t i, int16_t& k, int16_t& s) {
    handlers_.QVTxtBoxCC_KeyDown(i, k, s);
}
void FieldArray::KeyPress(int16_t i, int16_t& k) {
    handlers_.QVTxtBoxCC_KeyPress(i, k);
}
void FieldArray::KeyUp(int16_t i, int16_t& k, int16_t& s) {
    handlers_.QVTxtBoxCC_KeyUp(i, k, s);
}
void FieldArray::Change(int16_t i) {
    handlers_.QVTxtBoxCC_Change(i);
}
void FieldArray::Click(int16_t i) {
    handlers_.QVTxtBoxCC_Click(i);
}
void FieldArray::DblClick(int16_t i) {
    handlers_.QVTxtBoxCC_DblClick(i);
}
void FieldArray::GotFocus(int16_t i) {
    handlers_.QVTxtBoxCC_GotFocus(i);
}
void FieldArray::LostFocus(int16_t i) {
    handlers_.QVTxtBoxCC_LostFocus(i);
}
void FieldArray::MouseDown(int16_t i, int16_t& b, int16_t& s, float& x, float& y) {
    handlers_.QVTxtBoxCC_MouseDown(i, b, s, x, y);
}
void FieldArray::MouseMove(int16_t i, int16_t& b, int16_t& s, float& x, float& y) {
    handlers_.QVTxtBoxCC_MouseMove(i, b, s, x, y);
}
void FieldArray::MouseUp(int16_t i, int16_t& b, int16_t& s, float& x, float& y) {
    handlers_.QVTxtBoxCC_MouseUp(i, b, s, x, y);
}

void FieldArray::ShowOnly(int16_t index) {
    active_ = index;
    for (int16_t i = 0; i < kCount; ++i)
        if (i != index) fields_[static_cast<size_t>(i)]->Visible(false);
    Active().Visible(true);
}

void FieldArray::WriteAll(const String& text, bool& writing) {
    const ScopedFlag first(writing, false);
    for (TextField* f : fields_) {
        if (f->Text() != text) {
            f->Text(text);
            writing = true;
        }
    }
}

void FieldArray::WriteAllSilently(const String& text, bool& writing) {
    const ScopedFlag silent(writing, true);
    for (TextField* f : fields_) f->Text(text);
}

void FieldArray::SetFont(const Font& font) {
    for (TextField* f : fields_) f->SetFont(font);
}
void FieldArray::SetBackColor(Color c) {
    for (TextField* f : fields_) f->BackColor(c);
}
void FieldArray::SetForeColor(Color c) {
    for (TextField* f : fields_) f->ForeColor(c);
}
void FieldArray::SetEnabled(bool v) {
    for (TextField* f : fields_) f->Enabled(v);
}
void FieldArray::SetLocked(bool v) {
    for (TextField* f : fields_) f->Locked(v);
}
void FieldArray::SetMousePointer(int16_t v) {
    for (TextField* f : fields_) f->MousePointer(v);
}
void FieldArray::SetMouseIcon(const std::shared_ptr<Picture>& icon) {
    for (TextField* f : fields_) f->MouseIcon(icon);
}

void FieldArray::Refresh() {
    for (TextField* f : fields_) {
        try {
            f->Refresh();
        } catch (const RuntimeError&) {
        }
    }
}

void SelectAll(TextField& field) {
    field.SelStart(0);
    field.SelLength(static_cast<int32_t>(field.Text().size()));
}

void CopyExtenderTooltip(Host& host, TextField& field) {
    for (const char16_t* member : {u"ToolTipText", u"ControlTipText"}) {
        try {
            field.ToolTipText(host.Extender(member).ToString());
        } catch (const RuntimeError&) {
        }
    }
}

}  // namespace qv
