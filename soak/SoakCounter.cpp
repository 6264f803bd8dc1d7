#include "SoakCounter.h"

#include "DayClose.h"
#include "Deposits.h"
#include "Documents.h"
#include "FilmySave.h"
#include "GlobDB.h"
#include "GlobFunc.h"
#include "MediumLookup.h"
#include "Money.h"
#include "PieceJournal.h"
#include "PriceSettings.h"
#include "Pricing.h"
#include "Takings.h"
#include "Till.h"
#include "Visit.h"
#include "VisitLoad.h"
#include "VisitPayment.h"

#include <QRegularExpression>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <optional>
#include <random>
#include <utility>

namespace {

QString Key(int key) {
    return QString::number(key);
}

std::vector<int> Keys(TDMGlobDB& db, TTransaction& tr, const QString& sql) {
    std::vector<int> keys;
    auto query = db.OpenQuery(tr, sql);
    query->Open();
    for (; !query->Eof(); query->Next())
        keys.push_back(query->Fields(0).AsInteger());
    return keys;
}

QStringList Texts(TDMGlobDB& db, TTransaction& tr, const QString& sql) {
    QStringList texts;
    auto query = db.OpenQuery(tr, sql);
    query->Open();
    for (; !query->Eof(); query->Next())
        texts << query->Fields(0).AsString();
    return texts;
}

QDate ServerToday(TDMGlobDB& db, TTransaction& tr) {
    return db.ServerTime(tr).date();
}

int Hundredths(double amount) {
    return static_cast<int>(std::lround(amount * 100));
}

const QString kDepositNote = QStringLiteral("Soak '%' _ \\ záloha");

// A new loan as the counter puts it into the cart: the customer's price after the discount.
TCartRow NewLoan(TDMGlobDB& db, TTransaction& tr, const TCounterCustomer& customer,
                 const TMediumToLend& medium, const QDate& first, const QDate& due) {
    TCartRow row;
    row.kodTitul = medium.kodTitul;
    row.kodNosic = medium.kodNosic;
    row.typNosice = medium.typNosice;
    row.nazevCesky = medium.nazevCesky;
    row.eanKod = medium.eanKod;
    row.terminPujceni = first;
    row.terminVraceni = due;
    row.cenaPujcka = RentPerDay(BaseRent(customer.prices, medium.typNosice, medium.cenaPujcka),
                                DiscountFor(db, tr, customer.pocetPujcek), customer.prices.vip);
    return row;
}

class TCounter {
public:
    TCounter(TDMGlobDB& db, int kodUziv, unsigned run, const TPayingNotice& paying, TSoakMix mix,
             const TJournalNotice& journal)
        : db_(db), prices_(db), kodUziv_(kodUziv), run_(run), random_(run), paying_(paying), mix_(mix),
          journal_(journal) {
        TTransaction tr(db_.DB);
        customers_ = Keys(db_, tr, QStringLiteral("select KOD_ZAK from ZAKAZNICI order by KOD_ZAK"));
        mediumCodes_ = Texts(db_, tr, QStringLiteral("select EAN_KOD from NOSICE order by KOD_NOSIC"));
        titles_ = Keys(db_, tr, QStringLiteral("select KOD_TITUL from TITULY order by KOD_TITUL"));
        titleNames_ = Texts(db_, tr, QStringLiteral("select NAZEV_CESKY from TITULY order by KOD_TITUL"));
        tr.Commit();
    }

    TSoakTally Serve(int pieces) {
        for (int i = 0; i < pieces; ++i) {
            const int dice = Uniform(0, 99);
            const TSoakWork work = mix_.closes && dice < 3                     ? TSoakWork::Close
                                   : mix_.retirements && dice >= 3 && dice < 5 ? TSoakWork::Retirement
                                   : dice < 68                                 ? TSoakWork::Visit
                                   : dice < 80                                 ? TSoakWork::Cancellation
                                   : dice < 86                                 ? TSoakWork::CashMovement
                                   : dice < 93                                 ? TSoakWork::DepositTaken
                                                                               : TSoakWork::DepositReturned;
            const QString id = QStringLiteral("%1-%2").arg(run_).arg(i);
            Piece(id, tally_[work], [this, work](TSoakFigures& figures) { Do(work, figures); });
            // What the clerk does next at once is a piece of its own.
            for (int next = 0; next < static_cast<int>(followUps_.size()); ++next) {
                auto [suffix, figures, followUp] = followUps_[static_cast<std::size_t>(next)];
                Piece(id + suffix, *figures, followUp);
            }
            followUps_.clear();
        }
        return tally_;
    }

private:
    using TWork = std::function<void(TSoakFigures&)>;
    struct TFollowUp {
        QString suffix;
        TSoakFigures* figures;
        TWork work;
    };

    void Do(TSoakWork work, TSoakFigures& figures) {
        switch (work) {
        case TSoakWork::Visit:
            Visit(figures);
            break;
        case TSoakWork::Cancellation:
            Cancellation(figures);
            break;
        case TSoakWork::CashMovement:
            CashMovement(figures);
            break;
        case TSoakWork::DepositTaken:
            TakeDeposit(figures);
            break;
        case TSoakWork::DepositReturned:
            ReturnDeposit(figures);
            break;
        case TSoakWork::Close:
            Close(figures);
            break;
        case TSoakWork::Retirement:
            Retire(figures);
            break;
        case TSoakWork::Count:
            break;
        }
    }

    // One piece with its identity journalled before and its outcome after, as its figures tell.
    void Piece(const QString& id, TSoakFigures& figures, const TWork& work) {
        const TSoakFigures before = figures;
        uncertain_ = false;
        Journal(QStringLiteral("B ") + id);
        ++figures.tried;
        try {
            if (journal_)
                MarkPiece(db_, id);
            work(figures);
        } catch (const EVisitConflict& conflict) {
            Refused(figures, conflict.Message());
        } catch (const ETillBusy& busy) {
            // A close is running: the clerk keeps the input and tries again in a moment. In a run
            // whose counters close nothing, no close can run meanwhile.
            if (mix_.closes)
                Refused(figures, busy.Message());
            else
                Failed(figures, busy);
        } catch (const EDatabaseError& error) {
            if (error.ConnectionLost()) {
                // The clerk is told nothing was stored and waits for the server to come back; or
                // that the commit's fate is unknown.
                const QString told = error.Message().section(QStringLiteral("\r\r"), 0, 0);
                uncertain_ =
                    told.startsWith(QStringLiteral("Spojení s databází bylo přerušeno během ukládání."));
                Refused(figures, told);
                QThread::msleep(300);
            } else if (error.Code() == EDatabaseError::kLockConflict ||
                       error.Code() == EDatabaseError::kDeadlock) {
                // Another counter holds the row: the clerk is told so and tries again.
                Refused(figures, error.Message().section(QStringLiteral("\r\r"), 0, 0));
            } else {
                Failed(figures, error);
            }
        } catch (const ECinemonError& error) {
            Failed(figures, error);
        }
        const TPieceOutcome outcome = uncertain_                         ? TPieceOutcome::Uncertain
                                      : figures.failed > before.failed   ? TPieceOutcome::Failed
                                      : figures.stored > before.stored   ? TPieceOutcome::Stored
                                      : figures.refused > before.refused ? TPieceOutcome::Refused
                                                                         : TPieceOutcome::Empty;
        Journal(QStringLiteral("E ") + id + u' ' + PieceOutcomeName(outcome));
    }
    void Journal(const QString& line) {
        if (journal_)
            journal_(line);
    }

    int Uniform(int from, int to) { return std::uniform_int_distribution<int>(from, to)(random_); }
    template <typename T> const T& Pick(const std::vector<T>& items) {
        return items[static_cast<std::size_t>(Uniform(0, static_cast<int>(items.size()) - 1))];
    }
    void Paying(bool paying) {
        if (paying_)
            paying_(paying);
    }
    // Runs a write that moves money with the driver told, whichever way it ends.
    template <typename Write> auto WhilePaying(Write write) {
        Paying(true);
        try {
            auto result = write();
            Paying(false);
            return result;
        } catch (...) {
            Paying(false);
            throw;
        }
    }
    void Failed(TSoakFigures& figures, const ECinemonError& error) {
        ++figures.failed;
        tally_.failures << error.TypeName() + QStringLiteral(": ") + error.Message();
    }
    // The clerk's message with its numbers left out, so a long run's refusals gather by kind.
    void Refused(TSoakFigures& figures, const QString& text) {
        static const QRegularExpression number(QStringLiteral("\\d+(?:[ \\x{00A0},.]\\d+)*"));
        ++figures.refused;
        ++tally_.refusals[QString(text).replace(u'\r', u' ').replace(number, QStringLiteral("#"))];
    }

    // A customer comes with some of their media back, wants a few more and a reservation.
    void Visit(TSoakFigures& figures) {
        const int kodZak = Pick(customers_);
        TVisit visit(prices_);
        TTransaction tr(db_.DB);
        const auto customer = LoadCounterCustomer(db_, tr, kodZak);
        const QDate today = ServerToday(db_, tr);
        visit.Load(kodZak, LoadLoansOnRecord(db_, tr, kodZak), LoadReservations(db_, tr, kodZak));
        for (int row = 0; row < static_cast<int>(visit.Cart().size()); ++row) {
            const int dice = Uniform(0, 9);
            if (dice < 4)
                visit.Return(row, today, QStringLiteral("Soak"), QStringLiteral("vráceno"));
            else if (dice < 5)
                visit.Complain(row, today, QStringLiteral("Soak"), QStringLiteral("nejde přehrát"));
        }
        for (int n = Uniform(0, 2); n > 0; --n) {
            // What the counter offers at this moment: a medium out on a loan or taken by other
            // customers' reservations is not put into the cart.
            const QString code = mediumCodes_[Uniform(0, mediumCodes_.size() - 1)];
            const auto medium = FindMediumToLend(db_, tr, code);
            if (!medium || FindMediumOnLoan(db_, tr, code) ||
                ReservedForOthersToday(db_, tr, medium->kodTitul, kodZak))
                continue;
            // A quarter are booked as lent some days ago, so that later visits bring them back
            // late: the late fee's pricing and lines then run under load as often as on-time ones.
            const int daysAgo = Uniform(0, 3) == 0 ? Uniform(3, 6) : 0;
            const QDate from = today.addDays(-daysAgo);
            visit.Lend(NewLoan(db_, tr, *customer, *medium, from, from.addDays(Uniform(1, 3))));
        }
        if (Uniform(0, 4) == 0) {
            TReservationRow reservation;
            const int title = Uniform(0, static_cast<int>(titles_.size()) - 1);
            reservation.kodTitul = titles_[static_cast<std::size_t>(title)];
            reservation.nazevCesky = titleNames_[title];
            reservation.terminPujceni = today.addDays(Uniform(1, 3));
            reservation.terminVraceni = reservation.terminPujceni.addDays(1);
            if (!visit.HasReservation(reservation.kodTitul, reservation.terminPujceni))
                visit.Reserve(reservation);
        }
        if (!visit.Reservations().empty() && Uniform(0, 9) == 0)
            visit.CancelReservation(0);
        tr.Commit();
        if (!visit.Pending()) {
            ++figures.empty;
            return;
        }
        const TSoakTally before = tally_;
        const TPaymentResult paid = WhilePaying([&] { return PayVisit(db_, prices_, visit, kodUziv_); });
        ++figures.stored;
        tally_.receipts += paid.receipt ? 1 : 0;
        tally_.loans += visit.NewLoans();
        for (const TCartRow& row : visit.Cart())
            if (row.IsComplaint())
                ++tally_.complaints;
            else if (row.IsBackToday())
                ++(row.IsLate() ? tally_.returnedLate : tally_.returnedOnTime);
        for (const TReservationRow& reservation : visit.Reservations())
            tally_.reservations += reservation.IsStored() ? 0 : 1;
        tally_.reservationsCancelled += static_cast<int>(visit.Cancelled().size());
        // A visit that only cancelled reservations writes nothing when another counter cancelled
        // them first: such a piece may be in the database once, or not at all.
        uncertain_ = tally_.loans == before.loans && tally_.complaints == before.complaints &&
                     tally_.returnedLate == before.returnedLate &&
                     tally_.returnedOnTime == before.returnedOnTime &&
                     tally_.reservations == before.reservations;
    }

    // A clerk cancels one of today's receipts, often one another counter is working on.
    void Cancellation(TSoakFigures& figures) {
        std::vector<std::pair<int, int>> open; // KOD_DOK, CISLO_DOK
        {
            TTransaction tr(db_.DB);
            auto query =
                db_.OpenQuery(tr, QStringLiteral("select KOD_DOK, CISLO_DOK from DOKLADY where D_STORNO "
                                                 "is null and D_UZP = CURRENT_DATE"));
            query->Open();
            for (; !query->Eof(); query->Next())
                open.emplace_back(query->Fields(0).AsInteger(), query->Fields(1).AsInteger());
            query.reset();
            tr.Commit();
        }
        if (open.empty()) {
            ++figures.empty;
            return;
        }
        const auto [kodDok, cisloDok] = Pick(open);
        const bool returnLoans = Uniform(0, 1) == 1;
        const TCancelResult result = CancelDocument(db_, kodDok, kodUziv_);
        // The receipt was listed a moment ago and receipts are never deleted; without closes in the
        // run nothing moves the cut-off past it.
        if (result.outcome == TCancelOutcome::Missing ||
            (result.outcome == TCancelOutcome::PastCutOff && !mix_.closes)) {
            ++figures.failed;
            tally_.failures << QStringLiteral("storno dokladu %1: ").arg(cisloDok) +
                                   CancelRefusalText(result.outcome, cisloDok);
        } else if (result.outcome == TCancelOutcome::Cancelled) {
            ++figures.stored;
            // The clerk's yes to the second question: the loans go back in a transaction of their own.
            if (returnLoans)
                followUps_.push_back(
                    {QStringLiteral("v"), &loanReturns_, [this, kodDok = kodDok](TSoakFigures& f) {
                         const TCancelResult returned = ReturnCancelledLoans(db_, kodDok, kodUziv_);
                         // Loans returned meanwhile at a counter leave nothing to write.
                         ++(returned.outcome != TCancelOutcome::Cancelled ? f.refused
                            : returned.loansReturned > 0                  ? f.stored
                                                                          : f.empty);
                     }});
        } else {
            Refused(figures, CancelRefusalText(result.outcome, cisloDok));
        }
    }

    // Today's close from this counter, as the close page stores it; half the time the clerk then
    // cancels a receipt at once, which the close has just put out of reach or not.
    void Close(TSoakFigures& figures) {
        StoreClose(db_, TCloseMode::Today, kodUziv_);
        ++figures.stored;
        if (Uniform(0, 1) == 1)
            followUps_.push_back({QStringLiteral("c"), &tally_[TSoakWork::Cancellation],
                                  [this](TSoakFigures& f) { Cancellation(f); }});
    }

    // A medium retired at the titles desk: the title's counts as the desk loaded them, one less in
    // total and on the shelf unless the medium is out. A title keeps two media at least, so the
    // load goes on.
    void Retire(TSoakFigures& figures) {
        TTitleSave save;
        TMediumRow medium;
        {
            TTransaction tr(db_.DB);
            auto query = db_.OpenQuery(
                tr, QStringLiteral(
                        "select n.KOD_NOSIC, n.EAN_KOD, t.KOD_TITUL, t.POCET_CELKEM, t.POCET_PRITOMNO, "
                        "(select count(*) from PUJCKY p where p.KOD_NOSIC = n.KOD_NOSIC and p.D_VRACENI "
                        "is null) from NOSICE n join TITULY t on (t.KOD_TITUL = n.KOD_TITUL) where "
                        "n.D_ZRUSENI is null and t.POCET_CELKEM > 2 and n.KOD_TITUL = ") +
                        Key(Pick(titles_)));
            query->Open();
            if (query->Eof()) {
                ++figures.empty;
                return;
            }
            medium.kodNosic = query->Fields(0).AsInteger();
            medium.eanKod = query->Fields(1).AsString();
            save.title.kodTitul = query->Fields(2).AsInteger();
            save.loadedCelkem = query->Fields(3).AsInteger();
            save.loadedPritomno = query->Fields(4).AsInteger();
            medium.onLoanAtRetirement = query->Fields(5).AsInteger() > 0;
            query.reset();
            tr.Commit();
        }
        medium.saved = true;
        medium.dZruseni = QDateTime::currentDateTime();
        medium.duvod = QStringLiteral("Soak: poškozený");
        save.title.pocetCelkem = save.loadedCelkem - 1;
        save.title.pocetPritomno = save.loadedPritomno - (medium.onLoanAtRetirement ? 0 : 1);
        save.loadedTitle = save.title;
        save.media = {medium};
        save.userKey = kodUziv_;
        // A conflict is the database's message at the desk, the editing kept for another try.
        RunInTransaction(db_.DB, [&](TTransaction& tr) { WriteTitle(db_, tr, save); });
        ++figures.stored;
    }

    // A deposit taken from one of the few customers, now and then a correction that lowers it,
    // which is refused when the customer holds less.
    void TakeDeposit(TSoakFigures& figures) {
        const double amount = Uniform(0, 7) == 0 ? -10.0 * Uniform(1, 30) : 10.0 * Uniform(1, 50) + 0.5;
        Deposit(figures, ::TakeDeposit, Pick(customers_), amount, tally_.depositsTaken);
    }

    // What the overview shows decides the amount: half the time at most what the customer holds,
    // in full or in part, the other half more than that. Another counter may have changed it
    // since, so either may be refused.
    void ReturnDeposit(TSoakFigures& figures) {
        const int kodZak = Pick(customers_);
        double held = 0;
        {
            TTransaction tr(db_.DB);
            held = OpenDeposits(db_, tr, kodZak);
            tr.Commit();
        }
        // "Vrátit zálohu" is disabled while the customer holds nothing.
        if (RoundTo(0.01, held) == 0) {
            ++figures.empty;
            return;
        }
        const int dice = Uniform(0, 3);
        const double amount = dice == 0   ? held
                              : dice == 1 ? std::max(0.01, RoundTo(0.01, held * Uniform(1, 99) / 100))
                                          : RoundTo(0.01, held + Uniform(1, 300) / 10.0);
        Deposit(figures, ::ReturnDeposit, kodZak, amount, tally_.depositsReturned);
    }

    using TDepositWrite = TDepositSave (*)(TDMGlobDB&, const TDepositChange&);
    void Deposit(TSoakFigures& figures, TDepositWrite write, int kodZak, double amount, int& sum) {
        // Money changes hands here as in a visit's payment: a kill now must leave nothing half-written.
        const TDepositSave save = WhilePaying([&] {
            return write(db_, {kodZak, amount, kDepositNote, kodUziv_, prices_.GetMena()});
        });
        if (!save.saved) {
            Refused(figures, save.message);
            return;
        }
        ++figures.stored;
        sum += Hundredths(amount);
    }

    // Cash taken out of or put into the till, as the takings desk stores it.
    void CashMovement(TSoakFigures& figures) {
        TCashMovementInput input;
        (Uniform(0, 1) ? input.TakeOut : input.Add) = Uniform(1, 500);
        input.Popis = QStringLiteral("Soak '%' _ \\ pokladna");
        SaveCashMovement(db_, input, kodUziv_);
        ++figures.stored;
    }

    TDMGlobDB& db_;
    TSpecCena prices_;
    int kodUziv_;
    unsigned run_;
    std::mt19937 random_;
    std::vector<int> customers_;
    QStringList mediumCodes_;
    std::vector<int> titles_;
    QStringList titleNames_;
    TPayingNotice paying_;
    TSoakMix mix_;
    TJournalNotice journal_;
    TSoakTally tally_;
    std::vector<TFollowUp> followUps_;
    TSoakFigures loanReturns_; // the loans of cancelled receipts, in no table of the run
    bool uncertain_ = false;
};

} // namespace

QString SoakWorkName(TSoakWork work) {
    switch (work) {
    case TSoakWork::Visit:
        return QStringLiteral("návštěvy");
    case TSoakWork::Cancellation:
        return QStringLiteral("storna");
    case TSoakWork::CashMovement:
        return QStringLiteral("pohyby hotovosti");
    case TSoakWork::DepositTaken:
        return QStringLiteral("převzetí zálohy");
    case TSoakWork::DepositReturned:
        return QStringLiteral("vrácení zálohy");
    case TSoakWork::Close:
        return QStringLiteral("uzávěrky");
    case TSoakWork::Retirement:
        return QStringLiteral("vyřazení nosičů");
    case TSoakWork::Count:
        break;
    }
    return {};
}

namespace {

// The counts beside the figures, in the order of the tally line.
template <typename Tally> auto Counts(Tally& tally) {
    return std::array{
        &tally.receipts,        &tally.loans,        &tally.returnedOnTime,        &tally.returnedLate,
        &tally.complaints,      &tally.reservations, &tally.reservationsCancelled, &tally.depositsTaken,
        &tally.depositsReturned};
}

} // namespace

void TSoakTally::Add(const TSoakTally& other) {
    for (std::size_t i = 0; i < figures.size(); ++i) {
        figures[i].tried += other.figures[i].tried;
        figures[i].stored += other.figures[i].stored;
        figures[i].refused += other.figures[i].refused;
        figures[i].empty += other.figures[i].empty;
        figures[i].failed += other.figures[i].failed;
    }
    const auto mine = Counts(*this);
    const auto theirs = Counts(other);
    for (std::size_t i = 0; i < mine.size(); ++i)
        *mine[i] += *theirs[i];
    failures += other.failures;
    for (const auto& [text, count] : other.refusals)
        refusals[text] += count;
}

QString TSoakTally::ToLine() const {
    QStringList numbers;
    for (const TSoakFigures& f : figures)
        for (const int n : {f.tried, f.stored, f.refused, f.empty, f.failed})
            numbers << QString::number(n);
    for (const int* n : Counts(*this))
        numbers << QString::number(*n);
    return QStringLiteral("TALLY ") + numbers.join(u' ');
}

void TSoakTally::AddRefusals(const QString& line) {
    const QStringList parts = line.split(u' ');
    if (parts.size() >= 2 && parts[0] == QStringLiteral("REFUSAL"))
        refusals[parts.mid(2).join(u' ')] += parts[1].toInt();
}

TSoakTally TSoakTally::FromLine(const QString& line) {
    TSoakTally tally;
    const auto counts = Counts(tally);
    const QStringList parts = line.split(u' ', Qt::SkipEmptyParts);
    if (parts.size() != 1 + 5 * static_cast<int>(tally.figures.size()) + static_cast<int>(counts.size()) ||
        parts[0] != QStringLiteral("TALLY"))
        return tally;
    int at = 1;
    for (TSoakFigures& f : tally.figures)
        for (int* n : {&f.tried, &f.stored, &f.refused, &f.empty, &f.failed})
            *n = parts[at++].toInt();
    for (int* n : counts)
        *n = parts[at++].toInt();
    return tally;
}

QString TSoakTally::ContentsText() const {
    return QStringLiteral("uložené návštěvy: dokladů %1, půjček %2, vráceno včas %3, vráceno pozdě %4, "
                          "reklamací %5, rezervací %6, zrušených rezervací %7\n"
                          "uložené zálohy: převzato %8, vráceno %9\n")
        .arg(receipts)
        .arg(loans)
        .arg(returnedOnTime)
        .arg(returnedLate)
        .arg(complaints)
        .arg(reservations)
        .arg(reservationsCancelled)
        .arg(AmountText(depositsTaken / 100.0), AmountText(depositsReturned / 100.0));
}

void StockSoakShop(TDMGlobDB& db, int titles, int mediaPerTitle, int customers) {
    RunInTransaction(db.DB, [&](TTransaction& tr) {
        const QString admin = Key(AdminKey(db));
        for (int t = 0; t < titles; ++t) {
            const int kodTitul = db.GenKodTitul(tr);
            db.ExecSql(tr,
                       QStringLiteral("insert into TITULY (KOD_TITUL, NAZEV_CESKY, NAZEV_ORIG, TYP_NOSICE, "
                                      "CENA_PUJCKA, POCET_CELKEM, POCET_PRITOMNO) values (%1, %2, %2, '%3', "
                                      "%4, %5, %5)")
                           .arg(kodTitul)
                           .arg(SqlText(QStringLiteral("Tlačenice %1").arg(t + 1)),
                                t % 2 ? QStringLiteral("V") : QStringLiteral("D"), FloatToSql(20 + 5 * t))
                           .arg(mediaPerTitle));
            for (int m = 0; m < mediaPerTitle; ++m) {
                const int kodNosic = db.GenKodNosic(tr);
                db.ExecSql(tr, QStringLiteral("insert into NOSICE (KOD_NOSIC, KOD_TITUL, EAN_KOD, D_PRIJMU, "
                                              "UZIV_PRIJAL) values (%1, %2, '%3', CURRENT_TIMESTAMP, %4)")
                                   .arg(kodNosic)
                                   .arg(kodTitul)
                                   .arg(NewMediumCode(kodTitul, kodNosic), admin));
            }
        }
        for (int c = 0; c < customers; ++c)
            db.ExecSql(tr,
                       QStringLiteral("insert into ZAKAZNICI (KOD_ZAK, JMENO, PRIJMENI, POCET_PUJCEK, "
                                      "D_REGISTRACE, UZIV_REG, UZIV_ZMENA) values (%1, 'Zákazník', %2, 0, "
                                      "CURRENT_TIMESTAMP, %3, %3)")
                           .arg(db.GenKodZak(tr))
                           .arg(SqlText(QStringLiteral("Soak %1").arg(c + 1)), admin));
    });
}

void LendOverdue(TDMGlobDB& db, int kodUziv) {
    TSpecCena prices(db);
    TTransaction tr(db.DB);
    const std::vector<int> customers =
        Keys(db, tr, QStringLiteral("select KOD_ZAK from ZAKAZNICI order by KOD_ZAK"));
    const QStringList codes = Texts(db, tr, QStringLiteral("select EAN_KOD from NOSICE order by KOD_NOSIC"));
    const QDate today = ServerToday(db, tr);
    tr.Commit();
    for (std::size_t i = 0; i < customers.size() && i < static_cast<std::size_t>(codes.size()); ++i) {
        TVisit visit(prices);
        TTransaction read(db.DB);
        const auto customer = LoadCounterCustomer(db, read, customers[i]);
        const auto medium = FindMediumToLend(db, read, codes[static_cast<int>(i)]);
        visit.Load(customers[i], {}, {});
        visit.Lend(NewLoan(db, read, *customer, *medium, today.addDays(-4), today.addDays(-2)));
        read.Commit();
        PayVisit(db, prices, visit, kodUziv);
    }
}

TShopCounts ReadShopCounts(TDMGlobDB& db) {
    TTransaction tr(db.DB);
    const std::vector<int> counts =
        Keys(db, tr,
             QStringLiteral(
                 "select count(*) from DOKLADY union all select count(*) from PUJCKY union all select "
                 "count(*) from HOTOVOST union all select count(*) from DOKLADY where D_STORNO is not null "
                 "union all select cast(coalesce(sum(CASTKA), 0) * 100 as integer) from ZALOHY where "
                 "D_VRACENI is null"));
    tr.Commit();
    return {counts[0], counts[1], counts[2], counts[3], counts[4]};
}

std::vector<TInvariantResult> CheckAccounted(const TShopCounts& before, const TShopCounts& after,
                                             const TSoakTally& tally) {
    const auto check = [](const QString& name, int written, int reported) {
        TInvariantResult result{name, {}};
        if (written != reported)
            result.offenders << QStringLiteral("v databázi %1, ohlášeno %2").arg(written).arg(reported);
        return result;
    };
    return {check(QStringLiteral("nové doklady = ohlášené platby s dokladem"),
                  after.receipts - before.receipts, tally.receipts),
            check(QStringLiteral("nové půjčky = ohlášené půjčky"), after.loans - before.loans, tally.loans),
            check(QStringLiteral("nové pohyby hotovosti = ohlášené"),
                  after.cashMovements - before.cashMovements, tally[TSoakWork::CashMovement].stored),
            check(QStringLiteral("nová storna = ohlášená"), after.cancelled - before.cancelled,
                  tally[TSoakWork::Cancellation].stored),
            check(QStringLiteral("změna otevřených záloh = ohlášené převzetí − vrácení"),
                  after.openDeposits - before.openDeposits, tally.depositsTaken - tally.depositsReturned)};
}

TSoakTally ServeCounter(TDMGlobDB& db, int kodUziv, unsigned run, int pieces, const TPayingNotice& paying,
                        TSoakMix mix, const TJournalNotice& journal) {
    std::optional<TCounter> counter;
    RetryStartUp([&] { counter.emplace(db, kodUziv, run, paying, mix, journal); });
    return counter->Serve(pieces);
}

void RetryStartUp(const std::function<void()>& startUp) {
    for (int attempt = 1;; ++attempt) {
        try {
            startUp();
            return;
        } catch (const EDatabaseError&) {
            if (attempt == 60)
                throw;
            QThread::msleep(500);
        }
    }
}

int AdminKey(TDMGlobDB& db) {
    TTransaction tr(db.DB);
    const std::vector<int> keys =
        Keys(db, tr, QStringLiteral("select KOD_UZIV from UZIVATELE where UZIVATEL = 'ADMIN'"));
    tr.Commit();
    return keys.empty() ? 0 : keys.front();
}
