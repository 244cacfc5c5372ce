// Class registry, property tables, ownership, names, notifications and collections.
#include "TestClasses.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(ClassRegistry, FindsClassesByNameWithoutRegardToCase) {
    EXPECT_EQ(GetClass("ttestwidget"), &TTestWidget::StaticClassInfo());
    EXPECT_EQ(GetClass("TTESTFORM"), &TTestForm::StaticClassInfo());
    EXPECT_EQ(GetClass("TNoSuchClass"), nullptr);
    EXPECT_THROW(FindClass("TNoSuchClass"), EClassNotFound);
    // Registering again is harmless; another class under a taken name is refused.
    EXPECT_NO_THROW(RegisterClass(TTestWidget::StaticClassInfo()));
    TClassInfo impostor("TTestWidget", &TComponent::StaticClassInfo(), typeid(int));
    EXPECT_THROW(RegisterClass(impostor), EInvalidOperation);
    std::unique_ptr<TComponent> made(FindClass("TTestForm").CreateComponent(nullptr));
    EXPECT_EQ(made->ClassName(), "TTestForm");
    EXPECT_TRUE(made->InheritsFrom(TTestWidget::StaticClassInfo()));
}

TEST(ClassRegistry, PropertiesAreListedInheritedFirstInDeclarationOrder) {
    std::vector<std::string> names;
    for (const TPropInfo* p : TTestForm::StaticClassInfo().Properties())
        names.push_back(p->Name.str());
    std::vector<std::string> expected = {"Name",    "Tag",     "Count",   "Big",   "Visible",
                                         "Checked", "Shape",   "Anchors", "Ratio", "Opacity",
                                         "Margin",  "Caption", "Hint",    "Font",  "Items",
                                         "Lines",   "Buddy",   "OnClick"};
    EXPECT_EQ(names, expected);
    const TPropInfo* shape = TTestForm::StaticClassInfo().FindProperty("SHAPE");
    ASSERT_NE(shape, nullptr);
    EXPECT_EQ(shape->Kind, TPropertyKind::Enumeration);
    EXPECT_EQ(shape->ElementIndex("shsquare"), 1);
    EXPECT_EQ(TTestForm::StaticClassInfo().FindProperty("Buddy")->ObjectClass(),
              &TTestWidget::StaticClassInfo());
}

TEST(ClassRegistry, PropertiesAreSetAndReadByName) {
    TTestWidget w(nullptr);
    const TClassInfo& info = w.ClassInfo();
    info.FindProperty("count")->SetOrd(w, 42);
    info.FindProperty("ratio")->SetFloat(w, 0.5);
    info.FindProperty("hint")->SetStr(w, u"x");
    EXPECT_EQ(w.Count, 42);
    EXPECT_EQ(w.Ratio, 0.5);
    EXPECT_EQ(w.Hint, UnicodeString(u"x"));
    EXPECT_EQ(info.FindProperty("Count")->GetOrd(w), 42);
    TTestFont font;
    EXPECT_THROW(info.FindProperty("Buddy")->SetObject(w, &font), EPropertyError);
}

TEST(Component, OwnerFreesItsComponentsAndNamesAreUniqueWithoutCase) {
    auto* owner = new TTestWidget(nullptr);
    auto* a = new TTestWidget(owner);
    a->SetName("Alpha");
    auto* b = new TTestWidget(owner);
    EXPECT_THROW(b->SetName("ALPHA"), EComponentError);
    EXPECT_THROW(b->SetName("1abc"), EComponentError);
    EXPECT_THROW(b->SetName("a b"), EComponentError);
    b->SetName("Beta");
    a->SetName("alpha"); // a new spelling of its own name is fine
    EXPECT_EQ(owner->FindComponent("BETA"), b);
    EXPECT_EQ(owner->ComponentCount(), 2);
    EXPECT_EQ(b->ComponentIndex(), 1);
    delete a;
    EXPECT_EQ(owner->ComponentCount(), 1);
    EXPECT_EQ(owner->Components(0), b);
    EXPECT_THROW(owner->Components(5), EListError);
    owner->Free(); // frees b too; ASan reports a leak or double free otherwise
}

TEST(Component, FreeNotificationClearsReferencesBothWays) {
    TTestWidget holder(nullptr);
    auto* target = new TTestWidget(nullptr);
    holder.SetBuddy(target);
    delete target;
    EXPECT_EQ(holder.Buddy, nullptr);
    auto* watcher = new TTestWidget(nullptr);
    auto* other = new TTestWidget(nullptr);
    watcher->SetBuddy(other);
    delete watcher; // other must not keep a dangling entry
    other->Free();  // would touch freed memory under ASan if it did
}

TEST(Collection, ItemsAreOwnedOrderedAndAssigned) {
    TTestWidget w(nullptr);
    auto* first = static_cast<TTestItem*>(w.Items.Add());
    auto* second = static_cast<TTestItem*>(w.Items.Add());
    first->SetWidth(1);
    second->SetWidth(2);
    EXPECT_EQ(second->Index(), 1);
    second->SetIndex(0);
    EXPECT_EQ(w.Items.Items(0), second);
    EXPECT_EQ(w.Items.FindItemID(first->ID()), first);
    delete first;
    EXPECT_EQ(w.Items.Count(), 1);
    w.Items.Clear();
    EXPECT_EQ(w.Items.Count(), 0);
    EXPECT_THROW(TCollection(TTestFont::StaticClassInfo()), EInvalidArgument);
}

} // namespace
