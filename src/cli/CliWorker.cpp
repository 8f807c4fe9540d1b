#include "cli/CliWorker.h"

CliWorker::~CliWorker() {
    // The thread calls OnCommandFailed, so it must end while this part of the object exists.
    Stop();
    Join();
}

void CliWorker::OnCommandFailed() {
    ++failures_;
    DeviceWorker::OnCommandFailed();
}
