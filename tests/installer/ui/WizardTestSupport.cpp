#include "WizardTestSupport.h"

#include "installer/engine/Dodbinstallishthings.h"
#include "installer/engine/MMFile.h"
#include "installer/ui/Window_classes.h"
#include "platform/rtl/CommandLine.h"
#include "platform/ui/Application.h"
#include "platform/win/ResourceBundle.h"
#include "platform/win/Resources.h"
#include "platform/win/SharedMemory.h"
#include "scene/controls/Sg_tabcontrol.h"
#include "scene/core/Sg_scene_visual.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <mutex>
#include <sstream>
#include <unistd.h>

namespace wizardtest {

namespace {

fs::path BinaryDir() {
    const char* dir = std::getenv("DBI_BINARY_DIR");
    return dir ? fs::path(dir) : fs::path(DBI_BINARY_DIR);
}

// Progress blocks of this test process only, removed when it ends.
struct PrivateProgressBlocks {
    std::string update = "dbi-wizard-test-" + std::to_string(::getpid()) + "-update";
    std::string install = "dbi-wizard-test-" + std::to_string(::getpid()) + "-install";
    PrivateProgressBlocks() { SetProgressBlockNames(update, install); }
    ~PrivateProgressBlocks() {
        win::SharedMemoryBlock::Unlink(update);
        win::SharedMemoryBlock::Unlink(install);
    }
};
const PrivateProgressBlocks privateBlocks;

// A program file carrying a version resource, made once per process.
std::string VersionedFile(const std::string& version) {
    static ScratchFolder cache;
    static std::mutex lock;
    static std::map<std::string, std::string> made;
    std::lock_guard<std::mutex> guard(lock);
    if (auto found = made.find(version); found != made.end())
        return found->second;
    const std::string path = cache.Str() + "/v" + version + ".dll";
    const std::string command = "bash '" +
                                (testsupport::SourceDir() / "tools/make_pe_fixtures.sh").string() +
                                "' --version " + version + " '" + path + "' >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    made[version] = path;
    return path;
}

// The resources the program carries, as the build's manifest lists them.
std::string PackCarriedResources(const ScratchFolder& scratch) {
    std::ifstream manifest(BinaryDir() / "resources/catalogue.manifest");
    EXPECT_TRUE(manifest) << "the build packs the catalogue's manifest";
    std::vector<win::ResourceSource> sources;
    for (std::string line; std::getline(manifest, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        std::string name, type, file;
        fields >> name >> type;
        std::getline(fields >> std::ws, file);
        sources.push_back({name, type, {}, file});
    }
    const std::string path = scratch.Str() + "/carried.res";
    std::ofstream out(path, std::ios::binary);
    std::string error;
    EXPECT_TRUE(win::WriteResourceBundle(out, sources, 0, error)) << error;
    return path;
}

} // namespace

void MakeProgramFolder(const fs::path& folder, EProductLine line, const std::string& version) {
    fs::create_directories(folder);
    for (const TProgramFileForCheckup& file : GeneralMod->GetFilesToCheck(line, 1))
        fs::copy_file(VersionedFile(version), folder / file.fileName.ToUtf8(),
                      fs::copy_options::overwrite_existing);
}

void WizardWindow::SetUp() {
    UiTest::SetUp();
    const std::pair<const char*, std::optional<std::string>> variables[] = {
        {"DBI_REGISTRY_MACHINE", Path("machine.reg")},
        {"DBI_REGISTRY_USER", Path("user.reg")},
        {"DBI_TEMP_DIR", Path("temp")},
        {"DBI_SYSTEM_DIR", Path("system32")},
        {"DBI_WINDOWS_DIR", Path("windows")},
        {"DBI_PROGRAM_FILES_DIR", Path("program-files")},
        {"DBI_DRIVES", std::string("C=/")},
        {"DBI_NO_ADMIN", std::nullopt},
        {"DBI_LANGUAGE_ID", std::string("1033")},
        {"DBI_WINDOWS_VERSION", std::string("10.0.19045")},
    };
    for (const auto& [name, value] : variables)
        env.push_back(std::make_unique<ScopedEnv>(name, value));
    for (const char* folder : {"temp", "system32", "windows", "program-files"})
        fs::create_directories(scratch.Path() / folder);
    win::SetResourceFile(PackCarriedResources(scratch));
    SetCommandLine({ExecutableFileName()});
    module = std::make_unique<TGeneralMod>(nullptr);
    GeneralMod = module.get();
    // The CAD engine this test's wizard watches for: a name of its own, so that programs of
    // other tests running beside it are never taken for it.
    module->cadEngineExecutable = UnicodeString(CadEngineName());
    RegisterInstallerWindowClasses();
}

std::string WizardWindow::CadEngineName() {
    return "viru" + std::to_string(::getpid()) + ".exe";
}

void WizardWindow::TearDown() {
    SetEngineMessageWindow({});
    FormMessage = nullptr;
    delete wizard;
    wizard = nullptr;
    message.reset();
    GeneralMod = nullptr;
    module.reset();
    win::SetResourceFile("");
    UiTest::TearDown();
}

void WizardWindow::Install(EProductLine line, const std::string& name) {
    installed[line] = Path("programs/" + name);
}

void WizardWindow::StartWizard() {
    for (const auto& [line, folder] : installed) {
        MakeProgramFolder(folder, line);
        module->installedProducts[line] = UnicodeString(folder);
    }
    wizard = new TFormMainDbInstall(nullptr);
    wizard->ExitHook = [this](int code) { exits.push_back(code); };
    wizard->OpenAddress = [this](const UnicodeString& address) {
        shown.push_back("open " + address.ToUtf8());
    };
    message = std::make_unique<TFormMessage>();
    FormMessage = message.get();
    message->ShowModally = [this](TFormMessage& form) {
        shown.push_back(form.TextMessage->Text().ToUtf8());
        const std::string answer = answers.empty() ? "no" : answers.front();
        if (!answers.empty())
            answers.pop_front();
        if (answer == "yes")
            form.ButtonYesClick(nullptr);
        else if (answer == "ok")
            form.ButtonOkClick(nullptr);
        else
            form.ButtonNoClick(nullptr);
    };
    SetEngineMessageWindow(
        {[this](const UnicodeString& question, const UnicodeString& caption, bool focusYes) {
             message->Ask(question, caption, focusYes);
             return message->Answer;
         },
         [this](const UnicodeString& text, const UnicodeString& caption) {
             message->Info(text, caption);
         }});
    wizard->CopyImagesToMessageForm();
    windowId = SDL_GetWindowID(wizard->PlatformWindow());
    Run();
}

void WizardWindow::Run() {
    Application->ProcessMessages();
}

void WizardWindow::Advance(int ms, int step) {
    for (int passed = 0; passed < ms; passed += step) {
        clock.Advance(static_cast<uint64_t>(step));
        Run();
    }
}

void WizardWindow::Click(int x, int y) {
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.windowID = windowId;
    motion.motion.x = x;
    motion.motion.y = y;
    SDL_PushEvent(&motion);
    for (bool down : {true, false}) {
        SDL_Event e{};
        e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        e.button.windowID = windowId;
        e.button.button = SDL_BUTTON_LEFT;
        e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
        e.button.clicks = 1;
        e.button.x = x;
        e.button.y = y;
        SDL_PushEvent(&e);
    }
    Run();
}

void WizardWindow::ClickOn(TsgVisualObject* object) {
    ASSERT_NE(object, nullptr);
    const TsgRect r = object->AbsoluteRect();
    Click(static_cast<int>((r.Left + r.Right) / 2), static_cast<int>((r.Top + r.Bottom) / 2));
}

int WizardWindow::ShownPage() const {
    const int index = wizard->TabControlMain->ItemIndex();
    const std::pair<TsgTabItem*, int> pages[] = {
        {wizard->TabItem01Welcome, 0},    {wizard->TabItem02License, 1},
        {wizard->TabItem02ChoosePath, 2}, {wizard->TabItem03VerifyPath, 3},
        {wizard->TabItem04InstallDbs, 4}, {wizard->TabItem05Final, 5}};
    for (const auto& [item, state] : pages)
        if (item && item->Index() == index)
            return state;
    return -1;
}

} // namespace wizardtest
