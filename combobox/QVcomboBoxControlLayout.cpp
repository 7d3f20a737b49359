// QVcomboBoxControl: the layout of border, frame, field, buttons and list; glyph sizes, the
// height the font needs, and the font.
#include <algorithm>

#include "combobox/QVcomboBoxControl.h"
#include "library/TextHeightTestForm.h"

namespace qv {

namespace {
void SetFontSize(Widget& w, float size) {
    qv::Font f = w.GetFont();
    f.Size(size);
    w.SetFont(f);
}
}  // namespace

int32_t QVcomboBoxControl::BorderWidth() const {
    if (mBorderStyle == NoneFixedSingle::None) return 0;
    const auto p = static_cast<int32_t>(GetHost().TwipsPerPixelY());
    return mAppearance == Flat3d::qv3D ? 2 * p : p;
}

void QVcomboBoxControl::UserControl_Resize() {
    Host& host = GetHost();
    const int32_t W = host.ScaleWidth();
    const int32_t H = host.ScaleHeight();
    const int32_t b = BorderWidth();
    const bool framed = mBorderStyle == NoneFixedSingle::FixedSingle;

    ccText.Height(std::max(0, H - 2 * b));
    ccFrame.Left(0);
    ccFrame.Top(0);
    ccFrame.Width(W);
    ccFrame.Height(H);
    ccBorder[0]->Visible(framed && mAppearance == Flat3d::qv3D);
    ccBorder[1]->Visible(framed && mAppearance == Flat3d::qvFlat);
    for (Label* border : ccBorder) {
        border->Left(0);
        border->Top(0);
        border->Width(W);
        border->Height(H);
    }
    SetFontSize(*ccButton[0], 3);
    if (ButtonWidget* b2 = Button2()) SetFontSize(*b2, 3);
    LayoutButtons(W, H, b);
    PlaceList();

    int32_t needed = 0;
    {
        auto form = TextHeightTestForm::Load(host);
        FitGlyph(*form, *ccButton[0], b);
        if (ButtonWidget* b2 = Button2()) FitGlyph(*form, *b2, b);
        TextField& measure = framed ? form->txtBoxBorder : form->txtBoxNoBorder;
        measure.SetFont(ccText.GetFont());
        measure.Height(H);
        needed = measure.Height();
    }
    // Grow (never shrink) to the height the font needs; the container answers with a new resize
    // notice, whose pass finds that everything fits.
    if (needed > H) host.Size(W, needed);
}

void QVcomboBoxControl::FitGlyph(TextHeightTestForm& form, ButtonWidget& button, int32_t b) {
    // The largest size (1..127 points, by halving steps) at which a list in the button's font
    // is no taller than the button with the border.
    ListWidget& probe = form.ccFontTestCombo;
    qv::Font f = probe.GetFont();
    f.Name(button.GetFont().Name());
    int32_t s = 64;
    for (int32_t d = 32;; d /= 2) {
        f.Size(static_cast<float>(s));
        probe.SetFont(f);
        s += probe.Height() > button.Height() + 2 * b ? -d : d;
        if (d == 1) break;
    }
    SetFontSize(button, static_cast<float>(s));
}

void QVcomboBoxControl::LayoutButtons(int32_t W, int32_t H, int32_t b) {
    ccButton[0]->Visible(mButton1Visible);
    if (mButton2Visible && !mButton2Exists) CreateButton2();
    if (!mButton2Visible && mButton2Exists) RemoveButton2();

    const int32_t h = std::max(0, H - 2 * b);
    for (ButtonWidget* button : {ccButton[0], Button2()}) {
        if (!button) continue;
        button->Height(h);
        button->Width(h);
        button->Top(b);
    }
    const int32_t w1 = mButton1Visible ? ccButton[0]->Width() : 0;
    const int32_t w2 = Button2() ? Button2()->Width() : 0;
    if (ButtonWidget* b2 = Button2()) b2->Left(W - b - w2);
    ccButton[0]->Left(W - b - w2 - w1);
    // A field held at its least width moves left rather than under the buttons.
    const int32_t textWidth = std::max(75, W - 2 * b - w1 - w2);
    ccText.Width(textWidth);
    ccText.Left(W - b - w1 - w2 - textWidth);
    const int32_t inset = mBorderStyle == NoneFixedSingle::None
                              ? static_cast<int32_t>(GetHost().TwipsPerPixelY())
                              : 0;
    ccText.Top(b + inset);
    ccText.Height(std::max(0, h - inset));
    UpdateButtonsEnabled();
}

void QVcomboBoxControl::CreateButton2() {
    if (!ccButton[1]) {
        ccButton[1] = &GetHost().CreateButton(u"ccButton", 1);
        ccButton[1]->SetNoticeSink(this, kButton2);
    }
    ButtonWidget& b2 = *ccButton[1];
    qv::Font symbol;
    symbol.Name(u"Symbol");
    symbol.Size(3);
    b2.SetFont(symbol);
    b2.Caption(String(1, char16_t{0xBC}));  // the font's ellipsis
    b2.ToolTipText(mToolTipTextButton2);
    b2.Enabled(ccText.Enabled());
    b2.MousePointer(ccText.MousePointer());
    b2.MouseIcon(ccText.MouseIcon());
    b2.Visible(true);
    mButton2Exists = true;
}

void QVcomboBoxControl::RemoveButton2() {
    // Hidden rather than destroyed: the removal may come from inside one of its own notices.
    ccButton[1]->Visible(false);
    mButton2Exists = false;
}

void QVcomboBoxControl::PlaceList() {
    ccCombo.Left(0);
    ccCombo.Width(ccBorder[0]->Width());
    ccCombo.Top(ccBorder[0]->Height() - ccCombo.Height());
}

void QVcomboBoxControl::ApplyFont() {
    ccText.SetFont(*mFont);
    ccCombo.SetFont(*mFont);
}

void QVcomboBoxControl::mFont_FontChanged(const String&) {
    RunSteps([&] {
        ApplyFont();
        UserControl_Resize();
    });
}

}  // namespace qv
