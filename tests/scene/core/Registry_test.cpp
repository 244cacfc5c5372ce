// The process-wide registries: classes by category, the resource list, scenes, and objects
// and method pointers carried as texts.
#include "SceneTestClasses.h"

#include "platform/rtl/StringUtils.h"

#include <gtest/gtest.h>

namespace {

TEST(Registry, ClassesAreKeptSortedByCategory) {
    RegisterSgSceneUnit();
    RegisterSGObjects(u"Shapes", {&TsgTestShape::StaticClassInfo()});
    RegisterSGObject(u"animations", TsgTestAnimation::StaticClassInfo());
    ASSERT_NE(ObjectList, nullptr);
    for (int i = 1; i < ObjectList->Count(); ++i)
        EXPECT_LE(CompareText((*ObjectList)[i - 1], (*ObjectList)[i]), 0);
    const int at = ObjectList->IndexOf(u"Resources");
    ASSERT_GE(at, 0);
    EXPECT_EQ(GetClass("TsgTestShape"), &TsgTestShape::StaticClassInfo());
}

TEST(Registry, GlobalFindResourcePrefersTheNewestStoredObject) {
    TsgObject older(nullptr), newer(nullptr), hidden(nullptr);
    older.SetResourceName(u"buttonstyle");
    newer.SetResourceName(u"ButtonStyle");
    hidden.SetResourceName(u"BUTTONSTYLE");
    hidden.SetStored(false);
    EXPECT_EQ(FindResource(u"BUTTONSTYLE"), &newer);
    newer.SetStored(false);
    EXPECT_EQ(FindResource(u"buttonstyle"), &older);
    older.SetStored(false);
    EXPECT_EQ(FindResource(u"buttonstyle"), nullptr);
    const int index = AddResource(&older);
    EXPECT_EQ(AddResource(&older), index);
}

TEST(Registry, ScenesAreFoundByTheOwnerOfTheirHost) {
    TComponent form(nullptr);
    TTestScene scene(&form);
    AddScene(&scene);
    AddScene(&scene);
    EXPECT_EQ(SceneCount(), 1);
    EXPECT_EQ(FindSceneByOwner(&form), static_cast<IsgScene*>(&scene));
    EXPECT_EQ(FindSceneByOwner(nullptr), nullptr);
    RemoveScene(&scene);
    EXPECT_EQ(FindSceneByOwner(&form), nullptr);
}

TEST(Registry, ObjectsAndMethodsTravelAsText) {
    TsgObject o(nullptr);
    const TsgVariant v = ObjectToVariant(&o);
    EXPECT_TRUE(VarIsObject(v));
    EXPECT_EQ(VariantToObject(v), &o);
    EXPECT_FALSE(VarIsObject(u"hello"));
    EXPECT_EQ(VariantToObject(u"hello"), nullptr);
    EXPECT_THROW(VariantToObject(u"sgobjx"), EConvertError);
    EXPECT_THROW(VariantToObject(u"sgobj"), EConvertError);
    EXPECT_THROW(VariantToObject(u"sgobj99999999999999999999999"), EConvertError);

    const TMethod m{reinterpret_cast<void*>(uintptr_t(0x1234abcd)), &o};
    const TsgVariant e = EventToVariant(m);
    EXPECT_TRUE(VarIsEvent(e));
    EXPECT_EQ(e.SubString(1, 5), UnicodeString(u"sgmet"));
    EXPECT_EQ(VariantToEvent(e), m);
    EXPECT_EQ(VariantToEvent(u"plain"), TMethod{});
}

} // namespace
