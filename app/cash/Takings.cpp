#include "Takings.h"

#include "GlobDB.h"
#include "GlobFunc.h"
#include "Money.h"
#include "Till.h"

namespace {

// The administrator of a new shop has no first name; a name made of the login stands in
// when both parts are missing, so the list never shows an empty "who".
QString UserName(const QString& alias) {
    const QString u = alias + u'.';
    return QStringLiteral("coalesce(nullif(trim(coalesce(") + u +
           QStringLiteral("JMENO, '') || ' ' || coalesce(") + u + QStringLiteral("PRIJMENI, '')), ''), ") +
           u + QStringLiteral("UZIVATEL)");
}

QString MonthWhere(TMonth month) {
    const TMonth next = month.Next();
    return QString::asprintf("where DATUM >= '%d-%d-1' and DATUM < '%d-%d-1'", month.Year, month.Month,
                             next.Year, next.Month);
}

} // namespace

QString CashMovementsSql(TMonth month) {
    return QStringLiteral("select h.DATUM, h.CASTKA, h.POPIS, \n") + UserName(QStringLiteral("u")) +
           QStringLiteral(
               " as UZIVATEL\nfrom HOTOVOST h join UZIVATELE u on (h.UZIV_ZAPSAL = u.KOD_UZIV)\n") +
           MonthWhere(month) + QStringLiteral("\norder by DATUM desc");
}

QString ClosesSql(TMonth month) {
    return QStringLiteral(
               "select t.DATUM, t.ZALOHA_PREV, t.ZALOHA_VRAC, t.NOSIC_PUJC, t.NOSIC_VRAC, t.TRZBA, "
               "t.HOT_DOTACE, t.HOT_ODVOD, t.POKLADNA, t.D_UZAVRENI, \n") +
           UserName(QStringLiteral("u")) +
           QStringLiteral(
               " as UZIV_UZAVREL\nfrom TRZBY t join UZIVATELE u on (t.UZIV_UZAVREL = u.KOD_UZIV)\n") +
           MonthWhere(month) + QStringLiteral("\norder by DATUM desc");
}

std::optional<QString> CashMovementProblem(const TCashMovementInput& input) {
    for (const double amount : {input.TakeOut, input.Add})
        if (amount < 0 || amount > kMaxCashMovement)
            return QStringLiteral("Částka nesmí být záporná ani vyšší než ") + AmountText(kMaxCashMovement) +
                   u'.';
    return std::nullopt;
}

QString InsertCashMovementSql(const TCashMovementInput& input, int kodUziv) {
    return QStringLiteral(
               "insert into HOTOVOST (DATUM, CASTKA, POPIS, UZIV_ZAPSAL) values (CURRENT_TIMESTAMP, ") +
           FloatToSql(input.Castka()) + QStringLiteral(", ") + SqlText(input.Popis) + QStringLiteral(", ") +
           QString::number(kodUziv) + u')';
}

void SaveCashMovement(TDMGlobDB& db, const TCashMovementInput& input, int kodUziv) {
    RunTillWrite(db.DB, [&](TTransaction& transaction) {
        db.ExecSql(transaction, InsertCashMovementSql(input, kodUziv));
    });
}

QString CashMovementSavedText(const TCashMovementInput& input, const QString& amountText,
                              const QString& currency) {
    if (input.TakeOut != 0)
        return QStringLiteral("Tržba v částce: \r") + amountText + u' ' + currency +
               QStringLiteral("\rbyla odečtena z pokladny.");
    return QStringLiteral("Hotovost hodnoty: \r") + amountText + u' ' + currency +
           QStringLiteral("\rbyla přidána do pokladny.");
}
