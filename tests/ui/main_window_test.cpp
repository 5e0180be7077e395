#include <gtest/gtest.h>

#include <QDir>
#include <QFontMetrics>
#include <QScreen>
#include <QScrollBar>
#include <QTest>

#include "support/temp_dir.h"
#include "ui/fake_dialogs.h"
#include "ui/frm_aes.h"
#include "ui/std_dialoge.h"
#include "window_model/message_text.h"

namespace marnoq {
namespace {

using ui::frmAES;

QList<QUrl> urls(const QStringList& paths) {
    QList<QUrl> list;
    for (const auto& path : paths) {
        list << QUrl::fromLocalFile(path);
    }
    return list;
}

TEST(MainWindow, StartUpWithoutArgumentsAndThePasswordToggle) {
    test::FakeDialogs dialogs;
    frmAES w(dialogs, {});
    EXPECT_EQ(w.List1.count() + w.List2.count(), 0);
    EXPECT_EQ(w.Label5.text(), "Files: 0");
    EXPECT_EQ(w.Label6.text(), "Files: 0");
    EXPECT_TRUE(w.Label1.isHidden());
    EXPECT_EQ(w.Label1.text(), "0 %");
    for (const auto& box : w.Text3) {
        EXPECT_EQ(box.echoMode(), QLineEdit::Password);
        EXPECT_EQ(box.maxLength(), 32);
    }
    EXPECT_EQ(w.Command2.text(), "N");
    EXPECT_TRUE(w.Option1[1].isChecked());
    EXPECT_FALSE(w.Option1[0].isChecked());
    EXPECT_EQ(w.txtSuffix.text(), "-dec");
    EXPECT_LT(w.dummy.x(), 0);
    EXPECT_EQ(w.findChild<QWidget*>("Picture1")->parentWidget(), &w.cmdEnc);
    w.show();
    QTest::keyClicks(&w.Text3[0], QString(33, 'x'));
    QTest::mouseClick(&w.Command2, Qt::LeftButton);
    EXPECT_EQ(w.Command2.text(), "P");
    for (auto& box : w.Text3) {
        EXPECT_EQ(box.echoMode(), QLineEdit::Normal);
    }
    QTest::mouseClick(&w.Command2, Qt::LeftButton);
    EXPECT_EQ(w.Command2.text(), "N");
    EXPECT_EQ(w.Text3[2].echoMode(), QLineEdit::Password);
    EXPECT_EQ(w.Text3[0].text(), QString(32, 'x'));
    QTest::mouseClick(&w.Option1[0], Qt::LeftButton);
    EXPECT_TRUE(w.Option1[0].isChecked());
    EXPECT_FALSE(w.suffixOptionSelected());
}

TEST(MainWindow, CommandLineFilesGoToTheirListsAndTheClearButtonsEmptyThem) {
    test::FakeDialogs dialogs;
    frmAES w(dialogs, {"/daten/b.txt", "rel/x.AES", "/daten/a.txt", "/daten/b.txt"});
    EXPECT_EQ(w.List1.entries(), (QStringList{"/daten/a.txt", "/daten/b.txt"}));
    EXPECT_EQ(w.List2.entries(), (QStringList{QDir::currentPath() + "/rel/x.AES"}));
    EXPECT_EQ(w.Label5.text(), "Files: 2");
    EXPECT_EQ(w.Label6.text(), "Files: 1");
    // Measured in the list's own font, so the end of a path scrolls fully into view.
    EXPECT_EQ(w.List1.horizontalExtent(),
              QFontMetrics(w.List1.font()).horizontalAdvance("/daten/a.txt" + QString(25, ' ')));
    QTest::mouseClick(&w.Command5, Qt::LeftButton);
    EXPECT_EQ(w.List1.count(), 0);
    EXPECT_EQ(w.Label5.text(), "Files: 0");
    QTest::mouseClick(&w.Command6, Qt::LeftButton);
    EXPECT_EQ(w.Label6.text(), "Files: 0");
}

TEST(MainWindow, DropsFollowTheListRulesAndDoubleClickRemoves) {
    test::TempDir dir;
    for (const char* name : {"Zeta.txt", "c.aes", "notes.md"}) {
        test::writeText(dir.file(name), "x");
    }
    ::mkdir(dir.file("ordner").c_str(), 0755);
    const QString d = QString::fromStdString(dir.path()) + "/";
    test::FakeDialogs dialogs;
    frmAES w(dialogs, {});
    w.OLEDragDrop(&w.List2, urls({d + "notes.md", d + "c.aes", d + "ordner", d + "Zeta.txt"}));
    EXPECT_EQ(w.List2.entries(), (QStringList{d + "c.aes"}));
    EXPECT_EQ(w.Label6.text(), "Files: 1");
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text.toStdString(),
              window_model::refusedDropMessage({dir.file("notes.md"), dir.file("Zeta.txt")}));
    EXPECT_EQ(dialogs.boxes[0].title, "AES-Marnoq");
    w.List2.setCurrentRow(0);
    w.List2_DblClick();
    EXPECT_EQ(w.Label6.text(), "Files: 0");
    // A vanished item ends the drop: what came before stays, no refresh.
    w.OLEDragDrop(&w.List1, urls({d + "notes.md", d + "gone.txt", d + "c.aes"}));
    EXPECT_EQ(w.List1.entries(), (QStringList{d + "notes.md"}));
    EXPECT_EQ(w.Label5.text(), "Files: 0");
}

// The dialog's answer, whatever its shape, goes into the list of the button pressed.
TEST(MainWindow, OpenDialogsFillTheirLists) {
    test::FakeDialogs dialogs;
    frmAES w(dialogs, {});
    const QString from = "|" + QDir::currentPath() + "|";
    dialogs.answer = {"/d/a b.txt", "/d/ c.txt", "/d/d.aes"};
    w.Label1.setText("something");
    QTest::mouseClick(&w.Befehl2, Qt::LeftButton);
    EXPECT_EQ(w.List1.entries(), (QStringList{"/d/ c.txt", "/d/a b.txt", "/d/d.aes"}));
    EXPECT_EQ(w.Label1.text(), "0 %");
    EXPECT_EQ(dialogs.asked.back(),
              "Zu verschlüsselnde Datei(en) auswählen" + from + "Alle Dateien (*)");
    dialogs.answer = {"/d/one.txt"};  // the decrypt side takes any extension
    QTest::mouseClick(&w.Command3, Qt::LeftButton);
    EXPECT_EQ(w.List2.entries(), QStringList{"/d/one.txt"});
    EXPECT_EQ(dialogs.asked.back(), "Zu entschlüsselnde Datei auswählen" + from +
                                        "AES verschluesselte Dateien (*.aes *.AES)");
    dialogs.answer = {};
    QTest::mouseClick(&w.Command3, Qt::LeftButton);
    EXPECT_EQ(w.Label6.text(), "Files: 1");
}

// Run once per scale (QT_SCALE_FACTOR), see tests/CMakeLists.txt. A file manager hands over
// dozens of long paths at once; the window must come up with every one of them listed.
TEST(StartUp, EveryListSizeAndPathLengthComesUp) {
    for (const int files : {1, 2, 9, 13, 40, 120, 300}) {
        for (const int length : {20, 45, 80, 130, 250}) {
            std::vector<std::string> arguments;
            for (int i = 0; i < files; ++i) {
                QString path =
                    QString("/home/nutzer/Dokumente/Steuer 2025/%1-").arg(i, 3, 10, QChar('0'));
                path += QString(std::max(0, length - 4 - static_cast<int>(path.size())), 'x');
                arguments.push_back((path + (i % 3 == 0 ? ".aes" : ".pdf")).toStdString());
            }
            test::FakeDialogs dialogs;
            frmAES w(dialogs, arguments);
            w.show();
            QTest::qWait(1);
            SCOPED_TRACE(std::to_string(files) + " x " + std::to_string(length));
            ASSERT_TRUE(w.isVisible());
            // Title bar and every control on the screen, however large the scale.
            EXPECT_TRUE(w.screen()->availableGeometry().contains(w.geometry()));
            EXPECT_EQ(w.List1.count() + w.List2.count(), files);
            EXPECT_EQ(w.List2.count(), (files + 2) / 3);
            for (const ui::FileListWidget* list : {&w.List1, &w.List2}) {
                // The end of the longest path, with room to spare, scrolls into view.
                EXPECT_GE(list->horizontalScrollBar()->maximum() + list->viewport()->width(),
                          list->count() == 0 ? 0 : list->horizontalExtent());
            }
        }
    }
}

}  // namespace
}  // namespace marnoq
