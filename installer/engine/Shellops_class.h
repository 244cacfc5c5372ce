// ShellOps: the system services the file-operations object needs.
//
// It knows the system folders and the user's temporary folder, reads the "FileVersion" text of
// a program file and turns it into numbers, tells whether a process of a given executable name
// runs (and can close it), starts a program and waits for it, and keeps the user-interface
// thread alive during long work by pumping pending messages at most once every 2000 ms.
//
// Versions: the text is split at every "." and only there; each part is a 32-bit number, and a
// part that is missing, empty or not a number is -1. "2, 0, 4, 5" is one part that is not a
// number, so every number is -1.
#pragma once

#include "platform/rtl/UnicodeString.h"

#include <cstdint>

class ShellOps {
public:
    ShellOps() = default;

    // Fills the folders from the platform's folder services.
    void Init();

    UnicodeString GetFileVersionString(const UnicodeString& path) const;
    UnicodeString GetFileVersion2(const UnicodeString& path, int& major, int& minor) const;
    UnicodeString GetFileVersion4(const UnicodeString& path, int& major, int& minor, int& release,
                                  int& build) const;

    // True when a process whose executable is `name` runs (names trimmed, compared without
    // case). With `closeRequest` every matching process is asked to close, waited for up to
    // 5000 ms and ended when it does not; the result is then the outcome of the last match.
    bool CheckProcess(const AnsiString& name, bool closeRequest);

    // Starts the program with the parameters (a Windows-style argument text) and waits for it,
    // pumping messages: its exit code; -1 when the program does not exist, -3 when it could not
    // be started or waited for.
    int RunAndWait(const UnicodeString& program, const UnicodeString& parameters);

    void ProcessMessagesThrottled();

    uint32_t lastPumpTick = 0;
    AnsiString programFilesFolder; // no trailing delimiter, as every folder but tempFolder
    AnsiString windowsFolder;
    AnsiString systemFolder;
    AnsiString fontsFolder;
    AnsiString commonFilesFolder;
    AnsiString system32BitFolder;
    UnicodeString tempFolder; // with a trailing delimiter; empty when there is none
};

// Splits a version text at its dots into `count` numbers (-1 for what is missing).
void ParseVersionParts(const UnicodeString& text, int* parts, int count);
