#include "platform/rtl/IniFiles.h"

#include "platform/rtl/Conversions.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileStream.h"
#include "platform/rtl/Paths.h"

#include <fstream>
#include <iterator>

IniDocument TCustomIniFile::ReadFile() const {
    std::ifstream in(NativePath(fileName_), std::ios::binary);
    if (!in)
        return IniDocument();
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return IniDocument::FromBytes(bytes);
}

void TCustomIniFile::WriteFile(const IniDocument& document) const {
    std::string bytes = document.ToBytes();
    try {
        TFileStream file(fileName_, fmCreate);
        file.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    } catch (const EStreamError& error) {
        throw EIniFileException(UnicodeString(u"Unable to write to ") + fileName_ +
                                UnicodeString(u": ") + error.Message());
    }
}

UnicodeString TCustomIniFile::ReadString(const UnicodeString& section, const UnicodeString& ident,
                                         const UnicodeString& defaultValue) const {
    std::optional<UnicodeString> value = Snapshot().Value(section, ident);
    return value ? *value : defaultValue;
}

int TCustomIniFile::ReadInteger(const UnicodeString& section, const UnicodeString& ident,
                                int defaultValue) const {
    return StrToIntDef(ReadString(section, ident, UnicodeString()), defaultValue);
}

int64_t TCustomIniFile::ReadInt64(const UnicodeString& section, const UnicodeString& ident,
                                  int64_t defaultValue) const {
    return StrToInt64Def(ReadString(section, ident, UnicodeString()), defaultValue);
}

bool TCustomIniFile::ReadBool(const UnicodeString& section, const UnicodeString& ident,
                              bool defaultValue) const {
    return ReadInteger(section, ident, defaultValue ? 1 : 0) != 0;
}

double TCustomIniFile::ReadFloat(const UnicodeString& section, const UnicodeString& ident,
                                 double defaultValue) const {
    return StrToFloatDef(ReadString(section, ident, UnicodeString()), defaultValue);
}

void TCustomIniFile::ReadSection(const UnicodeString& section, TStrings& keys) const {
    keys.BeginUpdate();
    keys.Clear();
    for (const auto& [key, value] : Snapshot().Entries(section))
        keys.Add(key);
    keys.EndUpdate();
}

void TCustomIniFile::ReadSections(TStrings& sections) const {
    sections.BeginUpdate();
    sections.Clear();
    for (const UnicodeString& name : Snapshot().Sections())
        sections.Add(name);
    sections.EndUpdate();
}

void TCustomIniFile::ReadSectionValues(const UnicodeString& section, TStrings& values) const {
    values.BeginUpdate();
    values.Clear();
    for (const auto& [key, value] : Snapshot().Entries(section))
        values.Add(key + UnicodeString(u"=") + value);
    values.EndUpdate();
}

bool TCustomIniFile::SectionExists(const UnicodeString& section) const {
    return Snapshot().HasSection(section);
}

bool TCustomIniFile::ValueExists(const UnicodeString& section, const UnicodeString& ident) const {
    return Snapshot().Value(section, ident).has_value();
}

void TCustomIniFile::WriteString(const UnicodeString& section, const UnicodeString& ident,
                                 const UnicodeString& value) {
    Change([&](IniDocument& document) { document.SetValue(section, ident, value); });
}

void TCustomIniFile::WriteInteger(const UnicodeString& section, const UnicodeString& ident,
                                  int64_t value) {
    WriteString(section, ident, IntToStr(value));
}

void TCustomIniFile::WriteBool(const UnicodeString& section, const UnicodeString& ident,
                               bool value) {
    WriteString(section, ident, value ? u"1" : u"0");
}

void TCustomIniFile::WriteFloat(const UnicodeString& section, const UnicodeString& ident,
                                double value) {
    WriteString(section, ident, FloatToStr(value));
}

void TCustomIniFile::EraseSection(const UnicodeString& section) {
    Change([&](IniDocument& document) { document.EraseSection(section); });
}

void TCustomIniFile::DeleteKey(const UnicodeString& section, const UnicodeString& ident) {
    Change([&](IniDocument& document) { document.DeleteKey(section, ident); });
}

const IniDocument& TIniFile::Snapshot() const {
    current_ = ReadFile();
    return current_;
}

bool TIniFile::SectionExists(const UnicodeString& section) const {
    return !Snapshot().Entries(section).empty();
}

void TIniFile::Change(const std::function<void(IniDocument&)>& change) {
    IniDocument document = ReadFile();
    change(document);
    WriteFile(document);
}

TMemIniFile::TMemIniFile(const UnicodeString& fileName) : TCustomIniFile(fileName) {
    Reload();
}

void TMemIniFile::Reload() {
    document_ = ReadFile();
}

void TMemIniFile::UpdateFile() {
    WriteFile(document_);
}

void TMemIniFile::GetStrings(TStrings& lines) const {
    lines.SetText(document_.ToText());
}

void TMemIniFile::SetStrings(const TStrings& lines) {
    TTextEncoding encoding = document_.Encoding();
    document_ = IniDocument::FromText(lines.Text());
    document_.SetEncoding(encoding);
}

void TMemIniFile::Clear() {
    document_.Clear();
}

void TMemIniFile::Change(const std::function<void(IniDocument&)>& change) {
    change(document_);
}
