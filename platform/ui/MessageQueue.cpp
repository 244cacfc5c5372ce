#include "platform/ui/Controls.h"
#include "platform/ui/Messages.h"
#include "platform/ui/PumpHorizon.h"
#include "platform/ui/SdlEvents.h"
#include "platform/ui/SdlVideo.h"
#include "platform/ui/TimerHeap.h"
#include "platform/ui/UiClock.h"
#include "platform/ui/WindowRegistry.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <deque>
#include <thread>

namespace {
struct QueueState {
    std::deque<TMsg> posted;
    bool quitPending = false;
    int quitCode = 0;
};

// Never destroyed: windows freed at exit still purge their messages here.
QueueState& Queue() {
    static auto* queue = new QueueState();
    return *queue;
}

bool InRange(UINT message, UINT filterMin, UINT filterMax) {
    if (filterMin == 0 && filterMax == 0)
        return true;
    return message >= filterMin && message <= filterMax;
}

bool ForWindow(const TMsg& msg, HWND hwnd) {
    return !hwnd || (msg.hwnd && IsSelfOrChild(hwnd, msg.hwnd));
}

TMsg Stamp(TMsg msg) {
    msg.time = UiTickCount();
    return msg;
}

// The longest single wait on the event queue; the loop looks at the timers again after it, so
// a clock swapped by a test or a deadline moved by a handler is never missed for long.
constexpr uint64_t MaxWaitSliceMs = 100;
} // namespace

bool PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (hwnd && !TWindowRegistry::Contains(hwnd))
        return false;
    TMsg msg;
    msg.hwnd = hwnd;
    msg.message = message;
    msg.wParam = wParam;
    msg.lParam = lParam;
    Queue().posted.push_back(Stamp(msg));
    return true;
}

void PostQuitMessage(int exitCode) {
    Queue().quitPending = true;
    Queue().quitCode = exitCode;
}

void PurgeMessagesOf(HWND hwnd) {
    auto& posted = Queue().posted;
    posted.erase(std::remove_if(posted.begin(), posted.end(),
                                [hwnd](const TMsg& msg) { return msg.hwnd == hwnd; }),
                 posted.end());
}

int PendingPostedMessageCount() {
    return static_cast<int>(Queue().posted.size());
}

bool PeekMessage(TMsg* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags) {
    bool remove = (removeFlags & PM_REMOVE) != 0;
    QueueState& queue = Queue();
    // A press or release moves the capture and the focus that decide where later input goes:
    // nothing more is translated until it has been handled.
    bool buttonWaiting = std::any_of(queue.posted.begin(), queue.posted.end(), [](const TMsg& m) {
        return m.message >= WM_LBUTTONDOWN && m.message <= WM_MBUTTONDBLCLK;
    });
    if (!buttonWaiting)
        PumpSdlEvents();
    for (auto it = queue.posted.begin(); it != queue.posted.end(); ++it) {
        if (!ForWindow(*it, hwnd) || !InRange(it->message, filterMin, filterMax))
            continue;
        if (msg)
            *msg = *it;
        if (remove)
            queue.posted.erase(it);
        return true;
    }
    if (queue.quitPending) {
        if (msg) {
            *msg = TMsg{};
            msg->message = WM_QUIT;
            msg->wParam = static_cast<WPARAM>(queue.quitCode);
            *msg = Stamp(*msg);
        }
        if (remove)
            queue.quitPending = false;
        return true;
    }
    if (InRange(WM_PAINT, filterMin, filterMax)) {
        // Paint stays until the window validates itself; taking it removes nothing.
        auto paintedAlready = [](HWND w) {
            TPumpHorizon* horizon = TPumpHorizon::Current();
            return horizon && horizon->Painted(w);
        };
        if (TWinControl* window = TWindowRegistry::FirstNeedingPaint(hwnd, paintedAlready)) {
            if (remove && TPumpHorizon::Current())
                TPumpHorizon::Current()->MarkPainted(window);
            if (msg) {
                *msg = TMsg{};
                msg->hwnd = window;
                msg->message = WM_PAINT;
                *msg = Stamp(*msg);
            }
            return true;
        }
    }
    if (InRange(WM_TIMER, filterMin, filterMax)) {
        TMsg timer;
        if (TTimerHeap::Instance().TakeDue(UiClock().NowMs(), hwnd, remove, timer)) {
            if (msg)
                *msg = timer;
            return true;
        }
    }
    return false;
}

void WaitMessage() {
    // Waiting is for every timer, also when the wait happens inside a pump's handler.
    TPumpHorizon everything(true);
    for (;;) {
        if (PeekMessage(nullptr, nullptr, 0, 0, PM_NOREMOVE))
            return;
        std::optional<uint64_t> deadline = TTimerHeap::Instance().NextDeadline();
        uint64_t now = UiClock().NowMs();
        uint64_t wait = MaxWaitSliceMs;
        if (deadline) {
            wait = *deadline > now ? *deadline - now : 0;
            if (UiClock().PassTime(wait))
                continue;
            wait = std::min(wait, MaxWaitSliceMs);
        }
        if (EnsureVideo())
            SDL_WaitEventTimeout(nullptr, static_cast<int>(std::max<uint64_t>(wait, 1)));
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(std::max<uint64_t>(wait, 1)));
    }
}

bool GetMessage(TMsg* msg, HWND hwnd, UINT filterMin, UINT filterMax) {
    TPumpHorizon everything(true);
    TMsg taken;
    while (!PeekMessage(&taken, hwnd, filterMin, filterMax, PM_REMOVE))
        WaitMessage();
    if (msg)
        *msg = taken;
    return taken.message != WM_QUIT;
}

namespace {
TPumpHorizon* currentHorizon = nullptr;
} // namespace

TPumpHorizon::TPumpHorizon(bool unlimited)
    : saved_(currentHorizon), savedTimerHorizon_(TTimerHeap::Instance().Horizon()) {
    currentHorizon = unlimited ? nullptr : this;
    TTimerHeap::Instance().SetHorizon(unlimited ? std::nullopt
                                                : std::optional<uint64_t>(UiClock().NowMs()));
}

TPumpHorizon::~TPumpHorizon() {
    currentHorizon = saved_;
    TTimerHeap::Instance().SetHorizon(savedTimerHorizon_);
}

TPumpHorizon* TPumpHorizon::Current() {
    return currentHorizon;
}

LRESULT DispatchMessage(const TMsg* msg) {
    if (!msg)
        return 0;
    if (msg->message == WM_TIMER) {
        TTimerHeap::Instance().Fire(msg->hwnd, msg->wParam);
        return 0;
    }
    if (!msg->hwnd)
        return 0;
    return SendMessage(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!TWindowRegistry::Contains(hwnd))
        return 0;
    TMessage m;
    m.Msg = message;
    m.WParam = wParam;
    m.LParam = lParam;
    hwnd->WndProc(m);
    return m.Result;
}

bool IsWindow(HWND hwnd) {
    return TWindowRegistry::Contains(hwnd);
}
