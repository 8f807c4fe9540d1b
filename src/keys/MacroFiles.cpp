// Macro files: writing one macro or every macro as XML, and storing the macros such a file holds.

#include "keys/MacroFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <random>
#include <system_error>
#include <utility>

#include "platform/UniqueFd.h"
#include "store/SettingsStore.h"
#include "text/Format.h"
#include "text/Numbers.h"
#include "text/Utf.h"
#include "xml/XmlDocument.h"

namespace fs = std::filesystem;

namespace {

constexpr char16_t kDeclaration[] = u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";

std::string SystemMessage(int error) {
    return std::error_code(error, std::generic_category()).message();
}

// XmlDocument takes paths as UTF-16 text. A path whose bytes are not UTF-8 would come back as
// another path, and the document would be read from or written to a file nobody chose.
bool HasUtf8Name(const fs::path& file, std::string& error) {
    if (ToUtf8(FromUtf8(file.native())) != file.native()) {
        error = "the file name is not valid UTF-8";
        return false;
    }
    return true;
}

// The system's message that the last LoadFile or SaveFile logged as "file_error"; empty when it
// logged none.
std::string LoggedFileError(const XmlDocument& document) {
    XmlDocument log;
    const std::u16string text = u"<log>" + document.ResultLog() + u"</log>";
    if (!log.SetText(text.c_str()) || !log.FindElement(u"log") || !log.EnterElement() ||
        !log.FindElement(u"file_error")) {
        return {};
    }
    return ToUtf8(log.GetAttribute(u"msg"));
}

// Removes a temporary file on every early return unless it was renamed into place.
class TemporaryFile {
public:
    TemporaryFile() = default;
    ~TemporaryFile() {
        if (!path_.empty()) {
            ::unlink(path_.c_str());
        }
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    // Creates an empty file with a new name beside `target`. The mode goes through the umask as
    // for any file the user saves, so an exported file can be shared like the user's others.
    int Create(const fs::path& target) {
        std::minstd_rand random(static_cast<unsigned>(
            std::chrono::steady_clock::now().time_since_epoch().count() ^ ::getpid()));
        for (int attempt = 0; attempt < 100; ++attempt) {
            std::string path = target.native() + ToUtf8(Format(u".%06x", random() & 0xFFFFFF));
            platform::UniqueFd fd(
                ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
            if (fd.IsValid()) {
                path_ = std::move(path);
                return 0;
            }
            if (errno != EEXIST) {
                return errno;
            }
        }
        return EEXIST;
    }
    const std::string& Path() const { return path_; }
    void Keep() { path_.clear(); }

private:
    std::string path_;
};

// Flushes a written file to the disk; the first failure's errno, or 0.
int SyncFile(const std::string& path) {
    platform::UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.IsValid() || ::fsync(fd.Get()) != 0) {
        return errno;
    }
    return fd.Close() ? 0 : errno;
}

// Saves the document so that `file` holds either what it held before or the whole document: the
// document goes to a new file in the same folder, which is flushed and renamed over `file`. A
// failed export thus never leaves a cut-off file behind, nor destroys the file it was replacing.
bool SaveDocument(XmlDocument& document, const fs::path& file, std::string& error) {
    // A link is written through, as saving over it in place would.
    fs::path target = file;
    std::error_code ignored;
    if (fs::is_symlink(file, ignored)) {
        if (fs::path resolved = fs::canonical(file, ignored); !ignored) {
            target = std::move(resolved);
        }
    }
    // The temporary file's name is this one's and a suffix of ASCII letters and digits.
    if (!HasUtf8Name(target, error)) {
        return false;
    }
    // Only a file is replaced: a folder, a device or a pipe in its place stays what it is.
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) {
        error = S_ISDIR(old.st_mode) ? "a folder of that name exists" : "not a regular file";
        return false;
    }
    TemporaryFile temporary;
    if (const int failure = temporary.Create(target); failure != 0) {
        error = "cannot create a file in that folder: " + SystemMessage(failure);
        return false;
    }
    if (!document.SaveFile(FromUtf8(temporary.Path()))) {
        const std::string reason = LoggedFileError(document);
        error = "cannot write the file" + (reason.empty() ? std::string() : ": " + reason);
        return false;
    }
    if (const int failure = SyncFile(temporary.Path()); failure != 0) {
        error = "cannot write the file: " + SystemMessage(failure);
        return false;
    }
    // A replaced file keeps who may read it.
    if (exists) {
        ::chmod(temporary.Path().c_str(), old.st_mode & 07777);
    }
    if (::rename(temporary.Path().c_str(), target.c_str()) != 0) {
        error = "cannot replace the file: " + SystemMessage(errno);
        return false;
    }
    temporary.Keep();
    platform::UniqueFd folder(::open(target.has_parent_path() ? target.parent_path().c_str() : ".",
                                     O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.IsValid()) {
        ::fsync(folder.Get());  // the rename is done; a failure here cannot be undone
    }
    return true;
}

// The five attributes of "macroinfo" and "macro_item"; "macro_type" carries the play mode.
bool WriteMacroAttributes(XmlDocument& document, const std::u16string& name,
                          const MacroRecord& macro) {
    return document.SetAttribute(u"macro_name", name) &&
           document.SetAttribute(u"macro_type", macro.play_type) &&
           document.SetAttribute(u"play_times", macro.play_times) &&
           document.SetAttribute(u"delay_type", macro.delay_type) &&
           document.SetAttribute(u"delay_time", macro.delay_time);
}

// One "item" per event, inside the element entered last.
bool WriteEvents(XmlDocument& document, const std::vector<MacroEventRecord>& events) {
    for (const MacroEventRecord& event : events) {
        if (!document.AddElement(u"item") || !document.SetAttribute(u"desc", event.desc) ||
            !document.SetAttribute(u"index", event.record_index) ||
            !document.SetAttribute(u"type", event.type) ||
            !document.SetAttribute(u"value", event.value) ||
            !document.SetAttribute(u"timestamp", event.delay_time)) {
            return false;
        }
    }
    return true;
}

constexpr char kTooLarge[] = "the macros do not fit in one file";

// Loads `file` and enters its top-level "macro" element.
bool OpenMacroFile(XmlDocument& document, const fs::path& file, std::string& error) {
    if (!HasUtf8Name(file, error)) {
        return false;
    }
    if (!document.LoadFile(FromUtf8(file.native()))) {
        error = LoggedFileError(document);
        if (error.empty()) {
            error = "not a well-formed XML file";
        }
        return false;
    }
    if (!document.FindElement(u"macro") || !document.EnterElement()) {
        error = "not a macro file (no \"macro\" element)";
        return false;
    }
    return true;
}

// The macro the current element describes; missing or malformed numbers read as 0, and with no
// current element everything is empty.
MacroRecord ReadMacro(const XmlDocument& document) {
    MacroRecord macro;
    macro.name = document.GetAttribute(u"macro_name");
    macro.play_type = DecimalToInt(document.GetAttribute(u"macro_type"));
    macro.play_times = DecimalToInt(document.GetAttribute(u"play_times"));
    macro.delay_type = DecimalToInt(document.GetAttribute(u"delay_type"));
    macro.delay_time = DecimalToInt(document.GetAttribute(u"delay_time"));
    return macro;
}

// Stores the "item" elements of the element just found as events of `macroId`, in one
// transaction, each with the index the file gives it.
void StoreEvents(SettingsStore& store, XmlDocument& document, int macroId) {
    if (!document.EnterElement()) {
        return;
    }
    std::vector<MacroEventRecord> events;
    while (document.FindElement(u"item")) {
        MacroEventRecord event;
        event.macro_id = macroId;
        event.record_index = DecimalToInt(document.GetAttribute(u"index"));
        event.type = DecimalToInt(document.GetAttribute(u"type"));
        event.value = DecimalToInt(document.GetAttribute(u"value"));
        event.delay_time = DecimalToInt(document.GetAttribute(u"timestamp"));
        event.desc = document.GetAttribute(u"desc");
        events.push_back(std::move(event));
    }
    document.LeaveElement();
    if (!events.empty()) {
        store.AddMacroEvents(std::move(events));
    }
}

// Stores `macro`; on success appends it to `added`. Its events are the caller's.
int StoreMacro(SettingsStore& store, const MacroRecord& macro, std::vector<ImportedMacro>& added) {
    const int id = store.AddMacro(macro);
    if (id > 0) {
        added.push_back({id, macro.name});
    }
    return id;
}

}  // namespace

bool ExportMacro(SettingsStore& store, int macroId, const std::u16string& listName,
                 const fs::path& file, std::string& error) {
    MacroRecord macro;
    if (!store.GetMacro(macroId, macro)) {
        error = "the macro is not stored";
        return false;
    }
    std::vector<MacroEventRecord> events;
    store.ListMacroEvents(macroId, events);

    XmlDocument document;
    document.SetText(kDeclaration);
    // "macroitems" is written even when it stays empty.
    if (!document.AddElement(u"macro") || !document.EnterElement() ||
        !document.AddElement(u"macroinfo") || !WriteMacroAttributes(document, listName, macro) ||
        !document.AddElement(u"macroitems") || !document.EnterElement() ||
        !WriteEvents(document, events)) {
        error = kTooLarge;
        return false;
    }
    return SaveDocument(document, file, error);
}

bool ExportAllMacros(SettingsStore& store, const fs::path& file, std::string& error) {
    std::vector<MacroRecord> macros;
    store.ListMacros(macros);

    XmlDocument document;
    document.SetText(kDeclaration);
    if (!document.AddElement(u"macro") || !document.EnterElement()) {
        error = kTooLarge;
        return false;
    }
    std::vector<MacroEventRecord> events;
    for (const MacroRecord& macro : macros) {
        if (!document.AddElement(u"macro_item") ||
            !WriteMacroAttributes(document, macro.name, macro)) {
            error = kTooLarge;
            return false;
        }
        store.ListMacroEvents(macro.macro_id, events);
        // A macro without events has no "record_item" at all.
        if (events.empty()) {
            continue;
        }
        if (!document.EnterElement() || !document.AddElement(u"record_item") ||
            !document.EnterElement() || !WriteEvents(document, events)) {
            error = kTooLarge;
            return false;
        }
        document.LeaveElement();
        document.LeaveElement();
    }
    document.LeaveElement();
    return SaveDocument(document, file, error);
}

bool ImportMacro(SettingsStore& store, const fs::path& file, std::vector<ImportedMacro>& added,
                 std::string& error) {
    XmlDocument document;
    if (!OpenMacroFile(document, file, error)) {
        return false;
    }
    // Without "macroinfo" nothing is current and the macro is stored with empty values.
    document.FindElement(u"macroinfo");
    const int id = StoreMacro(store, ReadMacro(document), added);
    if (id <= 0) {
        error = "the macro could not be stored";
        return false;
    }
    if (document.FindElement(u"macroitems")) {
        StoreEvents(store, document, id);
    }
    return true;
}

bool ImportMacros(SettingsStore& store, const fs::path& file, std::vector<ImportedMacro>& added,
                  std::string& error) {
    XmlDocument document;
    if (!OpenMacroFile(document, file, error)) {
        return false;
    }
    int failed = 0;
    while (document.FindElement(u"macro_item")) {
        const int id = StoreMacro(store, ReadMacro(document), added);
        if (id <= 0) {
            ++failed;  // its events are not read
            continue;
        }
        if (document.EnterElement()) {
            if (document.FindElement(u"record_item")) {
                StoreEvents(store, document, id);
            }
            document.LeaveElement();
        }
    }
    document.LeaveElement();
    if (failed > 0) {
        error = ToUtf8(Format(u"%d of the macros could not be stored", failed));
        return false;
    }
    return true;
}
