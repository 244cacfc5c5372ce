// The classes the installer's window layouts name, registered before a layout is read. The
// platform and scene libraries register their classes from static tables, which a linker drops
// when nothing else in the program names them; naming them here keeps every one of them in.
#pragma once

void RegisterInstallerWindowClasses();
