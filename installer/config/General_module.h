// TGeneralMod: the installer's configuration module.
//
// Created first by the program entry and kept until the process ends, it gathers what start-up
// finds out (installation source, platform, Setup.ini, installed programs, command line), the
// fixed name tables of the maker's product family, the interface texts and two in-memory log
// lists. Its constructor runs the whole start-up before any window exists; afterwards it is
// read-only except for the materials switch and the two log lists, to which other units append.
// Every unit reaches it through the global GeneralMod.
//
// Start-up steps answer bool; a false result stops nothing and leaves the step's defaults. The
// one error that leaves the constructor is a registry value of an unexpected data type
// (ERegistryException), which the program entry shows before it ends.
#pragma once

#include "installer/config/Database_types.h"
#include "installer/config/Product_lines.h"
#include "platform/classes/Component.h"
#include "platform/rtl/UnicodeString.h"

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

class TStringList;
class TsgBitmap;

enum EProgramMode : int {
    pmStandard = 0,
    pmUpdate = 1,
    pmUninstall = 2,
    pmDatabaseInstaller = 4, // an ordinary run of this installer
    pmDatabaseUpdate = 5,    // run as an update ("/update" or "/silent")
};

class TGeneralMod : public TComponent {
public:
    // A language offered by Setup.ini's [JEZYKI] section.
    struct jezyki {
        AnsiString name;   // display name, such as "POLSKI"
        AnsiString file;   // installer folder + file field when that file exists, else ""
        AnsiString folder; // installer folder + "wersje_jezykowe/" + code when it exists, else ""
        AnsiString code;   // "langN", the key of a translation section
        bool chosen = false;
    };
    // A CAD engine allowed by Setup.ini's [ICAD] section.
    struct dozwolone_icady {
        AnsiString name;
        AnsiString secondField;
        AnsiString prototypeFolder; // installer folder + "prototypy/" + third field when it exists
    };

    // Runs the start-up: the nine steps, the interface texts, the start-up log lines.
    explicit TGeneralMod(TComponent* owner);
    ~TGeneralMod() override;

    // The destroy event: frees the translation table and the log lists, empties the languages.
    void DataModuleDestroy(TObject* sender);

    // --- Start-up (the nine steps in order; the result is their AND) -------------------------
    bool RunStartupSequence();
    // Step 1. An empty folder means the folder of the running program.
    bool InitSourceLayout(const UnicodeString& folder);
    bool ReadProcessorInfo();       // step 2; also switches the user's screen saver off
    bool DetectSystem();            // step 3: platform, version code, 64-bit, user language
    bool ReadSetupIni();            // step 4
    bool ReadSetupIniProductKeys(); // step 5
    bool DetectInstalledProducts(); // step 6
    bool ReadRootPaths();           // step 7
    bool SetManualsFolder();        // step 8
    bool ParseCommandLine();        // step 9: program mode, update folder and product

    // --- Interface texts and language --------------------------------------------------------
    // Makes the table 1000 empty texts.
    void ClearTranslations();
    // Overwrites table entries from the section "[code]" of the text resource TxtTransl.
    void LoadTranslations(const UnicodeString& code);
    bool InitLanguage();
    // Marks the first language of the list whose section gives text 0 as chosen, then loads
    // the section of GetLanguageCode; true when a language was marked.
    bool SelectLanguage(const UnicodeString& code);
    UnicodeString GetLanguageCode() const;
    // A new bitmap decoded from the RCDATA resource of that name; nullptr when the resource is
    // missing or empty. An undecodable picture gives an empty bitmap.
    std::unique_ptr<TsgBitmap> LoadBitmapFromResource(const AnsiString& name) const;

    // --- Product lines ------------------------------------------------------------------------
    EProductLine ProductLineFromAbbreviation(const UnicodeString& abbreviation) const;
    UnicodeString GetProductAbbreviation(EProductLine line) const;
    UnicodeString GetProductName(EProductLine line) const;
    UnicodeString GetStartupProductName() const;
    UnicodeString GetSetupExePath(int flag) const;
    // layoutFlag 0: a program whose files lie in its engine sub-folder "V3_I6x86".
    UnicodeString GetProductExecutable(EProductLine line, int layoutFlag) const;
    UnicodeString GetProductFolderWord() const;
    UnicodeString GetMakerRegistryKey() const;
    UnicodeString GetInstallationsKey() const;
    UnicodeString GetMainPathsKey() const;
    UnicodeString GetProductRegistryKey(EProductLine line, int generation) const;
    std::vector<TProgramFileForCheckup> GetFilesToCheck(EProductLine line, int layoutFlag) const;

    // --- Database types -----------------------------------------------------------------------
    UnicodeString GetDatabaseTypeName(EDatabaseType type) const;
    // The type's target folder below a program folder, with a trailing delimiter; "" for a
    // type outside 0 to 6.
    UnicodeString GetDatabaseFolder(const UnicodeString& programFolder, EDatabaseType type) const;
    UnicodeString GetExtractionFolderName() const;
    void UseDbMaterialsFolder(const UnicodeString& folderWord);

    // --- Setup.ini and installed products ----------------------------------------------------
    UnicodeString GetSetupIniPath() const;
    UnicodeString GetInstalledPath(EProductLine line) const;
    UnicodeString GetElderInstalledPath(EProductLine line) const;
    bool IsMakerRootFolder(const UnicodeString& path) const;

    // --- Fields, in declared order -----------------------------------------------------------
    std::map<UnicodeString, EProductLine> abbreviationMap; // keys in upper case
    std::map<EProductLine, UnicodeString> inverseAbbreviationMap;
    std::map<EProductLine, UnicodeString> installedProducts;      // folder per detected line
    std::map<EProductLine, UnicodeString> elderInstalledProducts; // older-generation folders
    std::unique_ptr<TStringList> translationTable;                // 1000 texts once loaded
    std::vector<jezyki> languages;
    std::vector<dozwolone_icady> allowedEngines;
    UnicodeString pricingRestText;
    UnicodeString pricingFilePath;
    UnicodeString versionHhd;
    UnicodeString versionKitchen;
    UnicodeString versionRender;
    UnicodeString versionPricing;
    UnicodeString sourceName;
    int windowsVersionCode = 0;
    bool is64Bit = false;
    UnicodeString platformText; // "WINNT", "WIN9X" or ""
    bool isAdmin = false;
    UnicodeString windowsLanguageCode;
    int processorMhz = 0;
    UnicodeString processorName;
    UnicodeString sourceSubFolder;
    UnicodeString setupFileName;
    UnicodeString cadEngineExecutable;
    UnicodeString tilesFolderWord;
    UnicodeString interiorFolderWord;
    UnicodeString cabinetsFolderWord;
    UnicodeString hhdFolderWord;
    UnicodeString wallsFolderWord;
    UnicodeString materials2FolderWord;
    UnicodeString materialsFolderWord;
    UnicodeString makerRootFolderWord;
    UnicodeString rootPath;
    UnicodeString manualsWord;
    UnicodeString manualsFolder;
    UnicodeString installerFolder;
    UnicodeString installationFilesPath;
    UnicodeString elderPathLumora;
    UnicodeString elderPathLumoraMarvello;
    UnicodeString elderPathFennix;
    UnicodeString exePathValue;
    UnicodeString exePathTestValue;
    EProductLine sourceProductLine = plNone;
    UnicodeString setupFolderName;
    UnicodeString engineVersionText;
    EProgramMode programMode = pmStandard;
    UnicodeString updateFolder;
    EProductLine updateProduct = plNone;
    bool configurationOk = false;
    bool materialsSwitched = false;
    bool testFlag = false;
    std::unique_ptr<TStringList> startupLog;
    std::unique_ptr<TStringList> installLog;

private:
    void AppendStartupLogLines();
};

// The process-wide configuration module, set by the program entry.
extern TGeneralMod* GeneralMod;

// Number of entries of the translation table.
constexpr int kTranslationTableSize = 1000;

// Text n of the module's table; "" for a number outside the table (or without a module).
UnicodeString GetTranslatedText(const TGeneralMod* module, int number);

// Bytes as megabytes with the pattern "#,##0.#" in the user's number format.
UnicodeString FormatMegabytes(int64_t bytes);

// The current user's local application-data folder; "" when there is none.
UnicodeString GetLocalAppDataFolder();
