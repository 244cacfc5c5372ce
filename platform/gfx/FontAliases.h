// The project's font aliases: the family names the toolkit's windows use ("Tahoma", "Verdana",
// "Microsoft Sans Serif", "Arial") mapped onto the DejaVu and Liberation fonts the project
// installs. They join the process's font configuration, so every later family lookup and text
// layout resolves the names through them.
#pragma once

#include <string>

namespace gfx {

// Adds the rules of one fontconfig file; false when the file is missing or malformed.
bool LoadFontAliasesFile(const std::string& path);

// Once per process: the file named by DBI_FONTS_CONF, else resources/fonts/fonts.conf found next
// to the program (or one or two folders up, as in a build tree), else the copy carried in the
// program itself. Later calls do nothing; answers whether rules were added.
bool LoadProjectFontAliases();

// The rules the program carries, the same text as resources/fonts/fonts.conf.
const char* EmbeddedFontAliases();

} // namespace gfx
