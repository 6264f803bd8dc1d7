// The reliability run: several counter processes against the shop's server on this machine,
// then one close and the invariants over the whole database.
//
//   cinemon_soak [--counters N] [--pieces N] [--kills N] [--restart N] [--closes] [--retire] [--run N]
//                [--folder DIR] [--backup FILE]
//
// The program starts its own counters as "cinemon_soak --counter DATABASE RUN PIECES PHASEFILE
// JOURNALFILE"; each
// prints the clerk's messages it was refused with and its tally as lines. With --kills the
// program kills counters with SIGKILL at random moments and starts new ones in their place. With
// --restart the run works on a server of its own, which the program stops and starts again that
// many times in the middle of the load; the counters go on on their connections. With --closes the
// counters close the day now and then, with --retire they retire media; with --sigkill every second
// restart kills the server with SIGKILL instead of ending it with SIGTERM. Exit status: 0
// when every invariant holds and nothing failed, 1 otherwise, 77 when no server is reachable (or,
// with --restart, the run's own server cannot be started here).

#include "DayClose.h"
#include "DbError.h"
#include "FbClient.h"
#include "GlobDB.h"
#include "Invariants.h"
#include "LocalServer.h"
#include "OwnServer.h"
#include "PieceJournal.h"
#include "SoakCounter.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <vector>

namespace {

constexpr int kNoServer = 77;

QTextStream& Out() {
    static QTextStream out(stdout);
    return out;
}

void Configure(TDMGlobDB& db, const QString& server, const QString& file, const QString& password) {
    db.Config.Server = server;
    db.Config.FileName = file;
    db.Config.UserName = QStringLiteral("SYSDBA");
    db.Config.Password = password;
}

int RunCounter(const QString& server, const QString& file, unsigned run, int pieces, const QString& phaseFile,
               const QString& journalFile, TSoakMix mix) {
    TDMGlobDB db(QFileInfo(file).absolutePath() + QStringLiteral("/Cinemon"));
    Configure(db, server, file, LocalServerAdminPassword());
    // A counter started while the run's server restarts waits for it, as a clerk would.
    int admin = 0;
    RetryStartUp([&] {
        db.Connect();
        admin = AdminKey(db);
    });
    // One byte the driver reads before a kill: "P" while a payment is being written.
    QFile phase(phaseFile);
    if (!phase.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw ECinemonError(QStringLiteral("Cannot write ") + phaseFile);
    // Each line reaches the file before the piece goes on: a kill loses none that was written.
    QFile journal(journalFile);
    if (!journal.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        throw ECinemonError(QStringLiteral("Cannot write ") + journalFile);
    const TSoakTally tally = ServeCounter(
        db, AdminKey(db), run, pieces,
        [&](bool paying) {
            phase.seek(0);
            phase.write(paying ? "P" : "-", 1);
        },
        mix, [&](const QString& line) { journal.write((line + u'\n').toUtf8()); });
    for (const QString& failure : tally.failures)
        std::fprintf(stderr, "%s\n", qPrintable(QString(failure).replace(u'\r', u' ')));
    for (const auto& [text, count] : tally.refusals)
        Out() << QStringLiteral("REFUSAL %1 ").arg(count) << text << u'\n';
    Out() << tally.ToLine() << Qt::endl;
    return 0;
}

void PrintTable(const TSoakTally& tally, int counters, int killed, int killedPaying, int restarted,
                const std::vector<TInvariantResult>& invariants) {
    QTextStream& out = Out();
    out << QStringLiteral("\nPokladen: %1, zabitých pokladen: %2, z nich uprostřed platby: %3, restartů "
                          "serveru: %4\n\n")
               .arg(counters)
               .arg(killed)
               .arg(killedPaying)
               .arg(restarted);
    out << QStringLiteral("%1 %2 %3 %4 %5 %6\n")
               .arg(QStringLiteral("práce"), -18)
               .arg(QStringLiteral("pokusů"), 8)
               .arg(QStringLiteral("uloženo"), 8)
               .arg(QStringLiteral("odmítnuto"), 10)
               .arg(QStringLiteral("prázdné"), 8)
               .arg(QStringLiteral("chyby"), 6);
    for (int w = 0; w < static_cast<int>(TSoakWork::Count); ++w) {
        const TSoakFigures& f = tally[static_cast<TSoakWork>(w)];
        out << QStringLiteral("%1 %2 %3 %4 %5 %6\n")
                   .arg(SoakWorkName(static_cast<TSoakWork>(w)), -18)
                   .arg(f.tried, 8)
                   .arg(f.stored, 8)
                   .arg(f.refused, 10)
                   .arg(f.empty, 8)
                   .arg(f.failed, 6);
    }
    out << u'\n' << tally.ContentsText();
    out << QStringLiteral("\n%1 %2\n")
               .arg(QStringLiteral("invariant"), -60)
               .arg(QStringLiteral("porušení"), 9);
    for (const TInvariantResult& result : invariants) {
        out << QStringLiteral("%1 %2\n").arg(result.name, -60).arg(result.offenders.size(), 9);
        for (const QString& offender : result.offenders.mid(0, 5))
            out << QStringLiteral("    ") << offender << u'\n';
    }
    // What the clerks were told when another counter got there first, most frequent first.
    std::vector<std::pair<int, QString>> byCount;
    for (const auto& [text, count] : tally.refusals)
        byCount.emplace_back(count, text);
    std::sort(byCount.begin(), byCount.end(), std::greater<>());
    out << QStringLiteral("\nodmítnuto se zprávou:\n");
    for (const auto& [count, text] : byCount)
        out << QStringLiteral("%1  %2\n")
                   .arg(count, 6)
                   .arg(text.isEmpty() ? QStringLiteral("(bez zprávy)") : text);
    for (const QString& failure : tally.failures.mid(0, 10))
        out << QStringLiteral("chyba: ") << QString(failure).replace(u'\r', u' ') << u'\n';
    out.flush();
}

// A port nothing listens on at the moment, for the run's own server.
int RunDriver(int counters, int pieces, int kills, int restarts, bool serverKills, TSoakMix mix, unsigned run,
              QString folder, const QString& backup) {
    const QString password = LocalServerAdminPassword();
    if (!LocalServerListens() || password.isEmpty()) {
        std::fprintf(stderr, "No Firebird server on localhost, or its password cannot be read\n");
        return kNoServer;
    }
    std::unique_ptr<QTemporaryDir> temporary;
    if (folder.isEmpty()) {
        temporary = std::make_unique<QTemporaryDir>();
        folder = temporary->path();
    }
    // The server, running as its own account, keeps the run's database in this folder.
    if (!QDir().mkpath(folder) || !GiveToLocalServer(folder)) {
        std::fprintf(stderr, "The folder %s cannot be given to the server's group firebird\n",
                     qPrintable(folder));
        return 1;
    }
    // Restarts stop a server of the run's own: the shop's server serves other work meanwhile.
    std::unique_ptr<TOwnServer> own;
    QString server = QStringLiteral("localhost");
    if (restarts > 0) {
        own = std::make_unique<TOwnServer>(folder, FreeLocalPort());
        if (!own->Available() || !own->Start()) {
            std::fprintf(stderr, "The run's own Firebird server cannot be started here (it takes root)\n");
            return kNoServer;
        }
        server = own->Host();
    }
    const QString file = QDir(folder).absoluteFilePath(QStringLiteral("Cinemon.gdb"));
    const QString copy = QDir(folder).absoluteFilePath(QStringLiteral("Cinemon.gbk"));
    QFile::remove(copy);
    if (!QFile::copy(backup, copy))
        throw ECinemonError(QStringLiteral("Cannot copy the backup ") + backup);

    TDMGlobDB db(QDir(folder).absoluteFilePath(QStringLiteral("Cinemon")));
    Configure(db, server, file, password);
    db.CreateDatabase();
    db.Connect();
    const int admin = AdminKey(db);
    StockSoakShop(db, 4, 3, 6);
    LendOverdue(db, admin);
    InstallPieceJournal(db, password);
    const TShopCounts before = ReadShopCounts(db);

    TSoakTally tally;
    int brokenCounters = 0;
    unsigned nextRun = run;
    const auto phaseFile = [&](unsigned counterRun) {
        return QDir(folder).absoluteFilePath(QStringLiteral("counter-%1.phase").arg(counterRun));
    };
    const auto journalFile = [&](unsigned counterRun) {
        return QDir(folder).absoluteFilePath(QStringLiteral("counter-%1.journal").arg(counterRun));
    };
    std::map<const QProcess*, unsigned> runs;
    const auto start = [&] {
        auto process = std::make_unique<QProcess>();
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        // A folder kept from an earlier run must not lend this run its pieces.
        QFile::remove(journalFile(nextRun));
        QStringList arguments{QStringLiteral("--server"), server};
        if (mix.closes)
            arguments << QStringLiteral("--closes");
        if (mix.retirements)
            arguments << QStringLiteral("--retire");
        process->start(QCoreApplication::applicationFilePath(),
                       arguments << QStringLiteral("--counter") << file << QString::number(nextRun)
                                 << QString::number(pieces) << phaseFile(nextRun) << journalFile(nextRun));
        ++nextRun;
        process->waitForStarted(-1);
        runs[process.get()] = nextRun - 1;
        return process;
    };
    const auto collect = [&](QProcess& process) {
        process.waitForFinished(-1);
        const QStringList lines =
            QString::fromUtf8(process.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
        const QString line = lines.isEmpty() ? QString() : lines.back();
        if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0 ||
            !line.startsWith(QStringLiteral("TALLY"))) {
            ++brokenCounters;
            tally.failures << QStringLiteral("a counter ended without its tally: ") + line;
            return;
        }
        TSoakTally counted = TSoakTally::FromLine(line);
        for (const QString& refusal : lines.mid(0, lines.size() - 1))
            counted.AddRefusals(refusal);
        tally.Add(counted);
    };

    std::vector<std::unique_ptr<QProcess>> processes;
    for (int c = 0; c < counters; ++c)
        processes.push_back(start());
    // Counters killed at random moments, most of them in the middle of a payment since that is
    // where a counter spends its time; each is replaced so the load goes on.
    std::mt19937 random(run);
    // The server goes down under the load and comes back; the counters' connections are lost
    // and they go on on new ones.
    int restarted = 0;
    for (int r = 0; r < restarts; ++r) {
        QThread::msleep(std::uniform_int_distribution<unsigned>(700, 2000)(random));
        if (std::none_of(processes.begin(), processes.end(),
                         [](const auto& process) { return process->state() == QProcess::Running; }))
            break;
        // With --sigkill every second restart ends the server the hard way.
        if (serverKills && r % 2 == 1)
            own->Kill();
        else
            own->Stop();
        QThread::msleep(std::uniform_int_distribution<unsigned>(200, 1500)(random));
        if (!own->Start())
            throw ECinemonError(QStringLiteral("The run's own server did not start again"));
        ++restarted;
    }
    int killed = 0;
    int killedPaying = 0;
    while (killed < kills) {
        QThread::msleep(std::uniform_int_distribution<unsigned>(20, 250)(random));
        auto& victim = processes[std::uniform_int_distribution<std::size_t>(0, processes.size() - 1)(random)];
        if (victim->state() == QProcess::Running) {
            QFile phase(phaseFile(runs[victim.get()]));
            victim->kill();
            victim->waitForFinished(-1);
            ++killed;
            if (phase.open(QIODevice::ReadOnly) && phase.read(1) == "P")
                ++killedPaying;
        } else {
            collect(*victim);
        }
        victim = start();
    }
    for (auto& process : processes)
        collect(*process);
    if (restarted < restarts)
        tally.failures
            << QStringLiteral("the counters ended before the server was restarted %1 times").arg(restarts);

    // The driver's own connection was lost with the restarts too.
    if (restarted > 0)
        db.Connect();
    // What a killed counter wrote before it died it could not report: the figures are compared
    // only in runs without kills. Nor can a counter report a payment whose commit went out just before the
    // server went down: it was told the commit's fate is unknown.
    const bool uncertain = std::any_of(tally.refusals.begin(), tally.refusals.end(), [](const auto& refusal) {
        return refusal.first.startsWith(QStringLiteral("Spojení s databází bylo přerušeno během ukládání."));
    });
    std::vector<TInvariantResult> invariants;
    if (kills == 0 && !uncertain)
        invariants = CheckAccounted(before, ReadShopCounts(db), tally);
    // The pieces themselves are compared in every run: a killed counter's last piece and a
    // lost commit answer are uncertain, the rest as reported.
    QStringList journalLines;
    for (unsigned counterRun = run; counterRun < nextRun; ++counterRun) {
        QFile journal(journalFile(counterRun));
        if (journal.open(QIODevice::ReadOnly))
            journalLines << QString::fromUtf8(journal.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }
    for (TInvariantResult& result : CheckPieces(db, ReadPieceJournal(journalLines)))
        invariants.push_back(std::move(result));
    StoreClose(db, TCloseMode::Today, admin);
    for (TInvariantResult& result : CheckInvariants(db))
        invariants.push_back(std::move(result));
    PrintTable(tally, counters, killed, killedPaying, restarted, invariants);
    const TShopCounts after = ReadShopCounts(db);
    Out() << QStringLiteral(
                 "\nv databázi nově: dokladů %1, půjček %2, pohybů hotovosti %3, stornovaných dokladů %4\n")
                 .arg(after.receipts - before.receipts)
                 .arg(after.loans - before.loans)
                 .arg(after.cashMovements - before.cashMovements)
                 .arg(after.cancelled - before.cancelled);
    // A refusal must tell the clerk why.
    int failed = brokenCounters + (tally.refusals.contains(QString()) ? tally.refusals.at(QString()) : 0);
    for (const TSoakFigures& f : tally.figures)
        failed += f.failed;
    db.DB.Close();
    return ViolationCount(invariants) == 0 && failed == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    // The clerk's messages show amounts as the counter program does.
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::CzechRepublic));
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption counters(QStringLiteral("counters"), QStringLiteral("Counter processes."),
                                      QStringLiteral("n"), QStringLiteral("4"));
    const QCommandLineOption pieces(QStringLiteral("pieces"), QStringLiteral("Pieces of work per counter."),
                                    QStringLiteral("n"), QStringLiteral("100"));
    const QCommandLineOption kills(QStringLiteral("kills"),
                                   QStringLiteral("Counters killed with SIGKILL during the run."),
                                   QStringLiteral("n"), QStringLiteral("0"));
    const QCommandLineOption restart(QStringLiteral("restart"),
                                     QStringLiteral("Restarts of the run's own server during the run."),
                                     QStringLiteral("n"), QStringLiteral("0"));
    const QCommandLineOption sigkill(QStringLiteral("sigkill"),
                                     QStringLiteral("Every second restart kills the server with SIGKILL."));
    const QCommandLineOption closes(QStringLiteral("closes"),
                                    QStringLiteral("The counters close the day now and then."));
    const QCommandLineOption retire(QStringLiteral("retire"),
                                    QStringLiteral("The counters retire media now and then."));
    const QCommandLineOption server(QStringLiteral("server"),
                                    QStringLiteral("The server a counter connects to (with --counter)."),
                                    QStringLiteral("host"), QStringLiteral("localhost"));
    const QCommandLineOption run(QStringLiteral("run"),
                                 QStringLiteral("Number of the random sequence of the first counter."),
                                 QStringLiteral("n"), QStringLiteral("1"));
    const QCommandLineOption folder(QStringLiteral("folder"),
                                    QStringLiteral("Keep the run's database in this folder."),
                                    QStringLiteral("dir"));
    const QCommandLineOption backup(QStringLiteral("backup"), QStringLiteral("The shipped backup."),
                                    QStringLiteral("file"), QStringLiteral(CINEMON_SHIPPED_BACKUP));
    const QCommandLineOption counter(
        QStringLiteral("counter"),
        QStringLiteral("Serve as one counter: DATABASE RUN PIECES PHASEFILE JOURNALFILE."));
    parser.addOptions(
        {counters, pieces, kills, restart, sigkill, closes, retire, server, run, folder, backup, counter});
    parser.process(app);

    if (!FbClient::Load()) {
        std::fprintf(stderr, "The Firebird client library is missing\n");
        return kNoServer;
    }
    const TSoakMix mix{parser.isSet(closes), parser.isSet(retire)};
    try {
        if (parser.isSet(counter)) {
            const QStringList args = parser.positionalArguments();
            if (args.size() != 5)
                parser.showHelp(2);
            return RunCounter(parser.value(server), args[0], args[1].toUInt(), args[2].toInt(), args[3],
                              args[4], mix);
        }
        return RunDriver(parser.value(counters).toInt(), parser.value(pieces).toInt(),
                         parser.value(kills).toInt(), parser.value(restart).toInt(), parser.isSet(sigkill),
                         mix, parser.value(run).toUInt(), parser.value(folder), parser.value(backup));
    } catch (const ECinemonError& error) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(error.TypeName()),
                     qPrintable(QString(error.Message()).replace(u'\r', u' ')));
        return 1;
    }
}
