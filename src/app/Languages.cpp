#include "app/Languages.h"

#include <atomic>
#include <mutex>
#include <utility>

namespace {

std::atomic<int> currentLanguage{kInitialLanguage};

// Guards availableLanguages.
std::mutex availableLanguagesLock;
std::map<int, int> availableLanguages;  // guarded by availableLanguagesLock

}  // namespace

int GetCurrentLanguage() {
    return currentLanguage.load();
}

void SetCurrentLanguage(int lcid) {
    currentLanguage.store(lcid);
}

std::map<int, int> GetAvailableLanguages() {
    std::lock_guard<std::mutex> lock(availableLanguagesLock);
    return availableLanguages;
}

void SetAvailableLanguages(std::map<int, int> languages) {
    std::lock_guard<std::mutex> lock(availableLanguagesLock);
    availableLanguages = std::move(languages);
}

void ClearAvailableLanguages() {
    SetAvailableLanguages({});
}

bool IsAvailableLanguage(int lcid) {
    std::lock_guard<std::mutex> lock(availableLanguagesLock);
    return availableLanguages.count(lcid) != 0;
}
