// The stream entry points of the object tree: text and binary forms, with and without an owner.
// Whatever they build is freed again through its owner or directly; the sanitizers see the rest.
#include "scene/core/Sg_ani.h"
#include "scene/core/Sg_effects.h"
#include "scene/core/Sg_objects.h"
#include "scene/core/Sg_scene.h"

#include "platform/rtl/MemoryStream.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 16384)
        return 0;
    RegisterSgSceneUnit();
    RegisterSgObjectsUnit();
    RegisterSgAniUnit();
    RegisterSgEffectsUnit();
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    {
        TStringStream text{AnsiString(bytes)};
        delete CreateObjectFromStream(nullptr, text);
    }
    {
        TComponent owner(nullptr);
        TStringStream text{AnsiString(bytes)};
        if (TsgObject* root = CreateObjectFromStream(&owner, text)) {
            std::unique_ptr<TsgObject> clone(root->Clone(nullptr));
            TStringStream out;
            clone->SaveToStream(out);
        }
    }
    {
        TBytesStream binary(std::vector<uint8_t>(data, data + size));
        delete CreateObjectFromBinStream(nullptr, binary);
    }
    {
        TStringStream text{AnsiString(bytes)};
        std::unique_ptr<TStringStream> root;
        std::vector<std::unique_ptr<TStringStream>> parts;
        SplitObjectsInStream(text, root, parts);
    }
    return 0;
}
