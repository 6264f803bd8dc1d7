#include "ReservationWindow.h"

#include "CodeSearch.h"
#include "GlobDB.h"
#include "GlobFunc.h"

namespace {

const QString kTitleColumns = QStringLiteral(
    "select t.KOD_TITUL, n.KOD_NOSIC, t.NAZEV_CESKY, t.EAN_KOD, t.NAZEV_ORIG, t.TYP_NOSICE, t.POCET_CELKEM, "
    "t.POCET_PRITOMNO from TITULY t join NOSICE n on (t.KOD_TITUL = n.KOD_TITUL) where n.D_ZRUSENI is null "
    "and ");

QString Day(const QDate& day) {
    return SqlDate(day);
}

TReservableTitle ReadTitle(const TQuery& query) {
    const auto field = [&](const char* name) -> const TField& {
        return query.FieldByName(QString::fromLatin1(name));
    };
    TReservableTitle title;
    title.kodTitul = field("KOD_TITUL").AsInteger();
    title.kodNosic = field("KOD_NOSIC").AsInteger();
    title.nazevCesky = field("NAZEV_CESKY").AsString();
    title.eanKod = field("EAN_KOD").AsString();
    title.nazevOrig = field("NAZEV_ORIG").AsString();
    title.typNosice = field("TYP_NOSICE").AsString();
    title.pocetCelkem = field("POCET_CELKEM").AsInteger();
    title.pocetPritomno = field("POCET_PRITOMNO").AsInteger();
    return title;
}

std::vector<TOccupied> ReadStretches(TDMGlobDB& db, TTransaction& transaction, const QString& sql) {
    std::vector<TOccupied> stretches;
    const auto query = db.OpenQuery(transaction, sql);
    for (query->Open(); !query->Eof(); query->Next())
        stretches.push_back({query->FieldByName(QStringLiteral("TERMIN_PUJCENI")).AsDate(),
                             query->FieldByName(QStringLiteral("TERMIN_VRACENI")).AsDate()});
    return stretches;
}

} // namespace

QString TitleByCodeSql(const QString& typed) {
    if (!ReadCodeSearch(typed).fullCode)
        return kTitleColumns + CodeCondition(QStringLiteral("n.EAN_KOD"), typed);
    // A full code is a medium's label or the title's own code. Each alternative is a select of its
    // own under the condition on retired media: joined by "or" they would keep the index on the
    // label from serving, and a label scanned comes first. The titles lead the join of the second
    // (hence "+ 0"), so each title is read once instead of once per medium.
    return kTitleColumns + CodeCondition(QStringLiteral("n.EAN_KOD"), typed) + QStringLiteral(" union all ") +
           QStringLiteral(
               "select t.KOD_TITUL, n.KOD_NOSIC, t.NAZEV_CESKY, t.EAN_KOD, t.NAZEV_ORIG, t.TYP_NOSICE, "
               "t.POCET_CELKEM, t.POCET_PRITOMNO from TITULY t join NOSICE n on (n.KOD_TITUL = "
               "t.KOD_TITUL + 0) where n.D_ZRUSENI is null and ") +
           CodeCondition(QStringLiteral("t.EAN_KOD"), typed);
}

std::optional<TReservableTitle> FindTitleByCode(TDMGlobDB& db, TTransaction& transaction,
                                                const QString& typed) {
    const auto query = db.OpenQuery(transaction, TitleByCodeSql(typed));
    query->Open();
    if (query->Eof())
        return std::nullopt;
    return ReadTitle(*query);
}

QString TitleNotFoundText(const QString& typed) {
    return QStringLiteral("Žádný titul s EAN kódem / nosič s CN kódem ") + typed +
           QStringLiteral(" nebyl nalezen.");
}

QString TitlesByNameSql(const QString& nameText) {
    const QString folded = SqlEscape(UpperCz(nameText));
    return kTitleColumns + QStringLiteral("(Upper(NAZEV_CESKY) like '%") + folded +
           QStringLiteral("%' or Upper(NAZEV_ORIG) like '%") + folded +
           QStringLiteral("%') order by t.NAZEV_CESKY, t.KOD_TITUL, n.KOD_NOSIC");
}

std::vector<TReservableTitle> FindTitlesByName(TDMGlobDB& db, TTransaction& transaction,
                                               const QString& nameText) {
    std::vector<TReservableTitle> titles;
    const auto query = db.OpenQuery(transaction, TitlesByNameSql(nameText));
    for (query->Open(); !query->Eof(); query->Next())
        titles.push_back(ReadTitle(*query));
    return titles;
}

QString NameFilterText(const QString& nameText) {
    return QStringLiteral("Několik záznamů odpovídá filtru \"") + nameText + QStringLiteral("\".");
}

QString NameNotFoundText() {
    return QStringLiteral("Nebyl nalezen žádný záznam.");
}

QString NamePositionText(int row, int count) {
    return QStringLiteral("%1 / %2").arg(row).arg(count);
}

QString MediaOfTitleSql(int kodTitul) {
    return QStringLiteral("select KOD_NOSIC from NOSICE where KOD_TITUL = ") + QString::number(kodTitul) +
           QStringLiteral(" and D_ZRUSENI is null order by KOD_NOSIC");
}

int FirstMediumOfTitle(TDMGlobDB& db, TTransaction& transaction, int kodTitul) {
    const auto query = db.OpenQuery(transaction, MediaOfTitleSql(kodTitul));
    query->Open();
    return query->Eof() ? -1 : query->FieldByName(QStringLiteral("KOD_NOSIC")).AsInteger();
}

QString WindowReservationsSql(int kodTitul, int kodZak, const QDate& start) {
    // Nearly every reservation ends after today, so the index on the end day would only add reads
    // to the title's few rows: "+ 0" keeps it out of the plan.
    return QStringLiteral("select TERMIN_PUJCENI, TERMIN_VRACENI from REZERVACE where KOD_TITUL = ") +
           QString::number(kodTitul) + QStringLiteral(" and ") + QStringLiteral("KOD_ZAK <> ") +
           QString::number(kodZak) + QStringLiteral(" and ") + QStringLiteral("TERMIN_VRACENI + 0 >= ") +
           Day(start) + QStringLiteral(" and ") + QStringLiteral("TERMIN_PUJCENI < ") +
           Day(start.addDays(kWindowDays));
}

QString WindowLoansSql(int kodTitul, const QDate& start) {
    return QStringLiteral("select TERMIN_PUJCENI, TERMIN_VRACENI from PUJCKY where KOD_TITUL = ") +
           QString::number(kodTitul) + QStringLiteral(" and ") + QStringLiteral("D_VRACENI is null and ") +
           QStringLiteral("TERMIN_VRACENI >= ") + Day(start) + QStringLiteral(" and ") +
           QStringLiteral("TERMIN_PUJCENI < ") + Day(start.addDays(kWindowDays));
}

std::vector<TFreeDay> CountFreeDays(const QDate& start, int pocetCelkem,
                                    const std::vector<TOccupied>& occupied) {
    std::vector<TFreeDay> days;
    for (int i = 0; i < kWindowDays; ++i)
        days.push_back({start.addDays(i), pocetCelkem});
    for (const TOccupied& stretch : occupied)
        for (TFreeDay& day : days)
            if (stretch.first <= day.day && day.day < stretch.end)
                --day.pocet;
    return days;
}

std::vector<TFreeDay> FreeDays(TDMGlobDB& db, TTransaction& transaction, int kodTitul, int kodZak,
                               int pocetCelkem, const QDate& start) {
    std::vector<TOccupied> occupied =
        ReadStretches(db, transaction, WindowReservationsSql(kodTitul, kodZak, start));
    const std::vector<TOccupied> loans = ReadStretches(db, transaction, WindowLoansSql(kodTitul, start));
    occupied.insert(occupied.end(), loans.begin(), loans.end());
    return CountFreeDays(start, pocetCelkem, occupied);
}

bool Choosable(const TFreeDay& day, const QDate& today) {
    return day.pocet > 0 && day.day >= today;
}

int FirstChoosable(const std::vector<TFreeDay>& days, const QDate& today) {
    for (std::size_t i = 0; i < days.size(); ++i)
        if (Choosable(days[i], today))
            return static_cast<int>(i);
    return -1;
}

int DefaultReservationLength(TSpecCena& prices, const QDate& first, int pocetCelkem,
                             const TReservationsStarting& reservedByOthers) {
    return DefaultLoanOffer(prices, first, pocetCelkem, reservedByOthers).days;
}

QString ReservationsCoveringSql(int kodTitul, int kodZak, const QDate& day) {
    // The title's key finds its few rows; "+ 0" keeps the index on the end day out, as above.
    return QStringLiteral("select count(KOD_TITUL) as POCET from REZERVACE where KOD_TITUL = ") +
           QString::number(kodTitul) + QStringLiteral(" and ") + QStringLiteral("KOD_ZAK <> ") +
           QString::number(kodZak) + QStringLiteral(" and ") + QStringLiteral("TERMIN_PUJCENI <= ") +
           Day(day) + QStringLiteral(" and ") + QStringLiteral("TERMIN_VRACENI + 0 >= ") +
           Day(day.addDays(1));
}

int ReservationsCoveringByOthers(TDMGlobDB& db, TTransaction& transaction, int kodTitul, int kodZak,
                                 const QDate& day) {
    const auto query = db.OpenQuery(transaction, ReservationsCoveringSql(kodTitul, kodZak, day));
    query->Open();
    return query->FieldByName(QStringLiteral("POCET")).AsInteger();
}
