#include "SceneHostTestNodes.h"

#include <cstdlib>

DBI_PUBLISH(TsgHostTestRect) {
    p.Integer("Color", &TsgHostTestRect::Color, &TsgHostTestRect::SetColor);
}

DBI_PUBLISH(TsgRecordingScene) {}

namespace {
// The scene host tests open real windows on SDL's offscreen driver, chosen before video starts.
const bool offscreenVideo = (setenv("DBI_VIDEO_DRIVER", "offscreen", 1), true);
} // namespace

void TsgHostTestRect::Paint() {
    ++Paints;
    TsgCanvas* canvas = Canvas();
    canvas->Fill()->SetStyle(sgBrushSolid);
    canvas->Fill()->SetSolidColor(FColor);
    canvas->FillRect(LocalRect(), 0, 0, AllCorners, AbsoluteOpacity());
}

void TsgRecordingScene::Draw() {
    std::vector<TsgRect> rects;
    for (int i = 0; i < GetUpdateRectsCount(); ++i)
        rects.push_back(GetUpdateRect(i));
    if (!rects.empty() && !IsDrawing())
        Draws.push_back(rects);
    TsgScene::Draw();
}
