// MMFile: one named shared-memory block through which the installer publishes its progress.
//
// Two blocks live for the whole process: "CAD_UpdateProgress" (4096 bytes: a percent byte, then
// the status text) and "CAD_DbInstall" (1024 bytes: the step's total and the done count as
// decimal text). Any other process may open them by name and follow an installation; nothing
// locks them, and a reader may see one field updated and the next not yet. A block that an
// earlier user left is opened as it is, never cleared.
//
// Fields are written whole: every write fills its field to the end with zero bytes.
#pragma once

#include "platform/win/SharedMemory.h"

#include <cstdint>
#include <string>

class MMFile {
public:
    MMFile(const std::string& name, int size);

    const std::string& Name() const { return name_; }
    int Size() const { return size; }
    // False when the block could not be created or mapped at its full size; every read then
    // gives zero bytes and every write goes nowhere.
    bool IsUsable() const { return data != nullptr; }
    const std::string& Error() const { return block_.Error(); }

    // The field's bytes up to its first zero byte.
    std::string ReadText(int offset, int length) const;
    // The bytes, cut to length - 1 so a zero byte always ends the field, then zero-filled.
    void WriteText(int offset, int length, const std::string& text);
    uint8_t ReadByte(int offset) const;
    void WriteByte(int offset, uint8_t value);

    int size;
    int position = 0;
    uint8_t* data = nullptr; // the mapped view

private:
    std::string name_;
    win::SharedMemoryBlock block_;
};

// The names of the two blocks; tests give their own so that runs side by side never meet.
inline constexpr const char* kUpdateProgressBlockName = "CAD_UpdateProgress";
inline constexpr const char* kDbInstallBlockName = "CAD_DbInstall";
inline constexpr int kUpdateProgressBlockSize = 4096;
inline constexpr int kDbInstallBlockSize = 1024;

// The process-wide blocks, opened on first use.
MMFile& UpdateProgressBlock();
MMFile& DbInstallBlock();
// Replaces the names (and closes blocks already open; the next use opens the new names).
void SetProgressBlockNames(const std::string& updateProgress, const std::string& dbInstall);
