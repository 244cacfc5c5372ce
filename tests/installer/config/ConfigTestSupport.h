// What the configuration tests share: a scratch folder, scoped environment variables, the
// registry fixtures made real, a resource bundle with the installer's texts and picture, and
// a module built with a chosen command line.
#pragma once

#include "installer/config/General_module.h"
#include "platform/rtl/CommandLine.h"
#include "platform/rtl/StringList.h"
#include "platform/win/ResourceBundle.h"
#include "platform/win/Resources.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

namespace configtest {

namespace fs = std::filesystem;

using testsupport::ScopedEnv;
using testsupport::ScratchFolder;
using testsupport::SourceDir;

inline fs::path FixtureDir() {
    return SourceDir() / "tests/installer/config/fixtures";
}

inline std::string ReadBytes(const fs::path& path) {
    return testsupport::ReadFile(path);
}

inline std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// A machine: two registry hives made from a fixture folder of tests/.../fixtures/registry (its
// "@ROOT@" replaced by the scratch folder, the folders it lists created), a drive map with C: at
// "/" and D: at <scratch>/d, and the platform facts a probe reads. The user hive is always a
// private copy, since every start-up writes the screen-saver switch into it.
class FakeMachine {
public:
    explicit FakeMachine(const std::string& registryCase = "empty", const char* languageId = "1033",
                         const char* windowsVersion = "10.0")
        : machineHive_("DBI_REGISTRY_MACHINE", scratch_.Str() + "/machine.reg"),
          userHive_("DBI_REGISTRY_USER", scratch_.Str() + "/user.reg"),
          drives_("DBI_DRIVES", "C=/;D=" + scratch_.Str() + "/d"),
          noAdmin_("DBI_NO_ADMIN", std::nullopt),
          language_("DBI_LANGUAGE_ID", std::string(languageId)),
          version_("DBI_WINDOWS_VERSION", std::string(windowsVersion)) {
        const fs::path fixture = FixtureDir() / "registry" / registryCase;
        for (const char* hive : {"machine.reg", "user.reg"})
            if (fs::exists(fixture / hive))
                scratch_.Write(hive,
                               ReplaceAll(ReadBytes(fixture / hive), "@ROOT@", scratch_.Str()));
        std::ifstream folders(fixture / "folders.txt");
        for (std::string line; std::getline(folders, line);)
            if (!line.empty())
                fs::create_directories(scratch_.Path() / line);
        fs::create_directories(scratch_.Path() / "d");
    }

    // A folder below the scratch root, as the registry fixtures spell it.
    UnicodeString Folder(const std::string& relative) const {
        return UnicodeString(scratch_.Str() + "/" + relative);
    }
    const ScratchFolder& Scratch() const { return scratch_; }

private:
    ScratchFolder scratch_;
    ScopedEnv machineHive_;
    ScopedEnv userHive_;
    ScopedEnv drives_;
    ScopedEnv noAdmin_;
    ScopedEnv language_;
    ScopedEnv version_;
};

// Packs the translation table (the committed resource unless another file is given) and the
// title picture into a bundle file and points the resource lookup at it for the scope.
class ScopedResources {
public:
    explicit ScopedResources(const fs::path& translations = SourceDir() /
                                                            "resources/TxtTransl.txt") {
        std::vector<win::ResourceSource> sources;
        if (!translations.empty())
            sources.push_back({"TXTTRANSL", "RCDATA", {}, translations.string()});
        sources.push_back({"DATABASE_INSTALLER",
                           "RCDATA",
                           {},
                           (SourceDir() / "resources/Database_Installer.png").string()});
        sources.push_back({"EMPTYPICTURE", "RCDATA", {}, ""});
        sources.push_back({"NOTAPICTURE", "RCDATA", {'n', 'o', 'p', 'e'}, ""});
        const std::string path = folder_.Str() + "/bundle.bin";
        std::ofstream out(path, std::ios::binary);
        std::string error;
        EXPECT_TRUE(win::WriteResourceBundle(out, sources, 0, error)) << error;
        out.close();
        win::SetResourceFile(path);
    }
    ~ScopedResources() { win::SetResourceFile(""); }
    ScopedResources(const ScopedResources&) = delete;
    ScopedResources& operator=(const ScopedResources&) = delete;

private:
    ScratchFolder folder_;
};

// Builds the module as the program entry does, with these arguments after the program name.
inline std::unique_ptr<TGeneralMod> StartModule(const std::vector<UnicodeString>& arguments = {}) {
    std::vector<UnicodeString> line{ExecutableFileName()};
    line.insert(line.end(), arguments.begin(), arguments.end());
    SetCommandLine(line);
    return std::make_unique<TGeneralMod>(nullptr);
}

inline std::vector<std::string> Lines(const TStrings& list) {
    std::vector<std::string> lines;
    for (int i = 0; i < list.Count(); ++i)
        lines.push_back(list[i].ToUtf8());
    return lines;
}

} // namespace configtest

namespace configtest {

// A module started on an empty English-speaking machine with the installer's own resources.
class ModuleTest : public ::testing::Test {
protected:
    FakeMachine machine;
    ScopedResources resources;
    std::unique_ptr<TGeneralMod> module = StartModule();
};

} // namespace configtest
