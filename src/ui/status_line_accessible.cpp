#include "ui/status_line_accessible.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QLabel>
#include <QLineEdit>
#include <memory>

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

// The same change with every character written as "*"; null for other events.
std::unique_ptr<QAccessibleEvent> masked(QAccessibleEvent* event) {
    QObject* box = event->object();
    switch (event->type()) {
        case QAccessible::TextInserted: {
            const auto* change = static_cast<QAccessibleTextInsertEvent*>(event);
            return std::make_unique<QAccessibleTextInsertEvent>(box, change->changePosition(),
                                                                stars(change->textInserted()));
        }
        case QAccessible::TextRemoved: {
            const auto* change = static_cast<QAccessibleTextRemoveEvent*>(event);
            return std::make_unique<QAccessibleTextRemoveEvent>(box, change->changePosition(),
                                                                stars(change->textRemoved()));
        }
        case QAccessible::TextUpdated: {
            const auto* change = static_cast<QAccessibleTextUpdateEvent*>(event);
            return std::make_unique<QAccessibleTextUpdateEvent>(box, change->changePosition(),
                                                                stars(change->textRemoved()),
                                                                stars(change->textInserted()));
        }
        default:
            return nullptr;
    }
}

void maskingHandler(QAccessibleEvent* event) {
    const QObject* box = event->object();
    const auto replacement =
        box != nullptr && box->property(kMaskedProperty).toBool() ? masked(event) : nullptr;
    forward(replacement ? replacement.get() : event);
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
