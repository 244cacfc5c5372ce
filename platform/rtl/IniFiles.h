// INI files.
//
// TIniFile works like the platform's profile functions: every read looks at the file as it is
// now, every write changes the file at once (keeping its other lines and its encoding; a new
// file is UTF-8 without a mark). TMemIniFile reads the file once, answers from memory and
// writes only on UpdateFile. The reading rules (IniDocument.h): names without regard to case,
// first occurrence wins, values trimmed and unquoted, UTF-16 with a byte-order mark and 8-bit
// files (UTF-8, else windows-1250) both read, malformed lines skipped.
//
// A missing or unreadable file reads as empty. Numbers: ReadInteger takes decimal or
// hexadecimal after "0x" or "$"; ReadBool reads an integer, 0 false and anything else true;
// ReadFloat reads '.' as the decimal point. A value that is not a number gives the default.
// A key counts as present when it is listed in its section, even with an empty value.
#pragma once

#include "platform/rtl/IniDocument.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/UnicodeString.h"

#include <cstdint>
#include <functional>

class TCustomIniFile {
public:
    explicit TCustomIniFile(const UnicodeString& fileName) : fileName_(fileName) {}
    virtual ~TCustomIniFile() = default;
    TCustomIniFile(const TCustomIniFile&) = delete;
    TCustomIniFile& operator=(const TCustomIniFile&) = delete;

    const UnicodeString& FileName() const { return fileName_; }

    UnicodeString ReadString(const UnicodeString& section, const UnicodeString& ident,
                             const UnicodeString& defaultValue) const;
    int ReadInteger(const UnicodeString& section, const UnicodeString& ident,
                    int defaultValue) const;
    int64_t ReadInt64(const UnicodeString& section, const UnicodeString& ident,
                      int64_t defaultValue) const;
    bool ReadBool(const UnicodeString& section, const UnicodeString& ident,
                  bool defaultValue) const;
    double ReadFloat(const UnicodeString& section, const UnicodeString& ident,
                     double defaultValue) const;

    // Key names of a section, each once, in file order.
    void ReadSection(const UnicodeString& section, TStrings& keys) const;
    void ReadSections(TStrings& sections) const;
    // "key=value" lines of a section, each key once.
    void ReadSectionValues(const UnicodeString& section, TStrings& values) const;
    virtual bool SectionExists(const UnicodeString& section) const;
    bool ValueExists(const UnicodeString& section, const UnicodeString& ident) const;

    void WriteString(const UnicodeString& section, const UnicodeString& ident,
                     const UnicodeString& value);
    void WriteInteger(const UnicodeString& section, const UnicodeString& ident, int64_t value);
    void WriteBool(const UnicodeString& section, const UnicodeString& ident, bool value);
    void WriteFloat(const UnicodeString& section, const UnicodeString& ident, double value);
    void EraseSection(const UnicodeString& section);
    void DeleteKey(const UnicodeString& section, const UnicodeString& ident);
    // Writes pending changes to the file; raises EIniFileException when it cannot be written.
    virtual void UpdateFile() = 0;

protected:
    // The document to read: the file now (TIniFile) or the one in memory (TMemIniFile).
    virtual const IniDocument& Snapshot() const = 0;
    // Applies a change to the document and, for TIniFile, to the file.
    virtual void Change(const std::function<void(IniDocument&)>& change) = 0;
    IniDocument ReadFile() const;
    void WriteFile(const IniDocument& document) const;

private:
    UnicodeString fileName_;
};

class TIniFile : public TCustomIniFile {
public:
    explicit TIniFile(const UnicodeString& fileName) : TCustomIniFile(fileName) {}
    // Sections without keys do not count, as with the profile functions.
    bool SectionExists(const UnicodeString& section) const override;
    // Every write already reached the file.
    void UpdateFile() override {}

protected:
    const IniDocument& Snapshot() const override;
    void Change(const std::function<void(IniDocument&)>& change) override;

private:
    mutable IniDocument current_;
};

class TMemIniFile : public TCustomIniFile {
public:
    explicit TMemIniFile(const UnicodeString& fileName);
    void UpdateFile() override;
    // Forgets changes and reads the file again.
    void Reload();
    // The whole document as lines, and replacing it from lines.
    void GetStrings(TStrings& lines) const;
    void SetStrings(const TStrings& lines);
    void Clear();

protected:
    const IniDocument& Snapshot() const override { return document_; }
    void Change(const std::function<void(IniDocument&)>& change) override;

private:
    IniDocument document_;
};
