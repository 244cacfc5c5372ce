// TsgObjectList: a growable array of object references that grows by a fixed step. It does not
// own its items; only the freeing operations (DeleteAndFree, DeleteAndFreeItems, RemoveAndFree,
// Clean, CleanFree) free objects. Indexes must lie in 0..Count-1; an index outside raises
// EListError ("List index error") instead of touching memory outside the list.
#pragma once

#include "platform/classes/Persistent.h"

#include <vector>

using TObjectListSortCompare = int (*)(TObject* Item1, TObject* Item2);

class TsgObjectList : public TPersistent {
    DBI_PERSISTENT(TsgObjectList, TPersistent)

    TsgObjectList() = default;
    ~TsgObjectList() override { Clear(); }
    TsgObjectList(const TsgObjectList&) = delete;
    TsgObjectList& operator=(const TsgObjectList&) = delete;

    int Add(TObject* Item);
    int Push(TObject* Item) { return Add(Item); }
    TObject* Pop();
    void AddNils(int N);
    int AddObjects(const TsgObjectList* List);
    void Insert(int Index, TObject* Item);
    void InsertNils(int Index, int N);
    void Delete(int Index);
    void DeleteItems(int Index, int N);
    void DeleteAndFree(int Index);
    void DeleteAndFreeItems(int Index, int N);
    int Remove(TObject* Item);
    int RemoveAndFree(TObject* Item);
    void RemoveObjects(const TsgObjectList* List);
    int IndexOf(const TObject* Item) const;
    void Exchange(int Index1, int Index2);
    void Move(int CurIndex, int NewIndex);
    void Pack();
    void RequiredCapacity(int N);
    TsgObjectList* Expand();
    virtual void Clear();
    virtual void Clean();
    // Clean, then destroy the list itself (nothing for nullptr).
    static void CleanFree(TsgObjectList*& List);
    void Sort(TObjectListSortCompare Compare);

    virtual void Error();
    virtual void AfterObjectCreatedByReader(TObject*) {}

    int Count() const { return count_; }
    void SetCount(int N);
    int Capacity() const { return static_cast<int>(list_.size()); }
    void SetCapacity(int N);
    int GrowthDelta() const { return growthDelta_; }
    void SetGrowthDelta(int N) { growthDelta_ = N; }
    TObject* const* List() const { return list_.data(); }
    TObject* Get(int Index) const;
    void Put(int Index, TObject* Item);
    TObject* operator[](int Index) const { return Get(Index); }
    TObject* First() const { return Get(0); }
    TObject* Last() const { return Get(count_ - 1); }

private:
    void Check(int Index) const;
    void GrowWhenFull();

    std::vector<TObject*> list_; // its size is the capacity
    int count_ = 0;
    int growthDelta_ = 16;
};
