// QVnumBoxControl: the frame, sizes, the caret and its blinking, the highlight and the mouse.
#include <algorithm>
#include <cmath>

#include "library/RuntimeError.h"
#include "library/TextHeightTestForm.h"
#include "numbox/QVnumBoxControl.h"

namespace qv {

namespace {
// Whole twips, halves to even, never negative.
int32_t WholeTwips(double v) {
    if (!(v > 0)) return 0;
    return static_cast<int32_t>(std::min(std::nearbyint(v), 2147483647.0));
}
// Whole twips for a position, which may lie left of or above the control.
int32_t WholeTwipsSigned(double v) {
    return static_cast<int32_t>(std::clamp(std::nearbyint(v), -2147483648.0, 2147483647.0));
}
}  // namespace

int32_t QVnumBoxControl::TextTop() const {
    if (mBorderStyle == NoneFixedSingle::None) return 0;
    const double py = GetHost().TwipsPerPixelY();
    return WholeTwips(mAppearance == Flat3d::qv3D ? 3 * py : 2 * py);
}

int32_t QVnumBoxControl::MeasureHeight(const String& text) const {
    auto form = TextHeightTestForm::Load(GetHost());
    form->txtPicture.SetFont(txtLabel->GetFont());
    return form->txtPicture.TextHeight(text);
}

int32_t QVnumBoxControl::MeasureWidth(const String& text) const {
    auto form = TextHeightTestForm::Load(GetHost());
    form->txtPicture.SetFont(txtLabel->GetFont());
    return form->txtPicture.TextWidth(text);
}

// --- Frame and layout -----------------------------------------------------------------------

void QVnumBoxControl::UpdateFrame() {
    const bool framed = mBorderStyle != NoneFixedSingle::None;
    const bool threeD = mAppearance == Flat3d::qv3D;
    BorderLabel[0]->Visible(framed && threeD);
    BorderLabel[1]->Visible(framed && !threeD);
    UserControl_Resize();
}

void QVnumBoxControl::UserControl_Resize() {
    Host& host = GetHost();
    const double px = host.TwipsPerPixelX();
    const int32_t W = host.ScaleWidth();
    const int32_t H = host.ScaleHeight();
    const bool framed = mBorderStyle != NoneFixedSingle::None;

    txtLabel->Left(0);
    txtLabel->Top(TextTop());
    txtLabel->Width(WholeTwips(W - (framed ? 3 : 2) * px));
    txtLabel->Height(H);
    for (Label* border : BorderLabel) {
        border->Left(0);
        border->Top(0);
        border->Width(W);
        border->Height(H);
    }
    PlaceCaret();

    // Grow (never shrink) to the height a single-line field needs for the font; the container
    // answers the request with a new resize notice, whose pass then finds that everything fits.
    int32_t needed;
    {
        auto form = TextHeightTestForm::Load(host);
        TextField& field = framed ? form->txtBoxBorder : form->txtBoxNoBorder;
        field.SetFont(txtLabel->GetFont());
        field.Height(H);
        needed = field.Height();
    }
    if (needed > H) host.Size(W, needed);
}

// --- Caret ----------------------------------------------------------------------------------

void QVnumBoxControl::PlaceCaret() {
    if (mCaretOn) {
        Host& host = GetHost();
        const bool framed = mBorderStyle != NoneFixedSingle::None;
        const int32_t x =
            WholeTwips(host.ScaleWidth() - (framed ? 3 : 2) * double{host.TwipsPerPixelX()});
        CursorLine->X1(x);
        CursorLine->X2(x);
        const int32_t y1 = framed ? TextTop() + WholeTwips(host.TwipsPerPixelY()) : 0;
        CursorLine->Y1(y1);
        CursorLine->Y2(WholeTwips(y1 + 0.9 * MeasureHeight(u"i")));
    }
    CursorLine->Visible(mCaretOn);
}

void QVnumBoxControl::CursorTimer_Timer() {
    mCaretOn = !mCaretOn;
    if (!Enabled()) mCaretOn = false;
    PlaceCaret();
}

// --- Highlight, text colour, pointer ---------------------------------------------------------

void QVnumBoxControl::SelectAll() {
    Host& host = GetHost();
    const bool framed = mBorderStyle != NoneFixedSingle::None;
    HighlightShape->Top(TextTop());
    HighlightShape->Height(MeasureHeight(u"X"));
    const int32_t w = MeasureWidth(DisplayText());
    HighlightShape->Left(WholeTwips(static_cast<double>(host.ScaleWidth()) -
                                    (framed ? 2 : 1) * double{host.TwipsPerPixelX()} - w));
    HighlightShape->Width(w);
    if (HighlightShape->Visible() != mHasFocus) HighlightShape->Visible(mHasFocus);
    UpdateTextColour();
}

void QVnumBoxControl::UpdateTextColour() {
    txtLabel->ForeColor(HighlightShape->Visible() ? SystemColor::HighlightText : mForeColor);
}

void QVnumBoxControl::ApplyMousePointer() {
    int16_t pointer = 1;  // arrow
    if (Enabled()) {
        const auto chosen = static_cast<int16_t>(mMousePointer);
        pointer = chosen == 0 ? int16_t{3} : chosen;  // I-beam unless chosen otherwise
    }
    GetHost().MousePointer(pointer);
}

// --- Mouse ----------------------------------------------------------------------------------

void QVnumBoxControl::txtLabel_MouseDown(int16_t& Button, int16_t& Shift, float& X, float& Y) {
    if (!Enabled()) return;
    RunSteps([&] {
        RaiseEvent(u"MouseDown", events.MouseDown, Button, Shift, X, Y);
        HighlightShape->Top(TextTop());
        HighlightShape->Height(MeasureHeight(u"x"));
        HighlightShape->Width(0);
        mDragStartX = WholeTwipsSigned(X);
        HighlightShape->Visible(true);
    });
}

void QVnumBoxControl::txtLabel_MouseMove(int16_t& Button, int16_t& Shift, float& X, float& Y) {
    // The container keeps the tooltip under either name; a name it lacks is skipped.
    for (const char16_t* name : {u"ToolTipText", u"ControlTipText"}) {
        try {
            txtLabel->ToolTipText(GetHost().Extender(name).ToString());
        } catch (const RuntimeError&) {
        }
    }
    if (!Enabled()) return;
    if (!mDblClicked && Button > 0) {
        const double start = mDragStartX;
        const double x = X;
        const double left = x <= start ? x : start;
        HighlightShape->Left(WholeTwipsSigned(left));
        HighlightShape->Width(WholeTwips(std::fabs(start - x)));
    }
    RaiseEvent(u"MouseMove", events.MouseMove, Button, Shift, X, Y);
}

void QVnumBoxControl::txtLabel_MouseUp(int16_t& Button, int16_t& Shift, float& X, float& Y) {
    RunSteps([&] {
        if (mDblClicked) {
            mDblClicked = false;
            if (Enabled()) RaiseEvent(u"MouseUp", events.MouseUp, Button, Shift, X, Y);
            return;
        }
        if (!Enabled()) return;
        RaiseEvent(u"MouseUp", events.MouseUp, Button, Shift, X, Y);
        HighlightShape->Visible(false);
        UpdateTextColour();
        if (HighlightShape->Width() > 250) SelectAll();
    });
}

void QVnumBoxControl::txtLabel_Click() {
    UpdateTextColour();
    RaiseEvent(u"Click", events.Click);
}

void QVnumBoxControl::txtLabel_DblClick() {
    RunSteps([&] {
        SelectAll();
        RaiseEvent(u"DblClick", events.DblClick);
        mDblClicked = true;
    });
}

}  // namespace qv
