#include "platform/DesktopLaunch.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

#include "text/Utf.h"

extern char** environ;

namespace platform {

namespace {

// Owners of posix_spawn's attribute objects, destroyed on every return.
class SpawnActions {
public:
    SpawnActions() { ok_ = ::posix_spawn_file_actions_init(&actions_) == 0; }
    ~SpawnActions() {
        if (ok_) {
            ::posix_spawn_file_actions_destroy(&actions_);
        }
    }
    SpawnActions(const SpawnActions&) = delete;
    SpawnActions& operator=(const SpawnActions&) = delete;

    bool Ok() const { return ok_; }
    posix_spawn_file_actions_t* Get() { return &actions_; }

private:
    posix_spawn_file_actions_t actions_{};
    bool ok_ = false;
};

class SpawnAttributes {
public:
    SpawnAttributes() { ok_ = ::posix_spawnattr_init(&attributes_) == 0; }
    ~SpawnAttributes() {
        if (ok_) {
            ::posix_spawnattr_destroy(&attributes_);
        }
    }
    SpawnAttributes(const SpawnAttributes&) = delete;
    SpawnAttributes& operator=(const SpawnAttributes&) = delete;

    bool Ok() const { return ok_; }
    posix_spawnattr_t* Get() { return &attributes_; }

private:
    posix_spawnattr_t attributes_{};
    bool ok_ = false;
};

// stdin, stdout and stderr on /dev/null and every other descriptor closed: a library may have
// opened one without close-on-exec, and the desktop program must not keep it (or a socket of
// ours) open for its whole life.
bool PrepareDescriptors(SpawnActions& actions) {
    return actions.Ok() &&
           ::posix_spawn_file_actions_addopen(actions.Get(), 0, "/dev/null", O_RDONLY, 0) == 0 &&
           ::posix_spawn_file_actions_addopen(actions.Get(), 1, "/dev/null", O_WRONLY, 0) == 0 &&
           ::posix_spawn_file_actions_addopen(actions.Get(), 2, "/dev/null", O_WRONLY, 0) == 0 &&
           ::posix_spawn_file_actions_addclosefrom_np(actions.Get(), 3) == 0;
}

// A session of its own, so the terminal we were started from can close without taking the
// program along; default handlers and no blocked signals, since ignored signals (SIGPIPE, which
// many programs ignore) and the mask survive exec.
bool PrepareAttributes(SpawnAttributes& attributes) {
    sigset_t all;
    sigset_t none;
    sigfillset(&all);
    sigemptyset(&none);
    return attributes.Ok() &&
           ::posix_spawnattr_setflags(attributes.Get(), POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGDEF |
                                                            POSIX_SPAWN_SETSIGMASK) == 0 &&
           ::posix_spawnattr_setsigdefault(attributes.Get(), &all) == 0 &&
           ::posix_spawnattr_setsigmask(attributes.Get(), &none) == 0;
}

// Waits for one child in the background. The thread ends with the child; at exit, one still
// waiting is simply dropped with the process.
void ReapLater(pid_t child) {
    std::thread([child] {
        while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
        }
    }).detach();
}

}  // namespace

bool SpawnDetached(const std::vector<std::string>& argv) {
    if (argv.empty() || argv[0].empty()) {
        return false;
    }
    SpawnActions actions;
    SpawnAttributes attributes;
    if (!PrepareDescriptors(actions) || !PrepareAttributes(attributes)) {
        return false;
    }
    std::vector<char*> pointers;
    pointers.reserve(argv.size() + 1);
    for (const std::string& argument : argv) {
        pointers.push_back(const_cast<char*>(argument.c_str()));
    }
    pointers.push_back(nullptr);
    pid_t child = 0;
    // glibc's posix_spawnp reports a failed exec (not found, not executable) as its result, so a
    // zero here means the program is running.
    if (::posix_spawnp(&child, pointers[0], actions.Get(), attributes.Get(), pointers.data(),
                       environ) != 0) {
        return false;
    }
    try {
        ReapLater(child);
    } catch (...) {
        // Without a thread the child is still started; it only lingers as a zombie until we exit.
    }
    return true;
}

bool OpenWithDesktop(std::u16string_view target) {
    if (target.empty() || target.front() == u'-') {
        return false;
    }
    return SpawnDetached({"xdg-open", ToUtf8(target)});
}

bool OpenMouseSettings() {
    static const std::vector<std::vector<std::string>> kPrograms = {
        {"gnome-control-center", "mouse"}, {"systemsettings", "kcm_mouse"},
        {"kcmshell6", "kcm_mouse"},        {"kcmshell5", "mouse"},
        {"xfce4-mouse-settings"},          {"mate-mouse-properties"},
        {"cinnamon-settings", "mouse"},    {"lxqt-config-input"},
    };
    for (const auto& argv : kPrograms) {
        if (SpawnDetached(argv)) {
            return true;
        }
    }
    return false;
}

}  // namespace platform
