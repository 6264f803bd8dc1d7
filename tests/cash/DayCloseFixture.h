#pragma once

#include "CashDeskFixture.h"
#include "GlobFunc.h"

// A shop's day around the server's today, written as the counter writes it: receipts with
// their lines (the database sums them), deposits re-booked as the deposit dialogs do, cash
// movements, loans and reservations.
class DayCloseFixture : public CashFixture {
protected:
    QDate Day(int offset) const { return today.addDays(offset); }
    QString Stamp(int offset, const QString& time) const {
        return u'\'' + DateToText(QStringLiteral("yyyy-mm-dd"), Day(offset)) + u' ' + time + u'\'';
    }
    // Lines of one day each: {VAT class, price without VAT, price with VAT}.
    struct TLine {
        char dph;
        double cena;
        double cenaDph;
    };
    void Receipt(int key, int offset, const QString& time, std::initializer_list<TLine> lines,
                 const QString& cancelled = QStringLiteral("null")) {
        database.Exec(QStringLiteral("insert into DOKLADY (KOD_DOK, CISLO_DOK, D_UZP, D_VYSTAVENI, D_STORNO) "
                                     "values (%1, %1, %2, %3, %4)")
                          .arg(key)
                          .arg(SqlDate(Day(offset)), Stamp(offset, time), cancelled));
        for (const TLine& line : lines)
            database.Exec(QStringLiteral("insert into RADKY_DOK (KOD_RAD, KOD_DOK, DPH, CENA, CENA_DPH, "
                                         "POCET_DNI) values (%1, %2, '%3', %4, %5, 1)")
                              .arg(++lineKey)
                              .arg(key)
                              .arg(QChar::fromLatin1(line.dph))
                              .arg(FloatToSql(line.cena), FloatToSql(line.cenaDph)));
    }
    void DepositRow(int kodZak, const QString& taken, double castka, const QString& returned) {
        database.Exec(
            QStringLiteral(
                "insert into ZALOHY (KOD_ZAK, D_PREVZETI, CASTKA, D_VRACENI) values (%1, %2, %3, %4)")
                .arg(kodZak)
                .arg(taken, FloatToSql(castka), returned));
    }
    void Cash(int offset, const QString& time, double castka) {
        database.Exec(QStringLiteral("insert into HOTOVOST (DATUM, CASTKA, UZIV_ZAPSAL) values (%1, %2, 1)")
                          .arg(Stamp(offset, time), FloatToSql(castka)));
    }
    void Loan(int kodNosic, const QString& lent, const QDate& due, const QString& returned) {
        database.Exec(QStringLiteral("insert into PUJCKY (KOD_TITUL, KOD_NOSIC, KOD_ZAK, D_PUJCENI, "
                                     "TERMIN_VRACENI, D_VRACENI) values (1, %1, 1, %2, %3, %4)")
                          .arg(kodNosic)
                          .arg(lent, SqlDate(due), returned));
    }
    void Reservation(int kodTitul, int fromOffset, int toOffset) {
        database.Exec(QStringLiteral("insert into REZERVACE (KOD_TITUL, KOD_ZAK, TERMIN_PUJCENI, "
                                     "TERMIN_VRACENI) values (%1, 1, %2, %3)")
                          .arg(kodTitul)
                          .arg(SqlDate(Day(fromOffset)), SqlDate(Day(toOffset))));
    }
    void StoredClose(int offset, double balance, const QString& time = QStringLiteral("20:00:00")) {
        database.Exec(
            QStringLiteral("insert into TRZBY (DATUM, TRZBA, POKLADNA, D_UZAVRENI, UZIV_UZAVREL) values (") +
            SqlDate(Day(offset)) + QStringLiteral(", 0, ") + FloatToSql(balance) + QStringLiteral(", ") +
            Stamp(offset, time) + QStringLiteral(", 1)"));
    }
    // One stored close row: DATUM|ZALOHA_PREV|ZALOHA_VRAC|NOSIC_PUJC|NOSIC_VRAC|TRZBA|HOT_DOTACE|
    // HOT_ODVOD|POKLADNA, amounts with two decimals.
    std::string Row(int offset) {
        TTransaction transaction(db.DB);
        auto query = db.OpenQuery(transaction, QStringLiteral("select * from TRZBY where DATUM = ") +
                                                   SqlDate(Day(offset)));
        query->Open();
        if (query->Eof())
            return "<none>";
        QStringList cells{
            DateToText(QStringLiteral("yyyy-mm-dd"), query->FieldByName(QStringLiteral("DATUM")).AsDate())};
        for (const char* column : {"ZALOHA_PREV", "ZALOHA_VRAC", "NOSIC_PUJC", "NOSIC_VRAC", "TRZBA",
                                   "HOT_DOTACE", "HOT_ODVOD", "POKLADNA"}) {
            const TField& field = query->FieldByName(QString::fromLatin1(column));
            cells << (QByteArray(column).startsWith("NOSIC") ? QString::number(field.AsInteger())
                                                             : QString::number(field.AsFloat(), 'f', 2));
        }
        return cells.join(u'|').toStdString();
    }
    std::string Expected(int offset, const QString& values) {
        return (DateToText(QStringLiteral("yyyy-mm-dd"), Day(offset)) + u'|' + values).toStdString();
    }
    QDateTime ClosedAt(int offset) {
        return database
            .Scalar(QStringLiteral("select D_UZAVRENI from TRZBY where DATUM = ") + SqlDate(Day(offset)))
            .toDateTime();
    }
    int Closes() { return database.Scalar(QStringLiteral("select count(*) from TRZBY")).toInt(); }
    QStringList ReservationEnds() {
        TTransaction transaction(db.DB);
        auto query = db.OpenQuery(
            transaction, QStringLiteral("select TERMIN_VRACENI from REZERVACE order by TERMIN_VRACENI"));
        query->Open();
        QStringList ends;
        for (; !query->Eof(); query->Next())
            ends << QString::number(
                Day(0).daysTo(query->FieldByName(QStringLiteral("TERMIN_VRACENI")).AsDate()));
        return ends;
    }
    int Admin() const { return context.CurrentUser.KodUziv; }

    TDMGlobDB& db = context.Db();
    int lineKey = 0;
    QDate today = database.Scalar(QStringLiteral("select current_date from rdb$database")).toDate();
};
