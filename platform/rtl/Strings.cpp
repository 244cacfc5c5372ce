#include "platform/rtl/Strings.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileStream.h"
#include "platform/rtl/StringUtils.h"

#include <algorithm>
#include <string>

namespace {

bool IsBlank(char16_t c) {
    return c <= u' ';
}

// Text of a stream from its position to its end.
std::string ReadRest(TStream& stream) {
    int64_t size = stream.Size() - stream.Position();
    std::string bytes;
    if (size <= 0)
        return bytes;
    bytes.resize(static_cast<size_t>(size));
    int64_t done = 0;
    while (done < size) {
        int32_t n = stream.Read(bytes.data() + done,
                                static_cast<int32_t>(std::min<int64_t>(size - done, 1 << 30)));
        if (n <= 0)
            break;
        done += n;
    }
    bytes.resize(static_cast<size_t>(done));
    return bytes;
}

} // namespace

void TStrings::RaiseIndexError(int index) {
    throw EStringListError(UnicodeString(u"List index out of bounds (") +
                           UnicodeString(std::to_string(index)) + UnicodeString(u")"));
}

void TStrings::CheckIndex(int index) const {
    if (index < 0 || index >= Count())
        RaiseIndexError(index);
}

int TStrings::CompareStrings(const UnicodeString& a, const UnicodeString& b) const {
    return CaseSensitive() ? CompareStr(a, b) : CompareText(a, b);
}

int TStrings::AddObject(const UnicodeString& text, void* object) {
    int index = Count();
    InsertObject(index, text, object);
    return index;
}

void TStrings::AddStrings(const TStrings& other) {
    if (&other == this) {
        int count = Count();
        BeginUpdate();
        for (int i = 0; i < count; ++i)
            AddObject(Get(i), GetObject(i));
        EndUpdate();
        return;
    }
    BeginUpdate();
    for (int i = 0; i < other.Count(); ++i)
        AddObject(other.Get(i), other.GetObject(i));
    EndUpdate();
}

void TStrings::Assign(const TStrings& other) {
    if (&other == this)
        return;
    BeginUpdate();
    Clear();
    Delimiter = other.Delimiter;
    QuoteChar = other.QuoteChar;
    NameValueSeparator = other.NameValueSeparator;
    StrictDelimiter = other.StrictDelimiter;
    LineBreak = other.LineBreak;
    AddStrings(other);
    EndUpdate();
}

void TStrings::Exchange(int index1, int index2) {
    CheckIndex(index1);
    CheckIndex(index2);
    BeginUpdate();
    UnicodeString text = Get(index1);
    void* object = GetObject(index1);
    Put(index1, Get(index2));
    PutObject(index1, GetObject(index2));
    Put(index2, text);
    PutObject(index2, object);
    EndUpdate();
}

void TStrings::Move(int currentIndex, int newIndex) {
    if (currentIndex == newIndex)
        return;
    CheckIndex(currentIndex);
    CheckIndex(newIndex);
    BeginUpdate();
    UnicodeString text = Get(currentIndex);
    void* object = GetObject(currentIndex);
    Delete(currentIndex);
    InsertObject(newIndex, text, object);
    EndUpdate();
}

bool TStrings::Equals(const TStrings& other) const {
    if (Count() != other.Count())
        return false;
    for (int i = 0; i < Count(); ++i)
        if (Get(i) != other.Get(i))
            return false;
    return true;
}

int TStrings::IndexOf(const UnicodeString& text) const {
    for (int i = 0; i < Count(); ++i)
        if (CompareStrings(Get(i), text) == 0)
            return i;
    return -1;
}

int TStrings::IndexOfName(const UnicodeString& name) const {
    for (int i = 0; i < Count(); ++i) {
        const UnicodeString item = Get(i);
        size_t at = item.str().find(NameValueSeparator);
        if (at != std::u16string::npos &&
            CompareStrings(item.SubString(1, static_cast<int>(at)), name) == 0)
            return i;
    }
    return -1;
}

int TStrings::IndexOfObject(const void* object) const {
    for (int i = 0; i < Count(); ++i)
        if (GetObject(i) == object)
            return i;
    return -1;
}

UnicodeString TStrings::Names(int index) const {
    const UnicodeString item = Get(index);
    size_t at = item.str().find(NameValueSeparator);
    return at == std::u16string::npos ? UnicodeString() : item.SubString(1, static_cast<int>(at));
}

UnicodeString TStrings::ValueFromIndex(int index) const {
    const UnicodeString item = Get(index);
    size_t at = item.str().find(NameValueSeparator);
    return at == std::u16string::npos ? UnicodeString() : UnicodeString(item.str().substr(at + 1));
}

UnicodeString TStrings::Values(const UnicodeString& name) const {
    int index = IndexOfName(name);
    return index < 0 ? UnicodeString() : ValueFromIndex(index);
}

void TStrings::SetValue(const UnicodeString& name, const UnicodeString& value) {
    int index = IndexOfName(name);
    if (!value.IsEmpty()) {
        UnicodeString item = name + UnicodeString(NameValueSeparator, 1) + value;
        if (index < 0)
            Add(item);
        else
            Put(index, item);
    } else if (index >= 0) {
        Delete(index);
    }
}

UnicodeString TStrings::Text() const {
    std::u16string out;
    for (int i = 0; i < Count(); ++i) {
        out += Get(i).str();
        out += LineBreak.str();
    }
    return UnicodeString(std::move(out));
}

void TStrings::SetText(const UnicodeString& text) {
    BeginUpdate();
    Clear();
    const std::u16string& s = text.str();
    size_t start = 0;
    while (start < s.size()) {
        size_t end = s.find_first_of(u"\r\n", start);
        if (end == std::u16string::npos) {
            Add(UnicodeString(s.substr(start)));
            break;
        }
        Add(UnicodeString(s.substr(start, end - start)));
        start = end + 1;
        if (s[end] == u'\r' && start < s.size() && s[start] == u'\n')
            ++start;
    }
    EndUpdate();
}

UnicodeString TStrings::JoinDelimited(char16_t delimiter, char16_t quote, bool strict) const {
    if (Count() == 1 && Get(0).IsEmpty())
        return UnicodeString(std::u16string{quote, quote});
    std::u16string out;
    for (int i = 0; i < Count(); ++i) {
        if (i > 0)
            out += delimiter;
        const UnicodeString itemText = Get(i);
        const std::u16string& item = itemText.str();
        bool needsQuotes = item.find(delimiter) != std::u16string::npos ||
                           item.find(quote) != std::u16string::npos;
        if (!strict)
            for (char16_t c : item)
                needsQuotes = needsQuotes || IsBlank(c);
        if (!needsQuotes) {
            out += item;
            continue;
        }
        out += quote;
        for (char16_t c : item) {
            out += c;
            if (c == quote)
                out += c;
        }
        out += quote;
    }
    return UnicodeString(std::move(out));
}

void TStrings::SplitDelimited(const UnicodeString& text, char16_t delimiter, char16_t quote,
                              bool strict) {
    BeginUpdate();
    Clear();
    const std::u16string& s = text.str();
    size_t i = 0;
    auto skipBlanks = [&] {
        if (!strict)
            while (i < s.size() && IsBlank(s[i]) && s[i] != delimiter)
                ++i;
    };
    skipBlanks();
    while (i < s.size()) {
        std::u16string item;
        if (s[i] == quote) {
            ++i;
            while (i < s.size()) {
                if (s[i] == quote) {
                    if (i + 1 < s.size() && s[i + 1] == quote) {
                        item += quote;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                item += s[i++];
            }
        } else {
            while (i < s.size() && s[i] != delimiter && (strict || !IsBlank(s[i])))
                item += s[i++];
        }
        Add(UnicodeString(std::move(item)));
        skipBlanks();
        if (i < s.size() && s[i] == delimiter) {
            ++i;
            if (i == s.size())
                Add(UnicodeString());
            skipBlanks();
        }
    }
    EndUpdate();
}

UnicodeString TStrings::CommaText() const {
    return JoinDelimited(u',', u'"', false);
}

void TStrings::SetCommaText(const UnicodeString& text) {
    SplitDelimited(text, u',', u'"', false);
}

UnicodeString TStrings::DelimitedText() const {
    return JoinDelimited(Delimiter, QuoteChar, StrictDelimiter);
}

void TStrings::SetDelimitedText(const UnicodeString& text) {
    SplitDelimited(text, Delimiter, QuoteChar, StrictDelimiter);
}

void TStrings::LoadFromStream(TStream& stream, std::optional<TTextEncoding> encoding) {
    std::string bytes = ReadRest(stream);
    TTextEncoding found = TTextEncoding::Utf8;
    UnicodeString text = encoding ? DecodeTextAs(bytes, *encoding) : DecodeText(bytes, &found);
    encoding_ = encoding ? *encoding : found;
    SetText(text);
}

void TStrings::LoadFromFile(const UnicodeString& fileName, std::optional<TTextEncoding> encoding) {
    TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(file, encoding);
}

void TStrings::SaveToStream(TStream& stream, std::optional<TTextEncoding> encoding) const {
    std::string bytes =
        EncodeText(Text(), encoding.value_or(encoding_.value_or(TTextEncoding::Utf8)));
    stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

void TStrings::SaveToFile(const UnicodeString& fileName,
                          std::optional<TTextEncoding> encoding) const {
    TFileStream file(fileName, fmCreate);
    SaveToStream(file, encoding);
}

void TStrings::BeginUpdate() {
    if (updateCount_++ == 0)
        SetUpdateState(true);
}

void TStrings::EndUpdate() {
    if (updateCount_ > 0 && --updateCount_ == 0)
        SetUpdateState(false);
}
