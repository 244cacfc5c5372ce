// Program entry of the database installer.
//
// Builds the long-lived objects in their fixed order: the configuration module (whose
// constructor runs the whole start-up: platform probe, Setup.ini, registry, command line,
// interface texts), then the two windows, then runs the message loop. The windows end the
// process themselves with their own exit codes; the loop returning is not the normal way out.
#include "installer/config/General_module.h"
#include "installer/ui/Installer_windows.h"
#include "platform/rtl/Exceptions.h"
#include "platform/ui/Application.h"
#include "platform/ui/ProcessExit.h"

namespace {

// The exit code of a start that failed before the wizard could run.
constexpr unsigned kFatalStartExitCode = 3;

} // namespace

int main() {
    try {
        Application->Initialize();
        Application->MainFormOnTaskBar = true;
        Application->CreateForm(GeneralMod);
        if (!CreateInstallerWindows())
            return 0;
        Application->Run();
    } catch (const Exception& error) {
        Application->ShowException(error);
        ExitProcess(kFatalStartExitCode);
    } catch (...) {
        // Anything outside the platform's exception family is shown the same way, without text.
        Application->ShowException(Exception(UnicodeString()));
        ExitProcess(kFatalStartExitCode);
    }
    return 0;
}
