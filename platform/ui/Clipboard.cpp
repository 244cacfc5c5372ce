#include "platform/ui/Clipboard.h"

#include "platform/ui/SdlVideo.h"

#include <SDL.h>

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
    if (format != CF_TEXT && format != CF_UNICODETEXT)
        return false;
    return EnsureVideo() && SDL_HasClipboardText() == SDL_TRUE;
}

void TClipboard::Clear() {
    SetAsText(UnicodeString());
}

TClipboard* Clipboard() {
    static TClipboard clipboard;
    return &clipboard;
}
