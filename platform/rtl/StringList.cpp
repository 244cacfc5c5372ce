#include "platform/rtl/StringList.h"

#include "platform/rtl/Exceptions.h"

#include <algorithm>
#include <numeric>

TStringList::TStringList(const TStringList& other)
    : TStrings(other), Duplicates(other.Duplicates), items_(other.items_),
      caseSensitive_(other.caseSensitive_), sorted_(other.sorted_) {}

TStringList& TStringList::operator=(const TStringList& other) {
    if (this != &other) {
        Changing();
        TStrings::operator=(other);
        Duplicates = other.Duplicates;
        items_ = other.items_;
        caseSensitive_ = other.caseSensitive_;
        sorted_ = other.sorted_;
        Changed();
    }
    return *this;
}

void TStringList::Changing() {
    if (UpdateCount() == 0 && OnChanging)
        OnChanging();
}

void TStringList::Changed() {
    if (UpdateCount() == 0 && OnChange)
        OnChange();
}

void TStringList::SetUpdateState(bool updating) {
    if (updating)
        Changing();
    else
        Changed();
}

UnicodeString TStringList::Get(int index) const {
    CheckIndex(index);
    return items_[static_cast<size_t>(index)].text;
}

void TStringList::Put(int index, const UnicodeString& text) {
    if (sorted_)
        throw EStringListError(u"Operation not allowed on sorted list");
    CheckIndex(index);
    Changing();
    items_[static_cast<size_t>(index)].text = text;
    Changed();
}

void* TStringList::GetObject(int index) const {
    CheckIndex(index);
    return items_[static_cast<size_t>(index)].object;
}

void TStringList::PutObject(int index, void* object) {
    CheckIndex(index);
    Changing();
    items_[static_cast<size_t>(index)].object = object;
    Changed();
}

void TStringList::InsertObject(int index, const UnicodeString& text, void* object) {
    if (sorted_)
        throw EStringListError(u"Operation not allowed on sorted list");
    if (index < 0 || index > Count())
        RaiseIndexError(index);
    Changing();
    items_.insert(items_.begin() + index, Item{text, object});
    Changed();
}

int TStringList::AddObject(const UnicodeString& text, void* object) {
    int index = Count();
    if (sorted_) {
        if (Find(text, index)) {
            if (Duplicates == dupIgnore)
                return index;
            if (Duplicates == dupError)
                throw EStringListError(u"String list does not allow duplicates");
        }
    }
    Changing();
    items_.insert(items_.begin() + index, Item{text, object});
    Changed();
    return index;
}

void TStringList::Delete(int index) {
    CheckIndex(index);
    Changing();
    items_.erase(items_.begin() + index);
    Changed();
}

void TStringList::Clear() {
    if (items_.empty())
        return;
    Changing();
    items_.clear();
    Changed();
}

int TStringList::IndexOf(const UnicodeString& text) const {
    if (!sorted_)
        return TStrings::IndexOf(text);
    int index;
    return Find(text, index) ? index : -1;
}

void TStringList::SetCaseSensitive(bool value) {
    if (value == caseSensitive_)
        return;
    caseSensitive_ = value;
    if (sorted_)
        Sort();
}

void TStringList::SetSorted(bool value) {
    if (value == sorted_)
        return;
    if (value)
        Sort();
    sorted_ = value;
}

bool TStringList::Find(const UnicodeString& text, int& index) const {
    // Lower bound; with duplicates accepted the first equal item is found.
    int low = 0, high = Count() - 1;
    bool found = false;
    while (low <= high) {
        int middle = low + (high - low) / 2;
        int order = CompareStrings(items_[static_cast<size_t>(middle)].text, text);
        if (order < 0) {
            low = middle + 1;
        } else {
            high = middle - 1;
            if (order == 0)
                found = true;
        }
    }
    index = low;
    return found;
}

void TStringList::Sort() {
    CustomSort([](TStringList& list, int a, int b) {
        return list.CompareStrings(list.items_[static_cast<size_t>(a)].text,
                                   list.items_[static_cast<size_t>(b)].text);
    });
}

void TStringList::CustomSort(
    const std::function<int(TStringList& list, int index1, int index2)>& compare) {
    if (Count() < 2)
        return;
    std::vector<int> order(items_.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return compare(*this, a, b) < 0; });
    Changing();
    std::vector<Item> sorted;
    sorted.reserve(items_.size());
    for (int i : order)
        sorted.push_back(std::move(items_[static_cast<size_t>(i)]));
    items_ = std::move(sorted);
    Changed();
}
