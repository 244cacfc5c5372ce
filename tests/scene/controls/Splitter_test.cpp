// The splitter: the neighbour found on its aligned side, the size set by the drag between MinSize
// and the room the other side-aligned children leave, and the far edge kept for right and bottom.
#include "ControlsTestSupport.h"

namespace {

using controlstest::TEventLog;

class SplitterTest : public ::testing::Test {
protected:
    void SetUp() override {
        controlstest::RegisterAll();
        root = new TsgVisualObject(&scene);
        scene.AddObject(root);
        root->SetBounds(0, 0, 400, 300);
    }
    TsgVisualObject* Add(TsgAlign align, float size) {
        auto* v = new TsgVisualObject(&scene);
        root->AddObject(v);
        v->SetBounds(0, 0, size, size);
        v->SetAlign(align);
        return v;
    }
    TsgSplitter* AddSplitter(TsgAlign align) {
        auto* s = new TsgSplitter(&scene);
        root->AddObject(s);
        s->SetAlign(align);
        if (align == vaTop || align == vaBottom)
            s->SetHeight(5);
        root->Realign();
        return s;
    }
    // A drag along the splitter's axis by the given distance, in steps.
    // The pointer is given in scene coordinates and turned into the splitter's own at every
    // step, as the scene does: the splitter moves along with the neighbour it resizes.
    void Drag(TsgSplitter* s, float dx, float dy) {
        const TsgPoint start = s->LocalToAbsolute({2, 2});
        s->MouseDown(mbLeft, {}, 2, 2);
        TsgPoint p{};
        for (int i = 1; i <= 4; ++i) {
            p = s->AbsoluteToLocal({start.X + dx * float(i) / 4, start.Y + dy * float(i) / 4});
            s->MouseMove({}, p.X, p.Y, 0, 0);
        }
        s->MouseUp(mbLeft, {}, p.X, p.Y);
        root->Realign();
    }
    TsgOffscreenScene scene{nullptr, 400, 300};
    TsgVisualObject* root = nullptr;
};

} // namespace

TEST_F(SplitterTest, ALeftSplitterSizesItsLeftNeighbourWithinTheLimits) {
    TsgVisualObject* panel = Add(vaLeft, 100);
    TsgVisualObject* right = Add(vaRight, 50);
    TsgSplitter* s = AddSplitter(vaLeft);
    Add(vaClient, 10);
    root->Realign();
    ASSERT_EQ(s->FindObject(), panel);
    TEventLog log;
    s->OnSplitChange = log.Event();
    struct Case {
        float Dx, Width;
    };
    // Room: 400 - MinSize 20 - (100 + 5 + 50) + 100 = 325.
    const Case cases[] = {{30, 130}, {-500, 20}, {500, 325}, {-25, 300}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Dx);
        Drag(s, c.Dx, 0);
        EXPECT_EQ(panel->Width(), c.Width);
        EXPECT_EQ(s->MaxSize(), 325);
        EXPECT_FALSE(s->Pressed());
        EXPECT_EQ(s->SplitControl(), nullptr);
    }
    EXPECT_GE(log.Count, 4);
    EXPECT_EQ(log.Sender, s);
    EXPECT_EQ(right->Width(), 50);
}

TEST_F(SplitterTest, RightAndBottomSplittersKeepTheNeighboursFarEdge) {
    struct Case {
        TsgAlign Align;
        float Dx, Dy, Size;
    };
    const Case cases[] = {{vaRight, -30, 0, 130},
                          {vaRight, 40, 0, 60},
                          {vaBottom, 0, -30, 130},
                          {vaBottom, 0, 40, 60}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Align << " " << c.Dx << "," << c.Dy);
        root->DeleteChildren();
        TsgVisualObject* n = Add(c.Align, 100);
        TsgSplitter* s = AddSplitter(c.Align);
        ASSERT_EQ(s->FindObject(), n);
        const bool h = c.Align == vaRight;
        const float farEdge =
            h ? n->Position()->X() + n->Width() : n->Position()->Y() + n->Height();
        Drag(s, c.Dx, c.Dy);
        EXPECT_EQ(h ? n->Width() : n->Height(), c.Size);
        EXPECT_EQ(h ? n->Position()->X() + n->Width() : n->Position()->Y() + n->Height(), farEdge);
    }
}

TEST_F(SplitterTest, NoQualifyingNeighbourMeansTheDragDoesNothing) {
    struct Case {
        TsgAlign Splitter, Neighbour;
        bool Hidden, Locked;
    };
    const Case cases[] = {
        {vaMostTop, vaMostTop, false, false}, {vaMostBottom, vaMostBottom, false, false},
        {vaLeft, vaTop, false, false},        {vaLeft, vaLeft, true, false},
        {vaLeft, vaLeft, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Splitter << "/" << c.Neighbour);
        root->DeleteChildren();
        TsgVisualObject* n = Add(c.Neighbour, 100);
        n->SetVisible(!c.Hidden);
        n->SetLocked(c.Locked);
        TsgSplitter* s = AddSplitter(c.Splitter);
        const float w = n->Width(), h = n->Height();
        Drag(s, 30, 30);
        EXPECT_EQ(n->Width(), w);
        EXPECT_EQ(n->Height(), h);
    }
    TsgSplitter orphan(nullptr);
    EXPECT_EQ(orphan.FindObject(), nullptr);
}

TEST_F(SplitterTest, ANeighbourFreedDuringTheDragIsForgotten) {
    TsgVisualObject* panel = Add(vaLeft, 100);
    TsgSplitter* s = AddSplitter(vaLeft);
    s->MouseDown(mbLeft, {}, 2, 2);
    ASSERT_EQ(s->SplitControl(), panel);
    panel->Free();
    EXPECT_EQ(s->SplitControl(), nullptr);
    s->MouseMove({}, 40, 2, 0, 0);
    s->MouseUp(mbLeft, {}, 40, 2);
}

TEST_F(SplitterTest, ShowGripShowsTheGripPart) {
    controlstest::UseBuiltSheet();
    auto* s = new TsgSplitter(&scene);
    root->AddObject(s);
    s->ApplyResource();
    TsgObject* grip = s->FindResource("grip");
    ASSERT_NE(grip, nullptr);
    EXPECT_TRUE(grip->Visual()->Visible());
    s->SetShowGrip(false);
    EXPECT_FALSE(grip->Visual()->Visible());
    s->SetShowGrip(true);
    EXPECT_TRUE(grip->Visual()->Visible());
    FreeDefaultStyles();
}
