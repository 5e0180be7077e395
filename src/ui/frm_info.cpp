#include "ui/frm_info.h"

#include <QGuiApplication>
#include <QScreen>

#include "ui/layout_placement.h"
#include "window_model/info_text.h"
#include "window_model/window_layout.h"

namespace marnoq::ui {

frmInfo::frmInfo(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("frmInfo");
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(
        "marnoq--ui--frmInfo { background: rgb(64,64,64); }"
        "QLabel#Picture1 { background: rgb(128,128,128); }"
        "QLabel#Label3, QLabel#Label4, QLabel#Label1 { color: black; background: transparent; }"
        "QLabel#Label2 { background: rgb(253,255,230); }"
        "QPlainTextEdit#Text1 { background: rgb(253,255,230); color: rgb(0,0,192); border: none; "
        "}");
    const auto& layout = window_model::infoWindowLayout();
    setWindowTitle(qtText(layout.caption));
    twips_ = Twips::forWidget(this);
    setFixedSize(twips_.pixels(layout.width), twips_.pixels(layout.height));
    const NamedWidget widgets[] = {
        {"Picture1", &Picture1}, {"Label3", &Label3}, {"Label4", &Label4},
        {"Label1", &Label1},     {"Label2", &Label2}, {"Text1", &Text1},
    };
    applyLayout(layout, widgets, twips_);
    Text1.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Form_Load();
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
