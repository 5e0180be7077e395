#include "ui/user_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace marnoq::ui {

void QtDialogs::message(QWidget* parent, const QString& text, jobs::MessageIcon icon,
                        const QString& title) {
    QMessageBox box(icon == jobs::MessageIcon::Exclamation ? QMessageBox::Warning
                                                           : QMessageBox::NoIcon,
                    title.isEmpty() ? QApplication::applicationName() : title,
                    QString(text).replace("\r\n", "\n"), QMessageBox::Ok, parent);
    box.exec();
}

QStringList QtDialogs::openFiles(QWidget* parent, const QString& title, const QString& directory,
                                 const QString& filter) {
    return QFileDialog::getOpenFileNames(parent, title, directory, filter);
}

}  // namespace marnoq::ui
