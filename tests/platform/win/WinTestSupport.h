// The platform tests use the shared scratch folder and scoped environment variables.
#pragma once

#include "support/TestSupport.h"

namespace wintest {

using testsupport::ReadFile;
using testsupport::ScopedEnv;
using testsupport::ScratchFolder;

} // namespace wintest
