// Where a control's style comes from, and the default sheet the program carries.
//
// The order: the name in Resource (scene sheet, default sheet, then any stored object), then the
// scene's sheet, then the default sheet by Resource, by the class's style name and by the parent
// class's. Every comparison ignores case. The default sheet is read from the resource on the
// first lookup that needs it, so a hit by Resource on that very first lookup comes from the later
// step and keeps its ResourceName; later lookups of the name hit the first step, which clears it.
#include "scene/core/Sg_scene_control.h"

#include "scene/core/Sg_scene_iscene.h"
#include "scene/core/Sg_scene_registry.h"
#include "scene/core/Sg_scene_resources.h"
#include "scene/core/Sg_scene_streams.h"

#include "platform/rtl/MemoryStream.h"
#include "platform/win/DebugOutput.h"
#include "platform/win/Resources.h"

TsgObject* DefaultStyles = nullptr;

namespace {

constexpr const char* kDefaultStyleResource = "defaultsgstyle";

TsgObject* SceneStyleRoot(TsgControl* C) {
    IsgScene* scene = C->Scene();
    TsgResources* style = scene ? scene->GetStyle() : nullptr;
    return style ? style->Root : nullptr;
}

TsgObject* Search(TsgObject* Root, const UnicodeString& Name) {
    return Root && !Name.IsEmpty() ? Root->FindResource(Name) : nullptr;
}

} // namespace

TsgObject* LoadDefaultStyles() {
    if (DefaultStyles)
        return DefaultStyles;
    auto bytes = win::FindResource(kDefaultStyleResource);
    if (!bytes || bytes->empty())
        return nullptr;
    // The resource stays mapped for the life of the process.
    TCustomMemoryStream stream(bytes->data(), static_cast<int64_t>(bytes->size()));
    DefaultStyles = CreateObjectFromBinStream(nullptr, stream);
    if (!DefaultStyles)
        OutputDebugStringA("The default style sheet cannot be read; controls stay unstyled");
    return DefaultStyles;
}

void FreeDefaultStyles() {
    TsgObject* sheet = DefaultStyles;
    DefaultStyles = nullptr;
    if (sheet)
        sheet->Free();
}

TsgObject* TsgControl::GetResourceObject() {
    TsgObject* sceneRoot = SceneStyleRoot(this);
    // 1. The name in Resource, wherever it is stored; a hit must be visual to serve as a style.
    if (!FResource.IsEmpty()) {
        TsgObject* found = Search(sceneRoot, FResource);
        if (!found)
            found = Search(DefaultStyles, FResource);
        if (!found)
            found = ::FindResource(FResource);
        if (found && found->IsVisual()) {
            TsgObject* clone = found->Clone(this);
            clone->SetResourceName(UnicodeString());
            return clone;
        }
    }
    // 2. The default sheet, once per process.
    LoadDefaultStyles();
    const UnicodeString classStyle = StyleNameOf(ClassInfo());
    // 3. The scene's own sheet.
    if (sceneRoot) {
        TsgObject* found = Search(sceneRoot, FResource);
        if (!found)
            found = Search(sceneRoot, classStyle);
        if (found)
            return found->Clone(this);
    }
    // 4. The default sheet, by name, by class and by the parent class.
    if (DefaultStyles) {
        TsgObject* found = Search(DefaultStyles, FResource);
        if (!found)
            found = Search(DefaultStyles, classStyle);
        if (!found && ClassInfo().Parent())
            found = Search(DefaultStyles, StyleNameOf(*ClassInfo().Parent()));
        if (found)
            return found->Clone(this);
    }
    return nullptr;
}
