#include <gtest/gtest.h>

#include <QTest>

#include "io/file_system.h"
#include "support/temp_dir.h"
#include "ui/fake_dialogs.h"
#include "ui/frm_aes.h"

namespace marnoq {
namespace {

// A shown window with the three files of the folder in its encrypt list and the password typed.
class WindowJobTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : {"eins.bin", "zwei.bin", "drei.bin"}) {
            test::writeBytes(dir.file(name), test::randomBytes(99990, name[0]));
        }
        start(w);
        QObject::connect(&w, &ui::frmAES::statusTextChanged,
                         [this](const QString& text) { statuses << text; });
    }
    void start(ui::frmAES& window) {
        window.show();
        for (auto& box : window.Text3) {
            box.insert("Kennwort ä");  // as typed; the test keyboard knows no umlauts
        }
    }
    test::TempDir dir;
    test::FakeDialogs dialogs;
    QStringList statuses;
    ui::frmAES w{dialogs, {dir.file("eins.bin"), dir.file("zwei.bin"), dir.file("drei.bin")}};
};

TEST_F(WindowJobTest, EncryptThenDecryptByClicks) {
    QTest::mouseClick(&w.cmdEnc, Qt::LeftButton);
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_TRUE(w.Label1.isVisible());
    EXPECT_TRUE(statuses.contains("File: 2 von 3,  File bearbeitet: 50 %"));
    EXPECT_TRUE(
        statuses.back().startsWith("File: 3 von 3,  File bearbeitet: 100 % , EncryptTime: "));
    EXPECT_EQ(w.Label1.text(), statuses.back());
    EXPECT_EQ(w.cmdEnc.text(), "AES Encrypt");
    // Again: the first existing output is kept, "replace all" answers for the rest.
    test::writeText(dir.file("drei.bin.aes"), "älter");
    dialogs.replies = {jobs::ReplaceAnswer::Skip, jobs::ReplaceAnswer::ReplaceAll};
    QTest::mouseClick(&w.cmdEnc, Qt::LeftButton);
    ASSERT_EQ(dialogs.questions.size(), 2u);
    EXPECT_TRUE(dialogs.questions[0].contains(QString::fromStdString(dir.file("drei.bin.aes"))))
        << dialogs.questions[0].toStdString();
    EXPECT_EQ(test::readText(dir.file("drei.bin.aes")), "älter");
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_TRUE(dialogs.boxes[0].text.startsWith("Eine vorhandene Datei wurde nicht ersetzt:"))
        << dialogs.boxes[0].text.toStdString();
    dialogs.boxes.clear();
    // List1 is sorted: drei, eins, zwei; the decrypt list takes the outputs from the command line.
    ui::frmAES d(dialogs, {dir.file("eins.bin.aes"), dir.file("zwei.bin.aes")});
    start(d);
    QTest::mouseClick(&d.Picture2, Qt::LeftButton, {}, QPoint(5, 5));  // the icon on the button
    EXPECT_TRUE(dialogs.boxes.empty());
    EXPECT_EQ(test::readBytes(dir.file("eins-dec.bin")), test::randomBytes(99990, 'e'));
    EXPECT_EQ(test::readBytes(dir.file("zwei-dec.bin")), test::randomBytes(99990, 'z'));
    EXPECT_TRUE(d.statusText().starts_with("FileDecrypt bearbeitet: 100 % , DecryptTime: "));
}

TEST_F(WindowJobTest, NestedCancelClickAndIgnoredOtherButton) {
    int cancels = 0;
    QObject::connect(&w, &ui::frmAES::statusTextChanged, [&](const QString& text) {
        if (text.startsWith("File: 1 von 3") && w.cmdEnc.text() == "Abbrechen" && cancels == 0) {
            ++cancels;
            QTest::mouseClick(&w.cmdDec, Qt::LeftButton);  // ignored while the job runs
            QTest::mouseClick(&w.cmdEnc, Qt::LeftButton, {}, w.Picture1.geometry().center());
            QTest::mouseClick(&w.Command5, Qt::LeftButton);  // list edits too
        }
    });
    QTest::mouseClick(&w.cmdEnc, Qt::LeftButton);
    EXPECT_EQ(cancels, 1);
    EXPECT_TRUE(dialogs.boxes.empty());  // the decrypt click did not even check its inputs
    EXPECT_TRUE(io::exists(dir.file("drei.bin.aes")));
    EXPECT_FALSE(io::exists(dir.file("eins.bin.aes")));
    EXPECT_NE(w.statusText().find(" , EncryptTime: "), std::string::npos);
    EXPECT_EQ(w.cmdEnc.text(), "AES Encrypt");
    EXPECT_EQ(w.List1.count(), 3);
}

TEST_F(WindowJobTest, ClosingDuringAJobRemovesItsTemporaryOutput) {
    test::writeText(dir.file("drei.bin.aes"), "older");
    QObject::connect(&w, &ui::frmAES::statusTextChanged, [&](const QString& text) {
        if (text.startsWith("File: 1 von 3")) {
            w.close();
        }
    });
    QTest::mouseClick(&w.cmdEnc, Qt::LeftButton);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(dir.entries(),
              (std::vector<std::string>{"drei.bin", "drei.bin.aes", "eins.bin", "zwei.bin"}));
    EXPECT_EQ(test::readText(dir.file("drei.bin.aes")), "older");
}

TEST_F(WindowJobTest, MissingEntriesAreNamedAfterTheJobAndNotCountedAsDone) {
    const std::string latin1 = dir.file("M\xFCller-alt.txt");  // not UTF-8
    test::writeText(latin1, "alt");
    ui::frmAES m(dialogs, {dir.file("eins.bin"), dir.file("weg.txt"), latin1, "--help"});
    EXPECT_TRUE(m.List1.entries().contains(QString::fromStdString(dir.file("Müller-alt.txt"))));
    start(m);
    QTest::mouseClick(&m.cmdEnc, Qt::LeftButton);
    EXPECT_TRUE(io::exists(latin1 + ".aes"));
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_TRUE(dialogs.boxes[0].text.startsWith(
        "2 Einträge der Liste wurden übersprungen, weil es die Dateien nicht gibt:"));
    EXPECT_TRUE(dialogs.boxes[0].text.contains("weg.txt"));
    EXPECT_TRUE(m.Label1.text().startsWith("2 von 4 Dateien bearbeitet, 2 übersprungen , "));
}

TEST_F(WindowJobTest, InputErrorsFocusTheirBox) {
    w.activateWindow();
    w.Text3[1].clear();
    QTest::mouseClick(&w.cmdEnc, Qt::LeftButton);
    EXPECT_EQ(dialogs.boxes.size(), 1u);  // what it says is the job's concern
    EXPECT_EQ(w.focusWidget(), &w.Text3[1]);
    EXPECT_TRUE(w.Label1.isHidden());
}

}  // namespace
}  // namespace marnoq
