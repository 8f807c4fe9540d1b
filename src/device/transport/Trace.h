#pragma once

#include <functional>
#include <string_view>

#include "text/Format.h"

// Diagnostic trace lines (device enumeration, protocol failures, notifications). Nothing is
// written unless a sink is set: either by the program or a test with SetTraceSink, or by the
// environment variable KESTREL_TRACE=<file>, read at the first use of the facility, which appends
// each line to that file in UTF-8 with a timestamp.
//
// Safe from any thread. A sink is called outside the facility's lock, possibly from several
// threads at once; the file sink serialises its own lines.

using TraceSink = std::function<void(std::u16string_view text)>;

// Replaces the sink (an empty function turns tracing off).
void SetTraceSink(TraceSink sink);

// The sink KESTREL_TRACE asks for: one that appends "YYYY-MM-DD HH:MM:SS.mmm <text>" lines to the
// file it names (created with mode 0600 when missing), or an empty function when the variable is
// unset or empty or the file cannot be opened. The facility installs it at its first use.
TraceSink TraceSinkFromEnvironment();

// True when a sink is set, so callers can skip building a text nobody reads.
bool TraceEnabled();

void Trace(std::u16string_view text);

// Trace(Format(pattern, args...)), formatted only when a sink is set.
template <typename... Args>
void TraceFormat(std::u16string_view pattern, const Args&... args) {
    if (TraceEnabled()) {
        Trace(Format(pattern, args...));
    }
}
