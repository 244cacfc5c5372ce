#include "platform/ui/Dialogs.h"

#include "platform/rtl/Exceptions.h"
#include "platform/ui/Application.h"
#include "platform/ui/WindowRegistry.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <sstream>

extern char** environ;

namespace {
TDialogRunner& InstalledRunner() {
    static TDialogRunner runner;
    return runner;
}

std::string FindProgram(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::stringstream folders(path ? path : "");
    std::string folder;
    while (std::getline(folders, folder, ':')) {
        if (folder.empty())
            continue;
        std::string candidate = folder + "/" + name;
        struct stat info {};
        if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
            access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return "";
}

// Holds back input to every form while an outside dialog is open.
class TFormsDisabled {
public:
    TFormsDisabled() {
        for (TWinControl* window : TWindowRegistry::All()) {
            auto* form = dynamic_cast<TForm*>(window);
            if (form && !form->Parent() && form->Visible() && form->Enabled()) {
                form->SetEnabled(false);
                disabled_.push_back(form);
            }
        }
    }
    ~TFormsDisabled() {
        for (TForm* form : disabled_) {
            if (TWindowRegistry::Contains(form))
                form->SetEnabled(true);
        }
    }

private:
    std::vector<TForm*> disabled_;
};

std::optional<std::string> RunZenity(const std::vector<std::string>& arguments) {
    std::string program = FindProgram(arguments.front());
    if (program.empty())
        throw ENotSupportedException(UnicodeString("No dialog program is installed (\"" +
                                                   arguments.front() +
                                                   "\" was not found), so this dialog cannot "
                                                   "be shown."));
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0)
        RaiseLastOSError();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    std::vector<char*> argv;
    for (const std::string& a : arguments)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t child = 0;
    int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    if (spawned != 0) {
        close(pipeEnds[0]);
        RaiseLastOSError(spawned);
    }
    std::string output;
    {
        TFormsDisabled held;
        char buffer[4096];
        for (;;) {
            pollfd watch{pipeEnds[0], POLLIN, 0};
            int ready = poll(&watch, 1, 50);
            if (ready < 0 && errno != EINTR)
                break;
            if (ready > 0) {
                ssize_t got = read(pipeEnds[0], buffer, sizeof buffer);
                if (got > 0) {
                    output.append(buffer, static_cast<size_t>(got));
                    continue;
                }
                if (got == 0 || errno != EINTR)
                    break;
            }
            // Our own windows go on painting and their timers ticking behind the dialog.
            if (Application)
                Application->ProcessMessages();
        }
    }
    close(pipeEnds[0]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 1)
        return std::nullopt;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw EOSError(UnicodeString("The dialog program failed."),
                       WIFEXITED(status) ? static_cast<unsigned>(WEXITSTATUS(status)) : 0u);
    while (!output.empty() && (output.back() == '\n' || output.back() == '\r'))
        output.pop_back();
    return output;
}

std::optional<std::string> RunDialog(const std::vector<std::string>& arguments) {
    if (InstalledRunner())
        return InstalledRunner()(arguments);
    return RunZenity(arguments);
}

std::string WithoutTrailingSlash(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

// "Text (*.txt)|*.txt;*.text|All|*.*" -> "Text (*.txt) | *.txt *.text", "All | *.*"
std::vector<std::string> ZenityFilters(const std::string& filter) {
    std::vector<std::string> parts;
    std::stringstream in(filter);
    std::string part;
    while (std::getline(in, part, '|'))
        parts.push_back(part);
    std::vector<std::string> filters;
    for (size_t i = 0; i + 1 < parts.size(); i += 2) {
        std::string patterns = parts[i + 1];
        for (char& c : patterns) {
            if (c == ';')
                c = ' ';
        }
        filters.push_back("--file-filter=" + parts[i] + " | " + patterns);
    }
    return filters;
}

std::string WithDefaultExt(const std::string& name, const std::string& ext) {
    if (ext.empty())
        return name;
    size_t slash = name.rfind('/');
    size_t dot = name.rfind('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash))
        return name;
    return name + "." + (ext.front() == '.' ? ext.substr(1) : ext);
}
} // namespace

void SetDialogRunner(TDialogRunner runner) {
    InstalledRunner() = std::move(runner);
}

bool SelectDirectory(const UnicodeString& caption, const UnicodeString& root,
                     UnicodeString& directory) {
    std::vector<std::string> arguments{"zenity", "--file-selection", "--directory"};
    if (!caption.IsEmpty())
        arguments.push_back("--title=" + caption.ToUtf8());
    UnicodeString start = directory.IsEmpty() ? root : directory;
    if (!start.IsEmpty())
        arguments.push_back("--filename=" + WithoutTrailingSlash(start.ToUtf8()) + "/");
    std::optional<std::string> answer = RunDialog(arguments);
    if (!answer || answer->empty())
        return false;
    directory = UnicodeString::FromUtf8(WithoutTrailingSlash(*answer));
    return true;
}

bool TOpenDialog::Execute() {
    return Run(false, false);
}

bool TSaveDialog::Execute() {
    return Run(true, OverwritePrompt);
}

bool TOpenDialog::Run(bool save, bool confirmOverwrite) {
    std::vector<std::string> arguments{"zenity", "--file-selection"};
    if (save)
        arguments.push_back("--save");
    if (confirmOverwrite)
        arguments.push_back("--confirm-overwrite");
    if (!save && AllowMultiSelect) {
        arguments.push_back("--multiple");
        arguments.push_back("--separator=\n");
    }
    if (!Title.IsEmpty())
        arguments.push_back("--title=" + Title.ToUtf8());
    std::string start = FileName.ToUtf8();
    if (!InitialDir.IsEmpty() && (start.empty() || start.front() != '/'))
        start = WithoutTrailingSlash(InitialDir.ToUtf8()) + "/" + start;
    if (!start.empty())
        arguments.push_back("--filename=" + start);
    for (const std::string& f : ZenityFilters(Filter.ToUtf8()))
        arguments.push_back(f);
    std::optional<std::string> answer = RunDialog(arguments);
    if (!answer || answer->empty())
        return false;
    Files.clear();
    std::stringstream names(*answer);
    std::string name;
    while (std::getline(names, name, '\n')) {
        if (!name.empty())
            Files.push_back(UnicodeString::FromUtf8(WithDefaultExt(name, DefaultExt.ToUtf8())));
    }
    if (Files.empty())
        return false;
    FileName = Files.front();
    return true;
}

std::optional<uint32_t> ParseDialogColor(const std::string& text) {
    unsigned r = 0, g = 0, b = 0;
    double alpha = 0;
    char tail = 0;
    if (std::sscanf(text.c_str(), "rgb(%u,%u,%u)%c", &r, &g, &b, &tail) == 3 ||
        std::sscanf(text.c_str(), "rgba(%u,%u,%u,%lf)%c", &r, &g, &b, &alpha, &tail) == 4 ||
        (text.size() == 7 && std::sscanf(text.c_str(), "#%2x%2x%2x%c", &r, &g, &b, &tail) == 3)) {
        if (r > 255 || g > 255 || b > 255)
            return std::nullopt;
        return (b << 16) | (g << 8) | r;
    }
    return std::nullopt;
}

bool TColorDialog::Execute() {
    char start[32];
    std::snprintf(start, sizeof start, "--color=rgb(%u,%u,%u)", Color & 0xFF, (Color >> 8) & 0xFF,
                  (Color >> 16) & 0xFF);
    std::optional<std::string> answer = RunDialog({"zenity", "--color-selection", start});
    if (!answer)
        return false;
    std::optional<uint32_t> chosen = ParseDialogColor(*answer);
    if (!chosen)
        throw EConvertError(UnicodeString("The colour dialog answered \"" + *answer +
                                          "\", which is not a colour."));
    Color = *chosen;
    return true;
}

bool TPrintDialog::Execute() {
    throw ENotSupportedException(
        UnicodeString("The print dialog is not available on this platform."));
}
