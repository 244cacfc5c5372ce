// The archive extraction library: archives, their items and volumes, the streams and callbacks
// handed to the decoder library, and the library's errors.
//
// Typical use, as the installer does it:
//     TArx7zDecompressArchive archive(&fileStream, 0, false);
//     archive.Password = password;
//     archive.ListFiles();
//     archive.OnExtract = ...; archive.OnProgress = ...;
//     archive.ExtractAll(destination, true);
// Every failure is raised as an exception of the EArxError family (or the platform's
// ESafecallException for a failed decoder call); nothing is returned as an error code.
#pragma once

#include "installer/archive/ArxCompressionArchive.h"
#include "installer/archive/ArxCompressionErrors.h"
#include "installer/archive/ArxCompressionItem.h"
#include "installer/archive/ArxCompressionTypes.h"
#include "installer/archive/ArxCompressionVolume.h"
#include "installer/archive/ArxSevenzipArchive.h"
#include "installer/archive/ArxSevenzipCallbacks.h"
#include "installer/archive/ArxSevenzipStreams.h"
#include "installer/archive/ArxStreams.h"
