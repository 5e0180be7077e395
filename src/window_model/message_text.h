#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "jobs/job_report.h"
#include "jobs/job_view.h"

namespace marnoq::window_model {

// The longest unbroken run of characters a message box shows whole at every scale.
inline constexpr std::size_t kMessageWordLength = 56;

// The text, or its beginning and its end (which keeps the extension) around "…", at most
// maxLength characters.
std::string shortenedInMiddle(std::string_view utf8, std::size_t maxLength);

// The message as a box can show it whole: the given names (the files the message is about),
// a full path on a line of its own, and every run of characters without a blank are shortened
// in the middle when they are longer than kMessageWordLength.
std::string fittedMessage(std::string_view text, const std::vector<std::string>& names = {});

// The names a message about this list entry may hold: the full path and the file name.
std::vector<std::string> namesOf(const std::string& path);
// The one message for the files of a drop the decrypt list refused, fitted to the box.
std::string refusedDropMessage(const std::vector<std::string>& paths);
// Those of the entries selected in the window's lists: a job's message is about its entry.
std::vector<std::string> messageNames(const jobs::JobView& view);

// A name as the user can recognise it: bytes that are not UTF-8 (a name from an older system)
// are read as Windows-1252 characters.
std::string displayName(std::string_view bytes);

// The question before a job replaces an existing file, and its buttons in the order of the
// answers Replace, ReplaceAll, Skip, Cancel.
std::string replaceQuestion(const std::string& path);
inline constexpr const char* kReplaceButtons[] = {"Ersetzen", "Alle ersetzen", "Überspringen",
                                                  "Abbrechen"};

// After a job: the message naming the entries it skipped because they are no existing file,
// and the status line, which then no longer claims the whole list was done.
std::optional<std::string> skippedMessage(const jobs::JobReport& report);
// `entries`: how many the list held, so files a cancel left unstarted count too.
std::string statusAfterJob(const jobs::JobReport& report, const std::string& status,
                           std::size_t entries);

// Screen readers hear the status line at most twice a second and never the same text twice,
// but always its final text.
class AnnouncementPace {
  public:
    bool due(const std::string& text, std::chrono::steady_clock::time_point now, bool final);

  private:
    std::string last_;
    std::optional<std::chrono::steady_clock::time_point> at_;
};

}  // namespace marnoq::window_model
