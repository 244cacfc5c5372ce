// TsgFrame: borrowing the root of another scene, giving it back, and one frame per scene; in the
// designer, a picture of the other scene's tree instead.
#include "RecordingCanvas.h"

#include "scene/core/Sg_canvas_gdip.h"
#include "scene/core/Sg_objects.h"
#include "scene/core/Sg_scene.h"

#include "platform/ui/Application.h"
#include "platform/ui/Forms.h"
#include "platform/ui/SdlVideo.h"

#include <gtest/gtest.h>

#include <memory>

struct NoFlush : TObject {
    void Flush(TObject*) {}
};

// A form class that builds its scene, named "Panel", with a root of its own.
class FrameCloneForm : public TForm {
    DBI_PERSISTENT(FrameCloneForm, TForm)

    explicit FrameCloneForm(TForm* owner = nullptr) : TForm(owner) {
        panel = new TsgScene(this);
        panel->SetName("Panel");
        panel->CreateEmbedded(100, 80, ::TNotifyEvent::Bind<&NoFlush::Flush>(&flush));
        root = new TsgVisualObject(nullptr);
        panel->AddObject(root);
    }
    NoFlush flush;
    TsgScene* panel = nullptr;
    TsgVisualObject* root = nullptr;
};

DBI_PUBLISH(FrameCloneForm) {
    (void)p;
}

namespace {

struct Frames : ::testing::Test {
    void SetUp() override {
        RegisterSgSceneUnit();
        for (auto* s : {&host, &other}) {
            *s = std::make_unique<TsgScene>(nullptr);
            (*s)->CreateEmbedded(100, 80, TNotifyEvent::Bind<&NoFlush::Flush>(&flush));
        }
        hostRoot = new TsgVisualObject(nullptr);
        host->AddObject(hostRoot);
        otherRoot = new TsgVisualObject(nullptr);
        other->AddObject(otherRoot);
    }
    NoFlush flush;
    std::unique_ptr<TsgScene> host, other;
    TsgVisualObject* hostRoot = nullptr;
    TsgVisualObject* otherRoot = nullptr;
};

TEST_F(Frames, BorrowsTheRootAndGivesItBackWhenItGoes) {
    auto* frame = new TsgFrame(nullptr);
    frame->SetBounds(0, 0, 60, 40);
    hostRoot->AddObject(frame);
    frame->SetSceneObject(other.get());
    EXPECT_EQ(otherRoot->Parent(), frame);
    EXPECT_EQ(other->Root(), nullptr);
    EXPECT_EQ(otherRoot->Scene(), static_cast<IsgScene*>(host.get()));
    EXPECT_FLOAT_EQ(otherRoot->Width(), 60);

    delete frame;
    EXPECT_EQ(other->Root(), otherRoot);
    EXPECT_EQ(otherRoot->Scene(), static_cast<IsgScene*>(other.get()));
}

TEST_F(Frames, ItsOwnSceneAndLettingGoAreHandled) {
    auto* frame = new TsgFrame(nullptr);
    hostRoot->AddObject(frame);
    frame->SetSceneObject(host.get());
    EXPECT_EQ(frame->SceneObject(), nullptr);

    frame->SetSceneObject(other.get());
    frame->SetSceneObject(nullptr);
    EXPECT_EQ(other->Root(), otherRoot);
    EXPECT_EQ(frame->ChildrenCount(), 0);
}

// A second frame on a scene already shown works on a fresh copy of the scene's form, made on its
// first paint and freed when the frame lets go.
TEST_F(Frames, ASecondFrameShowsTheRootOfACopyOfTheForm) {
    ASSERT_TRUE(EnsureVideo());
    auto* home = new FrameCloneForm();
    auto* first = new TsgFrame(nullptr);
    hostRoot->AddObject(first);
    first->SetSceneObject(home->panel);
    ASSERT_EQ(home->root->Parent(), first);

    auto* second = new TsgFrame(nullptr);
    hostRoot->AddObject(second);
    second->SetSceneObject(home->panel);
    EXPECT_EQ(second->ChildrenCount(), 0);
    second->Paint();
    TsgCustomScene* copy = second->SceneObject();
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, home->panel);
    auto* copyForm = dynamic_cast<FrameCloneForm*>(copy->Owner());
    ASSERT_NE(copyForm, nullptr);
    EXPECT_NE(copyForm, home);
    EXPECT_EQ(copyForm->root->Parent(), second);
    EXPECT_EQ(TsgFrame::ShowingFrame(copy), second);

    // Letting go frees the copy; the first frame keeps the original root.
    second->SetSceneObject(nullptr);
    Application->ProcessMessages();
    EXPECT_EQ(second->ChildrenCount(), 0);
    EXPECT_EQ(home->root->Parent(), first);
    delete first;
    EXPECT_EQ(home->panel->Root(), home->root);
    delete home;
    Application->Reset();
}

// In the designer the frame borrows nothing: it paints a picture of the other scene's tree laid
// out at the frame's size, and the tree keeps its place and size in its own scene.
struct FrameDesignPreview : Frames {
    void SetUp() override {
        Frames::SetUp();
        InitSgCanvasUnit();
        design.DesignTime = true;
        designRoot = new TsgVisualObject(nullptr);
        design.AddObject(designRoot);
        // The other scene: a red root of 100 x 80 with a blue band of 20 along its right side.
        other->RemoveObject(otherRoot);
        delete otherRoot;
        auto* red = new TsgRectangle(nullptr);
        red->SetBounds(0, 0, 100, 80);
        red->Fill()->SetColor(u"#FFFF0000");
        red->Stroke()->SetStyle(sgBrushNone);
        band = new TsgRectangle(nullptr);
        band->SetAlign(vaRight);
        band->SetWidth(20);
        band->Fill()->SetColor(u"#FF0000FF");
        band->Stroke()->SetStyle(sgBrushNone);
        red->AddObject(band);
        other->AddObject(red);
        otherRoot = red;
        frame = new TsgFrame(nullptr);
        frame->SetBounds(10, 10, 60, 40);
        designRoot->AddObject(frame);
    }
    RecordingScene design;
    TsgVisualObject* designRoot = nullptr;
    TsgRectangle* band = nullptr;
    TsgFrame* frame = nullptr;
};

TEST_F(FrameDesignPreview, PaintsAPictureOfTheTreeAtItsOwnSize) {
    frame->SetSceneObject(other.get());
    EXPECT_EQ(other->Root(), otherRoot);
    EXPECT_EQ(frame->ChildrenCount(), 0);

    const std::vector<std::string> log = design.PaintOnce(frame);
    EXPECT_EQ(log, std::vector<std::string>{"DrawBitmap60x40(0,0,60,40)->(0,0,59,39) o1"});
    TsgBitmap* picture = frame->Picture();
    ASSERT_NE(picture, nullptr);
    // The band keeps its 20 units at the right of the frame's width, the root fills the rest.
    EXPECT_EQ(picture->GetPixels(5, 20), 0xFFFF0000u);
    EXPECT_EQ(picture->GetPixels(35, 35), 0xFFFF0000u);
    EXPECT_EQ(picture->GetPixels(45, 5), 0xFF0000FFu);
    EXPECT_EQ(picture->GetPixels(59, 39), 0xFF0000FFu);

    // The tree is back as it was in its own scene.
    const TsgRect home = otherRoot->GetParentedRect();
    EXPECT_EQ(RectText(home), "(0,0,100,80)");
    EXPECT_FLOAT_EQ(band->Position()->X(), 80);

    // A resized frame paints a picture of its new size; without a scene it paints nothing.
    frame->SetBounds(10, 10, 30, 20);
    EXPECT_EQ(design.PaintOnce(frame),
              std::vector<std::string>{"DrawBitmap30x20(0,0,30,20)->(0,0,29,19) o1"});
    EXPECT_EQ(frame->Picture()->GetPixels(25, 10), 0xFF0000FFu);
    EXPECT_EQ(frame->Picture()->GetPixels(5, 10), 0xFFFF0000u);
    frame->SetSceneObject(nullptr);
    EXPECT_TRUE(design.PaintOnce(frame).empty());
}

// Out of the designer the same frame borrows the root and paints no picture of its own.
TEST_F(FrameDesignPreview, OutsideTheDesignerTheRootIsBorrowedInstead) {
    design.DesignTime = false;
    frame->SetSceneObject(other.get());
    EXPECT_EQ(otherRoot->Parent(), frame);
    EXPECT_TRUE(design.PaintOnce(frame).empty());
    EXPECT_EQ(frame->Picture(), nullptr);
    frame->SetSceneObject(nullptr);
    EXPECT_EQ(other->Root(), otherRoot);
}

} // namespace
