// TStrings: the abstract list of texts with an object pointer per item.
//
// The algorithms every list shares live here: whole-text, comma and delimited forms,
// name=value access, searching, loading and saving. A concrete list (TStringList) supplies the
// storage. Indexes are 0-based; a bad index raises EStringListError
// ("List index out of bounds (n)").
//
// Text joins the items with LineBreak after each (CR LF by default, the convention the
// toolkit's texts and controls share, so text moved between a list and a control keeps its
// line ends); setting it splits at CR LF, LF or CR, and a last line without an ending still
// counts. Names and values compare according to CaseSensitive() (not by default).
#pragma once

#include "platform/rtl/Stream.h"
#include "platform/rtl/TextEncoding.h"
#include "platform/rtl/UnicodeString.h"

#include <optional>

class TStrings {
public:
    virtual ~TStrings() = default;

    // Storage, supplied by the concrete list.
    virtual int Count() const = 0;
    virtual UnicodeString Get(int index) const = 0;
    virtual void Put(int index, const UnicodeString& text) = 0;
    virtual void* GetObject(int index) const = 0;
    virtual void PutObject(int index, void* object) = 0;
    virtual void InsertObject(int index, const UnicodeString& text, void* object) = 0;
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;
    virtual bool CaseSensitive() const { return false; }

    void Insert(int index, const UnicodeString& text) { InsertObject(index, text, nullptr); }
    // Appends (or, in a sorted list, inserts in order); answers the item's index.
    virtual int AddObject(const UnicodeString& text, void* object);
    int Add(const UnicodeString& text) { return AddObject(text, nullptr); }
    void Append(const UnicodeString& text) { Add(text); }
    void AddStrings(const TStrings& other);
    // Replaces the items (texts and objects) with the other list's.
    void Assign(const TStrings& other);
    void Exchange(int index1, int index2);
    void Move(int currentIndex, int newIndex);
    bool Equals(const TStrings& other) const;

    UnicodeString Strings(int index) const { return Get(index); }
    UnicodeString operator[](int index) const { return Get(index); }
    void* Objects(int index) const { return GetObject(index); }

    // -1 when absent.
    virtual int IndexOf(const UnicodeString& text) const;
    int IndexOfName(const UnicodeString& name) const;
    int IndexOfObject(const void* object) const;

    // Name=value items: Names(i) is the text before the first separator ("" when there is
    // none); ValueFromIndex(i) the text after it. Values(name) answers the value of the first
    // item with that name; SetValue adds or replaces that item, or deletes it for an empty
    // value.
    UnicodeString Names(int index) const;
    UnicodeString ValueFromIndex(int index) const;
    UnicodeString Values(const UnicodeString& name) const;
    void SetValue(const UnicodeString& name, const UnicodeString& value);

    UnicodeString Text() const;
    void SetText(const UnicodeString& text);
    // Items separated by ',', quoted with '"' when they hold blanks, commas or quotes; reading
    // also splits at blanks outside quotes.
    UnicodeString CommaText() const;
    void SetCommaText(const UnicodeString& text);
    // As CommaText with Delimiter and QuoteChar; with StrictDelimiter only Delimiter splits.
    UnicodeString DelimitedText() const;
    void SetDelimitedText(const UnicodeString& text);

    // Reads the rest of the stream (from its position) or the whole file; the encoding comes
    // from a byte-order mark or the content (TextEncoding.h) unless one is given. The file name
    // passes through NativePath; a failing open raises EFOpenError.
    void LoadFromStream(TStream& stream, std::optional<TTextEncoding> encoding = std::nullopt);
    void LoadFromFile(const UnicodeString& fileName,
                      std::optional<TTextEncoding> encoding = std::nullopt);
    // Writes Text in the given encoding, else in the encoding the list was last loaded from,
    // else UTF-8 without a mark. A failing create raises EFCreateError.
    void SaveToStream(TStream& stream, std::optional<TTextEncoding> encoding = std::nullopt) const;
    void SaveToFile(const UnicodeString& fileName,
                    std::optional<TTextEncoding> encoding = std::nullopt) const;
    // The encoding the last load found (or was told).
    std::optional<TTextEncoding> Encoding() const { return encoding_; }

    // Batches change notifications of a concrete list until the matching EndUpdate.
    void BeginUpdate();
    void EndUpdate();
    int UpdateCount() const { return updateCount_; }

    char16_t Delimiter = u',';
    char16_t QuoteChar = u'"';
    char16_t NameValueSeparator = u'=';
    bool StrictDelimiter = false;
    UnicodeString LineBreak = u"\r\n";

protected:
    TStrings() = default;
    TStrings(const TStrings&) = default;
    TStrings& operator=(const TStrings&) = default;

    // Compares two texts as this list does (CaseSensitive()).
    int CompareStrings(const UnicodeString& a, const UnicodeString& b) const;
    // Called when the update count goes from 0 to 1 and back to 0.
    virtual void SetUpdateState(bool) {}
    [[noreturn]] static void RaiseIndexError(int index);
    // Raises the index error unless 0 <= index < Count().
    void CheckIndex(int index) const;

private:
    UnicodeString JoinDelimited(char16_t delimiter, char16_t quote, bool strict) const;
    void SplitDelimited(const UnicodeString& text, char16_t delimiter, char16_t quote, bool strict);

    int updateCount_ = 0;
    std::optional<TTextEncoding> encoding_;
};
