#include "installer/engine/Rtf_text.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/MemoryStream.h"
#include "platform/ui/RtfDocument.h"

bool TRtfText::LoadFromFile(const UnicodeString& fileName) {
    Clear();
    TMemoryStream stream;
    try {
        stream.LoadFromFile(fileName);
    } catch (const Exception&) {
        return false;
    }
    const auto* data = static_cast<const char*>(stream.Memory());
    return LoadFromBytes(std::string_view(data, static_cast<size_t>(stream.Size())));
}

bool TRtfText::LoadFromBytes(std::string_view bytes) {
    Clear();
    if (!LooksLikeRtf(bytes))
        return false;
    bytes_ = std::string(bytes);
    plain_ = RtfToPlainText(bytes);
    return true;
}

void TRtfText::Clear() {
    bytes_.clear();
    plain_ = UnicodeString();
}
