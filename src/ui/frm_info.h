#pragma once

#include <QLabel>
#include <QPlainTextEdit>
#include <QWidget>

#include "ui/twips.h"

namespace marnoq::ui {

// Explains the naming, the header and the cipher, and shows the version.
class frmInfo : public QWidget {
    Q_OBJECT
  public:
    explicit frmInfo(QWidget* parent = nullptr);

    QLabel Picture1{this};
    QLabel Label3{&Picture1};
    QLabel Label4{&Picture1};
    QLabel Label1{&Picture1};
    QLabel Label2{this};
    QPlainTextEdit Text1{this};

  protected:
    void paintEvent(QPaintEvent* event) override;
    // Escape closes the window where no window manager gives it a close button.
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void Form_Load();

    Twips twips_;
};

}  // namespace marnoq::ui
