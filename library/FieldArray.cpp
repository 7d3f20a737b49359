#include "library/FieldArray.h"

#include "library/RuntimeError.h"
#include "library/ScopedFlag.h"

namespace qv {

FieldArray::FieldArray(Host& host, const char16_t* name, const Settings& settings,
                       FieldHandlers& handlers) {
    FieldHandlers* const h = &handlers;
    for (int16_t i = 0; i < kCount; ++i) {
        TextField& f = host.CreateTextField(name, i, settings[static_cast<size_t>(i)]);
        fields_[static_cast<size_t>(i)] = &f;
        WidgetNotices& n = f.notices;
        n.KeyDown = [h, i](int16_t& k, int16_t& s) { h->QVTxtBoxCC_KeyDown(i, k, s); };
        n.KeyPress = [h, i](int16_t& k) { h->QVTxtBoxCC_KeyPress(i, k); };
        n.KeyUp = [h, i](int16_t& k, int16_t& s) { h->QVTxtBoxCC_KeyUp(i, k, s); };
        n.Change = [h, i] { h->QVTxtBoxCC_Change(i); };
        n.Click = [h, i] { h->QVTxtBoxCC_Click(i); };
        n.DblClick = [h, i] { h->QVTxtBoxCC_DblClick(i); };
        n.GotFocus = [h, i] { h->QVTxtBoxCC_GotFocus(i); };
        n.LostFocus = [h, i] { h->QVTxtBoxCC_LostFocus(i); };
        n.MouseDown = [h, i](int16_t& b, int16_t& s, float& x, float& y) {
            h->QVTxtBoxCC_MouseDown(i, b, s, x, y);
        };
        n.MouseMove = [h, i](int16_t& b, int16_t& s, float& x, float& y) {
            h->QVTxtBoxCC_MouseMove(i, b, s, x, y);
        };
        n.MouseUp = [h, i](int16_t& b, int16_t& s, float& x, float& y) {
            h->QVTxtBoxCC_MouseUp(i, b, s, x, y);
        };
    }
}

FieldArray::~FieldArray() {
    for (TextField* f : fields_) f->notices = {};
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
