// The shapes in streams: the category registration, a text-form scene of all fifteen classes
// that loads, writes back and reloads equal, and what each class leaves out as default.
#include "scene/core/Sg_objects.h"
#include "scene/core/Sg_scene.h"
#include "scene/core/Sg_scene_registry.h"

#include "platform/rtl/MemoryStream.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

const char* const kShapeClasses[] = {
    "TsgLine",          "TsgRectangle", "TsgSidesRectangle", "TsgBlurRectangle", "TsgRoundRect",
    "TsgBlurRoundRect", "TsgEllipse",   "TsgCircle",         "TsgArc",           "TsgPie",
    "TsgEatenPie",      "TsgText",      "TsgPath",           "TsgImage",         "TsgPaintBox",
};

struct ShapeStreams : ::testing::Test {
    void SetUp() override {
        RegisterSgSceneUnit();
        RegisterSgObjectsUnit();
    }
};

std::string Written(TsgObject& o) {
    TStringStream out;
    o.SaveToStream(out);
    return out.DataString().c_str();
}

TEST_F(ShapeStreams, CategoryShapesHoldsTheFifteenClasses) {
    ASSERT_NE(ObjectList, nullptr);
    // Other tests of this program may add their own classes to the category.
    const std::set<std::string> ours(std::begin(kShapeClasses), std::end(kShapeClasses));
    std::vector<std::string> found;
    for (int i = 0; i < ObjectList->Count(); ++i) {
        const std::string name =
            static_cast<const TClassInfo*>(ObjectList->Objects(i))->ClassName().c_str();
        if (ObjectList->Strings(i) == u"Shapes" && ours.count(name))
            found.push_back(name);
    }
    // The sorted category list keeps a category's classes newest first.
    EXPECT_EQ(found,
              std::vector<std::string>(std::rbegin(kShapeClasses), std::rend(kShapeClasses)));
    for (const char* name : kShapeClasses) {
        const TClassInfo* info = GetClass(name);
        ASSERT_NE(info, nullptr) << name;
        ASSERT_TRUE(info->CreateComponent) << name;
        TComponent* made = info->CreateComponent(nullptr);
        EXPECT_EQ(made->ClassName(), AnsiString(name));
        delete made;
    }
}

// One object of every class, each with properties off their defaults.
const char* const kScene = R"(object Root: TsgRectangle
  Width = 400
  Height = 300
  object Line: TsgLine
    Width = 100
    Height = 1
    StrokeDash = sgDashDot
    StrokeThickness = 2
    LineType = sgLineHorizontal
  end
  object Rect: TsgRectangle
    Fill.Color = '#FF102030'
    xRadius = 4
    yRadius = 6
    Corners = [sgCornerTopLeft, sgCornerBottomRight]
    CornerType = sgCornerBevel
  end
  object Sides: TsgSidesRectangle
    Sides = []
  end
  object Blur: TsgBlurRectangle
    Softness = 0.5
  end
  object Round: TsgRoundRect
    Corners = [sgCornerTopRight]
  end
  object BlurRound: TsgBlurRoundRect
    Softness = 0.2
  end
  object Ell: TsgEllipse
    Stroke.Style = sgBrushNone
  end
  object Circle: TsgCircle
    StrokeCap = sgCapRound
    StrokeJoin = sgJoinRound
  end
  object Arc: TsgArc
    StartAngle = 45
    EndAngle = 180
  end
  object Pie: TsgPie
    StartAngle = 10
  end
  object Eaten: TsgEatenPie
    Width = 80
    BitePerc = 0.3
    ManualHintRect.Rect = '(1,2,30,40)'
  end
  object Caption: TsgText
    AutoSize = True
    Font.Size = 14
    HorzTextAlign = sgTextAlignNear
    Text = 'Instalacja'
    WordWrap = False
  end
  object Star: TsgPath
    Data.Data = 'M 50,0 L 61,35 98,35 68,57 79,91 50,70 21,91 32,57 2,35 39,35 Z'
    WrapMode = sgPathFit
  end
  object Picture: TsgImage
    WrapMode = sgImageTile
    DisableInterpolation = True
  end
  object Box: TsgPaintBox
  end
end
)";

TEST_F(ShapeStreams, SceneOfAllFifteenClassesLoadsWritesBackAndReloadsEqual) {
    TMemoryStream in;
    in.Write(kScene, int(std::char_traits<char>::length(kScene)));
    in.SetPosition(0);
    TsgRectangle root(nullptr);
    root.LoadFromStream(in);
    ASSERT_EQ(root.ChildrenCount(), 15);
    for (int i = 0; i < 15; ++i)
        EXPECT_EQ(std::string(root.GetChild(i)->ClassName().c_str()), kShapeClasses[i]);
    const std::string first = Written(root);

    TMemoryStream again;
    again.Write(first.data(), int(first.size()));
    again.SetPosition(0);
    TsgRectangle copy(nullptr);
    copy.LoadFromStream(again);
    EXPECT_EQ(Written(copy), first);

    // What the values turned into.
    auto* sides = dynamic_cast<TsgSidesRectangle*>(copy.GetChild(2));
    ASSERT_NE(sides, nullptr);
    EXPECT_EQ(sides->Sides(), 0);
    auto* rect = dynamic_cast<TsgRectangle*>(copy.GetChild(1));
    EXPECT_EQ(rect->Corners(), sgCornerTopLeft | sgCornerBottomRight);
    EXPECT_EQ(rect->CornerType(), sgCornerBevel);
    auto* eaten = dynamic_cast<TsgEatenPie*>(copy.GetChild(10));
    EXPECT_FLOAT_EQ(eaten->BiteWidth(), 24);
    EXPECT_EQ(eaten->ManualHintRect()->Rect(), (TsgRect{1, 2, 30, 40}));
    auto* text = dynamic_cast<TsgText*>(copy.GetChild(11));
    EXPECT_EQ(text->Text().ToUtf8(), "Instalacja");
    EXPECT_FALSE(text->WordWrap());
    EXPECT_TRUE(text->AutoSize());
    auto* star = dynamic_cast<TsgPath*>(copy.GetChild(12));
    EXPECT_EQ(star->Data()->PathData.size(), 11u);
    EXPECT_EQ(star->WrapMode(), sgPathFit);
}

TEST_F(ShapeStreams, DefaultsStayOutOfTheStream) {
    TsgRectangle r(nullptr);
    EXPECT_EQ(Written(r).find("StrokeThickness"), std::string::npos);
    r.SetStrokeThickness(2);
    EXPECT_NE(Written(r).find("StrokeThickness = 2"), std::string::npos);
    EXPECT_EQ(Written(r).find("Corners"), std::string::npos);

    TsgSidesRectangle sides(nullptr);
    EXPECT_EQ(Written(sides).find("Sides ="), std::string::npos);
    sides.SetSides(0);
    EXPECT_NE(Written(sides).find("Sides = []"), std::string::npos);

    TsgArc arc(nullptr);
    EXPECT_EQ(Written(arc).find("Fill"), std::string::npos);
    EXPECT_EQ(Written(arc).find("Angle"), std::string::npos);
    TsgText text(nullptr);
    EXPECT_EQ(Written(text).find("Fill"), std::string::npos);
    EXPECT_EQ(Written(text).find("Stroke"), std::string::npos); // not published by the text
    TsgLine line(nullptr);
    EXPECT_EQ(Written(line).find("Fill"), std::string::npos);
    EXPECT_EQ(TsgLine::StaticClassInfo().FindProperty("Fill"), nullptr);
    TsgImage image(nullptr);
    EXPECT_NE(Written(image).find("WrapMode = sgImageFit"), std::string::npos); // always
    EXPECT_NE(Written(image).find("Bitmap.PNG"), std::string::npos);
}

TEST_F(ShapeStreams, ImagePictureTravelsAsPng) {
    TsgImage image(nullptr);
    image.Bitmap()->SetSize(3, 2);
    image.Bitmap()->SetPixels(1, 1, 0xFF00FF00);
    TStringStream out;
    image.SaveToStream(out);
    out.SetPosition(0);
    TsgImage copy(nullptr);
    copy.LoadFromStream(out);
    EXPECT_EQ(copy.Bitmap()->Width(), 3);
    EXPECT_EQ(copy.Bitmap()->GetPixels(1, 1), 0xFF00FF00u);
    EXPECT_EQ(copy.Bitmap()->GetPixels(0, 0), 0u);
}

} // namespace
