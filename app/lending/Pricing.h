#pragma once

#include <QDate>
#include <QString>

#include <functional>
#include <vector>

class TSpecCena;
class TDMGlobDB;
class TTransaction;

// What the shop charges for lending media: rent per day, discounts, the default length of a
// loan, late charges, complaint refunds, the counter total and the VAT split of receipt lines.
// Every price here is a price per day including VAT.

// The customer's side of a price: VIP customers pay their own price per medium type.
struct TCustomerPrices {
    bool vip = false;
    double vipDvd = 0;
    double vipVhs = 0;
};

// The rent per day before any discount: the VIP price of the medium type, or the title's price.
double BaseRent(const TCustomerPrices& customer, const QString& typNosice, double titlePrice);

// The discount per day for a customer with this many loans: the largest step reached, 0 when
// none is (steps do not add up).
double DiscountFor(TDMGlobDB& db, TTransaction& transaction, int loanCount);
QString DiscountSql(int loanCount);

// The agreed rent per day of a new loan. VIP customers get no discount; a discount larger than
// the price makes the loan free, never a payment to the customer.
double RentPerDay(double baseRent, double discount, bool vip);

// Whether other customers' reservations take every medium of the title. "At least": with retired
// media or two counters booking at once the reservations can outnumber the media.
bool FullyReserved(int reservedByOthers, int pocetCelkem);

// How many other customers' reservations of a title begin on a day.
using TReservationsStarting = std::function<int(const QDate& day)>;
int ReservationsStartingByOthers(TDMGlobDB& db, TTransaction& transaction, int kodTitul, int kodZak,
                                 const QDate& day);
QString ReservationsStartingSql(int kodTitul, int kodZak, const QDate& day);

// The number of days offered for a new loan: up to the next charged day, over the free days
// between, at most 7. A free day that other customers have fully reserved ends the stretch there
// and locks the number, so the medium is back before they come.
struct TLoanOffer {
    int days = 1;
    bool locked = false;
};
TLoanOffer DefaultLoanOffer(TSpecCena& prices, const QDate& today, int mediaTotal,
                            const TReservationsStarting& reservedByOthers);

// Charged days of a loan from its first day to its due date.
int LoanDays(TSpecCena& prices, const QDate& terminPujceni, const QDate& terminVraceni);
// Days charged for extending a loan to a later due date: what a loan to the new date counts
// beyond what the loan to the old one counted, so a free day added costs nothing.
int ExtensionDays(TSpecCena& prices, const QDate& terminPujceni, const QDate& terminVraceni,
                  const QDate& novyTermin);
// Days charged for a return after the due date; 0 on or before it.
int LateDays(TSpecCena& prices, const QDate& terminVraceni, const QDate& dVraceni);

// One receipt line's price per day: without VAT (rounded to 0.01, halves away from zero), the
// rental VAT class and the gross price unchanged. The rate in force today applies.
struct TVatSplit {
    double cena = 0;
    QString dph;
    double cenaDph = 0;
};
TVatSplit SplitVat(TSpecCena& prices, double gross);

// One row of the counter's cart as far as money is concerned.
struct TCartMoney {
    QDate terminPujceni;
    QDate terminVraceni;
    double cenaPujcka = 0;
    bool newLoan = false;   // lent in this visit
    QDate dVraceni;         // the day it came back in this visit; invalid otherwise
    QString duvodReklamace; // not blank for a complaint
    bool IsComplaint() const { return !duvodReklamace.trimmed().isEmpty(); }
};
// What one row adds to the counter total: a new loan its amount, a complaint minus the whole
// loan, a late return (complaint or not) its late charge.
double RowAmount(TSpecCena& prices, const TCartMoney& row);
// "Cena celkem": the sum over the cart, not rounded.
double CounterTotal(TSpecCena& prices, const std::vector<TCartMoney>& cart);
