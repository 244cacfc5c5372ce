// Interface texts by number, the language in force, and two small interface helpers.
#include "installer/config/Translations.h"
#include "installer/config/General_module.h"
#include "installer/config/Platform_probe.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/MemoryStream.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/StringUtils.h"
#include "platform/win/Resources.h"
#include "scene/core/Sg_bitmap.h"

#include <cmath>

bool ApplyTranslationSection(const TStrings& lines, const UnicodeString& code, TStrings& table) {
    const UnicodeString header = u"[" + UpperCase(code) + u"]";
    const int count = lines.Count();
    int first = -1;
    for (int i = 0; i < count - 2; ++i) {
        if (UpperCase(lines[i]) == header) {
            first = i + 1;
            break;
        }
    }
    if (first < 0)
        return false;
    for (int i = first; i < count; ++i) {
        const UnicodeString line = lines[i];
        if (!line.IsEmpty() && line[1] == u'[')
            break;
        const int equals = line.Pos(u"=");
        if (equals == 0)
            continue;
        const int number = StrToIntDef(line.SubString(1, equals - 1), -1);
        const UnicodeString text = line.SubString(equals + 1, line.Length());
        if (number >= 0 && number < table.Count() && !text.IsEmpty())
            table.Put(number, text);
    }
    return true;
}

void TGeneralMod::ClearTranslations() {
    translationTable->Clear();
    for (int i = 0; i < kTranslationTableSize; ++i)
        translationTable->Add(UnicodeString());
}

void TGeneralMod::LoadTranslations(const UnicodeString& code) {
    try {
        const auto resource = win::FindResource(kTranslationResource);
        TStringList lines;
        if (resource && !resource->empty()) {
            TCustomMemoryStream stream(resource->data(), static_cast<int64_t>(resource->size()));
            lines.LoadFromStream(stream);
        }
        if (!ApplyTranslationSection(lines, code, *translationTable))
            ClearTranslations();
    } catch (const Exception&) {
        // The installer then shows empty texts; it does not stop.
        ClearTranslations();
    }
}

bool TGeneralMod::InitLanguage() {
    return SelectLanguage(UnicodeString());
}

bool TGeneralMod::SelectLanguage(const UnicodeString& /*code*/) {
    for (jezyki& language : languages)
        language.chosen = false;
    bool marked = false;
    for (jezyki& language : languages) {
        LoadTranslations(UnicodeString(language.code));
        if (!Trim(GetTranslatedText(this, 0)).IsEmpty()) {
            language.chosen = true;
            marked = true;
            break;
        }
    }
    LoadTranslations(GetLanguageCode());
    return marked;
}

UnicodeString TGeneralMod::GetLanguageCode() const {
    if (programMode == pmDatabaseInstaller)
        return windowsLanguageCode.IsEmpty() ? UnicodeString(u"lang1") : windowsLanguageCode;
    for (const jezyki& language : languages)
        if (language.chosen)
            return UnicodeString(language.code);
    return u"lang0";
}

UnicodeString GetTranslatedText(const TGeneralMod* module, int number) {
    if (!module || !module->translationTable || number < 0 ||
        number >= module->translationTable->Count())
        return UnicodeString();
    return module->translationTable->Get(number);
}

UnicodeString FormatMegabytes(int64_t bytes) {
    return FormatFloat(u"#,##0.#", std::ldexp(static_cast<long double>(bytes), -20));
}

std::unique_ptr<TsgBitmap> TGeneralMod::LoadBitmapFromResource(const AnsiString& name) const {
    const auto resource = win::FindResource(name.str());
    if (!resource || resource->empty())
        return nullptr;
    TMemoryStream stream;
    stream.WriteBuffer(resource->data(), static_cast<int64_t>(resource->size()));
    stream.SetPosition(0);
    return std::make_unique<TsgBitmap>(stream);
}
