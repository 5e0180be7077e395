#include "window_model/file_list_rules.h"

#include <algorithm>

#include "jobs/path_functions.h"

namespace marnoq::window_model {
namespace {

// Decodes one UTF-8 sequence; a stray byte stands for itself so every text still sorts.
char32_t nextCodePoint(std::string_view text, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(text[at++]);
    const int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    if (extra == 0 || at + extra > text.size()) {
        return lead;
    }
    char32_t code = lead & (0x3F >> extra);
    for (int i = 0; i < extra; ++i) {
        code = (code << 6) | (static_cast<unsigned char>(text[at++]) & 0x3F);
    }
    return code;
}

char32_t foldCase(char32_t c) {
    if ((c >= U'A' && c <= U'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) {
        return c + 0x20;
    }
    // Latin Extended-A pairs upper and lower case as neighbours; the parity flips twice.
    if (c >= 0x100 && c <= 0x17F && c != 0x130 && c != 0x131 && c != 0x138 && c != 0x149) {
        const bool upperIsOdd = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        if (c == 0x178) {
            return 0xFF;
        }
        return (c % 2 == 1) == upperIsOdd ? c + 1 : c;
    }
    return c;
}

}  // namespace

bool lessIgnoringCase(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        const char32_t x = foldCase(nextCodePoint(a, i));
        const char32_t y = foldCase(nextCodePoint(b, j));
        if (x != y) {
            return x < y;
        }
    }
    return i == a.size() && j < b.size();
}

std::string countText(std::size_t count) {
    return "Files: " + std::to_string(count);
}

bool decryptListAccepts(const std::string& path) {
    return jobs::hasAesExtension(path);
}

DropOutcome dropFiles(const std::vector<DroppedItem>& items, jobs::FileList list,
                      const std::function<bool(const std::string&)>& add) {
    DropOutcome outcome{{}, true};
    for (const DroppedItem& item : items) {
        if (!item.exists) {
            outcome.refresh = false;
            break;
        }
        if (item.isFolder) {
            continue;
        }
        if (list == jobs::FileList::Decrypt && !decryptListAccepts(item.path)) {
            outcome.refused.push_back(item.path);
        } else if (!add(item.path)) {
            break;
        }
    }
    return outcome;
}

std::string wrongExtensionMessage(const std::vector<std::string>& paths) {
    constexpr std::size_t kListed = 10;  // the box stays on the screen
    const auto nameOf = [](const std::string& path) {
        return path.substr(path.find_last_of("/\\") + 1);
    };
    std::string text = paths.size() == 1 ? "Datei: " + nameOf(paths.front()) : "Dateien:";
    for (std::size_t i = 0; paths.size() > 1 && i < std::min(paths.size(), kListed); ++i) {
        text += "\r\n" + nameOf(paths[i]);
    }
    if (paths.size() > kListed) {
        text += "\r\n… und " + std::to_string(paths.size() - kListed) + " weitere.";
    }
    return text +
           "\r\nFehler: Für die Entschlüsselung können nur verschlüsselte Dateien mit der "
           "Erweiterung .aes Dateien ausgewählt werden!";
}

SortedFileList::Insertion SortedFileList::insert(const std::string& path) {
    if (present_.contains(path)) {
        return {Outcome::Duplicate, 0};
    }
    if (entries_.size() >= kMaxListEntries) {
        return {Outcome::Full, 0};
    }
    const auto at = std::upper_bound(
        entries_.begin(), entries_.end(), path,
        [](const std::string& a, const std::string& b) { return lessIgnoringCase(a, b); });
    const auto index = static_cast<std::size_t>(at - entries_.begin());
    entries_.insert(at, path);
    present_.insert(path);
    return {Outcome::Added, index};
}

void SortedFileList::removeAt(std::size_t index) {
    present_.erase(entries_[index]);
    entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(index));
}

void SortedFileList::clear() {
    entries_.clear();
    present_.clear();
}

}  // namespace marnoq::window_model
