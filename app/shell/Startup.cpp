#include "Startup.h"

#include "AppContext.h"
#include "DbError.h"
#include "FbClient.h"
#include "GlobDialog.h"
#include "SchemaUpgrade.h"

#include <QFileInfo>

namespace {

const QString kCannotConnect =
    QStringLiteral("Aplikaci nelze spustit.\r\rDatabázi nelze připojit.\rZkontrolujte databázový server a "
                   "nastavení připojení.");
const QString kReadError = QStringLiteral(
    "Nastala chyba při čtení databáze.\rPokud máte zálohu databáze, proveďte obnovu databáze.\r\r");

const QString kAlreadyRunning =
    QStringLiteral("Cinemon s touto databází je na tomto počítači již spuštěn.\rPřepněte se do jeho okna; "
                   "druhé spuštění není možné.");
const QString kHeldByAnotherProgram = QStringLiteral(
    "Databázi právě používá jiný program, a proto ji nelze otevřít. Databáze nebyla nijak změněna.\r"
    "Ukončete program, který databázi používá (například nástroj pro správu nebo zálohování "
    "databáze), a spusťte Cinemon znovu.\r\r");

enum class TConnected { Yes, No, InUse };

// The engine answers a file that is missing and one that another process holds with the same
// code: only a file that truly is not there may be created from the backup.
bool DatabaseFileMissing(const TDMGlobDB& db, const EDatabaseError& e) {
    if (e.Code() != EDatabaseError::kFileOpenError)
        return false;
    if (!db.Config.Server.isEmpty())
        return e.Os().NotFound();
    const QFileInfo file(db.DatabaseFile());
    return !file.exists() && !file.isSymLink();
}

// Connected, or the refusal has been reported.
TConnected ConnectDatabase(TAppContext& context, const std::function<void(const QString&)>& status) {
    TDMGlobDB& db = context.Db();
    if (db.Config.Server.isEmpty() &&
        context.InstanceLock.Claim(db.DatabaseFile()) == TInstanceLock::TClaim::HeldByAnother) {
        ReportError(kAlreadyRunning);
        return TConnected::InUse;
    }
    bool creationTried = false;
    bool registrationTried = false;
    for (;;) {
        status(QStringLiteral("Připojuji se k databázi..."));
        QString failure;
        try {
            if (db.Connect())
                return TConnected::Yes;
            ReportError(kCannotConnect);
            return TConnected::No;
        } catch (const EDatabaseError& e) {
            failure = e.Message();
            if (e.AlreadyOpened()) {
                ReportError(kHeldByAnotherProgram + e.Message());
                return TConnected::InUse;
            }
            if (!registrationTried && !db.Config.Server.isEmpty() &&
                e.Code() == EDatabaseError::kLoginRefused) {
                status(QStringLiteral("Registruji přístup do databáze..."));
                registrationTried = true;
                try {
                    db.RegisterAppUser();
                    continue;
                } catch (const ECinemonError& registration) {
                    ReportError(registration.Message());
                    return TConnected::No;
                }
            }
            if (!creationTried && DatabaseFileMissing(db, e)) {
                status(QStringLiteral("Vytvářím databázi..."));
                creationTried = true;
                try {
                    db.CreateDatabase();
                    continue;
                } catch (const ECinemonError& creation) {
                    ReportError(creation.Message());
                }
            }
        } catch (const ECinemonError& e) {
            failure = e.Message();
        }
        ReportError(kReadError + failure);
        return TConnected::No;
    }
}

// The clock checks and the stored version, once connected.
TStartupResult ReadSettings(TAppContext& context, const TStartupEnv& env) {
    TDMGlobDB& db = context.Db();
    TTransaction transaction(db.DB);
    transaction.StartTransaction();
    if (db.ServerTime(transaction).date() != env.Now().date()) {
        ReportError(
            QStringLiteral("Datum tohoto počítače se liší od data serveru.\rAplikaci nelze spustit."));
        transaction.Commit();
        return TStartupResult::DateMismatch;
    }
    const QDateTime server = db.ServerTime(transaction);
    if (ClockDiffers(env.Now(), server))
        Warn(QStringLiteral("Čas tohoto počítače se liší od času serveru.\rRozdíl je vyšší než 15 minut."));
    transaction.Commit();

    UpgradeSchema(db);
    if (context.SpecDB().GetVerzeApp() != env.Version)
        context.SpecDB().SetVerzeApp(env.Version);
    return TStartupResult::Ready;
}

} // namespace

bool ProbeClientLibrary(const std::function<bool()>& load) {
    if (load())
        return true;
    ReportError(
        QStringLiteral("Nebyla nalezena knihovna ") + FbClient::LibraryFileName() +
        QStringLiteral(", bez které nelze aplikaci používat\r(knihovna zajišťuje spojení s databázovým "
                       "serverem).\r\rProgram nelze spustit."));
    return false;
}

TStartupResult RunStartup(TAppContext& context, const TStartupEnv& env,
                          const std::function<void(const QString&)>& status) {
    if (const QString& unread = context.Db().ConfigReadError(); !unread.isEmpty())
        Warn(unread + QStringLiteral("\rPro připojení k databázi platí výchozí nastavení."));
    switch (ConnectDatabase(context, status)) {
    case TConnected::Yes:
        break;
    case TConnected::No:
        return TStartupResult::SettingsOnly;
    case TConnected::InUse:
        // Not even the settings desk: its repairs would act on a database another program uses.
        return TStartupResult::InUse;
    }

    status(QStringLiteral("Čtení nastavení..."));
    // A database that connects but cannot be read (a damaged file, an older schema) is offered
    // for repair in the settings desk, as one that cannot be connected.
    try {
        return ReadSettings(context, env);
    } catch (const ECinemonError& e) {
        ReportError(kReadError + e.Message());
        return TStartupResult::SettingsOnly;
    }
}
