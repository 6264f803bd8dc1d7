#include "Startup.h"

#include "AppContext.h"
#include "DbError.h"
#include "FbClient.h"
#include "GlobDialog.h"

namespace {

const QString kCannotConnect =
    QStringLiteral("Aplikaci nelze spustit.\r\rDatabázi nelze připojit.\rZkontrolujte databázový server a "
                   "nastavení připojení.");
const QString kReadError = QStringLiteral(
    "Nastala chyba při čtení databáze.\rPokud máte zálohu databáze, proveďte obnovu databáze.\r\r");

// True when connected; otherwise the refusal has been reported.
bool ConnectDatabase(TDMGlobDB& db, const std::function<void(const QString&)>& status) {
    bool creationTried = false;
    for (;;) {
        status(QStringLiteral("Připojuji se k databázi..."));
        QString failure;
        try {
            if (db.Connect())
                return true;
            ReportError(kCannotConnect);
            return false;
        } catch (const EDatabaseError& e) {
            failure = e.Message();
            if (e.Code() == EDatabaseError::kFileOpenError && !creationTried) {
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
        return false;
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
    if (!ConnectDatabase(context.Db(), status))
        return TStartupResult::SettingsOnly;

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
