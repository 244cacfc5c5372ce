// Trees through the component streams: text form in, clone, text form out and back, with every
// property kept and every name dropped; and the stream entry points' failure paths.
#include "SceneTestClasses.h"

#include "platform/classes/ObjectText.h"
#include "platform/classes/Writer.h"
#include "platform/rtl/MemoryStream.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <optional>

namespace {

std::vector<AnsiString> Names(const char* const* names, size_t count) {
    return std::vector<AnsiString>(names, names + count);
}

struct Streams : ::testing::Test {
    void SetUp() override {
        RegisterSgSceneUnit();
        RegisterClass(TsgTestShape::StaticClassInfo());
        RegisterClass(TsgTestAnimation::StaticClassInfo());
    }
};

const char* const kTree = R"(object Main: TsgTestShape
  Width = 200
  Height = 100
  Position.Point = '(10,20)'
  RotateAngle = 30
  Opacity = 0.5
  Enabled = False
  Align = vaClient
  Padding.Rect = '(2,2,2,2)'
  ResourceName = 'panel'
  Fill.Color = '#FFC04040'
  Stroke.Style = sgBrushGradient
  Stroke.Gradient.Points = <
    item
      Color = '#FF000000'
    end
    item
      Color = '#FFFF0000'
      Offset = 0.5
    end>
  Font.Family = 'Arial'
  Font.Size = 12
  Font.Style = sgFontBoldItalic
  Font.ClearType = False
  Path.Data = 'M 0,0 L 10.5,20 C 1,2 3,4 5,6 Z'
  object Inner: TsgTestShape
    Width = 20
    Height = 10
    Scale.Point = '(2,3)'
    BindingName = 'inner'
    Fill.Style = sgBrushNone
    Stroke.Style = sgBrushResource
    Stroke.Resource.ResourceName = 'edge'
    object Leaf: TsgTestAnimation
      Trigger = 'IsMouseOver=true'
    end
  end
  object Second: TsgObject
    ResourceName = 'second'
  end
end
)";

AnsiString TextOf(TsgObject* o) {
    TStringStream out;
    o->SaveToStream(out);
    return out.DataString();
}

TEST_F(Streams, TreeLoadsClonesAndRoundTripsWithEveryProperty) {
    TStringStream text{AnsiString(kTree)};
    std::unique_ptr<TsgObject> root(CreateObjectFromStream(nullptr, text));
    ASSERT_NE(root, nullptr);
    auto* main = dynamic_cast<TsgTestShape*>(root.get());
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(main->Name().IsEmpty());
    EXPECT_FLOAT_EQ(main->Width(), 200);
    EXPECT_EQ(main->Position()->Point(), (TsgPoint{10, 20}));
    EXPECT_FLOAT_EQ(main->Opacity(), 0.5f);
    EXPECT_FALSE(main->Enabled());
    EXPECT_EQ(main->Align(), vaClient);
    EXPECT_EQ(main->Padding()->Rect(), (TsgRect{2, 2, 2, 2}));
    EXPECT_EQ(main->Fill()->SolidColor(), 0xFFC04040u);
    EXPECT_EQ(main->Stroke()->Gradient()->Points()->Count(), 2);
    EXPECT_EQ(main->Stroke()->Gradient()->Points()->Points(1)->IntColor(), 0xFFFF0000u);
    EXPECT_EQ(main->Font()->Family(), UnicodeString(u"Arial"));
    EXPECT_EQ(main->Font()->Style(), sgFontBoldItalic);
    EXPECT_EQ(main->Path()->PathData.size(), 6u);
    ASSERT_EQ(main->ChildrenCount(), 2);
    auto* inner = dynamic_cast<TsgTestShape*>(main->GetChild(0));
    ASSERT_NE(inner, nullptr);
    EXPECT_TRUE(inner->Name().IsEmpty());
    EXPECT_EQ(inner->Parent(), main);
    EXPECT_EQ(main->FindBinding(u"inner"), inner);
    EXPECT_EQ(inner->Stroke()->Resource()->ResourceName(), UnicodeString(u"edge"));
    EXPECT_EQ(inner->ChildrenCount(), 1);
    EXPECT_EQ(main->FindResource(u"SECOND"), main->GetChild(1));

    const AnsiString first = TextOf(main);
    std::unique_ptr<TsgObject> clone(main->Clone(nullptr));
    EXPECT_EQ(clone->Parent(), nullptr);
    EXPECT_EQ(TextOf(clone.get()), first);

    TStringStream again{first};
    std::unique_ptr<TsgObject> reloaded(CreateObjectFromStream(nullptr, again));
    ASSERT_NE(reloaded, nullptr);
    EXPECT_EQ(TextOf(reloaded.get()), first);
    // Derived state agrees as well as the streamed values.
    auto* shape = static_cast<TsgTestShape*>(reloaded.get());
    EXPECT_EQ(shape->AbsoluteMatrix(), main->AbsoluteMatrix());
    EXPECT_EQ(static_cast<TsgVisualObject*>(shape->GetChild(0))->AbsoluteRect(),
              inner->AbsoluteRect());
}

TEST_F(Streams, SavingKeepsTheSourceNamesAndNoNamesBlanksChildren) {
    TComponent owner(nullptr);
    auto* root = new TsgObject(&owner);
    root->SetName("Root");
    auto* child = new TsgObject(&owner);
    child->SetName("Child");
    root->AddObject(child);
    TStringStream withNames, noNames, binary;
    root->SaveToStream(withNames);
    root->SaveToStreamNoNames(noNames);
    root->SaveToBinStream(binary);
    EXPECT_EQ(root->Name(), AnsiString("Root"));
    EXPECT_EQ(child->Name(), AnsiString("Child"));
    EXPECT_EQ(withNames.DataString().Pos("object TsgObject"), 1);
    EXPECT_GT(withNames.DataString().Pos("Child: TsgObject"), 0);
    EXPECT_EQ(noNames.DataString().Pos("Child"), 0);
    std::unique_ptr<TsgObject> clone(root->Clone(nullptr));
    EXPECT_EQ(root->Name(), AnsiString("Root"));
    EXPECT_TRUE(clone->Name().IsEmpty());
}

TEST_F(Streams, LoadIntoAnExistingObjectKeepsItsOwnNameAndTheNestedOnes) {
    TComponent owner(nullptr);
    TsgObject target(&owner);
    target.SetName("Target");
    TStringStream text{AnsiString("object X: TsgObject\n  ResourceName = 'r'\n"
                                  "  object Y: TsgObject\n    object Z: TsgObject\n    end\n"
                                  "  end\nend\n")};
    target.LoadFromStream(text);
    EXPECT_EQ(target.Name(), AnsiString("Target"));
    EXPECT_EQ(target.ResourceName(), UnicodeString(u"r"));
    ASSERT_EQ(target.ChildrenCount(), 1);
    EXPECT_EQ(target.GetChild(0)->Name(), AnsiString("Y"));
    ASSERT_EQ(target.GetChild(0)->ChildrenCount(), 1);
    EXPECT_EQ(target.GetChild(0)->GetChild(0)->Name(), AnsiString("Z"));
    EXPECT_EQ(target.FindComponent("Z"), target.GetChild(0)->GetChild(0));
}

TEST_F(Streams, ZeroSizeSurvivesSaveLoadAndClone) {
    TsgVisualObject flat(nullptr);
    flat.SetWidth(0);
    flat.SetHeight(0);
    const AnsiString text = TextOf(&flat);
    EXPECT_GT(text.Pos("Width = 0"), 0) << text.str();
    TStringStream in{text};
    std::unique_ptr<TsgObject> loaded(CreateObjectFromStream(nullptr, in));
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->Visual()->Width(), 0);
    EXPECT_EQ(loaded->Visual()->Height(), 0);
    std::unique_ptr<TsgObject> clone(flat.Clone(nullptr));
    EXPECT_EQ(clone->Visual()->Width(), 0);
    EXPECT_EQ(clone->Visual()->Height(), 0);
}

// Fills a binary stream of a visual object whose RotateAngle holds a double.
void WriteAngleStream(TStream& binary, double angle) {
    TWriter writer(binary);
    writer.WriteSignature();
    writer.WriteStr("TsgVisualObject");
    writer.WriteStr("");
    writer.WritePropName("RotateAngle");
    writer.WriteDouble(angle);
    writer.WritePropName("ResourceName");
    writer.WriteString(u"after");
    writer.WriteListEnd();
    writer.WriteListEnd();
}

TEST_F(Streams, FloatsASinglePropertyCannotHoldAreSkipped) {
    for (double angle : {1e300, -1e39, std::numeric_limits<double>::quiet_NaN(),
                         std::numeric_limits<double>::infinity()}) {
        SCOPED_TRACE(angle);
        TBytesStream binary;
        WriteAngleStream(binary, angle);
        binary.SetPosition(0);
        std::unique_ptr<TsgObject> made(CreateObjectFromBinStream(nullptr, binary));
        ASSERT_NE(made, nullptr);
        EXPECT_EQ(made->Visual()->RotateAngle(), 0);
        EXPECT_EQ(made->ResourceName(), UnicodeString(u"after"));
    }
    TBytesStream fine;
    WriteAngleStream(fine, 45.5);
    fine.SetPosition(0);
    std::unique_ptr<TsgObject> made(CreateObjectFromBinStream(nullptr, fine));
    EXPECT_FLOAT_EQ(made->Visual()->RotateAngle(), 45.5f);
}

TEST_F(Streams, TolerantLoadsTraceWhatTheySkipWhenAsked) {
    const char* text = "object X: TsgVisualObject\n  Unknown = 5\n  Height = 7\n"
                       "  object Y: TNoSuchClass\n  end\nend\n";
    for (bool tracing : {false, true}) {
        SCOPED_TRACE(tracing);
        testsupport::ScopedEnv trace{"DBI_TRACE",
                                     tracing ? std::optional<std::string>("1") : std::nullopt};
        TStringStream in{AnsiString(text)};
        ::testing::internal::CaptureStderr();
        std::unique_ptr<TsgObject> root(CreateObjectFromStream(nullptr, in));
        const std::string log = ::testing::internal::GetCapturedStderr();
        ASSERT_NE(root, nullptr);
        EXPECT_FLOAT_EQ(root->Visual()->Height(), 7);
        EXPECT_EQ(log.find("Unknown") != std::string::npos, tracing) << log;
        EXPECT_EQ(log.find("TNoSuchClass") != std::string::npos, tracing) << log;
    }
}

// Publishes the corner and side sets as shapes and rectangles do.
class TsgTestFrame : public TsgVisualObject {
    DBI_PERSISTENT(TsgTestFrame, TsgVisualObject)

    explicit TsgTestFrame(TComponent* AOwner) : TsgVisualObject(AOwner) {}
    TsgCorners Corners() const { return FCorners; }
    void SetCorners(TsgCorners V) { FCorners = V; }
    TsgSides Sides() const { return FSides; }
    void SetSides(TsgSides V) { FSides = V; }

private:
    TsgCorners FCorners = AllCorners;
    TsgSides FSides = AllSides;
};

DBI_PUBLISH(TsgTestFrame) {
    p.Set("Corners", &TsgTestFrame::Corners, &TsgTestFrame::SetCorners,
          Names(sgCornerNames, std::size(sgCornerNames)), AllCorners);
    p.Set("Sides", &TsgTestFrame::Sides, &TsgTestFrame::SetSides,
          Names(sgSideNames, std::size(sgSideNames)), AllSides);
}

TEST_F(Streams, CornerAndSideSetsAreStreamedByTheirMembersNames) {
    RegisterClass(TsgTestFrame::StaticClassInfo());
    TStringStream in{AnsiString("object X: TsgTestFrame\n"
                                "  Corners = [sgCornerTopLeft, sgCornerBottomRight]\n"
                                "  Sides = [sgSideTop, sgSideRight]\nend\n")};
    std::unique_ptr<TsgObject> made(CreateObjectFromStream(nullptr, in));
    ASSERT_NE(made, nullptr);
    auto* frame = static_cast<TsgTestFrame*>(made.get());
    EXPECT_EQ(frame->Corners(), sgCornerTopLeft | sgCornerBottomRight);
    EXPECT_EQ(frame->Sides(), sgSideTop | sgSideRight);
    const AnsiString text = TextOf(frame);
    EXPECT_GT(text.Pos("Corners = [sgCornerTopLeft, sgCornerBottomRight]"), 0) << text.str();
    EXPECT_GT(text.Pos("Sides = [sgSideTop, sgSideRight]"), 0) << text.str();
}

TEST_F(Streams, FormLoadsKeepNames) {
    TComponent form(nullptr);
    TsgObject root(&form);
    TStringStream text{AnsiString("object X: TsgObject\n  object Button: TsgObject\n  end\nend\n")};
    TMemoryStream binary;
    ObjectTextToBinary(text, binary);
    binary.SetPosition(0);
    root.LoadFromBinStreamKeepNames(binary);
    ASSERT_EQ(root.ChildrenCount(), 1);
    EXPECT_EQ(root.GetChild(0)->Name(), AnsiString("Button"));
}

TEST_F(Streams, WithAnOwnerNestedObjectsBecomeComponentsOfThatOwner) {
    TComponent owner(nullptr);
    TStringStream text{AnsiString(kTree)};
    TsgObject* root = CreateObjectFromStream(&owner, text);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->Owner(), &owner);
    ASSERT_EQ(root->ChildrenCount(), 2);
    EXPECT_EQ(root->GetChild(0)->Owner(), &owner);
    EXPECT_EQ(root->GetChild(1)->Owner(), &owner);
    // The nested text is split again, so the animation inside it is the owner's too.
    EXPECT_EQ(root->GetChild(0)->ChildrenCount(), 1);
    EXPECT_EQ(root->GetChild(0)->GetChild(0)->Owner(), &owner);
    EXPECT_EQ(owner.ComponentCount(), 4);
}

struct BadStream {
    const char* name;
    const char* text;
};

class BadStreams : public Streams, public ::testing::WithParamInterface<BadStream> {};

TEST_P(BadStreams, GiveNullptrAndLeakNothing) {
    const int before = ResourceCount();
    for (TComponent* owner : {static_cast<TComponent*>(nullptr), new TComponent(nullptr)}) {
        TStringStream text{AnsiString(GetParam().text)};
        EXPECT_EQ(CreateObjectFromStream(owner, text), nullptr);
        delete owner;
    }
    EXPECT_EQ(ResourceCount(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadStreams,
    ::testing::Values(BadStream{"UnknownRoot", "object X: TNoSuchClass\nend\n"},
                      BadStream{"NotAnObject", "object X: TsgBounds\nend\n"},
                      BadStream{"Truncated", "object X: TsgObject\n  Tag = 1\n"},
                      BadStream{"Garbage", "\x01\x02 not a stream"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Streams, UnknownNestedClassesAndPropertiesAreSkipped) {
    TStringStream text{AnsiString("object X: TsgVisualObject\n  Unknown = 5\n  Width = 'wide'\n"
                                  "  Height = 7\n  ResourceName = 'kept'\n"
                                  "  object Y: TNoSuchClass\n    Z = 1\n  end\n"
                                  "  object W: TsgObject\n  end\nend\n")};
    std::unique_ptr<TsgObject> root(CreateObjectFromStream(nullptr, text));
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->ResourceName(), UnicodeString(u"kept"));
    EXPECT_FLOAT_EQ(root->Visual()->Width(), 50); // a value of the wrong kind is skipped
    EXPECT_FLOAT_EQ(root->Visual()->Height(), 7);
    EXPECT_EQ(root->ChildrenCount(), 1);
}

TEST_F(Streams, BinaryEntryPointAndLoadObject) {
    TsgObject source(nullptr);
    source.SetResourceName(u"bin");
    TMemoryStream binary;
    source.SaveToBinStream(binary);
    binary.SetPosition(0);
    std::unique_ptr<TsgObject> made(CreateObjectFromBinStream(nullptr, binary));
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->ResourceName(), UnicodeString(u"bin"));
    TMemoryStream junk;
    junk.WriteBuffer("TPF0\x05", 5);
    junk.SetPosition(0);
    EXPECT_EQ(CreateObjectFromBinStream(nullptr, junk), nullptr);

    TsgObject target(nullptr);
    TStringStream text{AnsiString("object X: TsgObject\n  BindingName = 'b'\nend\n")};
    EXPECT_EQ(LoadObjectFromStream(&target, text), &target);
    EXPECT_EQ(target.BindingName(), UnicodeString(u"b"));
    TStringStream broken{AnsiString("object")};
    EXPECT_EQ(LoadObjectFromStream(&target, broken), nullptr);
}

TEST_F(Streams, SplitCutsTopLevelObjectsOnlyAndIgnoresCollectionItems) {
    TStringStream text{AnsiString(kTree)};
    std::unique_ptr<TStringStream> root;
    std::vector<std::unique_ptr<TStringStream>> parts;
    SplitObjectsInStream(text, root, parts);
    ASSERT_NE(root, nullptr);
    ASSERT_EQ(parts.size(), 2u);
    const AnsiString rootText = root->DataString();
    EXPECT_GT(rootText.Pos("Offset = 0.5"), 0);
    EXPECT_EQ(rootText.Pos("object TsgTestShape"), 0);
    const AnsiString first = parts[0]->DataString();
    EXPECT_GT(first.Pos("object TsgTestShape"), 0);
    EXPECT_GT(first.Pos("object TsgTestAnimation"), 0); // the nested one stays inside
    EXPECT_EQ(first.Pos("Inner"), 0);                   // names removed
    EXPECT_GT(parts[1]->DataString().Pos("object TsgObject"), 0);
}

TEST_F(Streams, CloneChildFromStreamMovesTheStyleChildrenLocked) {
    TComponent owner(nullptr);
    auto* target = new TsgVisualObject(&owner);
    auto* old = new TsgObject(&owner);
    target->AddObject(old);
    TStringStream text{AnsiString("object X: TsgVisualObject\n  Width = 80\n"
                                  "  object A: TsgVisualObject\n  end\n"
                                  "  object B: TsgObject\n  end\nend\n")};
    target->CloneChildFromStream(text);
    ASSERT_EQ(target->ChildrenCount(), 2);
    auto* a = target->GetChild(0)->Visual();
    ASSERT_NE(a, nullptr);
    EXPECT_TRUE(a->Locked());
    EXPECT_FALSE(a->Stored());
    EXPECT_FALSE(target->GetChild(1)->Stored());
}

} // namespace
