#include "window_model/message_text.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "jobs/messages.h"
#include "jobs/windows1252.h"
#include "window_model/file_list_rules.h"

namespace marnoq::window_model {
namespace {

constexpr std::size_t kListedSkips = 10;
constexpr auto kAnnouncementGap = std::chrono::milliseconds(500);
constexpr std::string_view kEllipsis = "…";

// The length of the UTF-8 sequence at i, 0 when the bytes there are no valid character.
std::size_t sequenceLength(std::string_view text, std::size_t i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = lead < 0x80   ? 1
                               : lead < 0xC2 ? 0
                               : lead < 0xE0 ? 2
                               : lead < 0xF0 ? 3
                               : lead < 0xF5 ? 4
                                             : 0;
    if (length == 0 || i + length > text.size()) {
        return 0;
    }
    for (std::size_t k = 1; k < length; ++k) {
        if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
            return 0;
        }
    }
    return length;
}

std::vector<std::string_view> characters(std::string_view utf8) {
    std::vector<std::string_view> result;
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t length = std::max<std::size_t>(1, sequenceLength(utf8, i));
        result.push_back(utf8.substr(i, length));
        i += length;
    }
    return result;
}

std::string joined(std::vector<std::string_view>::const_iterator from,
                   std::vector<std::string_view>::const_iterator to) {
    std::string text;
    for (; from != to; ++from) {
        text += *from;
    }
    return text;
}

std::size_t count(const jobs::JobReport& report, jobs::FileOutcome outcome) {
    return static_cast<std::size_t>(
        std::count_if(report.files.begin(), report.files.end(),
                      [outcome](const auto& file) { return file.outcome == outcome; }));
}

// A path from the root, "/…", "C:\…" or "\\server\…": one name, blanks and all.
bool isFullPath(std::string_view line) {
    return line.starts_with('/') || line.starts_with("\\\\") ||
           (line.size() > 2 && std::isalpha(static_cast<unsigned char>(line[0])) != 0 &&
            line.substr(1, 2) == ":\\");
}

// One paragraph of the summary: its head line, then the names, at most kListedSkips of them.
void appendNames(std::string& text, const std::string& head,
                 const std::vector<std::string>& names) {
    if (names.empty()) {
        return;
    }
    text += (text.empty() ? "" : std::string(jobs::kCrLf) + jobs::kCrLf) + head;
    for (std::size_t i = 0; i < std::min(names.size(), kListedSkips); ++i) {
        text += jobs::kCrLf + shortenedInMiddle(displayName(names[i]), kMessageWordLength);
    }
    if (names.size() > kListedSkips) {
        text += jobs::kCrLf + std::string("… und ") + std::to_string(names.size() - kListedSkips) +
                " weitere.";
    }
}

}  // namespace

std::string shortenedInMiddle(std::string_view utf8, std::size_t maxLength) {
    const auto chars = characters(utf8);
    if (chars.size() <= maxLength || maxLength < 3) {
        return std::string(utf8);
    }
    // The end holds the extension and the distinguishing number; it gets the larger part.
    const std::size_t head = (maxLength - 1) * 2 / 5;
    const std::size_t tail = maxLength - 1 - head;
    return joined(chars.begin(), chars.begin() + static_cast<std::ptrdiff_t>(head)) +
           std::string(kEllipsis) +
           joined(chars.end() - static_cast<std::ptrdiff_t>(tail), chars.end());
}

std::string fittedMessage(std::string_view message, const std::vector<std::string>& names) {
    std::string text(message);
    for (const std::string& name : names) {
        const std::string shortName = shortenedInMiddle(name, kMessageWordLength);
        for (std::size_t at = name.size() > shortName.size() ? text.find(name) : std::string::npos;
             at != std::string::npos; at = text.find(name, at + shortName.size())) {
            text.replace(at, name.size(), shortName);
        }
    }
    std::string fitted;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t blank = text.find_first_of(" \r\n\t", start);
        std::size_t end = blank == std::string::npos ? text.size() : blank;
        const bool lineStart = start == 0 || text[start - 1] == '\n';
        if (lineStart && isFullPath(std::string_view(text).substr(start))) {
            end = std::min(text.size(), text.find_first_of("\r\n", start));
        }
        fitted += shortenedInMiddle(std::string_view(text).substr(start, end - start),
                                    kMessageWordLength);
        if (end < text.size()) {
            fitted += text[end];
        }
        start = end + 1;
    }
    return fitted;
}

std::vector<std::string> namesOf(const std::string& path) {
    const std::size_t slash = path.find_last_of("/\\");
    return {path, slash == std::string::npos ? path : path.substr(slash + 1)};
}

std::string displayName(std::string_view bytes) {
    std::string shown;
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length = sequenceLength(bytes, i);
        shown += length == 0 ? jobs::fromWindows1252(bytes.substr(i, 1))
                             : std::string(bytes.substr(i, length));
        i += std::max<std::size_t>(1, length);
    }
    return shown;
}

std::vector<std::string> messageNames(const jobs::JobView& view) {
    std::vector<std::string> names;
    for (const jobs::FileList list : {jobs::FileList::Encrypt, jobs::FileList::Decrypt}) {
        if (const int selected = view.selectedIndex(list); selected >= 0) {
            const auto more = namesOf(view.entry(list, selected));
            names.insert(names.end(), more.begin(), more.end());
        }
    }
    return names;
}

std::string replaceQuestion(const std::string& path) {
    return fittedMessage("Die Datei" + std::string(jobs::kCrLf) + displayName(path) + jobs::kCrLf +
                             "gibt es schon. Soll sie durch die neue ersetzt werden?",
                         namesOf(displayName(path)));
}

std::string refusedDropMessage(const std::vector<std::string>& paths) {
    std::vector<std::string> names;
    for (const auto& path : paths) {
        const auto both = namesOf(path);
        names.insert(names.end(), both.begin(), both.end());
    }
    return fittedMessage(wrongExtensionMessage(paths), names);
}

std::optional<std::string> skippedMessage(const jobs::JobReport& report) {
    std::vector<std::string> missing, kept;
    for (const auto& file : report.files) {
        if (file.outcome == jobs::FileOutcome::Skipped) {
            missing.push_back(file.path);
        } else if (file.outcome == jobs::FileOutcome::NotReplaced) {
            kept.push_back(file.output);
        }
    }
    if ((missing.empty() && kept.empty()) || report.aborted) {
        return std::nullopt;  // a closing program asks nothing more
    }
    std::string text;
    appendNames(
        text,
        missing.size() == 1
            ? std::string("Ein Eintrag der Liste wurde übersprungen, weil es die Datei "
                          "nicht gibt:")
            : std::to_string(missing.size()) +
                  " Einträge der Liste wurden übersprungen, weil es die Dateien nicht gibt:",
        missing);
    appendNames(text,
                kept.size() == 1
                    ? std::string("Eine vorhandene Datei wurde nicht ersetzt:")
                    : std::to_string(kept.size()) + " vorhandene Dateien wurden nicht ersetzt:",
                kept);
    return text;
}

std::string statusAfterJob(const jobs::JobReport& report, const std::string& status,
                           std::size_t entries) {
    const std::size_t skipped =
        count(report, jobs::FileOutcome::Skipped) + count(report, jobs::FileOutcome::NotReplaced);
    if (skipped == 0 || !report.started || report.aborted) {
        return status;
    }
    const std::size_t time = status.rfind(" , ");
    return std::to_string(count(report, jobs::FileOutcome::Done)) + " von " +
           std::to_string(std::max(entries, report.files.size())) + " Dateien bearbeitet, " +
           std::to_string(skipped) + " übersprungen" +
           (time == std::string::npos ? std::string() : status.substr(time));
}

bool AnnouncementPace::due(const std::string& text, std::chrono::steady_clock::time_point now,
                           bool final) {
    if (text == last_ || (!final && at_ && now - *at_ < kAnnouncementGap)) {
        return false;
    }
    last_ = text;
    at_ = now;
    return true;
}

}  // namespace marnoq::window_model
