#include "platform/ui/ProcessExit.h"

#include <unistd.h>

#include <cstdio>
#include <iostream>

void ExitProcess(unsigned exitCode) {
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    _exit(static_cast<int>(exitCode & 0xFF));
}
