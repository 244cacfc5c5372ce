#include "scene/core/Sg_scene_resources.h"

#include "scene/core/Sg_scene_brush.h"
#include "scene/core/Sg_scene_iscene.h"
#include "scene/core/Sg_scene_object.h"
#include "scene/core/Sg_scene_streams.h"
#include "scene/core/Sg_scene_visual.h"

#include "platform/classes/Filer.h"
#include "platform/rtl/CommandLine.h"
#include "platform/rtl/FileStream.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/MemoryStream.h"
#include "platform/rtl/Paths.h"

#include <algorithm>

DBI_PUBLISH(TsgResources) {
    p.String("FileName", &TsgResources::FileName, &TsgResources::SetFileName);
}

namespace {

TsgObject* StyleRootOf(TsgResources* AStyle) {
    return AStyle ? AStyle->Root : nullptr;
}

// Brush links reach the style tree of their scene through this.
[[maybe_unused]] const bool kStyleRootHook = (sgStyleRootOf = StyleRootOf, true);

} // namespace

TsgResources::TsgResources(TComponent* AOwner) : TComponent(AOwner) {
    FResource.OnChange = [this] { DoResourceChanged(); };
}

TsgResources::~TsgResources() {
    SetRoot(nullptr);
    FResource.OnChange = nullptr;
}

void TsgResources::SetRoot(TsgObject* Value) {
    TsgObject* old = Root;
    Root = Value;
    delete old;
    if (Root && Root->IsVisual())
        Root->Visual()->UpdateDesignHide(false);
}

void TsgResources::SetResource(const TStrings& Value) {
    FResource.Assign(Value);
}

void TsgResources::DoResourceChanged() {
    SetRoot(nullptr);
    TMemoryStream text;
    FResource.SaveToStream(text);
    if (text.Size() > 0) {
        text.SetPosition(0);
        SetRoot(CreateObjectFromStream(nullptr, text));
    }
    UpdateScenes();
}

void TsgResources::ReadResources(TStream& Stream) {
    SetRoot(nullptr);
    SetRoot(CreateObjectFromBinStream(nullptr, Stream));
    if (Root)
        UpdateScenes();
}

void TsgResources::WriteResources(TStream& Stream) {
    if (Root)
        Root->SaveToBinStream(Stream);
}

void TsgResources::DefineProperties(TFiler& Filer) {
    TComponent::DefineProperties(Filer);
    Filer.DefineBinaryProperty(
        "ResourcesBin", [this](TStream& s) { ReadResources(s); },
        [this](TStream& s) { WriteResources(s); }, Root != nullptr);
}

void TsgResources::LoadStyleFile() {
    if (FFileName.IsEmpty())
        return;
    const UnicodeString besideProgram = ExtractFilePath(ParamStr(0)) + FFileName;
    if (FileExists(besideProgram))
        FResource.LoadFromFile(besideProgram);
    else if (FileExists(FFileName))
        FResource.LoadFromFile(FFileName);
}

void TsgResources::Loaded() {
    TComponent::Loaded();
    LoadStyleFile();
}

void TsgResources::SetFileName(const UnicodeString& Value) {
    if (Value == FFileName)
        return;
    FFileName = Value;
    if (!HasState(csLoading))
        LoadStyleFile();
}

void TsgResources::FillStrings() {
    if (!Root)
        return;
    TMemoryStream text;
    Root->SaveToStream(text);
    text.SetPosition(0);
    FResource.LoadFromStream(text);
}

void TsgResources::SaveToBinFile(const UnicodeString& AFileName) {
    TFileStream file(AFileName, fmCreate);
    WriteResources(file);
}

void TsgResources::AddSceneUpdater(IsgScene* Scene) {
    if (Scene && std::find(FSceneList.begin(), FSceneList.end(), Scene) == FSceneList.end())
        FSceneList.push_back(Scene);
}

void TsgResources::RemoveSceneUpdater(IsgScene* Scene) {
    FSceneList.erase(std::remove(FSceneList.begin(), FSceneList.end(), Scene), FSceneList.end());
}

void TsgResources::UpdateScenes() {
    // A scene may leave the list while it updates.
    const std::vector<IsgScene*> scenes = FSceneList;
    for (IsgScene* scene : scenes)
        if (std::find(FSceneList.begin(), FSceneList.end(), scene) != FSceneList.end())
            scene->UpdateResource();
}
