#pragma once

#include <cstdint>

// Control ids, window messages and tray values of the main window, shared by the window, its pages
// and the programs that drive it.
namespace mainwnd {

// Frame controls.
inline constexpr int kBackground = 30;
inline constexpr int kMousePicture = 31;
inline constexpr int kBottomBar = 33;
inline constexpr int kLogo = 34;
inline constexpr int kTitle = 35;
inline constexpr int kModelCaption = 36;
inline constexpr int kWebsiteButton = 37;
inline constexpr int kCloseButton = 38;
inline constexpr int kMinimizeButton = 39;
inline constexpr int kSettingsButton = 40;
inline constexpr int kBattery = 43;
inline constexpr int kConnectionCaption = 44;
inline constexpr int kProfileButton = 45;
inline constexpr int kTabStripBackground = 47;
inline constexpr int kTabControl = 48;

// Page containers.
inline constexpr int kDeviceListPage = 49;
inline constexpr int kButtonPage = 50;
inline constexpr int kButtonSubPage = 51;
inline constexpr int kDpiPage = 52;
inline constexpr int kMacroPage = 53;
inline constexpr int kLightingPage = 54;
inline constexpr int kDeviceSettingsPage = 55;
inline constexpr int kSettingsPage = 56;

// The device list page.
inline constexpr int kDeviceList = 57;
inline constexpr int kNoDevicePicture = 58;
inline constexpr int kNoDeviceText = 59;
inline constexpr int kPreviousButton = 60;
inline constexpr int kNextButton = 61;
// Under the no-device text: the command that gives this user access to a mouse found but denied.
inline constexpr int kPermissionHint = 65;

// Tab item ids (not indexes): the device list, and the pages reached once a device is open.
inline constexpr int kTabHome = 1;
inline constexpr int kTabButtons = 2;
inline constexpr int kTabDpi = 3;
inline constexpr int kTabMacros = 4;
inline constexpr int kTabLighting = 5;
inline constexpr int kTabDevice = 7;
// Tab indexes the frame selects.
inline constexpr int kHomeTabIndex = 0;
inline constexpr int kButtonTabIndex = 1;

// Window messages.
inline constexpr unsigned kMessageInput = 0x00FF;           // raw keyboard input
inline constexpr unsigned kMessageDeviceChange = 0x0219;    // a HID interface came or went
inline constexpr unsigned kMessageTray = 1690;              // tray icon events
inline constexpr unsigned kMessageQuit = 1691;              // from another program
inline constexpr std::intptr_t kQuitCode = 610;             // ... whose lParam must be this
inline constexpr unsigned kMessageUpdateOffer = 1692;       // the version check found an update
inline constexpr unsigned kMessageDownloadProgress = 1694;  // lParam = percentage
inline constexpr unsigned kMessageProfile = 1705;           // the profile list's choice
inline constexpr unsigned kMessageMacroListMenu = 1709;     // the macro list's menu
inline constexpr unsigned kMessageInsertMenu = 1710;        // the event list's insert menu
inline constexpr unsigned kMessageEventMenu = 1711;         // the event list's move menu
inline constexpr unsigned kMessageReloadTexts = 2022;       // from another program
// Another start of the program asks this one to show itself (this system's own message).
inline constexpr unsigned kMessageActivate = 0x8001;
// The worker asks for the transient popups to be closed (handled on the user-interface thread).
inline constexpr unsigned kMessageClosePopups = 0x8002;
// The installer download or its hand-off to the desktop failed (handled on the user-interface
// thread, which ends the download's dialog and says so).
inline constexpr unsigned kMessageInstallerFailed = 0x8003;

// Menu commands (kMessageCommand's wParam).
inline constexpr int kCommandQuit = 100;
inline constexpr int kCommandAbout = 102;

// The tray icon's id.
inline constexpr int kTrayIconId = 109;

// The main window's size before any scaling; the layout scale is the client height over this.
inline constexpr int kWidth = 1300;
inline constexpr int kHeight = 788;

}  // namespace mainwnd
