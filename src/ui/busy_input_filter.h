#pragma once

#include <QObject>
#include <functional>

namespace marnoq::ui {

// While a job runs, clicks, keys and drops on the lists, the option buttons and the suffix
// are swallowed, so the running job never sees its inputs change. Nothing is queued.
class BusyInputFilter : public QObject {
    Q_OBJECT
public:
    explicit BusyInputFilter(std::function<bool()> busy, QObject* parent = nullptr)
        : QObject(parent), busy_(std::move(busy)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<bool()> busy_;
};

}  // namespace marnoq::ui
