#include "ui/frm_aes.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFontInfo>
#include <QGuiApplication>
#include <QScreen>

#include "jobs/decrypt_job.h"
#include "jobs/encrypt_job.h"
#include "ui/frm_info.h"
#include "ui/icons.h"

namespace marnoq::ui {
namespace {

constexpr auto kPumpInterval = std::chrono::milliseconds(20);

const char* kStyle =
    "marnoq--ui--frmAES { background: black; }"
    "QLabel { color: rgb(128,128,0); background: transparent; }"
    "QRadioButton { color: rgb(128,128,0); background: black; }"
    "QFrame#Shape1, QFrame#Shape2 { border: 1px solid rgb(128,128,0); background: transparent; }"
    "QFrame#Line1 { background: rgb(128,128,0); border: none; }"
    "QLineEdit { lineedit-password-character: 42; }";

QFont controlFont(bool bold = false) {
    QFont font("MS Sans Serif");
    font.setPointSizeF(8.25);
    font.setBold(bold);
    // The stand-ins for the small bitmap font run wider; a smaller size keeps every caption
    // inside its control.
    if (!QFontInfo(font).exactMatch()) {
        font.setPointSizeF(7.5);
    }
    return font;
}

QFont listFont() {
    QFont font("Courier New");
    font.setPointSizeF(8.25);
    return font;
}

void pictureButton(QPushButton& button, Picture picture, const QString& tip) {
    button.setIcon(pictureIcon(picture));
    button.setIconSize(QSize(16, 16));
    button.setToolTip(tip);
    button.setAutoFillBackground(true);
}

void picture(QLabel& label, Picture picture) {
    label.setPixmap(drawPicture(picture, 32));
    label.setAlignment(Qt::AlignCenter);
}

}  // namespace

frmAES::frmAES(UserDialogs& dialogs, const std::vector<std::string>& arguments, QWidget* parent)
    : QWidget(parent), dialogs_(dialogs), twips_(Twips::forWidget(this)),
      windowFont_(controlFont(true)) {
    QFont::insertSubstitutions("MS Sans Serif",
                               {"DejaVu Sans Condensed", "Liberation Sans Narrow", "Arial"});
    QFont::insertSubstitutions("Courier New", {"DejaVu Sans Mono", "Liberation Mono"});
    setObjectName("frmAES");
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(kStyle);
    setWindowTitle("AES256-Marnoq");
    setWindowIcon(pictureIcon(Picture::Locked));
    setFont(windowFont_);
    buildControls();
    Form_Load(arguments);
}

frmAES::~frmAES() = default;

void frmAES::buildControls() {
    setFixedSize(twips_.pixels(7620), twips_.pixels(8730));
    struct Placement {
        QWidget* widget;
        const char* name;
        int left, top, width, height;
    };
    const Placement placements[] = {
        {&Shape1, "Shape1", 120, 60, 7335, 3855},
        {&Label2, "Label2", 300, 180, 5595, 195},
        {&Befehl2, "Befehl2", 6840, 120, 435, 315},
        {&List1, "List1", 240, 480, 7035, 2160},
        {&Label5, "Label5", 6420, 2700, 480, 195},
        {&Command5, "Command5", 7020, 2700, 255, 255},
        {&Label4[0], "Label4(0)", 720, 3000, 690, 195},
        {&Text3[0], "Text3(0)", 1560, 3000, 1835, 225},
        {&Label4[1], "Label4(1)", 420, 3300, 1035, 195},
        {&Text3[1], "Text3(1)", 1560, 3300, 1835, 225},
        {&Image1[0], "Image1(0)", 3540, 3000, 480, 480},
        {&cmdEnc, "cmdEnc", 4260, 3000, 2475, 675},
        {&Picture1, "Picture1", 4380 - 4260, 3075 - 3000, 480, 480},
        {&Shape2, "Shape2", 120, 4080, 7335, 3975},
        {&Label3, "Label3", 300, 4200, 5565, 195},
        {&Command3, "Command3", 6840, 4140, 435, 315},
        {&List2, "List2", 300, 4500, 6975, 2160},
        {&Label6, "Label6", 6375, 6720, 480, 195},
        {&Command6, "Command6", 6960, 6720, 255, 255},
        {&Label4[2], "Label4(2)", 660, 7080, 690, 195},
        {&Text3[2], "Text3(2)", 1500, 7080, 1835, 225},
        {&Command2, "Command2", 3000, 7380, 315, 255},
        {&Image1[1], "Image1(1)", 3540, 7020, 480, 480},
        {&cmdDec, "cmdDec", 4200, 7020, 2475, 675},
        {&Picture2, "Picture2", 4380 - 4200, 7110 - 7020, 480, 480},
        {&Option1[0], "Option1(0)", 300, 7740, 1275, 195},
        {&Option1[1], "Option1(1)", 1680, 7740, 1035, 195},
        {&txtSuffix, "txtSuffix", 2820, 7680, 495, 285},
        {&Command4, "Command4", 6360, 8100, 435, 315},
        {&Command1, "Command1", 6900, 8100, 555, 315},
        {&dummy, "dummy", 60, 8220, 915, 195},
        {&Line1, "Line1", -60, 8460, 7740, 15},
        {&Label1, "Label1", 60, 8520, 7695, 255},
    };
    for (const auto& p : placements) {
        p.widget->setObjectName(p.name);
        twips_.place(p.widget, p.left, p.top, p.width, p.height);
        p.widget->setFont(controlFont());
    }
    Line1.setFixedHeight(1);
    Shape1.lower();
    Shape2.lower();
    List1.setFont(listFont());
    List2.setFont(listFont());

    Label2.setText("Zu verschlüsselnde Dateien in die Liste ziehen oder mit dem Button auswählen:");
    Label3.setText("Zu entschlüsselnde Dateien in die Liste ziehen oder mt dem Button auswählen:");
    Label4[0].setText("Passwort:");
    Label4[1].setText("Wiederholung:");
    Label4[2].setText("Passwort:");
    Label5.setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label6.setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label1.setAlignment(Qt::AlignCenter);
    for (auto& box : Text3) {
        box.setEchoMode(QLineEdit::Password);
        box.setMaxLength(32);
    }
    const QString listTip = "Doppelclick entfernt die selektierte Datei aus der Liste";
    List1.setToolTip(listTip);
    List2.setToolTip(listTip);
    pictureButton(Befehl2, Picture::Open, "Open");
    pictureButton(Command3, Picture::Open, "Open");
    pictureButton(Command4, Picture::Info, "AES?");
    pictureButton(Command1, Picture::Exit, "Beenden");
    for (QPushButton* clear : {&Command5, &Command6}) {
        clear->setText("C");
        clear->setToolTip("Entfernt alle Dateien aus der Liste");
    }
    Command2.setText("N");
    Command2.setToolTip("Passwortdarstellung verdeckt/klar");
    cmdEnc.setText("AES Encrypt");
    cmdEnc.setToolTip("Datei AES verschlüsseln");
    cmdDec.setText("AES Decrypt");
    cmdDec.setToolTip("Datei entschlüsseln");
    picture(Picture1, Picture::Locked);
    picture(Picture2, Picture::Unlocked);
    picture(Image1[0], Picture::Key);
    picture(Image1[1], Picture::Key);
    // The pictures lie on the start buttons; a click on them is a click on the button.
    Picture1.setAttribute(Qt::WA_TransparentForMouseEvents);
    Picture2.setAttribute(Qt::WA_TransparentForMouseEvents);
    Option1[0].setText("Originalname");
    Option1[0].setToolTip(
        "Die entschlüsselte Datei erhält den Originalnamen (wie vor der Verschlüsselung).");
    Option1[1].setText("Suffix ->");
    Option1[1].setToolTip("Der Dateiname der entschlüsselten Datei erhält einen Suffix.");
    Option1[1].setChecked(true);
    txtSuffix.setText("-dec");
    txtSuffix.setToolTip("Diesen Suffix erhält der Dateiname der entschlüsselten Datei.");
    dummy.setText("dummy");
    Label1.hide();

    connect(&cmdEnc, &QPushButton::clicked, this, &frmAES::cmdEnc_Click);
    connect(&cmdDec, &QPushButton::clicked, this, &frmAES::cmdDec_Click);
    connect(&Command1, &QPushButton::clicked, this, &frmAES::Command1_Click);
    connect(&Command2, &QPushButton::clicked, this, &frmAES::Command2_Click);
    connect(&Command4, &QPushButton::clicked, this, &frmAES::Command4_Click);
    connect(&Command5, &QPushButton::clicked, this, &frmAES::Command5_Click);
    connect(&Command6, &QPushButton::clicked, this, &frmAES::Command6_Click);
    connect(&Befehl2, &QPushButton::clicked, this, &frmAES::Befehl2_Click);
    connect(&Command3, &QPushButton::clicked, this, &frmAES::Command3_Click);
    connect(&List1, &QListWidget::itemDoubleClicked, this, &frmAES::List1_DblClick);
    connect(&List2, &QListWidget::itemDoubleClicked, this, &frmAES::List2_DblClick);
    connect(&List1, &FileListWidget::filesDropped, this, &frmAES::List1_OLEDragDrop);
    connect(&List2, &FileListWidget::filesDropped, this, &frmAES::List2_OLEDragDrop);

    for (QWidget* guarded : std::initializer_list<QWidget*>{
             &List1, List1.viewport(), &List2, List2.viewport(), &Option1[0], &Option1[1],
             &txtSuffix, &Command5, &Command6, &Befehl2, &Command3}) {
        guarded->installEventFilter(&busyFilter_);
    }
}

void frmAES::Form_Load(const std::vector<std::string>& arguments) {
    Label1.setText("0 %");
    status_ = "0 %";
    Label5.setText("");
    Label6.setText("");
    dummy.move(twips_.pixels(-3000), dummy.y());
    state_.CancelEncrypt = false;
    state_.CancelDecrypt = false;
    takeCommandLine(arguments);
    refreshCount(&List1);
    refreshCount(&List2);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
}

void frmAES::closeEvent(QCloseEvent* event) {
    if (state_.busy) {
        // The job stops at its next chance and removes what it was writing; then we close.
        state_.abortRequested = true;
        closeAfterJob_ = true;
        event->ignore();
        return;
    }
    if (info_) {
        info_->close();
    }
    event->accept();
}

void frmAES::afterJob() {
    Label1.setText(QString::fromStdString(status_));
    if (closeAfterJob_ && !state_.busy) {
        closeAfterJob_ = false;
        close();
    }
}

void frmAES::cmdEnc_Click() {
    jobs::cmdEnc_Click(*this);
    afterJob();
}

void frmAES::cmdDec_Click() {
    jobs::cmdDec_Click(*this);
    afterJob();
}

void frmAES::Command1_Click() { close(); }

void frmAES::Command2_Click() {
    const bool masked = Text3[0].echoMode() == QLineEdit::Password;
    for (auto& box : Text3) {
        box.setEchoMode(masked ? QLineEdit::Normal : QLineEdit::Password);
    }
    Command2.setText(masked ? "P" : "N");
    dummy.setFocus();
}

void frmAES::Command4_Click() {
    if (info_ && info_->isVisible()) {
        info_->raise();
        info_->activateWindow();
        return;
    }
    info_ = std::make_unique<frmInfo>();
    info_->show();
}

FileListWidget* frmAES::listOf(jobs::FileList list) const {
    return const_cast<FileListWidget*>(list == jobs::FileList::Encrypt ? &List1 : &List2);
}

QPushButton* frmAES::buttonOf(jobs::StartButton button) const {
    return const_cast<QPushButton*>(button == jobs::StartButton::Encrypt ? &cmdEnc : &cmdDec);
}

int frmAES::entryCount(jobs::FileList list) const { return listOf(list)->count(); }

std::string frmAES::entry(jobs::FileList list, int index) const {
    return listOf(list)->item(index)->text().toStdString();
}

int frmAES::selectedIndex(jobs::FileList list) const { return listOf(list)->currentRow(); }

void frmAES::selectEntry(jobs::FileList list, int index) { listOf(list)->setCurrentRow(index); }

std::string frmAES::passwordText(int box) const { return Text3[box].text().toStdString(); }

std::string frmAES::suffixText() const { return txtSuffix.text().toStdString(); }

bool frmAES::suffixOptionSelected() const { return Option1[1].isChecked(); }

std::string frmAES::caption(jobs::StartButton button) const {
    return buttonOf(button)->text().toStdString();
}

void frmAES::setCaption(jobs::StartButton button, const std::string& text) {
    buttonOf(button)->setText(QString::fromStdString(text));
}

void frmAES::setPointer(jobs::MousePointer pointer) {
    switch (pointer) {
        case jobs::MousePointer::Hourglass: setCursor(Qt::WaitCursor); break;
        case jobs::MousePointer::Arrow: setCursor(Qt::ArrowCursor); break;
        case jobs::MousePointer::Default: unsetCursor(); break;
    }
}

void frmAES::setFocus(jobs::Control control) {
    switch (control) {
        case jobs::Control::Password0: Text3[0].setFocus(); break;
        case jobs::Control::Password1: Text3[1].setFocus(); break;
        case jobs::Control::Password2: Text3[2].setFocus(); break;
        case jobs::Control::Suffix: txtSuffix.setFocus(); break;
    }
}

void frmAES::setStatusText(const std::string& text) {
    status_ = text;
    emit statusTextChanged(QString::fromStdString(text));
    if (!state_.busy) {
        Label1.setText(QString::fromStdString(text));
    }
}

void frmAES::showStatus() { Label1.show(); }

void frmAES::messageBox(const std::string& text, jobs::MessageIcon icon, const std::string& title) {
    Label1.setText(QString::fromStdString(status_));
    dialogs_.message(this, QString::fromStdString(text), icon, QString::fromStdString(title));
}

void frmAES::letEventsRun() {
    // Repaints and clicks a few dozen times a second keep the window alive without slowing
    // the job; the status texts themselves are all still set, in order.
    const auto now = std::chrono::steady_clock::now();
    if (now - lastPump_ < kPumpInterval) {
        return;
    }
    lastPump_ = now;
    Label1.setText(QString::fromStdString(status_));
    QCoreApplication::processEvents();
}

}  // namespace marnoq::ui
