#include "scene/core/Sg_classes_widestringlist.h"

#include "scene/core/Sg_classes_sort.h"

#include "platform/rtl/StringUtils.h"

#include <functional>
#include <utility>

DBI_PUBLISH(TsgWideStringList) {}

TsgWideStringList::~TsgWideStringList() {
    OnChange = nullptr;
    OnChanging = nullptr;
}

void TsgWideStringList::Changed() {
    if (UpdateCount() == 0 && OnChange)
        OnChange(this);
}

void TsgWideStringList::Changing() {
    if (UpdateCount() == 0 && OnChanging)
        OnChanging(this);
}

void TsgWideStringList::SetUpdateState(bool Updating) {
    if (Updating)
        Changing();
    else
        Changed();
}

UnicodeString TsgWideStringList::Get(int Index) {
    if (!ValidIndex(Index)) {
        Error(u"list index error", Index);
        return UnicodeString();
    }
    return list_[static_cast<size_t>(Index)].FString;
}

TObject* TsgWideStringList::GetObject(int Index) {
    if (!ValidIndex(Index)) {
        Error(u"list index error", Index);
        return nullptr;
    }
    return list_[static_cast<size_t>(Index)].FObject;
}

void TsgWideStringList::PutObject(int Index, TObject* AObject) {
    if (!ValidIndex(Index)) {
        Error(u"list index error", Index);
        return;
    }
    Changing();
    list_[static_cast<size_t>(Index)].FObject = AObject;
    Changed();
}

void TsgWideStringList::Put(int Index, const UnicodeString& S) {
    if (Sorted())
        Error(u"sorted list error", 0);
    if (!ValidIndex(Index)) {
        Error(u"list index error", Index);
        return;
    }
    Changing();
    list_[static_cast<size_t>(Index)].FString = S;
    Changed();
}

void TsgWideStringList::Grow() {
    int delta = capacity_ > 64 ? capacity_ / 4 : capacity_ > 8 ? 16 : 4;
    SetCapacity(capacity_ + delta);
}

void TsgWideStringList::SetCapacity(int NewCapacity) {
    if (NewCapacity < GetCount())
        NewCapacity = GetCount();
    capacity_ = NewCapacity;
    list_.reserve(static_cast<size_t>(capacity_));
}

void TsgWideStringList::Insert(int Index, const UnicodeString& S) {
    if (Sorted())
        Error(u"sorted list error", 0);
    if (Index < 0 || Index > GetCount()) {
        Error(u"list index error", Index);
        return;
    }
    InsertItem(Index, S);
}

void TsgWideStringList::InsertItem(int Index, const UnicodeString& S) {
    Changing();
    if (GetCount() == capacity_)
        Grow();
    list_.insert(list_.begin() + Index, TWideStringItem{S, nullptr});
    Changed();
}

int TsgWideStringList::Add(const UnicodeString& S) {
    int index;
    if (!Sorted() || sortByObject_) {
        index = GetCount();
    } else if (Find(S, index)) {
        switch (Duplicates) {
        case dupIgnore:
            return index;
        case dupError:
            Error(u"Doublicate string", 0);
            break;
        case dupAccept:
            break;
        }
    }
    InsertItem(index, S);
    return index;
}

void TsgWideStringList::Delete(int Index) {
    if (!ValidIndex(Index)) {
        Error(u"list index error", Index);
        return;
    }
    Changing();
    list_.erase(list_.begin() + Index);
    Changed();
}

void TsgWideStringList::Clear() {
    if (list_.empty())
        return;
    Changing();
    list_.clear();
    list_.shrink_to_fit();
    capacity_ = 0;
    Changed();
}

void TsgWideStringList::Exchange(int Index1, int Index2) {
    if (!ValidIndex(Index1) || !ValidIndex(Index2)) {
        Error(u"list index error", ValidIndex(Index1) ? Index2 : Index1);
        return;
    }
    Changing();
    std::swap(list_[static_cast<size_t>(Index1)], list_[static_cast<size_t>(Index2)]);
    Changed();
}

int TsgWideStringList::CompareStrings(const UnicodeString& S1, const UnicodeString& S2) {
    return CaseSensitive() ? CompareStr(S1, S2) : CompareText(S1, S2);
}

bool TsgWideStringList::Find(const UnicodeString& S, int& Index) {
    return sgBinarySearch(
        GetCount(), [&](int i) { return CompareStrings(list_[static_cast<size_t>(i)].FString, S); },
        Duplicates == dupAccept, Index);
}

namespace {

// Larger references sort first.
int CompareObjects(const TObject* a, const TObject* b) {
    auto x = reinterpret_cast<uintptr_t>(a), y = reinterpret_cast<uintptr_t>(b);
    return x > y ? -1 : x < y ? 1 : 0;
}

} // namespace

bool TsgWideStringList::FindByObject(TObject* AObject, int& Index) {
    return sgBinarySearch(
        GetCount(),
        [&](int i) { return CompareObjects(list_[static_cast<size_t>(i)].FObject, AObject); },
        Duplicates == dupAccept, Index);
}

int TsgWideStringList::IndexOf(const UnicodeString& S) {
    if (!Sorted())
        return TsgWideStrings::IndexOf(S);
    int index;
    return Find(S, index) ? index : -1;
}

int TsgWideStringList::CompareItems(const TWideStringItem& a, const TWideStringItem& b) {
    return sortByObject_ ? CompareObjects(a.FObject, b.FObject)
                         : CompareStrings(a.FString, b.FString);
}

void TsgWideStringList::Sort() {
    if (Sorted())
        return;
    SortItems();
}

void TsgWideStringList::SortItems() {
    if (GetCount() < 2)
        return;
    Changing();
    sgQuickSort(
        list_.data(), 0, GetCount() - 1,
        [this](const TWideStringItem& a, const TWideStringItem& b) { return CompareItems(a, b); });
    Changed();
}
