#include "ScannedCode.h"

#include <QElapsedTimer>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

// A code is longer than the six digits of a record number, and a reader sends its keys far
// quicker than a hand can type them.
constexpr int kLongestNumber = 6;
constexpr qint64 kReaderGapMs = 50;

class TScanFilter final : public QObject {
public:
    TScanFilter(QWidget* target, std::function<void(const QString&)> search)
        : QObject(target), target_(target), field_(qobject_cast<QLineEdit*>(target)),
          search_(std::move(search)) {
        clock_.start();
        target->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != target_ || event->type() != QEvent::KeyPress)
            return QObject::eventFilter(watched, event);
        const auto* key = static_cast<QKeyEvent*>(event);
        const qint64 now = clock_.elapsed();
        const bool inBurst = !run_.isEmpty() && now - last_ <= kReaderGapMs;
        if (!inBurst)
            run_.clear();
        last_ = now;
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            const QString code = run_;
            run_.clear();
            if (code.size() <= kLongestNumber)
                return false;
            search_(code);
            return true;
        }
        const QString text = key->text();
        const bool digit = text.size() == 1 && text[0] >= u'0' && text[0] <= u'9' &&
                           !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
        if (!digit) {
            run_.clear();
            return false;
        }
        if (run_.isEmpty())
            Remember();
        run_ += text;
        if (run_.size() <= kLongestNumber)
            return false;
        // Now it is a code: what it has typed so far goes, and the rest never reaches the field.
        if (run_.size() == kLongestNumber + 1)
            Restore();
        return true;
    }

private:
    void Remember() {
        if (!field_)
            return;
        before_ = field_->text();
        selectionStart_ = field_->selectionStart();
        selectionLength_ = field_->selectedText().size();
        cursor_ = field_->cursorPosition();
    }
    void Restore() {
        if (!field_)
            return;
        field_->setText(before_);
        if (selectionStart_ >= 0)
            field_->setSelection(selectionStart_, selectionLength_);
        else
            field_->setCursorPosition(cursor_);
    }

    QWidget* target_;
    QLineEdit* field_; // null on a target that holds no text
    std::function<void(const QString&)> search_;
    QElapsedTimer clock_;
    qint64 last_ = 0;
    QString run_;
    QString before_;
    int selectionStart_ = -1;
    int selectionLength_ = 0;
    int cursor_ = 0;
};

} // namespace

void RunOnScannedCode(QWidget* target, std::function<void(const QString& code)> search) {
    new TScanFilter(target, std::move(search));
}
