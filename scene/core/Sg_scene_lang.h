// Translations of the interface texts.
//
// TsgLang holds one table per language (lines "untranslated=translated") and makes one of them
// the process's active table. Text controls pass their texts through Translate when their style
// is applied, so a change of the active table makes every scene re-apply its styles
// (UpdateLang). Before a new table becomes active the old one translates every scene back to
// the untranslated texts (ResetLang), so switching languages never translates a translation.
//
// "ResourcesBin" of TsgLang (and its files) is little-endian: the original texts as one string,
// an int32 count of languages, then per language its name and its table as strings; a string is
// an int32 count of UTF-16 code units followed by the units.
#pragma once

#include "scene/core/Sg_classes_widestringlist.h"

#include "platform/classes/Component.h"
#include "platform/rtl/UnicodeString.h"

class TStream;

class TsgLang : public TComponent {
    DBI_PERSISTENT(TsgLang, TComponent)

    explicit TsgLang(TComponent* AOwner);
    ~TsgLang() override;

    const UnicodeString& Lang() const { return FLang; }
    // Activates the language's table ("en", the untranslated language, removes the active one).
    void SetLang(const UnicodeString& Value);
    // One item per language: the name, with the language's table as the item's object.
    TsgWideStrings* Resources() const { return FResources; }
    // The texts of the original language, one per line.
    TsgWideStrings* Original() const { return FOriginal; }
    bool AutoSelect() const { return FAutoSelect; }
    void SetAutoSelect(bool Value) { FAutoSelect = Value; }
    const UnicodeString& FileName() const { return FFileName; }
    void SetFileName(const UnicodeString& Value) { FFileName = Value; }
    bool StoreInForm() const { return FStoreInForm; }
    void SetStoreInForm(bool Value) { FStoreInForm = Value; }

    // Adds an empty table unless the language exists.
    void AddLang(const UnicodeString& AName);
    // The first table of that name; nullptr when there is none.
    TsgWideStrings* GetLangStr(const UnicodeString& AName);
    // Appends the languages of the file to those present; a missing file changes nothing.
    void LoadFromFile(const UnicodeString& AFileName);
    void SaveToFile(const UnicodeString& AFileName);
    void ReadResources(TStream& Stream);
    void WriteResources(TStream& Stream);

    void Loaded() override;
    void DefineProperties(TFiler& Filer) override;

private:
    UnicodeString FLang;
    TsgWideStringList* FResources;
    TsgWideStringList* FOriginal;
    bool FAutoSelect = true;
    UnicodeString FFileName;
    bool FStoreInForm = true;
};

// The translation of Text in the active table; Text itself when there is none. While
// collecting, every text asked for is kept (once). During ResetLang it translates back.
UnicodeString Translate(const UnicodeString& Text);
// Makes a copy of AStrings the active table and updates every scene; nullptr does nothing.
void LoadLangFromStrings(TsgWideStrings* AStrings);
// The same from a wide-string list file; a missing file does nothing.
void LoadLangFromFile(const UnicodeString& AFileName);
// Translates every scene back and drops the active table.
void ResetLang();
// Every scene re-applies its styles.
void UpdateLang();
// The active table, nullptr when none is active.
TsgWideStrings* ActiveLang();
// Collecting the texts that pass through Translate (after resetting the language).
void CollectLangStart();
TsgWideStrings* CollectLangStrings();
void CollectLangFinish();
// The two-letter code (lower case) of the user's language, "" when it is not known.
UnicodeString UserLanguageCode();
// Frees the active table and the collected texts (the unit's shutdown; tests start clean).
void FinalizeLang();
