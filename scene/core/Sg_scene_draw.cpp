// The scene's repaint: the pending rectangles of the buffer are drawn again and copied out.
#include "scene/core/Sg_scene_host.h"

#include "scene/core/Sg_scene_brush.h"
#include "scene/core/Sg_scene_geometry.h"

#include "platform/win/DebugOutput.h"
#include "platform/win/Environment.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

// Beyond this many rectangles one union is painted instead.
constexpr size_t kMaxSeparateRects = 20;

// With tracing on, every repaint says how much of the scene it covers: "sgscene paint W H A",
// the scene's size and the pixels of the pending rectangles inside it (overlaps counted twice,
// the sum never above the scene's area). What a change costs on screen can so be counted.
void TracePaint(const std::vector<TsgRect>& rects, int width, int height) {
    if (!win::env::IsOn(win::env::kTrace))
        return;
    const double whole = double(std::max(width, 0)) * double(std::max(height, 0));
    double area = 0;
    for (const TsgRect& r : rects) {
        const double w = std::min<double>(r.Right, width) - std::max<double>(r.Left, 0);
        const double h = std::min<double>(r.Bottom, height) - std::max<double>(r.Top, 0);
        if (w > 0 && h > 0)
            area += w * h;
    }
    const std::string line = "sgscene paint " + std::to_string(width) + " " +
                             std::to_string(height) + " " +
                             std::to_string(static_cast<long long>(std::min(area, whole)));
    OutputDebugStringA(line.c_str());
}

} // namespace

void TsgCustomScene::Draw() {
    if (FDrawing || FUpdateRects.empty())
        return;
    FDrawing = true;
    // Whatever happens while painting, the scene is left ready for the next Draw.
    struct Finish {
        TsgCustomScene* scene;
        ~Finish() {
            scene->FUpdateRects.clear();
            scene->FDrawing = false;
        }
    } finish{this};

    if (FUpdateRects.size() > kMaxSeparateRects) {
        TsgRect all = FUpdateRects.front();
        for (const TsgRect& r : FUpdateRects)
            all = sgUnionRect(all, r);
        FUpdateRects.assign(1, all);
    }
    TracePaint(FUpdateRects, Width(), Height());

    if (FCanvas->BeginScene()) {
        struct End {
            TsgCanvas* canvas;
            ~End() { canvas->EndScene(); }
        } end{FCanvas.get()};
        FCanvas->ResetClipRect();
        FCanvas->SetMatrix(IdentityMatrix);
        FCanvas->SetClipRects(FUpdateRects);
        DrawBackground();
        FCanvas->StrokeThickness = 1;
        FCanvas->StrokeCap = sgCapFlat;
        FCanvas->StrokeJoin = sgJoinMiter;
        FCanvas->SetStrokeDash(sgDashSolid);
        FCanvas->Stroke()->SetStyle(sgBrushSolid);
        FCanvas->Fill()->SetStyle(sgBrushSolid);
        DrawObjects();
        if (FDesignTime && FDesignEditor)
            FDesignEditor->DrawDesignOverlay(FCanvas.get());
        if (FShowUpdateRects) {
            FCanvas->ResetClipRect();
            FCanvas->SetMatrix(IdentityMatrix);
            FCanvas->Stroke()->SetStyle(sgBrushSolid);
            FCanvas->Stroke()->SetColor(u"#9000FF00");
            FCanvas->StrokeThickness = 1;
            FCanvas->Fill()->SetStyle(sgBrushNone);
            for (const TsgRect& r : FUpdateRects)
                FCanvas->DrawRect(r, 0, 0, AllCorners, 0.5f);
        }
    }

    if (OnFlush) {
        OnFlush(this);
        return;
    }
    const bool layered = FTransparency && ParentIsForm() && !FDesignTime;
    if (!layered)
        FlushToWindow();
    else
        UpdateLayer();
}

void TsgCustomScene::DrawBackground() {
    const TsgRect whole{-1, -1, static_cast<float>(Width()) + 1, static_cast<float>(Height()) + 1};
    const TsgBrushStyle style = FFill->Style();
    const bool clearOnly =
        style == sgBrushNone || (style == sgBrushSolid && FFill->SolidColor() < 0x01000000);
    // A transparent scene inside another control would show its parent's painting through the
    // buffer; the parent paints straight into the window here, so the buffer is cleared to
    // transparent, which the opaque copy shows as black.
    if (clearOnly) {
        const TsgColor color = FTransparency ? 0 : (FFill->SolidColor() & 0x00FFFFFF);
        for (const TsgRect& r : FUpdateRects)
            FCanvas->ClearRect(r, color);
        return;
    }
    FCanvas->Fill()->Assign(FFill.get());
    FCanvas->FillRect(whole, 0, 0, AllCorners, 1, sgCornerRound);
}

void TsgCustomScene::DrawObjects() {
    // A copy: painting may add or remove top-level objects.
    const std::vector<TsgObject*> objects = FChildren;
    for (TsgObject* object : objects) {
        TsgVisualObject* visual = object->Visual();
        if (!visual || !visual->Visible())
            continue;
        const TsgRect update = visual->UpdateRect();
        for (const TsgRect& pending : FUpdateRects) {
            if (!sgIntersectRect(update, pending))
                continue;
            FCanvas->SetMatrix(sgMatrixMultiply(IdentityMatrix, visual->AbsoluteMatrix()));
            visual->BeforePaint();
            visual->Paint();
            visual->AfterPaint();
            visual->PaintChildren();
            if (visual->OnPaint) {
                FCanvas->SetMatrix(visual->AbsoluteMatrix());
                visual->OnPaint(visual, FCanvas.get(), visual->LocalRect());
            }
            break;
        }
    }
}

void TsgCustomScene::FlushToWindow() {
    if (!HandleAllocated())
        return;
    for (const TsgRect& r : FUpdateRects)
        FCanvas->FlushBufferRect(0, 0, this, r);
}

void TsgCustomScene::UpdateLayer() {
    // Per-pixel transparent windows are not available on every desktop: the whole buffer is
    // shown opaque, composed over black.
    if (FDesignTime || !HandleAllocated() || !Parent() || !Parent()->HandleAllocated())
        return;
    FCanvas->FlushBuffer(0, 0, this);
}
