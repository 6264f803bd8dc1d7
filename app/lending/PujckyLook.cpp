#include "PujckyLook.h"

namespace PujckyLook {

namespace {

QVariant Date(const QDate& date) {
    return date.isValid() ? QVariant(date) : QVariant();
}

QVariant Stamp(const QDateTime& stamp) {
    return stamp.isValid() ? QVariant(stamp) : QVariant();
}

QVariant Text(const QString& text) {
    return text.isEmpty() ? QVariant() : QVariant(text);
}

} // namespace

QStringList CartColumns() {
    return {
        QStringLiteral("KOD_TITUL"),     QStringLiteral("KOD_NOSIC"),       QStringLiteral("TYP_NOSICE"),
        QStringLiteral("NAZEV_CESKY"),   QStringLiteral("EAN_KOD"),         QStringLiteral("TERMIN_PUJCENI"),
        QStringLiteral("POCET_DNI"),     QStringLiteral("TERMIN_VRACENI"),  QStringLiteral("CENA_PUJCKA"),
        QStringLiteral("D_PUJCENI"),     QStringLiteral("UZIV_PUJCIL"),     QStringLiteral("D_VRACENI"),
        QStringLiteral("INFO_VRACENI"),  QStringLiteral("DUVOD_REKLAMACE"), QStringLiteral("UZIV_VRACENO"),
        QStringLiteral("PRODLOUZENI_DO")};
}

QStringList CartTitles() {
    return {{},
            {},
            QStringLiteral("Typ"),
            QStringLiteral("Zapůjčený titul"),
            QStringLiteral("CN kód"),
            QStringLiteral("Termín půjčení"),
            {},
            QStringLiteral("Termín vrácení"),
            QStringLiteral("Cena/Den"),
            QStringLiteral("Datum půjčení"),
            QStringLiteral("Půjčil"),
            QStringLiteral("Datum vrácení"),
            QStringLiteral("Zpráva při vracení"),
            QStringLiteral("Důvod reklamace"),
            QStringLiteral("Vráceno"),
            QStringLiteral("Prodlouženo do")};
}

QVariantList CartRecord(const TCartRow& row) {
    return {row.kodTitul,
            row.kodNosic,
            row.typNosice,
            row.nazevCesky,
            row.eanKod,
            Date(row.terminPujceni),
            row.pocetDni,
            Date(row.terminVraceni),
            row.cenaPujcka,
            Stamp(row.dPujceni),
            Text(row.uzivPujcil),
            Date(row.dVraceni),
            Text(row.infoVraceni),
            Text(row.duvodReklamace),
            Text(row.uzivVraceno),
            Date(row.prodlouzeniDo)};
}

QStringList ReservationColumns() {
    return {QStringLiteral("KOD_TITUL"), QStringLiteral("TYP_NOSICE"),     QStringLiteral("NAZEV_CESKY"),
            QStringLiteral("EAN_KOD"),   QStringLiteral("TERMIN_PUJCENI"), QStringLiteral("TERMIN_VRACENI"),
            QStringLiteral("D_REZERV"),  QStringLiteral("UZIV_REZERV"),    QStringLiteral("PUJCENO")};
}

QStringList ReservationTitles() {
    return {{},
            QStringLiteral("Typ"),
            QStringLiteral("Rezervovaný titul"),
            QStringLiteral("EAN kód"),
            QStringLiteral("Termín půjčení"),
            QStringLiteral("Termín vrácení"),
            QStringLiteral("Datum rezervace"),
            QStringLiteral("Rezervoval"),
            {}};
}

QVariantList ReservationRecord(const TReservationRow& row) {
    return {
        row.kodTitul,       row.typNosice,           row.nazevCesky,
        row.eanKod,         Date(row.terminPujceni), Date(row.terminVraceni),
        Stamp(row.dRezerv), Text(row.uzivRezerv),    row.pujceno ? QStringLiteral("A") : QStringLiteral("N")};
}

QColor LoanColour(TLoanState state) {
    switch (state) {
    case TLoanState::Overdue:
        return kRed;
    case TLoanState::OverdueBack:
        return kLightRed;
    case TLoanState::DueToday:
        return kOrange;
    case TLoanState::DueTodayBack:
    case TLoanState::RunningBack:
        return kGrey;
    case TLoanState::NewLoan:
    case TLoanState::Running:
        break;
    }
    return Qt::black;
}

QColor ReservationColour(TReservationState state) {
    switch (state) {
    case TReservationState::Fulfilled:
        return kGrey;
    case TReservationState::Current:
        return kGreen;
    case TReservationState::EndsToday:
        return kBlue;
    case TReservationState::Future:
        break;
    }
    return {};
}

} // namespace PujckyLook
