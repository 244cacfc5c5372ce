#include "scene/core/Sg_scene_designer.h"

#include "scene/core/Sg_scene_iscene.h"

#include <algorithm>

TsgDesigner* sgDesigner = nullptr;
TsgSceneDesignEditorFactory sgSceneDesignEditorFactory = nullptr;

void TsgDesigner::AddScene(IsgScene* Scene) {
    if (!FScenes)
        FScenes = std::make_unique<std::vector<IsgScene*>>();
    if (std::find(FScenes->begin(), FScenes->end(), Scene) == FScenes->end())
        FScenes->push_back(Scene);
}

void TsgDesigner::RemoveScene(IsgScene* Scene) {
    if (!FScenes)
        return;
    FScenes->erase(std::remove(FScenes->begin(), FScenes->end(), Scene), FScenes->end());
    if (FScenes->empty())
        FScenes.reset();
}

void TsgDesigner::CallDesignSelect(TObject* AObject) {
    if (!sgDesigner || !sgDesigner->FScenes)
        return;
    // A copy: selecting may repaint, and a repaint may not change the list, but a handler might.
    const std::vector<IsgScene*> scenes = *sgDesigner->FScenes;
    for (IsgScene* scene : scenes) {
        scene->DoDesignSelect(AObject);
        scene->AddUpdateRect(TsgRect{0, 0, 10000, 10000});
    }
}
