#pragma once

#include "Deposits.h"

#include <QDialog>

class TAppContext;
class TMoxButton;
class TMoxEdit;
class TMoxNumEdit;

// What taking and returning a deposit share: the amount, the note, one save per opening that
// is followed by the payment dialog, and the question when the clerk leaves unsaved.
class TDepositEntry : public QDialog {
    Q_OBJECT
public:
    Q_DISABLE_COPY_MOVE(TDepositEntry)

    // True once the deposit was written; the overview then loads again.
    bool Saved() const { return saved_; }
    // Esc, the close box and "Zavřít" all end here.
    void reject() override;

protected:
    struct TTexts {
        QString caption;
        QString note;
        QString save;
        QString unsaved;
    };
    TDepositEntry(TAppContext& ctx, const TTexts& texts, double lowest, QWidget* parent);

    // Writes the deposit; a refusal or another counter's change comes back unsaved.
    virtual TDepositSave Write(double amount, const QString& note) = 0;
    // The amount the payment dialog shows: above zero taken, below zero paid out.
    virtual double PaymentAmount(double amount) const = 0;

    TAppContext& ctx_;
    int kodZak_ = 0;
    TMoxNumEdit* ECastka;
    TMoxEdit* EPoznamka;
    TMoxButton* BUlozit;
    TMoxButton* BZavrit;

private:
    bool Ulozit();
    void UpdateSave();

    QString unsaved_;
    bool saved_ = false;
};
