#include "ui/frm_info.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>

#include "ui/control_palette.h"
#include "ui/layout_placement.h"
#include "ui/status_line_accessible.h"
#include "window_model/info_text.h"
#include "window_model/window_layout.h"

namespace marnoq::ui {

frmInfo::frmInfo(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("frmInfo");
    announceAsFrame(this);
    const auto& layout = window_model::infoWindowLayout();
    setWindowTitle(qtText(layout.caption));
    twips_ = Twips::fitted(this, layout.width, layout.height);
    setFixedSize(twips_.pixels(layout.width), twips_.pixels(layout.height));
    const NamedWidget widgets[] = {
        {"Picture1", &Picture1}, {"Label3", &Label3}, {"Label4", &Label4},
        {"Label1", &Label1},     {"Label2", &Label2}, {"Text1", &Text1},
    };
    applyLayout(layout, widgets, twips_);
    Text1.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Text1.setFrameShape(QFrame::NoFrame);
    colourControl(&Picture1, std::nullopt, window_model::kInfoPanel);
    for (QLabel* label : {&Label3, &Label4, &Label1}) {
        colourControl(label, window_model::kBlack, std::nullopt);
    }
    colourControl(&Label2, std::nullopt, window_model::kInfoPaper);
    colourControl(&Text1, window_model::kInfoInk, window_model::kInfoPaper);
    Form_Load();
}

void frmInfo::paintEvent(QPaintEvent*) {
    QPainter(this).fillRect(rect(), qtColour(window_model::kInfoBackground));
}

void frmInfo::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void frmInfo::Form_Load() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
    Text1.setPlainText(QString::fromStdString(window_model::infoExplanationText()));
    const QString version = QString::fromStdString(window_model::versionText());
    Label4.setText(version);
    const auto& layout = window_model::infoWindowLayout();
    placeFitting(&Label4, layout, layout.control("Label4"), twips_, version);
}

}  // namespace marnoq::ui
