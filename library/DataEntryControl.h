// DataEntryControl: what every data-entry control has besides its value: the five state colours
// with UseWarningColor and the one rule that picks the background, and the control's own font
// with its attribute properties. The typed getters and setters live here once; a control
// supplies its recolour step and its font-changed handler.
#pragma once

#include <memory>

#include "library/Control.h"
#include "library/Enums.h"
#include "library/Font.h"

namespace qv {

class PropertyBag;

// The colours a control shows for its verdict.
struct ColorRoles {
    Color back = SystemColor::WindowBackground;
    Color disabled = 0xC0C0C0;
    Color error = 0xC0C0FF;
    Color focus = 0xC0FFC0;
    Color warning = 0xC0FFFF;
    bool useWarning = false;

    // The background: disabled when the value cannot be edited; at design time the back colour;
    // at run time focus or back colour for a valid value, and error, warning or back colour for
    // an invalid one.
    Color Background(bool runMode, bool editable, bool valid, bool hasFocus) const {
        if (!editable) return disabled;
        if (!runMode) return back;
        if (valid) return hasFocus ? focus : back;
        if (hasFocus) return error;
        return useWarning ? warning : back;
    }
};

class DataEntryControl : public Control {
  public:
    ~DataEntryControl() override;

    Color BackColor() const { return mColors.back; }
    void BackColor(Color New_BackColor) { WriteColor(mColors.back, New_BackColor, u"BackColor"); }
    Color DisabledColor() const { return mColors.disabled; }
    void DisabledColor(Color New_DisabledColor) {
        WriteColor(mColors.disabled, New_DisabledColor, u"DisabledColor");
    }
    Color ErrorColor() const { return mColors.error; }
    void ErrorColor(Color New_ErrorColor) {
        WriteColor(mColors.error, New_ErrorColor, u"ErrorColor");
    }
    Color FocusColor() const { return mColors.focus; }
    void FocusColor(Color New_FocusColor) {
        WriteColor(mColors.focus, New_FocusColor, u"FocusColor");
    }
    Color WarningColor() const { return mColors.warning; }
    void WarningColor(Color New_WarningColor) {
        WriteColor(mColors.warning, New_WarningColor, u"WarningColor");
    }
    bool UseWarningColor() const { return mColors.useWarning; }
    void UseWarningColor(bool New_UseWarningColor);

    // The control's own font object; writing copies the attributes of the given font into it.
    std::shared_ptr<qv::Font> Font() const { return mFont; }
    void Font(const qv::Font& New_Font);
    bool FontBold() const { return mFont->Bold(); }
    void FontBold(bool New_FontBold);
    bool FontItalic() const { return mFont->Italic(); }
    void FontItalic(bool New_FontItalic);
    String FontName() const { return mFont->Name(); }
    void FontName(const String& New_FontName);
    float FontSize() const { return mFont->Size(); }
    void FontSize(float New_FontSize);
    bool FontStrikethru() const { return mFont->Strikethrough(); }
    void FontStrikethru(bool New_FontStrikethru);
    bool FontUnderline() const { return mFont->Underline(); }
    void FontUnderline(bool New_FontUnderline);

    // Judges the value, raises ValidationCheck, recolours and returns the (possibly changed)
    // verdict.
    virtual bool CheckValueNow() = 0;

  protected:
    using Control::Control;

    // Runs whenever an attribute of the control's font changes.
    virtual void mFont_FontChanged(const String& PropertyName) = 0;

    void Recolour() { (void)CheckValueNow(); }
    void Notice(const char16_t* name) { GetHost().PropertyChanged(name); }
    // Stores nothing itself: recolours and sends the notice, finishing both when a handler throws.
    void RecolourAndNotice(const char16_t* name);
    // The container's UserMode; a container that cannot say is a designer.
    bool RunMode() const;

    // Makes `font` the control's font, its changes running mFont_FontChanged.
    void AttachFont(std::shared_ptr<qv::Font> font);
    // Loading: the stored "Font" becomes the control's font; a failed read keeps the current one.
    void ReadFont(PropertyBag& bag);

    ColorRoles mColors;
    std::shared_ptr<qv::Font> mFont;

  private:
    void WriteColor(Color& role, Color value, const char16_t* name);
};

}  // namespace qv
