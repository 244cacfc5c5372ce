// A stream over a file.
//
// Modes as the platform spells them: fmCreate creates or truncates the file for reading and
// writing; fmOpenRead, fmOpenWrite and fmOpenReadWrite open an existing file. Share modes
// (fmShare*) may be or-ed in; they are accepted and ignored, since POSIX files have no share
// locks. A failing open raises EFOpenError ("Cannot open file "name". reason") or, for
// fmCreate, EFCreateError ("Cannot create file "name". reason"). The name is passed through
// NativePath (Paths.h).
#pragma once

#include "platform/rtl/Stream.h"
#include "platform/rtl/UnicodeString.h"

constexpr unsigned short fmCreate = 0xFF00;
constexpr unsigned short fmOpenRead = 0x0000;
constexpr unsigned short fmOpenWrite = 0x0001;
constexpr unsigned short fmOpenReadWrite = 0x0002;
constexpr unsigned short fmShareCompat = 0x0000;
constexpr unsigned short fmShareExclusive = 0x0010;
constexpr unsigned short fmShareDenyWrite = 0x0020;
constexpr unsigned short fmShareDenyRead = 0x0030;
constexpr unsigned short fmShareDenyNone = 0x0040;

class TFileStream : public TStream {
public:
    TFileStream(const UnicodeString& fileName, unsigned short mode);
    ~TFileStream() override;

    int32_t Read(void* buffer, int32_t count) override;
    int32_t Write(const void* buffer, int32_t count) override;
    int64_t Seek(int64_t offset, TSeekOrigin origin) override;
    int64_t GetSize() override;
    // Truncates or extends the file; raises EStreamError when the file cannot be resized.
    void SetSize(int64_t newSize) override;

    const UnicodeString& FileName() const { return fileName_; }
    int Handle() const { return fd_; }

private:
    UnicodeString fileName_;
    int fd_ = -1;
};
