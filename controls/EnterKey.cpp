#include "EnterKey.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace {

class TEnterFilter final : public QObject {
public:
    TEnterFilter(QLineEdit* field, std::function<void()> action)
        : QObject(field), action_(std::move(action)) {
        field->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return QObject::eventFilter(watched, event);
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Return && key != Qt::Key_Enter)
            return false;
        event->accept();
        action_();
        return true;
    }

private:
    std::function<void()> action_;
};

} // namespace

void RunOnEnter(QLineEdit* field, std::function<void()> action) {
    new TEnterFilter(field, std::move(action));
}
