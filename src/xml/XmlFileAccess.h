#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

class XmlDocument;

// Loading and saving the XML files a user picks (profile and macro files), with the checks
// XmlDocument leaves to its callers: a reason in plain English for every failure, no endless read
// of a pipe or device, and no half-written file left where a complete one was asked for. Both
// refuse a file name that is not UTF-8: XmlDocument would take it for another name.

// Loads `file` into `document`. Fails with "cannot read: <system message>" when the file cannot be
// opened or is not a regular file, when it is larger than `sizeLimit` bytes, and with "not a
// well-formed XML file" when XmlDocument cannot index it.
bool LoadXmlFile(XmlDocument& document, const std::filesystem::path& file, std::uintmax_t sizeLimit,
                 std::string& error);

// Saves `document` through XmlDocument::SaveFile into a new file beside `file` and renames it over
// `file` once it is complete and on the disk, so `file` is either the old file or the whole new
// one. A symbolic link is written through; a new file gets the usual permissions (0666 less the
// umask), a replaced one keeps its own. Only a regular file is replaced: a folder, a pipe or a
// device of that name stays what it is. Fails with "cannot write: <system message>".
bool SaveXmlFile(XmlDocument& document, const std::filesystem::path& file, std::string& error);
