// Full repaint of a 660 x 516 test scene (rounded rectangles with gradients, strokes, paths,
// bitmaps and text) through the toolkit - object tree, painting code, canvas - against the same
// drawing made directly with cairo and pango in the same run. Prints both times per frame and
// their ratio; the toolkit should cost no more than 1.3 times the direct drawing.
//
//   sg_repaint_bench [frames] [folder]   (with a folder: also writes both pictures there)
#include "scene/core/Sg_canvas_gdip.h"
#include "scene/core/Sg_scene.h"
#include "scene/core/Sg_scene_offscreen.h"
#include "scene/core/Sg_scene_preview.h"

#include "platform/rtl/FileStream.h"

#include <cairo.h>
#include <pango/pangocairo.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 660;
constexpr int kHeight = 516;
constexpr int kColumns = 3;
constexpr int kRows = 4;
constexpr float kCardW = 200, kCardH = 110, kGap = 15, kTop = 40;
const char* const kStar = "M 50,0 L 61,35 98,35 68,57 79,91 50,70 21,91 32,57 2,35 39,35 Z";
const double kStarPoints[][2] = {{50, 0},  {61, 35}, {98, 35}, {68, 57}, {79, 91},
                                 {50, 70}, {21, 91}, {32, 57}, {2, 35},  {39, 35}};

float CardX(int i) {
    return kGap + float(i % kColumns) * (kCardW + kGap);
}
float CardY(int i) {
    return kTop + float(i / kColumns) * (kCardH + kGap);
}

std::string Label(int i) {
    return "Catalogue database " + std::to_string(i + 1);
}

// A 32 x 32 icon with soft edges (premultiplied words), the same for both painters.
std::vector<uint32_t> IconPixels() {
    std::vector<uint32_t> px(32 * 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const double d = std::hypot(x - 15.5, y - 15.5);
            const double a = std::clamp(15.5 - d, 0.0, 1.0);
            const uint32_t A = uint32_t(std::lround(a * 255));
            const uint32_t R = uint32_t(std::lround(a * (40 + 6 * x)));
            const uint32_t G = uint32_t(std::lround(a * 120));
            const uint32_t B = uint32_t(std::lround(a * (200 - 3 * y)));
            px[size_t(y) * 32 + x] = A << 24 | R << 16 | G << 8 | B;
        }
    return px;
}

TsgGradientPoint* Point(TsgGradient* g, int i) {
    return g->Points()->Points(i);
}

void SetGradient(TsgBrush* b, TsgColor top, TsgColor bottom) {
    b->SetStyle(sgBrushGradient);
    Point(b->Gradient(), 0)->SetIntColor(top);
    Point(b->Gradient(), 1)->SetIntColor(bottom);
}

TsgPreviewShape* Shape(TsgOffscreenScene* scene, TsgObject* parent, TsgPreviewKind kind, float x,
                       float y, float w, float h) {
    auto* s = new TsgPreviewShape(scene);
    s->SetKind(kind);
    s->Position()->SetPoint({x, y});
    s->SetWidth(w);
    s->SetHeight(h);
    if (parent)
        parent->AddObject(s);
    return s;
}

// The test scene as an object tree.
TsgPreviewShape* BuildScene(TsgOffscreenScene* scene, const std::vector<uint32_t>& icon) {
    TsgPreviewShape* root = Shape(scene, nullptr, pkRectangle, 0, 0, kWidth, kHeight);
    SetGradient(root->Fill(), 0xFFF4F6FA, 0xFFC9D3E3);
    root->Stroke()->SetStyle(sgBrushNone);
    scene->AddObject(root);
    for (int i = 0; i < kColumns * kRows; ++i) {
        TsgPreviewShape* card = Shape(scene, root, pkRectangle, CardX(i), CardY(i), kCardW, kCardH);
        card->SetXRadius(10);
        card->SetYRadius(10);
        SetGradient(card->Fill(), 0xFFFFFFFF, 0xFFDDE6F3);
        card->Stroke()->SetSolidColor(0xFF3B6FB6);
        card->SetStrokeThickness(2);

        TsgPreviewShape* image = Shape(scene, card, pkImage, 12, 12, 32, 32);
        image->Bitmap()->SetSize(32, 32);
        for (int y = 0; y < 32; ++y)
            std::copy(icon.begin() + y * 32, icon.begin() + (y + 1) * 32,
                      image->Bitmap()->Scanline(y));

        TsgPreviewShape* star = Shape(scene, card, pkPath, 150, 12, 36, 36);
        star->Path()->SetPathString(kStar);
        star->Fill()->SetSolidColor(0xFFF0B030);
        star->Stroke()->SetSolidColor(0xFF805010);
        star->SetStrokeThickness(1);

        TsgPreviewShape* text = Shape(scene, card, pkText, 12, 56, 176, 40);
        text->SetText(UnicodeString::FromUtf8(Label(i)));
        text->SetTextAlign(sgTextAlignNear);
        text->Font()->SetFamily(u"Tahoma");
        text->Font()->SetSize(14);
        text->Fill()->SetSolidColor(0xFF1D3C6B);
    }
    return root;
}

// The same drawing straight onto a cairo surface.
class DirectPainter {
public:
    explicit DirectPainter(const std::vector<uint32_t>& icon) : iconPixels_(icon) {
        surface_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kWidth, kHeight);
        icon_ = cairo_image_surface_create_for_data(
            reinterpret_cast<unsigned char*>(iconPixels_.data()), CAIRO_FORMAT_ARGB32, 32, 32,
            32 * 4);
        cr_ = cairo_create(surface_);
        layout_ = pango_cairo_create_layout(cr_);
        PangoFontDescription* font = pango_font_description_from_string("Tahoma");
        pango_font_description_set_absolute_size(font, 14 * PANGO_SCALE);
        pango_layout_set_font_description(layout_, font);
        pango_font_description_free(font);
        pango_layout_set_width(layout_, 176 * PANGO_SCALE);
        pango_layout_set_wrap(layout_, PANGO_WRAP_WORD);
    }
    ~DirectPainter() {
        g_object_unref(layout_);
        cairo_destroy(cr_);
        cairo_surface_destroy(icon_);
        cairo_surface_destroy(surface_);
    }

    void Save(const std::string& file) { cairo_surface_write_to_png(surface_, file.c_str()); }

    void Frame() {
        cairo_t* cr = cr_;
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        cairo_set_source_rgba(cr, 1, 1, 1, 1);
        cairo_paint(cr);
        cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
        Gradient(0, 0, kWidth, kHeight, 0xF4F6FA, 0xC9D3E3);
        cairo_rectangle(cr, 0, 0, kWidth, kHeight);
        cairo_fill(cr);
        for (int i = 0; i < kColumns * kRows; ++i) {
            const double x = CardX(i), y = CardY(i);
            RoundRect(x + 1, y + 1, kCardW - 2, kCardH - 2, 10);
            Gradient(x + 1, y + 1, kCardW - 2, kCardH - 2, 0xFFFFFF, 0xDDE6F3);
            cairo_fill_preserve(cr);
            cairo_set_source_rgb(cr, 0x3B / 255.0, 0x6F / 255.0, 0xB6 / 255.0);
            cairo_set_line_width(cr, 2);
            cairo_stroke(cr);

            cairo_set_source_surface(cr, icon_, x + 12, y + 12);
            cairo_paint(cr);

            cairo_new_path(cr);
            const double sx = 35.0 / 96, sy = 35.0 / 91;
            for (int p = 0; p < 10; ++p)
                cairo_line_to(cr, x + 150.5 + (kStarPoints[p][0] - 2) * sx,
                              y + 12.5 + kStarPoints[p][1] * sy);
            cairo_close_path(cr);
            cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
            cairo_set_source_rgb(cr, 0xF0 / 255.0, 0xB0 / 255.0, 0x30 / 255.0);
            cairo_fill_preserve(cr);
            cairo_set_source_rgb(cr, 0x80 / 255.0, 0x50 / 255.0, 0x10 / 255.0);
            cairo_set_line_width(cr, 1);
            cairo_stroke(cr);

            const std::string label = Label(i);
            pango_layout_set_text(layout_, label.c_str(), int(label.size()));
            int w = 0, h = 0;
            pango_layout_get_pixel_size(layout_, &w, &h);
            cairo_move_to(cr, x + 12, y + 56 + (40 - h) / 2.0);
            cairo_set_source_rgba(cr, 0x1D / 255.0, 0x3C / 255.0, 0x6B / 255.0, 0.99);
            pango_cairo_show_layout(cr, layout_);
        }
        cairo_surface_flush(surface_);
    }

private:
    void Gradient(double x, double y, double w, double h, uint32_t top, uint32_t bottom) {
        cairo_pattern_t* p = cairo_pattern_create_linear(x, y, x, y + h);
        (void)w;
        cairo_pattern_add_color_stop_rgb(p, 0, (top >> 16 & 255) / 255.0, (top >> 8 & 255) / 255.0,
                                         (top & 255) / 255.0);
        cairo_pattern_add_color_stop_rgb(p, 1, (bottom >> 16 & 255) / 255.0,
                                         (bottom >> 8 & 255) / 255.0, (bottom & 255) / 255.0);
        cairo_set_source(cr_, p);
        cairo_pattern_destroy(p);
    }
    void RoundRect(double x, double y, double w, double h, double r) {
        cairo_new_sub_path(cr_);
        cairo_arc(cr_, x + w - r, y + r, r, -M_PI / 2, 0);
        cairo_arc(cr_, x + w - r, y + h - r, r, 0, M_PI / 2);
        cairo_arc(cr_, x + r, y + h - r, r, M_PI / 2, M_PI);
        cairo_arc(cr_, x + r, y + r, r, M_PI, 3 * M_PI / 2);
        cairo_close_path(cr_);
    }

    std::vector<uint32_t> iconPixels_;
    cairo_surface_t* surface_;
    cairo_surface_t* icon_;
    cairo_t* cr_;
    PangoLayout* layout_;
};

template <class F>
double MillisecondsPerFrame(int frames, F&& frame) {
    frame(); // warm caches (fonts, glyphs, patterns)
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < frames; ++i)
        frame();
    const std::chrono::duration<double, std::milli> spent =
        std::chrono::steady_clock::now() - start;
    return spent.count() / frames;
}

} // namespace

int main(int argc, char** argv) {
    const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    RegisterSgSceneUnit();
    InitSgCanvasUnit();
    const std::vector<uint32_t> icon = IconPixels();

    auto scene = std::make_unique<TsgOffscreenScene>(nullptr, kWidth, kHeight);
    BuildScene(scene.get(), icon);
    DirectPainter direct(icon);

    // Interleaved rounds, so that both see the same machine state.
    double toolkit = 0, reference = 0;
    constexpr int kRounds = 5;
    for (int round = 0; round < kRounds; ++round) {
        toolkit += MillisecondsPerFrame(frames / kRounds + 1, [&] {
            scene->InvalidateAll();
            scene->PaintScene(0xFFFFFFFF);
        });
        reference += MillisecondsPerFrame(frames / kRounds + 1, [&] { direct.Frame(); });
    }
    toolkit /= kRounds;
    reference /= kRounds;
    std::printf("scene %dx%d, %d cards, %d frames per painter\n", kWidth, kHeight, kColumns * kRows,
                frames);
    std::printf("toolkit: %.3f ms/frame\n", toolkit);
    std::printf("cairo:   %.3f ms/frame\n", reference);
    std::printf("ratio:   %.2f (target <= 1.30)\n", toolkit / reference);
    if (argc > 2) {
        const std::string folder = argv[2];
        TFileStream out(UnicodeString::FromUtf8(folder + "/toolkit.png"), fmCreate);
        scene->Canvas()->SaveToStream(out);
        direct.Save(folder + "/cairo.png");
    }
    return 0;
}
