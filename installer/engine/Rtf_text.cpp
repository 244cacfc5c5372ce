#include "installer/engine/Rtf_text.h"

#include "platform/ui/RtfDocument.h"

bool TRtfText::LoadFromFile(const UnicodeString& fileName) {
    Clear();
    const std::optional<std::string> bytes = ReadRtfFile(fileName);
    return bytes && LoadFromBytes(*bytes);
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
