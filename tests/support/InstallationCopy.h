#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

// A private installation of one of the built programs, for tests that need config.xml or the
// device descriptors to say something else (a local server's address, say). The programs read
// those files from the folder of their own executable (/proc/self/exe, links resolved), so the
// copy holds the binary itself, hard-linked from the build's bin folder (copied when the link
// fails, as across file systems); `language/` and `skins/` are symbolic links to the originals,
// which no test changes; `config.xml` and every file of `device/` are copied with each
// replacement applied to every occurrence of its text.
//
// Use:
//     TempDir dir;
//     InstallationCopy install(KESTRELCTL_PATH, dir.Path() / "install",
//                              {{"https://kestrel.invalid/download/", server.Url("/dl/")}});
//     ASSERT_TRUE(install.Ok()) << install.Error();
//     ProgramRunner runner{install.Program(), dir.Path()};
// The folder is created if missing and is left for its owner (a TempDir) to remove.
class InstallationCopy {
public:
    struct Replacement {
        std::string from;
        std::string to;
    };

    // `program` is the built binary; the rest of the installation is taken from its folder.
    InstallationCopy(const std::filesystem::path& program, std::filesystem::path folder,
                     std::vector<Replacement> replacements = {})
        : folder_(std::move(folder)), replacements_(std::move(replacements)) {
        Build(program);
    }

    // False when a part could not be made; Error() then says which.
    bool Ok() const { return error_.empty(); }
    const std::string& Error() const { return error_; }

    const std::filesystem::path& Folder() const { return folder_; }
    // The program to run: the binary inside the copy.
    const std::filesystem::path& Program() const { return program_; }

private:
    void Build(const std::filesystem::path& program) {
        namespace fs = std::filesystem;
        std::error_code ec;
        const fs::path original = fs::canonical(program, ec);
        if (ec) {
            return Fail("no program at " + program.string());
        }
        const fs::path source = original.parent_path();
        fs::create_directories(folder_ / "device", ec);
        if (ec) {
            return Fail("cannot create " + (folder_ / "device").string());
        }
        program_ = folder_ / original.filename();
        fs::create_hard_link(original, program_, ec);
        if (ec && !fs::copy_file(original, program_, fs::copy_options::overwrite_existing, ec)) {
            return Fail("cannot link or copy " + original.string());
        }
        for (const char* name : {"language", "skins"}) {
            if (fs::exists(source / name)) {
                fs::create_directory_symlink(source / name, folder_ / name, ec);
                if (ec) {
                    return Fail("cannot link " + (source / name).string());
                }
            }
        }
        if (!CopyReplacing(source / "config.xml", folder_ / "config.xml")) {
            return;
        }
        for (const fs::directory_entry& entry : fs::directory_iterator(source / "device", ec)) {
            if (entry.is_regular_file() &&
                !CopyReplacing(entry.path(), folder_ / "device" / entry.path().filename())) {
                return;
            }
        }
        if (ec) {
            Fail("cannot list " + (source / "device").string());
        }
    }

    bool CopyReplacing(const std::filesystem::path& from, const std::filesystem::path& to) {
        std::ifstream in(from, std::ios::binary);
        if (!in) {
            Fail("cannot read " + from.string());
            return false;
        }
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        for (const Replacement& replacement : replacements_) {
            if (replacement.from.empty()) {
                continue;
            }
            for (std::size_t at = text.find(replacement.from); at != std::string::npos;
                 at = text.find(replacement.from, at + replacement.to.size())) {
                text.replace(at, replacement.from.size(), replacement.to);
            }
        }
        std::ofstream out(to, std::ios::binary | std::ios::trunc);
        out << text;
        if (!out.flush()) {
            Fail("cannot write " + to.string());
            return false;
        }
        return true;
    }

    void Fail(std::string message) {
        if (error_.empty()) {
            error_ = std::move(message);
        }
    }

    std::filesystem::path folder_;
    std::vector<Replacement> replacements_;
    std::filesystem::path program_;
    std::string error_;
};
