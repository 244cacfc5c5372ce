// Adapting the installed files to the target program: older drawing-file versions, one of the
// two tiles formats, and the newer PDF sheets of one materials database.
#include "installer/dwx/DwxFileReplacement.h"
#include "installer/dwx/Klasadwx.h"
#include "installer/engine/Dodbinstallishthings.h"
#include "installer/engine/Folder_walk.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/Paths.h"

#include <boost/filesystem.hpp>
#include <boost/regex.hpp>

#include <new>
#include <set>
#include <string>

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
// A drawing, or a file that may be the temporary file of a rewrite killed before its rename.
const char* const kDwxOrTemporaryPattern = ".(dwx)$|/\\.[^/]+\\.tmp[0-9]+$";
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
        if (belowDwx204) {
            // One model for every drawing: its memory, once touched, serves the next file.
            KlasaDwx model;
            for (const auto& [type, entries] : catalogue)
                for (const TDatabaseEmbedded& entry : entries)
                    if (!entry.installedFolder.IsEmpty())
                        DowngradeDwxFiles(AnsiString(entry.installedFolder), model);
        }
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
    KlasaDwx model;
    DowngradeDwxFiles(path, model);
}

void TDoDbInstallThings::DowngradeDwxFiles(const AnsiString& path, KlasaDwx& model) {
    const TDwxDowngrade downgrade{this, &model};
    const boost::regex drawing(kDwxPattern, boost::regex::perl);
    try {
        WalkFilesMatching(path, kDwxOrTemporaryPattern, [&](const AnsiString& file) {
            if (boost::regex_search(std::string(file.c_str()), drawing))
                downgrade(file);
            else
                RemoveStaleRewrite(file);
        });
    } catch (const Exception& error) {
        fileOps->Log(u"Przeszukanie " + UnicodeString(path) + u" nie powiodło się: " +
                     UnicodeString(error.what()));
    }
}

void TDoDbInstallThings::RemoveStaleRewrite(const AnsiString& file) {
    const UnicodeString path(file);
    const std::string owner = TemporaryFileOwner(ExtractFileName(path).ToUtf8());
    const boost::regex drawing(kDwxPattern, boost::regex::perl);
    // Only beside the drawing it was a rewrite of: a name that merely looks alike is not ours.
    if (owner.empty() || !boost::regex_search(owner, drawing))
        return;
    boost::system::error_code error;
    const UnicodeString drawingPath = ExtractFilePath(path) + UnicodeString::FromUtf8(owner);
    if (!boost::filesystem::is_regular_file(
            boost::filesystem::symlink_status(NativePath(drawingPath), error)))
        return;
    if (!DeleteFile(path))
        fileOps->Log(u"Usunięcie " + path + u" nie powiodło się");
}

void TDwxDowngrade::operator()(const AnsiString& file) const {
    // A drawing too large for the memory there is stays as it is, and the pass goes on.
    try {
        KlasaDwx fresh;
        KlasaDwx& drawing = model ? *model : fresh;
        // Only a drawing that loaded completely in a version newer than the target reads is
        // written back; anything else stays exactly as it is.
        if (drawing.LoadFromFile(UnicodeString(file)) != kNewestReadableVersion)
            return;
        if (!drawing.SaveToFile(UnicodeString(file), kOlderTargetsVersion) && engine)
            engine->FileOps().Log(u"Zapis " + UnicodeString(file) + u" nie powiódł się: " +
                                  UnicodeString(drawing.lastProblem));
    } catch (const std::bad_alloc&) {
        if (engine)
            engine->FileOps().Log(u"Zapis " + UnicodeString(file) +
                                  u" nie powiódł się: brak pamięci");
    }
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
