// The engine object: libraries placed into the system folder, the licence text, and the two
// ways the installer ends itself from the engine (confirmed cancel, fatal start-up stop).
#include "EngineTestSupport.h"

#include "installer/engine/Rtf_text.h"
#include "platform/rtl/FileSystem.h"

#include <sys/stat.h>

using namespace enginetest;

namespace {

const std::string kTilesIni = DatabaseIni("BAZA=Kafle\r\n", "TYPE=TILES\r\nTARGETNAME=K.mdb\r\n");

std::string Rtf(const std::string& text) {
    return "{\\rtf1\\ansi\\ansicpg1250{\\fonttbl{\\f0 Arial;}}\\f0 " + text + "\\par}";
}

class EngineObjectTest : public ::testing::Test {
protected:
    EngineMachine machine;
    ScopedBundle bundle;
    std::unique_ptr<ScopedModule> module;
    std::unique_ptr<TDoDbInstallThings> engine;

    void Start(bool withLibraries = true) {
        bundle.AddPair(1, kTilesIni);
        if (withLibraries)
            bundle.Add("LIB7Z", Bytes("decoder library")).Add("LIBB1", Bytes("runtime library"));
        for (const char* name : {"LICPL", "LICEN", "LICRU", "LICHU"})
            bundle.Add(name, Bytes(Rtf(std::string("licence ") + name)));
        bundle.Install();
        module = std::make_unique<ScopedModule>();
        (*module)->installerFolder = UnicodeString(machine.Path("installer/"));
        fs::create_directories(machine.Path("installer"));
        engine = std::make_unique<TDoDbInstallThings>();
    }
    void TearDown() override {
        SetEngineMessageWindow({});
        engine.reset();
        module.reset();
    }
    std::string Library(const char* name) const { return machine.SystemFolder() + "/" + name; }
};

} // namespace

TEST_F(EngineObjectTest, MissingLibrariesAreWrittenFromTheirResources) {
    Start();
    ASSERT_TRUE(engine->PrepareSystemLibraries());
    EXPECT_EQ(ReadBytes(Library("7z.dll")), "decoder library");
    EXPECT_EQ(ReadBytes(Library("cc3290mt.dll")), "runtime library");
}

TEST_F(EngineObjectTest, LibrariesAlreadyThereAreLeftAsTheyAre) {
    Start();
    machine.Scratch().Write("system32/7z.dll", "an older decoder");
    machine.Scratch().Write("system32/cc3290mt.dll", "an older runtime");
    EXPECT_TRUE(engine->PrepareSystemLibraries());
    EXPECT_EQ(ReadBytes(Library("7z.dll")), "an older decoder");
    EXPECT_EQ(ReadBytes(Library("cc3290mt.dll")), "an older runtime");
}

TEST_F(EngineObjectTest, ALibraryThatCannotBeWrittenFails) {
    Start(false);
    machine.Scratch().Write("system32/7z.dll", "decoder");
    EXPECT_FALSE(engine->PrepareSystemLibraries());
    EXPECT_FALSE(fs::exists(Library("cc3290mt.dll")));
}

TEST_F(EngineObjectTest, LicenceInTheUsersLanguage) {
    Start();
    struct Case {
        const char* code;
        const char* resource;
    };
    for (const Case& c : {Case{"lang0", "LICPL"}, Case{"lang2", "LICPL"}, Case{"lang14", "LICPL"},
                          Case{"lang5", "LICRU"}, Case{"lang7", "LICHU"}, Case{"lang9", "LICEN"},
                          Case{"lang1", "LICEN"}}) {
        (*module)->windowsLanguageCode = UnicodeString(c.code);
        TRtfText box;
        EXPECT_TRUE(engine->LoadLicenseText(&box)) << c.code;
        EXPECT_EQ(box.PlainText().ToUtf8(), std::string("licence ") + c.resource + "\n") << c.code;
        EXPECT_EQ(box.Bytes(), Rtf(std::string("licence ") + c.resource)) << c.code;
        EXPECT_FALSE(fs::exists(machine.Path("installer/lic.rtf"))) << c.code;
    }
}

TEST_F(EngineObjectTest, LicenceLeftBesideTheInstallerWinsAndIsDeleted) {
    Start();
    machine.Scratch().Write("installer/lic.rtf", Rtf("own licence"));
    TRtfText box;
    EXPECT_TRUE(engine->LoadLicenseText(&box));
    EXPECT_EQ(box.PlainText().ToUtf8(), "own licence\n");
    EXPECT_FALSE(fs::exists(machine.Path("installer/lic.rtf")));
}

TEST_F(EngineObjectTest, LicenceThatCannotBeWrittenLeavesTheBoxEmpty) {
    Start();
    (*module)->installerFolder = UnicodeString(machine.Path("installer/missing.file/"));
    machine.Scratch().Write("installer/missing.file", "a file, not a folder");
    TRtfText box;
    EXPECT_FALSE(engine->LoadLicenseText(&box));
    EXPECT_TRUE(box.IsEmpty());
}

TEST_F(EngineObjectTest, CancelAnsweredNoReturnsAndYesEndsWithCodeTwo) {
    Start();
    UnicodeString asked;
    bool focusYes = true;
    SetEngineMessageWindow({[&](const UnicodeString& question, const UnicodeString&, bool yes) {
                                asked = question;
                                focusYes = yes;
                                return false;
                            },
                            nullptr});
    EXPECT_FALSE(ConfirmCancelInstaller());
    EXPECT_EQ(asked.ToUtf8(), "Are you sure you want to exit The Database Installer?");
    EXPECT_FALSE(focusYes);

    SetEngineMessageWindow(
        {[](const UnicodeString&, const UnicodeString&, bool) { return true; }, nullptr});
    EXPECT_EXIT(ConfirmCancelInstaller(), ::testing::ExitedWithCode(2), "");
}

TEST_F(EngineObjectTest, FatalStopUsesTheMessageWindowOnceItExists) {
    Start();
    const UnicodeString text = GetTranslatedText(GeneralMod, kEmptyCatalogueText);
    ASSERT_EQ(text.ToUtf8(), "The installer does not contain any databases (it may be damaged).");
    // Before the window exists: the system message box, which a headless run writes out.
    EXPECT_EXIT(ShowFatalErrorAndExit(engine.get(), text), ::testing::ExitedWithCode(3),
                "does not contain any databases");
    SetEngineMessageWindow({nullptr, [](const UnicodeString& shown, const UnicodeString&) {
                                std::fprintf(stderr, "window: %s\n", shown.ToUtf8().c_str());
                            }});
    EXPECT_EXIT(ShowFatalErrorAndExit(engine.get(), text), ::testing::ExitedWithCode(3),
                "window: The installer does not contain");
}

TEST(EngineStartup, EmptyCatalogueStopsBeforeAnyLibraryIsWritten) {
    EngineMachine machine;
    ScopedBundle bundle;
    bundle.Add("LIB7Z", Bytes("decoder")).Add("LIBB1", Bytes("runtime")).Install();
    ScopedModule module;
    TDoDbInstallThings engine;
    // The wizard's start-up check, in its order.
    auto startup = [&] {
        if (engine.GetDatabaseCount() == 0 || !engine.PrepareSystemLibraries())
            ShowFatalErrorAndExit(&engine, GetTranslatedText(GeneralMod, kEmptyCatalogueText));
    };
    EXPECT_EXIT(startup(), ::testing::ExitedWithCode(3), "does not contain any databases");
    EXPECT_FALSE(fs::exists(machine.SystemFolder() + "/7z.dll"));
}
