#include "ui/status_line_accessible.h"

#include <QAccessibleWidget>
#include <QLabel>

namespace marnoq::ui {
namespace {

constexpr const char* kStatusLineProperty = "marnoqStatusLine";

class StatusLineAccessible : public QAccessibleWidget {
  public:
    explicit StatusLineAccessible(QLabel* label)
        : QAccessibleWidget(label, QAccessible::StatusBar) {}
    QString text(QAccessible::Text kind) const override {
        return kind == QAccessible::Name ? static_cast<const QLabel*>(widget())->text()
                                         : QAccessibleWidget::text(kind);
    }
};

QAccessibleInterface* statusLineFactory(const QString&, QObject* object) {
    auto* label = qobject_cast<QLabel*>(object);
    return label != nullptr && label->property(kStatusLineProperty).toBool()
               ? new StatusLineAccessible(label)
               : nullptr;
}

}  // namespace

void announceAsStatusLine(QLabel* label) {
    static const bool installed = [] {
        QAccessible::installFactory(statusLineFactory);
        return true;
    }();
    Q_UNUSED(installed);
    label->setProperty(kStatusLineProperty, true);
}

}  // namespace marnoq::ui
