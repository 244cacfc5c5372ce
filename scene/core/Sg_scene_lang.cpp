#include "scene/core/Sg_scene_lang.h"

#include "scene/core/Sg_scene_host.h"

#include "platform/classes/Filer.h"
#include "platform/rtl/CommandLine.h"
#include "platform/rtl/FileStream.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/Paths.h"
#include "platform/win/SystemInfo.h"

#include <cstdint>
#include <vector>

DBI_PUBLISH(TsgLang) {
    p.String("Lang", &TsgLang::Lang, &TsgLang::SetLang);
    p.Boolean("AutoSelect", &TsgLang::AutoSelect, &TsgLang::SetAutoSelect, true);
    p.String("FileName", &TsgLang::FileName, &TsgLang::SetFileName);
    p.Boolean("StoreInForm", &TsgLang::StoreInForm, &TsgLang::SetStoreInForm, true);
}

namespace {

TsgWideStringList* ActiveTable = nullptr;
TsgWideStringList* CollectedTexts = nullptr;
bool TranslatingBack = false;

TsgWideStringList* NewTable() {
    auto* table = new TsgWideStringList();
    table->SetSorted(true);
    table->SetCaseSensitive(true);
    return table;
}

void WriteInt32(TStream& Stream, int32_t Value) {
    uint8_t bytes[4];
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<uint8_t>(static_cast<uint32_t>(Value) >> (8 * i));
    Stream.WriteBuffer(bytes, 4);
}

int32_t ReadInt32(TStream& Stream) {
    uint8_t bytes[4];
    Stream.ReadBuffer(bytes, 4);
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value |= uint32_t(bytes[i]) << (8 * i);
    return static_cast<int32_t>(value);
}

void WriteText(TStream& Stream, const UnicodeString& Text) {
    const std::u16string& units = Text.str();
    WriteInt32(Stream, static_cast<int32_t>(units.size()));
    std::vector<uint8_t> bytes;
    bytes.reserve(units.size() * 2);
    for (char16_t unit : units) {
        bytes.push_back(static_cast<uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<uint8_t>(unit >> 8));
    }
    if (!bytes.empty())
        Stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

UnicodeString ReadText(TStream& Stream) {
    const int32_t count = ReadInt32(Stream);
    // A count the stream cannot hold is a damaged stream, not a reason to allocate.
    if (count < 0 || int64_t(count) * 2 > Stream.Size() - Stream.Position())
        throw EReadError(u"Stream read error");
    std::vector<uint8_t> bytes(size_t(count) * 2);
    if (count > 0)
        Stream.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    std::u16string units(size_t(count), u'\0');
    for (size_t i = 0; i < units.size(); ++i)
        units[i] = static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    return UnicodeString(units);
}

// The first two letters of the abbreviated language names the callers' locale tables give,
// by primary language.
struct TLanguageCode {
    int Primary;
    const char16_t* Code;
};
constexpr TLanguageCode kLanguageCodes[] = {
    {0x01, u"ar"}, {0x02, u"bg"}, {0x03, u"ca"}, {0x04, u"ch"}, {0x05, u"cs"}, {0x06, u"da"},
    {0x07, u"de"}, {0x08, u"el"}, {0x09, u"en"}, {0x0A, u"es"}, {0x0B, u"fi"}, {0x0C, u"fr"},
    {0x0D, u"he"}, {0x0E, u"hu"}, {0x0F, u"is"}, {0x10, u"it"}, {0x11, u"jp"}, {0x12, u"ko"},
    {0x13, u"nl"}, {0x14, u"no"}, {0x15, u"pl"}, {0x16, u"pt"}, {0x18, u"ro"}, {0x19, u"ru"},
    {0x1A, u"hr"}, {0x1B, u"sk"}, {0x1D, u"sv"}, {0x1F, u"tr"}, {0x22, u"uk"}, {0x24, u"sl"},
    {0x25, u"et"}, {0x26, u"lv"}, {0x27, u"lt"},
};

} // namespace

UnicodeString UserLanguageCode() {
    const int primary = win::GetUserDefaultLangID() & 0x3FF;
    for (const TLanguageCode& entry : kLanguageCodes)
        if (entry.Primary == primary)
            return UnicodeString(entry.Code);
    return UnicodeString();
}

TsgLang::TsgLang(TComponent* AOwner)
    : TComponent(AOwner), FResources(new TsgWideStringList()), FOriginal(new TsgWideStringList()) {}

TsgLang::~TsgLang() {
    for (int i = 0; i < FResources->Count(); ++i)
        delete FResources->Objects(i);
    delete FResources;
    delete FOriginal;
}

void TsgLang::SetLang(const UnicodeString& Value) {
    FLang = Value;
    if (HasState(csLoading))
        return;
    if (Value != u"en")
        LoadLangFromStrings(GetLangStr(Value));
    else
        ResetLang();
}

void TsgLang::AddLang(const UnicodeString& AName) {
    if (FResources->IndexOf(AName) < 0)
        FResources->AddObject(AName, NewTable());
}

TsgWideStrings* TsgLang::GetLangStr(const UnicodeString& AName) {
    const int index = FResources->IndexOf(AName);
    return index < 0 ? nullptr : static_cast<TsgWideStrings*>(FResources->Objects(index));
}

void TsgLang::ReadResources(TStream& Stream) {
    FOriginal->SetTextValue(ReadText(Stream));
    const int32_t count = ReadInt32(Stream);
    for (int32_t i = 0; i < count; ++i) {
        const UnicodeString name = ReadText(Stream);
        const UnicodeString table = ReadText(Stream);
        TsgWideStringList* list = NewTable();
        list->SetTextValue(table);
        FResources->AddObject(name, list);
    }
}

void TsgLang::WriteResources(TStream& Stream) {
    WriteText(Stream, FOriginal->Text());
    WriteInt32(Stream, FResources->Count());
    for (int i = 0; i < FResources->Count(); ++i) {
        WriteText(Stream, FResources->Strings(i));
        WriteText(Stream, static_cast<TsgWideStrings*>(FResources->Objects(i))->Text());
    }
}

void TsgLang::LoadFromFile(const UnicodeString& AFileName) {
    if (!FileExists(AFileName))
        return;
    TFileStream file(AFileName, fmOpenRead);
    ReadResources(file);
}

void TsgLang::SaveToFile(const UnicodeString& AFileName) {
    TFileStream file(AFileName, fmCreate);
    WriteResources(file);
}

void TsgLang::DefineProperties(TFiler& Filer) {
    TComponent::DefineProperties(Filer);
    Filer.DefineBinaryProperty(
        "ResourcesBin", [this](TStream& s) { ReadResources(s); },
        [this](TStream& s) { WriteResources(s); }, FStoreInForm && FResources->Count() > 0);
}

void TsgLang::Loaded() {
    TComponent::Loaded();
    if (!FFileName.IsEmpty()) {
        const UnicodeString besideProgram = ExtractFilePath(ParamStr(0)) + FFileName;
        if (FileExists(besideProgram))
            LoadFromFile(besideProgram);
    }
    if (FAutoSelect)
        FLang = UserLanguageCode();
    if (!FLang.IsEmpty())
        LoadLangFromStrings(GetLangStr(FLang));
}

UnicodeString Translate(const UnicodeString& Text) {
    if (Text.IsEmpty())
        return Text;
    if (CollectedTexts)
        CollectedTexts->Add(Text);
    if (ActiveTable) {
        UnicodeString result;
        if (!TranslatingBack) {
            result = ActiveTable->GetValue(Text);
        } else {
            const int index = ActiveTable->IndexOfValue(Text);
            if (index >= 0)
                result = ActiveTable->GetName(index);
        }
        if (!result.IsEmpty())
            return result;
    }
    return Text;
}

void LoadLangFromStrings(TsgWideStrings* AStrings) {
    if (!AStrings)
        return;
    // The strings may be the active table's own source; copy before the reset frees anything.
    TsgWideStringList copy;
    copy.Assign(AStrings);
    ResetLang();
    if (!ActiveTable)
        ActiveTable = NewTable();
    ActiveTable->Assign(&copy);
    UpdateLang();
}

void LoadLangFromFile(const UnicodeString& AFileName) {
    if (!FileExists(AFileName))
        return;
    ResetLang();
    if (!ActiveTable)
        ActiveTable = NewTable();
    ActiveTable->LoadFromFile(AFileName);
    UpdateLang();
}

void ResetLang() {
    if (!ActiveTable)
        return;
    TranslatingBack = true;
    struct Drop {
        ~Drop() {
            TranslatingBack = false;
            delete ActiveTable;
            ActiveTable = nullptr;
        }
    } drop;
    UpdateLang();
}

void UpdateLang() {
    for (IsgScene* scene : sgLiveScenes())
        scene->UpdateResource();
}

TsgWideStrings* ActiveLang() {
    return ActiveTable;
}

void CollectLangStart() {
    ResetLang();
    if (!CollectedTexts)
        CollectedTexts = NewTable();
}

TsgWideStrings* CollectLangStrings() {
    return CollectedTexts;
}

void CollectLangFinish() {
    delete CollectedTexts;
    CollectedTexts = nullptr;
}

void FinalizeLang() {
    delete ActiveTable;
    ActiveTable = nullptr;
    TranslatingBack = false;
    CollectLangFinish();
}
