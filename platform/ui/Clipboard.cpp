#include "platform/ui/Clipboard.h"

#include "platform/gfx/Bitmap.h"
#include "platform/ui/SdlVideo.h"
#include "platform/ui/X11Selection.h"
#include "platform/win/DebugOutput.h"

#include <SDL.h>

#include <string>
#include <vector>

namespace {

const char* const kClipboard = "CLIPBOARD";

// The picture targets read, the lossless ones first.
const std::vector<std::string>& PictureTargets() {
    static const std::vector<std::string> targets{"image/png", "image/bmp"};
    return targets;
}

// While the exchange waits, this program's own windows must still answer for a clipboard they
// hold (their text), or asking them would only wait for the time limit.
void AnswerOwnRequests() {
    if (VideoStarted() && VideoDriverName() == "x11")
        SDL_PumpEvents();
}

void Trace(const std::string& text) {
    OutputDebugStringA(("clipboard: " + text).c_str());
}

} // namespace

UnicodeString TClipboard::AsText() const {
    if (!EnsureVideo())
        return UnicodeString();
    char* text = SDL_GetClipboardText();
    if (!text)
        return UnicodeString();
    UnicodeString result = UnicodeString::FromUtf8(text);
    SDL_free(text);
    return result;
}

void TClipboard::SetAsText(const UnicodeString& value) {
    if (EnsureVideo())
        SDL_SetClipboardText(value.ToUtf8().c_str());
}

bool TClipboard::HasFormat(unsigned format) const {
    if (format == CF_BITMAP || format == CF_DIB) {
        std::vector<std::string> offered;
        return x11::OfferedTargets(kClipboard, PictureTargets(), offered, {}, AnswerOwnRequests) ==
                   x11::SelectionStatus::Ok &&
               !offered.empty();
    }
    if (format != CF_TEXT && format != CF_UNICODETEXT)
        return false;
    return EnsureVideo() && SDL_HasClipboardText() == SDL_TRUE;
}

std::unique_ptr<gfx::Bitmap> TClipboard::AsBitmap() const {
    std::string target;
    std::vector<uint8_t> bytes;
    const x11::SelectionStatus status =
        x11::ReadFirstOffered(kClipboard, PictureTargets(), target, bytes, {}, AnswerOwnRequests);
    if (status != x11::SelectionStatus::Ok) {
        Trace(std::string("no picture: ") + x11::SelectionStatusText(status));
        return nullptr;
    }
    gfx::Status decoded = gfx::Status::Ok;
    auto picture = gfx::Bitmap::FromMemory(bytes.data(), bytes.size(), &decoded);
    if (!picture)
        Trace("the " + target + " picture cannot be decoded (" + std::to_string(bytes.size()) +
              " bytes)");
    return picture;
}

void TClipboard::Clear() {
    SetAsText(UnicodeString());
}

TClipboard* Clipboard() {
    static TClipboard clipboard;
    return &clipboard;
}
