#include "PieceJournal.h"

#include "GlobDB.h"
#include "GlobFunc.h"

#include <set>
#include <utility>

namespace {

// The tables a counter's work writes, and so those the journal watches.
const char* const kWatched[] = {"DOKLADY", "RADKY_DOK", "PUJCKY", "REZERVACE", "REKLAMACE", "HOTOVOST",
                                "ZALOHY",  "TRZBY",     "NOSICE", "TITULY",    "ZAKAZNICI"};

const QString kContext = QStringLiteral("rdb$get_context('USER_SESSION', 'SOAK_PIECE')");

} // namespace

QString PieceOutcomeName(TPieceOutcome outcome) {
    switch (outcome) {
    case TPieceOutcome::Stored:
        return QStringLiteral("stored");
    case TPieceOutcome::Refused:
        return QStringLiteral("refused");
    case TPieceOutcome::Empty:
        return QStringLiteral("empty");
    case TPieceOutcome::Failed:
        return QStringLiteral("failed");
    case TPieceOutcome::Uncertain:
        return QStringLiteral("uncertain");
    }
    return {};
}

void InstallPieceJournal(TDMGlobDB& db, const QString& adminPassword) {
    // The program's own login may not change the database's structure: its administrator does,
    // and the program's login goes on afterwards.
    db.DB.Close();
    db.DB.SetParams(db.DatabaseName(), QStringLiteral("SYSDBA"), adminPassword, QStringLiteral("UTF8"));
    db.DB.Open();
    RunInTransaction(db.DB, [&](TTransaction& tr) {
        db.ExecSql(
            tr, QStringLiteral("create table SOAK_JOURNAL (PIECE varchar(40) not null, TABULKA varchar(31) "
                               "not null, TX bigint not null)"));
    });
    RunInTransaction(db.DB, [&](TTransaction& tr) {
        db.ExecSql(tr, QStringLiteral("grant all on SOAK_JOURNAL to public"));
        for (const char* table : kWatched)
            db.ExecSql(
                tr, QStringLiteral("create trigger SOAK_J_%1 for %1 active after insert or update or delete "
                                   "position 32000 as begin if (%2 is not null) then insert into "
                                   "SOAK_JOURNAL (PIECE, TABULKA, TX) values (%2, '%1', "
                                   "current_transaction); end")
                        .arg(QString::fromLatin1(table), kContext));
    });
    db.Connect();
}

void MarkPiece(TDMGlobDB& db, const QString& id) {
    TTransaction tr(db.DB);
    auto query = db.OpenQuery(
        tr, QStringLiteral("select rdb$set_context('USER_SESSION', 'SOAK_PIECE', %1) from RDB$DATABASE")
                .arg(SqlText(id)));
    query->Open();
    query.reset();
    tr.Commit();
}

std::map<QString, TPieceOutcome> ReadPieceJournal(const QStringList& lines) {
    std::map<QString, TPieceOutcome> pieces;
    for (const QString& line : lines) {
        const QStringList parts = line.split(u' ', Qt::SkipEmptyParts);
        if (parts.size() == 2 && parts[0] == QStringLiteral("B"))
            pieces[parts[1]] = TPieceOutcome::Uncertain;
        else if (parts.size() == 3 && parts[0] == QStringLiteral("E"))
            for (const TPieceOutcome outcome :
                 {TPieceOutcome::Stored, TPieceOutcome::Refused, TPieceOutcome::Empty, TPieceOutcome::Failed,
                  TPieceOutcome::Uncertain})
                if (parts[2] == PieceOutcomeName(outcome))
                    pieces[parts[1]] = outcome;
    }
    return pieces;
}

std::vector<TInvariantResult> CheckPieces(TDMGlobDB& db, const std::map<QString, TPieceOutcome>& reported) {
    // For each piece in the database, the tables written by more than one of its transactions.
    std::map<QString, QStringList> found;
    {
        TTransaction tr(db.DB);
        auto query =
            db.OpenQuery(tr, QStringLiteral("select PIECE, TABULKA, count(distinct TX) from SOAK_JOURNAL "
                                            "group by PIECE, TABULKA order by PIECE, TABULKA"));
        query->Open();
        for (; !query->Eof(); query->Next()) {
            QStringList& twice = found[query->Fields(0).AsString()];
            if (query->Fields(2).AsInteger() > 1)
                twice << QStringLiteral("%1 %2×")
                             .arg(query->Fields(1).AsString())
                             .arg(query->Fields(2).AsInteger());
        }
        query.reset();
        tr.Commit();
    }
    TInvariantResult once{QStringLiteral("ohlášená práce v databázi právě jednou"), {}};
    TInvariantResult onlyReported{QStringLiteral("v databázi jen ohlášená práce"), {}};
    TInvariantResult uncertain{QStringLiteral("nejistá práce v databázi nejvýše jednou"), {}};
    for (const auto& [id, outcome] : reported) {
        const auto there = found.find(id);
        if (outcome == TPieceOutcome::Stored && there == found.end())
            once.offenders << id + QStringLiteral(": ohlášeno uloženo, v databázi není");
        if (there == found.end() || there->second.isEmpty())
            continue;
        (outcome == TPieceOutcome::Uncertain ? uncertain : once).offenders
            << id + QStringLiteral(": zapsáno víckrát: ") + there->second.join(QStringLiteral(", "));
    }
    for (const auto& [id, twice] : found) {
        const auto piece = reported.find(id);
        if (piece == reported.end())
            onlyReported.offenders << id + QStringLiteral(": v databázi, žádná pokladna ho nezačala");
        else if (piece->second != TPieceOutcome::Stored && piece->second != TPieceOutcome::Uncertain)
            onlyReported.offenders << id + QStringLiteral(": v databázi, ohlášeno ") +
                                          PieceOutcomeName(piece->second);
    }
    return {once, onlyReported, uncertain};
}
