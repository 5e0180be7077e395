#include "ui/frm_aes.h"

#include <QAccessible>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTimer>

#include "jobs/decrypt_job.h"
#include "jobs/encrypt_job.h"
#include "jobs/messages.h"
#include "secure/wipe.h"
#include "ui/control_palette.h"
#include "ui/frm_info.h"
#include "ui/icons.h"
#include "ui/layout_placement.h"
#include "ui/status_line_accessible.h"
#include "window_model/file_list_rules.h"
#include "window_model/message_text.h"

namespace marnoq::ui {
namespace {

constexpr auto kPumpInterval = std::chrono::milliseconds(20);

using window_model::kBlack;
using window_model::kOlive;

// Sizes in twips: 240 make the 16-pixel icon of a button at 96 dots per inch.
void pictureButton(QPushButton& button, Picture picture, const Twips& twips) {
    button.setIcon(pictureIcon(picture));
    button.setIconSize(QSize(twips.pixels(240), twips.pixels(240)));
    button.setAutoFillBackground(true);
}

void picture(QLabel& label, Picture picture, const Twips& twips) {
    // Drawn for the screen's pixel density, so the pictures stay sharp at any scale.
    const qreal density = label.devicePixelRatioF();
    QPixmap pixmap = drawPicture(picture, qRound(twips.pixels(480) * density));
    pixmap.setDevicePixelRatio(density);
    label.setPixmap(pixmap);
    label.setAlignment(Qt::AlignCenter);
}

}  // namespace

frmAES::frmAES(UserDialogs& dialogs, const std::vector<std::string>& arguments, QWidget* parent)
    : QWidget(parent),
      dialogs_(dialogs),
      twips_(Twips::fitted(this, window_model::mainWindowLayout().width,
                           window_model::mainWindowLayout().height)) {
    setObjectName("frmAES");
    setWindowTitle(qtText(window_model::mainWindowLayout().caption));
    setWindowIcon(pictureIcon(Picture::Locked));
    setFont(qtFont(window_model::windowFont(), twips_.scale()));
    buildControls();
    Form_Load(arguments);
}

frmAES::~frmAES() = default;

void frmAES::buildControls() {
    // Before the first text reaches the accessibility layer, which keeps what it saw first.
    announceAsStatusLine(&Label1);
    announceAsFrame(this);
    announceWithoutDecoration(&cmdEnc);
    announceWithoutDecoration(&cmdDec);
    const auto& layout = window_model::mainWindowLayout();
    setFixedSize(twips_.pixels(layout.width), twips_.pixels(layout.height));
    const NamedWidget widgets[] = {
        {"Shape1", &Shape1},       {"Label2", &Label2},         {"Befehl2", &Befehl2},
        {"List1", &List1},         {"Label5", &Label5},         {"Command5", &Command5},
        {"Label4(0)", &Label4[0]}, {"Text3(0)", &Text3[0]},     {"Label4(1)", &Label4[1]},
        {"Text3(1)", &Text3[1]},   {"Image1(0)", &Image1[0]},   {"cmdEnc", &cmdEnc},
        {"Picture1", &Picture1},   {"Shape2", &Shape2},         {"Label3", &Label3},
        {"Command3", &Command3},   {"List2", &List2},           {"Label6", &Label6},
        {"Command6", &Command6},   {"Label4(2)", &Label4[2]},   {"Text3(2)", &Text3[2]},
        {"Command2", &Command2},   {"Image1(1)", &Image1[1]},   {"cmdDec", &cmdDec},
        {"Picture2", &Picture2},   {"Option1(0)", &Option1[0]}, {"Option1(1)", &Option1[1]},
        {"txtSuffix", &txtSuffix}, {"Command4", &Command4},     {"Command1", &Command1},
        {"dummy", &dummy},         {"Line1", &Line1},           {"Label1", &Label1},
    };
    applyLayout(layout, widgets, twips_);
    // The count labels are sized for the fullest list at once, so no count is ever cut.
    const QString widestCount = qtText(window_model::countText(window_model::kMaxListEntries));
    placeFitting(&Label5, layout, layout.control("Label5"), twips_, widestCount);
    placeFitting(&Label6, layout, layout.control("Label6"), twips_, widestCount);
    colourControls();
    Shape1.lower();
    Shape2.lower();
    for (int i = 0; i < 3; ++i) {
        Label4[i].setBuddy(&Text3[i]);  // screen readers tie each box to its label
    }
    Label5.setBuddy(&List1);
    Label6.setBuddy(&List2);
    for (QWidget* decoration :
         std::initializer_list<QWidget*>{&Picture1, &Picture2, &Image1[0], &Image1[1], &dummy,
                                         &focusRing_, &Shape1, &Shape2, &Line1}) {
        markDecorative(decoration);
    }
    // Shown or not, the N/P button says which, and keeps the focus where the user pressed it.
    Command2.setCheckable(true);
    for (auto& box : Text3) {
        announceMasked(&box);
        box.setEchoMode(QLineEdit::Password);
        box.setMaxLength(32);
        box.setStyleSheet("lineedit-password-character: 42");
    }
    pictureButton(Befehl2, Picture::Open, twips_);
    pictureButton(Command3, Picture::Open, twips_);
    pictureButton(Command4, Picture::Info, twips_);
    pictureButton(Command1, Picture::Exit, twips_);
    picture(Picture1, Picture::Locked, twips_);
    picture(Picture2, Picture::Unlocked, twips_);
    picture(Image1[0], Picture::Key, twips_);
    picture(Image1[1], Picture::Key, twips_);
    // The pictures lie on the start buttons; a click on them is a click on the button.
    Picture1.setAttribute(Qt::WA_TransparentForMouseEvents);
    Picture2.setAttribute(Qt::WA_TransparentForMouseEvents);
    Option1[1].setChecked(true);
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
    connectKeys();
    for (FileListWidget* list : {&List1, &List2}) {
        connect(list, &FileListWidget::filesDropped, this,
                [this, list](const QList<QUrl>& urls) { OLEDragDrop(list, urls); });
    }

    for (QWidget* guarded : std::initializer_list<QWidget*>{
             &List1, List1.viewport(), &List2, List2.viewport(), &Option1[0], &Option1[1],
             &txtSuffix, &Command5, &Command6, &Befehl2, &Command3}) {
        guarded->installEventFilter(&busyFilter_);
    }
}

void frmAES::colourControls() {
    for (QLabel* label :
         {&Label2, &Label3, &Label4[0], &Label4[1], &Label4[2], &Label5, &Label6, &Label1}) {
        colourControl(label, kOlive, std::nullopt);
    }
    // The circles of the option buttons stay light, so an unchecked option still looks
    // selectable on the black window.
    for (QRadioButton& option : Option1) {
        colourControl(&option, kOlive, kBlack);
        QPalette palette = option.palette();
        palette.setColor(QPalette::Base, Qt::white);
        palette.setColor(QPalette::Highlight, QColor(230, 230, 60));  // the focus frame
        palette.setColor(QPalette::Text, Qt::black);
        option.setPalette(palette);
    }
    for (QFrame* shape : {&Shape1, &Shape2}) {
        shape->setFrameStyle(QFrame::Box | QFrame::Plain);
        colourControl(shape, kOlive, std::nullopt);
    }
    colourControl(&Line1, std::nullopt, kOlive);
}

void frmAES::connectKeys() {
    const auto& order = window_model::mainTabOrder();
    for (std::size_t i = 0; i + 1 < order.size(); ++i) {
        setTabOrder(findChild<QWidget*>(qtText(order[i])),
                    findChild<QWidget*>(qtText(order[i + 1])));
    }
    // The old focus sink: the toggle keeps its focus now, so nothing may reach the dummy.
    dummy.setFocusPolicy(Qt::NoFocus);
    dummy.hide();
    // The option group is one tab stop; it starts at the checked option, later it is the one
    // last focused.
    Option1[0].setFocusPolicy(Qt::ClickFocus);
    for (QPushButton* button : findChildren<QPushButton*>()) {
        button->setAutoDefault(true);  // Return on a focused button presses it
    }
    connect(&Text3[1], &QLineEdit::returnPressed, &cmdEnc, &QPushButton::click);
    connect(&Text3[2], &QLineEdit::returnPressed, &cmdDec, &QPushButton::click);
    connect(&List1, &FileListWidget::removeRequested, this, &frmAES::List1_DblClick);
    connect(&List2, &FileListWidget::removeRequested, this, &frmAES::List2_DblClick);
}

void frmAES::paintEvent(QPaintEvent*) {
    QPainter(this).fillRect(rect(), qtColour(kBlack));
}

void frmAES::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (listFullPending_) {
        listFullPending_ = false;
        // After the window is on the screen, so the message is centred over it.
        QTimer::singleShot(0, this, [this] { reportListFull(); });
    }
}

void frmAES::Form_Load(const std::vector<std::string>& arguments) {
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

void frmAES::afterJob(const jobs::JobReport& report, jobs::FileList list) {
    status_ =
        window_model::statusAfterJob(report, status_, static_cast<std::size_t>(entryCount(list)));
    showStatusLine();
    if (const auto skipped = window_model::skippedMessage(report)) {
        messageBox(*skipped, jobs::MessageIcon::Exclamation, jobs::kJobTitle);
    }
    if (closeAfterJob_ && !state_.busy) {
        closeAfterJob_ = false;
        close();
    }
}

void frmAES::cmdEnc_Click() {
    afterJob(jobs::cmdEnc_Click(*this), jobs::FileList::Encrypt);
}

void frmAES::cmdDec_Click() {
    afterJob(jobs::cmdDec_Click(*this), jobs::FileList::Decrypt);
}

void frmAES::Command1_Click() {
    close();
}

void frmAES::Command2_Click() {
    const bool masked = Text3[0].echoMode() == QLineEdit::Password;
    for (auto& box : Text3) {
        box.setEchoMode(masked ? QLineEdit::Normal : QLineEdit::Password);
    }
    Command2.setText(masked ? "P" : "N");
    Command2.setChecked(masked);
}

void frmAES::Command4_Click() {
    if (info_ && info_->isVisible()) {
        info_->setWindowState((info_->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
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

int frmAES::entryCount(jobs::FileList list) const {
    return listOf(list)->count();
}

std::string frmAES::entry(jobs::FileList list, int index) const {
    return listOf(list)->path(index);
}

int frmAES::selectedIndex(jobs::FileList list) const {
    return listOf(list)->currentRow();
}

void frmAES::selectEntry(jobs::FileList list, int index) {
    listOf(list)->setCurrentRow(index);
}

std::string frmAES::passwordText(int box) const {
    // text() shares the box's own buffer; the UTF-8 copy is ours to wipe.
    QByteArray utf8 = Text3[box].text().toUtf8();
    std::string text(utf8.constData(), static_cast<std::size_t>(utf8.size()));
    secureWipe(utf8.data(), static_cast<std::size_t>(utf8.size()));
    return text;
}

std::string frmAES::suffixText() const {
    return txtSuffix.text().toStdString();
}

bool frmAES::suffixOptionSelected() const {
    return Option1[1].isChecked();
}

std::string frmAES::caption(jobs::StartButton button) const {
    return buttonOf(button)->text().toStdString();
}

void frmAES::setCaption(jobs::StartButton button, const std::string& text) {
    buttonOf(button)->setText(QString::fromStdString(text));
}

void frmAES::setPointer(jobs::MousePointer pointer) {
    switch (pointer) {
        case jobs::MousePointer::Hourglass:
            setCursor(Qt::WaitCursor);
            break;
        case jobs::MousePointer::Arrow:
            setCursor(Qt::ArrowCursor);
            break;
        case jobs::MousePointer::Default:
            unsetCursor();
            break;
    }
}

void frmAES::setFocus(jobs::Control control) {
    switch (control) {
        case jobs::Control::Password0:
            Text3[0].setFocus();
            break;
        case jobs::Control::Password1:
            Text3[1].setFocus();
            break;
        case jobs::Control::Password2:
            Text3[2].setFocus();
            break;
        case jobs::Control::Suffix:
            txtSuffix.setFocus();
            break;
    }
}

void frmAES::setStatusText(const std::string& text) {
    status_ = text;
    emit statusTextChanged(QString::fromStdString(text));
    if (!state_.busy) {
        showStatusLine();
    }
}

void frmAES::showStatusLine(bool final) {
    const QString text = QString::fromStdString(status_);
    Label1.setText(text);
    // The name is what screen readers hear, without the focus having to move there; with a
    // name of its own the label no longer announces each new text itself.
    if (announcements_.due(status_, std::chrono::steady_clock::now(), final)) {
        Label1.setAccessibleName(text);
    }
}

void frmAES::showStatus() {
    Label1.show();
}

jobs::ReplaceAnswer frmAES::askReplace(const std::string& path) {
    return dialogs_.askReplace(this, QString::fromStdString(window_model::replaceQuestion(path)));
}

void frmAES::messageBox(const std::string& text, jobs::MessageIcon icon, const std::string& title) {
    showStatusLine();
    dialogs_.message(this,
                     QString::fromStdString(
                         window_model::fittedMessage(text, window_model::messageNames(*this))),
                     icon, QString::fromStdString(title));
}

void frmAES::letEventsRun() {
    // Repaints and clicks a few dozen times a second keep the window alive without slowing
    // the job; the status texts themselves are all still set, in order.
    const auto now = std::chrono::steady_clock::now();
    if (now - lastPump_ < kPumpInterval) {
        return;
    }
    lastPump_ = now;
    showStatusLine(false);
    QCoreApplication::processEvents();
}

}  // namespace marnoq::ui
