// TReader: reads components and values from the binary form of component streams.
//
// Reading is strictly bounded: every length and count taken from the stream is checked against
// the bytes that remain before anything is allocated, and nesting of objects, lists and
// collections is limited, so a hostile stream ends in EReadError rather than in a huge
// allocation or a stack overflow.
//
// Component references read from the stream are fixed up once the whole tree is read: a name is
// looked up among the components of the root ("Owner" names the root itself), "Form.Button" asks
// the global lookup for the component "Form" first. A name that cannot be resolved leaves the
// reference nil. Then every component read gets Loaded, in the order they were created.
//
// Hooks: OnSetName may change (or blank) the name of every component read; OnReferenceName may
// change every reference name before it is resolved; OnFindComponentClass may supply the class of
// a class name; OnPropertyNotFound may handle a property the instance does not have, by reading
// or skipping its value; OnFindMethod may supply an event handler; OnError decides whether an
// error is ignored (the value, or the whole component of an unknown class, is then skipped).
#pragma once

#include "platform/classes/Closure.h"
#include "platform/classes/Filer.h"
#include "platform/classes/ValueType.h"

#include <cstdint>
#include <memory>
#include <vector>

class TCollection;
class TClassInfo;
struct TPropInfo;

class TReader : public TFiler {
public:
    explicit TReader(TStream& stream);
    ~TReader() override;

    std::function<void(TReader&, TComponent* component, AnsiString& name)> OnSetName;
    std::function<void(TReader&, AnsiString& name)> OnReferenceName;
    std::function<void(TReader&, const AnsiString& className, const TClassInfo*& found)>
        OnFindComponentClass;
    std::function<void(TReader&, TPersistent* instance, const AnsiString& name, bool& handled)>
        OnPropertyNotFound;
    std::function<void(TReader&, const AnsiString& methodName, TMethod& method)> OnFindMethod;
    std::function<void(TReader&, const AnsiString& message, bool& handled)> OnError;

    void DefineProperty(const AnsiString& name, const TReaderProc& readData,
                        const TWriterProc& writeData, bool hasData) override;
    void DefineBinaryProperty(const AnsiString& name, const TStreamProc& readData,
                              const TStreamProc& writeData, bool hasData) override;

    // Raises EReadError unless the next four bytes are "TPF0".
    void ReadSignature();
    // Reads the stream's top object into root, or, when root is nullptr, into a new instance of
    // the class the stream names (owned by nobody). Fixes up references and calls Loaded.
    TComponent* ReadRootComponent(TComponent* root);
    // Reads one nested object, created with the reader's owner and given the reader's parent.
    // nullptr when its class is unknown and the error was handled.
    TComponent* ReadComponent();
    // Properties and children of a component (called through ReadState).
    void ReadData(TComponent* instance);
    void ReadProperty(TPersistent* instance);
    void ReadCollection(TCollection* collection);
    // The optional prefix byte of an object header and its child position.
    void ReadPrefix(uint8_t& flags, int& childPos);

    // Raises EReadError for a byte that is no value tag.
    TValueType ReadValue();
    // The next byte as a tag, unchecked and unconsumed.
    TValueType NextValue();
    void CheckValue(TValueType expected);
    bool EndOfList() { return NextValue() == vaNull; }
    void ReadListBegin() { CheckValue(vaList); }
    void ReadListEnd() { CheckValue(vaNull); }
    int32_t ReadInteger();
    int64_t ReadInt64();
    bool ReadBoolean();
    double ReadFloat(); // any float or integer tag
    float ReadSingle();
    double ReadDouble();
    int64_t ReadCurrency(); // ten-thousandths
    double ReadDate();
    UnicodeString ReadString(); // any string tag
    UnicodeString ReadWideString() { return ReadString(); }
    AnsiString ReadIdent(); // Ident, or the names of True, False, nil
    std::vector<AnsiString> ReadSet();
    std::vector<uint8_t> ReadBinary();
    AnsiString ReadStr();
    // Skips one value of any kind.
    void SkipValue();
    void Read(void* data, size_t count);
    int64_t Remaining();

    TComponent* Owner() const { return owner_; }
    TComponent* Parent() const { return parent_; }
    void SetOwner(TComponent* owner) { owner_ = owner; }
    void SetParent(TComponent* parent) { parent_ = parent; }
    // The name of the property being read (for DefineProperties).
    const AnsiString& PropName() const { return propName_; }

    // Reports an error to OnError; true when it was handled.
    bool Error(const AnsiString& message);

    // The nesting any stream may reach.
    static constexpr int MaxDepth = 200;

private:
    struct Fixup {
        TPersistent* instance;
        const TPropInfo* prop;
        AnsiString name;
        TComponent* context;
    };
    class DepthGuard {
    public:
        explicit DepthGuard(TReader& reader) : reader_(reader) { reader_.Enter(); }
        ~DepthGuard() { reader_.Leave(); }
        DepthGuard(const DepthGuard&) = delete;
        DepthGuard& operator=(const DepthGuard&) = delete;

    private:
        TReader& reader_;
    };

    void ReadPropValue(TPersistent* instance, const TPropInfo& prop);
    void SkipComponentBody();
    // Offers the stored name to OnSetName (which may change it), then gives it to the component;
    // a name the component refuses goes to Error.
    void ApplyName(TComponent* component, AnsiString& name);
    void SkipProperties();
    uint32_t ReadLength32();
    void FixupReferences();
    TComponent* ResolveReference(const AnsiString& name);
    void Enter();
    void Leave() { --depth_; }

    TComponent* owner_ = nullptr;
    TComponent* parent_ = nullptr;
    TComponent* current_ = nullptr;
    AnsiString propName_;
    bool propertyFound_ = false;
    int depth_ = 0;
    int64_t size_; // streams do not change size while they are read
    std::vector<Fixup> fixups_;
    std::vector<TComponent*> loaded_;
    std::unique_ptr<TComponent> watch_; // tells the reader when a component it read is freed
};

// How "Form.Button" references find "Form": components registered here by the application.
using TFindGlobalComponent = std::function<TComponent*(const AnsiString& name)>;
void RegisterFindGlobalComponentProc(TFindGlobalComponent proc);
void UnregisterFindGlobalComponentProcs();
TComponent* FindGlobalComponent(const AnsiString& name);
