#pragma once

#include "DbError.h"
#include "Documents.h"
#include "PortOutput.h"
#include "ReceiptLayout.h"
#include "ReceiptPrinter.h"

#include <QDate>
#include <QString>

#include <functional>

class TAppContext;

// The reads of a printout: the tax receipt with its customer and a deposit's customer; the
// receipt's lines are those the documents desk lists.
QString DocumentSql(int kodDok);
QString DepositCustomerSql(int kodZak);

// A printout that did not come out of the receipt printer, with the reasons and what to check.
class EPrintError final : public EDeviceFailure {
public:
    using EDeviceFailure::EDeviceFailure;
    QString TypeName() const override { return QStringLiteral("EPrintError"); }
};

// The shop's receipt printer as its configuration file sets it up: reads the settings, the
// shop's identity and VAT and the receipt's data anew for every printout, composes the receipt
// (with the VAT rates its own lines were priced with) and sends it. The reads run on the caller's
// transaction, which is committed at the end when it was not active before.
class TPortReceiptPrinter final : public TReceiptPrinter {
public:
    TPortReceiptPrinter(TAppContext& context, QString executablePath);

    // How a composed printout is sent: by default on the caller's thread; the program sends it
    // from a worker while the wait box shows.
    using TSending = std::function<TPrintOutcome(const std::function<TPrintOutcome()>& send)>;
    void SetSending(TSending sending) { sending_ = std::move(sending); }

    TPrintOutcome Document(int kodDok, int copies, TTransaction& transaction);
    // amount is what changed hands, positive for either kind.
    TPrintOutcome Deposit(TDepositKind kind, int kodZak, int copies, double amount, TTransaction& transaction,
                          const QDate& today = QDate::currentDate());

    // The payment dialog's printing: a receipt that does not come out fails with its reasons.
    void PrintDocument(int kodDok, int copies, TTransaction& transaction) override;
    void PrintDepositTaken(int kodZak, int copies, double amount, TTransaction& transaction) override;
    void PrintDepositReturned(int kodZak, int copies, double amount, TTransaction& transaction) override;

    // The file a tax receipt or a deposit receipt is written to when the output is "FILE".
    QString DocumentFile(const TPrintSettings& settings, int kodDok) const;
    QString DepositFile(const TPrintSettings& settings, int kodZak) const;

private:
    TPrintSettings Settings() const;
    TReceiptBranch Branch(TTransaction& transaction);
    TReceiptShop Shop(TTransaction& transaction);
    QString FilesFolder(const TPrintSettings& settings) const;

    TAppContext& context_;
    QString executablePath_;
    TSending sending_ = [](const std::function<TPrintOutcome()>& send) { return send(); };
};
