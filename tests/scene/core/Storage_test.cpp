// TsgStorage: typed items by name, binary and text forms.
#include "scene/core/Sg_classes.h"

#include "platform/classes/ObjectText.h"
#include "platform/rtl/MemoryStream.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace {

TEST(Storage, ItemsAreFoundWithoutCaseAndCreatedOnDemand) {
    TsgStorage store;
    TsgStorageItem* width = store.GetValues(u"Width");
    EXPECT_EQ(store.GetValues(u"WIDTH"), width);
    EXPECT_EQ(width->Type(), vaNull);
    width->SetAsInteger(5);
    EXPECT_EQ(width->Type(), vaInt32);
    width->SetAsBool(true);
    EXPECT_TRUE(width->AsBool());
    EXPECT_EQ(width->AsInteger(), 5); // getters read the field whatever the tag
}

TEST(Storage, BinaryFormRoundTripsEveryKind) {
    TsgStorage store;
    store.GetValues(u"Count")->SetAsInteger(5);
    store.GetValues(u"Big")->SetAsInteger(100000);
    store.GetValues(u"Ratio")->SetAsFloat(0.5f);
    store.GetValues(u"Title")->SetAsString(u"Łódź");
    store.GetValues(u"Flag")->SetAsBool(false);
    TMemoryStream& blob = store.GetValues(u"Blob")->AsStream();
    blob.WriteBuffer("\x01\x02\x03", 3);
    store.GetValues(u"Unset");                       // no value: left out
    store.GetValues(u"not a name")->SetAsInteger(1); // no identifier: left out
    TBytesStream stream;
    store.SaveToStream(stream);
    stream.SetPosition(0);

    TsgStorage loaded;
    loaded.GetValues(u"Kept")->SetAsInteger(9);
    loaded.GetValues(u"count")->SetAsInteger(1);
    loaded.LoadFromStream(stream);
    EXPECT_EQ(loaded.Count(), 7);
    EXPECT_EQ(loaded.GetValues(u"Count")->Type(), vaInt8);
    EXPECT_EQ(loaded.GetValues(u"Count")->AsInteger(), 5);
    EXPECT_EQ(loaded.GetValues(u"Big")->Type(), vaInt32);
    EXPECT_EQ(loaded.GetValues(u"Ratio")->Type(), vaExtended);
    EXPECT_EQ(loaded.GetValues(u"Ratio")->AsFloat(), 0.5f);
    EXPECT_EQ(loaded.GetValues(u"Title")->AsString(), UnicodeString(u"Łódź"));
    EXPECT_EQ(loaded.GetValues(u"Flag")->Type(), vaFalse);
    EXPECT_EQ(loaded.GetValues(u"Blob")->AsStream().Size(), 3);
    EXPECT_EQ(loaded.GetValues(u"Kept")->AsInteger(), 9);
    EXPECT_EQ(loaded.GetValues(u"Unset")->Type(), vaNull);
}

TEST(Storage, TextItemsKeepTheWideStringTag) {
    TsgStorage store;
    store.GetValues(u"Plain")->SetAsString(u"abc");
    store.GetValues(u"Long")->SetAsString(UnicodeString(std::u16string(300, u'x')));
    TBytesStream stream;
    store.SaveToStream(stream);
    stream.SetPosition(0);
    TsgStorage loaded;
    loaded.LoadFromStream(stream);
    for (const char16_t* name : {u"Plain", u"Long"}) {
        EXPECT_EQ(loaded.GetValues(name)->Type(), vaWString);
        EXPECT_EQ(loaded.GetValues(name)->AsString(), store.GetValues(name)->AsString());
    }
}

TEST(Storage, TextFileRoundTripAndForeignValuesAreSkipped) {
    TsgStorage store;
    store.GetValues(u"A")->SetAsInteger(-3);
    store.GetValues(u"B")->SetAsString(u"x'y");
    std::string file = std::string(DBI_BINARY_DIR) + "/storage_test.txt";
    store.SaveToFile(UnicodeString(file));
    TsgStorage loaded;
    loaded.LoadFromFile(UnicodeString(file));
    EXPECT_EQ(loaded.GetValues(u"A")->AsInteger(), -3);
    EXPECT_EQ(loaded.GetValues(u"B")->AsString(), UnicodeString(u"x'y"));
    std::remove(file.c_str());

    TStringStream text(
        AnsiString("object Root\n  Big = 9999999999\n  D = 2.5f\n  After = 1\nend\n"));
    TBytesStream binary;
    ObjectTextToBinary(text, binary);
    binary.SetPosition(0);
    TsgStorage foreign;
    foreign.LoadFromStream(binary);
    EXPECT_EQ(foreign.GetValues(u"After")->AsInteger(), 1);
    EXPECT_EQ(foreign.GetValues(u"Big")->Type(), vaNull);
}

} // namespace
