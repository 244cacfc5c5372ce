// TsgStringHash, a bucket hash from text to integer, and THashedStringList, a wide string list
// that answers IndexOf and IndexOfName through two such hashes, rebuilt after every change.
#pragma once

#include "scene/core/Sg_classes_widestringlist.h"

#include <cstdint>
#include <memory>
#include <vector>

struct THashItem {
    THashItem* Next = nullptr;
    UnicodeString Key;
    int32_t Value = 0;
};

class TsgStringHash {
public:
    explicit TsgStringHash(int Size = 256);
    ~TsgStringHash();
    TsgStringHash(const TsgStringHash&) = delete;
    TsgStringHash& operator=(const TsgStringHash&) = delete;

    // A new record at the head of its bucket; an equal key already there stays.
    void Add(const UnicodeString& Key, int32_t Value);
    void Clear();
    // Sets the first match's value; false when the key is absent.
    bool Modify(const UnicodeString& Key, int32_t Value);
    void Remove(const UnicodeString& Key);
    // -1 when absent.
    int32_t ValueOf(const UnicodeString& Key);

    // h = (h rotated left by 2) xor unit, over the key's UTF-16 units.
    static uint32_t HashOf(const UnicodeString& Key);

protected:
    // The link that holds the first record with this key (its bucket head or a Next field).
    THashItem** Find(const UnicodeString& Key);

private:
    std::vector<THashItem*> Buckets;
};

class THashedStringList : public TsgWideStringList {
    DBI_PERSISTENT(THashedStringList, TsgWideStringList)

    THashedStringList() = default;
    ~THashedStringList() override;

    int IndexOf(const UnicodeString& S) override;
    int IndexOfName(const UnicodeString& Name) override;
    void Changed() override;
    void SetCaseSensitive(bool Value) override;

private:
    void UpdateValueHash();
    void UpdateNameHash();
    UnicodeString Key(const UnicodeString& S) const;

    std::unique_ptr<TsgStringHash> FValueHash;
    std::unique_ptr<TsgStringHash> FNameHash;
    bool FValueHashValid = false;
    bool FNameHashValid = false;
};
