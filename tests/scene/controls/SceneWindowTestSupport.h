// A scene in a real (offscreen) form for the windows, knobs and numeric boxes: a sheet of small
// styles with the parts those controls fill, the pointer and keys as SDL events, and the timers
// and the animation clock on the injected clock.
#pragma once

#include "scene/controls/Sg_controls.h"
#include "scene/controls/Sg_numberbox.h"
#include "scene/controls/Sg_textbox.h"
#include "scene/core/Sg_objects.h"
#include "scene/core/Sg_scene.h"

#include "platform/ui/Forms.h"
#include "platform/ui/UiClock.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace scenewindowtest {

// The sheet in the text form of a component stream: "hudwindowstyle" (back, caption with text,
// stroke, close, sizegrip), "anglebuttonstyle" (tick, text, tracktext), "numberboxstyle" and
// "spinboxstyle" (content; minusbutton and plusbutton on the left and right of the spin box).
std::string SheetText();

class SceneWindowTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    template <class T>
    T* Add(const char* name, float x, float y, float w, float h) {
        auto* c = new T(nullptr);
        c->SetName(name);
        root->AddObject(c);
        c->SetBounds(x, y, w, h);
        return c;
    }
    void Run();
    // Steps the clock in steps of at most 10 ms, pumping after each.
    void Advance(uint64_t ms);
    void Motion(int x, int y);
    void Button(bool down, int x, int y);
    void Click(int x, int y);
    void Key(SDL_Keycode key);
    void Text(const char* utf8);
    // Appends "<name> <what>" to the log; bind it to events with Watch.
    void Log(TObject* Sender, const std::string& what);
    TNotifyEvent Watcher(const char* what);
    // A notify handler that logs "<sender name> <what>".
    struct TLogger {
        SceneWindowTest* Test;
        std::string What;
        void Fire(TObject* Sender) { Test->Log(Sender, What); }
    };

    TManualClock clock{10000};
    std::unique_ptr<TForm> form;
    TsgScene* scene = nullptr;
    TsgBackground* root = nullptr;
    Uint32 id = 0;
    bool held = false;
    std::pair<int, int> pointer{-1, -1};
    std::vector<std::string> log;

private:
    std::vector<std::unique_ptr<TLogger>> loggers;
};

} // namespace scenewindowtest
