#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>

#include <vector>

class TDMGlobDB;
class TSpecCena;
class TTransaction;

// The open loans past their due date, with what their return would charge today: the list the
// shop reminds its customers from, prints and exports.

struct TOverdueLoan {
    int kodZak = 0;
    QString zakaznik; // "Jméno Příjmení"
    QString telefon;  // the telephone, or the mobile number when there is none
    QString email;    // as stored: one or more addresses separated by ";"
    int kodNosic = 0;
    QString nazevCesky;
    QString eanKod; // the medium's "CN kód"
    QDate terminVraceni;
    double cenaPujcka = 0;
    int dniPoTerminu = 0; // calendar days since the due date
    double poplatek = 0;  // the late charge of a return today: the charged days after the due date
    QDate upominka;       // the day of the customer's last reminder; invalid when never reminded
};

// Every open loan due before today (of one customer, when a key is given), by due date, customer
// and code.
QString OverdueLoansSql(const QDate& today, int kodZak = 0);
std::vector<TOverdueLoan> LoadOverdueLoans(TDMGlobDB& db, TTransaction& transaction, TSpecCena& prices,
                                           const QDate& today, int kodZak = 0);

// The rows overdue by at least minDays days, the longest overdue first or last; rows overdue
// equally keep the list's order.
enum class TOverdueOrder { LongestFirst, ShortestFirst };
std::vector<TOverdueLoan> OverdueView(const std::vector<TOverdueLoan>& rows, int minDays,
                                      TOverdueOrder order);

// The list as a spreadsheet file, with a caption row.
QByteArray OverdueCsv(const std::vector<TOverdueLoan>& rows);
