#pragma once

#include <string>
#include <string_view>
#include <vector>

// Handing things to the desktop, the stand-in for ShellExecute "open": programs are started
// directly with their arguments, never through a shell, so nothing in a link or a path is ever
// read as a command.

namespace platform {

// Starts `argv[0]` (looked up in PATH unless it holds a '/') with the arguments, detached: the
// call does not wait; the child gets a session of its own, default signal handling and an empty
// signal mask; its stdin, stdout and stderr are /dev/null and no other descriptor of ours reaches
// it. A thread of ours reaps it when it ends, so it never lingers as a zombie. False when it could
// not be started (empty argv or program name, not found, not executable).
bool SpawnDetached(const std::vector<std::string>& argv);

// `xdg-open <target>` for a URL or a file. False for an empty target, for one starting with '-'
// (xdg-open would read it as an option), or when xdg-open cannot be started.
bool OpenWithDesktop(std::u16string_view target);

// The desktop's own mouse settings, best effort: the first of these programs found in PATH is
// started: gnome-control-center mouse; systemsettings kcm_mouse; kcmshell6 kcm_mouse; kcmshell5
// mouse; xfce4-mouse-settings; mate-mouse-properties; cinnamon-settings mouse; lxqt-config-input.
// False when none of them can be started.
bool OpenMouseSettings();

}  // namespace platform
