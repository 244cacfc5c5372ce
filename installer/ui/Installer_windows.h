// The two windows of the installer, as the program entry sees them.
//
// The entry creates the configuration module first and then hands over to this seam, which
// creates the wizard (the main window) and the message window into their globals and connects
// them. The wizard ends the process itself (finish, confirmed cancel, fatal start), so once the
// windows exist the entry only runs the message loop.
#pragma once

// Creates FormMainDbInstall and then FormMessage through the application object and copies the
// wizard's pictures into the message window. Returns false when this build has no windows to
// show; the entry then ends the program.
bool CreateInstallerWindows();
