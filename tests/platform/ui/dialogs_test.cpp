#include "platform/ui/Dialogs.h"

#include "platform/rtl/Exceptions.h"

#include "UiTestSupport.h"

#include <sys/stat.h>

#include <cstdlib>

namespace {
class Dialogs : public UiTest {
protected:
    void TearDown() override {
        SetDialogRunner(nullptr);
        UiTest::TearDown();
    }
    // Answers `answer` and remembers what the dialog program was asked.
    void Answer(std::optional<std::string> answer) {
        SetDialogRunner([this, answer](const std::vector<std::string>& arguments) {
            asked = arguments;
            return answer;
        });
    }
    std::vector<std::string> asked;
};

TEST_F(Dialogs, TheFolderBrowserStartsAtTheFolderAndAnswersTheChoice) {
    Answer("/opt/cad/Program 2024/");
    UnicodeString folder(u"/home/user/");
    ASSERT_TRUE(SelectDirectory(u"Please select a directory", u"", folder));
    EXPECT_EQ(folder, u"/opt/cad/Program 2024");
    EXPECT_EQ(asked, (std::vector<std::string>{"zenity", "--file-selection", "--directory",
                                               "--title=Please select a directory",
                                               "--filename=/home/user/"}));

    Answer(std::nullopt);
    folder = u"/keep";
    EXPECT_FALSE(SelectDirectory(u"", u"/root-folder", folder));
    EXPECT_EQ(folder, u"/keep") << "a cancelled browser leaves the folder alone";
    EXPECT_EQ(asked.back(), "--filename=/keep/");
}

TEST_F(Dialogs, OpenAndSaveDialogsPassFiltersAndAddTheDefaultExtension) {
    Answer("/tmp/licence");
    TSaveDialog save;
    save.Title = u"Save";
    save.InitialDir = u"/tmp";
    save.Filter = u"Rich text (*.rtf)|*.rtf|All files|*.*;*";
    save.DefaultExt = u"rtf";
    ASSERT_TRUE(save.Execute());
    EXPECT_EQ(save.FileName, u"/tmp/licence.rtf");
    EXPECT_EQ(asked,
              (std::vector<std::string>{"zenity", "--file-selection", "--save",
                                        "--confirm-overwrite", "--title=Save", "--filename=/tmp/",
                                        "--file-filter=Rich text (*.rtf) | *.rtf",
                                        "--file-filter=All files | *.* *"}));

    Answer("/a/one.txt\n/a/two.txt");
    TOpenDialog open;
    open.AllowMultiSelect = true;
    ASSERT_TRUE(open.Execute());
    EXPECT_EQ(open.FileName, u"/a/one.txt");
    EXPECT_EQ(open.Files, (std::vector<UnicodeString>{u"/a/one.txt", u"/a/two.txt"}));
}

TEST_F(Dialogs, ColourAnswersAreReadInEveryFormTheProgramPrints) {
    struct Case {
        const char* text;
        std::optional<uint32_t> color;
    } cases[] = {
        {"rgb(255,0,0)", 0x0000FFu},       {"rgb(1,2,3)", 0x030201u},
        {"rgba(16,32,48,0.5)", 0x302010u}, {"#10a0ff", 0xFFA010u},
        {"rgb(256,0,0)", std::nullopt},    {"red", std::nullopt},
        {"#10a0f", std::nullopt},          {"rgb(1,2,3)x", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseDialogColor(c.text), c.color) << c.text;

    Answer("rgb(0,128,255)");
    TColorDialog dialog;
    dialog.Color = 0x00332211u;
    ASSERT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.Color, 0x00FF8000u);
    EXPECT_EQ(asked.back(), "--color=rgb(17,34,51)");

    Answer("not a colour");
    EXPECT_THROW(dialog.Execute(), EConvertError);
}

TEST_F(Dialogs, WithoutTheDialogProgramADialogFailsClearly) {
    std::string savedPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("PATH", "/nonexistent-folder", 1);
    UnicodeString folder;
    try {
        SelectDirectory(u"Choose", u"", folder);
        ADD_FAILURE() << "no exception";
    } catch (const ENotSupportedException& e) {
        EXPECT_GT(e.Message().Pos(u"zenity"), 0) << e.what();
    }
    setenv("PATH", savedPath.c_str(), 1);
    EXPECT_THROW(TPrintDialog().Execute(), ENotSupportedException);
}

TEST_F(Dialogs, TheDialogProgramIsStartedWithoutAShellAndItsExitCodeMeansCancel) {
    // A stand-in dialog program that prints its arguments (so shell characters stay literal)
    // and cancels when asked to.
    std::string folder = std::string(DBI_BINARY_DIR) + "/ui-dialog-bin";
    std::string script = folder + "/zenity";
    ASSERT_EQ(system(("mkdir -p '" + folder + "'").c_str()), 0);
    FILE* f = std::fopen(script.c_str(), "w");
    ASSERT_NE(f, nullptr);
    std::fputs("#!/bin/sh\ncase \"$3\" in *cancel*) exit 1;; esac\nprintf '%s' \"$3\"\n", f);
    std::fclose(f);
    ASSERT_EQ(chmod(script.c_str(), 0755), 0);
    std::string savedPath = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("PATH", (folder + ":" + savedPath).c_str(), 1);

    UnicodeString chosen;
    EXPECT_TRUE(SelectDirectory(u"$(touch /tmp/never) `x` ; |", u"", chosen));
    EXPECT_EQ(chosen, u"--title=$(touch /tmp/never) `x` ; |");
    EXPECT_FALSE(SelectDirectory(u"cancel", u"", chosen));
    setenv("PATH", savedPath.c_str(), 1);
}
} // namespace
