#include "scene/core/Sg_classes_storage.h"

#include "platform/classes/Component.h"
#include "platform/classes/ObjectText.h"
#include "platform/classes/Reader.h"
#include "platform/classes/Writer.h"
#include "platform/rtl/FileStream.h"
#include "platform/rtl/MemoryStream.h"

DBI_PUBLISH(TsgStorageItem) {}
DBI_PUBLISH(TsgStorage) {}

TsgStorageItem::TsgStorageItem() = default;
TsgStorageItem::~TsgStorageItem() = default;

void TsgStorageItem::SetAsString(const UnicodeString& Value) {
    FAsString = Value;
    FType = vaWString;
}

void TsgStorageItem::SetAsFloat(float Value) {
    FAsFloat = Value;
    FType = vaSingle;
}

void TsgStorageItem::SetAsInteger(int32_t Value) {
    FAsInteger = Value;
    FType = vaInt32;
}

void TsgStorageItem::SetAsBool(bool Value) {
    FType = Value ? vaTrue : vaFalse;
}

TMemoryStream& TsgStorageItem::AsStream() {
    FType = vaBinary;
    if (!FStream)
        FStream = std::make_unique<TMemoryStream>();
    return *FStream;
}

bool TsgStorageItem::IsWritable() const {
    switch (FType) {
    case vaInt8:
    case vaInt16:
    case vaInt32:
    case vaExtended:
    case vaSingle:
    case vaString:
    case vaLString:
    case vaWString:
    case vaFalse:
    case vaTrue:
    case vaBinary:
        return true;
    default:
        return false;
    }
}

void TsgStorageItem::WriteItem(TWriter& Writer) {
    switch (FType) {
    case vaInt8:
    case vaInt16:
    case vaInt32:
        Writer.WriteInteger(FAsInteger);
        break;
    case vaExtended:
    case vaSingle:
        Writer.WriteFloat(FAsFloat);
        break;
    case vaString:
    case vaLString:
        Writer.WriteString(FAsString);
        break;
    case vaWString:
        // The tag the item was given comes back on reading, so the text stays a wide one.
        Writer.WriteWideString(FAsString);
        break;
    case vaFalse:
    case vaTrue:
        Writer.WriteValue(FType);
        break;
    case vaBinary: {
        Writer.WriteValue(vaBinary);
        int64_t size = FStream ? FStream->Size() : 0;
        uint8_t length[4] = {static_cast<uint8_t>(size), static_cast<uint8_t>(size >> 8),
                             static_cast<uint8_t>(size >> 16), static_cast<uint8_t>(size >> 24)};
        Writer.Write(length, 4);
        if (size > 0)
            Writer.Write(FStream->Memory(), static_cast<size_t>(size));
        break;
    }
    default:
        break; // IsWritable keeps such items out of the stream
    }
}

void TsgStorageItem::ReadItem(TReader& Reader) {
    TValueType type = Reader.NextValue();
    switch (type) {
    case vaInt8:
    case vaInt16:
    case vaInt32:
        FType = type;
        FAsInteger = Reader.ReadInteger();
        break;
    case vaExtended:
        FType = type;
        FAsFloat = static_cast<float>(Reader.ReadFloat());
        break;
    case vaSingle:
        FType = type;
        FAsFloat = Reader.ReadSingle();
        break;
    case vaString:
    case vaLString:
    case vaWString:
        FType = type;
        FAsString = Reader.ReadString();
        break;
    case vaFalse:
    case vaTrue:
        FType = type;
        Reader.ReadBoolean();
        break;
    case vaBinary: {
        std::vector<uint8_t> bytes = Reader.ReadBinary();
        TMemoryStream& stream = AsStream();
        stream.Clear();
        if (!bytes.empty())
            stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
        stream.SetPosition(0);
        break;
    }
    default:
        // A kind the store cannot hold (a foreign stream's Int64, Double, list...): skipped, so
        // the rest of the stream still reads.
        Reader.SkipValue();
        break;
    }
}

namespace {

// Item names become property names of the stream, which the text form spells as identifiers.
bool IsStorableName(const AnsiString& name) {
    if (name.IsEmpty() || name.Length() > 255)
        return false;
    const std::string& s = name.str();
    size_t start = 0;
    for (;;) {
        size_t dot = s.find('.', start);
        std::string part = s.substr(start, dot == std::string::npos ? dot : dot - start);
        if (part.empty() || !IsValidIdent(AnsiString(part)))
            return false;
        if (dot == std::string::npos)
            return true;
        start = dot + 1;
    }
}

} // namespace

TsgStorage::TsgStorage() {
    FItems.SetSorted(false);
    FItems.SetCaseSensitive(false);
}

TsgStorage::~TsgStorage() {
    for (int i = 0; i < FItems.GetCount(); ++i)
        delete FItems.GetObject(i);
}

TsgStorageItem* TsgStorage::GetValues(const UnicodeString& Name) {
    for (int i = 0; i < FItems.GetCount(); ++i)
        if (FItems.CompareStrings(FItems.Get(i), Name) == 0)
            return static_cast<TsgStorageItem*>(FItems.GetObject(i));
    auto* item = new TsgStorageItem();
    FItems.AddObject(Name, item);
    return item;
}

void TsgStorage::SaveToStream(TStream& Stream) {
    TWriter writer(Stream);
    writer.WriteSignature();
    writer.WriteStr("Root");
    writer.WriteStr("");
    for (int i = 0; i < FItems.GetCount(); ++i) {
        auto* item = static_cast<TsgStorageItem*>(FItems.GetObject(i));
        AnsiString name(FItems.Get(i));
        if (!item->IsWritable() || !IsStorableName(name))
            continue;
        writer.WriteStr(name);
        item->WriteItem(writer);
    }
    writer.WriteListEnd();
    writer.WriteListEnd();
}

void TsgStorage::LoadFromStream(TStream& Stream) {
    TReader reader(Stream);
    reader.ReadSignature();
    reader.ReadStr(); // class name
    reader.ReadStr(); // object name
    while (!reader.EndOfList()) {
        UnicodeString name(reader.ReadStr());
        GetValues(name)->ReadItem(reader);
    }
}

void TsgStorage::SaveToFile(const UnicodeString& FileName) {
    TMemoryStream binary;
    SaveToStream(binary);
    binary.SetPosition(0);
    TFileStream file(FileName, fmCreate);
    ObjectBinaryToText(binary, file);
}

void TsgStorage::LoadFromFile(const UnicodeString& FileName) {
    TFileStream file(FileName, fmOpenRead | fmShareDenyNone);
    TMemoryStream binary;
    ObjectTextToBinary(file, binary);
    binary.SetPosition(0);
    LoadFromStream(binary);
}
