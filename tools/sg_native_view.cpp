// Development tool: a scene with a native-window layout hosting the rich-text view, in a real
// window, for looking at it under Xvfb and driving it with xdotool.
//
//   sg_native_view <scene.txt> <document.rtf> [--screenshot out.png] [--exit-after MS]
//
// The scene's root is a rectangle (TsgRectangle) whose size the window takes; the first
// TsgNonSGLayout of the scene hosts a TRichEdit loaded with the document. F2 hides or
// shows that layout's parent (the page), as the wizard's tab switching does; F12 writes the
// window as it is shown (the scene and the view in front of it) to the screenshot file. Standard
// output gets one line per change: "view x y w h" when the view is placed, "visible 0|1" and
// "scroll N" (pixels scrolled). Escape or closing the window ends it. Exit code 0 on success,
// 1 on bad input, 2 on usage.
#include "scene/controls/Sg_layouts.h"
#include "scene/core/Sg_objects.h"
#include "scene/core/Sg_scene.h"

#include "platform/gfx/ImageCodec.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/MemoryStream.h"
#include "platform/ui/Application.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Present.h"
#include "platform/ui/RichEdit.h"
#include "platform/ui/Timer.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>

namespace {

int Usage() {
    std::fprintf(stderr, "usage: sg_native_view <scene.txt> <document.rtf> [--screenshot out.png] "
                         "[--exit-after MS]\n");
    return 2;
}

TsgNonSGLayout* FindHost(TsgObject* node) {
    if (auto* host = dynamic_cast<TsgNonSGLayout*>(node))
        return host;
    for (int i = 0; i < node->ChildrenCount(); ++i)
        if (TsgNonSGLayout* host = FindHost(node->GetChild(i)))
            return host;
    return nullptr;
}

bool SaveWindow(TForm* form, const std::string& file) {
    std::vector<uint32_t> pixels;
    int w = 0, h = 0;
    if (file.empty() || !ReadWindowPixels(form, pixels, w, h) || w == 0)
        return false;
    std::vector<uint8_t> png;
    if (gfx::EncodePng(pixels.data(), w, h, &png) != gfx::Status::Ok)
        return false;
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    std::fprintf(stderr, "sg_native_view: wrote %s\n", file.c_str());
    return static_cast<bool>(out);
}

class TNativeViewScene : public TsgScene {
public:
    explicit TNativeViewScene(TComponent* AOwner) : TsgScene(AOwner) {}

    TsgVisualObject* Page = nullptr;
    std::function<void()> OnScreenshot;

protected:
    void KeyDown(uint16_t& key, TShiftState) override {
        if (key == VK_F1 + 1 && Page)
            Page->SetVisible(!Page->Visible());
        else if (key == VK_F1 + 11 && OnScreenshot)
            OnScreenshot();
        else if (key == VK_ESCAPE)
            Application->Terminate();
    }
};

} // namespace

int main(int argc, char** argv) {
    if (argc < 3)
        return Usage();
    std::string screenshot;
    long exitAfter = -1;
    for (int i = 3; i < argc; ++i) {
        if (std::strcmp(argv[i], "--screenshot") == 0 && i + 1 < argc) {
            screenshot = argv[++i];
        } else if (std::strcmp(argv[i], "--exit-after") == 0 && i + 1 < argc) {
            char* end = nullptr;
            exitAfter = std::strtol(argv[++i], &end, 10);
            if (!end || *end || exitAfter < 0)
                return Usage();
        } else {
            return Usage();
        }
    }
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    try {
        RegisterSgSceneUnit();
        RegisterSgObjectsUnit();
        RegisterSgLayoutsUnit();
        Application->Initialize();

        TMemoryStream text;
        text.LoadFromFile(UnicodeString::FromUtf8(argv[1]));
        // The form is made once the root's size is known: it is created at that size.
        auto scene = std::make_unique<TNativeViewScene>(nullptr);
        TsgObject* root = scene->LoadObjectFromStream(text);
        TsgVisualObject* visual = root ? root->Visual() : nullptr;
        TsgNonSGLayout* host = root ? FindHost(root) : nullptr;
        if (!visual || !host) {
            std::fprintf(stderr, "sg_native_view: %s holds no native-window layout\n", argv[1]);
            return 1;
        }
        // The scene fits its root to itself; the root's own size is read once into a probe.
        TsgRectangle probe(nullptr);
        text.SetPosition(0);
        probe.LoadFromStream(text);
        const int width = std::max(1, static_cast<int>(std::ceil(probe.Width())));
        const int height = std::max(1, static_cast<int>(std::ceil(probe.Height())));
        TForm* form = nullptr;
        Application->CreateForm(form);
        form->SetCaption(u"sg_native_view");
        form->SetBorderStyle(bsSingle);
        form->SetPosition(poScreenCenter);
        form->SetClientSize(width, height);
        scene->SetParent(form);
        scene->SetBounds(0, 0, width, height);
        sgRealign(visual);
        scene->Page = host->Parent() ? host->Parent()->Visual() : nullptr;
        scene->OnScreenshot = [&] { SaveWindow(form, screenshot); };

        // The view belongs to the form, as the wizard's licence box does, and sits in front of
        // the scene window; it starts hidden until the layout shows it.
        auto* view = new TRichEdit(form);
        view->SetParent(form);
        view->SetVisible(false);
        if (!view->LoadFromFile(UnicodeString::FromUtf8(argv[2]))) {
            std::fprintf(stderr, "sg_native_view: %s is no readable RTF document\n", argv[2]);
            return 1;
        }
        host->SetControl(view);

        // Reports what changed, for scripts that drive the window.
        TRect placed{};
        int visible = -1;
        int scroll = -1;
        TTimer watch;
        watch.SetInterval(20);
        watch.SetOnTimer([&](TTimer&) {
            if (view->Visible() != (visible == 1)) {
                visible = view->Visible() ? 1 : 0;
                std::printf("visible %d\n", visible);
            }
            if (view->Visible() && view->BoundsRect() != placed) {
                placed = view->BoundsRect();
                std::printf("view %d %d %d %d\n", placed.Left, placed.Top, placed.Width(),
                            placed.Height());
            }
            if (view->ScrollPos() != scroll) {
                scroll = view->ScrollPos();
                std::printf("scroll %d\n", scroll);
            }
        });
        TTimer exitTimer;
        exitTimer.SetInterval(static_cast<uint32_t>(std::max(1L, exitAfter)));
        exitTimer.SetEnabled(exitAfter >= 0);
        exitTimer.SetOnTimer([&](TTimer&) { Application->Terminate(); });

        form->Show();
        scene->SetFocus();
        Application->Run();
        scene.reset();
    } catch (const Exception& e) {
        std::fprintf(stderr, "sg_native_view: %s\n", e.what());
        return 1;
    }
    return 0;
}
