#include "SearchBrowse.h"

#include "EnterKey.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLineEdit>

TSearchBrowse::TSearchBrowse(const TControls& controls, THooks hooks, QObject* parent)
    : QObject(parent), controls_(controls), hooks_(std::move(hooks)) {
    // The filter repeats what the clerk typed; a label would read "<b>" in it as formatting.
    controls_.filter->setTextFormat(Qt::PlainText);
    const auto guarded = [this](std::function<void()> action) {
        return [this, action] { hooks_.guard(action); };
    };
    connect(controls_.search, &QAbstractButton::clicked, this, guarded([this] { Search(); }));
    RunOnEnter(controls_.code, guarded([this] { Search(); }));
    RunOnEnter(controls_.name, guarded([this] { Search(); }));
    connect(controls_.previous, &QAbstractButton::clicked, this, guarded([this] { Move(-1); }));
    connect(controls_.next, &QAbstractButton::clicked, this, guarded([this] { Move(1); }));
    Close();
}

void TSearchBrowse::Search() {
    // Nothing to look for ends the browsing; the record shown stays, so nothing needs asking.
    if (controls_.code->text().isEmpty() && controls_.name->text().isEmpty()) {
        Close();
        return;
    }
    // Whatever the search finds replaces the record shown: typed changes are offered for saving.
    if (controls_.askBeforeSearch && !hooks_.canLeave())
        return;
    Close();
    const QString code = controls_.code->text();
    if (!code.isEmpty() && hooks_.findCode(code)) {
        controls_.code->clear();
        controls_.name->clear();
    }
    // A name typed beside a code not found is searched still.
    const QString name = controls_.name->text();
    if (name.isEmpty())
        return;
    keys_ = hooks_.findName(name);
    controls_.previous->show();
    controls_.next->show();
    if (keys_.empty()) {
        controls_.filter->setText(QStringLiteral("Nebyl nalezen žádný záznam."));
        controls_.counter->setText(QStringLiteral("0 / 0"));
        return;
    }
    controls_.filter->setText(QStringLiteral("Několik záznamů odpovídá filtru \"") + name +
                              QStringLiteral("\"."));
    controls_.code->clear();
    controls_.name->clear();
    position_ = 0;
    ShowPosition();
    hooks_.show(keys_.front());
}

void TSearchBrowse::Move(int step) {
    if (!hooks_.canLeave())
        return;
    const int next = position_ + step;
    if (next < 0 || next >= static_cast<int>(keys_.size()))
        return;
    position_ = next;
    ShowPosition();
    hooks_.show(keys_[static_cast<std::size_t>(next)]);
}

void TSearchBrowse::Close() {
    keys_.clear();
    position_ = -1;
    controls_.previous->setEnabled(false);
    controls_.next->setEnabled(false);
    if (controls_.hideButtonsWhenClosed) {
        controls_.previous->hide();
        controls_.next->hide();
    }
    controls_.filter->clear();
    controls_.counter->clear();
}

void TSearchBrowse::ShowPosition() {
    const int count = static_cast<int>(keys_.size());
    controls_.counter->setText(QStringLiteral("%1 / %2").arg(position_ + 1).arg(count));
    controls_.previous->setEnabled(position_ > 0);
    controls_.next->setEnabled(position_ < count - 1);
}
