#pragma once

#include <QDateTime>
#include <QString>

#include <vector>

class TDMGlobDB;
class TTransaction;

// A customer's deposits: every amount taken is a row of ZALOHY, open until it is returned, and
// what the customer holds is the sum of the open rows. Each taking or return closes the open
// rows and opens at most one row carrying what is left, so a customer normally has one open row.

QString OpenDepositsSql(int kodZak);
// What the customer holds now: the sum of the open rows, 0 without any.
double OpenDeposits(TDMGlobDB& db, TTransaction& transaction, int kodZak);

// One row of the deposits overview, as the clerk sees it.
struct TDepositRow {
    QDateTime dPrevzeti;
    QString uzivPrevzal; // the user's name
    double castka = 0;
    QString poznPrev;
    QDateTime dVraceni; // invalid while the deposit is held
    QString uzivVraceno;
    QString poznVrac;

    bool Returned() const { return dVraceni.isValid(); }
};

// All the customer's rows, newest first.
QString DepositRowsSql(int kodZak);
std::vector<TDepositRow> LoadDepositRows(TDMGlobDB& db, TTransaction& transaction, int kodZak);

// The notes the program writes itself when it re-books the open rows.
extern const QString kNoteToppedUp;   // on the rows closed by a further deposit
extern const QString kNotePartReturn; // on the row that keeps what a part return left

// What a taking or a return did. A save that was refused or met another counter's change
// wrote nothing, and message says why in the clerk's words.
struct TDepositSave {
    bool saved = false;
    QString message;
    double heldBefore = 0; // what the customer held when the save read the open rows
    double heldAfter = 0;
};

// One taking or return as the clerk entered it.
struct TDepositChange {
    int kodZak = 0;
    double amount = 0; // taken or given back
    QString note;
    int kodUziv = 0;
    QString currency; // for the amounts in the clerk's messages
};

// Takes the amount from the customer, in one transaction: the open rows are closed and one new
// row holds the amount plus what they held.
TDepositSave TakeDeposit(TDMGlobDB& db, const TDepositChange& change);
// Gives the amount back, in one transaction: the open rows are closed with the clerk's note and
// a part return leaves one new row with the rest.
TDepositSave ReturnDeposit(TDMGlobDB& db, const TDepositChange& change);
