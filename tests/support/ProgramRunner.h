#pragma once

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

extern char** environ;

// What a finished child process left: its exit status (-1 when it did not exit normally) and
// everything it wrote to standard output and standard error.
struct ProgramResult {
    int status = -1;
    std::string out;
    std::string err;

    // The lines of `text`, without their line ends.
    static std::vector<std::string> Lines(const std::string& text) {
        std::vector<std::string> lines;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);) {
            lines.push_back(line);
        }
        return lines;
    }
    std::vector<std::string> OutLines() const { return Lines(out); }
    std::vector<std::string> ErrLines() const { return Lines(err); }
};

// Runs a program as a child process with this process's environment changed by Set and Unset,
// its standard output and error going to files in `outputFolder` (no pipes, so a chatty child
// never blocks), and waits for it.
class ProgramRunner {
public:
    ProgramRunner(std::filesystem::path program, std::filesystem::path outputFolder)
        : program_(std::move(program)), outputFolder_(std::move(outputFolder)) {}

    // Runs another binary from now on (a private installation of the same program, say).
    void SetProgram(std::filesystem::path program) { program_ = std::move(program); }

    void Set(const std::string& name, const std::string& value) {
        Unset(name);
        overrides_.push_back(name + "=" + value);
    }
    void Unset(const std::string& name) { removed_.push_back(name); }

    // A child started and not yet waited for.
    class Running {
    public:
        Running() = default;
        Running(pid_t pid, std::string outFile, std::string errFile)
            : pid_(pid), outFile_(std::move(outFile)), errFile_(std::move(errFile)) {}
        Running(Running&& other) noexcept { *this = std::move(other); }
        Running& operator=(Running&& other) noexcept {
            std::swap(pid_, other.pid_);
            outFile_ = std::move(other.outFile_);
            errFile_ = std::move(other.errFile_);
            return *this;
        }
        ~Running() {
            if (pid_ > 0) {
                Kill(SIGKILL);
                Wait();
            }
        }

        bool Started() const { return pid_ > 0; }
        void Kill(int signal) const {
            if (pid_ > 0) {
                ::kill(pid_, signal);
            }
        }
        // Waits for the child to end and collects what it left.
        ProgramResult Wait() {
            ProgramResult result;
            if (pid_ <= 0) {
                result.err = "posix_spawn failed";
                return result;
            }
            int waitStatus = 0;
            while (::waitpid(pid_, &waitStatus, 0) < 0 && errno == EINTR) {
            }
            pid_ = 0;
            if (WIFEXITED(waitStatus)) {
                result.status = WEXITSTATUS(waitStatus);
            }
            result.out = ReadAll(outFile_);
            result.err = ReadAll(errFile_);
            return result;
        }
        // What the child has written to standard output so far.
        std::string OutSoFar() const { return ReadAll(outFile_); }

    private:
        pid_t pid_ = 0;
        std::string outFile_;
        std::string errFile_;
    };

    // Starts the program without waiting; its output goes to <outputFolder>/<name>.out and .err.
    Running Start(const std::vector<std::string>& arguments, const std::string& name) const {
        const std::string outFile = (outputFolder_ / (name + ".out")).string();
        const std::string errFile = (outputFolder_ / (name + ".err")).string();

        std::vector<std::string> argvText{program_.string()};
        argvText.insert(argvText.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (std::string& text : argvText) {
            argv.push_back(text.data());
        }
        argv.push_back(nullptr);

        std::vector<std::string> envText = Environment();
        std::vector<char*> envp;
        for (std::string& text : envText) {
            envp.push_back(text.data());
        }
        envp.push_back(nullptr);

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outFile.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errFile.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        pid_t pid = 0;
        const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
        posix_spawn_file_actions_destroy(&actions);
        return Running(spawned == 0 ? pid : 0, outFile, errFile);
    }

    ProgramResult Run(const std::vector<std::string>& arguments) const {
        return Start(arguments, "child").Wait();
    }

private:
    std::vector<std::string> Environment() const {
        std::vector<std::string> env;
        for (char** entry = environ; *entry != nullptr; ++entry) {
            const std::string_view text(*entry);
            const std::string_view name = text.substr(0, text.find('='));
            bool drop = false;
            for (const std::string& removed : removed_) {
                drop = drop || name == removed;
            }
            if (!drop) {
                env.emplace_back(text);
            }
        }
        env.insert(env.end(), overrides_.begin(), overrides_.end());
        return env;
    }
    static std::string ReadAll(const std::string& file) {
        std::ifstream in(file, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::filesystem::path program_;
    std::filesystem::path outputFolder_;
    std::vector<std::string> overrides_;
    std::vector<std::string> removed_;
};
