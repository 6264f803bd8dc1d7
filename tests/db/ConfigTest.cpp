#include "DbError.h"
#include "FileBytes.h"
#include "GlobDB.h"
#include "PasswordScramble.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

namespace {

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
    WriteBytes(dir.filePath(QStringLiteral("Kinodesk.ini")), "[Database]\nServer=pokladna1\n");
    WriteBytes(dir.filePath(QStringLiteral("Cinemon.ini")),
               "[Database]\nServer=jiny\nFileName=C:\\jiny.gdb\n");
    TDMGlobDB db(dir.filePath(QStringLiteral("Kinodesk")));
    EXPECT_EQ(db.ConfigFileRead(), dir.filePath(QStringLiteral("Kinodesk.ini")));
    EXPECT_EQ(db.Config.Server, QStringLiteral("pokladna1"));
    EXPECT_EQ(db.Config.FileName, QStringLiteral("Cinemon.gdb"));
}

TEST(Configuration, FallbackFileAndEveryKey) {
    QTemporaryDir dir;
    WriteBytes(dir.filePath(QStringLiteral("Cinemon.ini")),
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
    WriteBytes(dir.filePath(QStringLiteral("Kinodesk.ini")), "[Print]\nDevice=LPT\n");
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
    WriteBytes(dir.filePath(QStringLiteral("Cinemon.ini")),
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

// Bytes of every value, the five Windows-1250 leaves undefined and binary zeros among them,
// with no line break, '[' or '=' that would make them a line of their own kind.
QByteArray Garbage(int size) {
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i) {
        const char c = static_cast<char>((i * 131 + 7) % 256);
        bytes[i] = (c == '\n' || c == '\r' || c == '[' || c == '=') ? '\x81' : c;
    }
    return bytes;
}

TEST(ConfigurationDamaged, GarbageAroundTheKeysLeavesTheKeysReadableAndASaveKeepsThemAll) {
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("Kinodesk.ini"));
    WriteBytes(ini, Garbage(3000) + "\r\nline without an equals sign\r\n" + QByteArray(1 << 20, 'x') +
                        "\r\n[Database]\r\nServer=pokladna2\r\n" + Garbage(500) +
                        "\r\nFileName=/data/Kino.gdb\r\nService=ano\r\nDailyBackup=1\r\n\r\n[Print]\r\n"
                        "Device=LPT\r\nWidth=abc\r\nCom1Dev");
    {
        TDMGlobDB db(dir.filePath(QStringLiteral("Kinodesk")));
        EXPECT_EQ(db.ConfigReadError(), QString());
        EXPECT_EQ(db.DatabaseName(), QStringLiteral("pokladna2:/data/Kino.gdb"));
        EXPECT_FALSE(db.Config.Service) << "not a number: the default";
        EXPECT_TRUE(db.Config.DailyBackup);
        db.Config.BackupDirectory = QStringLiteral("/zalohy");
        db.SaveConfig();
    }
    TDMGlobDB db(dir.filePath(QStringLiteral("Kinodesk")));
    EXPECT_EQ(db.DatabaseName(), QStringLiteral("pokladna2:/data/Kino.gdb"));
    EXPECT_TRUE(db.Config.DailyBackup);
    EXPECT_EQ(db.Config.BackupDirectory, QStringLiteral("/zalohy"));
    const QByteArray saved = ReadBytes(ini);
    EXPECT_TRUE(saved.contains("\r\nline without an equals sign\r\n"));
    EXPECT_TRUE(saved.contains("[Print]\r\nDevice=LPT\r\nWidth=abc\r\nCom1Dev\r\n"));
    EXPECT_TRUE(saved.contains("\r\n" + QByteArray(1 << 20, 'x') + "\r\n"));
}

TEST(ConfigurationDamaged, AnEmptyFileOrOneOfZerosReadsAsDefaultsAndIsWrittenWithoutThem) {
    for (const QByteArray& content : {QByteArray(), QByteArray(4096, '\0')}) {
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("Kinodesk.ini"));
        WriteBytes(ini, content);
        TDMGlobDB db(dir.filePath(QStringLiteral("Kinodesk")));
        EXPECT_EQ(db.ConfigReadError(), QString());
        EXPECT_EQ(db.DatabaseName(), QStringLiteral("localhost:Cinemon.gdb"));
        db.SaveConfig();
        const QByteArray saved = ReadBytes(ini);
        EXPECT_TRUE(saved.startsWith("[Database]\r\nServer=localhost\r\n"))
            << saved.left(40).toHex().toStdString();
        EXPECT_FALSE(saved.contains('\0'));
    }
}

TEST(ConfigurationDamaged, AFileThatCannotBeReadIsReportedAndNeverWrittenOver) {
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("Kinodesk.ini"));
    ASSERT_TRUE(QDir().mkdir(ini));
    {
        TDMGlobDB db(dir.filePath(QStringLiteral("Kinodesk")));
        EXPECT_TRUE(
            db.ConfigReadError().startsWith(QStringLiteral("Konfigurační soubor %1 nelze přečíst").arg(ini)))
            << db.ConfigReadError().toStdString();
        EXPECT_EQ(db.DatabaseName(), QStringLiteral("localhost:Cinemon.gdb"));
        EXPECT_THROW(db.SaveConfig(), ECinemonError);
        EXPECT_TRUE(QFileInfo(ini).isDir());
        ASSERT_TRUE(QDir().rmdir(ini));
    }

    // A file its reader has no right to read, in a folder it may write: the program runs as
    // an ordinary user here, the test as whoever started it.
    const QByteArray content = "[Database]\r\nServer=pokladna\r\n\r\n[Print]\r\nDevice=LPT\r\n";
    WriteBytes(ini, content);
    ASSERT_TRUE(QFile::setPermissions(ini, QFileDevice::Permissions()));
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7777)));
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::getuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(10);
        TDMGlobDB db(dir.filePath(QStringLiteral("Kinodesk")));
        int result = db.ConfigReadError().contains(ini) ? 0 : 1;
        try {
            db.SaveConfig();
            result |= 2;
        } catch (const ECinemonError&) {
        }
        ::_exit(result);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 10)
        GTEST_SKIP() << "an ordinary user's rights cannot be taken here";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: no read error reported, 2: the file was written over";
    QFile::setPermissions(ini, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(ReadBytes(ini), content);
}

} // namespace

namespace {

TEST(Configuration, AValueWithALineBreakIsRefusedAndTheFileStaysAsItWas) {
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("Kinodesk.ini"));
    WriteBytes(ini, "[Database]\r\nServer=pokladna1\r\n");
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
        EXPECT_EQ(ReadBytes(ini), QByteArray("[Database]\r\nServer=pokladna1\r\n"));
    }
    TDbConfig withZero = db.Config;
    withZero.Server = QString::fromUtf16(u"a\u0000b", 3);
    try {
        db.SaveConfig(withZero);
        ADD_FAILURE() << "stored";
    } catch (const ECinemonError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Text obsahuje nulový znak, který konfigurační soubor neumí "
                                              "uložit.\rZměňte prosím zadaný text."));
    }
    EXPECT_EQ(ReadBytes(ini), QByteArray("[Database]\r\nServer=pokladna1\r\n"));
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
