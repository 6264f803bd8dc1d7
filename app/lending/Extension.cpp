#include "Extension.h"

#include "GlobDB.h"
#include "Pricing.h"
#include "ReservationWindow.h"

#include <QLocale>

#include <algorithm>

QDate ExtensionStart(const QDate& terminVraceni, const QDate& today) {
    return std::max(terminVraceni, today);
}

int DefaultExtensionDays(TSpecCena& prices, const QDate& start) {
    // Whether others reserved the days is asked when the clerk confirms, for the days chosen.
    return DefaultLoanOffer(prices, start, 0, [](const QDate&) { return 0; }).days;
}

int MediaOfTitle(TDMGlobDB& db, TTransaction& transaction, int kodTitul, bool lock) {
    const auto query =
        db.OpenQuery(transaction, QStringLiteral("select POCET_CELKEM from TITULY where KOD_TITUL = ") +
                                      QString::number(kodTitul) +
                                      (lock ? QStringLiteral(" for update with lock") : QString()));
    query->Open();
    return query->FieldByName(QStringLiteral("POCET_CELKEM")).AsInteger();
}

std::optional<QDate> DayNeededByOthers(TDMGlobDB& db, TTransaction& transaction, int kodTitul, int kodZak,
                                       int pocetCelkem, const QDate& from, const QDate& to) {
    for (QDate start = from; start < to; start = start.addDays(kWindowDays))
        for (const TFreeDay& day : FreeDays(db, transaction, kodTitul, kodZak, pocetCelkem, start))
            if (day.day < to && day.pocet < 1)
                return day.day;
    return std::nullopt;
}

QString ExtensionRefusedText(const QDate& day) {
    return QStringLiteral("Tento titul je od ") + QLocale().toString(day, QLocale::ShortFormat) +
           QStringLiteral(" rezervován pro jiného zákazníka.\rVýpůjčku nelze prodloužit.");
}
