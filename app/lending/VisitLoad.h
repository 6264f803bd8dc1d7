#pragma once

#include "Visit.h"

#include <QByteArray>

#include <optional>

class TDMGlobDB;
class TTransaction;

// The customer as the counter shows them.
struct TCounterCustomer {
    int kodZak = 0;
    QString jmeno;
    QString prijmeni;
    QString titulPred;
    QString titulZa;
    QString adrUlice;
    QString adrPsc;
    QString adrObec;
    QDateTime dRegistrace;
    QByteArray foto;
    QString poznamky;
    bool ended = false;
    int pocetPujcek = 0;
    TCustomerPrices prices;

    // "Titul Jméno Příjmení, Titul" and "Ulice, Obec, PSČ", leaving out what is empty.
    QString DisplayName() const;
    QString Address() const;
};
QString CounterCustomerSql(int kodZak);
std::optional<TCounterCustomer> LoadCounterCustomer(TDMGlobDB& db, TTransaction& transaction, int kodZak);

// The loans the customer has not returned yet, by due date and code.
QString LoansOnRecordSql(int kodZak);
std::vector<TCartRow> LoadLoansOnRecord(TDMGlobDB& db, TTransaction& transaction, int kodZak);
// The customer's reservations, by first day and title code.
QString ReservationsSql(int kodZak);
std::vector<TReservationRow> LoadReservations(TDMGlobDB& db, TTransaction& transaction, int kodZak);

// Whether other customers' reservations covering today take every medium of the title on the shelf.
bool ReservedForOthersToday(TDMGlobDB& db, TTransaction& transaction, int kodTitul, int kodZak);

// The first reservation of a title that is not over yet (it covers today or a later day), whoever
// made it: the medium that came back may be wanted.
struct TNextReservation {
    QString jmeno;
    QString prijmeni;
    QString eanKod;
    QDate terminPujceni;
    QDate terminVraceni;
};
std::optional<TNextReservation> NextReservation(TDMGlobDB& db, TTransaction& transaction, int kodTitul);

// The key of the customer with this card code or number, if any.
std::optional<int> FindCustomerByCode(TDMGlobDB& db, TTransaction& transaction, const QString& typed);
