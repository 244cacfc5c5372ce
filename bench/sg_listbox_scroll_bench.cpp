// Scrolling a list box one page at a time with 100,000 items against the same list box with
// 1,000 items, in one run: each step moves the bar by the viewport's height and repaints the
// scene. Each round measures both lists, one after the other, so that a busy machine weighs on
// both alike; the median of the rounds' ratios is the result. Prints the median time per page of
// both and that ratio; the long list should cost no more than 2 times the short one.
//
//   sg_listbox_scroll_bench [rounds]
#include "scene/controls/Sg_layouts.h"
#include "scene/controls/Sg_listbox.h"
#include "scene/core/Sg_canvas_gdip.h"
#include "scene/core/Sg_objects.h"
#include "scene/core/Sg_scene.h"
#include "scene/core/Sg_scene_offscreen.h"
#include "scene/core/Sg_scene_resourceobjects.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

void RegisterSgObjectsUnit();

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 420;
constexpr int kPages = 40;

TsgScrollBar* Bar(const char16_t* Name, TsgAlign Align, bool Vertical) {
    auto* bar = new TsgScrollBar(nullptr);
    bar->SetResourceName(Name);
    bar->SetAlign(Align);
    bar->SetBounds(0, 0, Vertical ? 14 : 100, Vertical ? 100 : 14);
    if (Vertical)
        bar->SetOrientation(sgVertical);
    return bar;
}

// The list's style: a frame, two bars and the viewport; the item's: a text part.
std::unique_ptr<TsgObject> ListStyle() {
    auto* root = new TsgRectangle(nullptr);
    root->SetResourceName(u"benchlistboxstyle");
    root->SetBounds(0, 0, 120, 120);
    root->Fill()->SetSolidColor(0xFFFFFFFF);
    root->Stroke()->SetSolidColor(0xFFA9B0BA);
    root->SetHitTest(false);
    auto* selection = new TsgBrushObject(nullptr);
    selection->SetResourceName(u"selection");
    selection->Brush()->SetSolidColor(0xFFB9D3F3);
    root->AddObject(selection);
    root->AddObject(Bar(u"vscrollbar", vaRight, true));
    root->AddObject(Bar(u"hscrollbar", vaBottom, false));
    auto* content = new TsgContent(nullptr);
    content->SetResourceName(u"content");
    content->SetAlign(vaClient);
    content->SetHitTest(false);
    root->AddObject(content);
    return std::unique_ptr<TsgObject>(root);
}

std::unique_ptr<TsgObject> ItemStyle() {
    auto* root = new TsgLayout(nullptr);
    root->SetResourceName(u"benchlistitemstyle");
    root->SetBounds(0, 0, 100, 19);
    auto* text = new TsgText(nullptr);
    text->SetResourceName(u"text");
    text->SetAlign(vaClient);
    text->SetHitTest(false);
    text->Fill()->SetSolidColor(0xFF1F2328);
    root->AddObject(text);
    return std::unique_ptr<TsgObject>(root);
}

struct Setup {
    std::unique_ptr<TsgOffscreenScene> scene;
    TsgListBox* list = nullptr;
};

Setup Build(int Items) {
    Setup s;
    s.scene = std::make_unique<TsgOffscreenScene>(nullptr, kWidth, kHeight);
    s.list = new TsgListBox(nullptr);
    s.list->SetResource(u"benchlistboxstyle");
    s.list->SetAnimated(false);
    s.scene->AddObject(s.list);
    s.list->SetBounds(0, 0, kWidth, kHeight);
    s.list->ApplyResource();
    s.list->BeginUpdate();
    for (int i = 0; i < Items; ++i) {
        auto* item = new TsgListBoxItem(nullptr);
        item->SetText(UnicodeString::FromUtf8("Catalogue entry " + std::to_string(i + 1)));
        // Added first, the item takes its style when it is first shown.
        s.list->AddObject(item);
        item->SetResource(u"benchlistitemstyle");
    }
    s.list->EndUpdate();
    s.scene->InvalidateAll();
    s.scene->PaintScene(0xFFFFFFFF);
    return s;
}

// Milliseconds per page over `Rounds` passes down the first kPages pages and back.
double ScrollPages(Setup& S, int Rounds) {
    TsgScrollBar* bar = S.list->VScrollBar();
    const float page = S.list->ContentLayout()->Height();
    int steps = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int r = 0; r < Rounds; ++r)
        for (int p = 0; p < 2 * kPages; ++p) {
            const int at = p < kPages ? p + 1 : 2 * kPages - p - 1;
            bar->SetValue(at * page);
            S.scene->PaintScene(0xFFFFFFFF);
            ++steps;
        }
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    return took.count() / steps;
}

double Median(std::vector<double> Values) {
    std::sort(Values.begin(), Values.end());
    const size_t n = Values.size();
    return n % 2 ? Values[n / 2] : (Values[n / 2 - 1] + Values[n / 2]) / 2;
}

} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    RegisterSgSceneUnit();
    RegisterSgObjectsUnit();
    RegisterSgControlsUnit();
    RegisterSgScrollBoxUnit();
    RegisterSgListBoxUnit();
    InitSgCanvasUnit();
    auto listStyle = ListStyle();
    auto itemStyle = ItemStyle();

    Setup shortList = Build(1000);
    Setup longList = Build(100000);
    // The first pass styles the rows it meets; both lists are measured warm.
    ScrollPages(shortList, 1);
    ScrollPages(longList, 1);
    std::vector<double> shortMs, longMs, ratios;
    for (int r = 0; r < rounds; ++r) {
        shortMs.push_back(ScrollPages(shortList, 1));
        longMs.push_back(ScrollPages(longList, 1));
        ratios.push_back(longMs.back() / shortMs.back());
    }
    std::printf("list box, one page scrolled and repainted (median of %d rounds):\n", rounds);
    std::printf("  1,000 items:   %.3f ms\n", Median(shortMs));
    std::printf("  100,000 items: %.3f ms\n", Median(longMs));
    const double ratio = Median(ratios);
    std::printf("ratio: %.2f (target at most 2.0) %s\n", ratio, ratio <= 2.0 ? "ok" : "SLOW");
    delete longList.list;
    delete shortList.list;
    return 0;
}
