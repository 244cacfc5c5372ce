#include "platform/ui/MessageBox.h"

#include "platform/ui/Forms.h"
#include "platform/ui/SdlVideo.h"

#include <SDL.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {
struct Choice {
    int id;
    const char* label;
};

std::vector<Choice> ChoicesOf(unsigned flags) {
    switch (flags & 0x0F) {
    case MB_OKCANCEL:
        return {{IDOK, "OK"}, {IDCANCEL, "Cancel"}};
    case MB_ABORTRETRYIGNORE:
        return {{IDABORT, "Abort"}, {IDRETRY, "Retry"}, {IDIGNORE, "Ignore"}};
    case MB_YESNOCANCEL:
        return {{IDYES, "Yes"}, {IDNO, "No"}, {IDCANCEL, "Cancel"}};
    case MB_YESNO:
        return {{IDYES, "Yes"}, {IDNO, "No"}};
    case MB_RETRYCANCEL:
        return {{IDRETRY, "Retry"}, {IDCANCEL, "Cancel"}};
    default:
        return {{IDOK, "OK"}};
    }
}

Uint32 SdlIconOf(unsigned flags) {
    switch (flags & 0xF0) {
    case MB_ICONSTOP:
        return SDL_MESSAGEBOX_ERROR;
    case MB_ICONWARNING:
        return SDL_MESSAGEBOX_WARNING;
    default:
        return SDL_MESSAGEBOX_INFORMATION;
    }
}
} // namespace

int HeadlessMessageBoxAnswer(unsigned flags) {
    std::vector<Choice> choices = ChoicesOf(flags);
    for (int refusal : {IDCANCEL, IDNO, IDABORT}) {
        for (const Choice& c : choices) {
            if (c.id == refusal)
                return refusal;
        }
    }
    return choices.front().id;
}

int MessageBox(HWND owner, const UnicodeString& text, const UnicodeString& caption,
               unsigned flags) {
    std::string title = caption.ToUtf8();
    std::string body = text.ToUtf8();
    if (IsHeadless()) {
        std::fflush(stdout);
        std::fprintf(stderr, "%s: %s\n", title.c_str(), body.c_str());
        std::fflush(stderr);
        return HeadlessMessageBoxAnswer(flags);
    }
    std::vector<Choice> choices = ChoicesOf(flags);
    std::vector<SDL_MessageBoxButtonData> buttons;
    size_t defaultIndex = (flags & MB_DEFBUTTON2) && choices.size() > 1 ? 1 : 0;
    for (size_t i = 0; i < choices.size(); ++i) {
        Uint32 buttonFlags = 0;
        if (i == defaultIndex)
            buttonFlags |= SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
        if (choices[i].id == HeadlessMessageBoxAnswer(flags) && choices.size() > 1)
            buttonFlags |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
        buttons.push_back({buttonFlags, choices[i].id, choices[i].label});
    }
    SDL_Window* parent = nullptr;
    if (owner) {
        if (TForm* form = owner->ParentForm())
            parent = form->PlatformWindow();
    }
    SDL_MessageBoxData data{};
    data.flags = SdlIconOf(flags);
    data.window = parent;
    data.title = title.c_str();
    data.message = body.c_str();
    data.numbuttons = static_cast<int>(buttons.size());
    data.buttons = buttons.data();
    int pressed = 0;
    if (SDL_ShowMessageBox(&data, &pressed) != 0 || pressed <= 0) {
        // No box could be shown (or it was closed without a button): tell the terminal and
        // answer as an unattended run would.
        std::fprintf(stderr, "%s: %s\n", title.c_str(), body.c_str());
        return HeadlessMessageBoxAnswer(flags);
    }
    return pressed;
}
