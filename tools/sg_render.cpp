// Development tool: renders a scene given in the component text form (a tree of visual
// objects) into a PNG through the toolkit's canvas, headless.
//
//   sg_render <scene.txt> <out.png> [--size WxH] [--background #AARRGGBB]
//
// The root object's class must be a visual object known to the toolkit (TsgPreviewShape draws
// the canvas primitives: rectangles, ellipses, lines, paths, text and pictures). Relative picture
// file names are read from the working folder. The size defaults to the root's Width x Height.
// Exit code 0 on success, 1 on bad input, 2 on usage.
#include "scene/core/Sg_ani.h"
#include "scene/core/Sg_canvas_gdip.h"
#include "scene/core/Sg_effects.h"
#include "scene/core/Sg_scene.h"
#include "scene/core/Sg_scene_offscreen.h"
#include "scene/core/Sg_scene_preview.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileStream.h"
#include "platform/rtl/MemoryStream.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: sg_render <scene.txt> <out.png> [--size WxH] [--background #AARRGGBB]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3)
        return Usage();
    int width = 0, height = 0;
    TsgColor background = 0xFFFFFFFF;
    for (int i = 3; i < argc; ++i) {
        if (std::strcmp(argv[i], "--size") == 0 && i + 1 < argc) {
            if (std::sscanf(argv[++i], "%dx%d", &width, &height) != 2 || width < 1 || height < 1)
                return Usage();
        } else if (std::strcmp(argv[i], "--background") == 0 && i + 1 < argc) {
            background = sgStrToColor(UnicodeString::FromUtf8(argv[++i]));
        } else {
            return Usage();
        }
    }
    try {
        RegisterSgSceneUnit();
        RegisterSgAniUnit();
        RegisterSgEffectsUnit();
        RegisterClass(TsgPreviewShape::StaticClassInfo());
        InitSgCanvasUnit();

        TMemoryStream text;
        text.LoadFromFile(UnicodeString::FromUtf8(argv[1]));
        // The root's size decides the picture's size; read it once into a probe.
        auto probe = std::make_unique<TsgPreviewShape>(nullptr);
        probe->LoadFromStream(text);
        if (width == 0) {
            width = static_cast<int>(std::ceil(probe->Width()));
            height = static_cast<int>(std::ceil(probe->Height()));
        }
        probe.reset();

        auto scene = std::make_unique<TsgOffscreenScene>(nullptr, width, height);
        auto* root = new TsgPreviewShape(scene.get());
        scene->AddObject(root);
        text.SetPosition(0);
        root->LoadFromStream(text);
        scene->InvalidateAll();
        scene->PaintScene(sgPremultyAlpha(background));

        TFileStream out(UnicodeString::FromUtf8(argv[2]), fmCreate);
        scene->Canvas()->SaveToStream(out);
    } catch (const Exception& e) {
        std::fprintf(stderr, "sg_render: %s\n", e.what());
        return 1;
    }
    return 0;
}
