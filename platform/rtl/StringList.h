// TStringList: the concrete list of texts with an object pointer per item.
//
// Objects are untyped, unowned pointers (the caller keeps what they point to alive and casts
// them back). A sorted list keeps its items in order on every Add and finds them by binary
// search; Insert and Put raise EStringListError on it ("Operation not allowed on sorted list").
// Duplicates decides what Add does with a text already present in a sorted list: dupIgnore
// answers the existing index, dupAccept adds it again, dupError raises EStringListError
// ("String list does not allow duplicates"). Sorting is stable and compares without regard to
// case unless CaseSensitive is set.
//
// OnChanging and OnChange run before and after each change, once per BeginUpdate/EndUpdate
// bracket when changes are batched.
#pragma once

#include "platform/rtl/Strings.h"

#include <functional>
#include <vector>

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList : public TStrings {
public:
    TStringList() = default;
    TStringList(const TStringList& other);
    TStringList& operator=(const TStringList& other);

    int Count() const override { return static_cast<int>(items_.size()); }
    UnicodeString Get(int index) const override;
    void Put(int index, const UnicodeString& text) override;
    void* GetObject(int index) const override;
    void PutObject(int index, void* object) override;
    void InsertObject(int index, const UnicodeString& text, void* object) override;
    int AddObject(const UnicodeString& text, void* object) override;
    void Delete(int index) override;
    void Clear() override;
    int IndexOf(const UnicodeString& text) const override;

    bool CaseSensitive() const override { return caseSensitive_; }
    void SetCaseSensitive(bool value);
    bool Sorted() const { return sorted_; }
    // Turning sorting on sorts the list at once.
    void SetSorted(bool value);
    TDuplicates Duplicates = dupIgnore;

    // In a sorted list: true when text is present, index = its position (or where it would
    // go). Meaningless on an unsorted list.
    bool Find(const UnicodeString& text, int& index) const;
    void Sort();
    // Sorts with a comparison of two item indexes (negative, 0, positive); the list keeps its
    // order while the comparison runs, so it may read any item.
    void CustomSort(const std::function<int(TStringList& list, int index1, int index2)>& compare);

    std::function<void()> OnChanging;
    std::function<void()> OnChange;

protected:
    void SetUpdateState(bool updating) override;

private:
    struct Item {
        UnicodeString text;
        void* object = nullptr;
    };

    void Changing();
    void Changed();

    std::vector<Item> items_;
    bool caseSensitive_ = false;
    bool sorted_ = false;
};
