#pragma once

// Ends the process at once with `exitCode`, the way every quit path of the program ends: the
// settings store's lock is taken first (so no write is cut in half), buffered output is flushed,
// and nothing else is waited for (the device worker included).
[[noreturn]] void EndProcessNow(int exitCode);
