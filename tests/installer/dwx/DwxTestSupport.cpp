#include "DwxTestSupport.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace dwxtest {

namespace {

struct ScratchFolder {
    ScratchFolder() : path(fs::temp_directory_path() / ("dwx_tests_" + std::to_string(getpid()))) {
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    fs::path path;
};

} // namespace

fs::path Scratch() {
    static const ScratchFolder folder;
    return folder.path;
}

fs::path ScratchFile(const std::string& name) {
    return Scratch() / name;
}

UnicodeString PathText(const fs::path& file) {
    return UnicodeString(file.string());
}

Bytes ReadBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteBytes(const fs::path& file, const Bytes& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

Bytes BytesOf(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

bool RunReference(const std::string& arguments) {
    const std::string command =
        "/usr/bin/python3 " DBI_SOURCE_DIR "/tools/dwx_reference.py " + arguments;
    return std::system(command.c_str()) == 0;
}

fs::path Encoded(const std::string& json, const std::string& name) {
    const fs::path description = ScratchFile(name + ".json");
    const fs::path file = ScratchFile(name);
    std::ofstream(description) << json;
    if (!RunReference("encode '" + description.string() + "' '" + file.string() + "'")) {
        return {};
    }
    return file;
}

fs::path ReferenceConverted(const fs::path& file, int version, const std::string& name) {
    const fs::path out = ScratchFile(name);
    if (!RunReference("convert '" + file.string() + "' '" + out.string() + "' " +
                      std::to_string(version) + " 2>/dev/null")) {
        return {};
    }
    return out;
}

std::vector<CountField> CountFieldsOf(const fs::path& file) {
    const fs::path listing = ScratchFile(file.filename().string() + ".counts");
    std::vector<CountField> fields;
    if (!RunReference("count-fields '" + file.string() + "' > '" + listing.string() + "'")) {
        return fields;
    }
    std::ifstream in(listing);
    CountField field;
    while (in >> field.offset >> field.width && std::getline(in, field.meaning)) {
        fields.push_back(field);
    }
    return fields;
}

} // namespace dwxtest
