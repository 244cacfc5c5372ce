// TsgWideStrings: the toolkit's abstract list of UTF-16 texts with objects, independent of the
// platform's string lists: text and comma text, name=value access, update brackets, files and
// streams, and the component-stream property "strings".
//
// Indexes count from 0. The base class stores nothing; a derived class supplies Get, GetCount,
// Insert and the other primitives.
#pragma once

#include "platform/classes/Persistent.h"
#include "platform/rtl/UnicodeString.h"

class TStrings;
class TStream;

class TsgWideStrings : public TPersistent {
    DBI_PERSISTENT(TsgWideStrings, TPersistent)

    TsgWideStrings() = default;
    TsgWideStrings(const TsgWideStrings&) = delete;
    TsgWideStrings& operator=(const TsgWideStrings&) = delete;

    // Primitives (virtual, in the platform's slot order).
    virtual int CompareStrings(const UnicodeString& S1, const UnicodeString& S2);
    virtual UnicodeString Get(int Index) = 0;
    virtual int GetCapacity() { return GetCount(); }
    virtual int GetCount() = 0;
    virtual TObject* GetObject(int) { return nullptr; }
    virtual UnicodeString GetTextStr();
    virtual void Put(int Index, const UnicodeString& S);
    virtual void PutObject(int, TObject*) {}
    virtual void SetCapacity(int) {}
    virtual void SetTextStr(const UnicodeString& Value);
    virtual void SetUpdateState(bool) {}
    virtual int AddObject(const UnicodeString& S, TObject* AObject);
    virtual void AddStrings(const TStrings& Strings);
    virtual void AddStrings(TsgWideStrings& Strings);
    virtual void Exchange(int Index1, int Index2);
    virtual int IndexOf(const UnicodeString& S);
    virtual int IndexOfName(const UnicodeString& Name);
    virtual int IndexOfValue(const UnicodeString& Value);
    virtual void Insert(int Index, const UnicodeString& S) = 0;
    virtual void LoadFromFile(const UnicodeString& FileName);
    virtual void LoadFromStream(TStream& Stream);
    virtual void Move(int CurIndex, int NewIndex);
    virtual void SaveToFile(const UnicodeString& FileName);
    virtual void SaveToAnsiFile(const UnicodeString& FileName);
    virtual void SaveToStream(TStream& Stream);
    virtual void SetText(const char16_t* Text);
    virtual void Sort() {}
    virtual int Add(const UnicodeString& S);
    virtual void Delete(int) {}
    virtual void Clear() {}

    void Append(const UnicodeString& S) { Add(S); }
    void InsertObject(int Index, const UnicodeString& S, TObject* AObject);
    void BeginUpdate();
    void EndUpdate();
    // Same count and the same texts, case and all.
    bool Equals(TsgWideStrings& Strings);
    int IndexOfObject(TObject* AObject);

    int Count() { return GetCount(); }
    int Capacity() { return GetCapacity(); }
    UnicodeString Strings(int Index) { return Get(Index); }
    UnicodeString Items(int Index) { return Get(Index); }
    void SetItem(int Index, const UnicodeString& S) { Put(Index, S); }
    TObject* Objects(int Index) { return GetObject(Index); }
    UnicodeString Text() { return GetTextStr(); }
    void SetTextValue(const UnicodeString& Value) { SetTextStr(Value); }
    UnicodeString CommaText();
    void SetCommaText(const UnicodeString& Value);
    UnicodeString GetName(int Index);
    UnicodeString GetValue(const UnicodeString& Name);
    void SetValue(const UnicodeString& Name, const UnicodeString& Value);
    UnicodeString GetValueFromIndex(int Index);
    void SetValueFromIndex(int Index, const UnicodeString& Value);
    bool CaseSensitive() const { return caseSensitive_; }
    virtual void SetCaseSensitive(bool Value);
    bool Sorted() const { return sorted_; }
    virtual void SetSorted(bool Value);

    void Assign(TPersistent* Source) override;
    void Assign(const TStrings& Source);
    // Into a platform string list.
    void AssignTo(TStrings& Dest);
    void DefineProperties(TFiler& Filer) override;

protected:
    void AssignTo(TPersistent* Dest) override;
    // The list's error routine: silent, so callers continue after it.
    void Error(const UnicodeString&, int) {}
    int UpdateCount() const { return updateCount_; }
    // Sorts whatever Sorted says (SetCaseSensitive needs that; Sort skips sorted lists).
    virtual void SortItems() {}
    bool sorted_ = false;

private:
    // First item with a "=" whose part before it (NamePart) or after it equals Part.
    int IndexOfPart(const UnicodeString& Part, bool NamePart);

    int updateCount_ = 0;
    bool caseSensitive_ = false;
};
