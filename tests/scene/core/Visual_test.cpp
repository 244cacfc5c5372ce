// Visual object geometry: local and absolute matrices, rectangles, opacity, enabled and visible
// states, following the worked examples of the design.
#include "OracleData.h"
#include "SceneTestClasses.h"

#include "platform/rtl/MemoryStream.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <sstream>
#include <vector>

namespace {

void ExpectRectNear(const TsgRect& a, const TsgRect& b, float tol = 1e-4f) {
    EXPECT_NEAR(a.Left, b.Left, tol);
    EXPECT_NEAR(a.Top, b.Top, tol);
    EXPECT_NEAR(a.Right, b.Right, tol);
    EXPECT_NEAR(a.Bottom, b.Bottom, tol);
}

TEST(Visual, RotationTurnsAboutTheCentre) {
    TsgVisualObject v(nullptr);
    v.SetBounds(0, 0, 100, 50);
    v.SetRotateAngle(90);
    ExpectRectNear(v.AbsoluteRect(), {25, -25, 75, 75});
    // The skew is kept but never enters the matrix.
    const TsgMatrix before = v.AbsoluteMatrix();
    v.Skew()->SetPoint({3, 4});
    EXPECT_EQ(v.AbsoluteMatrix(), before);
}

TEST(Visual, NegativeScaleMirrorsLeftOfThePosition) {
    TsgVisualObject v(nullptr);
    v.SetBounds(100, 10, 40, 20);
    v.Scale()->SetPoint({-1, 1});
    ExpectRectNear(v.AbsoluteRect(), {60, 10, 100, 30});
    EXPECT_FLOAT_EQ(v.AbsoluteWidth(), -40);
}

TEST(Visual, AbsoluteMatrixFollowsAncestorsAndNewParents) {
    TsgVisualObject root(nullptr), other(nullptr);
    root.Position()->SetPoint({10, 20});
    root.Scale()->SetPoint({2, 2});
    other.Position()->SetPoint({-5, 0});
    auto* child = new TsgVisualObject(nullptr);
    child->Position()->SetPoint({1, 1});
    root.AddObject(child);
    EXPECT_EQ(child->LocalToAbsolute({0, 0}), (TsgPoint{12, 22}));
    root.Position()->SetX(0);
    EXPECT_EQ(child->LocalToAbsolute({0, 0}), (TsgPoint{2, 22}));
    // A cached matrix read under one parent is not kept under the next.
    other.AddObject(child);
    EXPECT_EQ(child->LocalToAbsolute({0, 0}), (TsgPoint{-4, 1}));
    const TsgPoint back = child->AbsoluteToLocal({-4, 1});
    EXPECT_NEAR(back.X, 0, 1e-6);
    EXPECT_NEAR(back.Y, 0, 1e-6);
    EXPECT_EQ(child->GetAbsoluteScale(), (TsgPoint{1, 1}));
}

// Moving a node reaches every matrix read below it before, however few of its children were
// read and in whatever order, also after children moved to another parent or lost theirs.
TEST(Visual, MovingANodeReachesEveryMatrixReadBelowIt) {
    struct Case {
        const char* what;
        std::vector<int> read; // children whose matrices are read before the move
    };
    const Case cases[] = {
        {"none", {}},
        {"one", {5}},
        {"first and last", {0, 9}},
        {"all", {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
        {"backwards", {9, 4, 2}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TsgVisualObject root(nullptr);
        auto* mid = new TsgVisualObject(nullptr);
        root.AddObject(mid);
        std::vector<TsgVisualObject*> rows;
        for (int i = 0; i < 10; ++i) {
            auto* row = new TsgVisualObject(nullptr);
            row->Position()->SetPoint({0, float(10 * i)});
            auto* part = new TsgVisualObject(nullptr);
            part->Position()->SetPoint({3, 1});
            row->AddObject(part);
            mid->AddObject(row);
            rows.push_back(row);
        }
        for (int i : c.read)
            rows[size_t(i)]->GetChild(0)->Visual()->AbsoluteMatrix();
        mid->Position()->SetPoint({100, -50});
        for (int i = 0; i < 10; ++i)
            EXPECT_EQ(rows[size_t(i)]->GetChild(0)->Visual()->LocalToAbsolute({0, 0}),
                      (TsgPoint{103, float(10 * i - 49)}))
                << i;
        root.Position()->SetPoint({1, 1});
        EXPECT_EQ(rows[9]->LocalToAbsolute({0, 0}), (TsgPoint{101, 41}));
    }
    // A child read under one parent and moved under another follows the new one only; its old
    // parent may go first.
    auto* first = new TsgVisualObject(nullptr);
    TsgVisualObject second(nullptr);
    auto* child = new TsgVisualObject(nullptr);
    first->AddObject(child);
    first->Position()->SetPoint({5, 5});
    EXPECT_EQ(child->LocalToAbsolute({0, 0}), (TsgPoint{5, 5}));
    second.AddObject(child);
    EXPECT_EQ(child->LocalToAbsolute({0, 0}), (TsgPoint{0, 0}));
    delete first;
    second.Position()->SetPoint({7, 0});
    EXPECT_EQ(child->LocalToAbsolute({0, 0}), (TsgPoint{7, 0}));
    // A parent freed before a child it no longer holds.
    TsgVisualObject* orphanParent = new TsgVisualObject(nullptr);
    TsgVisualObject orphan(nullptr);
    orphanParent->AddObject(&orphan);
    orphan.AbsoluteMatrix();
    orphanParent->RemoveObject(&orphan);
    delete orphanParent;
    orphan.Position()->SetPoint({2, 3});
    EXPECT_EQ(orphan.LocalToAbsolute({0, 0}), (TsgPoint{2, 3}));
}

// Chains of three objects whose absolute matrices numpy computed (tests/scene/core/
// gen_object_oracles.py): position, scale, angle, centre, width and height of each level.
TEST(Visual, AbsoluteMatricesMatchTheOracle) {
    for (const std::string& line : OracleLines("visual_matrices.txt")) {
        std::istringstream in(line);
        TsgVisualObject root(nullptr);
        TsgVisualObject* levels[3] = {&root, new TsgVisualObject(nullptr),
                                      new TsgVisualObject(nullptr)};
        root.AddObject(levels[1]);
        levels[1]->AddObject(levels[2]);
        for (TsgVisualObject* v : levels) {
            float px, py, sx, sy, angle, cx, cy, w, h;
            in >> px >> py >> sx >> sy >> angle >> cx >> cy >> w >> h;
            v->SetBounds(px, py, w, h);
            v->Scale()->SetPoint({sx, sy});
            v->RotateCenter()->SetPoint({cx, cy});
            v->SetRotateAngle(angle);
        }
        float expected[9];
        for (float& e : expected)
            in >> e;
        ASSERT_FALSE(in.fail()) << line;
        const TsgMatrix m = levels[2]->AbsoluteMatrix();
        for (int i = 0; i < 9; ++i)
            EXPECT_NEAR((&m.m11)[i], expected[i], 2e-3f + 1e-5f * std::fabs(expected[i]))
                << line << " element " << i;
    }
}

TEST(Visual, OpacityIsClampedAndDefaultIsNotStreamed) {
    RegisterSgSceneUnit();
    TsgVisualObject v(nullptr);
    v.SetOpacity(1.5f);
    EXPECT_FLOAT_EQ(v.Opacity(), 1);
    TStringStream out;
    v.SaveToStream(out);
    EXPECT_EQ(out.DataString().Pos("Opacity"), 0);
    v.SetOpacity(-0.2f);
    EXPECT_FLOAT_EQ(v.Opacity(), 0);
}

TEST(Visual, DisabledSubtreeDarkensBelowItsTop) {
    TComponent form(nullptr);
    auto* scene = new TTestScene(&form);
    auto* root = new TsgVisualObject(&form);
    scene->AddObject(root);
    auto* control = new TsgVisualObject(&form);
    auto* child = new TsgVisualObject(&form);
    auto* grandchild = new TsgVisualObject(&form);
    root->AddObject(control);
    control->AddObject(child);
    child->AddObject(grandchild);
    control->SetOpacity(0.5f);
    grandchild->SetOpacity(0.5f);
    control->SetEnabled(false);
    EXPECT_FLOAT_EQ(control->AbsoluteOpacity(), 0.5f);
    EXPECT_FLOAT_EQ(child->AbsoluteOpacity(), 0.5f * 0.8f);
    EXPECT_FLOAT_EQ(grandchild->AbsoluteOpacity(), 0.5f * 0.8f * 0.5f * 0.8f);
    EXPECT_FALSE(grandchild->AbsoluteEnabled());
    control->SetEnabled(true);
    EXPECT_TRUE(grandchild->AbsoluteEnabled());
    EXPECT_FLOAT_EQ(grandchild->AbsoluteOpacity(), 0.25f);
}

TEST(Visual, DisablingAnAncestorTakesTheFocus) {
    TComponent form(nullptr);
    auto* scene = new TTestScene(&form);
    auto* root = new TsgVisualObject(&form);
    scene->AddObject(root);
    auto* panel = new TsgVisualObject(&form);
    auto* edit = new TsgTestFocusable(&form);
    root->AddObject(panel);
    panel->AddObject(edit);
    edit->TakeFocus();
    EXPECT_TRUE(edit->AbsoluteEnabled());
    panel->SetEnabled(false);
    EXPECT_EQ(scene->GetFocused(), edit);
    EXPECT_FALSE(edit->AbsoluteEnabled());
    EXPECT_EQ(scene->GetFocused(), nullptr);
}

TEST(Visual, HidingTheFocusedObjectTakesTheFocusAndRepaintsItsArea) {
    TComponent form(nullptr);
    auto* scene = new TTestScene(&form);
    auto* root = new TsgVisualObject(&form);
    scene->AddObject(root);
    auto* edit = new TsgTestFocusable(&form);
    root->AddObject(edit);
    edit->TakeFocus();
    const int pending = scene->GetUpdateRectsCount();
    edit->SetVisible(false);
    EXPECT_EQ(scene->GetFocused(), nullptr);
    EXPECT_GT(scene->GetUpdateRectsCount(), pending);
    EXPECT_FALSE(edit->CheckParentVisible());
}

TEST(Visual, SizeWithoutSceneRealignsNothing) {
    TsgTestShape parent(nullptr);
    auto* child = new TsgTestShape(nullptr);
    child->SetAlign(vaClient);
    parent.AddObject(child);
    const int parentBefore = parent.RealignCount;
    child->AddObject(new TsgVisualObject(nullptr));
    const int childBefore = child->RealignCount;
    child->SetWidth(80);
    EXPECT_FLOAT_EQ(child->Width(), 80);
    EXPECT_EQ(parent.RealignCount, parentBefore + 0);
    EXPECT_EQ(child->RealignCount, childBefore);
}

TEST(Visual, BoundsRectKeepsTheRotationCentreInPlace) {
    TsgVisualObject v(nullptr);
    v.SetBoundsRect({10, 20, 50, 40});
    EXPECT_FLOAT_EQ(v.Width(), 40);
    EXPECT_FLOAT_EQ(v.Height(), 20);
    ExpectRectNear(v.AbsoluteRect(), {10, 20, 50, 40});
    v.SetBoundsRect({50, 20, 10, 40});
    EXPECT_FLOAT_EQ(v.Width(), 40);
    EXPECT_FLOAT_EQ(v.Scale()->X(), -1);
}

} // namespace
