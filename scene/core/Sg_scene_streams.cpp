#include "scene/core/Sg_scene_streams.h"

#include "scene/core/Sg_scene_object.h"
#include "scene/core/Sg_scene_registry.h"
#include "scene/core/Sg_utils.h"

#include "platform/classes/ObjectText.h"
#include "platform/classes/Reader.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/StringUtils.h"

namespace {

UnicodeString FirstWord(const UnicodeString& Line) {
    UnicodeString trimmed = Line.Trim();
    int blank = trimmed.Pos(u" ");
    return blank > 0 ? trimmed.SubString(1, blank - 1) : trimmed;
}

// Creates an instance of the class the binary stream at its position names, owned by AOwner.
// The stream's position is left where it was.
TsgObject* CreateRootInstance(TComponent* AOwner, TStream& Binary) {
    const int64_t start = Binary.Position();
    TComponent* instance = nullptr;
    {
        TReader reader(Binary);
        reader.ReadSignature();
        uint8_t flags;
        int childPos;
        reader.ReadPrefix(flags, childPos);
        const AnsiString className = reader.ReadStr();
        const TClassInfo& info = FindClass(className);
        if (!info.CreateComponent)
            throw EClassNotFound(AnsiString("Class ") + className + " cannot be created");
        instance = info.CreateComponent(AOwner);
    }
    Binary.SetPosition(start);
    auto* object = dynamic_cast<TsgObject*>(instance);
    if (!object) {
        instance->Free();
        throw EClassNotFound("The stream's root is no scene object");
    }
    return object;
}

// Nested text objects are read one level at a time, so a deep chain of nested objects in a
// hostile text cannot exhaust the stack.
constexpr int kMaxNesting = 64;

TsgObject* CreateFromText(TComponent* AOwner, TStream& Stream, int Depth) {
    if (Depth > kMaxNesting)
        return nullptr;
    std::unique_ptr<TStringStream> rootText;
    std::vector<std::unique_ptr<TStringStream>> nested;
    TStream* text = &Stream;
    if (AOwner) {
        SplitObjectsInStream(Stream, rootText, nested);
        if (!rootText)
            return nullptr;
        rootText->SetPosition(0);
        text = rootText.get();
    }
    TsgObject* root = nullptr;
    try {
        TMemoryStream binary;
        ObjectTextToBinary(*text, binary);
        binary.SetPosition(0);
        root = CreateRootInstance(AOwner, binary);
        root->LoadFromBinStream(binary);
        if (AOwner)
            for (auto& part : nested) {
                part->SetPosition(0);
                TsgObject* child = CreateFromText(AOwner, *part, Depth + 1);
                part.reset();
                if (!child)
                    continue;
                if (sgDesigner)
                    child->SetName(sgDesigner->UniqueName(AOwner, child->ClassName()));
                root->AddObject(child);
            }
    } catch (...) {
        if (root)
            root->Free();
        return nullptr;
    }
    return root;
}

} // namespace

void SplitObjectsInStream(TStream& Stream, std::unique_ptr<TStringStream>& RootStream,
                          std::vector<std::unique_ptr<TStringStream>>& List) {
    try {
        TStringList lines;
        lines.LoadFromStream(Stream);
        TStringList rootLines;
        TStringList nestedLines;
        int objectDepth = 0;
        int itemDepth = 0;
        for (int i = 0; i < lines.Count(); ++i) {
            UnicodeString line = lines[i];
            const UnicodeString word = FirstWord(line);
            if (i > 0 && SameText(word, UnicodeString(u"object"))) {
                line = ClearResObjectName(line);
                ++objectDepth;
            }
            if (objectDepth > 0)
                nestedLines.Add(line);
            else
                rootLines.Add(line);
            if (SameText(word, UnicodeString(u"item")))
                ++itemDepth;
            if (itemDepth <= 0) {
                if (SameText(word, UnicodeString(u"end"))) {
                    if (objectDepth == 1) {
                        List.push_back(
                            std::make_unique<TStringStream>(AnsiString(nestedLines.Text())));
                        nestedLines.Clear();
                    }
                    --objectDepth;
                }
            } else if (SameText(word, UnicodeString(u"end")) ||
                       SameText(word, UnicodeString(u"end>"))) {
                --itemDepth;
            }
        }
        RootStream = std::make_unique<TStringStream>(AnsiString(rootLines.Text()));
    } catch (...) {
        // Splitting never fails the caller; the outputs hold what was split.
    }
}

TsgObject* CreateObjectFromStream(TComponent* AOwner, TStream& Stream) {
    return CreateFromText(AOwner, Stream, 0);
}

TsgObject* CreateObjectFromBinStream(TComponent* AOwner, TStream& Stream) {
    TsgObject* root = nullptr;
    try {
        root = CreateRootInstance(AOwner, Stream);
        root->LoadFromBinStream(Stream);
    } catch (...) {
        if (root)
            root->Free();
        return nullptr;
    }
    return root;
}

TsgObject* LoadObjectFromStream(TsgObject* AObject, TStream& Stream) {
    try {
        TMemoryStream binary;
        ObjectTextToBinary(Stream, binary);
        binary.SetPosition(0);
        if (AObject)
            AObject->LoadFromBinStream(binary);
        return AObject;
    } catch (...) {
        return nullptr;
    }
}
