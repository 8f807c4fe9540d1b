#pragma once

#include "app/ProgramOptions.h"

// Runs the program on the Qt backend: the screen-scaling choice, the QApplication and the
// toolkit's Qt backend around KestrelProgram. Returns the exit status. Only in builds with the Qt
// backend.
int RunWithQt(int argc, char** argv, const ProgramOptions& options);
