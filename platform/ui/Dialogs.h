// The folder browser and the common dialogs (open, save, colour, font, print).
//
// They are shown by the desktop's dialog program, zenity, started without a shell and waited for
// while the message loop keeps the program's windows painted (input to them is held back, as
// under any modal dialog). Without zenity, a dialog raises ENotSupportedException saying so;
// the print dialog has no counterpart there and always raises it. Tests put a runner of their
// own in place and answer for the user. The font dialog is the program's own window
// (FontDialog.h).
#pragma once

#include "platform/classes/Persistent.h"
#include "platform/rtl/UnicodeString.h"
#include "platform/ui/FontDialog.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// Runs the dialog program with `arguments` (the program name first) and answers what it printed
// without the final line break, or nullopt when the user cancelled.
using TDialogRunner =
    std::function<std::optional<std::string>(const std::vector<std::string>& arguments)>;

// Installs `runner` in place of zenity; an empty runner restores zenity.
void SetDialogRunner(TDialogRunner runner);

// The folder browser: `directory` is where it starts and, when the user confirms, the folder
// chosen (without a trailing delimiter). `root`, when not empty, is where it starts if
// `directory` is empty. True when confirmed.
bool SelectDirectory(const UnicodeString& caption, const UnicodeString& root,
                     UnicodeString& directory);

class TOpenDialog {
public:
    virtual ~TOpenDialog() = default;
    // True when the user chose; FileName (and Files) then hold the choice.
    virtual bool Execute();

    UnicodeString Title;
    UnicodeString InitialDir;
    UnicodeString FileName;
    // "Description|pattern;pattern|Description|pattern..." as the class library writes it.
    UnicodeString Filter;
    // Appended (with a dot) to a chosen name that has no extension.
    UnicodeString DefaultExt;
    bool AllowMultiSelect = false;
    std::vector<UnicodeString> Files;

protected:
    bool Run(bool save, bool confirmOverwrite);
};

class TSaveDialog : public TOpenDialog {
public:
    bool Execute() override;
    bool OverwritePrompt = true;
};

class TColorDialog : public TObject {
public:
    bool Execute();
    // The class library's colour value: 0x00BBGGRR.
    uint32_t Color = 0;
};

class TPrintDialog {
public:
    bool Execute();
};

// Reads the colour text of the dialog program ("rgb(r,g,b)", "rgba(r,g,b,a)" or "#rrggbb") into
// 0x00BBGGRR; nullopt for anything else.
std::optional<uint32_t> ParseDialogColor(const std::string& text);
