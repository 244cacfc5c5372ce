// What the installation tests share: archives packed at test time by the 7z command (the
// independent reference for what an unpacking must produce), trees of files written and read
// back, and an engine started on a machine of the test's own with a catalogue of real archives.
#pragma once

#include "EngineTestSupport.h"

#include "installer/archive/sevenzip.h"
#include "installer/engine/Dodbinstallishthings.h"
#include "platform/rtl/StringList.h"

#include <map>
#include <string>

namespace installtest {

using namespace enginetest;

inline constexpr const char* kPassword = "kura_pomorska_zielona";
inline constexpr const char* kDecoder = "/usr/lib/p7zip/7z.so";

using Tree = std::map<std::string, std::string>; // relative path -> content

// Runs a shell command quietly; its exit status.
int Shell(const std::string& command);
std::string Quote(const std::string& text);

// Writes every file of the tree below the folder.
void WriteTree(const fs::path& root, const Tree& tree);
// The plain files below the folder (links and the unpacking's leftover temporary files
// ".arx-*.part" aside) with their contents.
Tree ReadTree(const fs::path& root);

// Packs the folder's contents into a 7z archive (encrypted with the installer's password
// unless `encrypt` is off); the archive's bytes.
std::string Pack7z(const fs::path& folder, bool encrypt = true, const std::string& options = "");
// Packs a tree through a scratch folder.
std::string Pack7z(const Tree& tree, bool encrypt = true, const std::string& options = "");
// Unpacks the archive bytes with the 7z command into the folder (created), as the reference.
void Unpack7z(const std::string& archive, const fs::path& folder);
// "" when both folders hold the same tree, else the output of `diff -r`.
std::string DiffTrees(const fs::path& a, const fs::path& b);

// A damaged copy: the bytes in the middle of the packed data overwritten.
std::string Damaged(std::string archive);

// The sum of the file sizes of a tree: what TARGETSIZE holds.
int64_t TreeSize(const Tree& tree);

// An engine over a bundle of its own, with the configuration module published as GeneralMod
// and the package's decoder library.
class EngineRig {
public:
    EngineRig();
    ~EngineRig();
    EngineMachine machine;
    ScopedBundle bundle;
    // Installs the bundle and makes the module and the engine.
    TDoDbInstallThings& Start();
    TDoDbInstallThings& Engine() { return *engine_; }
    std::vector<std::string> InstallLog() const;
    std::vector<std::string> StartupLog() const;
    std::string Path(const std::string& relative) const { return machine.Path(relative); }

private:
    std::unique_ptr<ScopedModule> module_;
    std::unique_ptr<TDoDbInstallThings> engine_;
};

// The done count and total of the "CAD_DbInstall" block, and the percent of the other.
int64_t BlockTotal();
int64_t BlockDone();
int BlockPercent();
std::string BlockStatus();

} // namespace installtest
