// TsgFrame: borrowing the root of another scene, giving it back, and one frame per scene.
#include "scene/core/Sg_scene.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

struct NoFlush : TObject {
    void Flush(TObject*) {}
};

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

    // A second frame on the same scene shows nothing while the first has the root.
    auto* second = new TsgFrame(nullptr);
    hostRoot->AddObject(second);
    second->SetSceneObject(other.get());
    EXPECT_EQ(second->ChildrenCount(), 0);

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

} // namespace
