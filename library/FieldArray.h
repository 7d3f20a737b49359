// FieldArray: a control's array of three text fields of which one is visible, sharing one set of
// handlers (each told the element index). Program writes of the text go to every field, with the
// control's "writing" flag telling its change handler which writes must stay silent; properties
// that live in the fields (font, colours, enabled and locked state, pointer, icon) are set on
// every element, so the look does not depend on which one shows.
#pragma once

#include <array>
#include <cstdint>
#include <memory>

#include "library/Host.h"
#include "library/Widgets.h"

namespace qv {

// The notices of a field array's elements, each with the element's index.
class FieldHandlers {
  public:
    virtual void QVTxtBoxCC_KeyDown(int16_t Index, int16_t& KeyCode, int16_t& Shift) = 0;
    virtual void QVTxtBoxCC_KeyPress(int16_t Index, int16_t& KeyAscii) = 0;
    virtual void QVTxtBoxCC_KeyUp(int16_t Index, int16_t& KeyCode, int16_t& Shift) = 0;
    virtual void QVTxtBoxCC_Change(int16_t Index) = 0;
    virtual void QVTxtBoxCC_Click(int16_t Index) = 0;
    virtual void QVTxtBoxCC_DblClick(int16_t Index) = 0;
    virtual void QVTxtBoxCC_GotFocus(int16_t Index) = 0;
    virtual void QVTxtBoxCC_LostFocus(int16_t /*Index*/) {}
    virtual void QVTxtBoxCC_MouseDown(int16_t Index, int16_t& Button, int16_t& Shift, float& X,
                                      float& Y) = 0;
    virtual void QVTxtBoxCC_MouseMove(int16_t Index, int16_t& Button, int16_t& Shift, float& X,
                                      float& Y) = 0;
    virtual void QVTxtBoxCC_MouseUp(int16_t Index, int16_t& Button, int16_t& Shift, float& X,
                                    float& Y) = 0;

  protected:
    ~FieldHandlers() = default;
};

class FieldArray : private NoticeSink {
  public:
    static constexpr int16_t kCount = 3;
    using Settings = std::array<TextFieldSettings, kCount>;

    // Creates the elements 0..2 of the array `name` with their fixed settings.
    FieldArray(Host& host, const char16_t* name, const Settings& settings, FieldHandlers& handlers);
    // The host may outlive the control: its widgets must not call back into a dead object.
    ~FieldArray();
    FieldArray(const FieldArray&) = delete;
    FieldArray& operator=(const FieldArray&) = delete;

    TextField& operator[](int16_t index) const { return *fields_[static_cast<size_t>(index)]; }
    // Another index throws std::out_of_range.
    TextField& At(int16_t index) const { return *fields_.at(static_cast<size_t>(index)); }
    TextField& Active() const { return *fields_[static_cast<size_t>(active_)]; }
    int16_t ActiveIndex() const { return active_; }
    auto begin() const { return fields_.begin(); }
    auto end() const { return fields_.end(); }

    // Makes `index` the active field and shows it alone (the others are hidden first, so a host
    // hands the focus of a hidden field to the one that shows).
    void ShowOnly(int16_t index);

    // Writes `text` into every field whose text differs: the first actual change runs with
    // `writing` false (the control raises its Change once), later ones with `writing` set.
    // Afterwards `writing` has its earlier value again, however the writes end.
    void WriteAll(const String& text, bool& writing);
    // Writes `text` into every field with `writing` set, so that no change raises Change.
    void WriteAllSilently(const String& text, bool& writing);

    void SetFont(const Font& font);
    void SetBackColor(Color c);
    void SetForeColor(Color c);  // the caller has checked the colour
    void SetEnabled(bool v);
    void SetLocked(bool v);
    void SetMousePointer(int16_t v);  // the fields judge the value; a refusal changes none
    void SetMouseIcon(const std::shared_ptr<Picture>& icon);
    void Refresh();  // repaints every field; a host that cannot do it now loses nothing

  private:
    void KeyDown(int16_t Index, int16_t& KeyCode, int16_t& Shift) override;
    void KeyPress(int16_t Index, int16_t& KeyAscii) override;
    void KeyUp(int16_t Index, int16_t& KeyCode, int16_t& Shift) override;
    void Change(int16_t Index) override;
    void Click(int16_t Index) override;
    void DblClick(int16_t Index) override;
    void GotFocus(int16_t Index) override;
    void LostFocus(int16_t Index) override;
    void MouseDown(int16_t Index, int16_t& Button, int16_t& Shift, float& X, float& Y) override;
    void MouseMove(int16_t Index, int16_t& Button, int16_t& Shift, float& X, float& Y) override;
    void MouseUp(int16_t Index, int16_t& Button, int16_t& Shift, float& X, float& Y) override;

    FieldHandlers& handlers_;
    std::array<TextField*, kCount> fields_{};
    int16_t active_ = 0;
};

// Selects the whole text of a field.
void SelectAll(TextField& field);
// The field's tooltip from the container's extender: "ToolTipText", then "ControlTipText" (the
// latter wins where both exist); a container without one of them leaves the tooltip alone.
void CopyExtenderTooltip(Host& host, TextField& field);

}  // namespace qv
