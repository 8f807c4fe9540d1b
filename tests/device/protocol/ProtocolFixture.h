#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "device/protocol/CommandFailureHandler.h"
#include "device/protocol/CommandProtocol.h"
#include "device/protocol/DeviceState.h"
#include "device/protocol/DeviceView.h"
#include "device/transport/DeviceManager.h"
#include "device/transport/Trace.h"
#include "store/SettingsStore.h"
#include "support/TempDir.h"
#include "text/Format.h"
#include "text/Utf.h"

// A single mouse on a HID backend of its own that records every report written to it and answers
// from a script: the information query with `info`, a read command with its `readData` (or not at
// all when it has none), a command in `refused` with status 0x01, every other write with 0x00.
// Replies are ready at once, so a missing acknowledgement costs no waiting.
class TinyMouse : public HidBackend {
public:
    using Bytes = std::vector<std::uint8_t>;

    static constexpr std::uint16_t kVendorId = 0x1A2B;
    static constexpr std::uint16_t kProductId = 0x00C3;

    std::array<std::uint8_t, 64> info{};     // the information reply as the host reads it
    std::map<std::uint8_t, Bytes> readData;  // command -> reply bytes from byte 4 on
    std::set<std::uint8_t> refused;
    std::vector<Bytes> writes;  // every report written, as written

    // The written reports of one command.
    std::vector<Bytes> WritesOf(std::uint8_t command) const {
        std::vector<Bytes> found;
        for (const Bytes& report : writes) {
            if (report.size() > 1 && report[1] == command) {
                found.push_back(report);
            }
        }
        return found;
    }
    // The command codes written, in order.
    std::vector<int> Commands() const {
        std::vector<int> codes;
        for (const Bytes& report : writes) {
            codes.push_back(report.size() > 1 ? report[1] : -1);
        }
        return codes;
    }

    // HidBackend overrides
    std::vector<HidDeviceInfo> Enumerate() override {
        HidDeviceInfo device;
        device.path = "tiny-mouse";
        device.vendorId = kVendorId;
        device.productId = kProductId;
        device.usagePage = 0x0001;
        device.usage = 0x0000;
        return {device};
    }
    std::unique_ptr<HidDevice> Open(const std::string&) override {
        return std::make_unique<Handle>(*this);
    }

private:
    class Handle : public HidDevice {
    public:
        explicit Handle(TinyMouse& mouse) : mouse_(mouse) {}

        int Write(const std::uint8_t* data, std::size_t length) override {
            const Bytes report(data, data + length);
            mouse_.writes.push_back(report);
            const std::uint8_t command = report.size() > 1 ? report[1] : 0;
            Bytes reply(64, 0);
            reply[0] = command;
            if (mouse_.refused.contains(command)) {
                reply[1] = 0x01;
            } else if (command == 0x10) {
                reply.assign(mouse_.info.begin(), mouse_.info.end());
                reply[1] = 0x00;
            } else if ((command >= 0x11 && command <= 0x17) || command == 0x20) {
                const auto found = mouse_.readData.find(command);
                if (found == mouse_.readData.end()) {
                    return static_cast<int>(length);  // the reply never comes
                }
                std::copy(found->second.begin(), found->second.end(), reply.begin() + 4);
            }
            pending_.push_back(reply);
            return static_cast<int>(length);
        }
        int Read(std::uint8_t* data, std::size_t length, int) override {
            if (pending_.empty()) {
                return 0;
            }
            const Bytes reply = pending_.front();
            pending_.pop_front();
            const std::size_t size = std::min(length, reply.size());
            std::copy(reply.begin(), reply.begin() + static_cast<std::ptrdiff_t>(size), data);
            return static_cast<int>(size);
        }
        bool ProductString(std::u16string& text) override {
            text = u"Tiny Mouse";
            return true;
        }

    private:
        TinyMouse& mouse_;
        std::deque<Bytes> pending_;
    };
};

// Every call the protocol makes on the pages, as text.
class RecordingView : public DeviceView {
public:
    std::vector<std::string> calls;

    void SetDpiRange(int lowest, int highest, std::u16string_view rangeText,
                     std::u16string_view stepText, int sliderPositions,
                     int sliderStartOffset) override {
        calls.push_back(ToUtf8(Format(u"SetDpiRange %d %d %s %s %d %d", lowest, highest, rangeText,
                                      stepText, sliderPositions, sliderStartOffset)));
    }
    void SetBatteryInfo(int level, int state) override {
        calls.push_back(ToUtf8(Format(u"SetBatteryInfo %d %d", level, state)));
    }
    void SetDeviceBattery(int deviceType, int state, int level) override {
        calls.push_back(ToUtf8(Format(u"SetDeviceBattery %d %d %d", deviceType, state, level)));
    }
    void SetMouseFirmwareVersion(const std::u16string& versionText) override {
        calls.push_back("SetMouseFirmwareVersion " + ToUtf8(versionText));
    }
    void RefreshLightingPage() override { calls.push_back("RefreshLightingPage"); }
    void SetReportRateCapability(int capability) override {
        calls.push_back(ToUtf8(Format(u"SetReportRateCapability %d", capability)));
    }
};

class CountingFailureHandler : public CommandFailureHandler {
public:
    int failures = 0;
    void OnCommandFailed() override { ++failures; }
};

// A real settings file with one profile, a real device manager over the tiny mouse (wired unless
// a test connects it again through a receiver), and the protocol between them. Traces are
// collected from the moment the mouse is connected.
class ProtocolTest : public testing::Test {
protected:
    static constexpr int kDeviceType = 7;

    void SetUp() override {
        std::filesystem::create_directories(dir.Path() / "db");
        ASSERT_TRUE(store.Open(FromUtf8(dir.Path().string()), u"m1"));
        profile = store.AddProfile(ProfileRecord{0, u"p", u"", 0, 0});
        ASSERT_GT(profile, 0);
        state.SetCurrentProfile(profile);
        manager.SetSleepFunction([this](int milliseconds) { sleeps.push_back(milliseconds); });
        // Information reply: device id "ABCD", sensor 17, up to 8000 Hz, battery state 1 at 80 %,
        // mouse reachable.
        mouse.info[4] = 'A';
        mouse.info[5] = 'B';
        mouse.info[6] = 'C';
        mouse.info[7] = 'D';
        mouse.info[10] = 17;
        mouse.info[11] = 0x40;
        mouse.info[12] = 1;
        mouse.info[13] = 80;
        mouse.info[14] = 1;
        Connect(0);
    }

    void TearDown() override { SetTraceSink({}); }

    // (Re)scans with the mouse as a wired (0) or receiver (1) device of kDeviceType; forgets what
    // was written and traced so far.
    void Connect(int mode) {
        manager.Rescan({DeviceIdentity{TinyMouse::kVendorId, TinyMouse::kProductId, u"",
                                       kDeviceType, mode, u"ABCD"}});
        manager.SetCurrentDeviceType(kDeviceType);
        ASSERT_NE(manager.SelectCurrent(), nullptr);
        mouse.writes.clear();
        traces.clear();
        sleeps.clear();
        SetTraceSink([this](std::u16string_view text) { traces.push_back(ToUtf8(text)); });
    }

    void SetKey(const char16_t* key, int value) {
        ASSERT_TRUE(store.SetConfigValue(profile, key, Format(u"%d", value)));
    }
    std::string Key(const char16_t* key) {
        std::u16string value;
        store.GetConfigValue(profile, key, value);
        return ToUtf8(value);
    }

    TempDir dir;
    SettingsStore store;
    int profile = 0;
    TinyMouse mouse;
    DeviceManager manager{mouse};
    DeviceState state;
    RecordingView view;
    CountingFailureHandler failure;
    CommandProtocol protocol{manager, store, state, view, failure};
    std::vector<std::string> traces;
    std::vector<int> sleeps;  // the manager's waits, in milliseconds, not really waited
};
