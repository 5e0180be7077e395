#pragma once

#include <QStringList>
#include <QWidget>
#include <vector>

#include "ui/user_dialogs.h"

namespace marnoq::test {

// Message boxes are recorded and closed at once; the open dialog answers what the test set.
class FakeDialogs : public ui::UserDialogs {
  public:
    struct Box {
        QString text;
        QString title;
        bool overVisibleParent;
    };
    void message(QWidget* parent, const QString& text, jobs::MessageIcon,
                 const QString& title) override {
        boxes.push_back({text, title, parent != nullptr && parent->isVisible()});
    }
    // Answers in turn; Replace once they are used up.
    jobs::ReplaceAnswer askReplace(QWidget*, const QString& text) override {
        questions.push_back(text);
        return questions.size() <= replies.size() ? replies[questions.size() - 1]
                                                  : jobs::ReplaceAnswer::Replace;
    }
    QStringList openFiles(QWidget*, const QString& title, const QString& directory,
                          const QString& filter) override {
        asked.push_back(title + "|" + directory + "|" + filter);
        return answer;
    }
    std::vector<Box> boxes;
    std::vector<QString> asked;
    std::vector<QString> questions;
    std::vector<jobs::ReplaceAnswer> replies;
    QStringList answer;
};

}  // namespace marnoq::test
