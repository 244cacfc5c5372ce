// TWriter: writes components and values in the binary form of component streams.
//
// Only what differs from the declared defaults is written: ordinals equal to their default,
// floats equal to theirs (0 unless declared), empty strings, nil references and handlers, and
// empty collections are left out, and so is every property whose stored test says no.
// Properties of owned sub-objects go out under dotted names ("Font.Size").
#pragma once

#include "platform/classes/Filer.h"
#include "platform/classes/ValueType.h"

#include <cstdint>
#include <vector>

class TCollection;
struct TPropInfo;

class TWriter : public TFiler {
public:
    explicit TWriter(TStream& stream) : TFiler(stream) {}

    void DefineProperty(const AnsiString& name, const TReaderProc& readData,
                        const TWriterProc& writeData, bool hasData) override;
    void DefineBinaryProperty(const AnsiString& name, const TStreamProc& readData,
                              const TStreamProc& writeData, bool hasData) override;

    void WriteSignature();
    // The signature, then root as the stream's top object.
    void WriteRootComponent(TComponent* root);
    // Object header, properties and children of one component.
    void WriteComponent(TComponent* component);
    // The body of a component: properties, end of list, children, end of list.
    void WriteData(TComponent* instance);
    // Published properties, then those the object defines itself.
    void WriteProperties(TPersistent* instance);
    void WriteCollection(TCollection* collection);

    void WriteValue(TValueType value);
    void WriteListBegin() { WriteValue(vaList); }
    void WriteListEnd() { WriteValue(vaNull); }
    // The smallest of Int8, Int16, Int32, Int64 that holds the value.
    void WriteInteger(int64_t value);
    void WriteBoolean(bool value) { WriteValue(value ? vaTrue : vaFalse); }
    void WriteFloat(double value); // as extended
    void WriteSingle(float value);
    void WriteDouble(double value);
    // Currency is a count of ten-thousandths.
    void WriteCurrency(int64_t tenThousandths);
    void WriteDate(double value);
    // ASCII text as String or LString, any other text as WString.
    void WriteString(const UnicodeString& value);
    void WriteWideString(const UnicodeString& value);
    void WriteUTF8String(const AnsiString& value);
    // Identifiers; True, False and nil go out as their own tags.
    void WriteIdent(const AnsiString& ident);
    void WriteBinary(const std::vector<uint8_t>& bytes);
    void WriteSet(const std::vector<AnsiString>& elements);
    // A short string: one length byte, then at most 255 UTF-8 bytes; longer raises EWriteError.
    void WriteStr(const AnsiString& value);
    void WritePropName(const AnsiString& name);
    void Write(const void* data, size_t count);

private:
    void WriteProperty(TPersistent* instance, const TPropInfo& prop);
    void WriteInt32(int32_t value);
    // A tag and a little-endian value of 4 or 8 bytes.
    void WriteTagged(TValueType tag, uint64_t bits, int bytes);
    AnsiString ComponentReferenceName(TComponent* component) const;

    AnsiString propPath_;
};
