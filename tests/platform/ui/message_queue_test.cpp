#include "platform/ui/Forms.h"
#include "platform/ui/Timer.h"

#include "UiTestSupport.h"

#include <vector>

namespace {
class MessageQueue : public UiTest {};

// A form that logs the messages its procedure receives.
class LoggingForm : public TForm {
public:
    std::vector<UINT> received;

protected:
    void WndProc(TMessage& m) override {
        if (m.Msg >= WM_USER || m.Msg == WM_PAINT || m.Msg == WM_TIMER)
            received.push_back(m.Msg);
        TForm::WndProc(m);
    }
};

TEST_F(MessageQueue, PeekRemovesOnlyMatchingMessagesAndKeepsTheOrderOfTheRest) {
    LoggingForm a, b;
    PostMessage(&a, WM_USER + 1, 1, 0);
    PostMessage(&b, WM_USER + 123, 2, 0);
    PostMessage(&a, WM_USER + 123, 3, 0);
    PostMessage(&a, WM_USER + 123, 4, 0);
    PostMessage(nullptr, WM_USER + 5, 5, 0);

    struct Case {
        HWND hwnd;
        UINT min, max;
        UINT flags;
        bool found;
        WPARAM wParam;
    } cases[] = {
        {&a, WM_USER + 123, WM_USER + 123, PM_NOREMOVE, true, 3},
        {&a, WM_USER + 123, WM_USER + 123, PM_REMOVE, true, 3},
        {&a, WM_USER + 123, WM_USER + 123, PM_REMOVE, true, 4},
        {&a, WM_USER + 123, WM_USER + 123, PM_REMOVE, false, 0},
        {nullptr, WM_USER + 100, WM_USER + 200, PM_REMOVE, true, 2},
        {nullptr, 0, 0, PM_REMOVE, true, 1},
        {nullptr, 0, 0, PM_REMOVE, true, 5},
    };
    for (const Case& c : cases) {
        TMsg msg;
        // Windows created by the test are never painted here: they are not shown.
        bool found = PeekMessage(&msg, c.hwnd, c.min, c.max, c.flags);
        EXPECT_EQ(found, c.found);
        if (found && c.found) {
            EXPECT_EQ(msg.wParam, c.wParam);
        }
    }
    EXPECT_EQ(PendingPostedMessageCount(), 0);
}

TEST_F(MessageQueue, QuitComesOutWhateverTheFilterAfterThePostedMessages) {
    LoggingForm form;
    PostMessage(&form, WM_USER + 123, 0, 0);
    PostQuitMessage(7);
    TMsg msg;
    ASSERT_TRUE(PeekMessage(&msg, &form, WM_USER + 123, WM_USER + 123, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_USER + 123);
    ASSERT_TRUE(PeekMessage(&msg, &form, WM_USER + 123, WM_USER + 123, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_FALSE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageQueue, PostedMessagesComeBeforePaintAndPaintBeforeTimers) {
    LoggingForm form;
    form.Show();
    ValidateRect(&form, nullptr);
    SetTimer(&form, 1, 10, nullptr);
    clock.Advance(10);
    form.Invalidate();
    PostMessage(&form, WM_USER + 1, 0, 0);
    PostMessage(&form, WM_USER + 2, 0, 0);
    Application->ProcessMessages();
    EXPECT_EQ(form.received, (std::vector<UINT>{WM_USER + 1, WM_USER + 2, WM_PAINT, WM_TIMER}));
}

TEST_F(MessageQueue, MessagesOfAWindowThatGoesAreDroppedAndItsHandleIsDead) {
    auto* form = new LoggingForm();
    HWND handle = form->Handle();
    PostMessage(handle, WM_USER + 1, 0, 0);
    SetTimer(handle, 3, 10, nullptr);
    delete form;
    EXPECT_FALSE(IsWindow(handle));
    EXPECT_EQ(PendingPostedMessageCount(), 0);
    EXPECT_FALSE(PostMessage(handle, WM_USER + 1, 0, 0));
    EXPECT_EQ(SendMessage(handle, WM_USER + 1), 0);
    EXPECT_FALSE(TTimerHeap::Instance().Exists(handle, 3));
}

TEST_F(MessageQueue, ProcessMessagesReturnsEvenWhenAHandlerOutrunsItsTimer) {
    int ticks = 0;
    TTimer slow;
    slow.SetInterval(10);
    slow.SetOnTimer([&](TTimer&) {
        ++ticks;
        clock.Advance(25);
    });
    clock.Advance(10);
    Application->ProcessMessages();
    EXPECT_EQ(ticks, 1);
    Application->ProcessMessages();
    EXPECT_EQ(ticks, 2);
}

TEST_F(MessageQueue, AWindowThatNeverValidatesGetsOnePaintPerPump) {
    struct Stubborn : TForm {
        int paints = 0;
        void WndProc(TMessage& m) override {
            if (m.Msg == WM_PAINT)
                ++paints; // and never validated, as a scene does while it is drawing
            else
                TForm::WndProc(m);
        }
    } form;
    form.Show();
    Application->ProcessMessages();
    EXPECT_EQ(form.paints, 1);
    Application->ProcessMessages();
    EXPECT_EQ(form.paints, 2);
    Application->HandleMessage();
    EXPECT_EQ(form.paints, 3) << "the paint comes again as long as it is not validated";
}

TEST_F(MessageQueue, AnExceptionFromAHandlerIsShownAndTheLoopGoesOn) {
    struct Throwing : TForm {
        void WndProc(TMessage& m) override {
            if (m.Msg == WM_USER + 1)
                throw EInvalidOperation("broken handler");
            if (m.Msg == WM_USER + 2)
                throw EAbort("silent");
            TForm::WndProc(m);
        }
    } form;
    std::vector<std::string> shown;
    Application->OnException = [&](const std::exception& e) { shown.push_back(e.what()); };
    PostMessage(&form, WM_USER + 1, 0, 0);
    PostMessage(&form, WM_USER + 2, 0, 0);
    PostMessage(&form, WM_USER + 1, 0, 0);
    Application->ProcessMessages();
    Application->OnException = nullptr;
    EXPECT_EQ(shown, (std::vector<std::string>{"broken handler", "broken handler"}));
    EXPECT_EQ(PendingPostedMessageCount(), 0);
}
} // namespace
