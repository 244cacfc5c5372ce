// TsgFrame: borrowing the root of another scene, giving it back, and one frame per scene.
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

} // namespace
