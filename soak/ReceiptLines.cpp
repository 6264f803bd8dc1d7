#include "ReceiptLines.h"

#include "GlobDB.h"

#include <QDate>

#include <array>
#include <cmath>
#include <map>
#include <utility>
#include <vector>

namespace {

// The loan's times as text to the ten-thousandth of a second: a line is paired with its loan by
// these values, and the text compares them exactly.
struct TLoan {
    int kodNosic = 0;
    int kodZak = 0;
    int kodTitul = 0;
    QString lent;     // D_PUJCENI
    QString dueStamp; // TERMIN_VRACENI as the late line's start
    QDate from;
    QDate due;
    QDate returned;
    double price = 0;
};

struct TLine {
    int kodRad = 0;
    int kodDok = 0;
    int kodZak = 0;
    int kodNosic = 0;
    int kodTitul = 0;
    QString from;
    QDate to;
    double cena = 0;
    QString dph;
    double cenaDph = 0;
    int days = 0;
    double total = 0;
    double totalDph = 0;
};

// The shop's VAT class and charged weekdays, read here as the settings desk stores them.
struct TRentSettings {
    QString vatClass;
    double rate = 0;
    std::array<bool, 7> charged{}; // Monday first
};

TRentSettings ReadSettings(TDMGlobDB& db, TTransaction& tr) {
    auto query =
        db.OpenQuery(tr, QStringLiteral("select DPH_A, DPH_B, DPH_PUJCKA, PLAT_PO, PLAT_UT, PLAT_ST, "
                                        "PLAT_CT, PLAT_PA, PLAT_SO, PLAT_NE from SPEC_CENA"));
    query->Open();
    TRentSettings settings;
    if (query->Eof())
        return settings;
    settings.vatClass = query->Fields(2).AsString();
    settings.rate = settings.vatClass == QStringLiteral("A")   ? query->Fields(0).AsFloat()
                    : settings.vatClass == QStringLiteral("B") ? query->Fields(1).AsFloat()
                                                               : 0;
    for (int day = 0; day < 7; ++day)
        settings.charged[static_cast<std::size_t>(day)] =
            query->Fields(3 + day).AsString() == QStringLiteral("A");
    return settings;
}

// The first day is always charged; of the days between the first and the last, the charged
// weekdays; the last day, when the medium comes back, is not.
int ChargedDays(const TRentSettings& settings, const QDate& first, const QDate& last) {
    if (!first.isValid() || !last.isValid())
        return 1;
    int days = 1;
    for (QDate day = first.addDays(1); day < last; day = day.addDays(1))
        days += settings.charged[static_cast<std::size_t>(day.dayOfWeek() - 1)] ? 1 : 0;
    return days;
}

std::vector<TLoan> ReadLoans(TDMGlobDB& db, TTransaction& tr) {
    auto query = db.OpenQuery(
        tr, QStringLiteral("select KOD_NOSIC, KOD_ZAK, KOD_TITUL, cast(D_PUJCENI as varchar(24)), "
                           "cast(cast(TERMIN_VRACENI as timestamp) as varchar(24)), TERMIN_PUJCENI, "
                           "TERMIN_VRACENI, cast(D_VRACENI as date), coalesce(CENA_PUJCKA, 0) from PUJCKY"));
    query->Open();
    std::vector<TLoan> loans;
    for (; !query->Eof(); query->Next())
        loans.push_back({query->Fields(0).AsInteger(), query->Fields(1).AsInteger(),
                         query->Fields(2).AsInteger(), query->Fields(3).AsString(),
                         query->Fields(4).AsString(), query->Fields(5).AsDate(), query->Fields(6).AsDate(),
                         query->Fields(7).AsDate(), query->Fields(8).AsFloat()});
    return loans;
}

std::vector<TLine> ReadLines(TDMGlobDB& db, TTransaction& tr) {
    auto query = db.OpenQuery(
        tr, QStringLiteral("select r.KOD_RAD, r.KOD_DOK, d.KOD_ZAK, r.KOD_NOSIC, r.KOD_TITUL, "
                           "cast(r.D_PUJCENI as varchar(24)), r.D_VRACENI, coalesce(r.CENA, 0), r.DPH, "
                           "coalesce(r.CENA_DPH, 0), coalesce(r.POCET_DNI, 0), coalesce(r.CENA_RADKU, 0), "
                           "coalesce(r.CENA_RADKU_DPH, 0) from RADKY_DOK r join DOKLADY d on "
                           "(d.KOD_DOK = r.KOD_DOK) order by r.KOD_RAD"));
    query->Open();
    std::vector<TLine> lines;
    for (; !query->Eof(); query->Next())
        lines.push_back({query->Fields(0).AsInteger(), query->Fields(1).AsInteger(),
                         query->Fields(2).AsInteger(), query->Fields(3).AsInteger(),
                         query->Fields(4).AsInteger(), query->Fields(5).AsString(), query->Fields(6).AsDate(),
                         query->Fields(7).AsFloat(), query->Fields(8).AsString(), query->Fields(9).AsFloat(),
                         query->Fields(10).AsInteger(), query->Fields(11).AsFloat(),
                         query->Fields(12).AsFloat()});
    return lines;
}

bool Near(double a, double b) {
    return std::abs(a - b) < 0.0051;
}

// What the line billing this loan must hold: its days, and its price with VAT, negative for the
// complaint that gives the rent back.
struct TExpected {
    bool pairs = false;
    int days = 0;
    double gross = 0;
    QDate to;
};

TExpected Expect(const TRentSettings& settings, const TLine& line, const TLoan& loan) {
    if (line.from == loan.lent)
        return {true, ChargedDays(settings, loan.from, loan.due), line.cenaDph < 0 ? -loan.price : loan.price,
                loan.due};
    if (line.from == loan.dueStamp && loan.returned.isValid() && line.to == loan.returned)
        return {true, ChargedDays(settings, loan.due, loan.returned), loan.price, loan.returned};
    return {};
}

QString Mismatch(const TRentSettings& settings, const TLine& line, const TLoan& loan, const TExpected& e) {
    const double net = e.gross / (1 + settings.rate / 100);
    QStringList wrong;
    if (!Near(line.cenaDph, e.gross) || !Near(line.totalDph, e.gross * e.days))
        wrong << QStringLiteral("s DPH %1 × %2, čekáno %3 × %4")
                     .arg(line.cenaDph)
                     .arg(line.days)
                     .arg(e.gross)
                     .arg(e.days);
    if (!Near(line.cena, net) || !Near(line.total, line.cena * e.days))
        wrong << QStringLiteral("bez DPH %1, čekáno %2").arg(line.cena).arg(net, 0, 'f', 2);
    if (line.days != e.days)
        wrong << QStringLiteral("dní %1, čekáno %2").arg(line.days).arg(e.days);
    if (line.dph != settings.vatClass)
        wrong << QStringLiteral("sazba '%1', čekáno '%2'").arg(line.dph, settings.vatClass);
    if (line.kodTitul != loan.kodTitul || line.to != e.to)
        wrong << QStringLiteral("titul %1 do %2, půjčka titulu %3 do %4")
                     .arg(line.kodTitul)
                     .arg(line.to.toString(Qt::ISODate))
                     .arg(loan.kodTitul)
                     .arg(e.to.toString(Qt::ISODate));
    return wrong.join(QStringLiteral("; "));
}

QString LineName(const TLine& line) {
    return QStringLiteral("řádek %1 dokladu %2").arg(line.kodRad).arg(line.kodDok);
}

} // namespace

QStringList ReceiptLineOffenders(TDMGlobDB& db, TTransaction& transaction) {
    const TRentSettings settings = ReadSettings(db, transaction);
    std::map<std::pair<int, int>, std::vector<TLoan>> byMediumAndCustomer;
    for (TLoan& loan : ReadLoans(db, transaction))
        byMediumAndCustomer[{loan.kodNosic, loan.kodZak}].push_back(std::move(loan));
    QStringList offenders;
    for (const TLine& line : ReadLines(db, transaction)) {
        QString mismatch = QStringLiteral("žádná půjčka nosiče %1 zákazníka %2 od %3")
                               .arg(line.kodNosic)
                               .arg(line.kodZak)
                               .arg(line.from);
        // Two loans of one medium to one customer may share a due day and a return day: the
        // line is right when it bills either of them right.
        for (const TLoan& loan : byMediumAndCustomer[{line.kodNosic, line.kodZak}]) {
            const TExpected expected = Expect(settings, line, loan);
            if (!expected.pairs)
                continue;
            mismatch = Mismatch(settings, line, loan, expected);
            if (mismatch.isEmpty())
                break;
        }
        if (!mismatch.isEmpty())
            offenders << LineName(line) + QStringLiteral(": ") + mismatch;
    }
    return offenders;
}

QStringList RentLineOffenders(TDMGlobDB& db, TTransaction& transaction) {
    std::map<std::pair<int, QString>, int> rentLines; // (KOD_NOSIC, D_PUJCENI) → positive lines
    for (const TLine& line : ReadLines(db, transaction))
        if (line.cenaDph > 0)
            ++rentLines[{line.kodNosic, line.from}];
    QStringList offenders;
    for (const TLoan& loan : ReadLoans(db, transaction)) {
        const auto found = rentLines.find({loan.kodNosic, loan.lent});
        const int count = found == rentLines.end() ? 0 : found->second;
        if (count > 1 || (loan.price > 0 && count != 1))
            offenders << QStringLiteral("půjčka nosiče %1 od %2: řádků půjčovného %3")
                             .arg(loan.kodNosic)
                             .arg(loan.lent)
                             .arg(count);
    }
    return offenders;
}
