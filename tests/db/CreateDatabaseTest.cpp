#include "CloseBackup.h"
#include "DbError.h"
#include "FbClient.h"
#include "FileBytes.h"
#include "HeldOpen.h"
#include "TestDatabase.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

// A database configuration in a folder of its own, with the shipped backup beside the
// database file as the installer delivers it.
class CreateDatabase : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(FbClient::Load());
        ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("data s mezerou")));
        folder = dir.filePath(QStringLiteral("data s mezerou"));
        db.Config.Server.clear();
        db.Config.FileName = folder + QStringLiteral("/Cinemon.gdb");
    }

    void ShipBackup() {
        ASSERT_TRUE(QFile::copy(TTestDatabase::ShippedBackup(), folder + QStringLiteral("/Cinemon.gbk")));
    }

    QString Message(const std::function<void()>& action) {
        try {
            action();
        } catch (const ECinemonError& e) {
            return e.Message();
        }
        return QStringLiteral("(no failure)");
    }

    QTemporaryDir dir;
    QString folder;
    TDMGlobDB db{dir.filePath(QStringLiteral("Cinemon"))};
};

TEST_F(CreateDatabase, RestoresTheShippedBackupIntoAPathWithBlanks) {
    ShipBackup();
    db.CreateDatabase();
    EXPECT_FALSE(db.DB.Connected()); // the connection stays closed until the program connects
    ASSERT_TRUE(db.Connect());
    TTransaction tr(db.DB);
    auto query = db.OpenQuery(tr, QStringLiteral("select UZIVATEL from UZIVATELE"));
    query->Open();
    EXPECT_EQ(query->FieldByName(QStringLiteral("UZIVATEL")).AsString(), QStringLiteral("ADMIN"));
}

TEST_F(CreateDatabase, AMissingBackupStopsBeforeAnyToolRuns) {
    db.Config.GBAKFile = dir.filePath(QStringLiteral("no-such-gbak"));
    EXPECT_EQ(Message([&] { db.CreateDatabase(); }),
              QStringLiteral("Nelze nalézt záložní (zdrojový) soubor.\rObnovu dat nelze provést"));
    EXPECT_EQ(Message([&] { db.RestoreDatabase(QString()); }),
              QStringLiteral("Nebyl zadán název souboru se zálohou.\rObnovu dat nelze provést"));
}

TEST_F(CreateDatabase, AToolThatCannotStartIsReported) {
    ShipBackup();
    db.Config.GBAKFile = dir.filePath(QStringLiteral("no-such-gbak"));
    EXPECT_EQ(Message([&] { db.CreateDatabase(); }),
              QStringLiteral("Nastala chyba při vytváření databáze (GBAK).\rDatabáze nebyla vytvořena"));
}

TEST_F(CreateDatabase, ADamagedBackupIsAFailureNotASuccess) {
    QFile damaged(folder + QStringLiteral("/Cinemon.gbk"));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write(QByteArray(4096, 'x'));
    damaged.close();
    const QString message = Message([&] { db.CreateDatabase(); });
    EXPECT_TRUE(message.startsWith(
        QStringLiteral("Nastala chyba při vytváření databáze (GBAK).\rDatabáze nebyla vytvořena")))
        << message.toStdString();
    EXPECT_THROW(db.Connect(), EDatabaseError);
}

TEST_F(CreateDatabase, InServiceModeTheBackupPathIsLeftToTheServer) {
    db.Config.Service = true;
    const QString message = Message([&] { db.RestoreDatabase(QStringLiteral("/server/only/Cinemon.gbk")); });
    // The tool ran and failed; the program did not look for the file itself.
    EXPECT_TRUE(message.startsWith(QStringLiteral("Nastala chyba při vytváření databáze (GBAK).")))
        << message.toStdString();
}

TEST_F(CreateDatabase, AWindowsServerPathKeepsItsFolderForTheBackup) {
    // Stand-ins for the server's tools that only write down what they were given.
    const QString log = dir.filePath(QStringLiteral("arguments.txt"));
    for (const QString& tool : {QStringLiteral("gbak"), QStringLiteral("gsec")}) {
        QFile script(dir.filePath(tool));
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write(QStringLiteral("#!/bin/sh\necho %1 >> '%2'\nprintf '%s\\n' \"$@\" >> '%2'\n")
                         .arg(tool, log)
                         .toUtf8());
        script.close();
        script.setPermissions(script.permissions() | QFile::ExeOwner);
    }
    db.Config.Service = true;
    db.Config.Server = QStringLiteral("127.0.0.1");
    db.Config.FileName = QStringLiteral("C:\\Data s mezerou\\Cinemon.gdb");
    db.Config.GBAKFile = dir.filePath(QStringLiteral("gbak"));
    db.Config.GSECFile = dir.filePath(QStringLiteral("gsec"));
    // No real server restored anything, so the check of the database restored first fails and
    // nothing else runs.
    EXPECT_THROW(db.CreateDatabase(), ECinemonError);

    QFile recorded(log);
    ASSERT_TRUE(recorded.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(recorded.readAll()).split(u'\n', Qt::SkipEmptyParts);
    const QStringList expected{QStringLiteral("gbak"),
                               QStringLiteral("-replace_database"),
                               QStringLiteral("-user"),
                               QStringLiteral("SYSDBA"),
                               QStringLiteral("-password"),
                               QStringLiteral("masterkey"),
                               QStringLiteral("-verbose"),
                               QStringLiteral("-service"),
                               QStringLiteral("127.0.0.1:service_mgr"),
                               QStringLiteral("C:\\Data s mezerou\\Cinemon.gbk"),
                               QStringLiteral("C:\\Data s mezerou\\Cinemon.gdb.restoring")};
    EXPECT_EQ(lines, expected);
}

TEST_F(CreateDatabase, RelativeNamesLieInTheProgramsFolderNotTheCurrentOne) {
    ShipBackup();
    // A tool in a folder of the program's folder that writes down its arguments and then
    // does the real work.
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("nástroje")));
    const QString log = dir.filePath(QStringLiteral("nástroje/arguments.txt"));
    QFile script(dir.filePath(QStringLiteral("nástroje/gbak")));
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(
        QStringLiteral("#!/bin/sh\nprintf '%s\\n' \"$@\" > '%1'\nexec gbak \"$@\"\n").arg(log).toUtf8());
    script.close();
    script.setPermissions(script.permissions() | QFile::ExeOwner);
    ASSERT_NE(QDir::currentPath(), QDir(dir.path()).canonicalPath());

    db.Config.FileName = QStringLiteral("data s mezerou/Cinemon.gdb");
    db.Config.GBAKFile = QStringLiteral("nástroje/gbak");
    db.Config.Password = QStringLiteral("pass \"word\" -z x");
    EXPECT_EQ(db.DatabaseName(), folder + QStringLiteral("/Cinemon.gdb"));
    db.CreateDatabase();
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("/Cinemon.gdb")));
    ASSERT_TRUE(db.Connect());

    QFile recorded(log);
    ASSERT_TRUE(recorded.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(recorded.readAll()).split(u'\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines, (QStringList{QStringLiteral("-replace_database"), QStringLiteral("-user"),
                                  QStringLiteral("SYSDBA"), QStringLiteral("-password"),
                                  QStringLiteral("pass \"word\" -z x"), QStringLiteral("-verbose"),
                                  folder + QStringLiteral("/Cinemon.gbk"),
                                  folder + QStringLiteral("/Cinemon.gdb.restoring")}));
}

TEST_F(CreateDatabase, TheDefaultNameFindsItsBackupBesideTheProgram) {
    ASSERT_TRUE(QFile::copy(TTestDatabase::ShippedBackup(), dir.filePath(QStringLiteral("Cinemon.gbk"))));
    TDMGlobDB fresh(dir.filePath(QStringLiteral("Cinemon")));
    fresh.Config.Server.clear();
    ASSERT_EQ(fresh.Config.FileName, QStringLiteral("Cinemon.gdb"));
    fresh.CreateDatabase();
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("Cinemon.gdb"))));
    EXPECT_TRUE(fresh.Connect());
}

TEST_F(CreateDatabase, ABackupRestoresToTheSameData) {
    ShipBackup();
    db.CreateDatabase();
    {
        TTransaction tr(db.DB);
        db.ExecSql(tr, QStringLiteral("update POBOCKA set JMENO = 'Záloha'"));
    }
    db.Config.BackupDirectory = dir.path();
    const QString backup = db.BackupDatabase({}, QDateTime(QDate(2026, 12, 9), QTime(20, 15, 1)));
    EXPECT_EQ(backup, QDir(dir.path()).filePath(QStringLiteral("Cinemon_20261209_201501.gbk")));
    EXPECT_TRUE(QFile::exists(backup));

    TTransaction tr(db.DB);
    db.ExecSql(tr, QStringLiteral("update POBOCKA set JMENO = 'Po záloze'"));
    db.RestoreDatabase(backup);
    TTransaction again(db.DB);
    auto query = db.OpenQuery(again, QStringLiteral("select JMENO from POBOCKA"));
    query->Open();
    EXPECT_EQ(query->FieldByName(QStringLiteral("JMENO")).AsString(), QStringLiteral("Záloha"));
    // The replaced database was kept aside only until the restored one opened.
    EXPECT_EQ(QDir(folder).entryList(QDir::Files),
              (QStringList{QStringLiteral("Cinemon.gbk"), QStringLiteral("Cinemon.gdb")}));
}

TEST_F(CreateDatabase, BackupNeedsAnExistingFolder) {
    EXPECT_EQ(Message([&] { db.BackupDatabase(); }),
              QStringLiteral("Nebyla zadána složka pro uložení zálohy databáze."));
    db.Config.BackupDirectory = dir.filePath(QStringLiteral("missing"));
    EXPECT_TRUE(
        Message([&] { db.BackupDatabase(); }).startsWith(QStringLiteral("Složka pro uložení zálohy")));
}

// A database with a branch name of its own, backed up into the folder "zálohy".
class BackupRestore : public CreateDatabase {
protected:
    void SetUp() override {
        CreateDatabase::SetUp();
        ShipBackup();
        db.CreateDatabase();
        SetName(QStringLiteral("Záloha"));
        ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("zálohy")));
        db.Config.BackupDirectory = dir.filePath(QStringLiteral("zálohy"));
    }
    void SetName(const QString& name) {
        TTransaction tr(db.DB);
        db.ExecSql(tr, QStringLiteral("update POBOCKA set JMENO = '%1'").arg(name));
    }
    QString Name() {
        TTransaction tr(db.DB);
        auto query = db.OpenQuery(tr, QStringLiteral("select JMENO from POBOCKA"));
        query->Open();
        return query->FieldByName(QStringLiteral("JMENO")).AsString();
    }
};

TEST_F(BackupRestore, BothShowTheToolsProgressLineByLine) {
    QStringList lines;
    const QString backup = db.BackupDatabase([&](const QString& line) { lines << line; });
    EXPECT_GT(lines.size(), 10);
    EXPECT_TRUE(lines.filter(QStringLiteral("UZIVATELE")).size() > 0) << lines.join(u'\n').toStdString();
    lines.clear();
    db.RestoreDatabase(backup, [&](const QString& line) { lines << line; });
    EXPECT_TRUE(lines.filter(QStringLiteral("UZIVATELE")).size() > 0) << lines.join(u'\n').toStdString();
    EXPECT_EQ(Name(), QStringLiteral("Záloha"));
}

TEST_F(BackupRestore, ABackupCutShortFailsWithTheToolsWordsAndLeavesTheDatabaseAsItWas) {
    const QString backup = db.BackupDatabase();
    SetName(QStringLiteral("Po záloze"));
    QFile file(backup);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray half = file.read(file.size() / 2);
    file.close();
    const QString cut = dir.filePath(QStringLiteral("zálohy/useknutá.gbk"));
    QFile out(cut);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(half);
    out.close();

    const QString message = Message([&] { db.RestoreDatabase(cut); });
    EXPECT_TRUE(message.startsWith(
        QStringLiteral("Nastala chyba při vytváření databáze (GBAK).\rDatabáze nebyla vytvořena\r\r")))
        << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("incomplete"))) << message.toStdString();
    EXPECT_EQ(Name(), QStringLiteral("Po záloze"));
    EXPECT_FALSE(QFile::exists(folder + QStringLiteral("/Cinemon.gdb.restoring")));
}

TEST_F(BackupRestore, ARestoreThatCannotFinishLeavesTheDatabaseInPlace) {
    const QString backup = db.BackupDatabase();
    SetName(QStringLiteral("Po záloze"));
    const QString target = folder + QStringLiteral("/Cinemon.gdb");
    const unsigned long long identity = FileIdentity(target);

    // The tool killed half-way through.
    const QString killed = dir.filePath(QStringLiteral("gbak-killed"));
    WriteBytes(killed, "#!/bin/sh\ngbak \"$@\" & sleep 0.2; kill -9 $!; exit 137\n");
    QFile::setPermissions(killed, QFile::permissions(killed) | QFile::ExeOwner);
    db.Config.GBAKFile = killed;
    EXPECT_THROW(db.RestoreDatabase(backup), ECinemonError);
    db.Config.GBAKFile = TDbConfig::DefaultGbak();
    EXPECT_EQ(FileIdentity(target), identity);
    EXPECT_EQ(Name(), QStringLiteral("Po záloze"));

    // Another program of this computer holds the database.
    db.DB.Close();
    {
        const THeldOpen tool(target);
        ASSERT_TRUE(tool.Holding());
        EXPECT_TRUE(Message([&] {
                        db.RestoreDatabase(backup);
                    }).startsWith(QStringLiteral("Databázi právě používá jiný program")));
    }
    EXPECT_EQ(FileIdentity(target), identity);
    EXPECT_EQ(Name(), QStringLiteral("Po záloze"));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files),
              (QStringList{QStringLiteral("Cinemon.gbk"), QStringLiteral("Cinemon.gdb")}));
}

TEST_F(BackupRestore, OnlyTheNewestOfTheProgramsOwnBackupsAreKept) {
    db.Config.BackupsKept = 2;
    const QDir backups(db.Config.BackupDirectory);
    for (const char* other : {"Cinemon_moje.gbk", "Cinemon_20000101_000000.gbk.txt", "jiná.gbk"})
        WriteBytes(backups.filePath(QString::fromUtf8(other)), "shop's own");
    for (int day = 1; day <= 3; ++day)
        db.BackupDatabase({}, QDateTime(QDate(2026, 12, day), QTime(20, 0)));
    EXPECT_EQ(backups.entryList(QDir::Files),
              (QStringList{QStringLiteral("Cinemon_20000101_000000.gbk.txt"),
                           QStringLiteral("Cinemon_20261202_200000.gbk"),
                           QStringLiteral("Cinemon_20261203_200000.gbk"), QStringLiteral("Cinemon_moje.gbk"),
                           QStringLiteral("jiná.gbk")}));
}

TEST_F(BackupRestore, UnsavedWorkIsNeitherRolledBackNorOverwritten) {
    TTransaction work(db.DB);
    db.ExecSql(work, QStringLiteral("select 1 from RDB$DATABASE"));
    work.StartTransaction();
    db.ExecSql(work, QStringLiteral("update POBOCKA set JMENO = 'Rozpracováno'"));
    const QString backup = dir.filePath(QStringLiteral("zálohy/x.gbk"));
    QFile::copy(TTestDatabase::ShippedBackup(), backup);

    for (const QString& message :
         {Message([&] { db.BackupDatabase(); }), Message([&] { db.RestoreDatabase(backup); })})
        EXPECT_TRUE(message.contains(QStringLiteral("v programu je rozpracovaná neuložená práce")))
            << message.toStdString();
    ASSERT_TRUE(work.Active());
    work.Commit();
    EXPECT_EQ(Name(), QStringLiteral("Rozpracováno"));
    EXPECT_EQ(QDir(db.Config.BackupDirectory).entryList(QDir::Files), QStringList{QStringLiteral("x.gbk")});
}

TEST_F(BackupRestore, TheDailyCloseBacksUpOnlyWhenAskedAndReportsAFailure) {
    EXPECT_FALSE(BackupAfterClose(db).has_value());
    EXPECT_TRUE(QDir(db.Config.BackupDirectory).isEmpty());

    db.Config.DailyBackup = true;
    const auto done = BackupAfterClose(db);
    ASSERT_TRUE(done.has_value());
    EXPECT_TRUE(done->Ok) << done->Text.toStdString();
    const QStringList files = QDir(db.Config.BackupDirectory).entryList(QDir::Files);
    ASSERT_EQ(files.size(), 1);
    EXPECT_EQ(done->Text, QStringLiteral("Záloha databáze byla uložena do souboru:\r") +
                              QDir(db.Config.BackupDirectory).filePath(files.first()));

    db.Config.GBAKFile = dir.filePath(QStringLiteral("no-such-gbak"));
    const auto failed = BackupAfterClose(db);
    ASSERT_TRUE(failed.has_value());
    EXPECT_FALSE(failed->Ok);
    EXPECT_EQ(
        failed->Text,
        QStringLiteral("Uzávěrka byla uložena, ale zálohu databáze se nepodařilo vytvořit ve složce:\r") +
            db.Config.BackupDirectory +
            QStringLiteral("\r\rNastala chyba při zálohování databáze (GBAK).\rZáloha nebyla vytvořena"));
}

} // namespace
