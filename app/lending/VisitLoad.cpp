#include "VisitLoad.h"

#include "CustomerSql.h"
#include "GlobDB.h"
#include "GlobFunc.h"

QString TCounterCustomer::DisplayName() const {
    QString name;
    if (!titulPred.isEmpty())
        name = titulPred + u' ';
    name += (jmeno + u' ' + prijmeni).trimmed();
    if (!titulZa.isEmpty())
        name += QStringLiteral(", ") + titulZa;
    return name;
}

QString TCounterCustomer::Address() const {
    QString address = adrUlice;
    if (!address.isEmpty() && !adrObec.isEmpty())
        address += QStringLiteral(", ");
    address += adrObec;
    if (!address.isEmpty() && !adrPsc.isEmpty())
        address += QStringLiteral(", ");
    return address + adrPsc;
}

QString CounterCustomerSql(int kodZak) {
    return QStringLiteral("select JMENO, PRIJMENI, TITUL_PRED, TITUL_ZA, ADR_ULICE, ADR_PSC, ADR_OBEC,  "
                          "D_REGISTRACE, FOTO, POZNAMKY, D_UKONCENI, POCET_PUJCEK, VIP, CENA_VIP_DVD, "
                          "CENA_VIP_VHS from ZAKAZNICI where KOD_ZAK = ") +
           QString::number(kodZak);
}

std::optional<TCounterCustomer> LoadCounterCustomer(TDMGlobDB& db, TTransaction& transaction, int kodZak) {
    const auto query = db.OpenQuery(transaction, CounterCustomerSql(kodZak));
    query->Open();
    if (query->Eof())
        return std::nullopt;
    const auto field = [&](const char* name) -> const TField& {
        return query->FieldByName(QString::fromLatin1(name));
    };
    TCounterCustomer c;
    c.kodZak = kodZak;
    c.jmeno = field("JMENO").AsString();
    c.prijmeni = field("PRIJMENI").AsString();
    c.titulPred = field("TITUL_PRED").AsString();
    c.titulZa = field("TITUL_ZA").AsString();
    c.adrUlice = field("ADR_ULICE").AsString();
    c.adrPsc = field("ADR_PSC").AsString();
    c.adrObec = field("ADR_OBEC").AsString();
    c.dRegistrace = field("D_REGISTRACE").AsDateTime();
    c.foto = field("FOTO").AsBytes();
    c.poznamky = field("POZNAMKY").AsString();
    c.ended = !field("D_UKONCENI").IsNull();
    c.pocetPujcek = field("POCET_PUJCEK").AsInteger();
    c.prices.vip = field("VIP").AsString() == QStringLiteral("A");
    c.prices.vipDvd = field("CENA_VIP_DVD").AsFloat();
    c.prices.vipVhs = field("CENA_VIP_VHS").AsFloat();
    return c;
}

// A loan lent by a user who is gone still belongs in the cart: the user is joined, not required.
QString LoansOnRecordSql(int kodZak) {
    return QStringLiteral(
               "select t.KOD_TITUL, n.KOD_NOSIC, t.TYP_NOSICE, t.NAZEV_CESKY, n.EAN_KOD, p.TERMIN_PUJCENI, "
               "p.TERMIN_VRACENI, ") +
           SqlFullName(QStringLiteral("up")) +
           QStringLiteral(
               " as UZIV_PUJCIL, p.D_PUJCENI, p.CENA_PUJCKA, p.INFO_VRACENI from PUJCKY p join NOSICE n "
               "on (p.KOD_NOSIC = n.KOD_NOSIC) join TITULY t on (t.KOD_TITUL = n.KOD_TITUL) left join "
               "UZIVATELE up on (p.UZIV_PUJCIL = up.KOD_UZIV) where KOD_ZAK = ") +
           QString::number(kodZak) +
           QStringLiteral(" and D_VRACENI is null order by p.TERMIN_VRACENI, n.EAN_KOD");
}

std::vector<TCartRow> LoadLoansOnRecord(TDMGlobDB& db, TTransaction& transaction, int kodZak) {
    const auto query = db.OpenQuery(transaction, LoansOnRecordSql(kodZak));
    query->Open();
    std::vector<TCartRow> rows;
    for (; !query->Eof(); query->Next()) {
        const auto field = [&](const char* name) -> const TField& {
            return query->FieldByName(QString::fromLatin1(name));
        };
        TCartRow row;
        row.kodTitul = field("KOD_TITUL").AsInteger();
        row.kodNosic = field("KOD_NOSIC").AsInteger();
        row.typNosice = field("TYP_NOSICE").AsString();
        row.nazevCesky = field("NAZEV_CESKY").AsString();
        row.eanKod = field("EAN_KOD").AsString();
        row.terminPujceni = field("TERMIN_PUJCENI").AsDate();
        row.terminVraceni = field("TERMIN_VRACENI").AsDate();
        row.uzivPujcil = field("UZIV_PUJCIL").AsString();
        row.dPujceni = field("D_PUJCENI").AsDateTime();
        row.cenaPujcka = field("CENA_PUJCKA").AsFloat();
        row.infoVraceni = field("INFO_VRACENI").AsString();
        rows.push_back(std::move(row));
    }
    return rows;
}

QString ReservationsSql(int kodZak) {
    return QStringLiteral("select t.KOD_TITUL, t.TYP_NOSICE, t.NAZEV_CESKY, t.EAN_KOD, r.TERMIN_PUJCENI, "
                          "r.TERMIN_VRACENI, r.D_REZERV, ") +
           SqlFullName(QStringLiteral("ur")) +
           QStringLiteral(
               " as UZIV_REZERV from REZERVACE r join TITULY t on (r.KOD_TITUL = t.KOD_TITUL) left join "
               "UZIVATELE ur on (r.UZIV_REZERV = ur.KOD_UZIV) where KOD_ZAK = ") +
           QString::number(kodZak) + QStringLiteral(" order by r.TERMIN_PUJCENI, t.EAN_KOD");
}

std::vector<TReservationRow> LoadReservations(TDMGlobDB& db, TTransaction& transaction, int kodZak) {
    const auto query = db.OpenQuery(transaction, ReservationsSql(kodZak));
    query->Open();
    std::vector<TReservationRow> rows;
    for (; !query->Eof(); query->Next()) {
        const auto field = [&](const char* name) -> const TField& {
            return query->FieldByName(QString::fromLatin1(name));
        };
        TReservationRow row;
        row.kodTitul = field("KOD_TITUL").AsInteger();
        row.typNosice = field("TYP_NOSICE").AsString();
        row.nazevCesky = field("NAZEV_CESKY").AsString();
        row.eanKod = field("EAN_KOD").AsString();
        row.terminPujceni = field("TERMIN_PUJCENI").AsDate();
        row.terminVraceni = field("TERMIN_VRACENI").AsDate();
        row.uzivRezerv = field("UZIV_REZERV").AsString();
        row.dRezerv = field("D_REZERV").AsDateTime();
        row.storedTerminPujceni = row.terminPujceni;
        rows.push_back(std::move(row));
    }
    return rows;
}

bool ReservedForOthersToday(TDMGlobDB& db, TTransaction& transaction, int kodTitul, int kodZak) {
    const auto query = db.OpenQuery(
        transaction,
        QStringLiteral(
            "select count(r.KOD_TITUL) as POCET, t.POCET_PRITOMNO from REZERVACE r join TITULY t on "
            "(r.KOD_TITUL = t.KOD_TITUL) where r.KOD_TITUL = ") +
            QString::number(kodTitul) +
            QStringLiteral(
                " and r.TERMIN_PUJCENI <= CURRENT_DATE and r.TERMIN_VRACENI >= (CURRENT_DATE + 1) and "
                "r.KOD_ZAK <> ") +
            QString::number(kodZak) + QStringLiteral(" group by t.POCET_PRITOMNO"));
    query->Open();
    return !query->Eof() && query->FieldByName(QStringLiteral("POCET")).AsInteger() >=
                                query->FieldByName(QStringLiteral("POCET_PRITOMNO")).AsInteger();
}

std::optional<TNextReservation> NextReservation(TDMGlobDB& db, TTransaction& transaction, int kodTitul) {
    const auto query = db.OpenQuery(
        transaction,
        QStringLiteral("select z.PRIJMENI, z.JMENO, z.EAN_KOD, r.TERMIN_PUJCENI, r.TERMIN_VRACENI from "
                       "REZERVACE r join ZAKAZNICI z on (r.KOD_ZAK = z.KOD_ZAK) where r.KOD_TITUL = ") +
            QString::number(kodTitul) +
            // Not yet over, as lending counts them: one that has begun wants the medium most.
            QStringLiteral(" and r.TERMIN_VRACENI >= (CURRENT_DATE + 1) order by r.TERMIN_PUJCENI"));
    query->Open();
    if (query->Eof())
        return std::nullopt;
    const auto field = [&](const char* name) -> const TField& {
        return query->FieldByName(QString::fromLatin1(name));
    };
    return TNextReservation{field("JMENO").AsString(), field("PRIJMENI").AsString(),
                            field("EAN_KOD").AsString(), field("TERMIN_PUJCENI").AsDate(),
                            field("TERMIN_VRACENI").AsDate()};
}

std::optional<int> FindCustomerByCode(TDMGlobDB& db, TTransaction& transaction, const QString& typed) {
    QString sql;
    if (typed.size() > 6) {
        sql = QStringLiteral("select KOD_ZAK from ZAKAZNICI where EAN_KOD = ") + SqlText(typed.trimmed());
    } else {
        bool ok = false;
        const int number = typed.trimmed().toInt(&ok);
        sql = QStringLiteral("select KOD_ZAK from ZAKAZNICI where KOD_ZAK = ") +
              QString::number(ok ? number : -1);
    }
    const auto query = db.OpenQuery(transaction, sql);
    query->Open();
    if (query->Eof())
        return std::nullopt;
    return query->FieldByName(QStringLiteral("KOD_ZAK")).AsInteger();
}
