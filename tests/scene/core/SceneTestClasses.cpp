#include "SceneTestClasses.h"

DBI_PUBLISH(TsgTestShape) {
    p.Object("Fill", &TsgTestShape::Fill, &TsgTestShape::SetFill);
    p.Object("Stroke", &TsgTestShape::Stroke, &TsgTestShape::SetStroke);
    p.Object("Font", &TsgTestShape::Font, &TsgTestShape::SetFont);
    p.Object("Path", &TsgTestShape::Path, &TsgTestShape::SetPath);
}

DBI_PUBLISH(TsgTestAnimation) {
    p.String("Trigger", &TsgTestAnimation::Trigger, &TsgTestAnimation::SetTrigger);
}

DBI_PUBLISH(TsgTestEffect) {}
DBI_PUBLISH(TTestScene) {}
DBI_PUBLISH(TsgTestFocusable) {}
DBI_PUBLISH(TsgTestContent) {}

TsgTestShape::TsgTestShape(TComponent* AOwner)
    : TsgVisualObject(AOwner), FFill(new TsgBrush(sgBrushSolid, 0xFFFFFFFF)),
      FStroke(new TsgBrush(sgBrushSolid, 0xFF000000)), FFont(new TsgFont()),
      FPath(new TsgPathData()) {
    FFill->SetParentObject(this);
    FStroke->SetParentObject(this);
}

TsgTestShape::~TsgTestShape() {
    BeforeDestruction();
    delete FFill;
    delete FStroke;
    delete FFont;
    delete FPath;
}

void TTestScene::Notification(TComponent* AComponent, TOperation Operation) {
    if (Operation == opRemove)
        Removed.push_back(AComponent);
    TsgOffscreenScene::Notification(AComponent, Operation);
}
