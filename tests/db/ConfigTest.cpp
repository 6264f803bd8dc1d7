#include "DbError.h"
#include "GlobDB.h"
#include "PasswordScramble.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

void WriteFile(const QString& path, const QByteArray& content) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

TEST(Configuration, DefaultsWithoutAnyFile) {
    QTemporaryDir dir;
    TDMGlobDB db(dir.filePath(QStringLiteral("Kinodesk")));
    EXPECT_EQ(db.ConfigFileRead(), QString());
    EXPECT_EQ(db.DatabaseName(), QStringLiteral("localhost:Cinemon.gdb"));
    EXPECT_EQ(db.Config.GBAKFile, QStringLiteral("gbak"));
    EXPECT_EQ(db.Config.GSECFile, QStringLiteral("gsec"));
    EXPECT_EQ(db.Config.UserName, QStringLiteral("SYSDBA"));
    EXPECT_EQ(db.Config.Password, QStringLiteral("masterkey"));
    EXPECT_FALSE(db.Config.Service);
    EXPECT_FALSE(db.DB.Connected()); // creation never touches the database
}

TEST(Configuration, TheExecutablesOwnFileWinsOverTheFallback) {
    QTemporaryDir dir;
    WriteFile(dir.filePath(QStringLiteral("Kinodesk.ini")), "[Database]\nServer=pokladna1\n");
    WriteFile(dir.filePath(QStringLiteral("Cinemon.ini")),
              "[Database]\nServer=jiny\nFileName=C:\\jiny.gdb\n");
    TDMGlobDB db(dir.filePath(QStringLiteral("Kinodesk")));
    EXPECT_EQ(db.ConfigFileRead(), dir.filePath(QStringLiteral("Kinodesk.ini")));
    EXPECT_EQ(db.Config.Server, QStringLiteral("pokladna1"));
    EXPECT_EQ(db.Config.FileName, QStringLiteral("Cinemon.gdb"));
}

TEST(Configuration, FallbackFileAndEveryKey) {
    QTemporaryDir dir;
    WriteFile(dir.filePath(QStringLiteral("Cinemon.ini")),
              "[Database]\r\nServer=10.0.0.5\r\nFileName=D:\\Data\\Kino.gdb\r\nGBAKFile=C:\\FB\\gbak.exe\r\n"
              "GSECFile=C:\\FB\\gsec.exe\r\nService=1\r\nDailyBackup=-1\r\nBackupDirectory=D:\\Zalohy\r\n"
              "UserName=ADMIN\r\nPassword=" +
                  ScramblePassword(QStringLiteral("tajne")).toLatin1() + "\r\n");
    TDMGlobDB db(dir.filePath(QStringLiteral("Kinodesk")));
    EXPECT_EQ(db.DatabaseName(), QStringLiteral("10.0.0.5:D:\\Data\\Kino.gdb"));
    EXPECT_EQ(db.Config.GBAKFile, QStringLiteral("C:\\FB\\gbak.exe"));
    EXPECT_EQ(db.Config.GSECFile, QStringLiteral("C:\\FB\\gsec.exe"));
    EXPECT_TRUE(db.Config.Service);
    EXPECT_TRUE(db.Config.DailyBackup);
    EXPECT_EQ(db.Config.BackupDirectory, QStringLiteral("D:\\Zalohy"));
    EXPECT_EQ(db.Config.UserName, QStringLiteral("ADMIN"));
    EXPECT_EQ(db.Config.Password, QStringLiteral("tajne"));
}

TEST(Configuration, SavedSettingsReadBackFromTheExecutablesFile) {
    QTemporaryDir dir;
    WriteFile(dir.filePath(QStringLiteral("Kinodesk.ini")), "[Print]\nDevice=LPT\n");
    {
        TDMGlobDB db(dir.filePath(QStringLiteral("Kinodesk")));
        db.Config.Server.clear();
        db.Config.FileName = QStringLiteral("/var/lib/kino/Půjčovna.gdb");
        db.Config.Password = QStringLiteral("nové heslo");
        db.Config.DailyBackup = true;
        db.SaveConfig();
    }
    TDMGlobDB db(dir.filePath(QStringLiteral("Kinodesk")));
    EXPECT_EQ(db.DatabaseName(), QStringLiteral("/var/lib/kino/Půjčovna.gdb"));
    EXPECT_EQ(db.Config.Password, QStringLiteral("nové heslo"));
    EXPECT_TRUE(db.Config.DailyBackup);
    QFile file(dir.filePath(QStringLiteral("Kinodesk.ini")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.contains("Device=LPT"));
    EXPECT_FALSE(bytes.contains("nové")); // the password is stored scrambled
}

TEST(Configuration, TheFirstSaveKeepsWhatOnlyTheFallbackFileHeld) {
    QTemporaryDir dir;
    WriteFile(dir.filePath(QStringLiteral("Cinemon.ini")),
              "[Database]\r\nServer=pokladna\r\n\r\n[Print]\r\nDevice=LPT\r\n");
    {
        TDMGlobDB db(dir.filePath(QStringLiteral("Kinodesk")));
        db.Config.BackupDirectory = QStringLiteral("/zalohy");
        db.SaveConfig();
    }
    // The executable's own file now wins, so it must carry the printing settings too.
    TDMGlobDB db(dir.filePath(QStringLiteral("Kinodesk")));
    EXPECT_EQ(db.ConfigFileRead(), dir.filePath(QStringLiteral("Kinodesk.ini")));
    EXPECT_EQ(db.Config.Server, QStringLiteral("pokladna"));
    EXPECT_EQ(db.Config.BackupDirectory, QStringLiteral("/zalohy"));
    QFile file(db.ConfigFileRead());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("[Print]\r\nDevice=LPT"));
}

} // namespace

namespace {

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(Configuration, AValueWithALineBreakIsRefusedAndTheFileStaysAsItWas) {
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("Kinodesk.ini"));
    WriteFile(ini, "[Database]\r\nServer=pokladna1\r\n");
    TDMGlobDB db(dir.filePath(QStringLiteral("Kinodesk")));
    for (const QString& server : {QStringLiteral("pokladna2\r\nFileName=C:\\jiny.gdb"),
                                  QStringLiteral("a\nb"), QStringLiteral("a\rb")}) {
        TDbConfig config = db.Config;
        config.Server = server;
        try {
            db.SaveConfig(config);
            ADD_FAILURE() << "stored";
        } catch (const ECinemonError& e) {
            EXPECT_EQ(e.Message(),
                      QStringLiteral("Text obsahuje konec řádku, který konfigurační soubor neumí "
                                     "uložit.\rZměňte prosím zadaný text."));
        }
        EXPECT_EQ(FileBytes(ini), QByteArray("[Database]\r\nServer=pokladna1\r\n"));
    }
    TDbConfig config = db.Config;
    config.Server = QStringLiteral("a\tb\x01");
    db.SaveConfig(config);
    EXPECT_EQ(TDMGlobDB(dir.filePath(QStringLiteral("Kinodesk"))).Config.Server, QStringLiteral("a\tb\x01"));
}

TEST(Configuration, APasswordTheFilesCodePageCannotHoldIsRefusedAndOneItCanReadsBack) {
    QTemporaryDir dir;
    TDMGlobDB db(dir.filePath(QStringLiteral("Kinodesk")));
    TDbConfig config = db.Config;
    config.Password = QStringLiteral("heslo🎬");
    EXPECT_THROW(db.SaveConfig(config), ECinemonError);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("Kinodesk.ini"))));
    config.Password = QStringLiteral("Žluťoučký kůň");
    db.SaveConfig(config);
    EXPECT_EQ(TDMGlobDB(dir.filePath(QStringLiteral("Kinodesk"))).Config.Password, config.Password);
}

} // namespace
