// The wizard on a machine of the test's own: registry stores, temporary and library folders, a
// drive map, the installer's carried resources (layouts, styles, texts and the sample
// catalogue, packed from the build's manifest), program folders with version-stamped files,
// the configuration module, and both windows in an offscreen SDL window driven by pushed
// events on the injectable clock. The message window answers from a script and notes what it
// showed; the wizard's exits are recorded instead of ending the test.
#pragma once

#include "installer/config/General_module.h"
#include "installer/engine/Database_records.h"
#include "installer/ui/Maindbinstall_form.h"
#include "installer/ui/Message_form.h"
#include "platform/ui/UiTestSupport.h"
#include "support/TestSupport.h"

#include <SDL.h>

#include <deque>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class TsgVisualObject;

namespace wizardtest {

namespace fs = std::filesystem;
using testsupport::ScopedEnv;
using testsupport::ScratchFolder;

// A program folder of `line` in the flat layout: every file its check requires, stamped with
// `version`.
void MakeProgramFolder(const fs::path& folder, EProductLine line,
                       const std::string& version = "7.2.0.0");

class WizardWindow : public UiTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Programs the engine will detect (set before StartWizard).
    void Install(EProductLine line, const std::string& name);
    // Makes the configuration module (done by SetUp), then the engine and both windows.
    void StartWizard();

    // Pushed input at window coordinates, then the loop runs what is pending.
    void Click(int x, int y);
    // A click in the middle of the object's rectangle.
    void ClickOn(TsgVisualObject* object);
    void Run();
    // Advances the clock in steps of `step` ms, running the loop after each.
    void Advance(int ms, int step = 50);

    // The executable name of the CAD engine the wizard watches for ("viru.exe" in the program).
    static std::string CadEngineName();

    // The state whose page shows, by the tab control's index.
    int ShownPage() const;

    std::string Path(const std::string& relative) const { return scratch.Str() + "/" + relative; }

    ScratchFolder scratch;
    std::vector<std::unique_ptr<ScopedEnv>> env;
    std::unique_ptr<TGeneralMod> module;
    std::map<EProductLine, std::string> installed;
    TFormMainDbInstall* wizard = nullptr;
    std::unique_ptr<TFormMessage> message;
    Uint32 windowId = 0;

    // What the message window showed, in order, and how it answers: the next answers are
    // taken from the front ("yes", "no", "ok"); with none left it answers "no".
    std::vector<std::string> shown;
    std::deque<std::string> answers;
    std::vector<int> exits;
};

} // namespace wizardtest
