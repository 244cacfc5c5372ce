// TsgWideStringList and THashedStringList: texts, comma text, values, sorting, hashes, files,
// streams and the "strings" stream property.
#include "scene/core/Sg_classes.h"

#include "platform/classes/Reader.h"
#include "platform/classes/Writer.h"
#include "platform/rtl/MemoryStream.h"
#include "platform/rtl/StringList.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::u16string> Items(TsgWideStrings& list) {
    std::vector<std::u16string> items;
    for (int i = 0; i < list.Count(); ++i)
        items.push_back(list.Get(i).str());
    return items;
}

TEST(WideStrings, TextSplitsAtEveryLineBreak) {
    TsgWideStringList list;
    list.Add(u"a");
    list.Add(u"b");
    EXPECT_EQ(list.Text(), UnicodeString(u"a\r\nb\r\n"));
    struct {
        const char16_t* text;
        std::vector<std::u16string> items;
    } cases[] = {
        {u"a\r\n\r\nb\r", {u"a", u"", u"b"}},
        {u"x\n", {u"x"}},
        {u"p\u2028q\vr\fs", {u"p", u"q", u"r", u"s"}},
        {u"", {}},
    };
    for (const auto& c : cases) {
        list.SetTextValue(c.text);
        EXPECT_EQ(Items(list), c.items);
    }
    list.SetTextValue(UnicodeString(u"a\0b", 3));
    EXPECT_EQ(Items(list), std::vector<std::u16string>{u"a"});
}

TEST(WideStrings, CommaTextAlwaysEndsItsItems) {
    TsgWideStringList list;
    struct {
        const char16_t* text;
        std::vector<std::u16string> items;
        const char16_t* back;
    } cases[] = {
        {u"a b,c", {u"a", u"b", u"c"}, u"a,b,c"},
        {u"  x ,, y ", {u"x", u"", u"y"}, u"x,,y"},
        {u"\"a b\",\"say \"\"hi\"\"\"", {u"a b", u"say \"hi\""}, u"\"a b\",\"say \"\"hi\"\"\""},
        {u"\"unclosed", {u"unclosed"}, u"unclosed"},
        {u"\"\"\"", {u"\""}, u"\"\"\"\""},
        {u"\"q\"x", {u"q", u"x"}, u"q,x"},
    };
    for (const auto& c : cases) {
        list.SetCommaText(c.text);
        EXPECT_EQ(Items(list), c.items) << UnicodeString(c.text).ToUtf8();
        EXPECT_EQ(list.CommaText(), UnicodeString(c.back));
    }
    list.SetCommaText(UnicodeString(u"a\0,b", 4));
    EXPECT_EQ(Items(list), std::vector<std::u16string>{u"a"});
}

TEST(WideStrings, NameValueAccess) {
    TsgWideStringList list;
    list.SetValue(u"k", u"v");
    EXPECT_EQ(Items(list), std::vector<std::u16string>{u"k=v"});
    EXPECT_EQ(list.GetValue(u"K"), UnicodeString(u"v"));
    EXPECT_EQ(list.GetValue(u"missing"), UnicodeString());
    list.SetValue(u"k", u"");
    EXPECT_EQ(list.Count(), 0);
    list.Add(u"abc");
    list.Add(u"n=1=2");
    EXPECT_EQ(list.GetName(0), UnicodeString());
    EXPECT_EQ(list.GetValueFromIndex(0), UnicodeString(u"bc"));
    EXPECT_EQ(list.GetValueFromIndex(1), UnicodeString(u"1=2"));
    EXPECT_EQ(list.GetValueFromIndex(-1), UnicodeString());
    EXPECT_EQ(list.IndexOfName(u"N"), 1);
    EXPECT_EQ(list.IndexOfValue(u"1=2"), 1);
    list.SetValueFromIndex(-1, u"z");
    EXPECT_EQ(list.Get(2), UnicodeString(u"=z"));
}

TEST(WideStrings, SortedListsKeepOrderAndHandleDuplicates) {
    TsgWideStringList list;
    list.SetSorted(true);
    EXPECT_EQ(list.Add(u"Beta"), 0);
    EXPECT_EQ(list.Add(u"beta"), 0);
    EXPECT_EQ(list.Count(), 1);
    list.Add(u"alpha");
    list.Add(u"Gamma");
    EXPECT_EQ(Items(list), (std::vector<std::u16string>{u"alpha", u"Beta", u"Gamma"}));
    EXPECT_EQ(list.IndexOf(u"GAMMA"), 2);
    list.Duplicates = dupAccept;
    list.Add(u"BETA");
    int index;
    EXPECT_TRUE(list.Find(u"beta", index));
    EXPECT_EQ(index, 1);
    list.Duplicates = dupError;
    list.Add(u"alpha"); // the error is silent and the text goes in
    EXPECT_EQ(list.Count(), 5);
    EXPECT_EQ(list.Get(99), UnicodeString());
    list.Delete(99); // refused, nothing touched
    list.Exchange(0, 99);
    EXPECT_EQ(list.Count(), 5);
}

TEST(WideStrings, CaseSensitivityChangesResortASortedList) {
    TsgWideStringList list;
    for (const char16_t* s : {u"b", u"B", u"a", u"A"})
        list.Add(s);
    list.SetSorted(true);
    list.SetCaseSensitive(true);
    EXPECT_EQ(Items(list), (std::vector<std::u16string>{u"A", u"B", u"a", u"b"}));
    int index;
    EXPECT_TRUE(list.Find(u"a", index));
    EXPECT_EQ(index, 2);
}

TEST(WideStrings, EventsFireOutsideUpdateBrackets) {
    TsgWideStringList list;
    struct Counter {
        int changes = 0;
        void Changed(TObject*) { ++changes; }
    } counter;
    list.OnChange = TNotifyEvent::Bind<&Counter::Changed>(&counter);
    list.Add(u"a");
    EXPECT_EQ(counter.changes, 1);
    list.BeginUpdate();
    list.Add(u"b");
    list.Add(u"c");
    EXPECT_EQ(counter.changes, 1);
    list.EndUpdate();
    EXPECT_EQ(counter.changes, 2);
    list.SetCommaText(u"x,y,z");
    EXPECT_EQ(counter.changes, 3);
}

TEST(HashedStringList, FindsTheHighestIndexAndRebuildsAfterChanges) {
    THashedStringList list;
    for (const char16_t* s : {u"x", u"y", u"k=v", u"x"})
        list.Add(s);
    EXPECT_EQ(list.IndexOf(u"x"), 3);
    EXPECT_EQ(list.IndexOf(u"X"), 3);
    EXPECT_EQ(list.IndexOfName(u"K"), 2);
    list.Delete(3);
    EXPECT_EQ(list.IndexOf(u"x"), 0);
    list.Add(u"Źdźbło");
    EXPECT_EQ(list.IndexOf(u"źdźbło"), 3);
    list.SetCaseSensitive(true);
    EXPECT_EQ(list.IndexOf(u"źdźbło"), -1);
    EXPECT_EQ(list.IndexOf(u"Źdźbło"), 3);
    TsgStringHash hash(4);
    hash.Add(u"a", 1);
    hash.Add(u"a", 2);
    EXPECT_EQ(hash.ValueOf(u"a"), 2);
    EXPECT_TRUE(hash.Modify(u"a", 3));
    hash.Remove(u"a");
    EXPECT_EQ(hash.ValueOf(u"a"), 1);
    EXPECT_FALSE(hash.Modify(u"b", 1));
    EXPECT_EQ(TsgStringHash::HashOf(u"AB"), ((0x41u << 2) ^ 0x42u));
}

TEST(WideStrings, StreamsAndFiles) {
    TsgWideStringList list;
    TBytesStream empty;
    list.SaveToStream(empty);
    EXPECT_EQ(empty.Bytes(), (std::vector<uint8_t>{0xFF, 0xFE}));
    list.Add(u"zażółć");
    list.Add(u"b");
    TBytesStream utf16;
    list.SaveToStream(utf16);
    utf16.SetPosition(0);
    TsgWideStringList back;
    back.LoadFromStream(utf16);
    EXPECT_TRUE(back.Equals(list));
    TStringStream eight(AnsiString("one\r\ntwo"));
    back.LoadFromStream(eight);
    EXPECT_EQ(Items(back), (std::vector<std::u16string>{u"one", u"two"}));
    back.LoadFromFile(u"/nonexistent/folder/file.txt");
    EXPECT_EQ(back.Count(), 2);
    std::string file = std::string(DBI_BINARY_DIR) + "/widestrings_test.txt";
    list.SaveToFile(UnicodeString(file));
    back.LoadFromFile(UnicodeString(file));
    EXPECT_TRUE(back.Equals(list));
    list.SaveToAnsiFile(UnicodeString(file));
    TStringList platform;
    platform.LoadFromFile(UnicodeString(file));
    EXPECT_EQ(platform.Get(0), UnicodeString(u"zażółć"));
    std::remove(file.c_str());
    TsgWideStringList copy;
    copy.Assign(platform);
    EXPECT_EQ(Items(copy), Items(list));
    TStringList out;
    copy.AssignTo(out);
    EXPECT_EQ(out.Count(), 2);
}

// A persistent owner of a wide string list, to stream the "strings" property.
class THolder : public TComponent {
    DBI_PERSISTENT(THolder, TComponent)
    explicit THolder(TComponent* owner) : TComponent(owner) {}
    TsgWideStringList Lines;
};

DBI_PUBLISH(THolder) {
    p.Object(
        "Lines", [](THolder& h) { return &h.Lines; }, nullptr);
}

TEST(WideStrings, StreamPropertyStrings) {
    THolder holder(nullptr);
    holder.Lines.Add(u"a");
    holder.Lines.Add(u"ż");
    TBytesStream stream;
    TWriter(stream).WriteRootComponent(&holder);
    stream.SetPosition(0);
    THolder loaded(nullptr);
    loaded.Lines.Add(u"old");
    TReader(stream).ReadRootComponent(&loaded);
    EXPECT_TRUE(loaded.Lines.Equals(holder.Lines));
    RegisterSgClassesUnit(); // harmless after the automatic registration
    EXPECT_NE(GetClass("TsgWideStringList"), nullptr);
    EXPECT_NE(GetClass("TsgWideStrings"), nullptr);
}

} // namespace
