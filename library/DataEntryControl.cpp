#include "library/DataEntryControl.h"

#include "library/PropertyHelpers.h"
#include "library/RuntimeError.h"

namespace qv {

DataEntryControl::~DataEntryControl() {
    if (mFont) mFont->OnChanged(nullptr);
}

void DataEntryControl::WriteColor(Color& role, Color value, const char16_t* name) {
    RequireValidColor(value);
    role = value;
    RecolourAndNotice(name);
}

void DataEntryControl::UseWarningColor(bool New_UseWarningColor) {
    mColors.useWarning = New_UseWarningColor;
    RecolourAndNotice(u"UseWarningColor");
}

void DataEntryControl::RecolourAndNotice(const char16_t* name) {
    RunSteps([&] {
        Recolour();
        Notice(name);
    });
}

bool DataEntryControl::RunMode() const {
    try {
        return GetHost().AmbientUserMode();
    } catch (const RuntimeError&) {
        return false;
    }
}

void DataEntryControl::Font(const qv::Font& New_Font) {
    if (&New_Font != mFont.get()) mFont->Assign(New_Font);
    Notice(u"Font");
}

#define QV_FONT_PROPERTY(Name, Attribute, Type)    \
    void DataEntryControl::Name(Type New_##Name) { \
        mFont->Attribute(New_##Name);              \
        Notice(u## #Name);                         \
    }
QV_FONT_PROPERTY(FontBold, Bold, bool)
QV_FONT_PROPERTY(FontItalic, Italic, bool)
QV_FONT_PROPERTY(FontName, Name, const String&)
QV_FONT_PROPERTY(FontSize, Size, float)
QV_FONT_PROPERTY(FontStrikethru, Strikethrough, bool)
QV_FONT_PROPERTY(FontUnderline, Underline, bool)
#undef QV_FONT_PROPERTY

void DataEntryControl::AttachFont(std::shared_ptr<qv::Font> font) {
    if (mFont) mFont->OnChanged(nullptr);
    mFont = std::move(font);
    mFont->OnChanged([this](const String& name) { mFont_FontChanged(name); });
}

void DataEntryControl::ReadFont(PropertyBag& bag) {
    if (auto stored = ReadOr(bag, u"Font", Variant(mFont)).As<qv::Font>();
        stored && stored != mFont)
        AttachFont(std::move(stored));
}

}  // namespace qv
