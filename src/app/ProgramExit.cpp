#include "app/ProgramExit.h"

#include <unistd.h>

#include <cstdio>
#include <iostream>

#include "store/SettingsStore.h"

void EndProcessNow(int exitCode) {
    SettingsStore::Instance().HoldForExit();
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    _exit(exitCode);
}
