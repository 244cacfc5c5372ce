// Text, image, path and paint-box shapes against the recording canvas: text sizing and
// stretching, the image's wrap modes and nine-part frame, the path's wrap modes, and the paint
// box's handler.
#include "RecordingCanvas.h"

#include "scene/core/Sg_objects.h"
#include "scene/core/Sg_scene.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

namespace {

using Log = std::vector<std::string>;

size_t Count(const Log& log, const std::string& prefix) {
    return size_t(std::count_if(log.begin(), log.end(),
                                [&](const std::string& s) { return s.rfind(prefix, 0) == 0; }));
}

struct Content : ::testing::Test {
    void SetUp() override { RegisterSgObjectsUnit(); }
    template <class T>
    T* Add(float w, float h) {
        auto* o = new T(&scene);
        o->SetWidth(w);
        o->SetHeight(h);
        scene.AddObject(o);
        return o;
    }
    RecordingScene scene;
};

// Counts repaints and layouts of the text.
class CountingText : public TsgText {
public:
    explicit CountingText(TComponent* AOwner) : TsgText(AOwner) {}
    int repainted = 0;
    void Repaint() override {
        ++repainted;
        TsgText::Repaint();
    }
};

class CountingParent : public TsgVisualObject {
public:
    explicit CountingParent(TComponent* AOwner) : TsgVisualObject(AOwner) {}
    int realigned = 0;
    void Realign() override { ++realigned; }
};

TEST_F(Content, TextPaintsWithItsAlignmentsAndWrap) {
    auto* t = Add<TsgText>(120, 30);
    t->SetText(u"Kopiowanie");
    t->SetHorzTextAlign(sgTextAlignNear);
    t->SetOpacity(0.5f);
    EXPECT_EQ(scene.PaintOnce(t),
              Log{"FillText(0,0,120,30)(0,0,120,30) 'Kopiowanie' wrap o0.5 h1 v0"});
    t->SetWordWrap(false);
    t->SetVertTextAlign(sgTextAlignFar);
    EXPECT_EQ(scene.PaintOnce(t), Log{"FillText(0,0,120,30)(0,0,120,30) 'Kopiowanie' o0.5 h1 v2"});
}

TEST_F(Content, StretchedTextIsScaledToFillTheObject) {
    auto* t = Add<TsgText>(140, 26);
    t->Font()->SetSize(9);
    t->SetText(u"abcde"); // measured 35 x 13
    t->SetStretch(true);
    EXPECT_EQ(scene.PaintOnce(t), (Log{"MeasureText(0,0,1000,1000)", "MultyMatrix(4,2)",
                                       "FillText(-3,-3,38,16)(-3,-3,38,16) 'abcde' o1 h0 v0"}));
}

TEST_F(Content, AutoSizeFollowsTheMeasuredText) {
    auto* parent = new CountingParent(&scene);
    scene.AddObject(parent);
    auto* t = new TsgText(&scene);
    parent->AddObject(t);
    t->Font()->SetSize(10);
    t->SetText(u"abc");
    EXPECT_EQ(t->Width(), 50); // AutoSize off: the size stays
    EXPECT_EQ(t->Height(), 50);

    parent->realigned = 0;
    t->SetWordWrap(false);
    t->SetAutoSize(true);
    EXPECT_FLOAT_EQ(t->Width(), 5 + 21); // Font.Size / 2 + the measured right edge
    EXPECT_EQ(t->Height(), 50);          // centred vertically: the height stays
    EXPECT_EQ(parent->realigned, 1);
    t->SetVertTextAlign(sgTextAlignNear);
    t->SetText(u"abcd");
    EXPECT_FLOAT_EQ(t->Width(), 5 + 28);
    EXPECT_FLOAT_EQ(t->Height(), 13);

    // With word wrap the width stays and the measuring rectangle is the object's width.
    t->SetWordWrap(true);
    scene.Canvas.Clear();
    t->SetText(u"abcdef");
    EXPECT_EQ(scene.Canvas.Log, Log{"MeasureText(0,0,33,1000) wrap"});
    EXPECT_FLOAT_EQ(t->Width(), 33);

    // An empty text changes no size and does not lay out the parent.
    parent->realigned = 0;
    t->SetText(u"");
    EXPECT_FLOAT_EQ(t->Height(), 13);
    EXPECT_EQ(parent->realigned, 0);
}

TEST_F(Content, TextWithoutSceneKeepsItsSize) {
    TsgText t(nullptr);
    t.SetAutoSize(true);
    t.SetWordWrap(false);
    t.SetText(u"abc");
    EXPECT_EQ(t.Width(), 50);
    EXPECT_EQ(t.GetData().ToUtf8(), "abc");
    t.SetData(u"xyz");
    EXPECT_EQ(t.Text().ToUtf8(), "xyz");
}

TEST_F(Content, StretchTurnsAutoSizeOffAndSameTextRepaintsOnce) {
    CountingText t(nullptr);
    t.SetAutoSize(true);
    t.SetStretch(true);
    EXPECT_FALSE(t.AutoSize());
    t.SetStretch(false);
    EXPECT_FALSE(t.AutoSize());
    t.repainted = 0;
    t.SetText(u"abc");
    t.SetText(u"abc");
    EXPECT_EQ(t.repainted, 1);
}

TsgBitmap* SizedBitmap(TsgImage* image, int w, int h) {
    image->Bitmap()->SetSize(w, h);
    image->Bitmap()->Clear(0xFF336699);
    return image->Bitmap();
}

TEST_F(Content, ImageTilesRoundedCountsPlusOneClippedToTheObject) {
    struct Case {
        int bw, bh;
        size_t columns, rows;
    };
    for (const Case c : {Case{30, 15, 4, 4}, Case{30, 20, 4, 3}, Case{100, 50, 2, 2}}) {
        auto* image = Add<TsgImage>(100, 50);
        SizedBitmap(image, c.bw, c.bh);
        image->SetWrapMode(sgImageTile);
        const Log log = scene.PaintOnce(image);
        EXPECT_EQ(Count(log, "DrawBitmap"), c.columns * c.rows) << c.bw << "x" << c.bh;
        EXPECT_EQ(log[1], "Clip(0,0,100,50)");
        EXPECT_EQ(log.back(), "Restore");
    }
    auto* image = Add<TsgImage>(100, 50);
    SizedBitmap(image, 30, 15);
    image->SetWrapMode(sgImageTile);
    const Log log = scene.PaintOnce(image);
    EXPECT_EQ(log[2], "DrawBitmap30x15(0,0,30,15)->(0,0,30,15) o1 fast");
    EXPECT_EQ(log[3], "DrawBitmap30x15(0,0,30,15)->(0,15,30,30) o1 fast");
    EXPECT_EQ(log[log.size() - 2], "DrawBitmap30x15(0,0,30,15)->(90,45,120,60) o1 fast");
}

TEST_F(Content, ImageTilesNothingBeyondAnyPicturesReach) {
    auto* image = Add<TsgImage>(1e7f, 1e7f); // a million tiles each way
    SizedBitmap(image, 1, 1);
    image->SetWrapMode(sgImageTile);
    EXPECT_EQ(scene.PaintOnce(image), Log{});
    image->SetWidth(-40); // a negative size has no tile at all
    image->SetHeight(10);
    EXPECT_EQ(scene.PaintOnce(image), Log{});
}

TEST_F(Content, ImageNinePartFrame) {
    auto* image = Add<TsgImage>(100, 40);
    SizedBitmap(image, 20, 20);
    image->BitmapMargins()->SetRect({5, 5, 5, 5});
    const Log log = scene.PaintOnce(image);
    const Log expected = {
        "DrawBitmap20x20(0,0,5,5)->(0,0,5,5) o1 fast",
        "DrawBitmap20x20(5,0,15,5)->(5,0,95,5) o1 fast",
        "DrawBitmap20x20(15,0,20,5)->(95,0,100,5) o1 fast",
        "DrawBitmap20x20(0,5,5,15)->(0,5,5,35) o1 fast",
        "DrawBitmap20x20(5,5,15,15)->(5,5,95,35) o1 fast",
        "DrawBitmap20x20(15,5,20,15)->(95,5,100,35) o1 fast",
        "DrawBitmap20x20(0,15,5,20)->(0,35,5,40) o1 fast",
        "DrawBitmap20x20(5,15,15,20)->(5,35,95,40) o1 fast",
        "DrawBitmap20x20(15,15,20,20)->(95,35,100,40) o1 fast",
    };
    EXPECT_EQ(log, expected);
}

TEST_F(Content, ImageWrapModes) {
    auto* image = Add<TsgImage>(100, 100);
    SizedBitmap(image, 10, 10);
    // Fit never enlarges; interpolated unless disabled.
    EXPECT_EQ(scene.PaintOnce(image), Log{"DrawBitmap10x10(0,0,10,10)->(45,45,55,55) o1"});
    SizedBitmap(image, 400, 200);
    EXPECT_EQ(scene.PaintOnce(image), Log{"DrawBitmap400x200(0,0,400,200)->(0,25,100,75) o1"});
    image->SetDisableInterpolation(true);
    image->SetWrapMode(sgImageStretch);
    EXPECT_EQ(scene.PaintOnce(image), Log{"DrawBitmap400x200(0,0,400,200)->(0,0,100,100) o1 fast"});
    image->SetWrapMode(sgImageOriginal);
    EXPECT_EQ(scene.PaintOnce(image),
              (Log{"Save", "Clip(0,0,100,100)",
                   "DrawBitmap400x200(0,0,400,200)->(0,0,400,200) o1 fast", "Restore"}));
}

TEST_F(Content, ImageDesignFrameAtDesignTimeUnlessLocked) {
    auto* image = Add<TsgImage>(20, 10);
    scene.DesignTime = true;
    Log log = scene.PaintOnce(image);
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0], "DrawRect(0.5,0.5,19.5,9.5) r0,0 c15 o1 t0");
    EXPECT_EQ(scene.Canvas.StrokeDash(), sgDashSolid);
    image->SetLocked(true);
    EXPECT_EQ(scene.PaintOnce(image).size(), 1u);
}

TEST_F(Content, ImageDataIsTheBitmapOrAFileName) {
    auto* image = Add<TsgImage>(20, 10);
    TsgBitmap other(3, 2);
    image->Bitmap()->Assign(&other);
    EXPECT_EQ(image->GetData(), ObjectToVariant(image->Bitmap()));
    // A bitmap is no live component: its text is refused and the picture stays as it was.
    EXPECT_THROW(image->SetData(ObjectToVariant(&other)), EConvertError);
    EXPECT_EQ(image->Bitmap()->Width(), 3);
    image->SetData(u"/nonexistent/picture.png"); // a missing file leaves the bitmap as it was
    EXPECT_EQ(image->Bitmap()->Width(), 3);
    const std::string file = ::testing::TempDir() + "image-data.png";
    TsgBitmap saved(5, 4);
    ASSERT_TRUE(saved.SaveToFile(UnicodeString(file)));
    image->SetData(UnicodeString(file)); // a file name loads the picture
    EXPECT_EQ(image->Bitmap()->Width(), 5);
    std::remove(file.c_str());
}

TEST_F(Content, PathWrapModes) {
    auto* path = Add<TsgPath>(100, 50);
    path->Data()->SetPathString("M 10,10 L 30,10 L 30,20 Z"); // bounds 20 x 10
    const TsgRect bounds = path->Data()->GetBounds();
    ASSERT_EQ(bounds, (TsgRect{10, 10, 30, 20}));
    EXPECT_EQ(scene.PaintOnce(path),
              (Log{"FillPath(0.5,0.5,99.5,49.5) o1", "DrawPath(0.5,0.5,99.5,49.5) o1"}));
    path->SetWrapMode(sgPathFit); // fitted, never enlarged, centred in the shape rectangle
    EXPECT_EQ(scene.PaintOnce(path)[0], "FillPath(40.5,20.5,60.5,30.5) o1");
    path->SetWrapMode(sgPathOriginal);
    EXPECT_EQ(scene.PaintOnce(path),
              (Log{"Save", "Clip(0,0,100,50)", "FillPath(10.5,10.5,30.5,20.5) o1",
                   "DrawPath(10.5,10.5,30.5,20.5) o1", "Restore"}));
    path->SetWrapMode(sgPathTile);
    const Log tiles = scene.PaintOnce(path);
    // Round(100 / 20) + 1 columns, Round(50 / 10) + 1 rows, each a fill and a stroke.
    EXPECT_EQ(Count(tiles, "FillPath"), 6u * 6u);
    EXPECT_EQ(tiles[2], "FillPath(10.5,10.5,30.5,20.5) o1");
    EXPECT_EQ(tiles[4], "FillPath(10.5,21.5,30.5,31.5) o1"); // next row: 10 + 2 x 0.5 lower
}

TEST_F(Content, PathTileWithoutTileSizeDrawsNothing) {
    auto* path = Add<TsgPath>(100, 50);
    // A path of nothing but a close has no extent: its bounds are turned inside out.
    path->Data()->PathData.push_back({sgPathPointClose, {}});
    path->SetWrapMode(sgPathTile);
    EXPECT_EQ(scene.PaintOnce(path), Log{});
    path->Data()->Clear();
    path->SetWrapMode(sgPathStretch);
    EXPECT_EQ(scene.PaintOnce(path), Log{}); // an empty path draws nothing
}

TEST_F(Content, PathHitTest) {
    auto* path = Add<TsgPath>(100, 50);
    path->Data()->MoveTo({0, 0});
    // One point: the rectangle test.
    scene.Canvas.PathHit = false;
    EXPECT_TRUE(path->PointInObject(10, 10));
    EXPECT_TRUE(scene.Canvas.Log.empty());
    path->Data()->LineTo({10, 10});
    EXPECT_FALSE(path->PointInObject(10, 10));
    EXPECT_EQ(scene.Canvas.Log, Log{"PtInPath(10,10)(0.5,0.5,99.5,49.5)"});
    // At design time the whole rectangle picks the object.
    scene.DesignTime = true;
    EXPECT_TRUE(path->PointInObject(10, 10));
    EXPECT_FALSE(path->PointInObject(0, 10));
}

struct PaintRecorder {
    int calls = 0;
    TObject* sender = nullptr;
    TsgCanvas* canvas = nullptr;
    void OnPaint(TObject* Sender, TsgCanvas* Canvas) {
        ++calls;
        sender = Sender;
        canvas = Canvas;
    }
};

TEST_F(Content, PaintBoxHandsItsCanvasToTheHandler) {
    auto* box = Add<TsgPaintBox>(20, 20);
    EXPECT_EQ(scene.PaintOnce(box), Log{}); // without a handler nothing is drawn
    PaintRecorder recorder;
    box->SetOnPaint(TsgPaintEvent::Bind<&PaintRecorder::OnPaint>(&recorder));
    scene.PaintOnce(box);
    EXPECT_EQ(recorder.calls, 1);
    EXPECT_EQ(recorder.sender, box);
    EXPECT_EQ(recorder.canvas, &scene.Canvas);
}

} // namespace
