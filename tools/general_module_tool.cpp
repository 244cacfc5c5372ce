// Builds the installer's configuration module exactly as the program does, with the command line
// given here, and prints what start-up found: its start-up log list, then any interface texts
// asked for by number.
//
//   general_module_tool [--resources PATH] [--lang CODE] [--text N]... [--texts FIRST-LAST]
//                       [--quiet-log] [-- installer arguments...]
//
// The texts and pictures come from the resources the program carries: those appended to this
// tool, else DBI_RESOURCE_FILE, else --resources, which names a packed file (the built
// installer, say) or a folder such as the source tree's resources/, whose files are packed on
// the fly, each named by its file name without the extension.
// --lang loads another section of the translation table after start-up (lang0 ... lang14),
// so every text of every language can be checked from the shell. Arguments after "--" (and
// any argument this tool does not know) are handed to the module as its command line.
// Exit codes: 0 after a start-up, 3 when start-up raised an error, 1 for a bad tool argument.
#include "installer/config/General_module.h"
#include "platform/rtl/CommandLine.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StringList.h"
#include "platform/win/ResourceBundle.h"
#include "platform/win/Resources.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

int Usage(const char* why) {
    std::fprintf(stderr,
                 "general_module_tool: %s\n"
                 "usage: general_module_tool [--resources PATH] [--lang CODE] [--text N]...\n"
                 "                           [--texts FIRST-LAST] [--quiet-log]\n"
                 "                           [-- installer arguments...]\n",
                 why);
    return 1;
}

bool ParseNumber(const std::string& text, int& value) {
    char* end = nullptr;
    const long number = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || number < -1000000 || number > 1000000)
        return false;
    value = static_cast<int>(number);
    return true;
}

// Packs every file of a folder into a bundle in the temporary folder; answers its path, or ""
// with the reason on standard error.
std::string PackFolder(const std::filesystem::path& folder) {
    std::vector<win::ResourceSource> sources;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.is_regular_file())
            sources.push_back(
                {entry.path().stem().string(), win::RT_RCDATA, {}, entry.path().string()});
    const std::string bundle = (std::filesystem::temp_directory_path() /
                                ("general_module_tool-" + std::to_string(::getpid()) + ".res"))
                                   .string();
    std::ofstream out(bundle, std::ios::binary | std::ios::trunc);
    std::string error;
    if (!win::WriteResourceBundle(out, sources, 0, error)) {
        std::fprintf(stderr, "general_module_tool: cannot pack %s: %s\n", folder.c_str(),
                     error.c_str());
        return std::string();
    }
    return bundle;
}

void PrintText(const TGeneralMod& module, int number) {
    std::printf("%d=%s\n", number, GetTranslatedText(&module, number).ToUtf8().c_str());
}

} // namespace

int main(int argc, char** argv) {
    std::string language;
    std::string resources;
    std::vector<std::pair<int, int>> ranges;
    bool printLog = true;
    std::vector<UnicodeString> commandLine{ExecutableFileName()};

    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--") {
            for (++i; i < argc; ++i)
                commandLine.emplace_back(argv[i]);
            break;
        }
        if (arg == "--lang" || arg == "--text" || arg == "--texts" || arg == "--resources") {
            if (i + 1 >= argc)
                return Usage(("missing value after " + arg).c_str());
            const std::string value = argv[++i];
            if (arg == "--lang") {
                language = value;
                continue;
            }
            if (arg == "--resources") {
                resources = value;
                continue;
            }
            int first = 0, last = 0;
            const size_t dash = value.find('-', 1);
            const bool ok = arg == "--text" ? ParseNumber(value, first) && (last = first, true)
                                            : dash != std::string::npos &&
                                                  ParseNumber(value.substr(0, dash), first) &&
                                                  ParseNumber(value.substr(dash + 1), last);
            if (!ok || last < first)
                return Usage(("not a text number or range: " + value).c_str());
            ranges.emplace_back(first, last);
        } else if (arg == "--quiet-log") {
            printLog = false;
        } else {
            commandLine.emplace_back(argv[i]);
        }
    }

    std::string packed;
    if (!resources.empty()) {
        std::error_code ec;
        if (std::filesystem::is_directory(resources, ec)) {
            packed = PackFolder(resources);
            if (packed.empty())
                return 1;
            win::SetResourceFile(packed);
        } else {
            win::SetResourceFile(resources);
        }
    }

    SetCommandLine(commandLine);
    std::unique_ptr<TGeneralMod> module;
    try {
        module = std::make_unique<TGeneralMod>(nullptr);
    } catch (const std::exception& error) {
        // The installer itself ends a failed start-up with its fatal-start code as well.
        std::fprintf(stderr, "start-up failed: %s\n", error.what());
        if (!packed.empty())
            std::filesystem::remove(packed);
        return 3;
    }
    GeneralMod = module.get();

    if (printLog)
        for (int i = 0; i < module->startupLog->Count(); ++i)
            std::printf("%s\n", (*module->startupLog)[i].ToUtf8().c_str());
    if (!language.empty()) {
        module->ClearTranslations();
        module->LoadTranslations(UnicodeString(language));
    }
    for (const auto& [first, last] : ranges)
        for (int n = first; n <= last; ++n)
            PrintText(*module, n);
    GeneralMod = nullptr;
    if (!packed.empty())
        std::filesystem::remove(packed);
    return 0;
}
