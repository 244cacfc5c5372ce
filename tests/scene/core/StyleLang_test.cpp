// The style container and the translations: building the style tree, its binary form, the
// scenes it updates; the active translation table, translating back, collecting and the
// languages' binary form.
#include "scene/core/Sg_scene.h"

#include "platform/classes/Filer.h"
#include "platform/rtl/FileStream.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/MemoryStream.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// A text that re-translates itself whenever its scene re-applies the styles, as text controls
// do.
class TsgLangTestText : public TsgVisualObject {
    DBI_PERSISTENT(TsgLangTestText, TsgVisualObject)

    explicit TsgLangTestText(TComponent* AOwner) : TsgVisualObject(AOwner) {}
    void UpdateResource() override {
        ++Updates;
        Text = Translate(Text);
    }
    UnicodeString Text;
    int Updates = 0;
};

DBI_PUBLISH(TsgLangTestText) {}

namespace {

// Records what a component defines for its form stream.
class TRecordingFiler : public TFiler {
public:
    TRecordingFiler() : TFiler(stream) {}
    void DefineProperty(const AnsiString&, const TReaderProc&, const TWriterProc&, bool) override {}
    void DefineBinaryProperty(const AnsiString& name, const TStreamProc&, const TStreamProc& write,
                              bool hasData) override {
        if (hasData) {
            written.push_back(std::string(name.c_str()));
            write(stream);
        }
    }
    TMemoryStream stream;
    std::vector<std::string> written;
};

class Translations : public testing::Test {
protected:
    void SetUp() override {
        RegisterSgSceneUnit();
        RegisterClass(TsgLangTestText::StaticClassInfo());
        FinalizeLang();
        text = new TsgLangTestText(nullptr);
        scene.AddObject(text);
    }
    void TearDown() override { FinalizeLang(); }

    TsgWideStringList* Table(std::initializer_list<const char16_t*> lines) {
        auto* t = new TsgWideStringList();
        for (const char16_t* line : lines)
            t->Add(line);
        tables.emplace_back(t);
        return t;
    }

    testsupport::ScratchFolder scratch;
    TsgScene scene{nullptr};
    TsgLangTestText* text = nullptr;
    std::vector<std::unique_ptr<TsgWideStringList>> tables;
};

TEST_F(Translations, TranslateLooksUpForwardAndDuringResetBackward) {
    EXPECT_EQ(Translate(u""), u"");
    EXPECT_EQ(Translate(u"Cancel"), u"Cancel") << "no table";
    text->Text = u"Cancel";
    LoadLangFromStrings(Table({u"Cancel=Anuluj", u"Yes=", u"No=Nie"}));
    EXPECT_EQ(text->Text, u"Anuluj") << "the scene re-applied its texts";
    struct Case {
        const char16_t* text;
        const char16_t* expected;
    } cases[] = {{u"Cancel", u"Anuluj"},
                 {u"Yes", u"Yes"},
                 {u"Missing", u"Missing"},
                 {u"No", u"Nie"},
                 {u"Anuluj", u"Anuluj"}};
    for (const Case& c : cases)
        EXPECT_EQ(Translate(c.text), c.expected) << AnsiString(UnicodeString(c.text)).c_str();
    LoadLangFromStrings(ActiveLang()); // the table in force as its own source
    EXPECT_EQ(Translate(u"Cancel"), u"Anuluj");
    EXPECT_EQ(text->Text, u"Anuluj");
    ResetLang();
    EXPECT_EQ(text->Text, u"Cancel") << "translated back";
    EXPECT_EQ(ActiveLang(), nullptr);
    LoadLangFromStrings(nullptr);
    EXPECT_EQ(ActiveLang(), nullptr);
}

TEST_F(Translations, SwitchingLanguagesGoesBackFirstAndEnRemovesTheTable) {
    TsgLang lang(nullptr);
    lang.SetAutoSelect(false);
    lang.AddLang(u"pl");
    lang.AddLang(u"de");
    lang.AddLang(u"pl");
    ASSERT_EQ(lang.Resources()->Count(), 2);
    lang.GetLangStr(u"pl")->Add(u"Cancel=Anuluj");
    lang.GetLangStr(u"de")->Add(u"Cancel=Abbrechen");
    text->Text = u"Cancel";
    lang.SetLang(u"pl");
    EXPECT_EQ(text->Text, u"Anuluj");
    lang.SetLang(u"de");
    EXPECT_EQ(text->Text, u"Abbrechen");
    lang.SetLang(u"fr"); // no such language: the table in force stays
    EXPECT_EQ(Translate(u"Cancel"), u"Abbrechen");
    lang.SetLang(u"en");
    EXPECT_EQ(text->Text, u"Cancel");
    EXPECT_EQ(ActiveLang(), nullptr);
}

TEST_F(Translations, CollectingKeepsEveryTextOnceButNotTheEmptyOne) {
    CollectLangStart();
    for (const char16_t* t : {u"Next", u"", u"Back", u"Next"})
        Translate(t);
    ASSERT_NE(CollectLangStrings(), nullptr);
    EXPECT_EQ(CollectLangStrings()->Count(), 2);
    EXPECT_EQ(CollectLangStrings()->Strings(0), u"Back");
    CollectLangFinish();
    EXPECT_EQ(CollectLangStrings(), nullptr);
}

TEST_F(Translations, LanguagesInFormsAndFiles) {
    TsgLang lang(nullptr);
    TRecordingFiler empty;
    lang.DefineProperties(empty);
    EXPECT_TRUE(empty.written.empty()) << "no languages, no ResourcesBin";
    lang.Original()->Add(u"Cancel");
    lang.AddLang(u"pl");
    lang.GetLangStr(u"pl")->Add(u"Cancel=Anuluj");
    lang.SetStoreInForm(false);
    TRecordingFiler notStored;
    lang.DefineProperties(notStored);
    EXPECT_TRUE(notStored.written.empty());
    lang.SetStoreInForm(true);
    TRecordingFiler stored;
    lang.DefineProperties(stored);
    ASSERT_EQ(stored.written, std::vector<std::string>{"ResourcesBin"});
    // The original text comes first: a count of UTF-16 units, then the units.
    const auto* bytes = static_cast<const uint8_t*>(stored.stream.Memory());
    const UnicodeString original = lang.Original()->Text();
    EXPECT_EQ(bytes[0], original.Length());
    EXPECT_EQ(bytes[4], u'C');
    EXPECT_EQ(bytes[5], 0);

    const UnicodeString file = UnicodeString(scratch / "two.lng");
    lang.AddLang(u"de");
    lang.GetLangStr(u"de")->Add(u"Cancel=Abbrechen");
    lang.SaveToFile(file);
    TsgLang twice(nullptr);
    twice.LoadFromFile(file);
    twice.LoadFromFile(file);
    twice.LoadFromFile(file + u".missing");
    ASSERT_EQ(twice.Resources()->Count(), 4) << "languages read are appended";
    EXPECT_EQ(twice.Resources()->Strings(2), u"pl");
    EXPECT_EQ(twice.GetLangStr(u"pl"), twice.Resources()->Objects(0));
    EXPECT_EQ(twice.GetLangStr(u"de")->GetValue(u"Cancel"), u"Abbrechen");
    EXPECT_EQ(twice.Original()->Strings(0), u"Cancel");
}

TEST_F(Translations, ADamagedLanguageFileRaisesInsteadOfAllocating) {
    TMemoryStream damaged;
    const uint8_t huge[] = {0xFF, 0xFF, 0xFF, 0x7F, 'A', 0};
    damaged.WriteBuffer(huge, sizeof huge);
    damaged.SetPosition(0);
    TsgLang lang(nullptr);
    EXPECT_THROW(lang.ReadResources(damaged), EReadError);
}

TEST_F(Translations, TheTableFileFormIsTheWideStringList) {
    const UnicodeString file = UnicodeString(scratch / "table.txt");
    TsgWideStringList table;
    table.Add(u"Back=Wstecz");
    table.SaveToFile(file);
    text->Text = u"Back";
    LoadLangFromFile(file + u".missing");
    EXPECT_EQ(text->Text, u"Back");
    LoadLangFromFile(file);
    EXPECT_EQ(text->Text, u"Wstecz");
}

TEST_F(Translations, TheUsersLanguagePicksTheTableWhenTheComponentLoads) {
    struct Case {
        const char* languageId;
        const char16_t* code;
    } cases[] = {{"0x0415", u"pl"}, {"0x0407", u"de"}, {"0x0C07", u"de"},
                 {"0x0409", u"en"}, {"0x0405", u"cs"}, {"0x0476", u""}};
    for (const Case& c : cases) {
        testsupport::ScopedEnv language("DBI_LANGUAGE_ID", c.languageId);
        EXPECT_EQ(UserLanguageCode(), c.code) << c.languageId;
    }
    testsupport::ScopedEnv polish("DBI_LANGUAGE_ID", "0x0415");
    TsgLang lang(nullptr);
    lang.AddLang(u"pl");
    lang.GetLangStr(u"pl")->Add(u"Cancel=Anuluj");
    text->Text = u"Cancel";
    lang.SetStateFlags(csLoading);
    lang.SetLang(u"de"); // read from the form, replaced by the user's language
    EXPECT_EQ(text->Text, u"Cancel") << "nothing happens while loading";
    lang.Loaded();
    EXPECT_EQ(lang.Lang(), u"pl");
    EXPECT_EQ(text->Text, u"Anuluj");
}

class StyleContainer : public Translations {};

TEST_F(StyleContainer, StyleTextBuildsTheTreeAndUpdatesItsScenes) {
    TsgResources style(nullptr);
    scene.SetStyle(&style);
    const int before = text->Updates;
    style.Resource().SetText(u"object TsgVisualObject\n  Width = 30.0\nend\n");
    ASSERT_NE(style.Root, nullptr);
    EXPECT_EQ(style.Root->Visual()->Width(), 30);
    EXPECT_EQ(sgStyleRootOf(&style), style.Root);
    EXPECT_EQ(text->Updates, before + 1);
    style.Resource().SetText(u"object Nonsense\nend\n");
    EXPECT_EQ(style.Root, nullptr) << "a text that cannot be read gives no tree";
    EXPECT_EQ(text->Updates, before + 2);
}

TEST_F(StyleContainer, TheBinaryTreeGoesIntoTheFormOnlyWhenThereIsOne) {
    TsgResources style(nullptr);
    TRecordingFiler none;
    style.DefineProperties(none);
    EXPECT_TRUE(none.written.empty());
    style.Resource().SetText(u"object TsgVisualObject\n  Height = 12.0\nend\n");
    TRecordingFiler stored;
    style.DefineProperties(stored);
    ASSERT_EQ(stored.written, std::vector<std::string>{"ResourcesBin"});
    TsgResources copy(nullptr);
    stored.stream.SetPosition(0);
    copy.ReadResources(stored.stream);
    ASSERT_NE(copy.Root, nullptr);
    EXPECT_EQ(copy.Root->Visual()->Height(), 12);
}

TEST_F(StyleContainer, FilesAreReadFromTheNameGivenAndMissingOnesIgnored) {
    const UnicodeString file = UnicodeString(scratch / "style.txt");
    {
        TFileStream out(file, fmCreate);
        const std::string text = "object TsgVisualObject\n  Width = 7.0\nend\n";
        out.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
    }
    TsgResources style(nullptr);
    style.SetFileName(file + u".missing");
    EXPECT_EQ(style.Root, nullptr);
    style.SetFileName(file);
    ASSERT_NE(style.Root, nullptr);
    EXPECT_EQ(style.Root->Visual()->Width(), 7);
    const UnicodeString bin = file + u".bin";
    style.SaveToBinFile(bin);
    EXPECT_GT(FileSizeOf(bin), 4);
}

TEST_F(StyleContainer, AStyleThatGoesIsForgottenByItsScenes) {
    auto style = std::make_unique<TsgResources>(nullptr);
    scene.SetStyle(style.get());
    EXPECT_EQ(scene.Style(), style.get());
    style.reset();
    EXPECT_EQ(scene.Style(), nullptr);
}

} // namespace
