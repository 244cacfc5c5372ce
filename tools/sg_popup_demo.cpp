// sg_popup_demo: a window with a drop-down field whose popup opens in a window of its own,
// fades in, stays a moment and fades out again; for checking popups on a real display.
//
//   sg_popup_demo [--hold MS]
//
// The window sits at (100, 100) with a 400 x 300 client area; the field is at (40, 40), 200 x 30;
// the popup (200 x 120, blue) opens under it. Lines on stdout tell where the demo is: "opened"
// once the popup has faded in, "closed" once it has faded out and gone; then the program ends.
#include "scene/core/Sg_ani.h"
#include "scene/core/Sg_canvas_gdip.h"
#include "scene/core/Sg_objects.h"
#include "scene/core/Sg_scene.h"

#include "platform/rtl/Exceptions.h"
#include "platform/ui/Application.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Timer.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

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

} // namespace

int main(int argc, char** argv) {
    long hold = 1500;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--hold") == 0 && i + 1 < argc)
            hold = std::strtol(argv[++i], nullptr, 10);
        else {
            std::fprintf(stderr, "usage: sg_popup_demo [--hold MS]\n");
            return 2;
        }
    }
    try {
        RegisterSgSceneUnit();
        RegisterSgAniUnit();
        RegisterSgObjectsUnit();
        InitSgCanvasUnit();
        Application->Initialize();

        TForm* form = nullptr;
        Application->CreateForm(form);
        form->SetCaption(u"sg_popup_demo");
        form->SetBounds(100, 100, 400, 300);

        auto scene = std::make_unique<TsgScene>(nullptr);
        scene->SetParent(form);
        scene->SetBounds(0, 0, 400, 300);
        TsgRectangle* root = Box(nullptr, 0, 0, 400, 300, "#FFE0E0E0");
        scene->AddObject(root);
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

        form->Show();
        Application->Run();
        scene.reset();
    } catch (const Exception& e) {
        std::fprintf(stderr, "sg_popup_demo: %s\n", e.what());
        return 1;
    }
    return 0;
}
