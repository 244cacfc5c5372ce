#include "installer/ui/Installer_windows.h"

#include "installer/engine/Dodbinstallishthings.h"
#include "installer/ui/Maindbinstall_form.h"
#include "installer/ui/Message_form.h"
#include "installer/ui/Window_classes.h"
#include "platform/ui/Application.h"

bool CreateInstallerWindows() {
    RegisterInstallerWindowClasses();
    Application->CreateForm(FormMainDbInstall);
    Application->CreateForm(FormMessage);
    // From here on the engine's questions and notices go through the message window.
    SetEngineMessageWindow(
        {[](const UnicodeString& question, const UnicodeString& caption, bool focusYes) {
             FormMessage->Ask(question, caption, focusYes);
             return FormMessage->Answer;
         },
         [](const UnicodeString& text, const UnicodeString& caption) {
             FormMessage->Info(text, caption);
         }});
    FormMainDbInstall->CopyImagesToMessageForm();
    return true;
}
