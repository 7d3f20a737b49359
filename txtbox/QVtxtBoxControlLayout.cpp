// QVtxtBoxControl: the visible field, the frame, sizes and the font.
#include <cmath>

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
    const int16_t previous = mActiveField;
    if (!mMultiLine) {
        mActiveField = 0;
    } else {
        mActiveField = mScrollBars == ScrollBarsEnum::Vertical ? 2 : 1;
    }
    if (mActiveField != previous) {
        // What the user typed lives only in the field that was visible; hiding it while it has
        // the focus formats the new field at once, which would otherwise lose that text.
        const String text = QVTxtBoxCC[previous]->Text();
        if (ActiveField().Text() != text) {
            mWritingText = true;
            const WritingTextScope scope(mWritingText);
            ActiveField().Text(text);
        }
    }
    for (int16_t i = 0; i < 3; ++i) QVTxtBoxCC[i]->Visible(i == mActiveField);
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
        form->txtBoxBorder.SetFont(QVTxtBoxCC[0]->GetFont());
        form->txtBoxBorder.Height(H);
        needed = form->txtBoxBorder.Height();
    }
    if (needed > H) host.Size(W, needed);
}

void QVtxtBoxControl::mFont_FontChanged(const String&) {
    for (TextField* f : QVTxtBoxCC) f->SetFont(*mFont);
    UserControl_Resize();
}

}  // namespace qv
