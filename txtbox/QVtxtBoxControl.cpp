// QVtxtBoxControl: construction, property reads and writes, event raising.
#include "txtbox/QVtxtBoxControl.h"

#include "about/frmAbout.h"
#include "library/ClassRegistry.h"
#include "library/Global.h"
#include "library/PropertyHelpers.h"
#include "library/RuntimeError.h"

namespace qv {

namespace {
constexpr const char16_t* kFieldName = u"QVTxtBoxCC";
}  // namespace

namespace {
constexpr FieldArray::Settings kFieldSettings = {{
    {.multiLine = false, .verticalScrollBar = false, .border = false},
    {.multiLine = true, .verticalScrollBar = false, .border = false},
    {.multiLine = true, .verticalScrollBar = true, .border = false},
}};
}  // namespace

QVtxtBoxControl::QVtxtBoxControl(Host& host)
    : DataEntryControl(host),
      ccBorder{&host.CreateLabel(u"ccBorder", 0, {.border = true, .threeD = true}),
               &host.CreateLabel(u"ccBorder", 1, {.border = true, .threeD = false})},
      QVTxtBoxCC(host, kFieldName, kFieldSettings, *this) {}

QVtxtBoxControl::~QVtxtBoxControl() = default;

const ClassInfo& QVtxtBoxControl::Class() const {
    return *FindClass(u"QVtxtBoxControl");
}

// --- Properties held by the control ---------------------------------------------------------

void QVtxtBoxControl::AllUcase(bool New_AllUcase) {
    mAllUcase = New_AllUcase;
    Notice(u"AllUcase");
}

void QVtxtBoxControl::ChangeBorder(const std::function<void()>& store) {
    store();
    const String text = ActiveField().Text();
    SelectActiveField();
    ActiveField().Text(text);
}

void QVtxtBoxControl::Appearance(Flat3d New_Appearance) {
    if (!Global::IsValidAppearance(static_cast<int32_t>(New_Appearance)))
        Raise(err::InvalidPropertyValue);
    RunSteps([&] {
        ChangeBorder([&] { mAppearance = New_Appearance; });
        Notice(u"Appearance");
    });
}

void QVtxtBoxControl::BorderStyle(NoneFixedSingle New_BorderStyle) {
    if (!Global::IsValidBorderStyle(static_cast<int32_t>(New_BorderStyle)))
        Raise(err::InvalidPropertyValue);
    RunSteps([&] {
        ChangeBorder([&] { mBorderStyle = New_BorderStyle; });
        Notice(u"BorderStyle");
    });
}

void QVtxtBoxControl::FirstCharacterCapital(bool New_FirstCharacterCapital) {
    mFirstCharacterCapital = New_FirstCharacterCapital;
    Notice(u"FirstCharacterCapital");
}

void QVtxtBoxControl::ForbiddenCharacters(const String& New_ForbiddenCharacters) {
    mForbiddenCharacters = New_ForbiddenCharacters;
    Notice(u"ForbiddenCharacters");
}

void QVtxtBoxControl::MultiLine(bool New_MultiLine) {
    mMultiLine = New_MultiLine;
    RunSteps([&] {
        SelectActiveField();
        Notice(u"MultiLine");
    });
}

void QVtxtBoxControl::MustHaveValue(bool New_MustHaveValue) {
    mMustHaveValue = New_MustHaveValue;
    RunSteps([&] {
        Recolour();
        Notice(u"MustHaveValue");
    });
}

void QVtxtBoxControl::NullToEmptyString(bool New_NullToEmptyString) {
    mNullToEmptyString = New_NullToEmptyString;
    Notice(u"NullToEmptyString");
}

void QVtxtBoxControl::ScrollBars(ScrollBarsEnum New_ScrollBars) {
    mScrollBars = New_ScrollBars;
    RunSteps([&] {
        SelectActiveField();
        Notice(u"ScrollBars");
    });
}

void QVtxtBoxControl::SelectedOnGotFocus(bool New_SelectedOnGotFocus) {
    mSelectedOnGotFocus = New_SelectedOnGotFocus;
    Notice(u"SelectedOnGotFocus");
}

void QVtxtBoxControl::Trim(bool New_Trim) {
    mTrim = New_Trim;
    Notice(u"Trim");
}

// --- Properties held by the fields: written to all three, read from the first ---------------

int16_t QVtxtBoxControl::Alignment() const {
    return QVTxtBoxCC[0].Alignment();
}
bool QVtxtBoxControl::HideSelection() const {
    return QVTxtBoxCC[0].HideSelection();
}
bool QVtxtBoxControl::Enabled() const {
    return QVTxtBoxCC[0].Enabled();
}

void QVtxtBoxControl::Enabled(bool New_Enabled) {
    // Disabling the focused field takes the focus from it, and leaving formats the text.
    RunSteps([&] {
        QVTxtBoxCC.SetEnabled(New_Enabled);
        Recolour();
        Notice(u"Enabled");
    });
}

Color QVtxtBoxControl::ForeColor() const {
    return QVTxtBoxCC[0].ForeColor();
}

void QVtxtBoxControl::ForeColor(Color New_ForeColor) {
    RequireValidColor(New_ForeColor);
    QVTxtBoxCC.SetForeColor(New_ForeColor);
    Notice(u"ForeColor");
}

bool QVtxtBoxControl::Locked() const {
    return QVTxtBoxCC[0].Locked();
}

void QVtxtBoxControl::Locked(bool New_Locked) {
    QVTxtBoxCC.SetLocked(New_Locked);
    RunSteps([&] {
        Recolour();
        Notice(u"Locked");
    });
}

int16_t QVtxtBoxControl::MaxLength() const {
    return static_cast<int16_t>(QVTxtBoxCC[0].MaxLength());
}

void QVtxtBoxControl::MaxLength(int16_t New_MaxLength) {
    // The fields refuse a negative length (error 380) before any of them changes.
    for (TextField* f : QVTxtBoxCC) f->MaxLength(New_MaxLength);
    Notice(u"MaxLength");
}

std::shared_ptr<Picture> QVtxtBoxControl::MouseIcon() const {
    return QVTxtBoxCC[0].MouseIcon();
}

void QVtxtBoxControl::MouseIcon(std::shared_ptr<Picture> New_MouseIcon) {
    QVTxtBoxCC.SetMouseIcon(New_MouseIcon);
    Notice(u"MouseIcon");
}

MousePointerEnum QVtxtBoxControl::MousePointer() const {
    return static_cast<MousePointerEnum>(QVTxtBoxCC[0].MousePointer());
}

void QVtxtBoxControl::MousePointer(MousePointerEnum New_MousePointer) {
    const auto v = static_cast<int32_t>(New_MousePointer);
    if (v < INT16_MIN || v > INT16_MAX) Raise(err::InvalidPropertyValue);
    // The fields judge the value themselves (0..15 and 99).
    QVTxtBoxCC.SetMousePointer(static_cast<int16_t>(v));
    Notice(u"MousePointer");
}

String QVtxtBoxControl::PasswordChar() const {
    return QVTxtBoxCC[0].PasswordChar();
}

void QVtxtBoxControl::PasswordChar(const String& New_PasswordChar) {
    const String first = New_PasswordChar.substr(0, 1);
    for (TextField* f : QVTxtBoxCC) f->PasswordChar(first);
    Notice(u"PasswordChar");
}

int32_t QVtxtBoxControl::SelLength() const {
    return ActiveField().SelLength();
}

void QVtxtBoxControl::SelLength(int32_t New_SelLength) {
    for (TextField* f : QVTxtBoxCC) f->SelLength(New_SelLength);
    Notice(u"SelLength");
}

int32_t QVtxtBoxControl::SelStart() const {
    return ActiveField().SelStart();
}

void QVtxtBoxControl::SelStart(int32_t New_SelStart) {
    for (TextField* f : QVTxtBoxCC) f->SelStart(New_SelStart);
    Notice(u"SelStart");
}

String QVtxtBoxControl::SelText() const {
    return ActiveField().SelText();
}

void QVtxtBoxControl::SelText(const String& New_SelText) {
    const String text = mAllUcase ? UpperCase(New_SelText) : New_SelText;
    // Every field replaces its own selection; each change raises Change.
    RunSteps([&] {
        for (TextField* f : QVTxtBoxCC) f->SelText(text);
        Notice(u"SelText");
    });
}

// --- Methods --------------------------------------------------------------------------------

void QVtxtBoxControl::Refresh() {
    try {
        ActiveField().Refresh();
    } catch (const RuntimeError&) {
        // Repainting is a courtesy; a host that cannot do it now loses nothing.
    }
}

void QVtxtBoxControl::ShowAboutBox() {
    qv::ShowAboutBox(GetHost());
}

// --- Raising events -------------------------------------------------------------------------

void QVtxtBoxControl::RaiseChange() {
    RaiseEvent(u"Change", events.Change);
}

}  // namespace qv
