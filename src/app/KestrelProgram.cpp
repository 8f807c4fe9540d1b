#include "app/KestrelProgram.h"

#include <cstdio>
#include <iostream>

#include "app/AppConfig.h"
#include "app/AppRegistry.h"
#include "app/Folders.h"
#include "app/LanguageChoice.h"
#include "app/ProgramExit.h"
#include "app/ProgramUi.h"
#include "app/ScriptRunner.h"
#include "cli/CliHandOff.h"
#include "cli/CliHostedRun.h"
#include "cli/HostedCliView.h"
#include "device/catalogue/DeviceCatalog.h"
#include "device/transport/DeviceManager.h"
#include "device/transport/HidTrafficLog.h"
#include "device/transport/HidapiBackend.h"
#include "device/transport/HotPlug.h"
#include "device/transport/ListeningHidBackend.h"
#include "platform/DesktopLaunch.h"
#include "platform/UserFolders.h"
#include "sim/SimSetup.h"
#include "sim/VirtualConnection.h"
#include "sim/VirtualHidBackend.h"
#include "store/SettingsStore.h"
#include "text/Utf.h"
#include "ui/shell/DeviceMainDlg.h"
#include "ui/shell/MainIds.h"
#include "ui/shell/SettingsPage.h"
#include "ui/toolkit/Manager.h"
#include "ui/toolkit/UiBackend.h"

namespace {

// What another start of the program may ask of the running one.
constexpr char kRequestShow[] = "show";
constexpr char kRequestQuit[] = "quit";
constexpr char kRequestReloadTexts[] = "reload-texts";

}  // namespace

int SendInstanceRequest(const ProgramOptions& options) {
    ReadAppConfig();
    const std::filesystem::path folder = platform::RuntimeFolder();
    if (folder.empty()) {
        std::cerr << "kestrel: no private runtime folder\n";
        return 1;
    }
    const char* request =
        options.request == ProgramOptions::Request::kQuit ? kRequestQuit : kRequestReloadTexts;
    switch (platform::SendToInstance(folder, Manager::GetDeviceName(), request)) {
        case platform::SendResult::kDelivered:
            return 0;
        case platform::SendResult::kNoInstance:
            std::cerr << "kestrel: no running Kestrel\n";
            return kExitNoInstance;
        case platform::SendResult::kFailed:
            break;
    }
    std::cerr << "kestrel: the running Kestrel did not take the request\n";
    return 1;
}

KestrelProgram::KestrelProgram(ProgramOptions options) : options_(std::move(options)) {
}

KestrelProgram::~KestrelProgram() {
    // The listener posts to the window: it stops first.
    instance_.StopListening();
    if (virtualBackend_ != nullptr) {
        virtualBackend_->SetPlugListener({});
    }
    runner_.reset();
    window_.reset();
    SetHidTrafficSink({});
    if (backend_) {
        DeviceManager& manager = DeviceManager::Instance();
        manager.CloseUpdateInterface();
        manager.CloseAll();
        DeviceManager::SetInstanceBackend(nullptr);
    }
}

bool KestrelProgram::Prepare(int& exitCode) {
    ReadAppConfig();

    const std::filesystem::path runtime = platform::RuntimeFolder();
    if (!runtime.empty() && !instance_.Acquire(runtime, Manager::GetDeviceName())) {
        // Another Kestrel runs: it shows itself (a start before it has a window just ends).
        platform::SendToInstance(runtime, Manager::GetDeviceName(), kRequestShow);
        exitCode = 0;
        return false;
    }

    ChooseLanguage();
    dataFolder_ =
        options_.dataFolder.empty() ? DataFolder() : std::filesystem::path(options_.dataFolder);
    CreateFolderTree(dataFolder_ / "db");
    // Started with the desktop session while the settings page asks for it: into the tray.
    hidden_ = options_.hide ||
              (options_.autorun && ReadAppRegValue(SettingsPage::kAutorunMinimizeValue) == 1);
    return true;
}

bool KestrelProgram::SetUpMice(std::string& error) {
    if (!options_.sim) {
        backend_ = std::make_unique<HidapiBackend>();
    } else {
        auto backend = std::make_unique<sim::VirtualHidBackend>();
        virtualBackend_ = backend.get();
        backend_ = std::move(backend);
        if (!options_.simNone) {
            DeviceCatalog catalog;
            catalog.LoadDeviceList(ExeFolder(), u"");
            const int type = sim::SimModelType(catalog, options_.simChoice.model);
            // The virtual mice keep their onboard settings in the data folder between runs.
            const auto added =
                sim::AddSimConnections(*virtualBackend_, catalog, options_.simChoice, dataFolder_);
            if (added.empty()) {
                error = "config.xml has no such model or connection for --sim";
                return false;
            }
            for (sim::VirtualConnection* connection : added) {
                connections_[{type, connection->Setup().mode}] = connection;
            }
        }
    }
    if (options_.trace) {
        SetHidTrafficSink([](const std::string& line) {
            std::fputs(line.c_str(), stderr);
            std::fputc('\n', stderr);
        });
    }
    listening_ = std::make_unique<ListeningHidBackend>(*backend_);
    DeviceManager::SetInstanceBackend(listening_.get());
    return true;
}

bool KestrelProgram::ParseVirtualMouse(const std::string& typeAndMode, sim::SimChoice& choice,
                                       std::pair<int, int>& key, std::string& error) const {
    if (virtualBackend_ == nullptr) {
        error = "no virtual mice (start with --sim)";
        return false;
    }
    if (!sim::ParseSimChoice(typeAndMode, choice) || choice.mode == sim::SimChoice::kAllModes) {
        error = "expected TYPE:MODE with MODE 0 or 1";
        return false;
    }
    const int type = sim::SimModelType(window_->GetCatalog(), choice.model);
    if (type == 0) {
        error = "config.xml has no model " + typeAndMode;
        return false;
    }
    key = {type, choice.mode};
    return true;
}

bool KestrelProgram::PlugVirtualMouse(const std::string& typeAndMode, bool plug,
                                      std::string& error) {
    sim::SimChoice choice;
    std::pair<int, int> key;
    if (!ParseVirtualMouse(typeAndMode, choice, key, error)) {
        return false;
    }
    const int type = key.first;
    auto found = connections_.find(key);
    if (!plug) {
        if (found == connections_.end() || !found->second->IsPlugged()) {
            error = "no virtual mouse " + typeAndMode + " is plugged in";
            return false;
        }
        found->second->Unplug();
        return true;
    }
    if (found != connections_.end()) {
        if (found->second->IsPlugged()) {
            error = "the virtual mouse " + typeAndMode + " is plugged in already";
            return false;
        }
        found->second->Plug();
        return true;
    }
    // The model's cable and receiver reach one mouse, with one memory kept in the data folder:
    // a connection plugged in after the other carries the same mouse when its sensor is the same.
    std::shared_ptr<sim::VirtualMouse> mouse;
    for (const auto& [plugged, connection] : connections_) {
        if (plugged.first == type && connection->Mouse().Identity().sensorId == choice.sensorId) {
            mouse = connection->SharedMouse();
        }
    }
    const DeviceCatalog& catalog = window_->GetCatalog();
    const auto added = mouse ? sim::AddModelConnections(*virtualBackend_, catalog, type,
                                                        choice.mode, std::move(mouse))
                             : sim::AddModelConnections(*virtualBackend_, catalog, type,
                                                        choice.mode, choice.sensorId, dataFolder_);
    if (added.empty()) {
        error = "config.xml has no such connection: " + typeAndMode;
        return false;
    }
    connections_[key] = added.front();
    return true;
}

sim::VirtualConnection* KestrelProgram::FindVirtualMouse(const std::string& typeAndMode,
                                                         std::string& error) const {
    sim::SimChoice choice;
    std::pair<int, int> key;
    if (!ParseVirtualMouse(typeAndMode, choice, key, error)) {
        return nullptr;
    }
    const auto found = connections_.find(key);
    if (found == connections_.end()) {
        error = "no virtual mouse " + typeAndMode;
        return nullptr;
    }
    return found->second;
}

void KestrelProgram::OnInstanceRequest(const std::string& request) {
    // The listener's thread: the window hears of it through posted messages.
    DeviceMainDlg* window = window_.get();
    if (runner_) {
        ScriptRunner* runner = runner_.get();
        UiBackend::Current().Post([runner, request] { runner->Print("request " + request); });
    }
    if (request == kRequestShow) {
        window->PostMessage(mainwnd::kMessageActivate);
    } else if (request == kRequestQuit) {
        window->PostMessage(mainwnd::kMessageQuit, 0, mainwnd::kQuitCode);
    } else if (request == kRequestReloadTexts) {
        window->PostMessage(mainwnd::kMessageReloadTexts);
    }
}

int KestrelProgram::RunHandedOffCommandLine(const std::vector<std::string>& arguments,
                                            std::ostream& out, std::ostream& err) {
    const CliHost host{
        .parts = {window_->GetCatalog(), SettingsStore::Instance(), window_->GetSession(),
                  *hostedView_, window_->GetModelLoader()},
        .dataFolder = dataFolder_,
        .virtualMice = virtualBackend_ != nullptr,
    };
    const int status = RunHostedCommandLine(host, arguments, out, err);
    ++handOffs_;
    if (runner_) {
        ScriptRunner* runner = runner_.get();
        UiBackend::Current().Post(
            [runner, status] { runner->Print("kestrelctl exit " + std::to_string(status)); });
    }
    return status;
}

int KestrelProgram::Run(ProgramUi& ui) {
    std::string error;
    if (!SetUpMice(error)) {
        std::cerr << "kestrel: " << error << "\n";
        return 1;
    }

    MainWindowEnvironment environment;
    environment.exeFolder = ExeFolder();
    environment.dataFolder = dataFolder_;
    environment.executable = platform::ExecutableFile();
    environment.store = &SettingsStore::Instance();
    environment.backend = backend_.get();
    environment.listening = listening_.get();
    environment.devices = &DeviceManager::Instance();
    environment.watchUdev = !options_.sim;
    environment.desktopKeyboard = ui.OnDesktop();
    environment.endProcess = [](int exitCode) { EndProcessNow(exitCode); };
    environment.openUrl = [](const std::u16string& url) { return platform::OpenWithDesktop(url); };
    environment.workerView = [this](WorkerView& window, DeviceSession& session) -> WorkerView& {
        hostedView_ =
            std::make_unique<HostedCliView>(SettingsStore::Instance(), session.state, window);
        return *hostedView_;
    };
    window_ = std::make_unique<DeviceMainDlg>(std::move(environment));

    if (virtualBackend_ != nullptr) {
        // Virtual mice report their comings and goings as the system reports real ones.
        virtualBackend_->SetPlugListener([this](sim::PlugEvent event, const std::string& name) {
            std::string path;
            for (sim::VirtualConnection* connection : virtualBackend_->Connections()) {
                for (int i = 0; i < sim::VirtualConnection::kInterfaceCount; ++i) {
                    if (connection->InterfaceName(i) == name) {
                        path = connection->PathOf(i);
                    }
                }
            }
            window_->OnDeviceChange(
                event == sim::PlugEvent::Arrival ? kDeviceArrival : kDeviceRemoval, FromUtf8(name),
                path);
        });
    }

    if (!window_->CreateMainWindow()) {
        std::cerr << "kestrel: cannot create the main window\n";
        return 1;
    }
    ui.Prepare(*window_);

    int status = 0;
    if (!options_.script.empty() || !options_.screenshot.empty()) {
        runner_ = std::make_unique<ScriptRunner>(
            *window_, ui.Host(),
            [this](const std::string& typeAndMode, bool plug, std::string& error) {
                return PlugVirtualMouse(typeAndMode, plug, error);
            },
            std::cout, std::cerr);
        runner_->SetMouseDescriber(
            [this](const std::string& typeAndMode, std::string& text, std::string& error) {
                sim::VirtualConnection* connection = FindVirtualMouse(typeAndMode, error);
                if (connection == nullptr) {
                    return false;
                }
                text = sim::DescribeSettings(connection->Mouse().Settings());
                return true;
            });
        runner_->SetLoaderDescriber(
            [this](const std::string& typeAndMode, std::string& text, std::string& error) {
                sim::VirtualConnection* connection = FindVirtualMouse(typeAndMode, error);
                if (connection == nullptr) {
                    return false;
                }
                text = sim::DescribeLoader(connection->Loader());
                return true;
            });
        runner_->SetHandOffCounter([this] { return handOffs_.load(); });
        runner_->SetFaultInjector([this](const std::string& typeAndMode, const std::string& kind,
                                         int value, std::string& error) {
            sim::VirtualConnection* connection = FindVirtualMouse(typeAndMode, error);
            if (connection == nullptr) {
                return false;
            }
            if (kind == "latency") {
                connection->Faults().SetReportLatency(std::chrono::milliseconds(value));
            } else if (kind == "update-writes") {
                connection->Faults().FailUpdateWrites(value);
            } else if (kind == "denied") {
                connection->Faults().DenyOpens();
            } else {
                connection->Faults().Clear();
            }
            return true;
        });
        if (!options_.script.empty() && !runner_->Load(options_.script, error)) {
            std::cerr << "kestrel: " << error << "\n";
            return kExitUsage;
        }
    }
    // Requests from other starts reach the window (and the script's output) from here on.
    if (instance_.IsPrimary()) {
        // kestrelctl started meanwhile hands its command lines over instead of opening the mice.
        instance_.SetConversation(
            std::string(kHandOffRequest), [this](platform::UniqueFd connection, int stopFd) {
                ServeHandOff(std::move(connection), stopFd,
                             [this](const std::vector<std::string>& arguments, std::ostream& out,
                                    std::ostream& err) {
                                 return RunHandedOffCommandLine(arguments, out, err);
                             });
            });
        instance_.Listen({kRequestShow, kRequestQuit, kRequestReloadTexts},
                         [this](const std::string& request) { OnInstanceRequest(request); });
    }
    if (runner_) {
        runner_->Start([this, &ui, &status](int result) {
            status = result;
            if (result == 0 && !options_.screenshot.empty() &&
                !ui.SaveScreenshot(*window_, options_.screenshot)) {
                std::cerr << "kestrel: cannot write " << options_.screenshot << "\n";
                status = 1;
            }
            if (status != 0) {
                EndProcessNow(status);
            }
            window_->CloseDialog();
        });
    }
    window_->RunMainLoop(hidden_);
    // The worker has stopped: a command line handed over meanwhile must not wait for it.
    window_->GetSession().queue.Abandon();
    // The window goes while the display backend it was made on is still there.
    instance_.StopListening();
    if (virtualBackend_ != nullptr) {
        virtualBackend_->SetPlugListener({});
    }
    runner_.reset();
    window_.reset();
    hostedView_.reset();
    return status;
}
