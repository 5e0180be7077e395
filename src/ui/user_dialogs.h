#pragma once

#include <QString>
#include <QStringList>

#include "jobs/job_view.h"

class QWidget;

namespace marnoq::ui {

// The message boxes and the open-file dialog, behind one interface so tests can answer them.
class UserDialogs {
public:
    virtual ~UserDialogs() = default;
    // An empty title means the program's default title.
    virtual void message(QWidget* parent, const QString& text, jobs::MessageIcon icon,
                         const QString& title) = 0;
    // Whether a job may replace an existing file; the text names it.
    virtual jobs::ReplaceAnswer askReplace(QWidget* parent, const QString& text) = 0;
    // Existing files picked by the user, as full paths; empty when cancelled.
    virtual QStringList openFiles(QWidget* parent, const QString& title, const QString& directory,
                                  const QString& filter) = 0;
};

class QtDialogs : public UserDialogs {
public:
    void message(QWidget* parent, const QString& text, jobs::MessageIcon icon,
                 const QString& title) override;
    jobs::ReplaceAnswer askReplace(QWidget* parent, const QString& text) override;
    QStringList openFiles(QWidget* parent, const QString& title, const QString& directory,
                          const QString& filter) override;
};

}  // namespace marnoq::ui
