// What the engine tests share: a machine of their own (registry stores, temporary and library
// folders, drives), the installer's resources packed from in-memory catalogue entries, program
// folders with version-stamped files made by the PE fixture maker, and a configuration module
// started on that machine.
#pragma once

#include "installer/config/ConfigTestSupport.h"
#include "installer/config/General_module.h"
#include "installer/engine/Dodbinstallishthings.h"
#include "installer/engine/MMFile.h"
#include "platform/rtl/TextEncoding.h"
#include "platform/win/ResourceBundle.h"
#include "platform/win/Resources.h"
#include "platform/win/SharedMemory.h"
#include "scene/controls/Sg_progressbar.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace enginetest {

namespace fs = std::filesystem;
using configtest::ReadBytes;
using configtest::ScopedEnv;
using configtest::ScratchFolder;
using configtest::SourceDir;

inline fs::path BinaryDir() {
    const char* dir = std::getenv("DBI_BINARY_DIR");
    return dir ? fs::path(dir) : fs::path(DBI_BINARY_DIR);
}

// The text of a carried database's INI with the usual sections; `install` holds the [INSTALL]
// lines, `info` the [info] lines.
inline std::string DatabaseIni(const std::string& info, const std::string& install) {
    return "[info]\r\n" + info + "[SKLEP]\r\nNazwa1=\r\nUwaga=\r\n[INSTALL]\r\n" + install;
}

// The INI as the installer carries it: UTF-16LE with a byte-order mark.
inline std::vector<uint8_t> Utf16Ini(const std::string& text) {
    const std::string bytes = EncodeText(UnicodeString(text), TTextEncoding::Utf16LE);
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

// A progress bar that records every value it was re-laid for.
class RecordingBar : public TsgProgressBar {
public:
    RecordingBar() : TsgProgressBar(nullptr) {}
    std::vector<float> values;

protected:
    void Realign() override { values.push_back(Value()); }
};

inline std::vector<uint8_t> Bytes(const std::string& text) {
    return std::vector<uint8_t>(text.begin(), text.end());
}

// Resources for one test: named byte blocks, the translation table always among them.
class ScopedBundle {
public:
    ScopedBundle() { Add("TXTTRANSL", Bytes(ReadBytes(SourceDir() / "resources/TxtTransl.txt"))); }
    ~ScopedBundle() { win::SetResourceFile(""); }
    ScopedBundle(const ScopedBundle&) = delete;
    ScopedBundle& operator=(const ScopedBundle&) = delete;

    ScopedBundle& Add(const std::string& name, std::vector<uint8_t> data) {
        sources_.push_back({name, "RCDATA", std::move(data), ""});
        return *this;
    }
    // The pair n: "DBnnINI" with the INI text (UTF-16LE) and "DBnnFULL" with the archive bytes.
    ScopedBundle& AddPair(int n, const std::string& ini, const std::string& archive = "7z..") {
        char name[16];
        std::snprintf(name, sizeof name, "DB%02d", n);
        Add(std::string(name) + "INI", Utf16Ini(ini));
        return Add(std::string(name) + "FULL", Bytes(archive));
    }
    // Packs and points the resource lookup at the bundle.
    void Install() {
        const std::string path = Path();
        std::ofstream out(path, std::ios::binary);
        std::string error;
        EXPECT_TRUE(win::WriteResourceBundle(out, sources_, 0, error)) << error;
        out.close();
        win::SetResourceFile(path);
    }

    // The packed file, for programs started by a test (DBI_RESOURCE_FILE).
    std::string Path() const { return folder_.Str() + "/bundle.res"; }

private:
    ScratchFolder folder_;
    std::vector<win::ResourceSource> sources_;
};

// A machine of the test's own: empty registry stores (or the given texts), a temporary folder,
// a library folder, the drive map, English as the user language.
class EngineMachine {
public:
    explicit EngineMachine(const std::string& machineReg = "", const char* languageId = "1033")
        : machineHive_("DBI_REGISTRY_MACHINE", scratch_.Str() + "/machine.reg"),
          userHive_("DBI_REGISTRY_USER", scratch_.Str() + "/user.reg"),
          temp_("DBI_TEMP_DIR", scratch_.Str() + "/temp"),
          system_("DBI_SYSTEM_DIR", scratch_.Str() + "/system32"), drives_("DBI_DRIVES", "C=/"),
          noAdmin_("DBI_NO_ADMIN", std::nullopt),
          language_("DBI_LANGUAGE_ID", std::string(languageId)),
          version_("DBI_WINDOWS_VERSION", std::string("10.0.19045")) {
        fs::create_directories(scratch_.Path() / "temp");
        if (!machineReg.empty())
            scratch_.Write("machine.reg",
                           configtest::ReplaceAll(machineReg, "@ROOT@", scratch_.Str()));
    }

    const ScratchFolder& Scratch() const { return scratch_; }
    std::string Path(const std::string& relative) const { return scratch_.Str() + "/" + relative; }
    std::string TempFolder() const { return Path("temp"); }
    std::string ExtractionFolder() const { return Path("temp/cad_db_extraction_temp"); }
    std::string SystemFolder() const { return Path("system32"); }

private:
    ScratchFolder scratch_;
    ScopedEnv machineHive_;
    ScopedEnv userHive_;
    ScopedEnv temp_;
    ScopedEnv system_;
    ScopedEnv drives_;
    ScopedEnv noAdmin_;
    ScopedEnv language_;
    ScopedEnv version_;
};

// The configuration module as the program entry makes it, published as GeneralMod for the
// scope.
class ScopedModule {
public:
    explicit ScopedModule(const std::vector<UnicodeString>& arguments = {})
        : module_(configtest::StartModule(arguments)) {
        GeneralMod = module_.get();
    }
    ~ScopedModule() { GeneralMod = nullptr; }
    ScopedModule(const ScopedModule&) = delete;
    ScopedModule& operator=(const ScopedModule&) = delete;
    TGeneralMod* operator->() const { return module_.get(); }
    TGeneralMod& operator*() const { return *module_; }

private:
    std::unique_ptr<TGeneralMod> module_;
};

// A program file with a version resource "A.B.C.D", made once per process by the PE fixture
// maker and copied where a test needs it. An empty version gives a file without one.
std::string VersionedFile(const std::string& version);
void PlaceFile(const std::string& source, const fs::path& target);

// A program folder of `line`: the files its check requires, with the version `version`, in the
// folder itself (layout 1) or in its "V3_I6x86" sub-folder (layout 0). `skip` leaves one of the
// required files out (its index in the check list).
void MakeProgramFolder(const fs::path& folder, EProductLine line, int layoutFlag,
                       const std::string& version, int skip = -1);

// Lines of a string list.
inline std::vector<std::string> Lines(const TStrings& list) {
    return configtest::Lines(list);
}

// The text of a shared-memory field (up to its first zero byte).
std::string BlockText(const MMFile& block, int offset, int length);

// Runs `work` in a child process that may write no file longer than `limit` bytes, as on a
// full disk; the child's exit code is 0 when `work` answered false.
[[noreturn]] void WithFileSizeLimit(unsigned long limit, const std::function<bool()>& work);
// True when no ".part" file is left anywhere below the folder.
bool NoPartialFiles(const fs::path& folder);

// The exit code and the output (standard error merged in) of a shell command.
struct CommandOutput {
    int exitCode = -1;
    std::string text;
};
CommandOutput CaptureCommand(const std::string& command);

// The engine development tool, run as a separate program.
inline fs::path EngineToolPath() {
    return BinaryDir() / "tools/engine_tool";
}

// The progress blocks given to the engine tool: the test's own, never the real ones.
inline const std::string kToolUpdateBlock =
    "dbi-engine-tool-test-" + std::to_string(::getpid()) + "-update";
inline const std::string kToolInstallBlock =
    "dbi-engine-tool-test-" + std::to_string(::getpid()) + "-install";

// Tests that run the engine tool: skipped when it is not built; its blocks are removed after each.
template <class Base = ::testing::Test>
class EngineToolFixture : public Base {
protected:
    void SetUp() override {
        if (!fs::exists(EngineToolPath()))
            GTEST_SKIP() << "engine_tool is not built";
    }
    void TearDown() override {
        win::SharedMemoryBlock::Unlink(kToolUpdateBlock);
        win::SharedMemoryBlock::Unlink(kToolInstallBlock);
    }
};

} // namespace enginetest
