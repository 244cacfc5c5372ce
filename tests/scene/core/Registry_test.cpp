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

    EXPECT_EQ(VariantToObject(ObjectToVariant(nullptr)), nullptr);

    const TMethod m{reinterpret_cast<void*>(uintptr_t(0x1234abcd)), &o};
    const TsgVariant e = EventToVariant(m);
    EXPECT_TRUE(VarIsEvent(e));
    EXPECT_EQ(e.SubString(1, 5), UnicodeString(u"sgmet"));
    EXPECT_EQ(e.Length(), 5 + 2 * int(sizeof(void*) * 2));
    EXPECT_EQ(VariantToEvent(u"plain"), TMethod{});
    EXPECT_EQ(VariantToEvent(EventToVariant(TMethod{})), TMethod{});
}

// A window's owner publishing a handler, as window layouts do.
class TTextOwner : public TComponent {
    DBI_PERSISTENT(TTextOwner, TComponent)

    explicit TTextOwner(TComponent* AOwner) : TComponent(AOwner) {}
    void Handler(TObject*) {}
    void Unpublished(TObject*) {}
};

DBI_PUBLISH(TTextOwner) {
    p.Method<&TTextOwner::Handler>("Handler");
}

TEST(Registry, TextsResolveOnlyToLiveObjectsAndPublishedMethods) {
    TTextOwner form(nullptr);
    TTestScene scene(&form);
    AddScene(&scene);
    TComponent* timer = new TComponent(&form);
    auto* node = new TsgObject(nullptr);

    for (TObject* live : {static_cast<TObject*>(&form), static_cast<TObject*>(&scene),
                          static_cast<TObject*>(timer), static_cast<TObject*>(node)})
        EXPECT_EQ(VariantToObject(ObjectToVariant(live)), live);
    TComponent stray(nullptr); // alive, but nothing registered knows it
    int local = 0;
    for (const TsgVariant& text :
         {ObjectToVariant(&stray), ObjectToVariant(reinterpret_cast<TObject*>(&local)),
          TsgVariant(u"sgobj12345"), TsgVariant(u"sgobj18446744073709551615")})
        EXPECT_THROW(VariantToObject(text), EConvertError) << AnsiString(text).str();
    const TsgVariant gone = ObjectToVariant(node);
    delete node;
    EXPECT_THROW(VariantToObject(gone), EConvertError);

    const TNotifyEvent handler = TNotifyEvent::Bind<&TTextOwner::Handler>(&form);
    EXPECT_EQ(VariantToEvent(EventToVariant(handler.AsMethod())), handler.AsMethod());
    const TNotifyEvent unpublished = TNotifyEvent::Bind<&TTextOwner::Unpublished>(&form);
    const TNotifyEvent strayHandler =
        TNotifyEvent::Bind<&TTextOwner::Handler>(reinterpret_cast<TTextOwner*>(&stray));
    for (const TsgVariant& text :
         {EventToVariant(unpublished.AsMethod()), EventToVariant(strayHandler.AsMethod()),
          EventToVariant(TMethod{handler.AsMethod().Code, nullptr}),
          EventToVariant(TMethod{nullptr, &form}), TsgVariant(u"sgmet12"),
          TsgVariant(u"sgmetXX") + EventToVariant(handler.AsMethod()).SubString(8, 100)})
        EXPECT_THROW(VariantToEvent(text), EConvertError) << AnsiString(text).str();
    RemoveScene(&scene);
    EXPECT_THROW(VariantToObject(ObjectToVariant(timer)), EConvertError);
}

} // namespace
