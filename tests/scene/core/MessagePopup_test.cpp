// The message popup: which buttons it makes, which of them Return and Escape press, and the
// modal result each set of buttons gives; keys typed into the owner window reach the popup.
// The control library is not linked here: a small button of the same class name plays the
// toolkit's button (its modal result goes to the window, Return and Escape press the default
// and the cancel button).
#include "scene/core/Sg_classes_timer.h"
#include "scene/core/Sg_scene.h"

#include "platform/ui/Application.h"
#include "platform/ui/Forms.h"
#include "platform/ui/PointerPosition.h"
#include "platform/ui/SdlVideo.h"
#include "platform/ui/TimerHeap.h"
#include "platform/ui/UiClock.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

class TsgButton : public TsgControl {
    DBI_PERSISTENT(TsgButton, TsgControl)

    explicit TsgButton(TComponent* AOwner) : TsgControl(AOwner) {}
    UnicodeString FText;
    int FModalResult = 0;
    bool FDefault = false, FCancel = false;
    const UnicodeString& Text() const { return FText; }
    void SetText(const UnicodeString& V) { FText = V; }
    int ModalResult() const { return FModalResult; }
    void SetModalResult(int V) { FModalResult = V; }
    bool Default() const { return FDefault; }
    void SetDefault(bool V) { FDefault = V; }
    bool Cancel() const { return FCancel; }
    void SetCancel(bool V) { FCancel = V; }

    void DialogKey(uint16_t& Key, TShiftState) override {
        if ((Key == VK_RETURN && FDefault) || (Key == VK_ESCAPE && FCancel)) {
            Key = 0;
            if (IsgScene* scene = Scene())
                if (auto* host = dynamic_cast<TsgCustomScene*>(scene->GetComponent()))
                    if (TForm* form = host->ParentForm(); form && FModalResult != 0)
                        form->SetModalResult(FModalResult);
        }
    }
};

} // namespace

DBI_PUBLISH(TsgButton) {
    p.String("Text", &TsgButton::Text, &TsgButton::SetText);
    p.Integer("ModalResult", &TsgButton::ModalResult, &TsgButton::SetModalResult, 0);
    p.Boolean("Default", &TsgButton::Default, &TsgButton::SetDefault, false);
    p.Boolean("Cancel", &TsgButton::Cancel, &TsgButton::SetCancel, false);
}

namespace {

// The buttons of the popup as built: "caption result [default] [cancel]".
struct Shown {
    static inline TsgMessagePopup* popup = nullptr;
    static inline std::vector<std::string> buttons;
    static void Collect(TsgObject* o) {
        for (int i = 0; i < o->ChildrenCount(); ++i) {
            TsgObject* child = o->GetChild(i);
            if (auto* b = dynamic_cast<TsgButton*>(child))
                buttons.push_back(b->Text().ToUtf8() + " " + std::to_string(b->ModalResult()) +
                                  (b->Default() ? " default" : "") +
                                  (b->Cancel() ? " cancel" : ""));
            Collect(child);
        }
    }
    static void Note(TsgMessagePopup* p) {
        popup = p;
        buttons.clear();
        Collect(p);
    }
};

// Types one key into the owner window once the loop runs, and ends a popup nothing else ends.
struct KeyTyper {
    Uint32 window = 0;
    SDL_Keycode key = SDLK_UNKNOWN;
    int ticks = 0;
    int left = -1, top = -1;
    void Tick(TObject*) {
        ++ticks;
        if (ticks == 1 && Shown::popup && Shown::popup->PopupForm()) {
            left = Shown::popup->PopupForm()->Left();
            top = Shown::popup->PopupForm()->Top();
        }
        if (ticks == 1) {
            for (bool down : {true, false}) {
                SDL_Event e{};
                e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
                e.key.windowID = window;
                e.key.keysym.sym = key;
                SDL_PushEvent(&e);
            }
        } else if (ticks == 5 && Shown::popup) {
            // Calling the loop again on a running popup cancels it.
            Shown::popup->PopupModal();
        }
    }
};

class MessagePopupWindow : public testing::Test {
protected:
    void SetUp() override {
        RegisterSgSceneUnit();
        RegisterClass(TsgButton::StaticClassInfo());
        SetUiClock(&clock);
        ASSERT_TRUE(EnsureVideo());
        ResetPointerPosition();
        form = std::make_unique<TForm>();
        form->SetBounds(50, 60, 600, 400);
        scene = new TsgScene(form.get());
        scene->SetParent(form.get());
        scene->SetBounds(0, 0, 600, 400);
        root = new TsgVisualObject(nullptr);
        scene->AddObject(root);
        form->Show();
        Application->ProcessMessages();
        sgMessagePopupShown = &Shown::Note;
    }
    void TearDown() override {
        sgMessagePopupShown = nullptr;
        Shown::popup = nullptr;
        form.reset();
        // Popup windows closed by the tests go once their release message is handled.
        Application->ProcessMessages();
        Application->Reset();
        TTimerHeap::Instance().Reset();
        TMsg msg;
        while (PeekMessage(&msg, nullptr, 0, 0xFFFFFFFF, PM_REMOVE) && msg.message != WM_PAINT &&
               msg.message != WM_TIMER) {
        }
        ResetPointerPosition();
        SetUiClock(nullptr);
    }
    int Run(TsgMessageButtons buttons, SDL_Keycode key) {
        KeyTyper typer{SDL_GetWindowID(form->PlatformWindow()), key};
        TsgTimer timer(nullptr);
        timer.SetInterval(20);
        timer.SetOnTimer(TNotifyEvent::Bind<&KeyTyper::Tick>(&typer));
        timer.SetEnabled(true);
        const int result = MessagePopup(u"Title", u"Text", sgMessageInformation, buttons, scene);
        placedAt = {typer.left, typer.top};
        return result;
    }
    TPoint placedAt{};

    TManualClock clock;
    std::unique_ptr<TForm> form;
    TsgScene* scene = nullptr;
    TsgVisualObject* root = nullptr;
};

TEST(MessagePopupButtons, DefaultAndCancelChoices) {
    struct Case {
        TsgMessageButtons buttons;
        TsgMessageButton defaultButton, cancelButton;
    };
    const Case cases[] = {
        {sgButtons({sgButtonYes, sgButtonNo}), sgButtonYes, sgButtonNo},
        {sgButtons({sgButtonOK}), sgButtonOK, sgButtonOK},
        {sgButtons({sgButtonOK, sgButtonCancel}), sgButtonOK, sgButtonCancel},
        {sgButtons({sgButtonYes, sgButtonNo, sgButtonCancel}), sgButtonYes, sgButtonCancel},
        {sgButtons({sgButtonRetry, sgButtonIgnore}), sgButtonRetry, sgButtonOK},
        {sgButtons({sgButtonAbort, sgButtonRetry, sgButtonIgnore}), sgButtonRetry, sgButtonOK},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(sgMessageDefaultButton(c.buttons), c.defaultButton) << c.buttons;
        EXPECT_EQ(sgMessageCancelButton(c.buttons), c.cancelButton) << c.buttons;
    }
    EXPECT_EQ(sgMessageButtonResult(sgButtonNoToAll), 9);
    EXPECT_EQ(sgMessageButtonResult(sgButtonHelp), mrNone);
    EXPECT_EQ(UnicodeString(sgMessageButtonCaption(sgButtonYesToAll)), UnicodeString(u"YesToAll"));
}

TEST_F(MessagePopupWindow, ReturnAndEscapeGiveTheResultOfEachButtonSet) {
    struct Case {
        TsgMessageButtons buttons;
        SDL_Keycode key;
        int expected;
    };
    const Case cases[] = {
        {sgButtons({sgButtonYes, sgButtonNo}), SDLK_ESCAPE, mrNo},
        {sgButtons({sgButtonYes, sgButtonNo}), SDLK_RETURN, mrYes},
        {sgButtons({sgButtonOK}), SDLK_ESCAPE, mrOk},
        {sgButtons({sgButtonOK, sgButtonCancel}), SDLK_ESCAPE, mrCancel},
        {sgButtons({sgButtonYes, sgButtonNo, sgButtonCancel}), SDLK_RETURN, mrYes},
        {sgButtons({sgButtonRetry, sgButtonIgnore}), SDLK_RETURN, mrRetry},
        // No cancel button: Escape does nothing, the popup ends only when told to.
        {sgButtons({sgButtonRetry, sgButtonIgnore}), SDLK_ESCAPE, mrCancel},
        // No buttons at all: an OK button is made, so Escape and Return both answer OK.
        {0, SDLK_ESCAPE, mrOk},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Run(c.buttons, c.key), c.expected) << c.buttons << " key " << c.key;
        EXPECT_TRUE(root->Enabled());
        EXPECT_EQ(form->KeyForm(), nullptr);
    }
}

TEST_F(MessagePopupWindow, BuildsTitleTextAndOneButtonPerAnswerAtTheTopOfTheForm) {
    EXPECT_EQ(Run(sgButtons({sgButtonHelp, sgButtonNo, sgButtonYes}), SDLK_RETURN), mrYes);
    EXPECT_EQ(Shown::buttons, (std::vector<std::string>{"Yes 6 default", "No 7 cancel", "Help 0"}));
    // 500 wide, centred on the 600-wide form at (50, 60), at the top of its client area.
    EXPECT_EQ(placedAt.X, 100);
    EXPECT_EQ(placedAt.Y, 60);
}

} // namespace
