// QVnumBoxControl: construction, property reads and writes, events.
#include "numbox/QVnumBoxControl.h"

#include "about/frmAbout.h"
#include "library/ClassRegistry.h"
#include "library/Global.h"
#include "library/PropertyHelpers.h"
#include "library/RuntimeError.h"

namespace qv {

QVnumBoxControl::QVnumBoxControl(Host& host) : RangedControl(host) {
    // Frames first and the caret last: widgets created later lie on top. The highlight lies
    // under the label, whose digits show over it.
    BorderLabel[0] =
        &host.CreateLabel(u"BorderLabel", 0, {.border = true, .threeD = true, .transparent = true});
    BorderLabel[1] = &host.CreateLabel(u"BorderLabel", 1,
                                       {.border = true, .threeD = false, .transparent = true});
    HighlightShape = &host.CreateShape(u"HighlightShape");
    HighlightShape->FillColor(SystemColor::Highlight);
    HighlightShape->Visible(false);
    txtLabel = &host.CreateLabel(u"txtLabel", -1, {.alignment = 1, .transparent = true});
    CursorLine = &host.CreateLine(u"CursorLine");
    CursorLine->Visible(false);
    CursorTimer = &host.CreateTimer(u"CursorTimer");
    CursorTimer->Enabled(false);
    CursorTimer->Interval(500);

    for (Label* l : {txtLabel, BorderLabel[0], BorderLabel[1]}) l->SetNoticeSink(&notices_, 0);
    CursorTimer->SetNoticeSink(&notices_, 0);
}

QVnumBoxControl::~QVnumBoxControl() {
    // The host may outlive the control: its widgets must not call back into a dead object.
    for (Label* l : {txtLabel, BorderLabel[0], BorderLabel[1]}) l->ClearNotices();
    CursorTimer->ClearNotices();
    CursorTimer->Enabled(false);
}

const ClassInfo& QVnumBoxControl::Class() const {
    return *FindClass(u"QVnumBoxControl");
}

// --- Properties held by the control ---------------------------------------------------------

void QVnumBoxControl::AllowMinus(bool New_AllowMinus) {
    mAllowMinus = New_AllowMinus;
    Notice(u"AllowMinus");
}

void QVnumBoxControl::Appearance(Flat3d New_Appearance) {
    if (!Global::IsValidAppearance(static_cast<int32_t>(New_Appearance)))
        Raise(err::InvalidPropertyValue);
    mAppearance = New_Appearance;
    UpdateFrame();
    Notice(u"Appearance");
}

void QVnumBoxControl::BorderStyle(NoneFixedSingle New_BorderStyle) {
    if (!Global::IsValidBorderStyle(static_cast<int32_t>(New_BorderStyle)))
        Raise(err::InvalidPropertyValue);
    mBorderStyle = New_BorderStyle;
    UpdateFrame();
    Notice(u"BorderStyle");
}

void QVnumBoxControl::ForeColor(Color New_ForeColor) {
    RequireValidColor(New_ForeColor);
    mForeColor = New_ForeColor;
    UpdateTextColour();
    Notice(u"ForeColor");
}

// Plain settings that the colour depends on: store, recolour, notice.
#define QV_RECOLOUR_PROPERTY(Name, Type)          \
    void QVnumBoxControl::Name(Type New_##Name) { \
        m##Name = New_##Name;                     \
        RunSteps([&] {                            \
            Recolour();                           \
            Notice(u## #Name);                    \
        });                                       \
    }
QV_RECOLOUR_PROPERTY(Locked, bool)
#undef QV_RECOLOUR_PROPERTY

void QVnumBoxControl::MustHaveValue(bool New_MustHaveValue) {
    mMustHaveValue = New_MustHaveValue;
    Notice(u"MustHaveValue");
}

void QVnumBoxControl::SelectedOnGotFocus(bool New_SelectedOnGotFocus) {
    mSelectedOnGotFocus = New_SelectedOnGotFocus;
    Notice(u"SelectedOnGotFocus");
}

void QVnumBoxControl::PreDecimalNumbers(int16_t New_PreDecimalNumbers) {
    if (!Global::IsValidPreDecimalCount(New_PreDecimalNumbers)) Raise(err::InvalidPropertyValue);
    mPreDecimalNumbers = New_PreDecimalNumbers;
    Notice(u"PreDecimalNumbers");
}

int16_t QVnumBoxControl::MaxLength() const {
    const int pre = mPreDecimalNumbers, post = mPostDecimalNumbers;
    int length = pre + post + (post > 0 ? 1 : 0) + (mAllowMinus ? 1 : 0);
    if (mSeparator) length += (pre - 1) / 3 + (post > 0 ? (post - 1) / 3 : 0);
    return static_cast<int16_t>(length);
}

// --- Properties held by the label -----------------------------------------------------------

bool QVnumBoxControl::Enabled() const {
    return txtLabel->Enabled();
}

void QVnumBoxControl::Enabled(bool New_Enabled) {
    txtLabel->Enabled(New_Enabled);
    RunSteps([&] {
        Recolour();
        ApplyMousePointer();
        Notice(u"Enabled");
    });
}

std::shared_ptr<Picture> QVnumBoxControl::MouseIcon() const {
    return txtLabel->MouseIcon();
}

void QVnumBoxControl::MouseIcon(std::shared_ptr<Picture> New_MouseIcon) {
    txtLabel->MouseIcon(New_MouseIcon);
    // The pointer shows over the control's own surface, which lies behind the label.
    GetHost().MouseIcon(std::move(New_MouseIcon));
    Notice(u"MouseIcon");
}

void QVnumBoxControl::MousePointer(MousePointerEnum New_MousePointer) {
    // Checked up front: the host would refuse it only when the control is next enabled.
    if (!Global::IsValidMousePointer(static_cast<int32_t>(New_MousePointer)))
        Raise(err::InvalidPropertyValue);
    mMousePointer = New_MousePointer;
    ApplyMousePointer();
    Notice(u"MousePointer");
}

// --- Font -----------------------------------------------------------------------------------

void QVnumBoxControl::mFont_FontChanged(const String&) {
    txtLabel->SetFont(*mFont);
    UserControl_Resize();
}

// --- Methods --------------------------------------------------------------------------------

void QVnumBoxControl::Refresh() {
    try {
        txtLabel->Refresh();
    } catch (const RuntimeError&) {
        // Repainting is a courtesy; a host that cannot do it now loses nothing.
    }
}

void QVnumBoxControl::ShowAboutBox() {
    qv::ShowAboutBox(GetHost());
}

void QVnumBoxControl::RaiseChange() {
    if (!mSuppressChange) RaiseEvent(u"Change", events.Change);
}

}  // namespace qv
