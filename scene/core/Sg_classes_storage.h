// TsgStorage: a named store of typed values that saves itself as a component stream (one object
// of class "Root" whose properties are the items), in binary or text form. Names compare
// without case. The store owns its items.
#pragma once

#include "scene/core/Sg_classes_widestringlist.h"

#include "platform/classes/ValueType.h"

#include <cstdint>
#include <memory>

class TMemoryStream;
class TReader;
class TWriter;

class TsgStorageItem : public TPersistent {
    DBI_PERSISTENT(TsgStorageItem, TPersistent)

    TsgStorageItem();
    ~TsgStorageItem() override;

    // The value tag of what the item holds; vaNull for a new item.
    TValueType Type() const { return FType; }
    const UnicodeString& AsString() const { return FAsString; }
    void SetAsString(const UnicodeString& Value);
    float AsFloat() const { return FAsFloat; }
    void SetAsFloat(float Value);
    int32_t AsInteger() const { return FAsInteger; }
    void SetAsInteger(int32_t Value);
    bool AsBool() const { return FType == vaTrue; }
    void SetAsBool(bool Value);
    // The binary value; makes the item binary.
    TMemoryStream& AsStream();

    // Whether the item has a value the stream form can carry (and read back).
    bool IsWritable() const;
    void WriteItem(TWriter& Writer);
    void ReadItem(TReader& Reader);

private:
    TValueType FType = vaNull;
    UnicodeString FAsString;
    float FAsFloat = 0;
    int32_t FAsInteger = 0;
    std::unique_ptr<TMemoryStream> FStream;
};

class TsgStorage : public TPersistent {
    DBI_PERSISTENT(TsgStorage, TPersistent)

    TsgStorage();
    ~TsgStorage() override;

    // The item of that name, created (holding vaNull) when there is none. Never nullptr.
    TsgStorageItem* GetValues(const UnicodeString& Name);
    int Count() { return FItems.GetCount(); }
    UnicodeString Names(int Index) { return FItems.Get(Index); }

    // Items whose value cannot be read back (no value yet, a name that is no
    // identifier or is longer than 255 bytes) are
    // left out. Loading adds to the items present, overwriting those of the same name.
    void SaveToStream(TStream& Stream);
    void LoadFromStream(TStream& Stream);
    void SaveToFile(const UnicodeString& FileName);
    void LoadFromFile(const UnicodeString& FileName);

private:
    TsgWideStringList FItems;
};
