#include "FileBytes.h"
#include "IniFile.h"
#include "PasswordScramble.h"
#include "Win1250.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(Win1250, AgreesWithIconvOnEveryDefinedByte) {
    QByteArray bytes;
    for (int b = 0x20; b <= 0xFF; ++b) {
        if (b != 0x81 && b != 0x83 && b != 0x88 && b != 0x90 && b != 0x98)
            bytes.append(static_cast<char>(b));
    }
    QProcess iconv;
    iconv.start(QStringLiteral("iconv"), {QStringLiteral("-f"), QStringLiteral("CP1250"),
                                          QStringLiteral("-t"), QStringLiteral("UTF-8")});
    ASSERT_TRUE(iconv.waitForStarted());
    iconv.write(bytes);
    iconv.closeWriteChannel();
    ASSERT_TRUE(iconv.waitForFinished());
    const QString expected = QString::fromUtf8(iconv.readAllStandardOutput());
    EXPECT_EQ(Win1250::Decode(bytes), expected);
    EXPECT_EQ(Win1250::Encode(expected), bytes);
}

TEST(Win1250, ReportsCharactersItCannotHold) {
    EXPECT_FALSE(Win1250::FirstUnencodable(QStringLiteral("Příliš žluťoučký kůň – „úpěl“ €")).has_value());
    EXPECT_EQ(Win1250::FirstUnencodable(QStringLiteral("Ab€ c😀")), std::optional<QChar>(QChar(0xD83D)));
    EXPECT_EQ(Win1250::FirstUnencodable(QStringLiteral("Łódź ø")), std::optional<QChar>(QChar(u'ø')));
}

TEST(PasswordScramble, LettersInRangeAndRoundTrip) {
    const QString password = QStringLiteral("tajne1234");
    const QString scrambled = ScramblePassword(password);
    ASSERT_EQ(scrambled.size(), 18);
    for (qsizetype i = 0; i < scrambled.size(); i += 2) {
        EXPECT_GE(scrambled[i], u'K');
        EXPECT_LE(scrambled[i], u'Z');
        EXPECT_GE(scrambled[i + 1], u'A');
        EXPECT_LE(scrambled[i + 1], u'P');
    }
    EXPECT_EQ(UnscramblePassword(scrambled), password);
    EXPECT_EQ(UnscramblePassword(scrambled + u'Q'), password); // a trailing single letter is ignored
    EXPECT_EQ(ScramblePassword(QString()), QString());
    EXPECT_EQ(UnscramblePassword(ScramblePassword(QStringLiteral("heslo žluť"))),
              QStringLiteral("heslo žluť"));
}

TEST(PasswordScramble, EachCallStartsFromTheFreshKey) {
    // The same text scrambles the same way every time, and a letter depends on what came before.
    EXPECT_EQ(ScramblePassword(QStringLiteral("masterkey")), ScramblePassword(QStringLiteral("masterkey")));
    EXPECT_EQ(ScramblePassword(QStringLiteral("ab")).left(2), ScramblePassword(QStringLiteral("ac")).left(2));
    EXPECT_NE(ScramblePassword(QStringLiteral("ab")).mid(2), ScramblePassword(QStringLiteral("bb")).mid(2));
}

TEST(PasswordScramble, KnownAnswersTheSetupProgramDependsOn) {
    // Worked out apart from this code, from the published PC1 reference (128-bit key
    // "Cinemon-Pujcovna", multipliers 20021 and 346) and the letter encoding "Z" minus the
    // high nibble, "A" plus the low one.
    const std::vector<std::pair<QString, QString>> answers{
        {QStringLiteral("masterkey"), QStringLiteral("NIPLOOWEOJLDXKLHRO")},
        {QStringLiteral("a"), QStringLiteral("NE")},
        {QStringLiteral("aa"), QStringLiteral("NEQN")},
        {QStringLiteral("Heslo č.1"), QStringLiteral("LNVPSCYJRJKNYFMNLN")},
        {QString(), QString()},
    };
    for (const auto& [plain, scrambled] : answers) {
        EXPECT_EQ(ScramblePassword(plain), scrambled) << plain.toStdString();
        EXPECT_EQ(UnscramblePassword(scrambled), plain) << plain.toStdString();
    }
}

TEST(IniFile, ReadsWindows1250AndKeepsOtherSections) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("x.ini"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("[Print]\r\nDevice=COM1\r\n[database]\r\nfilename=C:\\Data\\P") + char(0xF8) +
                   "\xEDklad.gdb\r\nService=7\r\n");
    }
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadString(QStringLiteral("Database"), QStringLiteral("FileName"), QString()),
              QStringLiteral("C:\\Data\\Příklad.gdb"));
    EXPECT_TRUE(ini.ReadBool(QStringLiteral("Database"), QStringLiteral("Service"), false));
    EXPECT_EQ(ini.ReadString(QStringLiteral("Database"), QStringLiteral("Missing"), QStringLiteral("d")),
              QStringLiteral("d"));

    ini.WriteBool(QStringLiteral("Database"), QStringLiteral("Service"), false);
    ini.WriteString(QStringLiteral("Database"), QStringLiteral("Server"), QStringLiteral("pokladna"));
    ini.UpdateFile();

    TIniFile again(path);
    EXPECT_EQ(again.ReadString(QStringLiteral("Print"), QStringLiteral("Device"), QString()),
              QStringLiteral("COM1"));
    EXPECT_FALSE(again.ReadBool(QStringLiteral("Database"), QStringLiteral("Service"), true));
    EXPECT_EQ(again.ReadString(QStringLiteral("Database"), QStringLiteral("Server"), QString()),
              QStringLiteral("pokladna"));
    EXPECT_EQ(again.ReadString(QStringLiteral("Database"), QStringLiteral("FileName"), QString()),
              QStringLiteral("C:\\Data\\Příklad.gdb"));
}

TEST(IniFile, ARewriteKeepsEveryLineAndChangesOnlyTheValuesWritten) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Cinemon.ini"));
    const QByteArray head = QByteArray("; Cinemon - nastaven") + char(0xED) + "\r\n";
    const QByteArray original = head +
                                "[Database]\r\n"
                                "; the counter's server\r\n"
                                "Server = pokladna\r\n"
                                "FileName=C:\\Data\\P" +
                                char(0xF8) + char(0xED) +
                                "klad.gdb\r\n"
                                "a line without a key\r\n"
                                "Extra=keep\r\n"
                                "\r\n"
                                "[Print]\r\n"
                                "Device=COM1\r\n";
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(original);
    }
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadString(QStringLiteral("Database"), QStringLiteral("Server"), QString()),
              QStringLiteral("pokladna"));
    ini.WriteString(QStringLiteral("Database"), QStringLiteral("server"), QStringLiteral("sklad"));
    ini.WriteString(QStringLiteral("Database"), QStringLiteral("FileName"),
                    QStringLiteral("C:\\Data\\Příklad.gdb"));
    ini.WriteString(QStringLiteral("Database"), QStringLiteral("UserName"), QStringLiteral("SYSDBA"));
    ini.WriteString(QStringLiteral("Other"), QStringLiteral("Key"), QStringLiteral("x"));
    ini.UpdateFile();

    const QByteArray expected = head +
                                "[Database]\r\n"
                                "; the counter's server\r\n"
                                "Server=sklad\r\n"
                                "FileName=C:\\Data\\P" +
                                char(0xF8) + char(0xED) +
                                "klad.gdb\r\n"
                                "a line without a key\r\n"
                                "Extra=keep\r\n"
                                "UserName=SYSDBA\r\n"
                                "\r\n"
                                "[Print]\r\n"
                                "Device=COM1\r\n"
                                "\r\n"
                                "[Other]\r\n"
                                "Key=x\r\n";
    EXPECT_EQ(ReadBytes(path).toStdString(), expected.toStdString());
}

TEST(IniFile, EveryValueReadsBackAsItWasWritten) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Cinemon.ini"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("; pozn") + char(0xE1) + "mka\r\n[Print]\r\nFolder=C:\\Tisk\\" + char(0x9A) +
                   "\r\n");
    }
    const std::vector<std::pair<QString, QString>> values{
        {QStringLiteral("Server"), QStringLiteral("\u674E\u5E97")},
        {QStringLiteral("FileName"), QStringLiteral("/data/Půjčovna €.gdb")},
        {QStringLiteral("UserName"), QStringLiteral("  blanks at both ends  ")},
        {QStringLiteral("Quoted"), QStringLiteral("\"in quotes\"")},
        {QStringLiteral("Snowman"), QStringLiteral("\u2603")},
    };
    {
        TIniFile ini(path);
        for (const auto& [key, value] : values)
            ini.WriteString(QStringLiteral("Database"), key, value);
        ini.UpdateFile();
    }
    TIniFile again(path);
    for (const auto& [key, value] : values)
        EXPECT_EQ(again.ReadString(QStringLiteral("Database"), key, QString()), value) << key.toStdString();
    EXPECT_EQ(again.ReadString(QStringLiteral("Print"), QStringLiteral("Folder"), QString()),
              QStringLiteral("C:\\Tisk\\š"));
    const QByteArray bytes = ReadBytes(path);
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF; pozn\xC3\xA1mka\r\n")) << bytes.toStdString();

    // What Windows-1250 can hold stays in Windows-1250 for the shop's Windows programs.
    {
        TIniFile ini(path);
        for (const auto& [key, value] : values)
            ini.WriteString(QStringLiteral("Database"), key, QStringLiteral("Příliš žluťoučký"));
        ini.UpdateFile();
    }
    const QByteArray plain = ReadBytes(path);
    EXPECT_FALSE(plain.startsWith("\xEF\xBB\xBF"));
    EXPECT_TRUE(plain.contains(QByteArray("P") + char(0xF8) + char(0xED) + "li" + char(0x9A)));
    EXPECT_EQ(TIniFile(path).ReadString(QStringLiteral("Database"), QStringLiteral("Server"), QString()),
              QStringLiteral("Příliš žluťoučký"));
}

TEST(IniFile, Windows1250TextThatWouldPassForUtf8IsMarked) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Cinemon.ini"));
    // "Řš" is D8 9A in Windows-1250, a valid UTF-8 sequence of another letter.
    {
        TIniFile ini(path);
        ini.WriteString(QStringLiteral("Database"), QStringLiteral("Server"), QStringLiteral("Řš"));
        ini.UpdateFile();
    }
    EXPECT_EQ(TIniFile(path).ReadString(QStringLiteral("Database"), QStringLiteral("Server"), QString()),
              QStringLiteral("Řš"));
}

} // namespace
