#include "SceneWindowTestSupport.h"

#include "scene/core/Sg_timerheap.h"

#include "platform/rtl/MemoryStream.h"
#include "platform/ui/Application.h"
#include "platform/ui/PointerPosition.h"
#include "platform/ui/SdlVideo.h"
#include "platform/ui/TimerHeap.h"

#include <algorithm>
#include <cstdio>

namespace scenewindowtest {

namespace {

std::string Part(const char* cls, const char* name, const std::string& body = "",
                 const std::string& indent = "    ") {
    return indent + "object " + cls + "\n" + indent + "  ResourceName = '" + name + "'\n" + indent +
           "  HitTest = False\n" + body + indent + "end\n";
}

std::string Root(const char* name, const std::string& parts) {
    return "  object TsgRectangle\n    ResourceName = '" + std::string(name) +
           "'\n    HitTest = False\n" + parts + "  end\n";
}

} // namespace

std::string SheetText() {
    std::string text = "object TsgBackground\n";
    text += Root(
        "hudwindowstyle",
        Part("TsgRectangle", "back", "      Align = vaContents\n") +
            Part("TsgRectangle", "caption",
                 "      Align = vaTop\n      Height = 22\n" +
                     Part("TsgText", "text", "        Align = vaClient\n", "      ")) +
            Part("TsgRectangle", "stroke", "      Align = vaContents\n") +
            "    object TsgCloseButton\n      ResourceName = 'close'\n"
            "      Width = 16\n      Height = 16\n    end\n"
            "    object TsgSizeGrip\n      ResourceName = 'sizegrip'\n"
            "      Position.Point = '(186,136)'\n      Width = 14\n      Height = 14\n    end\n");
    text += Root("anglebuttonstyle",
                 Part("TsgRectangle", "tick",
                      "      Align = vaCenter\n      Width = 2\n      Height = 12\n") +
                     Part("TsgText", "text") + Part("TsgText", "tracktext"));
    const std::string content = Part("TsgContent", "content", "      Align = vaClient\n");
    text += Root("numberboxstyle", content);
    text += Root("spinboxstyle", "    object TsgSpeedButton\n      ResourceName = 'minusbutton'\n"
                                 "      Align = vaLeft\n      Width = 18\n    end\n"
                                 "    object TsgSpeedButton\n      ResourceName = 'plusbutton'\n"
                                 "      Align = vaRight\n      Width = 18\n    end\n" +
                                     content);
    text += Root("speedbuttonstyle", "");
    text +=
        "  object TsgEllipse\n    ResourceName = 'CloseButtonStyle'\n    HitTest = False\n  end\n";
    text +=
        "  object TsgRectangle\n    ResourceName = 'sizegripstyle'\n    HitTest = False\n  end\n";
    return text + "end\n";
}

void SceneWindowTest::SetUp() {
    RegisterSgControlsUnit();
    RegisterSgTextboxUnit();
    FreeDefaultStyles();
    TStringStream sheet{AnsiString(SheetText())};
    DefaultStyles = CreateObjectFromStream(nullptr, sheet);
    clock.AutoAdvance = false;
    SetUiClock(&clock);
    ASSERT_TRUE(EnsureVideo());
    ResetPointerPosition();
    form = std::make_unique<TForm>();
    form->SetBounds(100, 80, 300, 200);
    // The form owns the scene, so close buttons and grips find it among the scene's owners.
    scene = new TsgScene(form.get());
    scene->SetParent(form.get());
    scene->SetBounds(0, 0, 300, 200);
    root = new TsgBackground(nullptr);
    root->SetAlign(vaClient);
    // Empty space lets the press through to the scene, which drags the form there.
    root->SetHitTest(false);
    scene->AddObject(root);
    form->Show();
    Run();
    id = SDL_GetWindowID(form->PlatformWindow());
    scene->SetFocus();
}

void SceneWindowTest::TearDown() {
    form.reset();
    Application->Reset();
    TTimerHeap::Instance().Reset();
    TsgTimerHeap::Instance().Reset();
    TMsg msg;
    while (PeekMessage(&msg, nullptr, 0, 0xFFFFFFFF, PM_REMOVE) && msg.message != WM_PAINT &&
           msg.message != WM_TIMER) {
    }
    ResetPointerPosition();
    SetUiClock(nullptr);
    FreeDefaultStyles();
}

void SceneWindowTest::Run() {
    Application->ProcessMessages();
}

void SceneWindowTest::Advance(uint64_t ms) {
    while (ms > 0) {
        const uint64_t step = std::min<uint64_t>(ms, 10);
        clock.Advance(step);
        Run();
        Run();
        ms -= step;
    }
}

void SceneWindowTest::Motion(int x, int y) {
    pointer = {x, y};
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.windowID = id;
    e.motion.x = x;
    e.motion.y = y;
    e.motion.state = held ? SDL_BUTTON_LMASK : 0;
    SDL_PushEvent(&e);
}

void SceneWindowTest::Button(bool down, int x, int y) {
    // A pointer that rests where it is makes no move event.
    if (pointer != std::pair{x, y})
        Motion(x, y);
    SDL_Event e{};
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.windowID = id;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.button.clicks = 1;
    e.button.x = x;
    e.button.y = y;
    SDL_PushEvent(&e);
    held = down;
}

void SceneWindowTest::Click(int x, int y) {
    Button(true, x, y);
    Button(false, x, y);
    Run();
}

void SceneWindowTest::Key(SDL_Keycode key) {
    for (bool down : {true, false}) {
        SDL_Event e{};
        e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        e.key.windowID = id;
        e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
        e.key.keysym.sym = key;
        SDL_PushEvent(&e);
    }
    Run();
}

void SceneWindowTest::Text(const char* utf8) {
    SDL_Event e{};
    e.type = SDL_TEXTINPUT;
    e.text.windowID = id;
    std::snprintf(e.text.text, sizeof e.text.text, "%s", utf8);
    SDL_PushEvent(&e);
    Run();
}

void SceneWindowTest::Log(TObject* Sender, const std::string& what) {
    auto* c = dynamic_cast<TComponent*>(Sender);
    log.push_back((c ? std::string(c->Name().c_str()) : std::string("?")) + " " + what);
}

TNotifyEvent SceneWindowTest::Watcher(const char* what) {
    loggers.push_back(std::make_unique<TLogger>(TLogger{this, what}));
    return TNotifyEvent::Bind<&TLogger::Fire>(loggers.back().get());
}

} // namespace scenewindowtest
