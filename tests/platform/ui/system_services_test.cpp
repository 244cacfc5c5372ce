// Clipboard, message box, cursors, exception display and ending the process.
#include "platform/ui/Clipboard.h"
#include "platform/ui/Cursors.h"
#include "platform/ui/Forms.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/ProcessExit.h"

#include "UiTestSupport.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>

namespace {
class SystemServices : public UiTest {};

TEST_F(SystemServices, ClipboardTextRoundTripsUnicode) {
    UnicodeString text(u"Zażółć gęślą jaźń \U0001F600 \"quoted\"\r\nline 2");
    Clipboard()->SetAsText(text);
    EXPECT_TRUE(Clipboard()->HasFormat(CF_UNICODETEXT));
    EXPECT_FALSE(Clipboard()->HasFormat(2));
    EXPECT_EQ(Clipboard()->AsText(), text);
    Clipboard()->Clear();
    EXPECT_FALSE(Clipboard()->HasFormat(CF_UNICODETEXT));
    EXPECT_TRUE(Clipboard()->AsText().IsEmpty());
}

TEST_F(SystemServices, AMessageBoxWithoutADisplayWritesToStandardErrorAndRefuses) {
    struct Case {
        unsigned flags;
        int answer;
    } cases[] = {
        {MB_OK | MB_ICONWARNING, IDOK},     {MB_OKCANCEL, IDCANCEL},
        {MB_YESNO | MB_ICONQUESTION, IDNO}, {MB_YESNOCANCEL, IDCANCEL},
        {MB_ABORTRETRYIGNORE, IDABORT},     {MB_RETRYCANCEL, IDCANCEL},
    };
    for (const Case& c : cases) {
        testing::internal::CaptureStderr();
        int answer = MessageBox(nullptr, u"The installer does not contain any databases.",
                                u"Notice", c.flags);
        std::string written = testing::internal::GetCapturedStderr();
        EXPECT_EQ(answer, c.answer) << "flags " << c.flags;
        EXPECT_EQ(written, "Notice: The installer does not contain any databases.\n");
    }
}

TEST_F(SystemServices, ShowExceptionAddsAFullStopAndUsesTheTitle) {
    Application->SetTitle(u"Installer");
    struct Case {
        const char* message;
        const char* shown;
    } cases[] = {
        {"Cannot open file", "Installer: Cannot open file.\n"},
        {"Done.", "Installer: Done.\n"},
        {"Really?", "Installer: Really?\n"},
        {"Wait…", "Installer: Wait…\n"},
        {"List (3)", "Installer: List (3).\n"},
        {"", "Installer: \n"},
    };
    for (const Case& c : cases) {
        testing::internal::CaptureStderr();
        Application->ShowException(Exception(c.message));
        EXPECT_EQ(testing::internal::GetCapturedStderr(), c.shown);
    }
    Application->SetTitle(UnicodeString());
    EXPECT_EQ(Application->Title(), u"test_platform_ui");
    EXPECT_TRUE(Application->ExeName().Pos(u"/test_platform_ui") > 0);
}

TEST_F(SystemServices, CursorsFollowTheScreenOverride) {
    Screen->SetCursor(crHourGlass);
    EXPECT_EQ(ShownCursor(), crHourGlass);
    Screen->SetCursor(crDefault);
    EXPECT_EQ(ShownCursor(), crDefault);
    EXPECT_GT(Screen->Width(), 0);
    EXPECT_GT(Screen->Height(), 0);
}

TEST_F(SystemServices, ExitProcessEndsAtOnceWithTheCodeAfterFlushingOutput) {
    for (unsigned code : {0u, 2u, 3u}) {
        std::fflush(nullptr);
        char path[] = "/tmp/ui-exit-XXXXXX";
        int fd = mkstemp(path);
        ASSERT_GE(fd, 0);
        pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            dup2(fd, STDOUT_FILENO);
            std::printf("last line before %u", code); // buffered, no newline
            struct Noisy {
                ~Noisy() { std::printf(" destructor ran"); }
            } noisy;
            std::atexit([] { std::printf(" atexit ran"); });
            ExitProcess(code);
        }
        close(fd);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), static_cast<int>(code));
        std::ifstream in(path);
        std::stringstream written;
        written << in.rdbuf();
        EXPECT_EQ(written.str(), "last line before " + std::to_string(code));
        unlink(path);
    }
}
} // namespace
