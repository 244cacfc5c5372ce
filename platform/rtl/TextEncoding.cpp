#include "platform/rtl/TextEncoding.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>
#include <mutex>
#include <utility>

namespace {

bool StartsWith(std::string_view bytes, std::string_view mark) {
    return bytes.substr(0, mark.size()) == mark;
}

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LEMark = "\xFF\xFE";
constexpr std::string_view kUtf16BEMark = "\xFE\xFF";

std::u16string FromUtf16(std::string_view bytes, bool bigEndian) {
    std::u16string out;
    out.reserve(bytes.size() / 2);
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        auto a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
        out += static_cast<char16_t>(bigEndian ? (a << 8 | b) : (b << 8 | a));
    }
    return out;
}

std::string ToUtf16(std::u16string_view text, bool bigEndian) {
    std::string out;
    out.reserve(text.size() * 2 + 2);
    out += bigEndian ? kUtf16BEMark : kUtf16LEMark;
    for (char16_t c : text) {
        char hi = static_cast<char>(c >> 8), lo = static_cast<char>(c & 0xFF);
        out += bigEndian ? hi : lo;
        out += bigEndian ? lo : hi;
    }
    return out;
}

// iconv descriptors are not thread-safe; one per direction, used under a lock.
struct Converter {
    std::mutex mutex;
    iconv_t handle;
    Converter(const char* to, const char* from) : handle(iconv_open(to, from)) {}
    ~Converter() {
        if (handle != reinterpret_cast<iconv_t>(-1))
            iconv_close(handle);
    }
};

Converter& FromCp1250() {
    static Converter converter("UTF-16LE", "WINDOWS-1250");
    return converter;
}

Converter& ToCp1250() {
    static Converter converter("WINDOWS-1250", "UTF-16LE");
    return converter;
}

// Runs iconv over input, handing each unconvertible input unit to `skip`, which answers the
// bytes to write instead and how many input bytes to step over.
template <typename Skip>
std::string Convert(Converter& converter, std::string_view input, Skip skip) {
    std::string out;
    if (converter.handle == reinterpret_cast<iconv_t>(-1))
        return out;
    std::lock_guard lock(converter.mutex);
    iconv(converter.handle, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(input.data());
    size_t inLeft = input.size();
    char buffer[4096];
    while (inLeft > 0) {
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        size_t result = iconv(converter.handle, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<size_t>(outPtr - buffer));
        if (result == static_cast<size_t>(-1) && errno != E2BIG) {
            auto [replacement, step] = skip(in, inLeft);
            out += replacement;
            step = std::min(step, inLeft);
            in += step;
            inLeft -= step;
            iconv(converter.handle, nullptr, nullptr, nullptr, nullptr);
        }
    }
    return out;
}

} // namespace

bool IsValidUtf8(std::string_view bytes) {
    size_t i = 0;
    while (i < bytes.size()) {
        char32_t code = 0;
        size_t length = DecodeUtf8Sequence(bytes, i, &code);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

std::u16string Windows1250ToUtf16(std::string_view bytes) {
    std::string utf16 = Convert(FromCp1250(), bytes, [](const char*, size_t) {
        return std::pair<std::string, size_t>(std::string("\xFD\xFF", 2), 1);
    });
    return FromUtf16(utf16, false);
}

std::string Utf16ToWindows1250(std::u16string_view text) {
    std::string input;
    input.reserve(text.size() * 2);
    for (char16_t c : text) {
        input += static_cast<char>(c & 0xFF);
        input += static_cast<char>(c >> 8);
    }
    return Convert(ToCp1250(), input, [](const char* at, size_t left) {
        // A surrogate pair is one character: one '?' for its four bytes.
        size_t step = 2;
        if (left >= 4) {
            auto high = static_cast<unsigned char>(at[1]);
            if (high >= 0xD8 && high <= 0xDB)
                step = 4;
        }
        return std::pair<std::string, size_t>("?", step);
    });
}

UnicodeString DecodeTextAs(std::string_view bytes, TTextEncoding encoding) {
    switch (encoding) {
    case TTextEncoding::Utf16LE:
        if (StartsWith(bytes, kUtf16LEMark))
            bytes.remove_prefix(2);
        return UnicodeString(FromUtf16(bytes, false));
    case TTextEncoding::Utf16BE:
        if (StartsWith(bytes, kUtf16BEMark))
            bytes.remove_prefix(2);
        return UnicodeString(FromUtf16(bytes, true));
    case TTextEncoding::Windows1250:
        return UnicodeString(Windows1250ToUtf16(bytes));
    case TTextEncoding::Utf8:
    case TTextEncoding::Utf8WithBom:
        if (StartsWith(bytes, kUtf8Mark))
            bytes.remove_prefix(3);
        return UnicodeString(Utf8ToUtf16(bytes));
    }
    return UnicodeString();
}

UnicodeString DecodeText(std::string_view bytes, TTextEncoding* detected) {
    TTextEncoding encoding;
    if (StartsWith(bytes, kUtf8Mark))
        encoding = TTextEncoding::Utf8WithBom;
    else if (StartsWith(bytes, kUtf16LEMark))
        encoding = TTextEncoding::Utf16LE;
    else if (StartsWith(bytes, kUtf16BEMark))
        encoding = TTextEncoding::Utf16BE;
    else if (IsValidUtf8(bytes))
        encoding = TTextEncoding::Utf8;
    else
        encoding = TTextEncoding::Windows1250;
    if (detected)
        *detected = encoding;
    return DecodeTextAs(bytes, encoding);
}

std::string EncodeText(const UnicodeString& text, TTextEncoding encoding) {
    switch (encoding) {
    case TTextEncoding::Utf8WithBom:
        return std::string(kUtf8Mark) + text.ToUtf8();
    case TTextEncoding::Utf16LE:
        return ToUtf16(text.str(), false);
    case TTextEncoding::Utf16BE:
        return ToUtf16(text.str(), true);
    case TTextEncoding::Windows1250:
        return Utf16ToWindows1250(text.str());
    case TTextEncoding::Utf8:
        break;
    }
    return text.ToUtf8();
}
