#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "app/Languages.h"
#include "platform/ScopedEnv.h"
#include "support/TempDir.h"
#include "ui/toolkit/Manager.h"

// Points the program's per-user folders and locale into a temporary folder and resets the
// process-wide application state before and after each test.
class AppEnvironment : public ::testing::Test {
protected:
    AppEnvironment() {
        env_.Set("HOME", dir_.File("home").string());
        env_.Set("XDG_CONFIG_HOME", Config().string());
        env_.Set("XDG_DATA_HOME", dir_.File("data").string());
        env_.Unset("KESTREL_DATA_DIR");
        env_.Unset("LC_ALL");
        env_.Unset("LC_MESSAGES");
        env_.Set("LANG", "en_US.UTF-8");
        ResetState();
    }
    ~AppEnvironment() override { ResetState(); }

    static void ResetState() {
        Manager::SetDeviceName(Manager::kDefaultDeviceName);
        SetCurrentLanguage(kInitialLanguage);
        ClearAvailableLanguages();
    }

    std::filesystem::path Config() const { return dir_.File("config"); }
    // The key file of the default application name.
    std::filesystem::path KeyFile() const { return Config() / "Kestrel" / "registry.ini"; }
    void WriteKeyFile(std::string_view bytes) const {
        std::filesystem::create_directories(KeyFile().parent_path());
        std::ofstream(KeyFile(), std::ios::binary) << bytes;
    }
    // The name=value lines of the key file.
    std::string KeyValues() const {
        std::ifstream in(KeyFile(), std::ios::binary);
        std::string text(std::istreambuf_iterator<char>(in), {});
        const std::size_t section = text.find("]\n");
        return section == std::string::npos ? text : text.substr(section + 2);
    }

    TempDir dir_;
    ScopedEnv env_;
};
