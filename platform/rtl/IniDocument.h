// The parsed form of an INI text, shared by TIniFile and TMemIniFile.
//
// Lines are kept as they were so that a write changes only the line it concerns. Reading rules,
// those of the platform's profile functions: section and key names match without regard to
// case and without their surrounding blanks; a section named twice is one section (its later
// blocks add keys); the first occurrence of a key wins; a value is trimmed and loses one pair
// of matching surrounding quotes (" or '). Lines starting with ';' or '#' are comments; a line
// that is neither a section header nor key=value with a non-empty key is skipped. Parsing is
// one pass over the lines, whatever they hold.
#pragma once

#include "platform/rtl/TextEncoding.h"
#include "platform/rtl/UnicodeString.h"

#include <optional>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

class IniDocument {
public:
    IniDocument() = default;
    // Bytes of a file, decoded by byte-order mark or content (TextEncoding.h).
    static IniDocument FromBytes(std::string_view bytes);
    static IniDocument FromText(const UnicodeString& text);
    // The text in the encoding it was read in (UTF-8 for a new document), ends of lines as in
    // the original (CR LF when the original had them, else LF).
    std::string ToBytes() const;
    UnicodeString ToText() const;

    std::optional<UnicodeString> Value(const UnicodeString& section,
                                       const UnicodeString& key) const;
    bool HasSection(const UnicodeString& section) const;
    // Section names in file order, each once.
    std::vector<UnicodeString> Sections() const;
    // Keys of a section with their values, in file order, each key once (its first value).
    std::vector<std::pair<UnicodeString, UnicodeString>>
    Entries(const UnicodeString& section) const;

    void SetValue(const UnicodeString& section, const UnicodeString& key,
                  const UnicodeString& value);
    void EraseSection(const UnicodeString& section);
    void DeleteKey(const UnicodeString& section, const UnicodeString& key);
    void Clear();

    TTextEncoding Encoding() const { return encoding_; }
    void SetEncoding(TTextEncoding encoding) { encoding_ = encoding; }

private:
    enum class Kind { Other, Section, Key };
    struct Line {
        UnicodeString raw;
        Kind kind = Kind::Other;
        UnicodeString name;  // section name, or key name
        UnicodeString value; // key's value, trimmed and unquoted
        int section = -1;    // index into sectionNames_ of the block the line is in
    };

    static Line RawLine(const UnicodeString& raw);
    void Reindex();
    int SectionIndex(const UnicodeString& section) const;

    std::vector<Line> lines_;
    std::vector<UnicodeString> sectionNames_;              // distinct, first spelling kept
    std::unordered_map<std::u16string, int> sectionIndex_; // upper-case name -> index
    TTextEncoding encoding_ = TTextEncoding::Utf8;
    bool crlf_ = false;
};
