#include "scene/core/Sg_scene_background.h"

#include "scene/core/Sg_scene_canvas.h"
#include "scene/core/Sg_scene_iscene.h"

DBI_PUBLISH(TsgBackground) {
    p.Object("Fill", &TsgBackground::Fill, &TsgBackground::SetFill);
    p.Event("OnMenuPopup", &TsgBackground::GetOnMenuPopup, &TsgBackground::SetOnMenuPopup);
}

DBI_PUBLISH(TsgContent) {}

TsgBackground::TsgBackground(TComponent* AOwner)
    : TsgControl(AOwner), FFill(new TsgBrush(sgBrushNone, 0xFFE0E0E0)) {
    FFill->SetParentObject(this);
    FFill->OnChanged = TNotifyEvent::Bind<&TsgBackground::FillChanged>(this);
}

TsgBackground::~TsgBackground() {
    BeforeDestruction();
    delete FFill;
}

void TsgBackground::FillChanged(TObject*) {
    Repaint();
}

void TsgBackground::Paint() {
    if (FFill->Style() == sgBrushNone)
        return;
    TsgCanvas* canvas = Canvas();
    if (!canvas)
        return;
    canvas->Fill()->Assign(FFill);
    canvas->FillRect(LocalRect(), 0, 0, AllCorners, AbsoluteOpacity());
}

void TsgBackground::PaintChildren() {
    bool hideStyle = FFill->Style() != sgBrushNone;
    if (!hideStyle && !Parent())
        if (IsgScene* scene = Scene())
            hideStyle = scene->GetRoot() == this && scene->GetTransparency();
    TsgVisualObject* style = StyleClone() ? StyleClone()->Visual() : nullptr;
    if (!hideStyle || !style || !style->Visible()) {
        TsgControl::PaintChildren();
        return;
    }
    // Hidden for the length of the painting only, so nothing hears of it.
    style->SetVisibleQuietly(false);
    struct Show {
        TsgVisualObject* Style;
        ~Show() { Style->SetVisibleQuietly(true); }
    } show{style};
    TsgControl::PaintChildren();
}

TsgContent::TsgContent(TComponent* AOwner) : TsgVisualObject(AOwner) {}

void TsgContent::Realign() {
    TsgVisualObject* parent = Parent() ? Parent()->Visual() : nullptr;
    if (parent && parent->HasState(csLoading))
        return;
    TsgVisualObject::Realign();
    if (FRealigning || Loading() || !parent)
        return;
    FRealigning = true;
    struct Done {
        bool& Flag;
        ~Done() { Flag = false; }
    } done{FRealigning};
    parent->Realign();
}
