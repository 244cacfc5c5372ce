// sg_popup_demo: a window with a drop-down field whose popup opens in a window of its own,
// fades in, stays a moment and fades out again; or a window asking a question in a message
// popup; for checking popups on a real display.
//
//   sg_popup_demo [--hold MS]
//   sg_popup_demo --message BUTTONS [--type TYPE] [--hold MS]
//
// The window sits at (100, 100) with a 400 x 300 client area; the field is at (40, 40), 200 x 30;
// the popup (200 x 120, blue) opens under it. Lines on stdout tell where the demo is: "opened"
// once the popup has faded in, "closed" once it has faded out and gone; then the program ends.
//
// With --message the window is 600 x 400 and a message popup with the named buttons (captions
// separated by commas, such as "Yes,No" or "OK"; "none" for no button) slides in at the top of
// it. TYPE is warning, error, information, confirmation (the default) or custom. Lines on stdout:
// "shown" as the popup is about to open; once it has slid in, "button CAPTION X Y" for each
// button (its centre on the screen) and "opened"; when a button or key ends it, "result N" (the
// modal result) and, once it has slid out and gone, "closed"; the window stays for the hold
// time, then the program ends.
#include "scene/controls/Sg_controls.h"
#include "scene/controls/Sg_layouts.h"
#include "scene/core/Sg_ani.h"
#include "scene/core/Sg_canvas_gdip.h"
#include "scene/core/Sg_effects.h"
#include "scene/core/Sg_objects.h"
#include "scene/core/Sg_scene.h"

#include "platform/classes/TypInfo.h"
#include "platform/rtl/Exceptions.h"
#include "platform/ui/Application.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Timer.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

TsgRectangle* Box(TsgObject* parent, float x, float y, float w, float h, const char* colour) {
    auto* box = new TsgRectangle(nullptr);
    box->SetBounds(x, y, w, h);
    box->Fill()->SetColor(UnicodeString::FromUtf8(colour));
    if (parent)
        parent->AddObject(box);
    return box;
}

// A fade of the popup's opacity when IsOpen turns to `open`.
void Fade(TsgPopup* popup, bool open) {
    auto* fade = new TsgFloatAnimation(nullptr);
    fade->SetPropertyName("Opacity");
    fade->SetStartValue(open ? 0 : 1);
    fade->SetStopValue(open ? 1 : 0);
    fade->SetDuration(0.4f);
    fade->SetTrigger(open ? "IsOpen=true" : "IsOpen=false");
    popup->AddObject(fade);
}

void Say(const char* format, ...) __attribute__((format(printf, 1, 2)));
void Say(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    std::fflush(stdout);
}

// "Yes,No" -> the set of those buttons; false for a caption the popup does not know.
bool ParseButtons(const std::string& Text, TsgMessageButtons& Buttons) {
    Buttons = 0;
    if (Text == "none")
        return true;
    size_t start = 0;
    while (start <= Text.size()) {
        const size_t comma = std::min(Text.find(',', start), Text.size());
        const std::string caption = Text.substr(start, comma - start);
        bool known = false;
        for (int b = sgButtonYes; b <= sgButtonHelp; ++b)
            if (UnicodeString(sgMessageButtonCaption(TsgMessageButton(b))).ToUtf8() == caption) {
                Buttons =
                    static_cast<TsgMessageButtons>(Buttons | sgButtons({TsgMessageButton(b)}));
                known = true;
            }
        if (!known)
            return false;
        start = comma + 1;
    }
    return true;
}

bool ParseType(const std::string& Text, TsgMessageType& Type) {
    static const char* const kNames[] = {"warning", "error", "information", "confirmation",
                                         "custom"};
    for (int t = sgMessageWarning; t <= sgMessageCustom; ++t)
        if (Text == kNames[t]) {
            Type = TsgMessageType(t);
            return true;
        }
    return false;
}

// Tells where the buttons of a popup are on the screen.
void SayButtons(TsgPopup* Popup, TsgObject* Object) {
    for (int i = 0; i < Object->ChildrenCount(); ++i) {
        TsgObject* child = Object->GetChild(i);
        if (child->ClassName() == "TsgButton")
            if (TsgVisualObject* button = child->Visual(); button && Popup->PopupScene()) {
                const TsgRect r = button->AbsoluteRect();
                const TsgPoint p = Popup->PopupScene()->LocalToScreen(
                    {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
                Say("button %s %d %d\n", GetStrProp(button, "Text").ToUtf8().c_str(),
                    int(std::lround(p.X)), int(std::lround(p.Y)));
            }
        SayButtons(Popup, child);
    }
}

TsgMessagePopup* shownPopup = nullptr;

struct DemoWindow {
    TForm* form;
    TsgScene* scene;
    TsgRectangle* root;
};

// A form of the given size filled by a scene with a grey root. The scene is owned by the form,
// which the application frees as the program ends; a message popup takes the scene's form as its
// own owner.
DemoWindow MakeWindow(int Width, int Height) {
    TForm* form = nullptr;
    Application->CreateForm(form);
    form->SetCaption(u"sg_popup_demo");
    form->SetBounds(100, 100, Width, Height);
    auto* scene = new TsgScene(form);
    scene->SetParent(form);
    scene->SetBounds(0, 0, Width, Height);
    TsgRectangle* root = Box(nullptr, 0, 0, float(Width), float(Height), "#FFE0E0E0");
    scene->AddObject(root);
    return {form, scene, root};
}

// A window that asks its question in a message popup once it is on the screen.
int RunMessage(TsgMessageButtons Buttons, TsgMessageType Type, long Hold) {
    const DemoWindow window = MakeWindow(600, 400);
    TsgScene* scene = window.scene;

    // Once the popup has slid in (it rests at the top of its window), where its buttons are.
    TTimer restTimer;
    restTimer.SetInterval(50);
    restTimer.SetOnTimer([&](TTimer& timer) {
        if (!shownPopup || !shownPopup->IsOpen() || shownPopup->Position()->Y() != 0)
            return;
        timer.SetEnabled(false);
        SayButtons(shownPopup, shownPopup);
        Say("opened\n");
    });
    sgMessagePopupShown = [](TsgMessagePopup* Popup) {
        shownPopup = Popup;
        Say("shown\n");
    };

    // The window stays a moment without the popup once it has gone.
    TTimer exitTimer;
    exitTimer.SetEnabled(false);
    exitTimer.SetInterval(static_cast<uint32_t>(std::max(1L, Hold)));
    exitTimer.SetOnTimer([](TTimer&) { Application->Terminate(); });
    // Asked from a one-shot timer once the window is up, as an application asks its questions
    // from its own event code: the popup's loop runs inside the timer's handler.
    TTimer askTimer;
    askTimer.SetInterval(100);
    askTimer.SetOnTimer([&](TTimer& timer) {
        timer.SetEnabled(false);
        restTimer.SetEnabled(true);
        const int result =
            MessagePopup(u"Replace the catalogue?",
                         u"A catalogue of the same name is already there.", Type, Buttons, scene);
        shownPopup = nullptr;
        restTimer.SetEnabled(false);
        Say("result %d\n", result);
        Say("closed\n");
        exitTimer.SetEnabled(true);
    });
    window.form->Show();
    Application->Run();
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    long hold = 1500;
    const char* message = nullptr;
    TsgMessageButtons buttons = 0;
    TsgMessageType type = sgMessageConfirmation;
    for (int i = 1; i < argc; ++i) {
        bool ok = i + 1 < argc;
        if (ok && std::strcmp(argv[i], "--hold") == 0)
            hold = std::strtol(argv[++i], nullptr, 10);
        else if (ok && std::strcmp(argv[i], "--message") == 0)
            ok = ParseButtons(message = argv[++i], buttons);
        else if (ok && std::strcmp(argv[i], "--type") == 0)
            ok = ParseType(argv[++i], type);
        else
            ok = false;
        if (!ok) {
            std::fprintf(stderr,
                         "usage: sg_popup_demo [--hold MS]\n"
                         "       sg_popup_demo --message BUTTONS [--type TYPE] [--hold MS]\n");
            return 2;
        }
    }
    try {
        RegisterSgSceneUnit();
        RegisterSgAniUnit();
        RegisterSgEffectsUnit();
        RegisterSgObjectsUnit();
        RegisterSgControlsUnit();
        RegisterSgLayoutsUnit();
        InitSgCanvasUnit();
        Application->Initialize();
        if (message)
            return RunMessage(buttons, type, hold);

        const DemoWindow window = MakeWindow(400, 300);
        TsgRectangle* root = window.root;
        TsgRectangle* field = Box(root, 40, 40, 200, 30, "#FFFFFFFF");

        auto* popup = new TsgPopup(nullptr);
        popup->SetBounds(0, 0, 200, 120);
        popup->SetPlacementTarget(field);
        root->AddObject(popup);
        Box(popup, 0, 0, 200, 120, "#FF2050C0");
        Box(popup, 10, 10, 180, 20, "#FFFFFFFF");
        Fade(popup, true);
        Fade(popup, false);

        TTimer openTimer;
        openTimer.SetInterval(300);
        openTimer.SetOnTimer([&](TTimer& timer) {
            timer.SetEnabled(false);
            popup->Popup();
        });
        TTimer shownTimer;
        shownTimer.SetInterval(300 + 600);
        shownTimer.SetOnTimer([&](TTimer& timer) {
            timer.SetEnabled(false);
            std::printf("opened\n");
            std::fflush(stdout);
        });
        TTimer closeTimer;
        closeTimer.SetInterval(static_cast<uint32_t>(900 + std::max(0L, hold)));
        closeTimer.SetOnTimer([&](TTimer& timer) {
            timer.SetEnabled(false);
            // Waits in the loop until the fade has run out.
            popup->ClosePopup();
            std::printf("closed\n");
            std::fflush(stdout);
        });
        TTimer exitTimer;
        exitTimer.SetInterval(static_cast<uint32_t>(900 + std::max(0L, hold) + hold));
        exitTimer.SetOnTimer([&](TTimer&) { Application->Terminate(); });
        for (TTimer* t : {&openTimer, &shownTimer, &closeTimer, &exitTimer})
            t->SetEnabled(true);

        window.form->Show();
        Application->Run();
    } catch (const Exception& e) {
        std::fprintf(stderr, "sg_popup_demo: %s\n", e.what());
        return 1;
    }
    return 0;
}
