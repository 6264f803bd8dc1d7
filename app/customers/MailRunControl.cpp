#include "MailRunControl.h"

#include "DeskSurface.h"
#include "GlobDialog.h"
#include "GlobMail.h"
#include "MoxButton.h"
#include "MoxLabel.h"

#include <QCoreApplication>
#include <QPushButton>
#include <QScopeGuard>

#include <utility>

TMailRunControl::TMailRunControl(QWidget* window, TMoxLabel* label, QString leaving)
    : label_(label), abort_(Named(new TMoxButton(QStringLiteral("Přerušit"), window), "BPrerusit")),
      leaving_(std::move(leaving)) {
    abort_->setVisible(false);
    QObject::connect(abort_, &QPushButton::clicked, abort_, [this] {
        cancelled_ = true;
        abort_->setEnabled(false);
        if (current_ != nullptr)
            current_->Abort();
    });
}

void TMailRunControl::Lock(const std::function<void(bool sending)>& lock, bool sending) {
    sending_ = sending;
    cancelled_ = false;
    lock(sending);
    abort_->setEnabled(sending);
    abort_->setVisible(sending);
}

void TMailRunControl::Run(const std::function<void(bool sending)>& lock,
                          const std::function<void(const TMailRunHooks&)>& send) {
    Lock(lock, true);
    bool ended = false;
    // A failure on the way ends the run; the label must not go on saying a message is leaving.
    const auto unlock = qScopeGuard([&] {
        current_ = nullptr;
        Lock(lock, false);
        if (!ended)
            label_->setText(QStringLiteral("Odesílání skončilo chybou."));
    });
    TMailRunHooks hooks;
    hooks.Failed = [](const QString& text) { ReportError(text); };
    hooks.Progress = [this](int done, int count) {
        label_->setText(leaving_.arg(done + 1).arg(count));
        // A press of "Přerušit" waiting in the queue counts before the next message.
        QCoreApplication::processEvents();
        return !cancelled_;
    };
    hooks.Current = [this](TDMGlobMail* current) { current_ = current; };
    send(hooks);
    ended = true;
}
