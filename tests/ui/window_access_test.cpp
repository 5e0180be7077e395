#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <map>
#include <sstream>

#include "ui/fake_dialogs.h"
#include "ui/frm_aes.h"
#include "ui/frm_info.h"
#include "ui/german_qt.h"
#include "ui/layout_placement.h"
#include "window_model/file_list_rules.h"
#include "window_model/window_layout.h"

namespace marnoq {
namespace {

using ui::frmAES;
using window_model::ControlKind;

TEST(GermanQt, ToolkitTextsAreGermanAndAMissingTranslationIsSaid) {
    // ui_test_main loads the translation the way the program does.
    QFileDialog dialog(nullptr);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    EXPECT_EQ(dialog.findChild<QLabel*>("lookInLabel")->text(), "Suchen in:");
    QMessageBox box(QMessageBox::Warning, "t", "x", QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text().remove('&'), "Abbrechen");
    std::ostringstream warnings;
    EXPECT_FALSE(ui::loadGermanQtTexts(*qApp, "/nicht/vorhanden", warnings));
    EXPECT_NE(warnings.str().find("qt6-translations-l10n"), std::string::npos);
    const char* none = nullptr;
    const std::tuple<const char*, const char*, const char*, bool> displays[] = {
        {none, none, none, true},         {"", "", "", true},
        {":0", none, none, false},        {none, "wayland-0", none, false},
        {none, none, "offscreen", false},
    };
    for (const auto& [x11, wayland, platform, refused] : displays) {
        const auto message = ui::missingDisplayMessage(x11, wayland, platform);
        EXPECT_EQ(message.has_value(), refused);
        EXPECT_TRUE(!message || message->find("aes-marnoq-cli") != std::string::npos);
    }
}

class ShownWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        w.show();
        QApplication::setActiveWindow(&w);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    }
    test::FakeDialogs dialogs;
    frmAES w{dialogs, {"/a/eins.txt", "/a/zwei.txt", "/a/drei.aes"}};
};

TEST_F(ShownWindow, TabGoesHalfByHalfAndReturnSpaceDeleteAct) {
    w.List1.setFocus();
    QStringList visited{QApplication::focusWidget()->objectName()};
    for (int i = 0; i < 20; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    // The option group is one stop, at the checked option; the arrow keys move within it.
    EXPECT_EQ(visited.mid(0, 17).join(' ').toStdString(),
              "List1 Text3(0) Text3(1) cmdEnc List2 Text3(2) Command2 Option1(1) txtSuffix "
              "cmdDec Befehl2 Command5 Command3 Command6 Command4 Command1 List1");
    QSignalSpy encrypt(&w.cmdEnc, &QPushButton::clicked);
    QSignalSpy decrypt(&w.cmdDec, &QPushButton::clicked);
    QTest::keyClick(&w.Text3[1], Qt::Key_Return);
    QTest::keyClick(&w.Text3[2], Qt::Key_Return);
    QTest::keyClick(&w.Text3[0], Qt::Key_Return);  // only the repetition starts the job
    w.cmdDec.setFocus();
    QTest::keyClick(&w.cmdDec, Qt::Key_Return);
    QTest::keyClick(&w.cmdDec, Qt::Key_Space);
    EXPECT_EQ(encrypt.count(), 1);
    EXPECT_EQ(decrypt.count(), 3);
    w.List1.setCurrentRow(0);
    QTest::keyClick(&w.List1, Qt::Key_Delete);
    EXPECT_EQ(w.List1.entries(), (QStringList{"/a/zwei.txt"}));
    EXPECT_EQ(w.Label5.text(), "Files: 1");
}

TEST_F(ShownWindow, ScreenReadersHearGermanNamesOfAFrameWithoutDecoration) {
    const std::map<std::string_view, QString> names = {
        {"cmdEnc", "Verschlüsseln"},
        {"cmdDec", "Entschlüsseln"},
        {"Befehl2", "Dateien auswählen"},
        {"Command3", "Dateien auswählen"},
        {"Command4", "Info"},
        {"Command1", "Beenden"},
    };
    QStringList tree;
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&w);
    EXPECT_EQ(window->role(), QAccessible::Window);
    for (int i = 0; i < window->childCount(); ++i) {
        tree << window->child(i)->object()->objectName();
    }
    for (const auto& control : window_model::mainWindowLayout().controls) {
        const QString name = ui::qtText(control.name);
        const bool decorative = control.kind == ControlKind::Picture ||
                                control.kind == ControlKind::Frame ||
                                control.kind == ControlKind::Line || control.name == "dummy";
        EXPECT_EQ(tree.contains(name), decorative ? false : control.parent.empty())
            << name.toStdString();
        if (decorative || control.kind == ControlKind::Label) {
            continue;
        }
        QAccessibleInterface* access =
            QAccessible::queryAccessibleInterface(w.findChild<QWidget*>(name));
        const QString spoken = access->text(QAccessible::Name);
        EXPECT_FALSE(spoken.contains(QRegularExpression("^(Open|AES\\?|C|N|AES .*)$")))
            << name.toStdString();
        EXPECT_FALSE(spoken.isEmpty()) << name.toStdString();
        if (names.contains(control.name)) {
            EXPECT_EQ(spoken, names.at(control.name));
        }
        EXPECT_EQ(access->text(QAccessible::Description),
                  ui::qtText(window_model::descriptionOf(control)));
    }
    // The lock on the start button is no child of it; the button is still pressed by name.
    QAccessibleInterface* start = QAccessible::queryAccessibleInterface(&w.cmdDec);
    EXPECT_EQ(start->childCount(), 0);
    QSignalSpy pressed(&w.cmdDec, &QPushButton::clicked);
    start->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(pressed.count(), 1);
    // Each count label names its list.
    const auto labelled =
        QAccessible::queryAccessibleInterface(&w.Label6)->relations(QAccessible::Labelled);
    ASSERT_EQ(labelled.size(), 1);
    EXPECT_EQ(labelled[0].first->object(), &w.List2);
    // The show/hide toggle keeps the focus and says whether the passwords are shown; a ring
    // in the window's colours shows where the focus is.
    w.Command2.setFocus();
    const auto* ring = w.findChild<QWidget*>("focusRing");
    EXPECT_TRUE(ring->isVisible() && ring->geometry().contains(w.Command2.geometry()));
    QTest::keyClick(&w.Command2, Qt::Key_Space);
    EXPECT_EQ(QApplication::focusWidget(), &w.Command2);
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(&w.Command2)->state().checked);
    w.setStatusText("File: 1 von 1,  File bearbeitet: 100 %");
    QAccessibleInterface* status = QAccessible::queryAccessibleInterface(&w.Label1);
    EXPECT_EQ(status->role(), QAccessible::StatusBar);
    EXPECT_EQ(status->text(QAccessible::Name), "File: 1 von 1,  File bearbeitet: 100 %");
}

TEST_F(ShownWindow, InfoWindowOpensOnceComesBackFromMinimisedAndClosesWithEscapeAndTheWindow) {
    QTest::mouseClick(&w.Command4, Qt::LeftButton);
    ui::frmInfo* info = w.infoWindow();
    ASSERT_TRUE(info != nullptr && info->isVisible());
    EXPECT_EQ(info->Label4.text(), "Version: 1.1");
    EXPECT_TRUE(info->Text1.toPlainText().startsWith("Die verschlüsselten Dateien erhalten"));
    info->showMinimized();
    QTest::mouseClick(&w.Command4, Qt::LeftButton);
    EXPECT_EQ(w.infoWindow(), info);
    EXPECT_FALSE(info->isMinimized());
    QTest::keyClick(&info->Text1, Qt::Key_Escape);
    EXPECT_FALSE(info->isVisible());
    QTest::mouseClick(&w.Command4, Qt::LeftButton);
    info = w.infoWindow();
    w.close();
    EXPECT_FALSE(info->isVisible());
}

TEST(ListCap, TheWindowSaysItIsFullOnceShown) {
    std::vector<std::string> many;
    for (std::size_t i = 0; i < window_model::kMaxListEntries; ++i) {
        many.push_back(QString("/f/%1").arg(i, 5, 10, QChar('0')).toStdString());  // in order
    }
    many.push_back("/f/over");
    test::FakeDialogs dialogs;
    frmAES w(dialogs, many);
    EXPECT_TRUE(dialogs.boxes.empty());
    w.show();
    QTest::qWait(1);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_TRUE(dialogs.boxes[0].overVisibleParent);
    QPoint centre;
    QTimer::singleShot(0, [&centre] {
        QWidget* box = QApplication::activeModalWidget();
        centre = box->geometry().center();
        box->close();
    });
    ui::QtDialogs().message(&w, "x", jobs::MessageIcon::Exclamation, "AES-Marnoq");
    EXPECT_LE((centre - w.geometry().center()).manhattanLength(), 40);
}

}  // namespace
}  // namespace marnoq
