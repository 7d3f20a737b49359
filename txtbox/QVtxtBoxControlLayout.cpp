// QVtxtBoxControl: the visible field, the frame, sizes and the font.
#include <cmath>

#include "library/ScopedFlag.h"
#include "library/TextHeightTestForm.h"
#include "txtbox/QVtxtBoxControl.h"

namespace qv {

namespace {
// Whole twips, halves to even, never negative. Sizes are 32-bit: a form may be wider than the
// 16-bit range of older containers.
int32_t WholeTwips(double v) {
    if (!(v > 0)) return 0;
    return static_cast<int32_t>(std::min(std::nearbyint(v), 2147483647.0));
}
}  // namespace

void QVtxtBoxControl::SelectActiveField() {
    RunSteps([&] { SwapActiveField(); });
}

// The text copy and the focus moves run handlers: SelectActiveField finishes the swap first.
void QVtxtBoxControl::SwapActiveField() {
    const int16_t previous = QVTxtBoxCC.ActiveIndex();
    const int16_t next = !mMultiLine ? 0 : (mScrollBars == ScrollBarsEnum::Vertical ? 2 : 1);
    if (next == previous) {
        QVTxtBoxCC.ShowOnly(next);
        UserControl_Resize();
        return;
    }
    // The user may be typing into the field that goes: the new one takes over its text and
    // selection, and the focus (the old one is hidden first, so the host hands the focus on when
    // the new one shows). Its lost-focus notice is no leaving: the text is formatted only when
    // the focus does not come back to the new field.
    TextField& old = QVTxtBoxCC[previous];
    TextField& now = QVTxtBoxCC[next];
    const int32_t selStart = old.SelStart(), selLength = old.SelLength();
    if (now.Text() != old.Text()) {
        const ScopedFlag silent(mWritingText, true);
        now.Text(old.Text());
    }
    mFormatPending = false;
    {
        const ScopedFlag switching(mSwitchingField, true);
        QVTxtBoxCC.ShowOnly(next);
    }
    if (mFormatPending && !mFieldHasFocus) FormatText();
    mFormatPending = false;
    now.SelStart(selStart);
    now.SelLength(selLength);
    UserControl_Resize();
}

void QVtxtBoxControl::UserControl_Resize() {
    Host& host = GetHost();
    const float px = host.TwipsPerPixelX();
    const float py = host.TwipsPerPixelY();
    const int32_t W = host.ScaleWidth();
    const int32_t H = host.ScaleHeight();
    const bool framed = mBorderStyle == NoneFixedSingle::FixedSingle;
    const bool threeD = mAppearance == Flat3d::qv3D;

    ccBorder[0]->Visible(framed && threeD);
    ccBorder[1]->Visible(framed && !threeD);
    for (Label* border : ccBorder) {
        border->Left(0);
        border->Top(0);
        border->Width(W);
        border->Height(H);
    }

    const double left = framed ? (threeD ? 2 * px : px) : 0;
    const double top = framed ? (threeD ? 3 * py : 2 * py) : 0;
    const double frameHeight = framed ? (threeD ? 5 * py : 3 * py) : 0;
    for (TextField* f : QVTxtBoxCC) {
        f->Left(WholeTwips(left));
        f->Top(WholeTwips(top));
        f->Width(WholeTwips(static_cast<double>(W) - 2.0 * f->Left()));
        f->Height(WholeTwips(static_cast<double>(H) - frameHeight));
    }

    // Grow (never shrink) to the height the font needs; the container answers the request with
    // a new resize notice, whose pass then finds that everything fits.
    if (!framed) {
        const int32_t needed = ActiveField().Height();
        if (needed > H) host.Size(W, needed);
        return;
    }
    int32_t needed;
    {
        auto form = TextHeightTestForm::Load(host);
        form->txtBoxBorder.SetFont(QVTxtBoxCC[0].GetFont());
        form->txtBoxBorder.Height(H);
        needed = form->txtBoxBorder.Height();
    }
    if (needed > H) host.Size(W, needed);
}

void QVtxtBoxControl::mFont_FontChanged(const String&) {
    QVTxtBoxCC.SetFont(*mFont);
    UserControl_Resize();
}

}  // namespace qv
