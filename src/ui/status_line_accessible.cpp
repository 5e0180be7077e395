#include "ui/status_line_accessible.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QLabel>
#include <QLineEdit>

namespace marnoq::ui {
namespace {

constexpr const char* kStatusLineProperty = "marnoqStatusLine";
constexpr const char* kFrameProperty = "marnoqFrame";
constexpr const char* kFilteredProperty = "marnoqWithoutDecoration";
constexpr const char* kDecorativeProperty = "marnoqDecorative";
constexpr const char* kMaskedProperty = "marnoqMasked";

class StatusLineAccessible : public QAccessibleWidget {
  public:
    explicit StatusLineAccessible(QLabel* label)
        : QAccessibleWidget(label, QAccessible::StatusBar) {}
};

bool decorative(const QObject* object) {
    return object->property(kDecorativeProperty).toBool();
}

// A widget whose accessible children are its widget children but the decorative ones.
class FilteredAccessible : public QAccessibleWidget {
  public:
    FilteredAccessible(QWidget* widget, QAccessible::Role role) : QAccessibleWidget(widget, role) {}
    int childCount() const override { return static_cast<int>(children().size()); }
    QAccessibleInterface* child(int index) const override {
        const auto list = children();
        return index >= 0 && index < list.size()
                   ? QAccessible::queryAccessibleInterface(list[index])
                   : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child == nullptr ? -1 : static_cast<int>(children().indexOf(child->object()));
    }
    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        if (button() != nullptr) {
            names.prepend(pressAction());
        }
        return names;
    }
    void doAction(const QString& name) override {
        if (button() != nullptr && name == pressAction()) {
            button()->click();
        } else {
            QAccessibleWidget::doAction(name);
        }
    }

  private:
    QAbstractButton* button() const { return qobject_cast<QAbstractButton*>(widget()); }
    QObjectList children() const {
        QObjectList shown;
        for (QObject* object : widget()->children()) {
            auto* child = qobject_cast<QWidget*>(object);
            if (child != nullptr && !child->isWindow() && !decorative(child)) {
                shown << child;
            }
        }
        return shown;
    }
};

QAccessibleInterface* factory(const QString&, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget == nullptr) {
        return nullptr;
    }
    if (auto* label = qobject_cast<QLabel*>(object);
        label != nullptr && label->property(kStatusLineProperty).toBool()) {
        return new StatusLineAccessible(label);
    }
    if (widget->property(kFrameProperty).toBool()) {
        return new FilteredAccessible(widget, QAccessible::Window);
    }
    if (widget->property(kFilteredProperty).toBool()) {
        return new FilteredAccessible(widget, QAccessible::Button);
    }
    return nullptr;
}

void installFactory() {
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    Q_UNUSED(installed);
}

QAccessible::UpdateHandler previousHandler = nullptr;
void maskingHandler(QAccessibleEvent* event);

void forward(QAccessibleEvent* event) {
    QAccessible::installUpdateHandler(previousHandler);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(maskingHandler);
}

QString stars(const QString& text) {
    return QString(text.size(), QLatin1Char('*'));
}

void maskingHandler(QAccessibleEvent* event) {
    QObject* box = event->object();
    if (box == nullptr || !box->property(kMaskedProperty).toBool()) {
        forward(event);
        return;
    }
    switch (event->type()) {
        case QAccessible::TextInserted: {
            const auto* typed = static_cast<QAccessibleTextInsertEvent*>(event);
            QAccessibleTextInsertEvent masked(box, typed->changePosition(),
                                              stars(typed->textInserted()));
            forward(&masked);
            return;
        }
        case QAccessible::TextRemoved: {
            const auto* removed = static_cast<QAccessibleTextRemoveEvent*>(event);
            QAccessibleTextRemoveEvent masked(box, removed->changePosition(),
                                              stars(removed->textRemoved()));
            forward(&masked);
            return;
        }
        case QAccessible::TextUpdated: {
            const auto* updated = static_cast<QAccessibleTextUpdateEvent*>(event);
            QAccessibleTextUpdateEvent masked(box, updated->changePosition(),
                                              stars(updated->textRemoved()),
                                              stars(updated->textInserted()));
            forward(&masked);
            return;
        }
        default:
            forward(event);
            return;
    }
}

}  // namespace

void announceAsStatusLine(QLabel* label) {
    installFactory();
    label->setProperty(kStatusLineProperty, true);
}

void announceAsFrame(QWidget* window) {
    installFactory();
    window->setProperty(kFrameProperty, true);
}

void announceWithoutDecoration(QWidget* button) {
    installFactory();
    button->setProperty(kFilteredProperty, true);
}

void markDecorative(QWidget* widget) {
    widget->setProperty(kDecorativeProperty, true);
}

void announceMasked(QLineEdit* box) {
    static const bool installed = [] {
        previousHandler = QAccessible::installUpdateHandler(maskingHandler);
        return true;
    }();
    Q_UNUSED(installed);
    box->setProperty(kMaskedProperty, true);
}

}  // namespace marnoq::ui
