// TsgResources: a style container. It owns a tree of styles (the same shape as the default
// style sheet) that the controls of every scene using it search before the default sheet.
//
// The tree comes from the style text (the component text form), from the form stream's binary
// property "ResourcesBin", or from a text file named by FileName. Whenever the tree is rebuilt,
// every scene registered with the container re-applies its styles. A text or stream that cannot
// be read leaves no tree; controls then fall back to the default sheet.
#pragma once

#include "platform/classes/Component.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/UnicodeString.h"

#include <vector>

class IsgScene;
class TsgObject;
class TStream;

class TsgResources : public TComponent {
    DBI_PERSISTENT(TsgResources, TComponent)

    explicit TsgResources(TComponent* AOwner);
    ~TsgResources() override;

    // The style text; changing it rebuilds the tree. Not stored in forms (the binary tree is).
    TStrings& Resource() { return FResource; }
    void SetResource(const TStrings& Value);

    // The style tree, or nullptr.
    TsgObject* Root = nullptr;

    const UnicodeString& FileName() const { return FFileName; }
    // Loads the style text from the file of that name in the executable's folder, else from the
    // name itself; a missing file changes nothing.
    void SetFileName(const UnicodeString& Value);

    // Rewrites the style text from the tree (which rebuilds the tree from it).
    void FillStrings();
    void SaveToBinFile(const UnicodeString& AFileName);

    void AddSceneUpdater(IsgScene* Scene);
    void RemoveSceneUpdater(IsgScene* Scene);
    // Every registered scene re-applies its styles, in registration order.
    void UpdateScenes();

    void Loaded() override;
    void DefineProperties(TFiler& Filer) override;
    void ReadResources(TStream& Stream);
    void WriteResources(TStream& Stream);

private:
    void DoResourceChanged();
    void LoadStyleFile();
    void SetRoot(TsgObject* Value);

    TStringList FResource;
    std::vector<IsgScene*> FSceneList;
    UnicodeString FFileName;
};
