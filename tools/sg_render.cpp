// Development tool: renders a scene given in the component text form (a tree of visual
// objects) into a PNG through the toolkit's canvas, headless.
//
//   sg_render <scene.txt> <out.png> [--size WxH] [--background #AARRGGBB]
//   sg_render --style NAME <out.png> [--sheet FILE] [--size WxH] [--background #AARRGGBB]
//
// The root object's class must be a visual object known to the toolkit (TsgPreviewShape draws
// the canvas primitives: rectangles, ellipses, lines, paths, text and pictures); below it any of
// the toolkit's shapes may appear. Relative picture
// file names are read from the working folder. The size defaults to the root's Width x Height.
//
// With --style, a control wearing the style NAME of the default style sheet is rendered: the
// sheet is FILE (text or binary form) or else the resource "defaultsgstyle" of the program that
// $DBI_RESOURCE_FILE names (the built installer carries it). The size defaults to the style's
// design size. Objects of classes this build does not have are left out (DBI_TRACE=1 lists them).
// Exit code 0 on success, 1 on bad input, 2 on usage.
#include "scene/core/Sg_ani.h"
#include "scene/core/Sg_canvas_gdip.h"
#include "scene/core/Sg_effects.h"
#include "scene/core/Sg_objects.h"
#include "scene/core/Sg_scene.h"
#include "scene/core/Sg_scene_offscreen.h"
#include "scene/core/Sg_scene_preview.h"

#include "platform/classes/ObjectText.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileStream.h"
#include "platform/rtl/MemoryStream.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

namespace {

int Usage() {
    std::fprintf(stderr,
                 "usage: sg_render <scene.txt> <out.png> [--size WxH] [--background #AARRGGBB]\n"
                 "       sg_render --style NAME <out.png> [--sheet FILE] [--size WxH]"
                 " [--background #AARRGGBB]\n");
    return 2;
}

// The sheet of a file, in either form, as the program's default sheet.
void LoadSheetFile(const char* path) {
    TMemoryStream raw;
    raw.LoadFromFile(UnicodeString::FromUtf8(path));
    TMemoryStream binary;
    if (TestStreamFormat(raw) == sofText)
        ObjectTextToBinary(raw, binary);
    else
        binary.LoadFromStream(raw);
    binary.SetPosition(0);
    FreeDefaultStyles();
    DefaultStyles = CreateObjectFromBinStream(nullptr, binary);
    if (!DefaultStyles)
        throw EReadError(AnsiString("Not a style sheet: ") + path);
}

void Save(TsgOffscreenScene& scene, const char* path) {
    TFileStream out(UnicodeString::FromUtf8(path), fmCreate);
    scene.Canvas()->SaveToStream(out);
}

int RenderStyle(const char* name, const char* out, const char* sheet, int width, int height,
                TsgColor background) {
    if (sheet)
        LoadSheetFile(sheet);
    else if (!LoadDefaultStyles())
        throw EReadError("No default style sheet: give --sheet or set DBI_RESOURCE_FILE");
    const UnicodeString styleName = UnicodeString::FromUtf8(name);
    TsgObject* style = DefaultStyles->FindResource(styleName);
    if (!style)
        throw EReadError(AnsiString("The sheet has no style ") + name);
    TsgVisualObject* visual = style->Visual();
    if (!visual)
        throw EReadError(AnsiString("The style ") + name + " is no visual object");
    if (width == 0) {
        width = std::max(1, static_cast<int>(std::ceil(visual->Width())));
        height = std::max(1, static_cast<int>(std::ceil(visual->Height())));
    }
    auto scene = std::make_unique<TsgOffscreenScene>(nullptr, width, height);
    auto* control = new TsgControl(scene.get());
    scene->AddObject(control);
    control->SetBounds(0, 0, static_cast<float>(width), static_cast<float>(height));
    control->SetResource(styleName);
    if (!control->StyleClone())
        throw EReadError(AnsiString("The style ") + name + " cannot be applied");
    scene->InvalidateAll();
    scene->PaintScene(sgPremultyAlpha(background));
    Save(*scene, out);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3)
        return Usage();
    const bool styleMode = std::strcmp(argv[1], "--style") == 0;
    if (styleMode && argc < 4)
        return Usage();
    const int first = styleMode ? 4 : 3;
    const char* sheet = nullptr;
    int width = 0, height = 0;
    TsgColor background = 0xFFFFFFFF;
    for (int i = first; i < argc; ++i) {
        if (styleMode && std::strcmp(argv[i], "--sheet") == 0 && i + 1 < argc) {
            sheet = argv[++i];
        } else if (std::strcmp(argv[i], "--size") == 0 && i + 1 < argc) {
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
        RegisterSgObjectsUnit();
        InitSgCanvasUnit();
        if (styleMode)
            return RenderStyle(argv[2], argv[3], sheet, width, height, background);

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

        Save(*scene, argv[2]);
    } catch (const Exception& e) {
        std::fprintf(stderr, "sg_render: %s\n", e.what());
        return 1;
    }
    return 0;
}
