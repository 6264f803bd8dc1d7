#include "DepositEntry.h"

#include "AppContext.h"
#include "DeskSurface.h"
#include "FailureGuard.h"
#include "GlobDialog.h"
#include "GlobFunc.h"
#include "Hotovost.h"
#include "MoxButton.h"
#include "MoxEdit.h"
#include "MoxLabel.h"
#include "MoxNumEdit.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {

constexpr int kNoteLength = 240;
constexpr double kHighest = 999999999;

} // namespace

TDepositEntry::TDepositEntry(TAppContext& ctx, const TTexts& texts, double lowest, QWidget* parent)
    : QDialog(parent), ctx_(ctx), ECastka(Named(new TMoxNumEdit(this), "ECastka")),
      EPoznamka(Named(new TMoxEdit(this), "EPoznamka")),
      BUlozit(Named(new TMoxButton(texts.save, this), "BUlozit")),
      BZavrit(Named(new TMoxButton(QStringLiteral("Zavřít"), this), "BZavrit")), unsaved_(texts.unsaved) {
    setWindowTitle(texts.caption);
    SetDeskSurface(this);
    ECastka->setDecimal(2);
    ECastka->setMinValue(lowest);
    ECastka->setMaxValue(kHighest);
    ECastka->setAlignment(Qt::AlignRight);
    FitFieldTo(ECastka, QStringLiteral("999 999 999,99"));
    ECastka->setValue(0);
    EPoznamka->setMaxLength(kNoteLength);
    EPoznamka->setMinimumWidth(360);
    BUlozit->setDefault(true);
    BUlozit->setEnabled(false);

    auto* fields = new QGridLayout;
    fields->addWidget(Caption(QStringLiteral("Čá&stka:"), ECastka, this), 0, 0);
    auto* amount = new QHBoxLayout;
    amount->addWidget(ECastka);
    amount->addWidget(Named(new TMoxLabel(ctx_.SpecCena().GetMena(), this), "LMena"));
    amount->addStretch();
    fields->addLayout(amount, 0, 1);
    fields->addWidget(Caption(texts.note, EPoznamka, this), 1, 0);
    fields->addWidget(EPoznamka, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BUlozit);
    buttons->addWidget(BZavrit);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addSpacing(8);
    layout->addLayout(buttons);

    connect(ECastka, &QLineEdit::textChanged, this, [this] { UpdateSave(); });
    connect(BUlozit, &QPushButton::clicked, this, [this] { RunReported([this] { Ulozit(); }); });
    connect(BZavrit, &QPushButton::clicked, this, &TDepositEntry::reject);
    ECastka->setFocus();
}

void TDepositEntry::UpdateSave() {
    BUlozit->setEnabled(!saved_ && RoundTo(0.01, ECastka->value()) != 0);
}

// The payment dialog follows a save at once; the clerk's entry ends with it.
bool TDepositEntry::Ulozit() {
    if (!BUlozit->isEnabled())
        return false;
    const double amount = RoundTo(0.01, ECastka->value());
    const TDepositSave save = Write(amount, EPoznamka->text());
    if (!save.saved) {
        Warn(save.message);
        return false;
    }
    saved_ = true;
    BUlozit->setEnabled(false);
    TFHotovost hotovost(ctx_, ctx_.ReceiptPrinter, this);
    hotovost.SetDeposit(kodZak_);
    hotovost.SetAmount(PaymentAmount(amount));
    ExecModal(hotovost);
    QDialog::accept();
    return true;
}

void TDepositEntry::reject() {
    if (BUlozit->isEnabled()) {
        switch (Ask(unsaved_, true)) {
        case TMsgResult::Yes:
            // A save that went through has closed the dialog; a failed one keeps it open.
            RunReported([this] { Ulozit(); });
            return;
        case TMsgResult::No:
            break;
        default:
            return;
        }
    }
    QDialog::reject();
}
