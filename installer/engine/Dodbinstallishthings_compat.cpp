// Adapting the installed files to the target program: older drawing-file versions, one of the
// two tiles formats, and the newer PDF sheets of one materials database.
#include "installer/dwx/Klasadwx.h"
#include "installer/engine/Dodbinstallishthings.h"
#include "installer/engine/Folder_walk.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/Paths.h"

#include <set>

namespace {

struct TargetLibrary {
    UnicodeString path;
    bool v3 = false;
    bool exists = false;
};

TargetLibrary FindTargetLibrary(const UnicodeString& target) {
    const UnicodeString program = ExcludeTrailingPathDelimiter(target);
    TargetLibrary library;
    const UnicodeString v3Folder = program + u"/V3_I6x86";
    if (DirectoryExists(v3Folder) && FileExists(v3Folder + u"/kafle.dll")) {
        library.path = v3Folder + u"/kafle.dll";
        library.v3 = true;
    } else {
        library.path = program + u"/kafle.dll";
    }
    library.exists = !program.IsEmpty() && FileExists(library.path);
    return library;
}

struct Version4 {
    int major = -1, minor = -1, release = -1, build = -1;
};

Version4 ReadVersion(TDoDbInstallThings& engine, const UnicodeString& path) {
    Version4 v;
    engine.FileOps().Shell().GetFileVersion4(path, v.major, v.minor, v.release, v.build);
    return v;
}

// Both version questions count a version-3 library as yes and a missing library as no; otherwise
// `byVersion` judges the library file's version.
template <class ByVersion>
bool JudgeTargetLibrary(TDoDbInstallThings& engine, const UnicodeString& target,
                        ByVersion byVersion) {
    const TargetLibrary library = FindTargetLibrary(target);
    if (library.v3)
        return true;
    if (!library.exists)
        return false;
    return byVersion(ReadVersion(engine, library.path));
}

const char* const kDwxPattern = ".(dwx)$";
const char* const kPdfPattern = ".(pdf)$";
constexpr int kNewestReadableVersion = 204;
constexpr uint8_t kOlderTargetsVersion = 203;

} // namespace

bool TDoDbInstallThings::IsTargetVersionNew(const UnicodeString& target) {
    return JudgeTargetLibrary(*this, target, [](const Version4& v) {
        if (v.major == -1)
            return false;
        if (v.major != 2)
            return v.major > 2;
        if (v.minor != 1)
            return v.minor > 1;
        if (v.release != 0)
            return v.release > 0;
        return v.build >= 26;
    });
}

bool TDoDbInstallThings::IsTargetVersionLegacy(const UnicodeString& target) {
    return JudgeTargetLibrary(*this, target, [](const Version4& v) {
        if (v.major != 2 || v.minor != 0)
            return false;
        return (v.release >= 1 && v.release <= 3) || (v.release == 4 && v.build <= 5);
    });
}

void TDoDbInstallThings::RunCompatibilityPass(const UnicodeString& target) {
    const TargetLibrary library = FindTargetLibrary(target);
    if (library.exists) {
        const Version4 v = ReadVersion(*this, library.path);
        const bool belowDwx204 =
            v.major != -1 &&
            (v.major < 2 || (v.major == 2 && (v.minor < 0 || (v.minor == 0 && v.release < 6))));
        if (belowDwx204)
            for (const auto& [type, entries] : catalogue)
                for (const TDatabaseEmbedded& entry : entries)
                    if (!entry.installedFolder.IsEmpty())
                        DowngradeDwxFiles(AnsiString(entry.installedFolder));
        const bool keepFdb = library.v3 || v.major == -1 || v.major >= 2;
        const auto tiles = catalogue.find(dtTiles);
        if (tiles != catalogue.end())
            for (const TDatabaseEmbedded& entry : tiles->second) {
                if (keepFdb)
                    RemoveMdbCopy(entry);
                else
                    RemoveFdbCopy(entry);
            }
    }
    for (const auto& [type, entries] : catalogue)
        if (type == dtMaterials || type == dtDbMaterials)
            for (const TDatabaseEmbedded& entry : entries)
                ReplaceOlderFolderPdfs(entry);
}

void TDoDbInstallThings::DowngradeDwxFiles(const AnsiString& path) {
    const TDwxDowngrade downgrade{this};
    try {
        WalkFilesMatching(path, kDwxPattern, [&](const AnsiString& file) { downgrade(file); });
    } catch (const Exception& error) {
        fileOps->Log(u"Przeszukanie " + UnicodeString(path) + u" nie powiodło się: " +
                     UnicodeString(error.what()));
    }
}

void TDwxDowngrade::operator()(const AnsiString& file) const {
    KlasaDwx drawing;
    // Only a drawing that loaded completely in a version newer than the target reads is
    // written back; anything else stays exactly as it is.
    if (drawing.LoadFromFile(UnicodeString(file)) != kNewestReadableVersion)
        return;
    if (!drawing.SaveToFile(UnicodeString(file), kOlderTargetsVersion) && engine)
        engine->FileOps().Log(u"Zapis " + UnicodeString(file) + u" nie powiódł się: " +
                              UnicodeString(drawing.lastProblem));
}

namespace {

// The tiles database's file of the given format beside the one of the other format.
UnicodeString TilesFile(const TDatabaseEmbedded& entry, const UnicodeString& extension) {
    return IncludeTrailingPathDelimiter(entry.installedFolder) +
           ChangeFileExt(ExtractFileName(entry.archivePath), extension);
}

void RemoveOneTilesFormat(const TDatabaseEmbedded& entry, const UnicodeString& dropped,
                          const UnicodeString& kept) {
    if (entry.type != dtTiles || entry.installedFolder.IsEmpty() || entry.archivePath.IsEmpty())
        return;
    const UnicodeString drop = TilesFile(entry, dropped);
    if (FileExists(drop) && FileExists(TilesFile(entry, kept)))
        DeleteFile(drop);
}

} // namespace

void TDoDbInstallThings::RemoveFdbCopy(const TDatabaseEmbedded& entry) {
    RemoveOneTilesFormat(entry, u".fdb", u".mdb");
}

void TDoDbInstallThings::RemoveMdbCopy(const TDatabaseEmbedded& entry) {
    RemoveOneTilesFormat(entry, u".mdb", u".fdb");
}

void TDoDbInstallThings::FindPdfFiles(const AnsiString& path, std::vector<AnsiString>& list) {
    WalkFilesMatching(path, kPdfPattern, [&](const AnsiString& file) { list.push_back(file); });
}

bool TDoDbInstallThings::ReplaceOlderFolderPdfs(const TDatabaseEmbedded& entry) {
    if ((entry.type != dtMaterials && entry.type != dtDbMaterials) ||
        entry.targetName != u"Brettholm" || entry.installedFolder.IsEmpty())
        return true;
    const UnicodeString base =
        IncludeTrailingPathDelimiter(entry.installedFolder) + entry.targetName + u"/";
    const UnicodeString older = base + u"Brettholm_2014/";
    const UnicodeString newer = base + u"Brettholm_2015/";
    if (!DirectoryExists(ExcludeTrailingPathDelimiter(older)) ||
        !DirectoryExists(ExcludeTrailingPathDelimiter(newer)))
        return true;

    std::vector<AnsiString> olderPdfs, newerPdfs;
    try {
        FindPdfFiles(AnsiString(older), olderPdfs);
        FindPdfFiles(AnsiString(newer), newerPdfs);
    } catch (const Exception& error) {
        fileOps->Log(u"Przeszukanie " + base + u" nie powiodło się: " +
                     UnicodeString(error.what()));
        return false;
    }

    const AnsiString newerPrefix(newer);
    bool allCopied = true;
    std::set<AnsiString> replaced;
    for (const AnsiString& pdf : newerPdfs) {
        if (pdf.SubString(1, newerPrefix.Length()) != newerPrefix)
            continue;
        const AnsiString destination =
            AnsiString(older) + pdf.SubString(newerPrefix.Length() + 1, pdf.Length());
        const UnicodeString target(destination);
        bool copied = false;
        try {
            copied = ForceDirectories(ExcludeTrailingPathDelimiter(ExtractFilePath(target))) &&
                     fileOps->CopyFileBlocks(UnicodeString(pdf), target, true);
        } catch (const Exception&) {
            copied = false;
        }
        if (copied) {
            replaced.insert(destination);
        } else {
            fileOps->Log(u"Kopiowanie " + UnicodeString(pdf) + u" nie powiodło się");
            allCopied = false;
        }
    }
    // The older sheets go only once every newer one is in place.
    if (!allCopied)
        return false;
    for (const AnsiString& pdf : olderPdfs)
        if (!replaced.count(pdf))
            DeleteFile(UnicodeString(pdf));
    return true;
}
