// respack: attaches named resources to a built program (or any file).
//
//   respack <file> <manifest>   replace the file's resources with those the manifest lists
//   respack --list <file>       print the file's resources: name, type, size
//   respack --strip <file>      remove the file's resources
//
// A manifest line is "NAME TYPE FILE" (the file may contain blanks; a relative file is taken
// from the manifest's folder); blank lines and lines starting with '#' are skipped. Names and
// types compare case-insensitively, as the program looks them up, so each pair may appear once. The
// file is rewritten through a temporary copy and a rename, so a running copy of the program keeps
// its own resources while the new ones are packed.
#include "platform/win/CaseFold.h"
#include "platform/win/ResourceBundle.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

namespace fs = std::filesystem;

int Fail(const std::string& message) {
    std::fprintf(stderr, "respack: %s\n", message.c_str());
    return 1;
}

std::vector<uint8_t> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>());
}

// The size of the file without any bundle it carries.
bool ProgramSize(const std::string& path, uint64_t& size) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in)
        return false;
    uint64_t fileSize = static_cast<uint64_t>(in.tellg());
    std::vector<uint8_t> tail(std::min<uint64_t>(fileSize, win::kResourceTrailerSize));
    in.seekg(static_cast<std::streamoff>(fileSize - tail.size()));
    in.read(reinterpret_cast<char*>(tail.data()), static_cast<std::streamsize>(tail.size()));
    size = fileSize - win::ResourceBundleSize(fileSize, tail);
    return true;
}

bool ReadManifest(const std::string& manifest, std::vector<win::ResourceSource>& resources,
                  std::string& error) {
    std::ifstream in(manifest);
    if (!in) {
        error = "cannot read manifest " + manifest;
        return false;
    }
    fs::path base = fs::path(manifest).parent_path();
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::istringstream fields(line);
        win::ResourceSource resource;
        if (!(fields >> resource.name) || resource.name.front() == '#')
            continue;
        std::string file;
        fields >> resource.type >> std::ws;
        std::getline(fields, file);
        if (resource.type.empty() || file.empty()) {
            error = manifest + ":" + std::to_string(number) + ": expected NAME TYPE FILE";
            return false;
        }
        fs::path path(file);
        resource.path = (path.is_absolute() ? path : base / path).string();
        if (!fs::is_regular_file(resource.path)) {
            error = manifest + ":" + std::to_string(number) + ": no file " + resource.path;
            return false;
        }
        for (const win::ResourceSource& earlier : resources) {
            if (win::SameName(earlier.name, resource.name) &&
                win::SameName(earlier.type, resource.type)) {
                error = manifest + ":" + std::to_string(number) + ": " + resource.name + " " +
                        resource.type + " is listed twice";
                return false;
            }
        }
        resources.push_back(std::move(resource));
    }
    return true;
}

// Copies the program part of `target` and appends `resources`, then replaces `target`.
int Rewrite(const std::string& target, const std::vector<win::ResourceSource>& resources) {
    uint64_t programSize = 0;
    if (!ProgramSize(target, programSize))
        return Fail("cannot read " + target);
    std::string temporary = target + ".respack";
    {
        std::ifstream in(target, std::ios::binary);
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out)
            return Fail("cannot write " + temporary);
        std::vector<char> buffer(1 << 20);
        uint64_t left = programSize;
        while (left > 0 && in) {
            std::streamsize chunk =
                static_cast<std::streamsize>(std::min<uint64_t>(left, buffer.size()));
            in.read(buffer.data(), chunk);
            out.write(buffer.data(), in.gcount());
            left -= static_cast<uint64_t>(in.gcount());
        }
        std::string error;
        if (left != 0) {
            error = "cannot read " + target;
        } else if (!resources.empty()) {
            win::WriteResourceBundle(out, resources, programSize, error);
        }
        out.close();
        if (error.empty() && !out)
            error = "cannot write " + temporary;
        if (!error.empty()) {
            fs::remove(temporary);
            return Fail(error);
        }
    }
    struct stat st {};
    if (::stat(target.c_str(), &st) == 0)
        ::chmod(temporary.c_str(), st.st_mode & 07777);
    std::error_code ec;
    fs::rename(temporary, target, ec);
    if (ec) {
        fs::remove(temporary);
        return Fail("cannot replace " + target + ": " + ec.message());
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 2 && args[0] == "--list") {
        std::vector<uint8_t> file = ReadAll(args[1]);
        std::string error;
        auto entries = win::ParseResourceBundle(file, error);
        if (!entries)
            return Fail(args[1] + ": " + error);
        for (const win::ResourceEntry& entry : *entries)
            std::printf("%s %s %llu\n", entry.name.c_str(), entry.type.c_str(),
                        static_cast<unsigned long long>(entry.size));
        return 0;
    }
    if (args.size() == 2 && args[0] == "--strip")
        return Rewrite(args[1], {});
    if (args.size() == 2 && args[0].rfind("--", 0) != 0) {
        std::vector<win::ResourceSource> resources;
        std::string error;
        if (!ReadManifest(args[1], resources, error))
            return Fail(error);
        return Rewrite(args[0], resources);
    }
    std::fprintf(stderr, "usage: respack <file> <manifest> | --list <file> | --strip <file>\n");
    return 2;
}
