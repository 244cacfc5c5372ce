// Lists or extracts a 7z archive through the installer's archive library, so that its results
// can be compared with the 7z command's (`7z l -slt`, `7z x` and `diff -r`).
//
//   arx_tool [--lib PATH] [-p PASSWORD] l ARCHIVE
//   arx_tool [--lib PATH] [-p PASSWORD] x ARCHIVE DESTINATION
//
// --lib names the decoder library to load (default: the package's /usr/lib/p7zip/7z.so).
#include "installer/archive/ArxCompression.h"
#include "installer/archive/sevenzip.h"
#include "platform/rtl/FileStream.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

int Usage() {
    std::fprintf(stderr, "usage: arx_tool [--lib PATH] [-p PASSWORD] l ARCHIVE\n"
                         "       arx_tool [--lib PATH] [-p PASSWORD] x ARCHIVE DESTINATION\n");
    return 2;
}

uint64_t Ticks(const sevenzip::FILETIME& t) {
    return (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
}

void PrintItem(TArxCompressionItem& item) {
    auto valid = item.ValidProperties();
    std::printf("Path = %s\n", item.PackedName().ToUtf8().c_str());
    std::printf("Folder = %s\n", item.Directory() ? "+" : "-");
    std::printf("Size = %" PRId64 "\n", item.FileSize());
    if (valid.Contains(ipPackedSize))
        std::printf("Packed Size = %" PRId64 "\n", item.PackedSize());
    if (valid.Contains(ipLastWriteTime))
        std::printf("Modified (100 ns since 1601) = %" PRIu64 "\n", Ticks(item.LastWriteTime()));
    if (valid.Contains(ipAttributes))
        std::printf("Attributes = 0x%08X\n", item.Attributes());
    if (valid.Contains(ipCRC))
        std::printf("CRC = %08X\n", item.CRC());
    std::printf("Encrypted = %s\n", item.Encrypted() ? "+" : "-");
    if (valid.Contains(ipMethod))
        std::printf("Method = %s\n", item.Method().ToUtf8().c_str());
    std::printf("\n");
}

} // namespace

int main(int argc, char** argv) {
    std::string library = "/usr/lib/p7zip/7z.so";
    std::string password;
    std::vector<std::string> rest;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--lib") && i + 1 < argc)
            library = argv[++i];
        else if (!std::strcmp(argv[i], "-p") && i + 1 < argc)
            password = argv[++i];
        else
            rest.emplace_back(argv[i]);
    }
    if (rest.size() < 2 || (rest[0] == "x" && rest.size() < 3) ||
        (rest[0] != "l" && rest[0] != "x"))
        return Usage();

    SetSevenZipLibraryFileName(UnicodeString(library));
    try {
        TFileStream file(UnicodeString(rest[1]), fmOpenRead | fmShareDenyWrite);
        TArx7zDecompressArchive archive(&file, 0, false);
        archive.Password = UnicodeString(password);
        archive.ListFiles();
        if (rest[0] == "l") {
            for (int i = 0; i < archive.ItemCount(); ++i)
                PrintItem(*archive.Items(i));
            return 0;
        }
        archive.ExtractAll(UnicodeString(rest[2]), true);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "arx_tool: %s\n", e.what());
        return 1;
    }
}
