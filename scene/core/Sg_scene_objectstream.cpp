// Streaming and cloning of a node's subtree.
//
// Toolkit loads and clones drop every name read from the stream: the same style tree is cloned
// into many controls of one owner, where equal names would collide, and the toolkit finds its
// parts by ResourceName or BindingName instead. The object the stream is read into keeps the
// name it had. Form loads and LoadFromStream keep the names, since fields bind by them.
#include "scene/core/Sg_scene_object.h"

#include "scene/core/Sg_scene_streams.h"
#include "scene/core/Sg_scene_visual.h"

#include "platform/classes/ObjectText.h"
#include "platform/classes/Reader.h"
#include "platform/classes/Writer.h"
#include "platform/rtl/MemoryStream.h"
#include "platform/win/DebugOutput.h"

#include <utility>
#include <vector>

namespace {

// Blanks a component's name for the length of a write and puts it back afterwards, also when
// the write fails.
class TNameBlanker {
public:
    void Blank(TComponent* c) {
        if (c->Name().IsEmpty())
            return;
        saved_.emplace_back(c, c->Name());
        c->SetName(AnsiString());
    }
    ~TNameBlanker() {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
            try {
                it->first->SetName(it->second);
            } catch (...) {
                // The name was valid and unique before; nothing can have taken it meanwhile.
            }
        }
    }

private:
    std::vector<std::pair<TComponent*, AnsiString>> saved_;
};

} // namespace

void TsgObject::WriteBinaryBlankName(TStream& AStream, bool BlankChildNames) {
    TNameBlanker blanker;
    blanker.Blank(this);
    if (BlankChildNames)
        for (int i = 0; i < ChildrenCount(); ++i)
            blanker.Blank(GetChild(i));
    TWriter writer(AStream);
    writer.WriteRootComponent(this);
}

void TsgObject::SaveToStream(TStream& Stream) {
    TMemoryStream binary;
    WriteBinaryBlankName(binary, false);
    binary.SetPosition(0);
    ObjectBinaryToText(binary, Stream);
}

void TsgObject::SaveToStreamNoNames(TStream& Stream) {
    TMemoryStream binary;
    WriteBinaryBlankName(binary, true);
    binary.SetPosition(0);
    ObjectBinaryToText(binary, Stream);
}

void TsgObject::SaveToBinStream(TStream& AStream) {
    WriteBinaryBlankName(AStream, false);
}

void TsgObject::LoadFromStream(TStream& AStream) {
    TMemoryStream binary;
    ObjectTextToBinary(AStream, binary);
    binary.SetPosition(0);
    const AnsiString name = Name();
    TNameBlanker blanker;
    blanker.Blank(this);
    // Nested objects keep the names the stream gives them: this load reads a tree as it was
    // saved, and code finds its parts by those names.
    TReader reader(binary);
    reader.ReadRootComponent(this);
}

void TsgObject::ReadInto(TStream& AStream, bool KeepNames) {
    TNameBlanker blanker;
    if (!KeepNames)
        blanker.Blank(this);
    TReader reader(AStream);
    if (!KeepNames)
        reader.OnSetName = [](TReader&, TComponent*, AnsiString& n) { n = AnsiString(); };
    // What the load skips (a property or class this build does not know, a value it refuses)
    // goes to the debug trace, so a layout that lost a part can be told from one that never had
    // it.
    reader.OnError = [](TReader&, const AnsiString& message, bool& handled) {
        handled = true;
        OutputDebugStringA((AnsiString("Toolkit load skipped: ") + message).c_str());
    };
    reader.ReadRootComponent(this);
}

void TsgObject::LoadFromBinStream(TStream& AStream) {
    ReadInto(AStream, false);
}

void TsgObject::LoadFromBinStreamKeepNames(TStream& AStream) {
    ReadInto(AStream, true);
}

TsgObject* TsgObject::Clone(TComponent* AOwner) {
    TMemoryStream binary;
    WriteBinaryBlankName(binary, false);
    binary.SetPosition(0);
    if (!ClassInfo().CreateComponent)
        throw EClassNotFound(AnsiString("Class ") + ClassName() + " cannot be created");
    auto* clone = dynamic_cast<TsgObject*>(ClassInfo().CreateComponent(AOwner));
    if (!clone)
        throw EClassNotFound(AnsiString("Class ") + ClassName() + " is no scene object");
    try {
        TReader reader(binary);
        reader.OnSetName = [](TReader&, TComponent*, AnsiString& n) { n = AnsiString(); };
        reader.ReadRootComponent(clone);
    } catch (...) {
        clone->Free();
        throw;
    }
    return clone;
}

void TsgObject::CloneChildFromStream(TStream& AStream) {
    TsgObject* created = CreateObjectFromStream(this, AStream);
    if (!created || created->ChildrenCount() == 0)
        return;
    DeleteChildren();
    while (created->ChildrenCount() > 0) {
        TsgObject* child = created->GetChild(0);
        if (TsgVisualObject* v = child->Visual())
            v->SetLocked(true);
        child->SetStored(false);
        child->SetParent(this);
    }
    TsgVisualObject* self = Visual();
    TsgVisualObject* source = created->Visual();
    if (self && source) {
        self->FLastWidth = source->Width();
        self->FLastHeight = source->Height();
        self->Realign();
    }
}
