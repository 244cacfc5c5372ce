// TsgWideStringList: the concrete wide string list with objects (not owned), sorting, binary
// search, duplicates handling and change events.
//
// Bad indexes go to the silent error routine: Get answers an empty text, and Delete, Exchange,
// GetObject, Put and PutObject refuse an index outside the list, so nothing outside it is
// touched.
#pragma once

#include "scene/core/Sg_classes_widestrings.h"

#include "platform/classes/Closure.h"
#include "platform/rtl/StringList.h" // TDuplicates

#include <vector>

struct TWideStringItem {
    UnicodeString FString;
    TObject* FObject = nullptr;
};

class TsgWideStringList : public TsgWideStrings {
    DBI_PERSISTENT(TsgWideStringList, TsgWideStrings)

    TsgWideStringList() = default;
    ~TsgWideStringList() override;

    UnicodeString Get(int Index) override;
    int GetCapacity() override { return capacity_; }
    int GetCount() override { return static_cast<int>(list_.size()); }
    TObject* GetObject(int Index) override;
    void Put(int Index, const UnicodeString& S) override;
    void PutObject(int Index, TObject* AObject) override;
    void SetCapacity(int NewCapacity) override;
    void SetUpdateState(bool Updating) override;
    int CompareStrings(const UnicodeString& S1, const UnicodeString& S2) override;
    int Add(const UnicodeString& S) override;
    void Clear() override;
    void Delete(int Index) override;
    void Exchange(int Index1, int Index2) override;
    int IndexOf(const UnicodeString& S) override;
    void Insert(int Index, const UnicodeString& S) override;
    void Sort() override;

    virtual void Changed();
    virtual void Changing();
    // Binary search: true when found; Index is the match (the first one with dupAccept) or the
    // place where S would go.
    virtual bool Find(const UnicodeString& S, int& Index);
    // The same over the objects, larger addresses first.
    virtual bool FindByObject(TObject* AObject, int& Index);

    TDuplicates Duplicates = dupIgnore;
    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;
    bool SortByObject() const { return sortByObject_; }
    void SetSortByObject(bool Value) { sortByObject_ = Value; }

protected:
    void InsertItem(int Index, const UnicodeString& S);
    void SortItems() override;

private:
    bool ValidIndex(int Index) const {
        return Index >= 0 && Index < static_cast<int>(list_.size());
    }
    void Grow();
    int CompareItems(const TWideStringItem& a, const TWideStringItem& b);

    std::vector<TWideStringItem> list_;
    int capacity_ = 0;
    bool sortByObject_ = false;
};
