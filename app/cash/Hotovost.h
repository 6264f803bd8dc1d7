#pragma once

#include "Transaction.h"

#include <QDialog>

class TAppContext;
class TMoxButton;
class TMoxLabel;
class TMoxNumEdit;
class TReceiptPrinter;

// "Hotovost a tisk paragonu": the amount to collect (or, negative, to pay out), the change from
// what the customer handed over, and the receipt. Stores nothing.
class TFHotovost final : public QDialog {
    Q_OBJECT
public:
    // printer may be null while the shop has no receipt printer set up.
    TFHotovost(TAppContext& context, TReceiptPrinter* printer, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(TFHotovost)

    // The lending counter: the total of the new receipt.
    void SetReceipt(int kodDok);
    // The deposits: the customer whose deposit was taken (amount above zero) or returned.
    void SetDeposit(int kodZak);
    void SetAmount(double amount);

private:
    enum class TMode { Receipt, Deposit };

    void ShowChange();
    void Tisk();

    TAppContext& context_;
    TReceiptPrinter* printer_;
    TTransaction transaction_; // IBTransaction, read by the printing
    TMode mode_ = TMode::Receipt;
    int key_ = 0;
    double amount_ = 0;

    TMoxLabel* ECastka;
    TMoxNumEdit* EZaplaceno;
    TMoxLabel* EVratit;
    TMoxButton* BTisk;
    TMoxButton* BZavrit;
};
