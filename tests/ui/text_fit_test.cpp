#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QTest>

#include "ui/fake_dialogs.h"
#include "ui/frm_aes.h"
#include "ui/frm_info.h"

namespace marnoq {
namespace {

// The room a text-bearing widget gives its text, as its style lays it out; 0 for others.
int textRoom(const QWidget* widget, QString& text) {
    if (const auto* label = qobject_cast<const QLabel*>(widget)) {
        text = label->text();
        return label->contentsRect().width() - 2 * label->margin();
    }
    const auto* button = qobject_cast<const QAbstractButton*>(widget);
    if (button == nullptr) {
        return 0;
    }
    text = button->text();
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = text;
    const bool radio = qobject_cast<const QRadioButton*>(button) != nullptr;
    return button->style()
        ->subElementRect(radio ? QStyle::SE_RadioButtonContents : QStyle::SE_PushButtonContents,
                         &option, button)
        .width();
}

// "name: text" of every widget whose text is wider or taller than the room it has.
QStringList cutTexts(const QWidget* window) {
    QStringList cut;
    for (const QWidget* widget : window->findChildren<QWidget*>()) {
        QString text;
        const int room = textRoom(widget, text);
        const QFontMetrics metrics(widget->font());
        if (!text.isEmpty() && (metrics.horizontalAdvance(text) > room ||
                                metrics.height() > widget->contentsRect().height())) {
            cut << widget->objectName() + ": " + text;
        }
    }
    return cut;
}

// Run once per scale (QT_SCALE_FACTOR, QT_FONT_DPI), see tests/CMakeLists.txt. The count labels
// and the status line show the widest texts they get: a full list and a long status.
TEST(TextFit, EveryTextOfBothWindowsFitsItsWidestContents) {
    test::FakeDialogs dialogs;
    ui::frmAES w(dialogs, {});
    w.Label5.setText("Files: 32767");
    w.Label6.setText("Files: 32767");
    w.Label1.setText("File: 12 von 32767,  File bearbeitet: 100 % , EncryptTime: 12,34 s");
    w.show();
    QTest::mouseClick(&w.Command4, Qt::LeftButton);
    EXPECT_EQ((cutTexts(&w) + cutTexts(w.infoWindow())).join(", ").toStdString(), "");
}

}  // namespace
}  // namespace marnoq
