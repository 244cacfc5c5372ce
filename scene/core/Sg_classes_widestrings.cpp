#include "scene/core/Sg_classes_widestrings.h"

#include "platform/classes/Reader.h"
#include "platform/classes/Writer.h"
#include "platform/rtl/FileStream.h"
#include "platform/rtl/MemoryStream.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/TextEncoding.h"

#include <algorithm>
#include <vector>

DBI_PUBLISH(TsgWideStrings) {}

int TsgWideStrings::CompareStrings(const UnicodeString&, const UnicodeString&) {
    return 0;
}

int TsgWideStrings::Add(const UnicodeString& S) {
    int index = GetCount();
    Insert(index, S);
    return index;
}

int TsgWideStrings::AddObject(const UnicodeString& S, TObject* AObject) {
    int index = Add(S);
    PutObject(index, AObject);
    return index;
}

void TsgWideStrings::InsertObject(int Index, const UnicodeString& S, TObject* AObject) {
    Insert(Index, S);
    PutObject(Index, AObject);
}

void TsgWideStrings::AddStrings(const TStrings& Strings) {
    BeginUpdate();
    for (int i = 0; i < Strings.Count(); ++i)
        AddObject(Strings.Get(i), static_cast<TObject*>(Strings.GetObject(i)));
    EndUpdate();
}

void TsgWideStrings::AddStrings(TsgWideStrings& Strings) {
    BeginUpdate();
    // The other list may be this one; fix the count first.
    int count = Strings.GetCount();
    for (int i = 0; i < count; ++i)
        AddObject(Strings.Get(i), Strings.GetObject(i));
    EndUpdate();
}

void TsgWideStrings::Assign(TPersistent* Source) {
    if (auto* other = dynamic_cast<TsgWideStrings*>(Source)) {
        if (other == this)
            return;
        BeginUpdate();
        Clear();
        AddStrings(*other);
        EndUpdate();
        return;
    }
    TPersistent::Assign(Source);
}

void TsgWideStrings::Assign(const TStrings& Source) {
    BeginUpdate();
    Clear();
    AddStrings(Source);
    EndUpdate();
}

void TsgWideStrings::AssignTo(TStrings& Dest) {
    Dest.BeginUpdate();
    Dest.Clear();
    for (int i = 0; i < GetCount(); ++i)
        Dest.AddObject(Get(i), GetObject(i));
    Dest.EndUpdate();
}

void TsgWideStrings::AssignTo(TPersistent* Dest) {
    if (auto* other = dynamic_cast<TsgWideStrings*>(Dest)) {
        other->BeginUpdate();
        other->Clear();
        other->AddStrings(*this);
        other->EndUpdate();
        return;
    }
    TPersistent::AssignTo(Dest);
}

void TsgWideStrings::BeginUpdate() {
    if (updateCount_++ == 0)
        SetUpdateState(true);
}

void TsgWideStrings::EndUpdate() {
    if (updateCount_ > 0 && --updateCount_ == 0)
        SetUpdateState(false);
}

bool TsgWideStrings::Equals(TsgWideStrings& Strings) {
    int count = GetCount();
    if (count != Strings.GetCount())
        return false;
    for (int i = 0; i < count; ++i)
        if (!(Get(i) == Strings.Get(i)))
            return false;
    return true;
}

void TsgWideStrings::Exchange(int Index1, int Index2) {
    BeginUpdate();
    UnicodeString text = Get(Index1);
    TObject* object = GetObject(Index1);
    Put(Index1, Get(Index2));
    PutObject(Index1, GetObject(Index2));
    Put(Index2, text);
    PutObject(Index2, object);
    EndUpdate();
}

void TsgWideStrings::Move(int CurIndex, int NewIndex) {
    if (CurIndex == NewIndex)
        return;
    BeginUpdate();
    UnicodeString text = Get(CurIndex);
    TObject* object = GetObject(CurIndex);
    Delete(CurIndex);
    InsertObject(NewIndex, text, object);
    EndUpdate();
}

void TsgWideStrings::Put(int Index, const UnicodeString& S) {
    TObject* object = GetObject(Index);
    Delete(Index);
    InsertObject(Index, S, object);
}

int TsgWideStrings::IndexOf(const UnicodeString& S) {
    for (int i = 0; i < GetCount(); ++i)
        if (CompareStrings(Get(i), S) == 0)
            return i;
    return -1;
}

int TsgWideStrings::IndexOfPart(const UnicodeString& Part, bool NamePart) {
    for (int i = 0; i < GetCount(); ++i) {
        UnicodeString text = Get(i);
        int eq = text.Pos(u"=");
        if (eq == 0)
            continue;
        UnicodeString part =
            NamePart ? text.SubString(1, eq - 1) : text.SubString(eq + 1, text.Length() - eq);
        if (CompareStrings(part, Part) == 0)
            return i;
    }
    return -1;
}

int TsgWideStrings::IndexOfName(const UnicodeString& Name) {
    return IndexOfPart(Name, true);
}

int TsgWideStrings::IndexOfValue(const UnicodeString& Value) {
    return IndexOfPart(Value, false);
}

int TsgWideStrings::IndexOfObject(TObject* AObject) {
    for (int i = 0; i < GetCount(); ++i)
        if (GetObject(i) == AObject)
            return i;
    return -1;
}

UnicodeString TsgWideStrings::GetName(int Index) {
    UnicodeString text = Get(Index);
    int eq = text.Pos(u"=");
    return eq == 0 ? UnicodeString() : text.SubString(1, eq - 1);
}

UnicodeString TsgWideStrings::GetValue(const UnicodeString& Name) {
    int index = IndexOfName(Name);
    if (index < 0)
        return UnicodeString();
    UnicodeString text = Get(index);
    return text.SubString(Name.Length() + 2, text.Length());
}

void TsgWideStrings::SetValue(const UnicodeString& Name, const UnicodeString& Value) {
    int index = IndexOfName(Name);
    if (!Value.IsEmpty()) {
        if (index < 0)
            index = Add(UnicodeString());
        Put(index, Name + u"=" + Value);
    } else if (index >= 0) {
        Delete(index);
    }
}

UnicodeString TsgWideStrings::GetValueFromIndex(int Index) {
    if (Index < 0)
        return UnicodeString();
    UnicodeString text = Get(Index);
    return text.SubString(GetName(Index).Length() + 2, text.Length());
}

void TsgWideStrings::SetValueFromIndex(int Index, const UnicodeString& Value) {
    if (!Value.IsEmpty()) {
        if (Index < 0)
            Index = Add(UnicodeString());
        Put(Index, GetName(Index) + u"=" + Value);
    } else if (Index >= 0) {
        Delete(Index);
    }
}

void TsgWideStrings::SetCaseSensitive(bool Value) {
    if (Value == caseSensitive_)
        return;
    caseSensitive_ = Value;
    // A sorted list is sorted by the new rule at once, or Find would search it wrongly.
    if (sorted_)
        SortItems();
}

void TsgWideStrings::SetSorted(bool Value) {
    if (Value == sorted_)
        return;
    if (Value)
        Sort();
    sorted_ = Value;
}

UnicodeString TsgWideStrings::GetTextStr() {
    UnicodeString text;
    for (int i = 0; i < GetCount(); ++i)
        text += Get(i) + u"\r\n";
    return text;
}

void TsgWideStrings::SetText(const char16_t* Text) {
    SetTextStr(UnicodeString(Text));
}

void TsgWideStrings::SetTextStr(const UnicodeString& Value) {
    BeginUpdate();
    Clear();
    const std::u16string& s = Value.str();
    const size_t end = std::min(s.find(u'\0'), s.size());
    size_t start = 0, i = 0;
    while (i < end) {
        char16_t c = s[i];
        if (c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r' || c == 0x2028 || c == 0x2029) {
            Add(UnicodeString(s.substr(start, i - start)));
            i += (c == u'\r' && i + 1 < end && s[i + 1] == u'\n') ? 2 : 1;
            start = i;
        } else {
            ++i;
        }
    }
    if (start < end)
        Add(UnicodeString(s.substr(start, end - start)));
    EndUpdate();
}

UnicodeString TsgWideStrings::CommaText() {
    UnicodeString result;
    for (int i = 0; i < GetCount(); ++i) {
        UnicodeString item = Get(i);
        bool quote = false;
        for (char16_t c : item.str())
            if (c <= u' ' || c == u'"' || c == u',')
                quote = true;
        if (quote) {
            UnicodeString quoted = u"\"";
            for (char16_t c : item.str()) {
                if (c == u'"')
                    quoted += u'"';
                quoted += c;
            }
            item = quoted + u"\"";
        }
        if (i > 0)
            result += u",";
        result += item;
    }
    return result;
}

void TsgWideStrings::SetCommaText(const UnicodeString& Value) {
    BeginUpdate();
    Clear();
    const std::u16string& s = Value.str();
    // The text ends at its first NUL, which is no blank and no separator: every pass below
    // consumes at least one character or ends the text.
    const size_t end = std::min(s.find(u'\0'), s.size());
    auto blank = [&](size_t i) { return i < end && s[i] >= 1 && s[i] <= u' '; };
    size_t p = 0;
    while (blank(p))
        ++p;
    while (p < end) {
        std::u16string item;
        if (s[p] == u'"') {
            ++p;
            while (p < end) {
                if (s[p] == u'"') {
                    if (p + 1 < end && s[p + 1] == u'"') {
                        item += u'"';
                        p += 2;
                        continue;
                    }
                    ++p;
                    break;
                }
                item += s[p++];
            }
        } else {
            while (p < end && s[p] > u' ' && s[p] != u',')
                item += s[p++];
        }
        Add(UnicodeString(std::move(item)));
        while (blank(p))
            ++p;
        if (p < end && s[p] == u',') {
            ++p;
            while (blank(p))
                ++p;
        }
    }
    EndUpdate();
}

void TsgWideStrings::SaveToStream(TStream& Stream) {
    std::string bytes = EncodeText(GetTextStr(), TTextEncoding::Utf16LE);
    Stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

void TsgWideStrings::SaveToFile(const UnicodeString& FileName) {
    TFileStream stream(FileName, fmCreate);
    SaveToStream(stream);
}

void TsgWideStrings::SaveToAnsiFile(const UnicodeString& FileName) {
    TStringList list;
    list.SetText(GetTextStr());
    list.SaveToFile(FileName);
}

void TsgWideStrings::LoadFromStream(TStream& Stream) {
    BeginUpdate();
    try {
        int64_t size = Stream.Size() - Stream.Position();
        std::string bytes(static_cast<size_t>(size > 0 ? size : 0), '\0');
        Stream.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
        UnicodeString text;
        if (bytes.size() >= 2 && static_cast<uint8_t>(bytes[0]) == 0xFF &&
            static_cast<uint8_t>(bytes[1]) == 0xFE)
            text = DecodeTextAs(bytes, TTextEncoding::Utf16LE);
        else if (bytes.size() >= 2 && static_cast<uint8_t>(bytes[0]) == 0xFE &&
                 static_cast<uint8_t>(bytes[1]) == 0xFF)
            text = DecodeTextAs(bytes, TTextEncoding::Utf16BE); // big-endian read as such
        else
            text = DecodeText(bytes); // 8-bit text of the system code page
        SetTextStr(text);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TsgWideStrings::LoadFromFile(const UnicodeString& FileName) {
    try {
        TFileStream stream(FileName, fmOpenRead | fmShareDenyNone);
        LoadFromStream(stream);
    } catch (const Exception&) {
        // A file that cannot be read leaves the list as it was.
    }
}

void TsgWideStrings::DefineProperties(TFiler& Filer) {
    TPersistent* ancestor = Filer.Ancestor();
    bool hasData;
    if (!ancestor)
        hasData = GetCount() > 0;
    else if (auto* other = dynamic_cast<TsgWideStrings*>(ancestor))
        hasData = !Equals(*other);
    else
        hasData = true;
    Filer.DefineProperty(
        "strings",
        [this](TReader& reader) {
            reader.ReadListBegin();
            BeginUpdate();
            try {
                Clear();
                while (!reader.EndOfList())
                    Add(reader.ReadWideString());
            } catch (...) {
                EndUpdate();
                throw;
            }
            EndUpdate();
            reader.ReadListEnd();
        },
        [this](TWriter& writer) {
            writer.WriteListBegin();
            // ASCII items go out as String, others as WString: the canonical binary form,
            // which converts to text and back unchanged.
            for (int i = 0; i < GetCount(); ++i)
                writer.WriteString(Get(i));
            writer.WriteListEnd();
        },
        hasData);
}
