#pragma once

#include <functional>
#include <string>
#include <vector>

#include "jobs/job_view.h"

namespace marnoq::test {

// A window without widgets: lists, texts and captions in memory, every visible change recorded.
class FakeView : public jobs::JobView {
  public:
    struct Box {
        std::string text;
        jobs::MessageIcon icon;
        std::string title;
    };
    std::vector<std::string> list1, list2;
    int selected1 = -1, selected2 = -1;
    std::string passwords[3];
    std::string suffix = "-dec";
    bool suffixMode = true;
    std::string captions[2] = {"AES Encrypt", "AES Decrypt"};
    std::string status = "0 %";
    bool statusVisible = false;
    jobs::JobState jobState;
    std::vector<Box> boxes;
    std::vector<std::string> statusHistory;
    std::vector<jobs::MousePointer> pointers;
    std::vector<jobs::Control> focus;
    std::vector<std::string> captionHistory;
    int pumps = 0;
    // Runs inside letEventsRun, like a click that arrives while the job yields.
    std::function<void(FakeView&)> onEvents;
    int entryCount(jobs::FileList list) const override { return static_cast<int>(of(list).size()); }
    std::string entry(jobs::FileList list, int index) const override {
        return of(list).at(static_cast<std::size_t>(index));
    }
    int selectedIndex(jobs::FileList list) const override {
        return list == jobs::FileList::Encrypt ? selected1 : selected2;
    }
    void selectEntry(jobs::FileList list, int index) override {
        (list == jobs::FileList::Encrypt ? selected1 : selected2) = index;
    }
    std::string passwordText(int box) const override { return passwords[box]; }
    std::string suffixText() const override { return suffix; }
    bool suffixOptionSelected() const override { return suffixMode; }
    std::string caption(jobs::StartButton button) const override {
        return captions[static_cast<int>(button)];
    }
    void setCaption(jobs::StartButton button, const std::string& text) override {
        captions[static_cast<int>(button)] = text;
        captionHistory.push_back(text);
    }
    void setPointer(jobs::MousePointer pointer) override { pointers.push_back(pointer); }
    void setFocus(jobs::Control control) override { focus.push_back(control); }
    std::string statusText() const override { return status; }
    void setStatusText(const std::string& text) override {
        status = text;
        statusHistory.push_back(text);
    }
    void showStatus() override { statusVisible = true; }
    void messageBox(const std::string& text, jobs::MessageIcon icon,
                    const std::string& title) override {
        boxes.push_back({text, icon, title});
    }
    // Answers to the replace question in turn; Replace once they are used up.
    std::vector<jobs::ReplaceAnswer> replaceAnswers;
    std::vector<std::string> replaceQuestions;
    jobs::ReplaceAnswer askReplace(const std::string& path) override {
        replaceQuestions.push_back(path);
        const std::size_t asked = replaceQuestions.size() - 1;
        return asked < replaceAnswers.size() ? replaceAnswers[asked] : jobs::ReplaceAnswer::Replace;
    }
    void letEventsRun() override {
        ++pumps;
        if (onEvents) {
            onEvents(*this);
        }
    }
    jobs::JobState& state() override { return jobState; }
    void setPassword(const std::string& password) {
        passwords[0] = passwords[1] = passwords[2] = password;
    }

  private:
    const std::vector<std::string>& of(jobs::FileList list) const {
        return list == jobs::FileList::Encrypt ? list1 : list2;
    }
};

}  // namespace marnoq::test
