#pragma once

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>
#include <chrono>
#include <memory>
#include <vector>

#include "jobs/job_report.h"
#include "jobs/job_view.h"
#include "ui/busy_input_filter.h"
#include "ui/file_list_widget.h"
#include "ui/focus_ring.h"
#include "ui/twips.h"
#include "ui/user_dialogs.h"
#include "window_model/dialog_selection.h"
#include "window_model/message_text.h"

namespace marnoq::ui {

class frmInfo;

// The main window: the encrypt half above, the decrypt half below, the status line at the
// bottom. It is the jobs' view, so the window runs the same job code as the command line.
class frmAES : public QWidget, public jobs::JobView {
    Q_OBJECT
  public:
    frmAES(UserDialogs& dialogs, const std::vector<std::string>& arguments,
           QWidget* parent = nullptr);
    ~frmAES() override;

    // The controls, under the names the program has always used for them. Members owned by
    // the window itself, in the order the keyboard focus visits them.
    QFrame Shape1{this};
    QFrame Shape2{this};
    QFrame Line1{this};
    QLabel Label2{this};
    QPushButton Befehl2{this};
    FileListWidget List1{false, this};
    QLabel Label5{this};
    QPushButton Command5{this};
    QLabel Label4[3]{QLabel{this}, QLabel{this}, QLabel{this}};
    QLineEdit Text3[3]{QLineEdit{this}, QLineEdit{this}, QLineEdit{this}};
    QLabel Image1[2]{QLabel{this}, QLabel{this}};
    QPushButton cmdEnc{this};
    QLabel Picture1{&cmdEnc};
    QLabel Label3{this};
    QPushButton Command3{this};
    FileListWidget List2{true, this};
    QLabel Label6{this};
    QPushButton Command6{this};
    QPushButton Command2{this};
    QPushButton cmdDec{this};
    QLabel Picture2{&cmdDec};
    QRadioButton Option1[2]{QRadioButton{this}, QRadioButton{this}};
    QLineEdit txtSuffix{this};
    QPushButton Command4{this};
    QPushButton Command1{this};
    QPushButton dummy{this};
    QLabel Label1{this};

    frmInfo* infoWindow() const { return info_.get(); }

    // JobView
    int entryCount(jobs::FileList list) const override;
    std::string entry(jobs::FileList list, int index) const override;
    int selectedIndex(jobs::FileList list) const override;
    void selectEntry(jobs::FileList list, int index) override;
    std::string passwordText(int box) const override;
    std::string suffixText() const override;
    bool suffixOptionSelected() const override;
    std::string caption(jobs::StartButton button) const override;
    void setCaption(jobs::StartButton button, const std::string& text) override;
    void setPointer(jobs::MousePointer pointer) override;
    void setFocus(jobs::Control control) override;
    std::string statusText() const override { return status_; }
    void setStatusText(const std::string& text) override;
    void showStatus() override;
    jobs::ReplaceAnswer askReplace(const std::string& path) override;
    void messageBox(const std::string& text, jobs::MessageIcon icon,
                    const std::string& title) override;
    void letEventsRun() override;
    jobs::JobState& state() override { return state_; }

  signals:
    // Every status text a job sets, in order, however seldom the label itself is repainted.
    void statusTextChanged(const QString& text);

  public slots:
    void cmdEnc_Click();
    void cmdDec_Click();
    void Command1_Click();
    void Command2_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Befehl2_Click();
    void Command3_Click();
    void List1_DblClick();
    void List2_DblClick();
    // List1_OLEDragDrop and List2_OLEDragDrop: the decrypt list takes only ".aes" files.
    void OLEDragDrop(FileListWidget* list, const QList<QUrl>& urls);

  protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void buildControls();
    void colourControls();
    void connectKeys();
    void reportListFull();
    // final: the job is over, so the text is announced even right after the previous one.
    void showStatusLine(bool final = true);
    void Form_Load(const std::vector<std::string>& arguments);
    void takeCommandLine(const std::vector<std::string>& arguments);
    void afterJob(const jobs::JobReport& report, jobs::FileList list);
    FileListWidget* listOf(jobs::FileList list) const;
    QPushButton* buttonOf(jobs::StartButton button) const;
    void refreshCount(FileListWidget* list);
    void refreshList(FileListWidget* list);
    // Adds paths and reports once when the list could take no more.
    bool addToList(FileListWidget* list, const std::string& path);
    void addToList(FileListWidget* list, const std::vector<std::string>& paths);
    void addFromDialog(FileListWidget* list, const window_model::OpenDialogText& text);

    UserDialogs& dialogs_;
    Twips twips_;
    jobs::JobState state_;
    std::string status_;
    std::chrono::steady_clock::time_point lastPump_{};
    window_model::AnnouncementPace announcements_;
    FocusRing focusRing_{this};
    bool closeAfterJob_ = false;
    bool listFullPending_ = false;
    std::unique_ptr<frmInfo> info_;
    BusyInputFilter busyFilter_{[this] { return state_.busy; }, this};
};

}  // namespace marnoq::ui
