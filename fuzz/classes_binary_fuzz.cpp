// Binary component streams: the reader must end every input in a result or EReadError, and any
// stream it can convert to text must convert back and forth to the same text.
#include "platform/classes/Collection.h"
#include "platform/classes/Component.h"
#include "platform/classes/ObjectText.h"
#include "platform/classes/Reader.h"
#include "platform/rtl/MemoryStream.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

class TFuzzItem : public TCollectionItem {
    DBI_PERSISTENT(TFuzzItem, TCollectionItem)
    explicit TFuzzItem(TCollection* c) : TCollectionItem(c) {}
    int Value = 0;
};

class TFuzzNode : public TComponent {
    DBI_PERSISTENT(TFuzzNode, TComponent)
    explicit TFuzzNode(TComponent* owner) : TComponent(owner) {}
    int Number = 0;
    double Real = 0;
    bool Flag = false;
    int Choice = 0;
    int Bits = 0;
    UnicodeString Text;
    TFuzzNode* Link = nullptr;
    TOwnedCollection Items{this, TFuzzItem::StaticClassInfo()};
    TFuzzNode* ParentNode = nullptr;
    std::vector<TFuzzNode*> Children;
    void SetLink(TFuzzNode* n) {
        if (Link)
            Link->RemoveFreeNotification(this);
        Link = n;
        if (Link)
            Link->FreeNotification(this);
    }
    void Notification(TComponent* c, TOperation op) override {
        TComponent::Notification(c, op);
        if (op == opRemove && c == Link)
            Link = nullptr;
    }
    void GetChildren(const std::function<void(TComponent*)>& proc, TComponent*) override {
        for (TFuzzNode* c : Children)
            proc(c);
    }
    void SetParentComponent(TComponent* parent) override {
        if (auto* node = dynamic_cast<TFuzzNode*>(parent)) {
            ParentNode = node;
            node->Children.push_back(this);
        }
    }
    ~TFuzzNode() override {
        for (TFuzzNode* c : Children)
            c->ParentNode = nullptr;
        if (ParentNode)
            std::erase(ParentNode->Children, this);
    }
};

} // namespace

DBI_PUBLISH(TFuzzItem) {
    p.Integer(
        "Value", [](TFuzzItem& i) { return i.Value; }, [](TFuzzItem& i, int v) { i.Value = v; }, 0);
}

DBI_PUBLISH(TFuzzNode) {
    using N = TFuzzNode;
    p.Integer(
        "Number", [](N& n) { return n.Number; }, [](N& n, int v) { n.Number = v; }, 0);
    p.Float(
        "Real", [](N& n) { return n.Real; }, [](N& n, double v) { n.Real = v; });
    p.Boolean(
        "Flag", [](N& n) { return n.Flag; }, [](N& n, bool v) { n.Flag = v; });
    p.Enumeration(
        "Choice", [](N& n) { return n.Choice; }, [](N& n, int v) { n.Choice = v; }, {"chA", "chB"},
        0);
    p.Set(
        "Bits", [](N& n) { return n.Bits; }, [](N& n, int v) { n.Bits = v; }, {"b0", "b1"}, 0);
    p.String(
        "Text", [](N& n) { return n.Text; }, [](N& n, UnicodeString v) { n.Text = v; });
    p.Object(
        "Link", [](N& n) { return n.Link; }, &N::SetLink);
    p.Object(
        "Items", [](N& n) -> TCollection* { return &n.Items; }, nullptr);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 65536)
        return 0;
    std::vector<uint8_t> bytes(data, data + size);
    try {
        TBytesStream in(bytes);
        TReader reader(in);
        if (size > 0 && (data[0] & 1))
            reader.OnError = [](TReader&, const AnsiString&, bool& handled) { handled = true; };
        std::unique_ptr<TComponent> root(reader.ReadRootComponent(nullptr));
    } catch (const Exception&) {
    }
    std::string text1;
    try {
        TBytesStream in(bytes);
        TStringStream out;
        ObjectBinaryToText(in, out);
        text1 = out.DataString().str();
    } catch (const Exception&) {
        return 0;
    }
    // Text written from any readable stream is canonical: it must read back to the same text.
    TStringStream text{AnsiString(text1)};
    TBytesStream binary;
    ObjectTextToBinary(text, binary);
    binary.SetPosition(0);
    TStringStream again;
    ObjectBinaryToText(binary, again);
    if (again.DataString().str() != text1)
        std::abort();
    return 0;
}
