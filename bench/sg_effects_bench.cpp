// Effects in steady state and the cost of the blur against its radius, each against a reference
// measured in the same run.
//
// 1. The render tool's sample scene with a shadow on four objects and a glow on two, repainted
//    without any change between frames, against the same scene without effects. Cached effect
//    pictures cost one bitmap draw each, so the ratio should stay at or below 1.3.
// 2. Blur of a 660 x 516 picture at radius 20 against radius 2: the running tent sums make the
//    cost independent of the radius, so the ratio should stay at or below 1.5.
//
//   sg_effects_bench [frames] [scene.txt]   (default: tools/scenes/sample.txt of the source tree)
#include "scene/core/Sg_ani.h"
#include "scene/core/Sg_bitmap.h"
#include "scene/core/Sg_canvas_gdip.h"
#include "scene/core/Sg_effects.h"
#include "scene/core/Sg_objects.h"
#include "scene/core/Sg_scene.h"
#include "scene/core/Sg_scene_offscreen.h"
#include "scene/core/Sg_scene_preview.h"

#include "platform/rtl/MemoryStream.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <random>
#include <string>

namespace {

constexpr int kWidth = 660;
constexpr int kHeight = 516;

template <class F>
double MillisecondsPer(int count, F&& step) {
    step(); // warm caches (fonts, glyphs, effect pictures)
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < count; ++i)
        step();
    const std::chrono::duration<double, std::milli> spent =
        std::chrono::steady_clock::now() - start;
    return spent.count() / count;
}

std::unique_ptr<TsgOffscreenScene> LoadScene(const std::string& file) {
    auto scene = std::make_unique<TsgOffscreenScene>(nullptr, kWidth, kHeight);
    TMemoryStream text;
    text.LoadFromFile(UnicodeString::FromUtf8(file));
    auto* root = new TsgPreviewShape(scene.get());
    root->LoadFromStream(text);
    scene->AddObject(root);
    return scene;
}

void AddEffects(TsgOffscreenScene* scene) {
    TsgObject* root = scene->Objects().front();
    for (int i = 0; i < root->ChildrenCount(); ++i) {
        TsgObject* child = root->GetChild(i);
        if (!child->Visual())
            continue;
        // Names are dropped on load, so the sample's objects go by position: a glow on the
        // header and the disc, a shadow on the disc, the star, the card and the rotated box.
        if (i == 0 || i == 1) {
            auto* glow = new TsgGlowEffect(scene);
            glow->SetParent(child);
        }
        if (i >= 1 && i <= 5 && i != 4) {
            auto* shadow = new TsgShadowEffect(scene);
            shadow->SetParent(child);
        }
    }
}

// The sample of the source tree: beside this file, or above the build folder of the program.
std::string DefaultScene() {
    namespace fs = std::filesystem;
    const fs::path relative = fs::path("tools") / "scenes" / "sample.txt";
    const fs::path here = fs::path(__FILE__).parent_path() / ".." / relative;
    if (fs::exists(here))
        return here.string();
    std::error_code error;
    for (fs::path dir = fs::read_symlink("/proc/self/exe", error).parent_path();
         !dir.empty() && dir != dir.root_path(); dir = dir.parent_path())
        if (fs::exists(dir / relative))
            return (dir / relative).string();
    return relative.string();
}

void PaintFrame(TsgOffscreenScene* scene) {
    scene->InvalidateAll();
    scene->PaintScene(0xFFFFFFFF);
}

} // namespace

int main(int argc, char** argv) {
    const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100;
    const std::string file = argc > 2 ? argv[2] : DefaultScene();
    RegisterSgSceneUnit();
    RegisterSgAniUnit();
    RegisterSgEffectsUnit();
    RegisterSgObjectsUnit();
    RegisterClass(TsgPreviewShape::StaticClassInfo());
    InitSgCanvasUnit();

    auto plain = LoadScene(file);
    auto effects = LoadScene(file);
    AddEffects(effects.get());

    double withEffects = 0, without = 0;
    constexpr int kRounds = 5;
    for (int round = 0; round < kRounds; ++round) {
        withEffects += MillisecondsPer(frames / kRounds + 1, [&] { PaintFrame(effects.get()); });
        without += MillisecondsPer(frames / kRounds + 1, [&] { PaintFrame(plain.get()); });
    }
    withEffects /= kRounds;
    without /= kRounds;
    std::printf("steady repaint of %s, %d frames per scene\n", file.c_str(), frames);
    std::printf("with effects:    %.3f ms/frame\n", withEffects);
    std::printf("without effects: %.3f ms/frame\n", without);
    std::printf("effects ratio:   %.2f (target <= 1.30)\n", withEffects / without);

    TsgBitmap picture(kWidth, kHeight);
    std::mt19937 rng(1);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            const uint32_t a = rng() & 0xFF;
            const uint32_t c = rng() % (a + 1);
            picture.SetPixels(x, y, a << 24 | c << 16 | c << 8 | c);
        }
    const int blurs = std::max(5, frames / 4);
    double wide = 0, narrow = 0;
    for (int round = 0; round < kRounds; ++round) {
        wide += MillisecondsPer(blurs, [&] { Blur(nullptr, &picture, 20, true); });
        narrow += MillisecondsPer(blurs, [&] { Blur(nullptr, &picture, 2, true); });
    }
    std::printf("Blur %dx%d radius 20: %.3f ms, radius 2: %.3f ms\n", kWidth, kHeight,
                wide / kRounds, narrow / kRounds);
    std::printf("blur ratio:      %.2f (target <= 1.50)\n", wide / narrow);
    return 0;
}
