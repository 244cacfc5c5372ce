#include "platform/classes/Writer.h"

#include "platform/classes/Collection.h"
#include "platform/classes/Component.h"
#include "platform/classes/Extended.h"
#include "platform/rtl/MemoryStream.h"

#include <bit>
#include <cstring>
#include <limits>

namespace {

bool IsAscii(const std::u16string& s) {
    for (char16_t c : s)
        if (c >= 0x80)
            return false;
    return true;
}

void PutLE(uint8_t* out, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out[i] = static_cast<uint8_t>(value >> (8 * i));
}

} // namespace

void TWriter::Write(const void* data, size_t count) {
    stream_.WriteBuffer(data, static_cast<int64_t>(count));
}

void TWriter::WriteValue(TValueType value) {
    uint8_t b = value;
    Write(&b, 1);
}

void TWriter::WriteSignature() {
    Write(FilerSignature, 4);
}

void TWriter::WriteInt32(int32_t value) {
    uint8_t buf[4];
    PutLE(buf, static_cast<uint32_t>(value), 4);
    Write(buf, 4);
}

void TWriter::WriteInteger(int64_t value) {
    uint8_t buf[9];
    int bytes;
    if (value >= -128 && value <= 127) {
        buf[0] = vaInt8;
        bytes = 1;
    } else if (value >= -32768 && value <= 32767) {
        buf[0] = vaInt16;
        bytes = 2;
    } else if (value >= std::numeric_limits<int32_t>::min() &&
               value <= std::numeric_limits<int32_t>::max()) {
        buf[0] = vaInt32;
        bytes = 4;
    } else {
        buf[0] = vaInt64;
        bytes = 8;
    }
    PutLE(buf + 1, static_cast<uint64_t>(value), bytes);
    Write(buf, static_cast<size_t>(bytes) + 1);
}

void TWriter::WriteFloat(double value) {
    uint8_t buf[11];
    buf[0] = vaExtended;
    DoubleToExtended(value, buf + 1);
    Write(buf, sizeof buf);
}

void TWriter::WriteTagged(TValueType tag, uint64_t bits, int bytes) {
    uint8_t buf[9];
    buf[0] = tag;
    PutLE(buf + 1, bits, bytes);
    Write(buf, static_cast<size_t>(bytes) + 1);
}

void TWriter::WriteSingle(float value) {
    WriteTagged(vaSingle, std::bit_cast<uint32_t>(value), 4);
}

void TWriter::WriteDouble(double value) {
    WriteTagged(vaDouble, std::bit_cast<uint64_t>(value), 8);
}

void TWriter::WriteCurrency(int64_t tenThousandths) {
    WriteTagged(vaCurrency, static_cast<uint64_t>(tenThousandths), 8);
}

void TWriter::WriteDate(double value) {
    WriteTagged(vaDate, std::bit_cast<uint64_t>(value), 8);
}

void TWriter::WriteString(const UnicodeString& value) {
    if (!IsAscii(value.str())) {
        WriteWideString(value);
        return;
    }
    std::string bytes(value.str().begin(), value.str().end());
    if (bytes.size() <= 255) {
        uint8_t head[2] = {vaString, static_cast<uint8_t>(bytes.size())};
        Write(head, 2);
    } else {
        WriteValue(vaLString);
        WriteInt32(static_cast<int32_t>(bytes.size()));
    }
    Write(bytes.data(), bytes.size());
}

void TWriter::WriteWideString(const UnicodeString& value) {
    WriteValue(vaWString);
    const std::u16string& s = value.str();
    WriteInt32(static_cast<int32_t>(s.size()));
    std::vector<uint8_t> bytes(s.size() * 2);
    for (size_t i = 0; i < s.size(); ++i)
        PutLE(&bytes[i * 2], s[i], 2);
    Write(bytes.data(), bytes.size());
}

void TWriter::WriteUTF8String(const AnsiString& value) {
    WriteValue(vaUTF8String);
    WriteInt32(static_cast<int32_t>(value.Length()));
    Write(value.c_str(), static_cast<size_t>(value.Length()));
}

void TWriter::WriteStr(const AnsiString& value) {
    size_t length = static_cast<size_t>(value.Length());
    // Cutting a name short would write a stream that reads back as something else.
    if (length > 255)
        throw EWriteError(AnsiString("Name too long for a component stream: ") +
                          value.SubString(1, 64) + "...");
    uint8_t b = static_cast<uint8_t>(length);
    Write(&b, 1);
    Write(value.c_str(), length);
}

void TWriter::WriteIdent(const AnsiString& ident) {
    AnsiString upper = ident.UpperCase();
    if (upper == "FALSE")
        WriteValue(vaFalse);
    else if (upper == "TRUE")
        WriteValue(vaTrue);
    else if (upper == "NIL")
        WriteValue(vaNil);
    else {
        WriteValue(vaIdent);
        WriteStr(ident);
    }
}

void TWriter::WriteBinary(const std::vector<uint8_t>& bytes) {
    WriteValue(vaBinary);
    WriteInt32(static_cast<int32_t>(bytes.size()));
    Write(bytes.data(), bytes.size());
}

void TWriter::WriteSet(const std::vector<AnsiString>& elements) {
    WriteValue(vaSet);
    for (const AnsiString& e : elements)
        WriteStr(e);
    WriteStr(AnsiString());
}

void TWriter::WritePropName(const AnsiString& name) {
    WriteStr(propPath_ + name);
}

void TWriter::DefineProperty(const AnsiString& name, const TReaderProc&,
                             const TWriterProc& writeData, bool hasData) {
    if (!hasData || !writeData)
        return;
    WritePropName(name);
    writeData(*this);
}

void TWriter::DefineBinaryProperty(const AnsiString& name, const TStreamProc&,
                                   const TStreamProc& writeData, bool hasData) {
    if (!hasData || !writeData)
        return;
    WritePropName(name);
    TBytesStream block;
    writeData(block);
    WriteBinary(block.Bytes());
}

void TWriter::WriteRootComponent(TComponent* root) {
    WriteSignature();
    root_ = lookupRoot_ = root;
    WriteComponent(root);
}

void TWriter::WriteComponent(TComponent* component) {
    CheckClassInfo(*component);
    bool wasWriting = component->HasState(csWriting);
    component->SetStateFlags(csWriting);
    try {
        if (component->HasState(csInline)) {
            uint8_t prefix = 0xF0 | ffInline;
            Write(&prefix, 1);
        }
        WriteStr(component->ClassName());
        WriteStr(component->Name());
        component->WriteState(*this);
    } catch (...) {
        if (!wasWriting)
            component->ClearStateFlags(csWriting);
        throw;
    }
    if (!wasWriting)
        component->ClearStateFlags(csWriting);
}

void TWriter::WriteData(TComponent* instance) {
    WriteProperties(instance);
    WriteListEnd();
    instance->GetChildren([this](TComponent* child) { WriteComponent(child); }, root_);
    WriteListEnd();
}

void TWriter::WriteProperties(TPersistent* instance) {
    for (const TPropInfo* prop : instance->ClassInfo().Properties())
        if (prop->IsStored(*instance))
            WriteProperty(instance, *prop);
    instance->DefineProperties(*this);
}

void TWriter::WriteCollection(TCollection* collection) {
    WriteValue(vaCollection);
    AnsiString savedPath = propPath_;
    propPath_ = AnsiString();
    try {
        for (int i = 0; i < collection->Count(); ++i) {
            WriteListBegin();
            WriteProperties(collection->Items(i));
            WriteListEnd();
        }
    } catch (...) {
        propPath_ = savedPath;
        throw;
    }
    propPath_ = savedPath;
    WriteListEnd();
}

AnsiString TWriter::ComponentReferenceName(TComponent* component) const {
    if (component == lookupRoot_ && lookupRoot_)
        return "Owner";
    if (component->Name().IsEmpty())
        return AnsiString();
    if (component->Owner() == lookupRoot_)
        return component->Name();
    if (component->Owner() && !component->Owner()->Name().IsEmpty())
        return component->Owner()->Name() + "." + component->Name();
    return AnsiString();
}

void TWriter::WriteProperty(TPersistent* instance, const TPropInfo& prop) {
    switch (prop.Kind) {
    case TPropertyKind::Integer:
    case TPropertyKind::Int64:
    case TPropertyKind::Boolean:
    case TPropertyKind::Enumeration:
    case TPropertyKind::Set: {
        if (!prop.SetOrd)
            return;
        int64_t value = prop.GetOrd(*instance);
        if (prop.OrdDefault && *prop.OrdDefault == value)
            return;
        WritePropName(prop.Name);
        if (prop.Kind == TPropertyKind::Boolean)
            WriteBoolean(value != 0);
        else if (prop.Kind == TPropertyKind::Enumeration) {
            if (value < 0 || value >= static_cast<int64_t>(prop.ElementNames.size()))
                throw EWriteError(AnsiString("Value of property ") + prop.Name +
                                  " is outside its enumeration");
            WriteIdent(prop.ElementNames[static_cast<size_t>(value)]);
        } else if (prop.Kind == TPropertyKind::Set) {
            std::vector<AnsiString> elements;
            for (size_t i = 0; i < prop.ElementNames.size() && i < 64; ++i)
                if (value & (int64_t(1) << i))
                    elements.push_back(prop.ElementNames[i]);
            WriteSet(elements);
        } else if (AnsiString ident; prop.Kind == TPropertyKind::Integer &&
                                     IntToIdent(int32_t(value), ident, prop.Idents))
            WriteIdent(ident);
        else
            WriteInteger(value);
        return;
    }
    case TPropertyKind::Float: {
        if (!prop.SetFloat)
            return;
        double value = prop.GetFloat(*instance);
        if (prop.FloatDefault && value == *prop.FloatDefault)
            return;
        WritePropName(prop.Name);
        WriteFloat(value);
        return;
    }
    case TPropertyKind::String:
    case TPropertyKind::WString: {
        if (!prop.SetStr)
            return;
        UnicodeString value = prop.GetStr(*instance);
        if (value.IsEmpty())
            return;
        WritePropName(prop.Name);
        WriteString(value);
        return;
    }
    case TPropertyKind::Method: {
        if (!prop.SetMethod)
            return;
        TMethod method = prop.GetMethod(*instance);
        if (!method.IsAssigned() || !lookupRoot_ || method.Data != static_cast<void*>(lookupRoot_))
            return;
        const TMethodEntry* entry = lookupRoot_->ClassInfo().FindMethodByCode(method.Code);
        if (!entry)
            return;
        WritePropName(prop.Name);
        WriteIdent(entry->Name);
        return;
    }
    case TPropertyKind::Class: {
        TPersistent* value = prop.GetObject(*instance);
        if (!value)
            return;
        if (auto* component = dynamic_cast<TComponent*>(value)) {
            // A read-only component the instance owns is part of it: its properties are
            // written under dotted names, as an owned sub-object's are. Any other component
            // is a reference, written by name when it can be set.
            const bool part = !prop.SetObject && component->Owner() &&
                              static_cast<TPersistent*>(component->Owner()) == instance;
            if (!part) {
                if (!prop.SetObject)
                    return;
                AnsiString name = ComponentReferenceName(component);
                if (name.IsEmpty())
                    return;
                WritePropName(prop.Name);
                WriteIdent(name);
                return;
            }
        } else if (auto* collection = dynamic_cast<TCollection*>(value)) {
            if (collection->Count() == 0)
                return;
            WritePropName(prop.Name);
            WriteCollection(collection);
            return;
        }
        AnsiString savedPath = propPath_;
        propPath_ = propPath_ + prop.Name + ".";
        try {
            WriteProperties(value);
        } catch (...) {
            propPath_ = savedPath;
            throw;
        }
        propPath_ = savedPath;
        return;
    }
    }
}
