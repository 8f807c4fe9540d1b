#pragma once

#include <filesystem>

// The start-up read of config.xml: the language list, the default language and the application
// name. The device list and the rest of the "software" element are read by the main window.
//
// The document must be well-formed with the single root "config". Elements are looked for among
// the children of the current element searching forward only, so "language.info" has to come
// before "software"; an absent element is skipped. In order:
//   - AvailableLanguages is emptied;
//   - "language.info": its "default_lan" becomes CurrentLanguage, and the "value" of each "lan"
//     child is added to AvailableLanguages (values that are not positive name no language and are
//     skipped);
//   - "software": its "caption" becomes the application name (Manager::SetDeviceName; an empty or
//     missing caption keeps the current name).
// Returns false, having set nothing but the emptied list, when the file is missing, unreadable or
// not such a document. Shows no message.
bool ReadAppConfig(const std::filesystem::path& exeFolder);

// The same with config.xml of the executable folder.
bool ReadAppConfig();
