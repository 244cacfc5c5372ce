#include "platform/rtl/IniDocument.h"

#include "platform/rtl/StringUtils.h"

#include <algorithm>
#include <unordered_set>

namespace {

UnicodeString Unquote(const UnicodeString& value) {
    const std::u16string& s = value.str();
    if (s.size() >= 2 && (s.front() == u'"' || s.front() == u'\'') && s.back() == s.front())
        return UnicodeString(s.substr(1, s.size() - 2));
    return value;
}

} // namespace

IniDocument IniDocument::FromBytes(std::string_view bytes) {
    TTextEncoding encoding;
    UnicodeString text = DecodeText(bytes, &encoding);
    IniDocument document = FromText(text);
    document.encoding_ = encoding;
    return document;
}

IniDocument IniDocument::FromText(const UnicodeString& text) {
    IniDocument document;
    const std::u16string& s = text.str();
    document.crlf_ = s.find(u"\r\n") != std::u16string::npos;
    size_t start = 0;
    while (start < s.size()) {
        size_t end = s.find_first_of(u"\r\n", start);
        if (end == std::u16string::npos)
            end = s.size();
        document.lines_.push_back(RawLine(UnicodeString(s.substr(start, end - start))));
        start = end + 1;
        if (end < s.size() && s[end] == u'\r' && start < s.size() && s[start] == u'\n')
            ++start;
    }
    document.Reindex();
    return document;
}

void IniDocument::Reindex() {
    sectionNames_.clear();
    sectionIndex_.clear();
    int current = -1;
    for (Line& line : lines_) {
        line.kind = Kind::Other;
        line.section = current;
        const UnicodeString trimmed = line.raw.Trim();
        if (trimmed.IsEmpty() || trimmed[1] == u';' || trimmed[1] == u'#')
            continue;
        if (trimmed[1] == u'[') {
            int close = trimmed.Pos(u"]");
            if (close == 0)
                continue;
            UnicodeString name = trimmed.SubString(2, close - 2).Trim();
            current = SectionIndex(name);
            if (current < 0) {
                current = static_cast<int>(sectionNames_.size());
                sectionNames_.push_back(name);
                sectionIndex_.emplace(name.UpperCase().str(), current);
            }
            line.kind = Kind::Section;
            line.name = name;
            line.section = current;
            continue;
        }
        int equals = trimmed.Pos(u"=");
        if (equals <= 1 || current < 0)
            continue;
        UnicodeString key = trimmed.SubString(1, equals - 1).Trim();
        if (key.IsEmpty())
            continue;
        line.kind = Kind::Key;
        line.name = key;
        line.value = Unquote(trimmed.SubString(equals + 1, trimmed.Length()).Trim());
    }
}

int IniDocument::SectionIndex(const UnicodeString& section) const {
    auto found = sectionIndex_.find(section.Trim().UpperCase().str());
    return found == sectionIndex_.end() ? -1 : found->second;
}

IniDocument::Line IniDocument::RawLine(const UnicodeString& raw) {
    Line line;
    line.raw = raw;
    return line;
}

std::optional<UnicodeString> IniDocument::Value(const UnicodeString& section,
                                                const UnicodeString& key) const {
    int index = SectionIndex(section);
    if (index < 0)
        return std::nullopt;
    UnicodeString wanted = key.Trim();
    for (const Line& line : lines_)
        if (line.kind == Kind::Key && line.section == index && SameText(line.name, wanted))
            return line.value;
    return std::nullopt;
}

bool IniDocument::HasSection(const UnicodeString& section) const {
    return SectionIndex(section) >= 0;
}

std::vector<UnicodeString> IniDocument::Sections() const {
    return sectionNames_;
}

std::vector<std::pair<UnicodeString, UnicodeString>>
IniDocument::Entries(const UnicodeString& section) const {
    std::vector<std::pair<UnicodeString, UnicodeString>> entries;
    int index = SectionIndex(section);
    if (index < 0)
        return entries;
    std::unordered_set<std::u16string> seen;
    for (const Line& line : lines_)
        if (line.kind == Kind::Key && line.section == index &&
            seen.insert(line.name.UpperCase().str()).second)
            entries.emplace_back(line.name, line.value);
    return entries;
}

void IniDocument::SetValue(const UnicodeString& section, const UnicodeString& key,
                           const UnicodeString& value) {
    UnicodeString wantedKey = key.Trim();
    UnicodeString newLine = wantedKey + UnicodeString(u"=") + value;
    int index = SectionIndex(section);
    if (index < 0) {
        lines_.push_back(RawLine(UnicodeString(u"[") + section.Trim() + UnicodeString(u"]")));
        lines_.push_back(RawLine(newLine));
        Reindex();
        return;
    }
    for (Line& line : lines_) {
        if (line.kind == Kind::Key && line.section == index && SameText(line.name, wantedKey)) {
            line.raw = newLine;
            Reindex();
            return;
        }
    }
    // A new key goes after the last key of the section's first block.
    size_t header = 0;
    while (header < lines_.size() &&
           !(lines_[header].kind == Kind::Section && lines_[header].section == index))
        ++header;
    size_t insertAt = header + 1;
    for (size_t i = header + 1; i < lines_.size() && lines_[i].kind != Kind::Section; ++i)
        if (lines_[i].kind == Kind::Key)
            insertAt = i + 1;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), RawLine(newLine));
    Reindex();
}

void IniDocument::EraseSection(const UnicodeString& section) {
    int index = SectionIndex(section);
    if (index < 0)
        return;
    std::vector<Line> kept;
    for (Line& line : lines_)
        if (line.section != index)
            kept.push_back(std::move(line));
    lines_ = std::move(kept);
    Reindex();
}

void IniDocument::DeleteKey(const UnicodeString& section, const UnicodeString& key) {
    int index = SectionIndex(section);
    UnicodeString wanted = key.Trim();
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].kind == Kind::Key && lines_[i].section == index &&
            SameText(lines_[i].name, wanted)) {
            lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(i));
            Reindex();
            return;
        }
    }
}

void IniDocument::Clear() {
    lines_.clear();
    sectionNames_.clear();
    sectionIndex_.clear();
}

UnicodeString IniDocument::ToText() const {
    std::u16string out;
    const char16_t* ending = crlf_ ? u"\r\n" : u"\n";
    for (const Line& line : lines_) {
        out += line.raw.str();
        out += ending;
    }
    return UnicodeString(std::move(out));
}

std::string IniDocument::ToBytes() const {
    return EncodeText(ToText(), encoding_);
}
