#include "WinTestSupport.h"

#include "platform/rtl/Exceptions.h"
#include "platform/win/ProcessorInfo.h"
#include "platform/win/Registry.h"
#include "platform/win/RegistryStore.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

using wintest::ScopedEnv;

class RegistryTest : public ::testing::Test {
protected:
    wintest::ScratchFolder folder;
    std::string machineFile = folder / "machine.reg";
    std::string userFile = folder / "user.reg";
    ScopedEnv machine{"DBI_REGISTRY_MACHINE", machineFile};
    ScopedEnv user{"DBI_REGISTRY_USER", userFile};
    ScopedEnv admin{"DBI_NO_ADMIN", std::nullopt};

    void WriteMachine(const std::string& body) {
        folder.Write("machine.reg", "Windows Registry Editor Version 5.00\r\n\r\n" + body);
    }
    void WriteUser(const std::string& body) {
        folder.Write("user.reg", "Windows Registry Editor Version 5.00\r\n\r\n" + body);
    }
};

const char* kProducts = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\ZENTRAVO\\INSTALLATIONS]\n"
                        "\"LMM\"=\"second\"\n"
                        "\"LM\"=\"first\"\n"
                        "\"Size\"=dword:ffffffff\n"
                        "\"Template\"=hex(2):25,00,54,00,25,00,00,00\n"
                        "\"Empty\"=hex:\n"
                        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\ZENTRAVO\\LEGACY]\n"
                        "\"C:\\\\A\"=hex:00,00,00,00,00,a0,e3,40\n"
                        "\"Short\"=hex:00,00,00,00,00,a0,e3\n"
                        "\"Text\"=\"x\"\n";

TEST_F(RegistryTest, ReadsValuesOfEachTypeCaseInsensitively) {
    WriteMachine(kProducts);
    TRegistry reg;
    reg.RootKey = HKEY_LOCAL_MACHINE;
    ASSERT_TRUE(reg.OpenKey("software\\zentravo\\installations", false));
    EXPECT_TRUE(reg.ValueExists("lm"));
    EXPECT_FALSE(reg.ValueExists("LMD"));
    EXPECT_EQ(reg.ReadString("lM"), UnicodeString("first"));
    EXPECT_EQ(reg.ReadString("template"), UnicodeString("%T%")); // unexpanded
    EXPECT_EQ(reg.ReadString("missing"), UnicodeString(""));
    EXPECT_EQ(reg.ReadInteger("SIZE"), -1);
    std::vector<UnicodeString> names = reg.GetValueNames();
    ASSERT_EQ(names.size(), 5u);
    EXPECT_EQ(names[0], UnicodeString("LMM"));
    EXPECT_EQ(names[1], UnicodeString("LM"));

    // A relative path goes below the open key, an absolute one from the root.
    ASSERT_TRUE(reg.OpenKey("\\SOFTWARE\\ZENTRAVO", false));
    ASSERT_TRUE(reg.OpenKey("Legacy", false));
    EXPECT_EQ(reg.CurrentPath(), UnicodeString("SOFTWARE\\ZENTRAVO\\Legacy"));
    EXPECT_DOUBLE_EQ(reg.ReadDateTime("c:\\a"), 40192.0);
    reg.CloseKey();
    EXPECT_FALSE(reg.OpenKey("SOFTWARE\\Nobody", false));
}

TEST_F(RegistryTest, WrongTypesAndMissingValuesRaise) {
    WriteMachine(kProducts);
    TRegistry reg(KEY_READ);
    reg.RootKey = HKEY_LOCAL_MACHINE;
    ASSERT_TRUE(reg.OpenKeyReadOnly("SOFTWARE\\ZENTRAVO\\INSTALLATIONS"));
    EXPECT_THROW(reg.ReadString("Size"), ERegistryException);
    EXPECT_THROW(reg.ReadInteger("LM"), ERegistryException);
    EXPECT_THROW(reg.ReadInteger("missing"), ERegistryException);
    EXPECT_THROW(reg.ReadDateTime("Size"), ERegistryException);
    // An empty value of any type reads as the empty text.
    EXPECT_EQ(reg.ReadString("Empty"), UnicodeString(""));
    ASSERT_TRUE(reg.OpenKeyReadOnly("\\SOFTWARE\\ZENTRAVO\\LEGACY"));
    EXPECT_THROW(reg.ReadDateTime("Short"), ERegistryException);
    EXPECT_THROW(reg.ReadDateTime("Text"), ERegistryException);
    EXPECT_THROW(reg.ReadDateTime("missing"), ERegistryException);
}

TEST_F(RegistryTest, WritesAreSavedAtomicallyAndReadBack) {
    WriteUser("[HKEY_CURRENT_USER\\Control Panel\\Desktop]\n\"Wallpaper\"=\"w.png\"\n");
    {
        TRegistry reg;
        reg.RootKey = HKEY_CURRENT_USER;
        ASSERT_TRUE(reg.OpenKey("Control Panel\\Desktop", false));
        reg.WriteString("ScreenSaveActive", "0");
        ASSERT_TRUE(reg.OpenKey("\\Software\\Neu\\Tief", true));
        reg.WriteString("Ąę", "ż\"\\");
    }
    // No temporary file stays beside the hive.
    int files = 0;
    for (auto& entry : std::filesystem::directory_iterator(folder.Path()))
        files += entry.path().filename().string().rfind("user.reg", 0) == 0;
    EXPECT_EQ(files, 1);
    std::string text = wintest::ReadFile(userFile);
    EXPECT_NE(text.find("\"ScreenSaveActive\"=\"0\""), std::string::npos) << text;
    EXPECT_NE(text.find("\"Wallpaper\"=\"w.png\""), std::string::npos) << text;

    // A hive reached through a link is saved in place, keeping its mode.
    std::filesystem::rename(userFile, folder / "real.reg");
    std::filesystem::permissions(folder / "real.reg", std::filesystem::perms(0640));
    std::filesystem::create_symlink(folder / "real.reg", userFile);
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey("Control Panel\\Desktop", false));
        reg.WriteString("ScreenSaveActive", "1");
    }
    EXPECT_TRUE(std::filesystem::is_symlink(userFile));
    EXPECT_EQ(std::filesystem::status(folder / "real.reg").permissions(),
              std::filesystem::perms(0640));
    text = wintest::ReadFile(userFile);
    EXPECT_NE(text.find("\"ScreenSaveActive\"=\"1\""), std::string::npos) << text;

    // Another writer changes the file: the next read sees it.
    std::string edited = text + "[HKEY_CURRENT_USER\\Added]\n\"v\"=\"1\"\n";
    folder.Write("user.reg", edited);
    TRegistry reg;
    EXPECT_TRUE(reg.KeyExists("added"));
    ASSERT_TRUE(reg.OpenKey("SOFTWARE\\NEU\\TIEF", false));
    EXPECT_EQ(reg.ReadString("ąĘ"), UnicodeString("ż\"\\"));
}

TEST_F(RegistryTest, MissingFilesAreEmptyHivesAndCreationMakesThem) {
    TRegistry reg;
    EXPECT_FALSE(reg.OpenKey("Software", false));
    // Values live in the open key only.
    EXPECT_FALSE(reg.ValueExists("x"));
    EXPECT_EQ(reg.ReadString("x"), UnicodeString(""));
    EXPECT_THROW(reg.WriteString("x", "1"), ERegistryException);
    EXPECT_FALSE(std::filesystem::exists(userFile));
    // The desktop key every user has can be written without creating it.
    ASSERT_TRUE(reg.OpenKey("Control Panel\\Desktop", false));
    EXPECT_TRUE(reg.GetValueNames().empty());
    EXPECT_FALSE(std::filesystem::exists(userFile));
    reg.WriteString("ScreenSaveActive", "0");
    EXPECT_NE(wintest::ReadFile(userFile).find("[HKEY_CURRENT_USER\\Control Panel\\Desktop]"),
              std::string::npos);
    // A folder that does not exist yet is made for the hive.
    ScopedEnv nested{"DBI_REGISTRY_USER", folder / "deep/er/user.reg"};
    ASSERT_TRUE(reg.OpenKey("Software\\X", true));
    EXPECT_TRUE(std::filesystem::exists(folder / "deep/er/user.reg"));
}

TEST_F(RegistryTest, ReadOnlyOpensAndNonAdministratorsCannotWrite) {
    WriteMachine(kProducts);
    TRegistry reg;
    reg.RootKey = HKEY_LOCAL_MACHINE;
    ASSERT_TRUE(reg.OpenKeyReadOnly("SOFTWARE\\ZENTRAVO"));
    EXPECT_THROW(reg.WriteString("a", "b"), ERegistryException);

    ScopedEnv noAdmin{"DBI_NO_ADMIN", "1"};
    EXPECT_FALSE(reg.OpenKey("SOFTWARE\\ZENTRAVO", false));
    EXPECT_FALSE(reg.OpenKey("SOFTWARE\\NEW", true));
    EXPECT_TRUE(reg.KeyExists("\\SOFTWARE\\ZENTRAVO"));
    EXPECT_TRUE(reg.OpenKeyReadOnly("\\SOFTWARE\\ZENTRAVO\\INSTALLATIONS"));
    EXPECT_EQ(reg.ReadString("LM"), UnicodeString("first"));
    // The user's own hive is not affected. A relative path still goes below the open machine
    // key; an absolute one starts from the new root.
    ASSERT_TRUE(reg.OpenKeyReadOnly("\\SOFTWARE\\ZENTRAVO"));
    reg.RootKey = HKEY_CURRENT_USER;
    EXPECT_TRUE(reg.KeyExists("Legacy"));
    EXPECT_FALSE(reg.KeyExists("\\SOFTWARE\\ZENTRAVO"));
    EXPECT_TRUE(reg.OpenKey("\\Software\\Mine", true));
    EXPECT_EQ(reg.CurrentPath(), UnicodeString("Software\\Mine"));
}

TEST_F(RegistryTest, MalformedHiveRaisesWithFileAndLine) {
    WriteMachine("[HKEY_LOCAL_MACHINE\\A]\n\"x\"=bogus\n");
    TRegistry reg;
    reg.RootKey = HKEY_LOCAL_MACHINE;
    try {
        reg.OpenKey("A", false);
        FAIL() << "no exception";
    } catch (const ERegistryException& e) {
        std::string message = e.what();
        EXPECT_NE(message.find(machineFile), std::string::npos) << message;
        EXPECT_NE(message.find("line 4"), std::string::npos) << message;
    }
    // Repaired on disk, it reads again.
    WriteMachine("[HKEY_LOCAL_MACHINE\\A]\n\"x\"=\"ok\"\n");
    EXPECT_TRUE(reg.OpenKey("A", false));
}

TEST_F(RegistryTest, ProcessorKeyComesFromTheSystemUnlessTheFileHasIt) {
    TRegistry reg;
    reg.RootKey = HKEY_LOCAL_MACHINE;
    ASSERT_TRUE(reg.OpenKeyReadOnly("HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0"));
    EXPECT_FALSE(reg.ReadString("ProcessorNameString").Trim().IsEmpty());
    EXPECT_FALSE(reg.ReadString("Identifier").IsEmpty());
    EXPECT_GE(reg.ReadInteger("~MHz"), 0);
    EXPECT_EQ(reg.KeyExists("\\SOFTWARE\\Wow6432Node"), win::ReadProcessorInfo().is64Bit);
    // Writing elsewhere in the machine hive does not save the system's keys into its file.
    ASSERT_TRUE(reg.OpenKey("\\SOFTWARE\\Maker", true));
    reg.WriteString("v", "1");
    EXPECT_EQ(wintest::ReadFile(machineFile).find("CentralProcessor"), std::string::npos);

    WriteMachine("[HKEY_LOCAL_MACHINE\\HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0]\n"
                 "\"ProcessorNameString\"=\"  \"\n\"Identifier\"=\"x86 Family 6\"\n");
    ASSERT_TRUE(reg.OpenKeyReadOnly("\\HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0"));
    EXPECT_EQ(reg.ReadString("Identifier"), UnicodeString("x86 Family 6"));
    EXPECT_FALSE(reg.ValueExists("~MHz"));
}

} // namespace
