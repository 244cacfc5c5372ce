#include "platform/gfx/Font.h"

#include <fontconfig/fontconfig.h>
#include <sys/mman.h>
#include <unistd.h>

#include <strings.h>

#include <algorithm>
#include <cctype>
#include <unordered_map>

#include "platform/gfx/TextLayout.h"
#include "platform/rtl/UnicodeString.h"

namespace gfx {

namespace {

std::vector<std::string> substitutedFamilies(const std::string& name) {
    std::vector<std::string> families;
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcChar8* family = nullptr;
    for (int i = 0; FcPatternGetString(pattern, FC_FAMILY, i, &family) == FcResultMatch; ++i)
        families.emplace_back(reinterpret_cast<const char*>(family));
    FcPatternDestroy(pattern);
    return families;
}

bool isInstalledFamily(const std::string& name) {
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
    FcFontSet* fonts = FcFontList(nullptr, pattern, objects);
    const bool found = fonts && fonts->nfont > 0;
    if (fonts)
        FcFontSetDestroy(fonts);
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    return found;
}

// A name is usable when a font has it, when it is one of the generic names, or when the font
// configuration has a rule for it (an alias such as the ones the project installs): then its
// substitution list differs from that of a name nobody knows.
bool lookUpFamily(const std::string& name) {
    for (const char* generic : {"sans-serif", "serif", "monospace", "sans", "mono"})
        if (strcasecmp(name.c_str(), generic) == 0)
            return true;
    if (isInstalledFamily(name))
        return true;
    std::vector<std::string> asked = substitutedFamilies(name);
    std::vector<std::string> unknown = substitutedFamilies("dbi-no-such-font-family");
    if (!asked.empty())
        asked.erase(asked.begin());
    if (!unknown.empty())
        unknown.erase(unknown.begin());
    return asked != unknown;
}

// Asking fontconfig costs a fraction of a millisecond, and the toolkit remakes its font family
// on every restored canvas state, so answers are kept until fonts are added.
bool isKnownFamily(const std::string& name) {
    struct Cache {
        int generation = -1;
        std::unordered_map<std::string, bool> known;
    };
    thread_local Cache cache;
    const int generation = detail::FontConfigurationGeneration();
    if (cache.generation != generation) {
        cache.known.clear();
        cache.generation = generation;
    }
    std::string key = name;
    for (char& c : key)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    auto it = cache.known.find(key);
    if (it == cache.known.end())
        it = cache.known.emplace(key, lookUpFamily(name)).first;
    return it->second;
}

} // namespace

std::vector<std::string> InstalledFontFamilies() {
    std::vector<std::string> names;
    FcPattern* pattern = FcPatternCreate();
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
    FcFontSet* fonts = FcFontList(nullptr, pattern, objects);
    for (int i = 0; fonts && i < fonts->nfont; ++i) {
        FcChar8* family = nullptr;
        if (FcPatternGetString(fonts->fonts[i], FC_FAMILY, 0, &family) == FcResultMatch && family &&
            *family)
            names.emplace_back(reinterpret_cast<const char*>(family));
    }
    if (fonts)
        FcFontSetDestroy(fonts);
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    auto less = [](const std::string& a, const std::string& b) {
        const int c = strcasecmp(a.c_str(), b.c_str());
        return c != 0 ? c < 0 : a < b;
    };
    std::sort(names.begin(), names.end(), less);
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

Status PrivateFontCollection::AddMemoryFont(const void* data, size_t length) {
    if (!data || length == 0)
        return Status::InvalidParameter;
    // fontconfig and FreeType open fonts by path; an anonymous memory file gives the bytes one
    // without touching the disk. It stays open for the rest of the process (see the header).
    const int fd = memfd_create("dbi-font", MFD_CLOEXEC);
    if (fd < 0)
        return Status::OutOfMemory;
    const char* bytes = static_cast<const char*>(data);
    size_t written = 0;
    while (written < length) {
        const ssize_t n = write(fd, bytes + written, length - written);
        if (n <= 0) {
            close(fd);
            return Status::GenericError;
        }
        written += size_t(n);
    }
    const std::string path = "/proc/self/fd/" + std::to_string(fd);
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FILE, reinterpret_cast<const FcChar8*>(path.c_str()));
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
    bool added = FcConfigAppFontAddFile(nullptr, reinterpret_cast<const FcChar8*>(path.c_str()));
    if (added) {
        FcFontSet* fonts = FcFontList(nullptr, pattern, objects);
        for (int i = 0; fonts && i < fonts->nfont; ++i) {
            FcChar8* family = nullptr;
            if (FcPatternGetString(fonts->fonts[i], FC_FAMILY, 0, &family) == FcResultMatch)
                families_.emplace_back(reinterpret_cast<const char*>(family));
        }
        if (fonts)
            FcFontSetDestroy(fonts);
        detail::FontConfigurationChanged();
    }
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    if (!added) {
        close(fd);
        return Status::InvalidParameter;
    }
    return Status::Ok;
}

FontFamily::FontFamily(std::u16string_view name, const PrivateFontCollection* collection)
    : name_(Utf16ToUtf8(name)) {
    if (collection)
        for (const std::string& family : collection->FamilyNames())
            if (strcasecmp(family.c_str(), name_.c_str()) == 0)
                return;
    if (name_.empty() || !isKnownFamily(name_))
        status_ = Status::FontFamilyNotFound;
}

std::unique_ptr<FontFamily> FontFamily::GenericSansSerif() {
    return std::make_unique<FontFamily>(u"sans-serif");
}

std::unique_ptr<FontFamily> FontFamily::GenericSerif() {
    return std::make_unique<FontFamily>(u"serif");
}

std::unique_ptr<FontFamily> FontFamily::GenericMonospace() {
    return std::make_unique<FontFamily>(u"monospace");
}

void NotifyFontConfigurationChanged() {
    detail::FontConfigurationChanged();
}

std::u16string FontFamily::GetFamilyName() const {
    return Utf8ToUtf16(name_);
}

Font::Font(const FontFamily& family, float emSize, int style, Unit unit)
    : family_(family.Name()), size_(emSize), style_(style), unit_(unit) {
    if (!family.IsAvailable())
        status_ = Status::FontFamilyNotFound;
    else if (!(emSize > 0))
        status_ = Status::InvalidParameter;
}

float Font::SizeInWorldUnits() const {
    switch (unit_) {
    case Unit::Point:
        return size_ * 96.0f / 72.0f;
    case Unit::Inch:
        return size_ * 96.0f;
    case Unit::Document:
        return size_ * 96.0f / 300.0f;
    case Unit::Millimeter:
        return size_ * 96.0f / 25.4f;
    case Unit::World:
    case Unit::Display:
    case Unit::Pixel:
        break;
    }
    return size_;
}

} // namespace gfx

// fontconfig 2.14 loses a few blocks for good while it parses its configuration files, and so
// does libdbus when SDL starts on a real X display; nothing in this program can free them, so
// leak reports about them would only hide real ones.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define DBI_GFX_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(DBI_GFX_ASAN)
extern "C" __attribute__((visibility("default"), used)) const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\nleak:libdbus-1.so\n";
}
#endif
