// The two database INI formats: the carried database's ([info], [SKLEP], [INSTALL]) and the
// installed database's ([info], [DOWNLOAD]).
#include "installer/engine/Myfileop_class.h"

#include "platform/rtl/Conversions.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/IniFiles.h"

namespace {

TDatabaseDate DateOfKey(const TIniFile& ini, const UnicodeString& key) {
    return DatabaseDateFromText(ini.ReadString(u"info", key, UnicodeString()));
}

} // namespace

bool MyFileOp::ReadEmbeddedDatabaseIni(TDatabaseEmbedded& entry) {
    if (entry.iniResourceName.IsEmpty() || entry.archiveResourceName.IsEmpty() ||
        entry.iniPath.IsEmpty() || !FileExists(entry.iniPath))
        return false;
    const TIniFile ini(entry.iniPath);
    entry.databaseName = ini.ReadString(u"info", u"BAZA", entry.databaseName);
    entry.dateText = ini.ReadString(u"info", u"DATA", entry.dateText);
    const TDatabaseDate fromText = DatabaseDateFromText(entry.dateText);
    entry.mdate = ini.ValueExists(u"info", u"MDATE") ? DateOfKey(ini, u"MDATE") : fromText;
    entry.udate = ini.ValueExists(u"info", u"UDATE") ? DateOfKey(ini, u"UDATE") : fromText;
    entry.type = ini.ValueExists(u"INSTALL", u"TYPE")
                     ? DatabaseTypeFromWord(ini.ReadString(u"INSTALL", u"TYPE", UnicodeString()))
                     : dtUnknown;
    entry.targetName = ini.ReadString(u"INSTALL", u"TARGETNAME", UnicodeString());
    entry.targetSize = 0;
    if (ini.ValueExists(u"INSTALL", u"TARGETSIZE")) {
        int64_t size = 0;
        const UnicodeString text = ini.ReadString(u"INSTALL", u"TARGETSIZE", UnicodeString());
        // Decimal only: a byte count written any other way is not a count.
        bool decimal = !text.IsEmpty();
        for (int i = 1; i <= text.Length(); ++i)
            decimal =
                decimal && ((text[i] >= u'0' && text[i] <= u'9') || (i == 1 && text[i] == u'-'));
        if (decimal && TryStrToInt64(text, size))
            entry.targetSize = size;
    }
    entry.formatFdb = ini.ValueExists(u"INSTALL", u"FORMATFDB")
                          ? ini.ReadBool(u"INSTALL", u"FORMATFDB", entry.formatFdb)
                          : false;
    return true;
}

bool MyFileOp::ReadInstalledDatabaseIni(const UnicodeString& path, TDatabaseBase& record) {
    if (!FileExists(path))
        return false;
    const TIniFile ini(path);
    record.databaseName = ini.ReadString(u"info", u"BAZA", record.databaseName);
    record.dateText = ini.ReadString(u"info", u"DATA", record.dateText);
    record.special = ini.ReadBool(u"info", u"SPECIAL", record.special);
    record.hidden = ini.ReadBool(u"info", u"HIDDEN", record.hidden);
    record.skipCopy = ini.ReadBool(u"info", u"SKIPCOPY", record.hidden);
    if (ini.ValueExists(u"info", u"USERDB"))
        record.userDatabase = ini.ReadBool(u"info", u"USERDB", record.userDatabase);
    else if (ini.ValueExists(u"info", u"USER"))
        record.userDatabase = ini.ReadBool(u"info", u"USER", record.userDatabase);

    record.mdate = ini.ValueExists(u"info", u"MDATE") ? DateOfKey(ini, u"MDATE") : TDatabaseDate{};
    record.udate = ini.ValueExists(u"info", u"UDATE") ? DateOfKey(ini, u"UDATE") : TDatabaseDate{};
    if (!record.mdate.IsValid() || !record.udate.IsValid()) {
        const TDatabaseDate fromText = DatabaseDateFromText(record.dateText);
        const TDatabaseDate fallback = fromText.IsValid() ? fromText : GetFileDate(path);
        if (!record.mdate.IsValid())
            record.mdate = fallback;
        if (!record.udate.IsValid())
            record.udate = fallback;
    }

    record.cdFlag = ini.ReadInteger(u"DOWNLOAD", u"CD", 0) == 2;
    if (record.cdFlag) {
        record.packedSize = ini.ReadInteger(u"DOWNLOAD", u"SPACKED", 0);
        record.unpackedSize = ini.ReadInteger(u"DOWNLOAD", u"SUPACKED", 0);
    }
    return true;
}

TDatabaseDate MyFileOp::GetFileDate(const UnicodeString& path) {
    TDateTime written = 0;
    if (!FileAge(path, written))
        return TDatabaseDate{};
    unsigned short year = 0, month = 0, day = 0;
    DecodeDate(written, year, month, day);
    return {year, month, day};
}
