// TsgCanvas: the toolkit's drawing surface. It holds the drawing state (brushes, stroke, font,
// matrix, saved states), owns an optional off-screen buffer of Width x Height premultiplied
// $AARRGGBB words (rows top-down, no gaps) and declares the drawing operations; a concrete class
// (Sg_canvas_gdip.h) binds a real surface to the buffer or to a bitmap's pixels.
//
// Coordinates are world coordinates mapped by the current world transform; AOpacity (0..1)
// multiplies the alpha of the brush colours; fills use Fill, outlines Stroke with the stroke
// settings; a brush of style sgBrushNone draws nothing.
#pragma once

#include "scene/core/Sg_scene_brush.h"
#include "scene/core/Sg_scene_font.h"
#include "scene/core/Sg_scene_path.h"
#include "scene/core/Sg_scene_types.h"

#include "platform/classes/Persistent.h"
#include "platform/ui/Messages.h"

#include <cstdint>
#include <memory>
#include <vector>

class TStream;
class TsgBitmap;
class TsgCanvas;

enum TsgTextAlign { sgTextAlignCenter = 0, sgTextAlignNear = 1, sgTextAlignFar = 2 };
enum TsgStrokeCap { sgCapFlat = 0, sgCapRound = 1 };
enum TsgStrokeJoin { sgJoinMiter = 0, sgJoinRound = 1, sgJoinBevel = 2 };
enum TsgStrokeDash {
    sgDashSolid = 0,
    sgDashDash = 1,
    sgDashDot = 2,
    sgDashDashDot = 3,
    sgDashDashDotDot = 4,
    sgDashCustom = 5,
};

// A canvas class, as scenes and bitmaps instantiate it.
struct TsgCanvasClassInfo {
    const char* Name;
    std::unique_ptr<TsgCanvas> (*Create)(int AWidth, int AHeight);
    std::unique_ptr<TsgCanvas> (*CreateFromBitmap)(TsgBitmap* ABitmap);
    // Row y of the bitmap's pixels, nullptr outside it.
    uint32_t* (*GetBitmapScanline)(TsgBitmap* Bitmap, int y);
};
using TsgCanvasClass = const TsgCanvasClassInfo*;

// The classes in use; empty until the canvas unit's start-up (RegisterSgCanvasGdiPlus).
extern TsgCanvasClass DefaultCanvasClass;
extern TsgCanvasClass DefaultPrinterCanvasClass;

// One saved drawing state; Index $FFFFFFFF marks a free slot.
struct TsgSaveData {
    uint32_t Index = 0xFFFFFFFF;
    TsgMatrix Matrix{};
    TsgMatrix AbsoluteMatrix{};
    TsgMatrix InvertMatrix{};
    std::unique_ptr<TsgBrush> Fill;
    std::unique_ptr<TsgBrush> Stroke;
    float StrokeThickness = 0;
    TsgStrokeCap StrokeCap = sgCapFlat;
    TsgStrokeJoin StrokeJoin = sgJoinMiter;
    TsgStrokeDash StrokeDash = sgDashSolid;
    std::vector<float> Dash;
    float DashOffset = 0;
    std::unique_ptr<TsgFont> Font;
};
using TsgSaveDataArray = std::vector<TsgSaveData>;

class TsgCanvas : public TPersistent {
public:
    ~TsgCanvas() override;
    TsgCanvas(const TsgCanvas&) = delete;
    TsgCanvas& operator=(const TsgCanvas&) = delete;

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    const TsgMatrix& Matrix() const { return FMatrix; }
    TsgBrush* Fill() const { return FFill.get(); }
    TsgBrush* Stroke() const { return FStroke.get(); }
    TsgFont* Font() const { return FFont.get(); }
    float StrokeThickness = 0;
    TsgStrokeCap StrokeCap = sgCapFlat;
    TsgStrokeJoin StrokeJoin = sgJoinMiter;
    TsgStrokeDash StrokeDash() const { return FStrokeDash; }
    void SetStrokeDash(TsgStrokeDash Value);
    void SetCustomDash(const std::vector<float>& Dash, float Offset);
    const std::vector<float>& Dash() const { return FDash; }
    float DashOffset() const { return FDashOffset; }

    // Frames.
    virtual bool BeginScene() { return true; }
    virtual void EndScene() {}

    // The buffer.
    bool Buffered() const { return FBuffered; }
    uint32_t* BufferBits() const { return FBufferBits; }
    bool Resized() const { return FResized; }
    void ClearResized() { FResized = false; }
    // Copies the buffer (or the integer rectangle around ARect) to the window at (X, Y).
    virtual void FlushBuffer(int X, int Y, HWND Wnd);
    virtual void FlushBufferRect(int X, int Y, HWND Wnd, const TsgRect& ARect);
    virtual void FreeBuffer();
    // An unchanged size returns at once, keeping the pixels; 0 or less becomes 1.
    virtual void ResizeBuffer(int AWidth, int AHeight);
    void Clear(TsgColor Color);
    void ClearRect(const TsgRect& ARect, TsgColor AColor);
    void SaveToStream(TStream& S);
    void SaveToBits(uint32_t* Bits);
    // Copies the buffer into a TsgBitmap (sized to the canvas); any other target raises the
    // platform's assignment error.
    void AssignTo(TPersistent* Dest) override;

    // World transform.
    virtual void SetMatrix(const TsgMatrix& M) { FMatrix = M; }
    virtual void MultyMatrix(const TsgMatrix&) {}

    // Saved states and clipping.
    virtual uint32_t SaveCanvas() = 0;
    virtual void RestoreCanvas(uint32_t AState) = 0;
    virtual void SetClipRects(const std::vector<TsgRect>& ARects) = 0;
    virtual void IntersectClipRect(const TsgRect& ARect) = 0;
    virtual void ExcludeClipRect(const TsgRect& ARect) = 0;
    virtual void ResetClipRect() = 0;

    // Drawing.
    virtual void DrawLine(const TsgPoint& APt1, const TsgPoint& APt2, float AOpacity) = 0;
    virtual void FillRect(const TsgRect& ARect, float xRadius, float yRadius, TsgCorners ACorners,
                          float AOpacity, TsgCornerType ACornerType = sgCornerRound) = 0;
    virtual void DrawRect(const TsgRect& ARect, float xRadius, float yRadius, TsgCorners ACorners,
                          float AOpacity, TsgCornerType ACornerType = sgCornerRound) = 0;
    virtual void FillEllipse(const TsgRect& ARect, float AOpacity) = 0;
    virtual void DrawEllipse(const TsgRect& ARect, float AOpacity) = 0;
    virtual bool PtInPath(const TsgPoint& APoint, const TsgRect& ARect, TsgPathData* APath) = 0;
    virtual void FillPath(TsgPathData* APath, const TsgRect& ARect, float AOpacity) = 0;
    virtual void DrawPath(TsgPathData* APath, const TsgRect& ARect, float AOpacity) = 0;
    virtual void DrawBitmap(TsgBitmap* ABitmap, const TsgRect& SrcRect, const TsgRect& DstRect,
                            float AOpacity, bool HighSpeed = false) = 0;
    virtual void DrawThumbnail(TsgBitmap* ABitmap, float Width, float Height) = 0;
    virtual void FillPolygon(const TsgPolygon& Points, float AOpacity);
    virtual void DrawPolygon(const TsgPolygon& Points, float AOpacity);
    void FillArc(const TsgPoint& Center, const TsgPoint& Radius, float StartAngle, float SweepAngle,
                 float AOpacity);
    void DrawArc(const TsgPoint& Center, const TsgPoint& Radius, float StartAngle, float SweepAngle,
                 float AOpacity);
    // Strokes only the sides in ASides; corners in ACorners are shaped by ACornerType.
    void DrawRectSides(const TsgRect& ARect, float xRadius, float yRadius, TsgCorners ACorners,
                       float AOpacity, TsgSides ASides, TsgCornerType ACornerType = sgCornerRound);

    // Text.
    virtual void FontChanged(TObject*) {}
    virtual bool LoadFontFromStream(TStream&) { return false; }
    virtual void FillText(const TsgRect& ARect, const TsgRect& AClipRect,
                          const UnicodeString& AText, bool WordWrap, float AOpacity,
                          TsgTextAlign ATextAlign,
                          TsgTextAlign AVTextAlign = sgTextAlignCenter) = 0;
    virtual void MeasureText(TsgRect& ARect, const TsgRect& AClipRect, const UnicodeString& AText,
                             bool WordWrap, TsgTextAlign ATextAlign,
                             TsgTextAlign AVTextAlign = sgTextAlignCenter) = 0;
    virtual bool TextToPath(TsgPathData* Path, const TsgRect& ARect, const UnicodeString& AText,
                            bool WordWrap, TsgTextAlign ATextAlign,
                            TsgTextAlign AVTextAlign = sgTextAlignCenter) = 0;
    float TextWidth(const UnicodeString& AText);
    float TextHeight(const UnicodeString& AText);

    // Written and read by the scene host only.
    HWND SceneWnd = nullptr;

protected:
    // The drawing state of every constructor; no buffer is made here (a concrete class sets
    // FBuffered and sizes the buffer itself, since a base constructor cannot reach its
    // overrides).
    TsgCanvas(int AWidth, int AHeight);
    // Pending drawing into the buffer is finished before the toolkit touches its words, and the
    // surface is told afterwards.
    virtual void BeginBufferAccess() {}
    virtual void EndBufferAccess() {}

    int FWidth = 0;
    int FHeight = 0;
    TsgMatrix FMatrix{};
    std::unique_ptr<TsgBrush> FFill;
    std::unique_ptr<TsgBrush> FStroke;
    TsgStrokeDash FStrokeDash = sgDashSolid;
    std::vector<float> FDash;
    float FDashOffset = 0;
    std::unique_ptr<TsgFont> FFont;
    TsgBitmap* FBitmap = nullptr;
    bool FResized = false;
    TsgSaveDataArray FSaveData;
    bool FBuffered = false;
    uint32_t* FBufferBits = nullptr;

private:
    std::vector<uint32_t> FBufferStore;
};
