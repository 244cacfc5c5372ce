// A memo with 100,000 lines against the same memo with 1,000, in one run: the cost of scrolling
// one page (Page Down and the repaint it causes) and of typing one character in the middle of
// the text (the key and its repaint). Both should cost at most 2 times more at the larger size:
// layout, scrolling and painting touch the edited paragraph and the lines in view only.
//
//   sg_memo_bench [repeats]
#include "scene/controls/Sg_memo.h"
#include "scene/core/Sg_scene_offscreen.h"
#include "tests/scene/controls/ScrollStyles.h"

#include "platform/ui/Input.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

struct Costs {
    double page = 0;   // ms per Page Down
    double typing = 0; // ms per typed character
};

UnicodeString Text(int lines) {
    std::u16string text;
    for (int i = 0; i < lines; ++i) {
        const std::string line = "Line " + std::to_string(i) + ": the quick brown fox jumps over";
        text.append(line.begin(), line.end());
        if (i + 1 < lines)
            text += u"\r\n";
    }
    return UnicodeString(text);
}

Costs Measure(int lines, int repeats) {
    TsgOffscreenScene scene(nullptr, 420, 320);
    auto* memo = new TsgMemo(nullptr);
    memo->SetResource(u"benchmemostyle");
    memo->SetAnimated(false);
    scene.AddObject(memo);
    memo->SetBounds(0, 0, 400, 300);
    memo->ApplyResource();
    memo->SetText(Text(lines));
    scene.SetFocused(memo);
    memo->EnterFocus();
    scene.InvalidateAll();
    scene.PaintScene(0xFFFFFFFF);

    Costs costs;
    // Runs of pages that stay inside the smaller text, each from the top, so that every press
    // really scrolls.
    constexpr int kRun = 30;
    double total = 0;
    int pages = 0;
    while (pages < repeats) {
        memo->SetCaretPosition({0, 0});
        scene.PaintScene(0xFFFFFFFF);
        const auto start = Clock::now();
        for (int i = 0; i < kRun; ++i, ++pages) {
            uint16_t key = VK_NEXT;
            char16_t ch = 0;
            memo->KeyDown(key, ch, TShiftState());
            scene.PaintScene(0xFFFFFFFF);
        }
        total += std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    }
    costs.page = total / pages;

    memo->SetCaretPosition({lines / 2, 10});
    scene.PaintScene(0xFFFFFFFF);
    const auto start = Clock::now();
    for (int i = 0; i < repeats; ++i) {
        uint16_t key = 0;
        char16_t ch = u'x';
        memo->KeyDown(key, ch, TShiftState());
        scene.PaintScene(0xFFFFFFFF);
    }
    costs.typing =
        std::chrono::duration<double, std::milli>(Clock::now() - start).count() / repeats;
    scene.RemoveObject(memo);
    delete memo;
    return costs;
}

} // namespace

int main(int argc, char** argv) {
    const int repeats = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    RegisterScrollTestUnits();
    RegisterSgMemoUnit();
    auto style = MakeScrollStyle(u"benchmemostyle");
    // Warm the font and glyph caches before either size is measured.
    Measure(1000, repeats / 4 + 1);
    const Costs small = Measure(1000, repeats);
    const Costs large = Measure(100000, repeats);
    std::printf("page down:  %.4f ms at 1,000 lines, %.4f ms at 100,000 lines, ratio %.2f\n",
                small.page, large.page, large.page / small.page);
    std::printf("typing:     %.4f ms at 1,000 lines, %.4f ms at 100,000 lines, ratio %.2f\n",
                small.typing, large.typing, large.typing / small.typing);
    const bool ok = large.page <= 2 * small.page && large.typing <= 2 * small.typing;
    std::printf("%s\n", ok ? "both within 2x" : "over 2x");
    return ok ? 0 : 1;
}
