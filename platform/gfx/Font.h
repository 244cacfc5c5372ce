// Fonts by family name, resolved through fontconfig (so the aliases the project installs map
// the family names the toolkit's windows ask for onto installed fonts), and fonts loaded from
// memory. Styles the font files lack are synthesised, so every style of a found family is
// available.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gfx/GfxTypes.h"

namespace gfx {

enum FontStyle : int {
    FontStyleRegular = 0,
    FontStyleBold = 1,
    FontStyleItalic = 2,
    FontStyleBoldItalic = 3,
    FontStyleUnderline = 4,
    FontStyleStrikeout = 8,
};

// Fonts added from memory. They join the process's font configuration (fontconfig has one, and
// cannot take a font out again), so their families can be found by name from every FontFamily
// afterwards and stay available until the process ends, also after the collection is gone.
class PrivateFontCollection {
public:
    PrivateFontCollection() = default;
    PrivateFontCollection(const PrivateFontCollection&) = delete;
    PrivateFontCollection& operator=(const PrivateFontCollection&) = delete;

    // InvalidParameter when the bytes are not a font fontconfig can read.
    Status AddMemoryFont(const void* data, size_t length);
    const std::vector<std::string>& FamilyNames() const { return families_; }

private:
    std::vector<std::string> families_;
};

class FontFamily {
public:
    // FontFamilyNotFound (see GetLastStatus) when no installed or loaded font has this family
    // name and no font configuration rule maps the name onto one.
    explicit FontFamily(std::u16string_view name,
                        const PrivateFontCollection* collection = nullptr);
    static std::unique_ptr<FontFamily> GenericSansSerif();
    static std::unique_ptr<FontFamily> GenericSerif();
    static std::unique_ptr<FontFamily> GenericMonospace();
    std::unique_ptr<FontFamily> Clone() const { return std::make_unique<FontFamily>(*this); }

    Status GetLastStatus() const { return status_; }
    bool IsAvailable() const { return status_ == Status::Ok; }
    bool IsStyleAvailable(int style) const { return IsAvailable() && style >= 0 && style <= 15; }
    // The name as the font configuration knows it (UTF-8).
    const std::string& Name() const { return name_; }
    std::u16string GetFamilyName() const;

private:
    FontFamily() = default;
    std::string name_;
    Status status_ = Status::Ok;
};

// The family names of every installed font and of the fonts loaded from memory, each once (the
// first name a font gives, as the font configuration lists it), sorted without regard to case.
std::vector<std::string> InstalledFontFamilies();

// Fonts or configuration rules were added to the process's font configuration from outside this
// layer: family lookups and text layouts made from now on see them.
void NotifyFontConfigurationChanged();

class Font {
public:
    // emSize in the given unit; Point and the physical units assume 96 dots per inch, World and
    // Pixel are taken as world units.
    Font(const FontFamily& family, float emSize, int style = FontStyleRegular,
         Unit unit = Unit::Point);
    Status GetLastStatus() const { return status_; }
    const std::string& FamilyName() const { return family_; }
    float GetSize() const { return size_; }
    int GetStyle() const { return style_; }
    Unit GetUnit() const { return unit_; }
    // The em size in world units.
    float SizeInWorldUnits() const;

private:
    std::string family_;
    float size_;
    int style_;
    Unit unit_;
    Status status_ = Status::Ok;
};

} // namespace gfx
