#pragma once

class TTransaction;

// Prints the receipts the payment dialog offers: a tax receipt, a deposit taken, a deposit
// returned. The receipt printer of the shop's configuration implements it; without one the
// dialog prints nothing and says so.
class TReceiptPrinter {
public:
    virtual ~TReceiptPrinter() = default;

    virtual void PrintDocument(int kodDok, int copies, TTransaction& transaction) = 0;
    virtual void PrintDepositTaken(int kodZak, int copies, double amount, TTransaction& transaction) = 0;
    // amount is what the customer got back (positive).
    virtual void PrintDepositReturned(int kodZak, int copies, double amount, TTransaction& transaction) = 0;
};
