#include "platform/ui/HintWindow.h"

#include "platform/gfx/Gfx.h"
#include "platform/ui/Present.h"
#include "platform/ui/Timer.h"
#include "platform/ui/WindowRegistry.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

constexpr float HintFontSize = 9;
constexpr int HintPadding = 4;
// Below the pointer, clear of the arrow.
constexpr int HintOffsetY = 20;
// A hint is one short line; longer texts are cut rather than making a huge window.
constexpr size_t MaxHintLength = 1024;
constexpr int MaxHintWidth = 800;

std::unique_ptr<gfx::Font> HintFont() {
    std::unique_ptr<gfx::FontFamily> family = gfx::FontFamily::GenericSansSerif();
    return std::make_unique<gfx::Font>(*family, HintFontSize);
}

// The pending and the shown hint. Never freed: timers and windows must not be torn down after
// the event layer has gone at exit.
struct THintState {
    TTimer pause;
    TWinControl* pending = nullptr;
    TPoint pendingPos;
    THintWindow* window = nullptr;
    TWinControl* shownFor = nullptr;
    TRect shownRect;

    THintState() {
        pause.SetEnabled(false);
        pause.SetInterval(HintPause);
        pause.SetOnTimer([this](TTimer& timer) {
            timer.SetEnabled(false);
            Show();
        });
    }

    void Hide() {
        if (window && window->Visible())
            window->Hide();
        shownFor = nullptr;
    }

    void Show() {
        TWinControl* target = pending;
        pending = nullptr;
        if (!target || !TWindowRegistry::Contains(target))
            return;
        THintInfo info;
        info.HintControl = target;
        info.CursorPos = pendingPos;
        info.CursorRect = target->ClientRect();
        SendMessage(target, CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
        if (info.HintStr.IsEmpty() || !TWindowRegistry::Contains(target))
            return;
        if (!window)
            window = new THintWindow();
        TPoint at = target->ClientToScreen(pendingPos);
        window->ActivateHint(TPoint{at.X, at.Y + HintOffsetY}, info.HintStr);
        shownFor = target;
        shownRect = info.CursorRect;
    }
};

THintState& State() {
    static THintState* state = new THintState();
    return *state;
}

} // namespace

THintWindow::THintWindow() {
    SetBorderStyle(bsNone);
}

THintWindow::~THintWindow() {
    DestroyHandle();
}

void THintWindow::ActivateHint(TPoint screenPos, const UnicodeString& text) {
    text_ = text.Length() > static_cast<int>(MaxHintLength)
                ? text.SubString(1, static_cast<int>(MaxHintLength))
                : text;
    gfx::Bitmap probe(1, 1);
    gfx::Graphics measure(&probe);
    std::unique_ptr<gfx::Font> font = HintFont();
    gfx::RectF box;
    measure.MeasureCharacterRanges(text_.str(), *font, gfx::RectF(0, 0, MaxHintWidth, 1000),
                                   nullptr, &box);
    int w = std::clamp(static_cast<int>(std::ceil(box.Width)) + 2 * HintPadding, 1, MaxHintWidth);
    int h = std::max(static_cast<int>(std::ceil(box.Height)), 1) + 2 * HintPadding;
    SetBounds(screenPos.X, screenPos.Y, w, h);
    if (!Visible())
        SetVisible(true);
    Invalidate();
}

void THintWindow::Paint() {
    const int w = Width(), h = Height();
    if (w < 1 || h < 1)
        return;
    pixels_.assign(static_cast<size_t>(w) * static_cast<size_t>(h), 0);
    gfx::Bitmap target(w, h, w * 4, gfx::PixelFormat::Format32bppPArgb,
                       reinterpret_cast<uint8_t*>(pixels_.data()));
    {
        gfx::Graphics g(&target);
        g.FillRectangle(gfx::SolidBrush(gfx::Color(0xFF767676)), 0.0f, 0.0f, float(w), float(h));
        g.FillRectangle(gfx::SolidBrush(gfx::Color(0xFFFFFFE1)), 1.0f, 1.0f, float(w - 2),
                        float(h - 2));
        std::unique_ptr<gfx::Font> font = HintFont();
        g.DrawString(text_.str(), *font,
                     gfx::RectF(float(HintPadding), float(HintPadding), float(w), float(h)),
                     nullptr, gfx::SolidBrush(gfx::Color(0xFF000000)));
        g.Flush();
    }
    for (const TRect& r : GetUpdateRects(this))
        PresentBuffer(this, pixels_.data(), w, h, w * 4, r);
}

void HintPointerMoved(TWinControl* target, TPoint client) {
    THintState& state = State();
    if (state.shownFor) {
        if (state.shownFor == target && state.shownRect.Contains(client))
            return;
        state.Hide();
    }
    state.pending = target;
    state.pendingPos = client;
    // Every move restarts the pause: the hint waits for the pointer to rest.
    state.pause.SetEnabled(false);
    state.pause.SetEnabled(target != nullptr);
}

void CancelHint() {
    THintState& state = State();
    state.pending = nullptr;
    state.pause.SetEnabled(false);
    state.Hide();
}

THintWindow* ShownHint() {
    THintState& state = State();
    return state.shownFor && state.window && state.window->Visible() ? state.window : nullptr;
}
