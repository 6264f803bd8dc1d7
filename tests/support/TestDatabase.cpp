#include "TestDatabase.h"

#include "FbClient.h"
#include "GlobFunc.h"
#include "RunAndWait.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace {

// Restored once for all test programs of a build: every test case runs as a process of its
// own, and a restore per case would cost more than the tests. A newer backup makes a new one.
QString RestoredTemplate() {
    static const QString file = [] {
        const QString backup = TTestDatabase::ShippedBackup();
        const QString target = backup + QStringLiteral(".template.fdb");
        const QFileInfo targetInfo(target);
        if (targetInfo.exists() && targetInfo.lastModified() >= QFileInfo(backup).lastModified())
            return target;
        QTemporaryDir work(QFileInfo(backup).absolutePath() + QStringLiteral("/template-XXXXXX"));
        const QString restored = work.filePath(QStringLiteral("template.fdb"));
        const auto result = RunAndWaitForExit(QStringLiteral("gbak"),
                                              {QStringLiteral("-replace_database"), QStringLiteral("-user"),
                                               QStringLiteral("SYSDBA"), backup, restored},
                                              TWindowState::Minimised);
        if (!result || result->exitCode != 0)
            qFatal("Cannot restore the shipped backup: %s",
                   result ? qPrintable(result->output) : "gbak missing");
        // A rename within one folder is atomic, so test programs running side by side never
        // see a half-written template.
        // Readable for every account: scripts/test.sh runs some tests as an ordinary user.
        QFile::setPermissions(restored,
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
        if (std::rename(QFile::encodeName(restored).constData(), QFile::encodeName(target).constData()) != 0)
            qFatal("Cannot keep the restored template");
        return target;
    }();
    return file;
}

} // namespace

QString TTestDatabase::ShippedBackup() {
    // CINEMON_BACKUP may point the tests at another backup; by default they use this build's.
    const QString path = qEnvironmentVariable("CINEMON_BACKUP", QStringLiteral(CINEMON_SHIPPED_BACKUP));
    if (!QFile::exists(path))
        qFatal("The shipped backup %s is missing", qPrintable(path));
    return path;
}

TTestDatabase::TTestDatabase() {
    if (!FbClient::Load())
        qFatal("The Firebird client library is missing");
    if (!QFile::copy(RestoredTemplate(), DatabaseFile()))
        qFatal("Cannot copy the test database");
    QFile::setPermissions(DatabaseFile(), QFile::ReadOwner | QFile::WriteOwner);
    QFile ini(dir_.filePath(QStringLiteral("Cinemon.ini")));
    if (!ini.open(QIODevice::WriteOnly))
        qFatal("Cannot write the test configuration");
    ini.write(QStringLiteral("[Database]\r\nServer=\r\nFileName=%1\r\n").arg(DatabaseFile()).toUtf8());
    ini.close();
    db_ = std::make_unique<TDMGlobDB>(ExecutablePath());
}

QString TTestDatabase::ExecutablePath() const {
    return dir_.filePath(QStringLiteral("Cinemon"));
}

QString TTestDatabase::DatabaseFile() const {
    return dir_.filePath(QStringLiteral("Cinemon.gdb"));
}

void TTestDatabase::Exec(const QString& sql) {
    TTransaction transaction(db_->DB);
    db_->ExecSql(transaction, sql);
}

void TTestDatabase::RecordLoan(int kodNosic, int kodTitul, int kodZak, const QDate& lent, const QDate& due,
                               double price) {
    Exec(QStringLiteral("insert into PUJCKY (KOD_TITUL, KOD_NOSIC, KOD_ZAK, TERMIN_PUJCENI, D_PUJCENI, "
                        "CENA_PUJCKA, TERMIN_VRACENI, UZIV_PUJCIL) values (%1, %2, %3, %4, %5, %6, %7, 1)")
             .arg(kodTitul)
             .arg(kodNosic)
             .arg(kodZak)
             .arg(SqlDate(lent), SqlTimestamp(QDateTime(lent, QTime(10, 0))), FloatToSql(price),
                  SqlDate(due)));
}

QVariant TTestDatabase::Scalar(const QString& sql) {
    TTransaction transaction(db_->DB);
    auto query = db_->OpenQuery(transaction, sql);
    query->Open();
    const QVariant value = query->Eof() ? QVariant() : query->Fields(0).Value();
    query.reset();
    transaction.Commit();
    return value;
}

int TTestDatabase::AdminKey() {
    return Scalar(QStringLiteral("select KOD_UZIV from UZIVATELE where UZIVATEL = 'ADMIN'")).toInt();
}

void TTestDatabase::LogInAdmin(TAppContext& context, QChar prava) {
    context.CurrentUser.KodUziv = AdminKey();
    context.CurrentUser.Uzivatel = QStringLiteral("ADMIN");
    context.CurrentUser.Prava = prava;
}
