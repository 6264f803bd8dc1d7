#include "Hotovost.h"

#include "AppContext.h"
#include "DeskSurface.h"
#include "FailureGuard.h"
#include "GlobDialog.h"
#include "Money.h"
#include "MoxButton.h"
#include "MoxLabel.h"
#include "MoxNumEdit.h"
#include "ReceiptPrinter.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {

// The big amounts: black on white, and for money going out white on maroon, where white
// can be read.
TMoxLabel* BigAmount(const char* name, QWidget* parent) {
    auto* label = new TMoxLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFramed(true);
    label->setFrameColor(QColor(128, 0, 0));
    label->setAutoFillBackground(true);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QFont font = label->font();
    font.setPixelSize(28);
    font.setBold(true);
    label->setFont(font);
    label->setMinimumWidth(320);
    return label;
}

void ShowAmount(TMoxLabel* label, const QString& text, bool negative) {
    label->setText(text);
    QPalette palette = label->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::WindowText, negative ? QColor(Qt::white) : QColor(Qt::black));
        palette.setColor(group, QPalette::Window, negative ? QColor(128, 0, 0) : QColor(Qt::white));
    }
    label->setPalette(palette);
}

} // namespace

TFHotovost::TFHotovost(TAppContext& context, TReceiptPrinter* printer, QWidget* parent)
    : QDialog(parent), context_(context), printer_(printer), transaction_(context.Db().DB),
      ECastka(BigAmount("ECastka", this)), EZaplaceno(new TMoxNumEdit(this)),
      EVratit(BigAmount("EVratit", this)), BTisk(new TMoxButton(QStringLiteral("&Tisk"), this)),
      BZavrit(new TMoxButton(QStringLiteral("Zavřít"), this)) {
    setWindowTitle(QStringLiteral("Hotovost a tisk paragonu"));
    SetDeskSurface(this);
    EZaplaceno->setObjectName(QStringLiteral("EZaplaceno"));
    EZaplaceno->setDecimal(0);
    EZaplaceno->setMinValue(0);
    EZaplaceno->setMaxValue(999999999);
    EZaplaceno->setMinimumWidth(320);
    QFont font = EZaplaceno->font();
    font.setPixelSize(28);
    EZaplaceno->setFont(font);
    EZaplaceno->setValue(0);
    BTisk->setObjectName(QStringLiteral("BTisk"));
    BTisk->setDefault(true);
    BZavrit->setObjectName(QStringLiteral("BZavrit"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BTisk);
    buttons->addWidget(BZavrit);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Caption(QStringLiteral("Výběr hotovosti:"), ECastka, this));
    layout->addWidget(ECastka);
    layout->addWidget(Caption(QStringLiteral("&Zaplaceno:"), EZaplaceno, this));
    layout->addWidget(EZaplaceno);
    layout->addWidget(Caption(QStringLiteral("Vrátit:"), EVratit, this));
    layout->addWidget(EVratit);
    layout->addSpacing(8);
    layout->addLayout(buttons);

    connect(EZaplaceno, &QLineEdit::textChanged, this, [this] { ShowChange(); });
    connect(BTisk, &QPushButton::clicked, this, [this] { RunReported([this] { Tisk(); }); });
    connect(BZavrit, &QPushButton::clicked, this, &QDialog::reject);
    SetAmount(0);
    EZaplaceno->setFocus();
}

void TFHotovost::SetReceipt(int kodDok) {
    mode_ = TMode::Receipt;
    key_ = kodDok;
}

void TFHotovost::SetDeposit(int kodZak) {
    mode_ = TMode::Deposit;
    key_ = kodZak;
}

void TFHotovost::SetAmount(double amount) {
    amount_ = amount;
    ShowAmount(ECastka, MoneyText(amount, context_.SpecCena().GetMena()), amount < 0);
    ShowChange();
}

void TFHotovost::ShowChange() {
    const std::optional<double> handed = HandedOver(EZaplaceno->text());
    ShowAmount(EVratit, ChangeText(amount_, EZaplaceno->text(), context_.SpecCena().GetMena()),
               handed && *handed - amount_ < 0);
}

void TFHotovost::Tisk() {
    if (printer_ == nullptr) {
        Warn(QStringLiteral("Tiskárna paragonů není nastavena.\rParagon nebyl vytištěn."));
        return;
    }
    if (mode_ == TMode::Receipt)
        printer_->PrintDocument(key_, 1, transaction_);
    else if (amount_ > 0)
        printer_->PrintDepositTaken(key_, 1, amount_, transaction_);
    else
        printer_->PrintDepositReturned(key_, 1, -amount_, transaction_);
    if (transaction_.Active())
        transaction_.Commit();
}
