// Drag and drop on the scene: drops from the desktop and in-process drags of toolkit objects,
// both routed to the topmost visible, enabled object under the point that accepts the data
// (FindTarget of the root) through the drag events of visual objects.
//
// The object that currently receives a drag is one for the whole process, so a drag that moves
// from one scene to another is handed over by the target switch.
#include "scene/core/Sg_scene_host.h"

#include "platform/ui/DesktopDrop.h"

namespace {

// Keeps the current drag target and forgets it when the object goes.
class TDragTargetHolder : public TComponent {
public:
    TDragTargetHolder() : TComponent(nullptr) {}
    TsgVisualObject* Get() const { return FTarget; }
    void Set(TsgVisualObject* Value) {
        if (Value == FTarget)
            return;
        if (FTarget)
            FTarget->RemoveFreeNotification(this);
        FTarget = Value;
        if (FTarget)
            FTarget->FreeNotification(this);
    }

protected:
    void Notification(TComponent* AComponent, TOperation Operation) override {
        TComponent::Notification(AComponent, Operation);
        if (Operation == opRemove && AComponent == FTarget)
            FTarget = nullptr;
    }

private:
    TsgVisualObject* FTarget = nullptr;
};

TDragTargetHolder& Current() {
    static TDragTargetHolder holder;
    return holder;
}

TsgPoint ScenePointOf(TPoint P) {
    return {static_cast<float>(P.X), static_cast<float>(P.Y)};
}

TsgDragObject DesktopRecord() {
    const TDesktopDrop& drop = CurrentDesktopDrop();
    TsgDragObject record;
    record.Files = drop.Files;
    record.Data = drop.Files.empty() ? drop.Text : drop.Files.front();
    return record;
}

// The current target hears it is left; the new one becomes current and hears it is entered.
void SwitchTarget(TsgVisualObject* Target, const TsgDragObject& Record, const TsgPoint& P) {
    if (Target == Current().Get())
        return;
    if (TsgVisualObject* old = Current().Get())
        old->DragLeave();
    Current().Set(Target);
    if (Target)
        Target->DragEnter(Record, P);
}

} // namespace

void TsgCustomScene::DesktopDrag(TMessage& Message) {
    TsgVisualObject* root = Root() ? Root()->Visual() : nullptr;
    const TsgPoint p = ScenePointOf(MouseLParamPoint(Message.LParam));
    switch (Message.WParam) {
    case ddsEnter:
        // Nobody is told yet; the first move finds the target.
        break;
    case ddsOver:
        if (root) {
            const TsgDragObject record = DesktopRecord();
            SwitchTarget(root->FindTarget(p, record), record, p);
        }
        break;
    case ddsDrop:
        if (TsgVisualObject* target = Current().Get()) {
            Current().Set(nullptr);
            target->DragDrop(DesktopRecord(), p);
        }
        break;
    default:
        break;
    }
    Message.Result = 0;
}

TCustomControl* TsgCustomScene::BeginNativeDrag(TObject* Source) {
    BeginInProcessDrag(Source, [](bool) { Current().Set(nullptr); });
    return this;
}

void TsgCustomScene::DragOverAt(TObject* Source, TPoint Client, TDragState State, bool& Accept) {
    Accept = false;
    if (State == dsDragLeave) {
        if (TsgVisualObject* old = Current().Get()) {
            Current().Set(nullptr);
            old->DragLeave();
        }
        return;
    }
    TsgVisualObject* root = Root() ? Root()->Visual() : nullptr;
    if (!root)
        return;
    TsgDragObject record;
    record.Source = Source;
    const TsgPoint p = ScenePointOf(Client);
    TsgVisualObject* target = root->FindTarget(p, record);
    // An object cannot be dropped onto itself.
    if (target && static_cast<TObject*>(target) == Source)
        return;
    if (TsgVisualObject* current = Current().Get())
        current->DragOver(record, p, Accept);
    SwitchTarget(target, record, p);
    if (!Current().Get())
        Accept = false;
}

void TsgCustomScene::DragDropAt(TObject* Source, TPoint Client) {
    TsgVisualObject* target = Current().Get();
    if (!target)
        return;
    Current().Set(nullptr);
    TsgDragObject record;
    record.Source = Source;
    target->DragDrop(record, ScenePointOf(Client));
}
