// A canvas that draws nothing and logs every drawing call with its arguments, and a scene that
// hands it to its objects: the shape tests compare what a figure asks the canvas for.
#pragma once

#include "scene/core/Sg_bitmap.h"
#include "scene/core/Sg_scene_canvas.h"
#include "scene/core/Sg_scene_offscreen.h"
#include "scene/core/Sg_scene_visual.h"

#include <cstdio>
#include <string>
#include <vector>

inline std::string Num(float v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%g", double(v));
    return buf;
}

inline std::string RectText(const TsgRect& r) {
    return "(" + Num(r.Left) + "," + Num(r.Top) + "," + Num(r.Right) + "," + Num(r.Bottom) + ")";
}

class RecordingCanvas : public TsgCanvas {
public:
    RecordingCanvas() : TsgCanvas(100, 100) {}

    std::vector<std::string> Log;
    // Copies of the paths handed to FillPath / DrawPath, in call order.
    std::vector<std::vector<TsgPathPoint>> Paths;
    // What MeasureText answers: this many units per character, one line of LineHeight.
    float CharWidth = 7;
    float LineHeight = 13;
    bool PathHit = true;

    void Clear() {
        Log.clear();
        Paths.clear();
    }

    uint32_t SaveCanvas() override {
        Log.push_back("Save");
        return 1;
    }
    void RestoreCanvas(uint32_t) override { Log.push_back("Restore"); }
    void SetClipRects(const std::vector<TsgRect>&) override { Log.push_back("SetClipRects"); }
    void IntersectClipRect(const TsgRect& r) override { Log.push_back("Clip" + RectText(r)); }
    void ExcludeClipRect(const TsgRect& r) override { Log.push_back("Exclude" + RectText(r)); }
    void ResetClipRect() override { Log.push_back("ResetClip"); }
    void MultyMatrix(const TsgMatrix& m) override {
        Log.push_back("MultyMatrix(" + Num(m.m11) + "," + Num(m.m22) + ")");
    }

    void DrawLine(const TsgPoint& a, const TsgPoint& b, float o) override {
        Log.push_back("DrawLine(" + Num(a.X) + "," + Num(a.Y) + "," + Num(b.X) + "," + Num(b.Y) +
                      ") o" + Num(o));
    }
    void FillRect(const TsgRect& r, float rx, float ry, TsgCorners c, float o,
                  TsgCornerType t) override {
        Log.push_back("FillRect" + Rect(r, rx, ry, c, o, t));
    }
    void DrawRect(const TsgRect& r, float rx, float ry, TsgCorners c, float o,
                  TsgCornerType t) override {
        Log.push_back("DrawRect" + Rect(r, rx, ry, c, o, t));
    }
    void FillEllipse(const TsgRect& r, float o) override {
        Log.push_back("FillEllipse" + RectText(r) + " o" + Num(o));
    }
    void DrawEllipse(const TsgRect& r, float o) override {
        Log.push_back("DrawEllipse" + RectText(r) + " o" + Num(o));
    }
    bool PtInPath(const TsgPoint& p, const TsgRect& r, TsgPathData* path) override {
        Log.push_back("PtInPath(" + Num(p.X) + "," + Num(p.Y) + ")" + RectText(r));
        Paths.push_back(path->PathData);
        return PathHit;
    }
    void FillPath(TsgPathData* path, const TsgRect& r, float o) override {
        Log.push_back("FillPath" + RectText(r) + " o" + Num(o));
        Paths.push_back(path->PathData);
    }
    void DrawPath(TsgPathData* path, const TsgRect& r, float o) override {
        Log.push_back("DrawPath" + RectText(r) + " o" + Num(o));
        Paths.push_back(path->PathData);
    }
    void DrawBitmap(TsgBitmap* b, const TsgRect& src, const TsgRect& dst, float o,
                    bool fast) override {
        Log.push_back("DrawBitmap" + std::to_string(b->Width()) + "x" +
                      std::to_string(b->Height()) + RectText(src) + "->" + RectText(dst) + " o" +
                      Num(o) + (fast ? " fast" : ""));
    }
    void DrawThumbnail(TsgBitmap*, float, float) override { Log.push_back("DrawThumbnail"); }
    void FillText(const TsgRect& r, const TsgRect& clip, const UnicodeString& text, bool wrap,
                  float o, TsgTextAlign h, TsgTextAlign v) override {
        Log.push_back("FillText" + RectText(r) + RectText(clip) + " '" + text.ToUtf8() + "'" +
                      (wrap ? " wrap" : "") + " o" + Num(o) + " h" + std::to_string(h) + " v" +
                      std::to_string(v));
    }
    void MeasureText(TsgRect& r, const TsgRect&, const UnicodeString& text, bool wrap, TsgTextAlign,
                     TsgTextAlign) override {
        Log.push_back(std::string("MeasureText") + RectText(r) + (wrap ? " wrap" : ""));
        r.Right = r.Left + CharWidth * float(text.Length());
        r.Bottom = r.Top + LineHeight;
    }
    bool TextToPath(TsgPathData*, const TsgRect&, const UnicodeString&, bool, TsgTextAlign,
                    TsgTextAlign) override {
        return false;
    }

private:
    static std::string Rect(const TsgRect& r, float rx, float ry, TsgCorners c, float o,
                            TsgCornerType t) {
        return RectText(r) + " r" + Num(rx) + "," + Num(ry) + " c" + std::to_string(c) + " o" +
               Num(o) + " t" + std::to_string(t);
    }
};

// An off-screen scene whose objects paint into a recording canvas.
class RecordingScene : public TsgOffscreenScene {
public:
    RecordingScene() : TsgOffscreenScene(nullptr, 1, 1) {}
    TsgCanvas* GetCanvas() override { return &Canvas; }
    bool GetDesignTime() override { return DesignTime; }

    // Paints the object the way the scene's painting does, without its children.
    std::vector<std::string> PaintOnce(TsgVisualObject* O) {
        Canvas.Clear();
        O->BeforePaint();
        O->Paint();
        O->AfterPaint();
        return Canvas.Log;
    }

    RecordingCanvas Canvas;
    bool DesignTime = false;
};
