#include "scene/core/Sg_classes_hash.h"

#include <bit>

DBI_PUBLISH(THashedStringList) {}

TsgStringHash::TsgStringHash(int Size) : Buckets(static_cast<size_t>(Size > 0 ? Size : 1)) {}

TsgStringHash::~TsgStringHash() {
    Clear();
}

uint32_t TsgStringHash::HashOf(const UnicodeString& Key) {
    uint32_t h = 0;
    for (char16_t c : Key.str())
        h = std::rotl(h, 2) ^ c;
    return h;
}

void TsgStringHash::Add(const UnicodeString& Key, int32_t Value) {
    THashItem*& head = Buckets[HashOf(Key) % Buckets.size()];
    head = new THashItem{head, Key, Value};
}

void TsgStringHash::Clear() {
    for (THashItem*& head : Buckets) {
        while (head) {
            THashItem* next = head->Next;
            delete head;
            head = next;
        }
    }
}

THashItem** TsgStringHash::Find(const UnicodeString& Key) {
    THashItem** link = &Buckets[HashOf(Key) % Buckets.size()];
    while (*link && !((*link)->Key == Key))
        link = &(*link)->Next;
    return link;
}

bool TsgStringHash::Modify(const UnicodeString& Key, int32_t Value) {
    THashItem* item = *Find(Key);
    if (!item)
        return false;
    item->Value = Value;
    return true;
}

void TsgStringHash::Remove(const UnicodeString& Key) {
    THashItem** link = Find(Key);
    if (THashItem* item = *link) {
        *link = item->Next;
        delete item;
    }
}

int32_t TsgStringHash::ValueOf(const UnicodeString& Key) {
    THashItem* item = *Find(Key);
    return item ? item->Value : -1;
}

THashedStringList::~THashedStringList() = default;

void THashedStringList::Changed() {
    TsgWideStringList::Changed();
    FValueHashValid = false;
    FNameHashValid = false;
}

void THashedStringList::SetCaseSensitive(bool Value) {
    TsgWideStringList::SetCaseSensitive(Value);
    FValueHashValid = false; // the keys were folded by the old rule
    FNameHashValid = false;
}

UnicodeString THashedStringList::Key(const UnicodeString& S) const {
    return CaseSensitive() ? S : S.UpperCase();
}

void THashedStringList::UpdateValueHash() {
    if (FValueHashValid)
        return;
    if (!FValueHash)
        FValueHash = std::make_unique<TsgStringHash>(256);
    else
        FValueHash->Clear();
    for (int i = 0; i < GetCount(); ++i)
        FValueHash->Add(Key(Get(i)), i);
    FValueHashValid = true;
}

void THashedStringList::UpdateNameHash() {
    if (FNameHashValid)
        return;
    if (!FNameHash)
        FNameHash = std::make_unique<TsgStringHash>(256);
    else
        FNameHash->Clear();
    for (int i = 0; i < GetCount(); ++i) {
        UnicodeString text = Get(i);
        int eq = text.Pos(u"=");
        if (eq > 0)
            FNameHash->Add(Key(text.SubString(1, eq - 1)), i);
    }
    FNameHashValid = true;
}

int THashedStringList::IndexOf(const UnicodeString& S) {
    UpdateValueHash();
    return FValueHash->ValueOf(Key(S));
}

int THashedStringList::IndexOfName(const UnicodeString& Name) {
    UpdateNameHash();
    return FNameHash->ValueOf(Key(Name));
}
