#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "jobs/job_view.h"

namespace marnoq::window_model {

inline constexpr std::size_t kMaxListEntries = 32767;
inline constexpr const char* kListFullMessage =
    "Die Liste kann höchstens 32767 Dateien aufnehmen; weitere Dateien wurden nicht übernommen.";

// Orders paths the way the lists show them: by letter, upper and lower case alike (umlauts and
// the other Latin letters of Western European names included).
bool lessIgnoringCase(std::string_view a, std::string_view b);

// "Files: " and the count, the text of a list's count label.
std::string countText(std::size_t count);

// The decrypt list takes only ".aes" files (any case) by drag and drop; the others of one drop
// are refused with one message naming them, not one box for each.
bool decryptListAccepts(const std::string& path);
std::string wrongExtensionMessage(const std::vector<std::string>& paths);

// A dropped item as the window found it on disk.
struct DroppedItem {
    std::string path;
    bool exists;
    bool isFolder;
};
struct DropOutcome {
    std::vector<std::string> refused;  // to be named in one message
    bool refresh;                      // the list's extent and count label are brought up to date
};
// Offers the dropped files in order to `add`, which answers false when the list is full; that
// ends the drop. Folders are passed over. An item that does not exist ends the drop at once,
// and then the list is not refreshed.
DropOutcome dropFiles(const std::vector<DroppedItem>& items, jobs::FileList list,
                      const std::function<bool(const std::string&)>& add);

// The entries of one file list: full paths, sorted ignoring case, each path once, at most
// kMaxListEntries. A front end mirrors every change into its list control.
class SortedFileList {
  public:
    enum class Outcome { Added, Duplicate, Full };
    struct Insertion {
        Outcome outcome;
        std::size_t index;  // where an added path now stands
    };

    // A path the list already holds (exactly, case distinguished) is dropped before the cap is
    // looked at, so duplicates never cost a place.
    Insertion insert(const std::string& path);
    void removeAt(std::size_t index);
    void clear();

    const std::vector<std::string>& entries() const { return entries_; }
    std::size_t size() const { return entries_.size(); }

  private:
    std::vector<std::string> entries_;
    std::unordered_set<std::string> present_;
};

}  // namespace marnoq::window_model
