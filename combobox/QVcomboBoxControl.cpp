// QVcomboBoxControl: construction and the properties.
#include "combobox/QVcomboBoxControl.h"

#include "about/frmAbout.h"
#include "library/ClassRegistry.h"
#include "library/Global.h"
#include "library/PropertyHelpers.h"
#include "library/RuntimeError.h"
#include "library/ScopedFlag.h"

namespace qv {

namespace {
// Enter looks the text up or chooses from the list.
constexpr TextFieldSettings kTextSettings{.multiLine = false,
                                          .verticalScrollBar = false,
                                          .border = false,
                                          .threeD = false,
                                          .takesEnter = true};
// The border labels draw only their frame: the frame label's colour shows through them.
constexpr LabelSettings kBorder3D{.border = true, .threeD = true, .transparent = true};
constexpr LabelSettings kBorderFlat{.border = true, .threeD = false, .transparent = true};
constexpr LabelSettings kFrameSettings{.border = false};
}  // namespace

QVcomboBoxControl::QVcomboBoxControl(Host& host)
    : DataEntryControl(host),
      ccCombo(host.CreateList(u"ccCombo", -1, ListSettings{.dropDown = true})),
      ccFrame(host.CreateLabel(u"ccFrame", -1, kFrameSettings)),
      ccBorder{&host.CreateLabel(u"ccBorder", 0, kBorder3D),
               &host.CreateLabel(u"ccBorder", 1, kBorderFlat)},
      ccText(host.CreateTextField(u"ccText", -1, kTextSettings)),
      ccButton{&host.CreateButton(u"ccButton", 0), nullptr},
      Timer1(host.CreateTimer(u"Timer1")) {
    ccCombo.SetNoticeSink(this, kCombo);
    ccFrame.SetNoticeSink(this, kFrame);
    ccBorder[0]->SetNoticeSink(this, kBorder0);
    ccBorder[1]->SetNoticeSink(this, kBorder1);
    ccText.SetNoticeSink(this, kText);
    ccButton[0]->SetNoticeSink(this, kButton1);
    Timer1.SetNoticeSink(this, kTimer);
    Timer1.Interval(333);
    Timer1.Enabled(false);

    // Button1's caption is the down arrow of the symbol font.
    qv::Font arrowFont;
    arrowFont.Name(u"Wingdings");
    arrowFont.Size(3);
    ccButton[0]->SetFont(arrowFont);
    ccButton[0]->Caption(String(1, char16_t{0xF2}));
}

QVcomboBoxControl::~QVcomboBoxControl() {
    // The widgets outlive the control on their surface: they must not call it any more.
    ccCombo.ClearNotices();
    ccFrame.ClearNotices();
    for (Label* l : ccBorder) l->ClearNotices();
    ccText.ClearNotices();
    for (ButtonWidget* b : ccButton)
        if (b) b->ClearNotices();
    Timer1.ClearNotices();
}

const ClassInfo& QVcomboBoxControl::Class() const {
    return *FindClass(u"QVcomboBoxControl");
}

bool QVcomboBoxControl::IsDatabaseMode() const {
    return !TrimBlanks(mDataField).empty() && !TrimBlanks(mSqlQueryString).empty() &&
           mConnection != nullptr;
}

bool QVcomboBoxControl::IsDropDownStyle() const {
    return mDropDownStyle && !IsDatabaseMode() && !ccText.Locked();
}

String QVcomboBoxControl::SearchText() const {
    return mTrim ? TrimBlanks(ccText.Text()) : TrimRightBlanks(ccText.Text());
}

String QVcomboBoxControl::TextFormatted() const {
    return SearchText();
}

// --- Properties held by the control ---------------------------------------------------------

void QVcomboBoxControl::Appearance(Flat3d New_Appearance) {
    if (!Global::IsValidAppearance(static_cast<int32_t>(New_Appearance)))
        Raise(err::InvalidPropertyValue);
    RunSteps([&] {
        mAppearance = New_Appearance;
        UserControl_Resize();
        Notice(u"Appearance");
    });
}

void QVcomboBoxControl::BorderStyle(NoneFixedSingle New_BorderStyle) {
    if (!Global::IsValidBorderStyle(static_cast<int32_t>(New_BorderStyle)))
        Raise(err::InvalidPropertyValue);
    RunSteps([&] {
        mBorderStyle = New_BorderStyle;
        UserControl_Resize();
        Notice(u"BorderStyle");
    });
}

void QVcomboBoxControl::Button1Visible(bool New_Button1Visible) {
    mButton1Visible = New_Button1Visible;
    Notice(u"Button1Visible");
}

void QVcomboBoxControl::Button2Visible(bool New_Button2Visible) {
    mButton2Visible = New_Button2Visible;
    Notice(u"Button2Visible");
}

void QVcomboBoxControl::Connection(std::shared_ptr<Object> New_Connection) {
    mConnection = std::move(New_Connection);
    Notice(u"Connection");
}

void QVcomboBoxControl::ConnectionLockType(int16_t New_ConnectionLockType) {
    if (New_ConnectionLockType < -1) Raise(err::InvalidPropertyValue);
    mLockType = New_ConnectionLockType;
    Notice(u"ConnectionLockType");
}

void QVcomboBoxControl::ConnectionOption(int16_t New_ConnectionOption) {
    if (New_ConnectionOption < -1) Raise(err::InvalidPropertyValue);
    mOption = New_ConnectionOption;
    Notice(u"ConnectionOption");
}

#define QV_STRING_PROPERTY(Name, member)                     \
    void QVcomboBoxControl::Name(const String& New_##Name) { \
        member = New_##Name;                                 \
        Notice(u## #Name);                                   \
    }
QV_STRING_PROPERTY(DataField, mDataField)
QV_STRING_PROPERTY(DataIdField, mDataIdField)
QV_STRING_PROPERTY(SqlQueryString, mSqlQueryString)
QV_STRING_PROPERTY(ForbiddenCharacters, mForbiddenCharacters)
#undef QV_STRING_PROPERTY

void QVcomboBoxControl::MinLen(int32_t New_MinLen) {
    RunSteps([&] {
        mMinLen = New_MinLen;
        Notice(u"MinLen");
        UpdateButtonsEnabled();
    });
}

void QVcomboBoxControl::MustFitDataList(bool New_MustFitDataList) {
    mMustFitDataList = New_MustFitDataList;
    Notice(u"MustFitDataList");
}

void QVcomboBoxControl::MustHaveValue(bool New_MustHaveValue) {
    mMustHaveValue = New_MustHaveValue;
    RecolourAndNotice(u"MustHaveValue");
}

void QVcomboBoxControl::SelectedOnGotFocus(bool New_SelectedOnGotFocus) {
    mSelectedOnGotFocus = New_SelectedOnGotFocus;
    Notice(u"SelectedOnGotFocus");
}

void QVcomboBoxControl::Trim(bool New_Trim) {
    mTrim = New_Trim;
    Notice(u"Trim");
}

void QVcomboBoxControl::ToolTipTextButton1(const String& New_ToolTipTextButton1) {
    ccButton[0]->ToolTipText(New_ToolTipTextButton1);
    Notice(u"ToolTipTextButton1");
}

void QVcomboBoxControl::ToolTipTextButton2(const String& New_ToolTipTextButton2) {
    mToolTipTextButton2 = New_ToolTipTextButton2;
    if (ButtonWidget* b = Button2()) b->ToolTipText(New_ToolTipTextButton2);
    Notice(u"ToolTipTextButton2");
}

// --- Properties held by the constituents ----------------------------------------------------

void QVcomboBoxControl::Enabled(bool New_Enabled) {
    RunSteps([&] {
        ccText.Enabled(New_Enabled);
        UpdateEnabledState();
        Recolour();
        Notice(u"Enabled");
    });
}

void QVcomboBoxControl::ForeColor(Color New_ForeColor) {
    RequireValidColor(New_ForeColor);
    ccText.ForeColor(New_ForeColor);
    ccCombo.ForeColor(New_ForeColor);
    Notice(u"ForeColor");
}

void QVcomboBoxControl::Locked(bool New_Locked) {
    RunSteps([&] {
        ccText.Locked(New_Locked);
        UpdateEnabledState();
        Recolour();
        Notice(u"Locked");
    });
}

void QVcomboBoxControl::MaxLength(int16_t New_MaxLength) {
    ccText.MaxLength(New_MaxLength);  // the field refuses a negative length
    Notice(u"MaxLength");
}

void QVcomboBoxControl::MouseIcon(std::shared_ptr<Picture> New_MouseIcon) {
    ccText.MouseIcon(std::move(New_MouseIcon));
    ApplyPointer();
    Notice(u"MouseIcon");
}

void QVcomboBoxControl::MousePointer(MousePointerEnum New_MousePointer) {
    const auto v = static_cast<int32_t>(New_MousePointer);
    if (!Global::IsValidMousePointer(v)) Raise(err::InvalidPropertyValue);
    ccText.MousePointer(static_cast<int16_t>(v));
    ApplyPointer();
    Notice(u"MousePointer");
}

void QVcomboBoxControl::ApplyPointer() {
    const int16_t pointer = ccText.MousePointer();
    const std::shared_ptr<Picture> icon = ccText.MouseIcon();
    Widget* others[] = {ccButton[0], Button2(), &ccFrame, ccBorder[0], ccBorder[1]};
    for (Widget* w : others) {
        if (!w) continue;
        w->MouseIcon(icon);
        w->MousePointer(pointer);
    }
}

#define QV_SELECTION_PROPERTY(Name, Type)           \
    void QVcomboBoxControl::Name(Type New_##Name) { \
        ccText.Name(New_##Name);                    \
        Notice(u## #Name);                          \
    }
QV_SELECTION_PROPERTY(SelLength, int32_t)
QV_SELECTION_PROPERTY(SelStart, int32_t)
QV_SELECTION_PROPERTY(SelText, const String&)
#undef QV_SELECTION_PROPERTY

void QVcomboBoxControl::Text(const Variant& New_Text) {
    String text;
    if (!New_Text.IsNull()) {
        try {
            text = New_Text.ToString();
        } catch (const RuntimeError&) {
            Raise(err::InvalidPropertyValue);
        }
    }
    RunSteps([&] {
        ccText.Text(mTrim ? TrimBlanks(text) : TrimRightBlanks(text));
        Notice(u"Text");
    });
}

// --- Methods --------------------------------------------------------------------------------

void QVcomboBoxControl::FormatText() {
    const String& t = ccText.Text();
    if (!mTrim) return;
    String trimmed = TrimBlanks(t);
    if (trimmed != t) RunSteps([&] { ccText.Text(trimmed); });
}

void QVcomboBoxControl::Refresh() {
    ccText.Refresh();
    ccButton[0]->Refresh();
    if (ButtonWidget* b = Button2()) b->Refresh();
}

void QVcomboBoxControl::ShowAboutBox() {
    qv::ShowAboutBox(GetHost());
}

void QVcomboBoxControl::UpdateButtonsEnabled() {
    const bool editable = ccText.Enabled() && !ccText.Locked();
    const bool longEnough =
        !RunMode() || static_cast<int64_t>(SearchText().size()) >= static_cast<int64_t>(mMinLen);
    ccButton[0]->Enabled(editable && longEnough);
}

void QVcomboBoxControl::UpdateEnabledState() {
    UpdateButtonsEnabled();
    if (ButtonWidget* b = Button2()) b->Enabled(ccText.Enabled());
    ccCombo.Enabled(ccText.Enabled() && !ccText.Locked());
}

}  // namespace qv
