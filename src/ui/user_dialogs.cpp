#include "ui/user_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>
#include <vector>

#include "window_model/message_text.h"

namespace marnoq::ui {

void QtDialogs::message(QWidget* parent, const QString& text, jobs::MessageIcon icon,
                        const QString& title) {
    QMessageBox box(
        icon == jobs::MessageIcon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon,
        title.isEmpty() ? QApplication::applicationName() : title,
        QString(text).replace("\r\n", "\n"), QMessageBox::Ok, parent);
    box.exec();
}

jobs::ReplaceAnswer QtDialogs::askReplace(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Question, QApplication::applicationName(),
                    QString(text).replace("\r\n", "\n"), QMessageBox::NoButton, parent);
    constexpr QMessageBox::ButtonRole kRoles[] = {QMessageBox::AcceptRole, QMessageBox::AcceptRole,
                                                  QMessageBox::NoRole, QMessageBox::RejectRole};
    std::vector<QAbstractButton*> buttons;
    for (std::size_t i = 0; i < std::size(kRoles); ++i) {
        buttons.push_back(
            box.addButton(QString::fromUtf8(window_model::kReplaceButtons[i]), kRoles[i]));
    }
    // Return keeps the older file: replacing is never the answer of a stray key.
    box.setDefaultButton(static_cast<QPushButton*>(buttons[2]));
    box.setEscapeButton(buttons[3]);
    box.exec();
    const auto clicked = std::find(buttons.begin(), buttons.end(), box.clickedButton());
    return clicked == buttons.end() ? jobs::ReplaceAnswer::Cancel
                                    : static_cast<jobs::ReplaceAnswer>(clicked - buttons.begin());
}

QStringList QtDialogs::openFiles(QWidget* parent, const QString& title, const QString& directory,
                                 const QString& filter) {
    return QFileDialog::getOpenFileNames(parent, title, directory, filter);
}

}  // namespace marnoq::ui
