#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileStream.h"
#include "platform/rtl/MemoryStream.h"
#include "platform/rtl/StringList.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using namespace std::string_literals;

std::vector<std::u16string> Items(const TStrings& list) {
    std::vector<std::u16string> items;
    for (int i = 0; i < list.Count(); ++i)
        items.push_back(list[i].str());
    return items;
}

TEST(StringList, TextSplitsAtEveryLineEnd) {
    struct Case {
        const char16_t* text;
        std::vector<std::u16string> lines;
    };
    const Case cases[] = {
        {u"", {}},
        {u"a", {u"a"}},
        {u"a\r\nb\r\n", {u"a", u"b"}},
        {u"a\nb\rc\r\nd", {u"a", u"b", u"c", u"d"}},
        {u"\n\n", {u"", u""}},
        {u"a\r\r\nb", {u"a", u"", u"b"}},
        {u"  spaced  \n", {u"  spaced  "}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(UnicodeString(c.text).ToUtf8());
        TStringList list;
        list.SetText(c.text);
        EXPECT_EQ(Items(list), c.lines);
    }
    TStringList list;
    list.SetText(u"a\r\nb");
    EXPECT_EQ(list.Text(), UnicodeString(u"a\r\nb\r\n"));
    list.LineBreak = u"\n";
    EXPECT_EQ(list.Text(), UnicodeString(u"a\nb\n"));
}

TEST(StringList, CommaAndDelimitedText) {
    struct Case {
        const char16_t* text;
        std::vector<std::u16string> items;
        const char16_t* written;
    };
    const Case cases[] = {
        {u"a,b,c", {u"a", u"b", u"c"}, u"a,b,c"},
        {u"a b", {u"a", u"b"}, u"a,b"},
        {u"\"a b\",c", {u"a b", u"c"}, u"\"a b\",c"},
        {u"\"say \"\"hi\"\"\"", {u"say \"hi\""}, u"\"say \"\"hi\"\"\""},
        {u"a,,b", {u"a", u"", u"b"}, u"a,,b"},
        {u"a,", {u"a", u""}, u"a,"},
        {u"  a , b  ", {u"a", u"b"}, u"a,b"},
        {u"\"\"", {u""}, u"\"\""},
        {u"\"unterminated", {u"unterminated"}, u"unterminated"},
        {u"", {}, u""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(UnicodeString(c.text).ToUtf8());
        TStringList list;
        list.SetCommaText(c.text);
        EXPECT_EQ(Items(list), c.items);
        EXPECT_EQ(list.CommaText().ToUtf8(), UnicodeString(c.written).ToUtf8());
    }
    TStringList list;
    list.Delimiter = u';';
    list.StrictDelimiter = true;
    list.SetDelimitedText(u"a b;c");
    EXPECT_EQ(Items(list), (std::vector<std::u16string>{u"a b", u"c"}));
    EXPECT_EQ(list.DelimitedText(), UnicodeString(u"a b;c"));
}

TEST(StringList, NamesAndValues) {
    TStringList list;
    list.SetText(u"Path=/opt/a\nNAME=x=y\nplain\nname=second\n");
    EXPECT_EQ(list.Values(u"name"), UnicodeString(u"x=y"));
    EXPECT_EQ(list.Values(u"missing"), UnicodeString());
    EXPECT_EQ(list.Names(0), UnicodeString(u"Path"));
    EXPECT_EQ(list.Names(2), UnicodeString());
    EXPECT_EQ(list.ValueFromIndex(1), UnicodeString(u"x=y"));
    EXPECT_EQ(list.IndexOfName(u"PATH"), 0);
    list.SetValue(u"path", u"/new");
    EXPECT_EQ(list[0], UnicodeString(u"path=/new"));
    list.SetValue(u"added", u"1");
    EXPECT_EQ(list[4], UnicodeString(u"added=1"));
    list.SetValue(u"added", u"");
    EXPECT_EQ(list.Count(), 4);
    list.SetCaseSensitive(true);
    EXPECT_EQ(list.IndexOfName(u"NAME"), 1);
    EXPECT_EQ(list.Values(u"name"), UnicodeString(u"second"));
}

TEST(StringList, SortedListsKeepOrderAndHandleDuplicates) {
    TStringList list;
    list.Add(u"pear");
    list.Add(u"Apple");
    list.Add(u"banana");
    list.SetSorted(true);
    EXPECT_EQ(Items(list), (std::vector<std::u16string>{u"Apple", u"banana", u"pear"}));
    EXPECT_EQ(list.Add(u"APPLE"), 0); // dupIgnore answers the existing item
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.IndexOf(u"BANANA"), 1);
    EXPECT_EQ(list.IndexOf(u"cherry"), -1);
    list.Duplicates = dupError;
    EXPECT_THROW(list.Add(u"pear"), EStringListError);
    list.Duplicates = dupAccept;
    list.Add(u"Pear");
    EXPECT_EQ(list.Count(), 4);
    EXPECT_THROW(list.Insert(0, u"x"), EStringListError);
    EXPECT_THROW(list.Get(4), EStringListError);
    EXPECT_THROW(list.Delete(-1), EStringListError);
}

TEST(StringList, SortIsStableAndCustomSortSeesIndexes) {
    TStringList list;
    int tags[] = {1, 2, 3, 4};
    list.AddObject(u"b", &tags[0]);
    list.AddObject(u"A", &tags[1]);
    list.AddObject(u"a", &tags[2]);
    list.AddObject(u"B", &tags[3]);
    list.Sort();
    EXPECT_EQ(Items(list), (std::vector<std::u16string>{u"A", u"a", u"b", u"B"}));
    EXPECT_EQ(list.Objects(0), &tags[1]);
    EXPECT_EQ(list.Objects(3), &tags[3]);
    list.CustomSort([](TStringList& l, int i, int j) {
        return *static_cast<int*>(l.Objects(j)) - *static_cast<int*>(l.Objects(i));
    });
    EXPECT_EQ(Items(list), (std::vector<std::u16string>{u"B", u"a", u"A", u"b"}));
}

TEST(StringList, ChangeEventsFireOncePerUpdateBracket) {
    TStringList list;
    int changes = 0;
    list.OnChange = [&] { ++changes; };
    list.Add(u"a");
    EXPECT_EQ(changes, 1);
    list.BeginUpdate();
    list.Add(u"b");
    list.Add(u"c");
    list.Delete(0);
    list.EndUpdate();
    EXPECT_EQ(changes, 2);
    list.SetText(u"x\ny");
    EXPECT_EQ(changes, 3);
}

class StringListFiles : public ::testing::Test {
protected:
    UnicodeString Write(const std::string& name, const std::string& bytes) {
        std::ofstream(folder_.Path() / name, std::ios::binary) << bytes;
        return UnicodeString((folder_.Path() / name).string());
    }
    std::string Read(const UnicodeString& name) { return testsupport::ReadFile(name.ToUtf8()); }
    testsupport::ScratchFolder folder_;
};

TEST_F(StringListFiles, LoadsEveryEncodingAndSavesItBack) {
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<std::u16string> lines;
    };
    const Case cases[] = {
        {"utf16le",
         "\xFF\xFE"
         "a\0\r\0\n\0\x7C\x01"s,
         {u"a", u"ż"}},
        {"utf16be", "\xFE\xFF\0a\0\n\x01\x7C"s, {u"a", u"ż"}},
        {"utf8bom",
         "\xEF\xBB\xBF"
         "a\r\xC5\xBC"s,
         {u"a", u"ż"}},
        {"utf8", "a\n\xC5\xBC\n"s, {u"a", u"ż"}},
        {"cp1250", "a\r\n\xBF"s, {u"a", u"ż"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        UnicodeString file = Write(c.name, c.bytes);
        TStringList list;
        list.LoadFromFile(file);
        EXPECT_EQ(Items(list), c.lines);
        // Saving keeps the encoding it was read in.
        list.SaveToFile(file);
        TStringList again;
        again.LoadFromFile(file);
        EXPECT_EQ(Items(again), c.lines);
        EXPECT_EQ(again.Encoding(), list.Encoding());
    }
}

TEST_F(StringListFiles, NewListsSaveUtf8WithoutAMark) {
    TStringList list;
    list.Add(u"zażółć");
    list.Add(u"x");
    UnicodeString file(UnicodeString((folder_.Path() / "new.txt").string()));
    list.SaveToFile(file);
    EXPECT_EQ(Read(file), "za\xC5\xBC\xC3\xB3\xC5\x82\xC4\x87\r\nx\r\n"s);
    list.SaveToFile(file, TTextEncoding::Utf16LE);
    EXPECT_EQ(Read(file).substr(0, 4), "\xFF\xFEz\0"s);
}

TEST_F(StringListFiles, MissingFilesRaiseOpenErrorsNamingTheFile) {
    TStringList list;
    UnicodeString missing((folder_.Path() / "missing.txt").string());
    try {
        list.LoadFromFile(missing);
        FAIL();
    } catch (const EFOpenError& e) {
        EXPECT_GT(e.Message().Pos(missing), 0);
    }
    EXPECT_THROW(list.SaveToFile(UnicodeString((folder_.Path() / "no/such/dir.txt").string())),
                 EFCreateError);
}

TEST_F(StringListFiles, LoadFromStreamReadsFromThePosition) {
    TStringStream stream(AnsiString("skip\nline1\nline2"));
    stream.SetPosition(5);
    TStringList list;
    list.LoadFromStream(stream);
    EXPECT_EQ(Items(list), (std::vector<std::u16string>{u"line1", u"line2"}));
}

} // namespace
