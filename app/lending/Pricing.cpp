#include "Pricing.h"

#include "GlobDB.h"
#include "GlobFunc.h"
#include "PriceSettings.h"

#include <algorithm>

namespace {

QDateTime StartOf(const QDate& day) {
    return day.startOfDay();
}

} // namespace

double BaseRent(const TCustomerPrices& customer, const QString& typNosice, double titlePrice) {
    if (!customer.vip)
        return titlePrice;
    return typNosice == QStringLiteral("D") ? customer.vipDvd : customer.vipVhs;
}

QString DiscountSql(int loanCount) {
    return QStringLiteral("select max(SLEVA) as SLEVA from SPEC_SLEVY where PUJCENO <= ") +
           QString::number(loanCount);
}

double DiscountFor(TDMGlobDB& db, TTransaction& transaction, int loanCount) {
    const auto query = db.OpenQuery(transaction, DiscountSql(loanCount));
    query->Open();
    return query->FieldByName(QStringLiteral("SLEVA")).AsFloat();
}

bool FullyReserved(int reservedByOthers, int pocetCelkem) {
    return reservedByOthers > 0 && reservedByOthers >= pocetCelkem;
}

double RentPerDay(double baseRent, double discount, bool vip) {
    return std::max(0.0, baseRent - (vip ? 0.0 : discount));
}

QString ReservationsStartingSql(int kodTitul, int kodZak, const QDate& day) {
    return QStringLiteral("select count(KOD_ZAK) as POCET from REZERVACE where KOD_TITUL = ") +
           QString::number(kodTitul) + QStringLiteral(" and ") + QStringLiteral("KOD_ZAK <> ") +
           QString::number(kodZak) + QStringLiteral(" and ") + QStringLiteral("TERMIN_PUJCENI = '") +
           DateToText(QStringLiteral("yyyy-mm-dd"), day) + u'\'';
}

int ReservationsStartingByOthers(TDMGlobDB& db, TTransaction& transaction, int kodTitul, int kodZak,
                                 const QDate& day) {
    const auto query = db.OpenQuery(transaction, ReservationsStartingSql(kodTitul, kodZak, day));
    query->Open();
    return query->FieldByName(QStringLiteral("POCET")).AsInteger();
}

TLoanOffer DefaultLoanOffer(TSpecCena& prices, const QDate& today, int mediaTotal,
                            const TReservationsStarting& reservedByOthers) {
    QDate day = today.addDays(1);
    bool locked = false;
    while (!prices.IsChargedDay(day) && today.daysTo(day) < 7) {
        if (FullyReserved(reservedByOthers(day), mediaTotal)) {
            locked = true;
            break;
        }
        day = day.addDays(1);
    }
    return {static_cast<int>(today.daysTo(day)), locked};
}

int LoanDays(TSpecCena& prices, const QDate& terminPujceni, const QDate& terminVraceni) {
    return prices.ChargedDays(StartOf(terminPujceni), StartOf(terminVraceni));
}

int ExtensionDays(TSpecCena& prices, const QDate& terminPujceni, const QDate& terminVraceni,
                  const QDate& novyTermin) {
    if (!novyTermin.isValid() || novyTermin <= terminVraceni)
        return 0;
    return LoanDays(prices, terminPujceni, novyTermin) - LoanDays(prices, terminPujceni, terminVraceni);
}

int LateDays(TSpecCena& prices, const QDate& terminVraceni, const QDate& dVraceni) {
    if (!terminVraceni.isValid() || !dVraceni.isValid() || dVraceni <= terminVraceni)
        return 0;
    return prices.ChargedDays(StartOf(terminVraceni), StartOf(dVraceni));
}

TVatSplit SplitVat(TSpecCena& prices, double gross) {
    return {PriceWithoutVat(gross, prices.GetSazbaPujcka()), prices.GetDphPujcka(), gross};
}

double RowAmount(TSpecCena& prices, const TCartMoney& row) {
    double amount = 0;
    if (row.newLoan)
        amount += row.cenaPujcka * LoanDays(prices, row.terminPujceni, row.terminVraceni);
    if (row.dVraceni.isValid()) {
        if (row.IsComplaint())
            amount -= row.cenaPujcka * LoanDays(prices, row.terminPujceni, row.terminVraceni);
        amount += row.cenaPujcka * LateDays(prices, row.terminVraceni, row.dVraceni);
    }
    return amount;
}

double CounterTotal(TSpecCena& prices, const std::vector<TCartMoney>& cart) {
    double total = 0;
    for (const TCartMoney& row : cart)
        total += RowAmount(prices, row);
    return total;
}
