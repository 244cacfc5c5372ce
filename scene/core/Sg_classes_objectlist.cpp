#include "scene/core/Sg_classes_objectlist.h"

#include "scene/core/Sg_classes_sort.h"

#include <algorithm>

DBI_PUBLISH(TsgObjectList) {}

void TsgObjectList::Error() {
    throw EListError("List index error");
}

void TsgObjectList::Check(int Index) const {
    if (Index < 0 || Index >= count_)
        const_cast<TsgObjectList*>(this)->Error();
}

void TsgObjectList::GrowWhenFull() {
    if (count_ == Capacity())
        SetCapacity(Capacity() + std::max(growthDelta_, 1));
}

void TsgObjectList::SetCapacity(int N) {
    if (N < 0)
        N = 0;
    if (N == Capacity())
        return;
    if (count_ > N)
        count_ = N;
    const bool shrinking = N < Capacity();
    // Growing leaves the vector's own reserve in place, so adding one by one stays linear.
    list_.resize(static_cast<size_t>(N), nullptr);
    if (shrinking)
        list_.shrink_to_fit();
}

void TsgObjectList::RequiredCapacity(int N) {
    if (Capacity() < N)
        SetCapacity(N);
}

void TsgObjectList::SetCount(int N) {
    if (N < 0)
        N = 0;
    if (N > Capacity())
        SetCapacity(N);
    for (int i = count_; i < N; ++i)
        list_[static_cast<size_t>(i)] = nullptr;
    count_ = N;
}

TsgObjectList* TsgObjectList::Expand() {
    GrowWhenFull();
    return this;
}

TObject* TsgObjectList::Get(int Index) const {
    Check(Index);
    return list_[static_cast<size_t>(Index)];
}

void TsgObjectList::Put(int Index, TObject* Item) {
    Check(Index);
    list_[static_cast<size_t>(Index)] = Item;
}

int TsgObjectList::Add(TObject* Item) {
    GrowWhenFull();
    list_[static_cast<size_t>(count_)] = Item;
    return count_++;
}

TObject* TsgObjectList::Pop() {
    if (count_ == 0)
        return nullptr;
    return list_[static_cast<size_t>(--count_)];
}

void TsgObjectList::AddNils(int N) {
    if (N <= 0)
        return;
    RequiredCapacity(count_ + N);
    std::fill(list_.begin() + count_, list_.begin() + count_ + N, nullptr);
    count_ += N;
}

int TsgObjectList::AddObjects(const TsgObjectList* List) {
    if (!List)
        return 0;
    int first = count_;
    int n = List->count_;
    RequiredCapacity(count_ + n);
    for (int i = 0; i < n; ++i)
        list_[static_cast<size_t>(count_ + i)] = List->list_[static_cast<size_t>(i)];
    count_ += n;
    return first;
}

void TsgObjectList::Insert(int Index, TObject* Item) {
    if (Index < 0 || Index > count_)
        Error();
    GrowWhenFull();
    std::move_backward(list_.begin() + Index, list_.begin() + count_, list_.begin() + count_ + 1);
    list_[static_cast<size_t>(Index)] = Item;
    ++count_;
}

void TsgObjectList::InsertNils(int Index, int N) {
    if (N <= 0)
        return;
    if (Index < 0 || Index > count_)
        Error();
    RequiredCapacity(count_ + N);
    std::move_backward(list_.begin() + Index, list_.begin() + count_, list_.begin() + count_ + N);
    std::fill(list_.begin() + Index, list_.begin() + Index + N, nullptr);
    count_ += N;
}

void TsgObjectList::Delete(int Index) {
    DeleteItems(Index, 1);
}

void TsgObjectList::DeleteItems(int Index, int N) {
    if (N <= 0)
        return;
    Check(Index);
    N = std::min(N, count_ - Index);
    std::move(list_.begin() + Index + N, list_.begin() + count_, list_.begin() + Index);
    count_ -= N;
}

void TsgObjectList::DeleteAndFree(int Index) {
    TObject* item = Get(Index);
    Delete(Index);
    delete item;
}

void TsgObjectList::DeleteAndFreeItems(int Index, int N) {
    if (N <= 0)
        return;
    Check(Index);
    int last = std::min(Index + N - 1, count_ - 1);
    std::vector<TObject*> doomed(list_.begin() + Index, list_.begin() + last + 1);
    DeleteItems(Index, N);
    for (TObject* item : doomed)
        delete item;
}

int TsgObjectList::IndexOf(const TObject* Item) const {
    for (int i = 0; i < count_; ++i)
        if (list_[static_cast<size_t>(i)] == Item)
            return i;
    return -1;
}

int TsgObjectList::Remove(TObject* Item) {
    int index = IndexOf(Item);
    if (index >= 0)
        Delete(index);
    return index;
}

int TsgObjectList::RemoveAndFree(TObject* Item) {
    int index = Remove(Item);
    if (index >= 0)
        delete Item;
    return index;
}

void TsgObjectList::RemoveObjects(const TsgObjectList* List) {
    if (!List)
        return;
    for (int i = 0; i < List->count_; ++i)
        Remove(List->list_[static_cast<size_t>(i)]);
}

void TsgObjectList::Exchange(int Index1, int Index2) {
    Check(Index1);
    Check(Index2);
    std::swap(list_[static_cast<size_t>(Index1)], list_[static_cast<size_t>(Index2)]);
}

void TsgObjectList::Move(int CurIndex, int NewIndex) {
    if (CurIndex == NewIndex)
        return;
    Check(CurIndex);
    Check(NewIndex);
    auto first = list_.begin();
    if (CurIndex < NewIndex)
        std::rotate(first + CurIndex, first + CurIndex + 1, first + NewIndex + 1);
    else
        std::rotate(first + NewIndex, first + CurIndex, first + CurIndex + 1);
}

void TsgObjectList::Pack() {
    auto end = std::remove(list_.begin(), list_.begin() + count_, nullptr);
    count_ = static_cast<int>(end - list_.begin());
}

void TsgObjectList::Clear() {
    count_ = 0;
    list_.clear();
    list_.shrink_to_fit();
}

void TsgObjectList::Clean() {
    // Last to first; freeing an object may take it (and others) out of this very list.
    for (int i = count_ - 1; i >= 0; --i)
        if (i < count_)
            delete list_[static_cast<size_t>(i)];
    Clear();
}

void TsgObjectList::CleanFree(TsgObjectList*& List) {
    if (!List)
        return;
    List->Clean();
    delete List;
    List = nullptr;
}

void TsgObjectList::Sort(TObjectListSortCompare Compare) {
    if (count_ > 1)
        sgQuickSort(list_.data(), 0, count_ - 1, Compare);
}
