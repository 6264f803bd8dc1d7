#include "DbError.h"
#include "DeskFactories.h"
#include "IniFile.h"
#include "MainCinemon.h"
#include "MoxButton.h"
#include "MoxButtonMenu.h"
#include "MoxCheckBox.h"
#include "MoxEdit.h"
#include "ObnovaZalohy.h"
#include "PasswordScramble.h"
#include "SerialPortDialog.h"
#include "SettingsDeskFixture.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QRadioButton>
#include <QSpinBox>

namespace {

using P = TFNastaveni;

class DatabasePage : public SettingsDesk {
protected:
    QString IniFile() const { return TDMGlobDB::ConfigFileFor(database.ExecutablePath()); }
    QByteArray IniBytes() const {
        QFile file(IniFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QString BackupFolder() {
        const QString folder = QDir(database.Dir()).filePath(QStringLiteral("zálohy"));
        QDir().mkpath(folder);
        return folder;
    }
    void SetName(const QString& name) {
        database.Exec(QStringLiteral("update POBOCKA set JMENO = '%1'").arg(name));
    }
    // The embedded engine's tools need the file free of this test's own checking connection.
    void Detach() { database.Db().DB.Close(); }
    int restarts = 0;
};

TEST_F(DatabasePage, SavesTheNineKeysWithTheScrambledPasswordAndUsesTheToolsAtOnce) {
    Open();
    ASSERT_TRUE(desk->ShowPage(P::Databaze));
    EXPECT_EQ(OnPage<TMoxEdit>(P::Databaze, "ESoubor")->text(), database.DatabaseFile());
    Type(OnPage(P::Databaze, "EGbak"), QStringLiteral("/usr/bin/gbak"));
    Type(OnPage(P::Databaze, "EHeslo"), QStringLiteral("tajné heslo"));
    Type(OnPage(P::Databaze, "EZaloha"), BackupFolder());
    Click(OnPage(P::Databaze, "ChDenniZaloha"));
    Click(OnPage(P::Databaze, "BUlozDatabaze"));
    EXPECT_TRUE(hook.messages.empty()) << "no restart notice for the tools";
    EXPECT_FALSE(OnPage(P::Databaze, "BUlozDatabaze")->isEnabled());
    EXPECT_EQ(context.Db().Config.GBAKFile, QStringLiteral("/usr/bin/gbak"));
    EXPECT_EQ(context.Db().Config.Password, QStringLiteral("tajné heslo"));
    EXPECT_TRUE(context.Db().Config.DailyBackup);

    const QByteArray bytes = IniBytes();
    EXPECT_TRUE(bytes.contains("GBAKFile=/usr/bin/gbak\r\n")) << bytes.toStdString();
    EXPECT_TRUE(bytes.contains("DailyBackup=1\r\n")) << bytes.toStdString();
    EXPECT_TRUE(bytes.contains("Service=0\r\n")) << bytes.toStdString();
    EXPECT_TRUE(
        bytes.contains("Password=" + ScramblePassword(QStringLiteral("tajné heslo")).toLatin1() + "\r\n"))
        << bytes.toStdString();
    EXPECT_FALSE(bytes.contains("tajn"));
    TDMGlobDB again(database.ExecutablePath());
    EXPECT_EQ(again.Config.Password, QStringLiteral("tajné heslo"));
    EXPECT_EQ(again.Config.BackupDirectory, BackupFolder());
}

TEST_F(DatabasePage, AChangedServerWaitsForTheNextStart) {
    Open();
    ASSERT_TRUE(desk->ShowPage(P::Databaze));
    Type(OnPage(P::Databaze, "EServer"), QStringLiteral("server.pujcovna"));
    Click(OnPage(P::Databaze, "BUlozDatabaze"));
    EXPECT_EQ(hook.Texts(), std::vector<QString>{QStringLiteral(
                                "Provedené změny se projeví až po dalším spuštění aplikace.")});
    EXPECT_EQ(context.Db().Config.Server, QString());
    EXPECT_EQ(TDMGlobDB(database.ExecutablePath()).Config.Server, QStringLiteral("server.pujcovna"));
}

TEST_F(DatabasePage, BackupThenRestoreRoundTripsWithTheToolsProgressInTheWaitBox) {
    SetName(QStringLiteral("Před zálohou"));
    context.Db().Config.BackupDirectory = BackupFolder();
    Open();
    ASSERT_TRUE(desk->ShowPage(P::Databaze));
    PageOf<TPageDatabaze>(P::Databaze)->SetRestart([this] { ++restarts; });
    Detach();
    Click(OnPage(P::Databaze, "BZalohovat"));
    const QStringList files = QDir(BackupFolder()).entryList(QDir::Files);
    ASSERT_EQ(files.size(), 1) << hook.Texts().front().toStdString();
    const QString backup = QDir(BackupFolder()).filePath(files.first());
    EXPECT_EQ(hook.Texts(),
              std::vector<QString>{QStringLiteral("Záloha databáze byla uložena do souboru:\r") + backup});
    ASSERT_GT(hook.waitTexts.size(), 5u);
    EXPECT_EQ(hook.waitTexts.front(), QStringLiteral("Zálohuji databázi..."));
    EXPECT_TRUE(hook.waitTexts[3].startsWith(QStringLiteral("Zálohuji databázi...\rgbak:")));
    EXPECT_FALSE(WaitDialogShown());

    SetName(QStringLiteral("Po záloze"));
    hook.Clear();
    hook.Script([&](QDialog& dialog) {
        Type(dialog.findChild<QLineEdit*>(QStringLiteral("ESoubor")), backup);
        dialog.findChild<QPushButton*>(QStringLiteral("BObnovit"))->click();
    });
    hook.Answer({TMsgResult::Yes});
    Detach();
    Click(OnPage(P::Databaze, "BObnovit"));
    EXPECT_EQ(hook.dialogsOpened, std::vector<QString>{QStringLiteral("TFObnovaZalohy")});
    ASSERT_EQ(hook.messages.size(), 2u);
    EXPECT_TRUE(hook.messages[0].text.startsWith(QStringLiteral("Pozor! Obnovou ze zálohy")));
    EXPECT_EQ(hook.messages[1].text,
              QStringLiteral("Databáze byla úspěšně obnovena ze zálohy.\r\rProgram bude nyní restartován."));
    EXPECT_EQ(restarts, 1);
    EXPECT_EQ(Text(QStringLiteral("select JMENO from POBOCKA")), QStringLiteral("Před zálohou"));
}

TEST_F(DatabasePage, ADamagedBackupFailsWithTheToolsWordsAndLeavesTheDatabase) {
    SetName(QStringLiteral("Zůstane"));
    const QString damaged = QDir(BackupFolder()).filePath(QStringLiteral("poškozená.gbk"));
    QFile shipped(TTestDatabase::ShippedBackup());
    ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
    QFile out(damaged);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(shipped.read(shipped.size() / 2));
    out.close();
    Open();
    ASSERT_TRUE(desk->ShowPage(P::Databaze));
    PageOf<TPageDatabaze>(P::Databaze)->SetRestart([this] { ++restarts; });
    hook.Answer({TMsgResult::Yes});
    Detach();
    PageOf<TPageDatabaze>(P::Databaze)->Restore(damaged);
    ASSERT_EQ(hook.messages.size(), 2u);
    EXPECT_EQ(hook.messages[1].kind, TMsgKind::Error);
    EXPECT_TRUE(hook.messages[1].text.startsWith(
        QStringLiteral("Nastala chyba při vytváření databáze (GBAK).\rDatabáze nebyla vytvořena\r\r")))
        << hook.messages[1].text.toStdString();
    EXPECT_EQ(restarts, 0);
    EXPECT_FALSE(WaitDialogShown());
    EXPECT_EQ(Text(QStringLiteral("select JMENO from POBOCKA")), QStringLiteral("Zůstane"));
}

TEST_F(DatabasePage, ABackupOfRandomBytesOrAnEmptyOneFailsWithTheToolsReason) {
    SetName(QStringLiteral("Zůstane"));
    QByteArray noise(3000, '\0');
    for (qsizetype i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<char>((i * 7919 + 13) % 251);
    Open();
    ASSERT_TRUE(desk->ShowPage(P::Databaze));
    PageOf<TPageDatabaze>(P::Databaze)->SetRestart([this] { ++restarts; });
    for (const QByteArray& bytes : {noise, QByteArray()}) {
        const QString damaged = QDir(BackupFolder()).filePath(QStringLiteral("poškozená.gbk"));
        QFile out(damaged);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(bytes);
        out.close();
        hook.messages.clear();
        hook.Answer({TMsgResult::Yes});
        Detach();
        PageOf<TPageDatabaze>(P::Databaze)->Restore(damaged);
        ASSERT_EQ(hook.messages.size(), 2u);
        EXPECT_EQ(hook.messages[1].kind, TMsgKind::Error);
        EXPECT_TRUE(hook.messages[1].text.contains(QStringLiteral("expected backup description record")))
            << hook.messages[1].text.toStdString();
        EXPECT_FALSE(WaitDialogShown());
        EXPECT_EQ(Text(QStringLiteral("select JMENO from POBOCKA")), QStringLiteral("Zůstane"));
    }
    EXPECT_EQ(restarts, 0);
}

TEST_F(DatabasePage, UnsavedPageValuesAreSavedOrKeptBeforeABackup) {
    Open();
    ASSERT_TRUE(desk->ShowPage(P::Databaze));
    Type(OnPage(P::Databaze, "EZaloha"), BackupFolder());
    hook.Answer({TMsgResult::Cancel});
    Click(OnPage(P::Databaze, "BZalohovat"));
    EXPECT_EQ(hook.Texts(), std::vector<QString>{QStringLiteral("Provedené změny nebyly uloženy. Uložit?")});
    EXPECT_TRUE(QDir(BackupFolder()).isEmpty());
    EXPECT_TRUE(OnPage(P::Databaze, "BUlozDatabaze")->isEnabled());
    hook.Clear();
    hook.Answer({TMsgResult::Yes});
    Detach();
    Click(OnPage(P::Databaze, "BZalohovat"));
    EXPECT_EQ(QDir(BackupFolder()).entryList(QDir::Files).size(), 1);
    EXPECT_EQ(TDMGlobDB(database.ExecutablePath()).Config.BackupDirectory, BackupFolder());
}

TEST_F(DatabasePage, ANewDatabaseAnsweredNeChangesNothing) {
    Open(true);
    SetName(QStringLiteral("Zůstane"));
    PageOf<TPageDatabaze>(P::Databaze)->SetRestart([this] { ++restarts; });
    hook.Answer({TMsgResult::No});
    Click(OnPage(P::Databaze, "BNovaDB"));
    ASSERT_EQ(hook.messages.size(), 1u);
    EXPECT_TRUE(hook.messages[0].text.startsWith(QStringLiteral("Pozor! Vytvořením nové databáze ztratíte")));
    EXPECT_TRUE(hook.waitTexts.empty());
    EXPECT_EQ(restarts, 0);
    EXPECT_EQ(Text(QStringLiteral("select JMENO from POBOCKA")), QStringLiteral("Zůstane"));
}

TEST_F(DatabasePage, InSettingsOnlyModeTheConnectionIsRepairedForTheNextStart) {
    // The shop's file moved: the configuration names one that is not there.
    {
        TIniFile ini(IniFile());
        ini.WriteString(QStringLiteral("Database"), QStringLiteral("FileName"),
                        QDir(database.Dir()).filePath(QStringLiteral("jinde/Cinemon.gdb")));
        ini.UpdateFile();
    }
    TStartupEnv env;
    env.SplashPause = {};
    TDeskFactories desks;
    desks[TMenuButton::Nastaveni] = MakeDesk<TFNastaveni>;
    {
        TAppContext broken(database.ExecutablePath());
        TFMainCinemon window(broken, std::move(desks), env);
        window.show();
        window.FirstActivation();
        ASSERT_TRUE(window.SettingsOnly());
        window.ClickMenu(TMenuButton::Nastaveni);
        auto* settings = dynamic_cast<TFNastaveni*>(window.Desk());
        ASSERT_NE(settings, nullptr);
        EXPECT_EQ(settings->CurrentPage(), P::Databaze);
        EXPECT_FALSE(settings->Button(P::Pujcky)->isEnabled());
        EXPECT_TRUE(settings->Button(P::Tisk)->isEnabled());
        hook.Clear();
        auto* file = settings->Page(P::Databaze)->findChild<TMoxEdit*>(QStringLiteral("ESoubor"));
        Type(file, database.DatabaseFile());
        settings->Page(P::Databaze)->findChild<QPushButton*>(QStringLiteral("BUlozDatabaze"))->click();
        EXPECT_EQ(hook.Texts(), std::vector<QString>{QStringLiteral(
                                    "Provedené změny se projeví až po dalším spuštění aplikace.")});
        window.EndWithoutAsking();
    }
    TAppContext restarted(database.ExecutablePath());
    EXPECT_TRUE(restarted.Db().Connect());
    EXPECT_EQ(restarted.Pobocka().GetJmeno(), QStringLiteral("Videopůjčovna"));
}

TEST_F(DatabasePage, PrintSettingsGoToThePrintSectionAndTheSerialDialogSetsTheLine) {
    Open(false, u'P');
    ASSERT_EQ(desk->CurrentPage(), P::Tisk);
    EXPECT_TRUE(OnPage<QRadioButton>(P::Tisk, "RAscii")->isChecked());
    EXPECT_EQ(OnPage<QSpinBox>(P::Tisk, "ESirka")->value(), 40);
    EXPECT_FALSE(OnPage(P::Tisk, "EPoStrihu")->isEnabled());
    OnPage<QRadioButton>(P::Tisk, "RWin1250")->click();
    hook.Script([](QDialog& dialog) {
        dialog.findChild<QComboBox*>(QStringLiteral("CBRychlost"))->setCurrentIndex(9);
        dialog.findChild<QComboBox*>(QStringLiteral("CBParita"))->setCurrentIndex(2);
        dialog.findChild<QPushButton*>(QStringLiteral("BOK"))->click();
    });
    Click(OnPage(P::Tisk, "BCom2"));
    EXPECT_TRUE(OnPage<QRadioButton>(P::Tisk, "RCom2")->isChecked());
    OnPage<QSpinBox>(P::Tisk, "EPred")->setValue(3);
    EXPECT_EQ(OnPage<QSpinBox>(P::Tisk, "EPoStrihu")->value(), 3);
    Click(OnPage(P::Tisk, "BUlozTisk"));
    EXPECT_FALSE(OnPage(P::Tisk, "BUlozTisk")->isEnabled());

    TPrintSettings stored;
    ReadPrintSettings(PrintSettingsFile(database.ExecutablePath()), stored);
    EXPECT_EQ(stored.Coding, QStringLiteral("Win1250"));
    EXPECT_EQ(stored.Device, QStringLiteral("COM2"));
    EXPECT_EQ(stored.Baudrate, 9);
    EXPECT_EQ(stored.Parity, 2);
    EXPECT_EQ(stored.SpaceBefore, 3);
    EXPECT_EQ(stored.SpaceShear, 3);
    const QByteArray bytes = [&] {
        QFile file(PrintSettingsFile(database.ExecutablePath()));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    EXPECT_TRUE(bytes.contains("[Print]\r\n")) << bytes.toStdString();
    EXPECT_TRUE(bytes.contains("[Database]\r\n")) << "the connection stays";
}

TEST_F(DatabasePage, ASerialLineTheSystemCannotSetIsRefusedAtSaveAndTheOwnSpeedIsStored) {
    Open(false, u'P');
    ASSERT_EQ(desk->CurrentPage(), P::Tisk);
    const auto serial = [this](Qt::Key bits, Qt::Key speed, const QString& ownSpeed) {
        hook.Script([=](QDialog& dialog) {
            QTest::keyClick(dialog.findChild<QComboBox*>(QStringLiteral("CBDatoveBity")), bits);
            QTest::keyClick(dialog.findChild<QComboBox*>(QStringLiteral("CBRychlost")), speed);
            auto* own = dialog.findChild<QSpinBox*>(QStringLiteral("ERychlost"));
            EXPECT_EQ(own->isEnabled(), !ownSpeed.isEmpty());
            if (own->isEnabled()) {
                own->selectAll();
                QTest::keyClicks(own, ownSpeed);
            }
            QTest::keyClick(dialog.findChild<QPushButton*>(QStringLiteral("BOK")), Qt::Key_Space);
        });
        Click(OnPage(P::Tisk, "BCom1"));
    };
    serial(Qt::Key_Home, Qt::Key_Home, {}); // 4 data bits at 110 Bd
    hook.Answer({TMsgResult::Ok});
    Click(OnPage(P::Tisk, "BUlozTisk"));
    ASSERT_EQ(hook.messages.size(), 1u);
    EXPECT_EQ(hook.messages[0].kind, TMsgKind::Warning);
    EXPECT_TRUE(hook.messages[0].text.startsWith(QStringLiteral("Sériový port neumí 4 datové bity.\r")));
    EXPECT_TRUE(hook.messages[0].text.endsWith(QStringLiteral("Nastavení tisku nebylo uloženo.")));
    EXPECT_TRUE(OnPage(P::Tisk, "BUlozTisk")->isEnabled()) << "the input stays";
    TPrintSettings stored;
    ReadPrintSettings(PrintSettingsFile(database.ExecutablePath()), stored);
    EXPECT_EQ(stored.Databits, TPrintSettings().Databits);

    hook.Clear();
    serial(Qt::Key_End, Qt::Key_End, QStringLiteral("31250")); // 8 data bits at the own speed
    Click(OnPage(P::Tisk, "BUlozTisk"));
    EXPECT_TRUE(hook.messages.empty()) << hook.Texts().front().toStdString();
    ReadPrintSettings(PrintSettingsFile(database.ExecutablePath()), stored);
    EXPECT_EQ(stored.Device, QStringLiteral("COM1"));
    EXPECT_EQ(stored.Baudrate, 15);
    EXPECT_EQ(stored.CustomBaudrate, 31250);
    EXPECT_EQ(stored.Databits, 4);
}

TEST_F(DatabasePage, PrintSettingsFromADamagedFileShowWithinTheirLimitsAndASaveKeepsTheRest) {
    const QString ini = PrintSettingsFile(database.ExecutablePath());
    {
        QFile file(ini);
        ASSERT_TRUE(file.open(QIODevice::Append));
        file.write(QByteArray("\r\n\x81\x98 smeti bez rovnitka\r\n[Print]\r\nDevice=LPT\r\nWidth=1000000\r\n"
                              "SpaceBefore=-5\r\nSpaceAfter=dva\r\nVlastni=ano\r\n\0\0\0"));
    }
    Open(false, u'P');
    ASSERT_EQ(desk->CurrentPage(), P::Tisk);
    EXPECT_TRUE(OnPage<QRadioButton>(P::Tisk, "RLpt")->isChecked());
    EXPECT_EQ(OnPage<QSpinBox>(P::Tisk, "ESirka")->value(), 99);
    EXPECT_EQ(OnPage<QSpinBox>(P::Tisk, "EPred")->value(), 0);
    EXPECT_EQ(OnPage<QSpinBox>(P::Tisk, "EPo")->value(), 2);
    OnPage<QSpinBox>(P::Tisk, "ESirka")->setValue(42);
    Click(OnPage(P::Tisk, "BUlozTisk"));
    EXPECT_TRUE(hook.messages.empty()) << hook.Texts().front().toStdString();

    TPrintSettings stored;
    ReadPrintSettings(ini, stored);
    EXPECT_EQ(stored.Width, 42);
    EXPECT_EQ(stored.SpaceBefore, 0);
    EXPECT_EQ(stored.SpaceAfter, 2);
    EXPECT_EQ(stored.Unusable(), QString());
    QFile file(ini);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(text.contains(QStringLiteral(" smeti bez rovnitka\r\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("Vlastni=ano\r\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("[Database]\r\n")));
    EXPECT_FALSE(text.contains(QChar(0)));
}

} // namespace
