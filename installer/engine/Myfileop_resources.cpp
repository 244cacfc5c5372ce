// The installer's own resources written into files, in 32 KB blocks, with progress.
#include "installer/engine/Myfileop_class.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileStream.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/Paths.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/StringUtils.h"
#include "platform/win/FileSystem.h"
#include "platform/win/Resources.h"
#include "scene/controls/Sg_progressbar.h"

#include <algorithm>

namespace {

constexpr int64_t kResourceBlockSize = 32768;
// Bars and shared memory are left alone on every 60th block.
constexpr int64_t kQuietBlockInterval = 60;

} // namespace

int64_t MyFileOp::GetResourceSize(const void* /*module*/, const UnicodeString& name) {
    const auto bytes = win::FindResource(name.ToUtf8(), win::RT_RCDATA);
    if (!bytes)
        return -2;
    return bytes->size() > 0 ? static_cast<int64_t>(bytes->size()) : 0;
}

bool MyFileOp::ResourceExists(const void* module, const UnicodeString& name) {
    return GetResourceSize(module, name) > 0;
}

bool MyFileOp::SaveResourceToFile(const void* /*module*/, const UnicodeString& name,
                                  const UnicodeString& file, TsgProgressBar* mainBar,
                                  TsgProgressBar* subBar) {
    const auto bytes = win::FindResource(name.ToUtf8(), win::RT_RCDATA);
    if (!bytes || bytes->empty() || file.IsEmpty())
        return false;
    const UnicodeString folder = ExcludeTrailingPathDelimiter(ExtractFilePath(file));
    if (!folder.IsEmpty() && !DirectoryExists(folder) && !ForceDirectories(folder))
        return false;

    // The resource grows under a name of its own and replaces an earlier file only when whole,
    // so a full disk never leaves a truncated library or archive under the real name.
    const UnicodeString partial = ExtractFilePath(file) + u"~" + ExtractFileName(file) + u".part";
    const bool bothBars = mainBar && subBar;
    const int64_t size = static_cast<int64_t>(bytes->size());
    int64_t written = 0;
    float base = 0;
    try {
        TFileStream output(partial, fmCreate);
        int64_t blocks = 0;
        WriteUpdateProgress(0, UnicodeString(), false);
        Pump();
        if (bothBars) {
            subBar->SetMin(0);
            subBar->SetMax(static_cast<float>(size));
            subBar->SetValue(0);
            base = mainBar->Value();
        }
        Pump();
        while (written < size) {
            const int64_t count = std::min(kResourceBlockSize, size - written);
            output.WriteBuffer(bytes->data() + written, count);
            written += count;
            ++blocks;
            if (blocks % kQuietBlockInterval == 0)
                continue;
            if (bothBars) {
                subBar->SetValue(static_cast<float>(written));
                mainBar->SetValue(base + static_cast<float>(written));
            }
            WriteUpdateProgress(written, UnicodeString(), false);
            Pump();
        }
    } catch (const Exception&) {
        ::DeleteFile(partial);
        return false;
    }
    if (!win::RenameReplacing(NativePath(partial), NativePath(file))) {
        ::DeleteFile(partial);
        return false;
    }
    if (bothBars) {
        subBar->SetValue(static_cast<float>(written));
        mainBar->SetValue(base + static_cast<float>(written));
    }
    WriteUpdateProgress(written, UnicodeString(), true);
    Pump();
    return true;
}

bool MyFileOp::ExtractResourceWithTool(const UnicodeString& tool, const UnicodeString& program,
                                       const UnicodeString& target, const UnicodeString& name) {
    if (!FileExists(tool) || !FileExists(program))
        return false;
    const UnicodeString folder = ExtractFilePath(tool);
    const UnicodeString script = folder + u"resource_temp.rc";
    const UnicodeString quote = u"\"";
    shellOps->RunAndWait(tool, u"-extract " + quote + program + quote + u", " + quote + script +
                                   quote + u", RCData," + name + u",0");
    UnicodeString extracted;
    if (FileExists(script) && FileSizeOf(AnsiString(script)) > 0) {
        TStringList lines;
        try {
            lines.LoadFromFile(script);
        } catch (const Exception&) {
            lines.Clear();
        }
        const UnicodeString first = lines.Count() > 0 ? UpperCase(lines[0]) : UnicodeString();
        const int open = first.Pos(quote);
        if (open > 0 && first.Pos(UpperCase(name)) > 0 && first.Pos(u"RCDATA") > 0) {
            const UnicodeString rest = lines[0].SubString(open + 1, lines[0].Length());
            const int close = rest.Pos(quote);
            if (close > 0)
                extracted = folder + rest.SubString(1, close - 1);
        }
        DeleteFile(script);
    }
    if (extracted.IsEmpty() || !IsPlainTargetName(ExtractFileName(extracted)) ||
        ExtractFileName(extracted) !=
            extracted.SubString(folder.Length() + 1, extracted.Length()) ||
        !FileExists(extracted))
        return false;
    return win::RenameReplacing(NativePath(extracted), NativePath(target));
}
