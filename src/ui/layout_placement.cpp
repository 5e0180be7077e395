#include "ui/layout_placement.h"

#include <QAbstractButton>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QWidget>
#include <algorithm>

namespace marnoq::ui {
namespace {

using window_model::Alignment;
using window_model::ControlKind;

Qt::Alignment qtAlignment(Alignment alignment) {
    switch (alignment) {
        case Alignment::Right:
            return Qt::AlignRight | Qt::AlignVCenter;
        case Alignment::Centre:
            return Qt::AlignCenter;
        case Alignment::Left:
            break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

void setText(QWidget* widget, const QString& text) {
    if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        button->setText(text);
    } else if (auto* box = qobject_cast<QLineEdit*>(widget)) {
        box->setText(text);
    }
}

// The width the widget needs to show the text whole, in its own font and style.
int neededWidth(const QWidget* widget, const QString& text) {
    const int textWidth = QFontMetrics(widget->font()).horizontalAdvance(text);
    const QStyle* style = widget->style();
    if (qobject_cast<const QRadioButton*>(widget) != nullptr) {
        return textWidth + style->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, widget) +
               style->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, widget) + 2;
    }
    if (qobject_cast<const QPushButton*>(widget) != nullptr) {
        return textWidth + style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, widget) +
               2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, widget);
    }
    return textWidth + widget->width() - widget->contentsRect().width();
}

}  // namespace

QString qtText(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

void placeFitting(QWidget* widget, const window_model::WindowLayout& layout,
                  const window_model::ControlLayout& control, const Twips& twips,
                  const QString& widestText) {
    int left = control.left;
    int top = control.top;
    if (!control.parent.empty()) {
        const auto& parent = layout.control(control.parent);
        left -= parent.left;
        top -= parent.top;
    }
    const QRect box = twips.rect(left, top, control.width, control.height);
    widget->setGeometry(box.x(), box.y(), box.width(),
                        control.kind == ControlKind::Line ? 1 : box.height());
    if (widestText.isEmpty()) {
        return;
    }
    const auto fitted =
        window_model::grownToFit({box.x(), box.y(), box.width(), box.height()}, control.alignment,
                                 neededWidth(widget, widestText));
    widget->setGeometry(fitted.left, fitted.top, fitted.width, fitted.height);
}

QFont qtFont(window_model::FontFace face, double scale) {
    static const bool substituted = [] {
        QFont::insertSubstitutions("MS Sans Serif",
                                   {"DejaVu Sans Condensed", "Liberation Sans Narrow", "Arial"});
        QFont::insertSubstitutions("Courier New", {"DejaVu Sans Mono", "Liberation Mono"});
        return true;
    }();
    Q_UNUSED(substituted);
    QFont font(QString::fromUtf8(face.family.data(), static_cast<qsizetype>(face.family.size())));
    font.setPointSizeF(face.pointSize * scale);
    font.setBold(face.bold);
    return font;
}

void applyLayout(const window_model::WindowLayout& layout, std::span<const NamedWidget> widgets,
                 const Twips& twips) {
    const auto qt = qtText;
    for (const auto& control : layout.controls) {
        QWidget* widget = std::find_if(widgets.begin(), widgets.end(), [&](const auto& named) {
                              return named.first == control.name;
                          })->second;
        widget->setObjectName(qt(control.name));
        widget->setFont(qtFont(window_model::fontOf(control.font), twips.scale()));
        setText(widget, qt(control.text));
        widget->setToolTip(qt(control.toolTip));
        // A label keeps no fixed name, so each new text of it is announced.
        if (!control.accessibleName.empty()) {
            widget->setAccessibleName(qt(control.accessibleName));
        }
        widget->setAccessibleDescription(qt(window_model::descriptionOf(control)));
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            label->setAlignment(qtAlignment(control.alignment));
        }
        placeFitting(widget, layout, control, twips, qt(control.text));
    }
}

}  // namespace marnoq::ui
