#include "scene/core/Sg_scene_align.h"

#include "scene/core/Sg_scene_geometry.h"

#include <cmath>
#include <vector>

namespace {

// The object keeps its layout state (suspension, size at the last layout) for the layout code;
// this reaches it without widening the object's public face.
struct TsgAlignState : TsgVisualObject {
    static bool& Disabled(TsgVisualObject* O) { return O->*(&TsgAlignState::FDisableAlign); }
    static float& LastWidth(TsgVisualObject* O) { return O->*(&TsgAlignState::FLastWidth); }
    static float& LastHeight(TsgVisualObject* O) { return O->*(&TsgAlignState::FLastHeight); }
};

// Stores a child's size without the setters' reactions (parent realign, repaint) and without
// touching the size it remembers from its own last layout.
void StoreSize(TsgVisualObject* C, float AWidth, float AHeight) {
    const float lastWidth = TsgAlignState::LastWidth(C);
    const float lastHeight = TsgAlignState::LastHeight(C);
    C->SetSizeWithoutChange(AWidth, AHeight);
    TsgAlignState::LastWidth(C) = lastWidth;
    TsgAlignState::LastHeight(C) = lastHeight;
}

void StorePosition(TsgVisualObject* C, float X, float Y) {
    C->Position()->SetPointNoChange({X, Y});
}

constexpr TsgAlign kPassOrder[] = {
    vaMostTop,  vaMostBottom, vaMostLeft,   vaMostRight,   vaTop,      vaBottom,
    vaLeft,     vaRight,      vaClient,     vaHorizontal,  vaVertical, vaContents,
    vaCenter,   vaHorzCenter, vaVertCenter, vaScale,       vaFit,      vaFitLeft,
    vaFitRight, vaTopRight,   vaBottomLeft, vaBottomRight,
};

// Whether C goes before E in the pass of alignment A.
bool GoesBefore(TsgAlign A, TsgVisualObject* C, TsgVisualObject* E) {
    switch (A) {
    case vaTop:
    case vaMostTop:
        return C->Position()->Y() < E->Position()->Y();
    case vaLeft:
    case vaMostLeft:
        return C->Position()->X() < E->Position()->X();
    case vaRight:
    case vaMostRight:
        return C->Position()->X() + C->Width() >= E->Position()->X() + E->Width();
    case vaBottom:
    case vaMostBottom:
        return C->Position()->Y() + C->Height() >= E->Position()->Y() + E->Height();
    default:
        return false;
    }
}

bool KeepsOwnWidth(TsgAlign A) {
    switch (A) {
    case vaTopLeft:
    case vaTopRight:
    case vaBottomLeft:
    case vaBottomRight:
    case vaLeft:
    case vaRight:
    case vaMostLeft:
    case vaMostRight:
    case vaVertical:
        return true;
    default:
        return false;
    }
}

bool KeepsOwnHeight(TsgAlign A) {
    switch (A) {
    case vaTopLeft:
    case vaTopRight:
    case vaBottomLeft:
    case vaBottomRight:
    case vaTop:
    case vaBottom:
    case vaMostTop:
    case vaMostBottom:
    case vaHorizontal:
        return true;
    default:
        return false;
    }
}

// Places C at (X + pL, Y + pT) with the size AW x AH less its padding, then lays out its own
// children.
void PlaceAndRealign(TsgVisualObject* C, float X, float Y, float AW, float AH) {
    const TsgRect pad = C->Padding()->Rect();
    StorePosition(C, X + pad.Left, Y + pad.Top);
    StoreSize(C, AW - pad.Left - pad.Right, AH - pad.Top - pad.Bottom);
    C->MatrixChanged(C);
    C->Realign();
}

void FitChild(TsgVisualObject* P, TsgVisualObject* C, TsgAlign A) {
    const TsgRect pad = C->Padding()->Rect();
    const TsgRect margins = P->Margins()->Rect();
    const TsgRect target{margins.Left, margins.Top, P->Width() - margins.Right,
                         P->Height() - margins.Bottom};
    const float x = C->Position()->X(), y = C->Position()->Y();
    TsgRect source{x - pad.Left, y - pad.Top, x + C->Width() + pad.Right,
                   y + C->Height() + pad.Bottom};
    const float ratio = sgFitRect(source, target);
    // A source of no size gives a ratio of 0; it has nothing to enlarge.
    if (ratio < 1 && ratio > 0) {
        source = {source.Left / ratio, source.Top / ratio, source.Right / ratio,
                  source.Bottom / ratio};
        sgRectCenter(source, target);
    }
    if (A == vaFitLeft)
        sgOffsetRect(source, target.Left - source.Left, 0);
    else if (A == vaFitRight)
        sgOffsetRect(source, target.Right - source.Right, 0);
    PlaceAndRealign(C, source.Left, source.Top, sgRectWidth(source), sgRectHeight(source));
}

void LayoutChild(TsgVisualObject* P, TsgVisualObject* C, TsgAlign A, TsgRect& R) {
    if (!C->Visible())
        return;
    const TsgRect pad = C->Padding()->Rect();
    const float ownWidth = C->Width() + pad.Left + pad.Right;
    const float ownHeight = C->Height() + pad.Top + pad.Bottom;
    float AW = R.Right - R.Left;
    if (AW < 0 || KeepsOwnWidth(A))
        AW = ownWidth;
    float AH = R.Bottom - R.Top;
    if (AH < 0 || KeepsOwnHeight(A))
        AH = ownHeight;
    float X = R.Left, Y = R.Top;
    // These keep their place across the other axis. The padding is added back when the child
    // is placed, so it is taken off here; otherwise every layout would move the child by it.
    if (A == vaVertical)
        X = C->Position()->X() - pad.Left;
    if (A == vaHorizontal)
        Y = C->Position()->Y() - pad.Top;

    switch (A) {
    case vaTop:
    case vaMostTop:
        R.Top += AH;
        break;
    case vaBottom:
    case vaMostBottom:
        R.Bottom -= AH;
        Y = R.Bottom;
        break;
    case vaLeft:
    case vaMostLeft:
        R.Left += AW;
        break;
    case vaRight:
    case vaMostRight:
        R.Right -= AW;
        X = R.Right;
        break;
    case vaCenter:
    case vaHorzCenter:
    case vaVertCenter:
        if (A != vaVertCenter) {
            X = std::trunc((AW - ownWidth) / 2) + R.Left;
            AW = ownWidth;
        }
        if (A != vaHorzCenter) {
            Y = std::trunc((AH - ownHeight) / 2) + R.Top;
            AH = ownHeight;
        }
        break;
    case vaTopRight:
        C->Position()->SetX(P->Width() - TsgAlignState::LastWidth(P) + C->Position()->X());
        return;
    case vaBottomLeft:
        C->Position()->SetY(P->Height() - TsgAlignState::LastHeight(P) + C->Position()->Y());
        return;
    case vaBottomRight:
        C->Position()->SetPoint({P->Width() - TsgAlignState::LastWidth(P) + C->Position()->X(),
                                 P->Height() - TsgAlignState::LastHeight(P) + C->Position()->Y()});
        return;
    case vaContents:
        PlaceAndRealign(C, 0, 0, P->Width(), P->Height());
        return;
    case vaScale: {
        const float lastWidth = TsgAlignState::LastWidth(P);
        const float lastHeight = TsgAlignState::LastHeight(P);
        if (lastWidth > 0 && lastHeight > 0 && P->Width() > 0 && P->Height() > 0) {
            const float kx = P->Width() / lastWidth;
            const float ky = P->Height() / lastHeight;
            StorePosition(C, C->Position()->X() * kx, C->Position()->Y() * ky);
            StoreSize(C, C->Width() * kx, C->Height() * ky);
            C->MatrixChanged(C);
            C->Realign();
        }
        return;
    }
    case vaFit:
    case vaFitLeft:
    case vaFitRight:
        FitChild(P, C, A);
        return;
    default:
        break;
    }

    StorePosition(C, X + pad.Left, Y + pad.Top);
    const float newWidth = AW - pad.Left - pad.Right;
    const float newHeight = AH - pad.Top - pad.Bottom;
    if (newWidth != C->Width() || newHeight != C->Height()) {
        StoreSize(C, newWidth, newHeight);
        C->Realign();
    }
    C->MatrixChanged(C);

    // A child that kept its own size in its layout gives back (or takes) the difference.
    const float dw = AW - (C->Width() + pad.Left + pad.Right);
    const float dh = AH - (C->Height() + pad.Top + pad.Bottom);
    if (dw == 0 && dh == 0)
        return;
    switch (A) {
    case vaTop:
        R.Top -= dh;
        break;
    case vaBottom:
        R.Bottom += dh;
        break;
    case vaLeft:
        R.Left -= dw;
        break;
    case vaRight:
        R.Right += dw;
        break;
    case vaClient:
        R.Right += dw;
        R.Bottom += dh;
        break;
    default:
        break;
    }
}

std::vector<TsgVisualObject*> PassChildren(TsgVisualObject* P, TsgAlign A, bool designTime) {
    std::vector<TsgVisualObject*> list;
    for (int i = 0; i < P->ChildrenCount(); ++i) {
        TsgVisualObject* c = P->GetChild(i)->Visual();
        if (!c || c->Align() != A || !(c->Visible() || designTime))
            continue;
        auto at = list.begin();
        while (at != list.end() && !GoesBefore(A, c, *at))
            ++at;
        list.insert(at, c);
    }
    return list;
}

} // namespace

void sgDisableAlign(TsgVisualObject* P) {
    TsgAlignState::Disabled(P) = true;
}

void sgEnableAlign(TsgVisualObject* P) {
    TsgAlignState::Disabled(P) = false;
}

bool sgAlignDisabled(TsgVisualObject* P) {
    return TsgAlignState::Disabled(P);
}

TsgPoint sgLastAlignSize(TsgVisualObject* P) {
    return {TsgAlignState::LastWidth(P), TsgAlignState::LastHeight(P)};
}

void sgRealign(TsgVisualObject* P) {
    if (!P || P->HasState(csDestroying))
        return;
    const float width = P->Width(), height = P->Height();
    if ((width > -2 && width < 2) || (height > -2 && height < 2))
        return;
    bool& disabled = TsgAlignState::Disabled(P);
    if (disabled)
        return;
    if (P->HasState(csLoading)) {
        TsgAlignState::LastWidth(P) = width;
        TsgAlignState::LastHeight(P) = height;
        return;
    }
    if (P->ChildrenCount() == 0)
        return;

    // The children's own size changes would otherwise lay P out again from inside this layout.
    disabled = true;
    struct Resume {
        TsgVisualObject* P;
        ~Resume() { TsgAlignState::Disabled(P) = false; }
    } resume{P};

    bool aligned = false;
    for (int i = 0; i < P->ChildrenCount() && !aligned; ++i)
        if (TsgVisualObject* c = P->GetChild(i)->Visual())
            aligned = c->Align() != vaNone;
    if (!aligned)
        return;

    IsgScene* scene = P->Scene();
    const bool designTime = scene && scene->GetDesignTime();
    TsgRect R = P->Margins()->MarginRect({0, 0, width, height});
    for (TsgAlign pass : kPassOrder)
        for (TsgVisualObject* child : PassChildren(P, pass, designTime))
            LayoutChild(P, child, pass, R);

    if (TsgAlignState::LastWidth(P) != width || TsgAlignState::LastHeight(P) != height)
        P->UpdateEffects();
    TsgAlignState::LastWidth(P) = width;
    TsgAlignState::LastHeight(P) = height;
    P->Repaint();
}
