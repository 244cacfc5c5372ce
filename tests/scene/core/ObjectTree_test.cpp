// The node tree: both keepers (owner and parent) can free a node, lookups, triggers and the
// effect cache. The sanitizer build turns every double free or leak here into a failure.
#include "SceneTestClasses.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

struct ObjectTree : ::testing::Test {
    void SetUp() override { RegisterSgSceneUnit(); }
};

TsgObject* Named(TComponent* owner, const char* resourceName, TsgObject* parent = nullptr) {
    auto* o = new TsgObject(owner);
    o->SetResourceName(UnicodeString(resourceName));
    if (parent)
        parent->AddObject(o);
    return o;
}

TEST_F(ObjectTree, AddAndRemoveKeepBothSidesTogether) {
    TsgObject parent(nullptr), other(nullptr);
    auto* child = new TsgObject(nullptr);
    parent.AddObject(child);
    EXPECT_EQ(child->Parent(), &parent);
    EXPECT_EQ(parent.ChildrenCount(), 1);
    EXPECT_EQ(child->Index(), 0);
    // Adding to another parent moves the node; it is never in two lists.
    other.AddObject(child);
    EXPECT_EQ(parent.ChildrenCount(), 0);
    EXPECT_EQ(other.GetChild(0), child);
    other.RemoveObject(child);
    EXPECT_EQ(child->Parent(), nullptr);
    EXPECT_EQ(other.ChildrenCount(), 0);
    EXPECT_EQ(other.GetChild(0), nullptr);
    delete child;
}

TEST_F(ObjectTree, CyclesAreRefused) {
    TsgObject root(nullptr);
    auto* child = Named(nullptr, "c", &root);
    EXPECT_THROW(child->AddObject(&root), EInvalidOperation);
    EXPECT_THROW(root.AddObject(&root), EInvalidOperation);
    EXPECT_EQ(root.ChildrenCount(), 1);
}

// Every way of freeing a tree whose nodes are owned by one component and parented in a chain.
enum class FreeOrder { OwnerFirst, RootFirst, LeafFirst, MiddleFirst, OwnerOwnsParentOnly };

class DualOwnership : public ::testing::TestWithParam<FreeOrder> {};

TEST_P(DualOwnership, EveryNodeIsFreedOnceWhicheverSideGoesFirst) {
    RegisterSgSceneUnit();
    const int before = ResourceCount();
    auto* owner = new TComponent(nullptr);
    const FreeOrder order = GetParam();
    TComponent* nodeOwner = order == FreeOrder::OwnerOwnsParentOnly ? nullptr : owner;
    auto* root = new TsgVisualObject(owner);
    auto* middle = new TsgVisualObject(nodeOwner);
    auto* leaf = new TsgVisualObject(nodeOwner);
    auto* sibling = new TsgObject(nodeOwner);
    root->AddObject(middle);
    middle->AddObject(leaf);
    root->AddObject(sibling);
    EXPECT_EQ(ResourceCount(), before + 4);
    switch (order) {
    case FreeOrder::OwnerFirst:
    case FreeOrder::OwnerOwnsParentOnly:
        delete owner;
        break;
    case FreeOrder::RootFirst:
        delete root;
        EXPECT_EQ(owner->ComponentCount(), 0);
        delete owner;
        break;
    case FreeOrder::LeafFirst:
        delete leaf;
        EXPECT_EQ(middle->ChildrenCount(), 0);
        EXPECT_TRUE(middle->TabList().empty());
        delete owner;
        break;
    case FreeOrder::MiddleFirst:
        middle->Free();
        EXPECT_EQ(root->ChildrenCount(), 1);
        EXPECT_EQ(root->TabList().size(), 0u);
        EXPECT_EQ(owner->ComponentCount(), 2);
        delete owner;
        break;
    }
    EXPECT_EQ(ResourceCount(), before);
}

INSTANTIATE_TEST_SUITE_P(Orders, DualOwnership,
                         ::testing::Values(FreeOrder::OwnerFirst, FreeOrder::RootFirst,
                                           FreeOrder::LeafFirst, FreeOrder::MiddleFirst,
                                           FreeOrder::OwnerOwnsParentOnly));

TEST_F(ObjectTree, ANodeOwnedByItsSiblingIsFreedOnce) {
    auto* root = new TsgObject(nullptr);
    auto* first = new TsgObject(nullptr);
    auto* second = new TsgObject(first); // owned by the first, parented to the root
    root->AddObject(first);
    root->AddObject(second);
    delete root;
}

TEST_F(ObjectTree, FindResourceIsPreOrderAndNeverTheNodeItself) {
    TsgObject root(nullptr);
    root.SetResourceName(u"target");
    auto* a = Named(nullptr, "", &root);
    auto* deep = Named(nullptr, "TARGET", a);
    auto* b = Named(nullptr, "target", &root);
    EXPECT_EQ(root.FindResource(u""), nullptr);
    EXPECT_EQ(root.FindResource(u"target"), deep); // the first subtree wins over a later child
    EXPECT_EQ(a->FindResource(u"target"), deep);
    EXPECT_EQ(deep->FindResource(u"target"), nullptr);
    EXPECT_EQ(root.FindResource(u"none"), nullptr);
    (void)b;
}

TEST_F(ObjectTree, FindBindingIncludesTheNodeAndBindingsSwallowFailures) {
    TsgObject root(nullptr);
    root.SetBindingName(u"Root");
    auto* child = new TsgObject(nullptr);
    child->SetBindingName(u"Value");
    root.AddObject(child);
    EXPECT_EQ(root.FindBinding(u"root"), &root);
    EXPECT_EQ(root.FindBinding(u"VALUE"), child);
    EXPECT_EQ(root.GetBinding(u"missing"), UnicodeString());
    root.SetBinding(u"Value", u"x"); // the base class ignores data
}

TEST_F(ObjectTree, SetStoredReachesEveryDescendant) {
    TsgObject root(nullptr);
    auto* a = Named(nullptr, "a", &root);
    auto* b = Named(nullptr, "b", a);
    root.SetStored(false);
    EXPECT_FALSE(a->Stored());
    EXPECT_FALSE(b->Stored());
}

TEST_F(ObjectTree, IndexFrontAndBack) {
    TsgObject root(nullptr);
    auto* a = Named(nullptr, "a", &root);
    auto* b = Named(nullptr, "b", &root);
    auto* c = Named(nullptr, "c", &root);
    a->BringToFront();
    EXPECT_EQ(root.GetChild(2), a);
    c->SendToBack();
    EXPECT_EQ(root.GetChild(0), c);
    b->SetIndex(0);
    EXPECT_EQ(root.GetChild(0), b);
    std::vector<TsgObject*> all;
    root.AddObjectsToList(all);
    EXPECT_EQ(all.size(), 4u);
}

TEST_F(ObjectTree, TriggerAnimationsStopOnlyTriggeredOnesAndPassOnlyThroughStyleParts) {
    TsgVisualObject root(nullptr);
    auto* plain = new TsgTestAnimation(nullptr);
    auto* triggered = new TsgTestAnimation(nullptr);
    triggered->SetTrigger("IsMouseOver=true");
    root.AddObject(plain);
    root.AddObject(triggered);
    // A style part (locked, not hit-tested) passes triggers on; an ordinary child does not.
    auto* part = new TsgVisualObject(nullptr);
    part->SetLocked(true);
    part->SetHitTest(false);
    auto* inPart = new TsgTestAnimation(nullptr);
    inPart->SetTrigger("IsMouseOver=true");
    part->AddObject(inPart);
    auto* ordinary = new TsgVisualObject(nullptr);
    auto* inOrdinary = new TsgTestAnimation(nullptr);
    inOrdinary->SetTrigger("IsMouseOver=true");
    ordinary->AddObject(inOrdinary);
    root.AddObject(part);
    root.AddObject(ordinary);

    plain->Running = true;
    root.StartTriggerAnimation(&root, "IsMouseOver=true");
    EXPECT_TRUE(triggered->Running);
    EXPECT_TRUE(inPart->Running);
    EXPECT_FALSE(inOrdinary->Running);
    inOrdinary->Running = true;
    root.StopTriggerAnimation(&root);
    EXPECT_TRUE(plain->Running);
    EXPECT_FALSE(triggered->Running);
    EXPECT_FALSE(inPart->Running);
    EXPECT_TRUE(inOrdinary->Running);
}

TEST_F(ObjectTree, StartAnimationByNameSearchesDirectChildren) {
    TComponent owner(nullptr);
    TsgObject root(nullptr);
    auto* a = new TsgTestAnimation(&owner);
    a->SetName("Fade");
    root.AddObject(a);
    root.StartAnimation(u"fade");
    EXPECT_TRUE(a->Running);
    root.StopAnimation(u"FADE");
    EXPECT_FALSE(a->Running);
}

TEST_F(ObjectTree, EffectCacheFollowsChildrenAndDisabling) {
    TsgObject root(nullptr);
    EXPECT_FALSE(root.HasEffect());
    auto* effect = new TsgTestEffect(nullptr);
    effect->Trigger = "IsFocused=true"; // a trigger alone counts, also while disabled
    root.AddObject(effect);
    EXPECT_TRUE(root.HasEffect());
    root.DisableEffects();
    EXPECT_FALSE(root.HasEffect());
    root.EnableEffects();
    EXPECT_TRUE(root.HasEffect());
    root.RemoveObject(effect);
    EXPECT_FALSE(root.HasEffect());
    delete effect;
}

// A partner that hears of a node's end.
struct Listener : IsgFreeNotify {
    TsgObject* Heard = nullptr;
    void FreeNotify(TsgObject* AObject) override { Heard = AObject; }
};

TEST_F(ObjectTree, FreeNotificationsReachRegisteredPartnersOnly) {
    Listener kept, removed;
    auto* node = new TsgObject(nullptr);
    node->AddFreeNotify(&kept);
    node->AddFreeNotify(&kept);
    node->AddFreeNotify(&removed);
    node->RemoveFreeNotify(&removed);
    delete node;
    EXPECT_EQ(kept.Heard, node);
    EXPECT_EQ(removed.Heard, nullptr);
}

TEST_F(ObjectTree, SceneFollowsTheTreeAndHearsOfEveryFreedNode) {
    TComponent form(nullptr);
    auto* scene = new TTestScene(&form);
    auto* root = new TsgVisualObject(&form);
    auto* child = new TsgVisualObject(&form);
    root->AddObject(child);
    scene->AddObject(root);
    EXPECT_EQ(child->Scene(), static_cast<IsgScene*>(scene));
    EXPECT_EQ(root->GetParentComponent(), scene);
    EXPECT_EQ(child->GetParentComponent(), root);
    // Taking the child out of the tree clears its scene.
    child->SetParent(nullptr);
    EXPECT_EQ(child->Scene(), nullptr);
    root->AddObject(child);
    TsgObject* gone[] = {root, child};
    delete root;
    EXPECT_TRUE(scene->Objects().empty());
    for (TsgObject* node : gone)
        EXPECT_NE(std::find(scene->Removed.begin(), scene->Removed.end(), node),
                  scene->Removed.end());
}

TEST_F(ObjectTree, ChildrenInsideAContentPlaceholderStreamAsTheContainersOwn) {
    TsgVisualObject control(nullptr);
    auto* content = new TsgTestContent(nullptr);
    content->SetStored(false); // a part of the control's style
    control.AddObject(content);
    auto* item = new TsgObject(nullptr);
    item->SetResourceName(u"item");
    content->AddObject(item);
    EXPECT_EQ(item->GetParentComponent(), &control);
    std::vector<TComponent*> streamed;
    control.GetChildren([&](TComponent* c) { streamed.push_back(c); }, &control);
    ASSERT_EQ(streamed.size(), 1u);
    EXPECT_EQ(streamed[0], item);
    streamed.clear();
    content->GetChildren([&](TComponent* c) { streamed.push_back(c); }, &control);
    EXPECT_TRUE(streamed.empty());
}

TEST_F(ObjectTree, LeavingTheTreeHandsTheSubtreeToTheSceneOfTheOwner) {
    TComponent formA(nullptr), formB(nullptr);
    auto* sceneA = new TTestScene(&formA);
    auto* sceneB = new TTestScene(&formB);
    AddScene(sceneA);
    AddScene(sceneB);
    auto* root = new TsgObject(&formA);
    sceneA->AddObject(root);
    auto* moved = new TsgObject(&formB);
    auto* inner = new TsgObject(&formB);
    moved->AddObject(inner);
    root->AddObject(moved);
    EXPECT_EQ(inner->Scene(), static_cast<IsgScene*>(sceneA));
    moved->SetParent(nullptr);
    EXPECT_EQ(moved->Scene(), nullptr);
    EXPECT_EQ(inner->Scene(), static_cast<IsgScene*>(sceneB));
    RemoveScene(sceneA);
    RemoveScene(sceneB);
    delete moved;
}

} // namespace
