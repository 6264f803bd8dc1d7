#include "ReceiptPrinting.h"
#include "ExternalCodec.h"
#include "GlobDialog.h"
#include "GlobFunc.h"
#include "Hotovost.h"
#include "IniFile.h"
#include "MoxButton.h"
#include "PortPeers.h"
#include "Program.h"
#include "ReceiptData.h"
#include "TestDatabase.h"

#include <QDir>
#include <QTest>
#include <QTimer>

#include <sys/stat.h>

namespace {

// The shop, customer and receipt of the expected printouts, written into a test database: the
// receipt's lines are stored in another order than the visit's.
class ReceiptPrinting : public ::testing::Test {
protected:
    ReceiptPrinting() {
        const TReceiptBranch b = TestBranch();
        database.Exec(
            QStringLiteral("update POBOCKA set JMENO = %1, IC = %2, DIC = %3, ADR_ULICE = %4, TEL = %5, "
                           "ADR_PSC = %6, ADR_OBEC = %7, EMAIL = %8, TEXT_DOKLAD = %9")
                .arg(SqlText(b.Jmeno), SqlText(b.Ic), SqlText(b.Dic), SqlText(b.AdrUlice), SqlText(b.Tel),
                     SqlText(b.AdrPsc), SqlText(b.AdrObec), SqlText(b.Email), SqlText(b.TextDoklad)));
        database.Exec(
            QStringLiteral("update SPEC_CENA set PLATCE_DPH = 'A', DPH_A = 21, DPH_B = 12, MENA = 'Kč'"));
        const int admin = database.AdminKey();
        database.Exec(
            QStringLiteral("insert into ZAKAZNICI (KOD_ZAK, EAN_KOD, JMENO, PRIJMENI, UZIV_REG, UZIV_ZMENA) "
                           "values (3, '0503261234000012', 'Jiří', 'Šťastný', %1, %1)")
                .arg(admin));
        const QStringList titles = {QStringLiteral("Pelíšky"), QStringLiteral("Kolja"),
                                    QStringLiteral("Žluťoučký kůň")};
        for (int i = 1; i <= 3; ++i) {
            database.Exec(
                QStringLiteral("insert into TITULY (KOD_TITUL, NAZEV_CESKY, TYP_NOSICE) values (%1, %2, 'D')")
                    .arg(i)
                    .arg(SqlText(titles[i - 1])));
            database.Exec(QStringLiteral("insert into NOSICE (KOD_NOSIC, KOD_TITUL, EAN_KOD) values (%1, %2, "
                                         "'0503261000%3')")
                              .arg(10 + i)
                              .arg(i)
                              .arg(i * 100000 + i));
        }
        database.Exec(
            QStringLiteral("insert into DOKLADY (KOD_DOK, CISLO_DOK, KOD_ZAK, D_UZP, D_VYSTAVENI, "
                           "UZIV_VYSTAVIL) values (57, 57, 3, '2026-03-05', '2026-03-05 10:00:00', %1)")
                .arg(admin));
        // KOD_RAD, medium, title, days, price without and with VAT, class; the last line first.
        AddLine(4, 11, 1, 1, -24.80, -30, "A");
        AddLine(1, 11, 1, 2, 24.80, 30, "A");
        AddLine(2, 12, 2, 1, 26.79, 30, "B");
        AddLine(3, 13, 3, 3, 15, 15, "0");
    }

    void AddLine(int kodRad, int kodNosic, int kodTitul, int days, double cena, double cenaDph,
                 const char* dph) {
        database.Exec(
            QStringLiteral("insert into RADKY_DOK (KOD_RAD, KOD_DOK, KOD_NOSIC, KOD_TITUL, D_PUJCENI, CENA, "
                           "DPH, CENA_DPH, POCET_DNI) values (%1, 57, %2, %3, '2026-03-05 10:00:00', %4, "
                           "'%5', %6, %7)")
                .arg(kodRad)
                .arg(kodNosic)
                .arg(kodTitul)
                .arg(FloatToSql(cena), QString::fromLatin1(dph), FloatToSql(cenaDph))
                .arg(days));
    }

    // The settings page's keys, and the devices as a hand-edited file names them.
    void Configure(const TPrintSettings& settings) {
        const QString file = PrintSettingsFile(database.ExecutablePath());
        WritePrintSettings(file, settings);
        TIniFile ini(file);
        ini.WriteString(QStringLiteral("Print"), QStringLiteral("Com2Device"), settings.Com2Device);
        ini.WriteString(QStringLiteral("Print"), QStringLiteral("LptDevice"), settings.LptDevice);
        ini.UpdateFile();
    }
    TPrintSettings ToFiles(const QString& coding) const {
        TPrintSettings s = TestSettings(coding);
        s.Device = TPrintSettings::DeviceFile();
        s.FilesPath = out.path();
        return s;
    }
    QStringList Printed() const { return QDir(out.path()).entryList(QDir::Files); }
    QByteArray ReadOut(const QString& name) const {
        QFile file(out.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
    }
    static std::string Shown(const QByteArray& bytes) { return QString::fromLatin1(bytes).toStdString(); }

    TTestDatabase database;
    TAppContext context{database.ExecutablePath()};
    TPortReceiptPrinter printer{context, database.ExecutablePath()};
    TTransaction transaction{context.Db().DB};
    QTemporaryDir out;
};

TEST_F(ReceiptPrinting, ATaxReceiptFileHoldsTheLinesInTheOrderOfTheVisit) {
    Configure(ToFiles(QStringLiteral("LATIN2")));
    const TPrintOutcome outcome = printer.Document(57, 1, transaction);
    EXPECT_TRUE(outcome.Ok) << outcome.Message.toStdString();
    EXPECT_EQ(Printed(), QStringList{QStringLiteral("PRN_DOK_57.PRN")});
    EXPECT_EQ(Shown(ReadOut(QStringLiteral("PRN_DOK_57.PRN"))),
              Shown(Iconv(QStringLiteral("CP852"), ExpectedText(QStringLiteral("TaxReceiptPayer.txt")))));
    EXPECT_FALSE(transaction.Active()) << "the printing started the transaction and ends it";

    transaction.StartTransaction();
    EXPECT_TRUE(printer.Document(57, 2, transaction).Ok);
    EXPECT_TRUE(transaction.Active()) << "the caller's own transaction stays open";
    const QByteArray once =
        Iconv(QStringLiteral("CP852"), ExpectedText(QStringLiteral("TaxReceiptPayer.txt")));
    EXPECT_EQ(ReadOut(QStringLiteral("PRN_DOK_57.PRN")), once + once) << "a second print replaces the file";
}

TEST_F(ReceiptPrinting, TheLinesAreFoundByTheReceiptsIndexAndNotByWalkingEveryLine) {
    auto lines = context.Db().OpenQuery(transaction, DocumentLinesSql(57));
    lines->Open();
    const QString plan = lines->Plan();
    EXPECT_TRUE(plan.contains(QStringLiteral("R INDEX (IX_RADKY_DOK_DOK)"))) << plan.toStdString();
    EXPECT_FALSE(plan.contains(QStringLiteral("ORDER"))) << plan.toStdString();
    EXPECT_TRUE(plan.startsWith(QStringLiteral("PLAN SORT"))) << plan.toStdString();
}

TEST_F(ReceiptPrinting, TheShopIsReadAnewAndTheRatesPrintedAreThoseTheAmountsWereComputedWith) {
    Configure(ToFiles(QStringLiteral("Win1250")));
    ASSERT_TRUE(printer.Document(57, 1, transaction).Ok);
    EXPECT_TRUE(ReadOut(QStringLiteral("PRN_DOK_57.PRN")).contains("klad  21%:"));
    // Another counter's settings desk changes the rates and the shop's name.
    database.Exec(QStringLiteral("update SPEC_CENA set DPH_A = 20, DPH_B = 10"));
    database.Exec(QStringLiteral("update POBOCKA set JMENO = 'Kino Nová vlna'"));
    ASSERT_TRUE(printer.Document(57, 1, transaction).Ok);
    const QByteArray text = ReadOut(QStringLiteral("PRN_DOK_57.PRN"));
    EXPECT_TRUE(text.contains("klad  21%:")) << Shown(text);
    EXPECT_TRUE(text.contains("klad 12%:")) << Shown(text);
    EXPECT_TRUE(text.contains("\nKino Nov\xE1 vlna\n")) << Shown(text);
    // A line priced at a rate to the hundredth prints that rate.
    database.Exec(QStringLiteral("update RADKY_DOK set CENA = 26.68 where KOD_RAD = 2"));
    ASSERT_TRUE(printer.Document(57, 1, transaction).Ok);
    EXPECT_TRUE(ReadOut(QStringLiteral("PRN_DOK_57.PRN")).contains("klad 12,44%:"))
        << Shown(ReadOut(QStringLiteral("PRN_DOK_57.PRN")));
}

TEST_F(ReceiptPrinting, AReceiptKeyWithoutAReceiptSendsNothingAndFails) {
    Configure(ToFiles(QStringLiteral("Win1250")));
    const TPrintOutcome outcome = printer.Document(58, 1, transaction);
    EXPECT_FALSE(outcome.Ok);
    EXPECT_EQ(outcome.Message, QStringLiteral("Doklad 58 v databázi není.\r"));
    EXPECT_TRUE(Printed().isEmpty());
    EXPECT_FALSE(transaction.Active());
    EXPECT_FALSE(printer.Deposit(TDepositKind::Taken, 4, 1, 100, transaction).Ok) << "no such customer";
    EXPECT_TRUE(Printed().isEmpty());
}

TEST_F(ReceiptPrinting, DepositReceiptsGoToTheCustomersFileAndTheReturnedOneReplacesTheTakenOne) {
    TPrintSettings settings = ToFiles(QStringLiteral("Kamenických"));
    settings.SpaceBefore = 0;
    settings.SpaceShear = 0;
    settings.SpaceAfter = 3;
    Configure(settings);
    EXPECT_TRUE(printer.Deposit(TDepositKind::Taken, 3, 1, 500, transaction, QDate(2026, 3, 5)).Ok);
    EXPECT_EQ(Printed(), QStringList{QStringLiteral("PRN_ZAL_3.PRN")});
    EXPECT_EQ(Shown(ReadOut(QStringLiteral("PRN_ZAL_3.PRN"))),
              Shown(Kamenicky(ExpectedText(QStringLiteral("DepositTaken.txt")))));
    EXPECT_TRUE(printer.Deposit(TDepositKind::Returned, 3, 1, 500, transaction, QDate(2026, 3, 5)).Ok);
    EXPECT_EQ(Printed(), QStringList{QStringLiteral("PRN_ZAL_3.PRN")});
    EXPECT_EQ(Shown(ReadOut(QStringLiteral("PRN_ZAL_3.PRN"))),
              Shown(Kamenicky(ExpectedText(QStringLiteral("DepositReturned.txt")))));
}

TEST_F(ReceiptPrinting, PrintFilesLieInTheChosenFolderOrElseInTheProgramsFolder) {
    TPrintSettings settings;
    settings.FilesPath = QStringLiteral("/srv/tisk");
    EXPECT_EQ(printer.DocumentFile(settings, 57), QStringLiteral("/srv/tisk/PRN_DOK_57.PRN"));
    settings.FilesPath = QStringLiteral("/srv/tisk/");
    EXPECT_EQ(printer.DepositFile(settings, 3), QStringLiteral("/srv/tisk/PRN_ZAL_3.PRN"));
    settings.FilesPath.clear();
    EXPECT_EQ(printer.DocumentFile(settings, 57),
              QDir(database.Dir()).filePath(QStringLiteral("PRN_DOK_57.PRN")));
}

TEST_F(ReceiptPrinting, WithoutAKnownDeviceNothingIsPrinted) {
    EXPECT_FALSE(printer.Document(57, 1, transaction).Ok) << "no configuration of the printer at all";
    TPrintSettings settings = ToFiles(QStringLiteral("ASCII"));
    settings.Device = QStringLiteral("file");
    Configure(settings);
    const TPrintOutcome outcome = printer.Document(57, 1, transaction);
    EXPECT_FALSE(outcome.Ok);
    EXPECT_EQ(outcome.Message, QStringLiteral("Tiskárna paragonů není nastavena.\r"));
    EXPECT_TRUE(Printed().isEmpty());
}

TEST_F(ReceiptPrinting, AHandEditedNumberBeyondThePagesRangePrintsNothingAndNamesTheKey) {
    Configure(ToFiles(QStringLiteral("ASCII")));
    const QString file = PrintSettingsFile(database.ExecutablePath());
    const auto edit = [&](const char* key, const char* value) {
        TIniFile ini(file);
        ini.WriteString(QStringLiteral("Print"), QString::fromLatin1(key), QString::fromLatin1(value));
        ini.UpdateFile();
    };
    // Not a number at all: as if the key were missing, the page's value.
    edit("Width", "čtyřicet");
    ASSERT_TRUE(printer.Document(57, 1, transaction).Ok);
    const QList<QByteArray> lines = ReadOut(QStringLiteral("PRN_DOK_57.PRN")).split('\n');
    const auto separator = std::find_if(lines.begin(), lines.end(),
                                        [](const QByteArray& line) { return line.startsWith("-----"); });
    ASSERT_NE(separator, lines.end());
    EXPECT_EQ(separator->size(), 40);
    QFile::remove(out.filePath(QStringLiteral("PRN_DOK_57.PRN")));

    edit("Width", "1000000");
    TPrintOutcome outcome = printer.Document(57, 1, transaction);
    EXPECT_FALSE(outcome.Ok);
    EXPECT_EQ(
        outcome.Message,
        QStringLiteral(
            "Nastavení tisku Width=1000000 v konfiguračním souboru je mimo povolený rozsah 0 až 99.\r"));
    edit("Width", "40");
    edit("SpaceAfter", "-3");
    outcome = printer.Deposit(TDepositKind::Taken, 3, 1, 500, transaction, QDate(2026, 3, 5));
    EXPECT_FALSE(outcome.Ok);
    EXPECT_TRUE(outcome.Message.contains(QStringLiteral("SpaceAfter=-3"))) << outcome.Message.toStdString();
    EXPECT_TRUE(Printed().isEmpty());
    EXPECT_FALSE(transaction.Active());
}

TEST_F(ReceiptPrinting, TheSerialAndParallelPortsGetTheSameBytesAsTheFile) {
    Configure(ToFiles(QStringLiteral("ASCII")));
    ASSERT_TRUE(printer.Document(57, 1, transaction).Ok);
    const QByteArray expected = ReadOut(QStringLiteral("PRN_DOK_57.PRN"));
    EXPECT_EQ(Shown(expected), Shown(ExpectedText(QStringLiteral("TaxReceiptPayer.ascii.txt"))));

    TPtyPair pair;
    TPrintSettings com = ToFiles(QStringLiteral("ASCII"));
    com.Device = TPrintSettings::DeviceCom2();
    com.Com2Device = pair.portA;
    com.Baudrate = 4; // 2 400 Bd
    Configure(com);
    const TPrintOutcome serial = printer.Document(57, 1, transaction);
    EXPECT_TRUE(serial.Ok) << serial.Message.toStdString();
    EXPECT_EQ(Shown(ReadUntil(pair.far, expected.size() + 1, 3000)), Shown(expected));

    const QString fifo = out.filePath(QStringLiteral("lp0"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    TPrintSettings lpt = ToFiles(QStringLiteral("ASCII"));
    lpt.Device = TPrintSettings::DeviceLpt();
    lpt.LptDevice = fifo;
    Configure(lpt);
    TFifoReader reader(fifo);
    const TPrintOutcome parallel = printer.Document(57, 1, transaction);
    EXPECT_TRUE(parallel.Ok) << parallel.Message.toStdString();
    EXPECT_EQ(Shown(reader.Received()), Shown(expected));
}

TEST_F(ReceiptPrinting, ThePaymentDialogPrintsThroughTheProgramsPrinterAndReportsAFailure) {
    TDialogHook hook;
    TStartupEnv env;
    env.SplashPause = {};
    auto program = StartProgram(database.ExecutablePath(), {}, env, [] { return true; });
    ASSERT_TRUE(program);
    ASSERT_NE(program->Context->ReceiptPrinter, nullptr);
    Configure(ToFiles(QStringLiteral("Win1250")));

    TFHotovost receipt(*program->Context, program->Context->ReceiptPrinter);
    receipt.SetReceipt(57);
    receipt.SetAmount(105);
    receipt.findChild<TMoxButton*>(QStringLiteral("BTisk"))->click();
    TFHotovost taken(*program->Context, program->Context->ReceiptPrinter);
    taken.SetDeposit(3);
    taken.SetAmount(500);
    taken.findChild<TMoxButton*>(QStringLiteral("BTisk"))->click();
    EXPECT_TRUE(hook.messages.empty());
    EXPECT_EQ(Printed(), (QStringList{QStringLiteral("PRN_DOK_57.PRN"), QStringLiteral("PRN_ZAL_3.PRN")}));
    EXPECT_TRUE(ReadOut(QStringLiteral("PRN_DOK_57.PRN")).contains("D A \xD2 O V \xDD"));
    EXPECT_TRUE(ReadOut(QStringLiteral("PRN_ZAL_3.PRN"))
                    .contains("P\xD8"
                              "EVZAT\xC1 \xC8\xC1STKA:"));

    TFHotovost returned(*program->Context, program->Context->ReceiptPrinter);
    returned.SetDeposit(3);
    returned.SetAmount(-200);
    TPrintSettings lpt = ToFiles(QStringLiteral("Win1250"));
    lpt.Device = TPrintSettings::DeviceLpt();
    lpt.LptDevice = out.filePath(QStringLiteral("lp9"));
    Configure(lpt);
    returned.findChild<TMoxButton*>(QStringLiteral("BTisk"))->click();
    ASSERT_EQ(hook.messages.size(), 1U);
    // A warning that says what to check, not a report of a failure in the program.
    EXPECT_EQ(hook.messages[0].kind, TMsgKind::Warning);
    EXPECT_TRUE(hook.messages[0].text.startsWith(
        QStringLiteral("Doklad nebyl vytištěn.\rChyba při otevírání portu.")))
        << hook.messages[0].text.toStdString();
    EXPECT_TRUE(hook.messages[0].text.contains(QStringLiteral("má papír")));
    EXPECT_TRUE(ReadOut(QStringLiteral("PRN_ZAL_3.PRN"))
                    .contains("P\xD8"
                              "EVZAT\xC1"))
        << "the file stays";
}

TEST_F(ReceiptPrinting, APrinterThatStopsTakingTheReceiptKeepsTheWaitBoxUpNotTheCounterAndEndsInAWarning) {
    TDialogHook hook;
    TStartupEnv env;
    env.SplashPause = {};
    auto program = StartProgram(database.ExecutablePath(), {}, env, [] { return true; });
    ASSERT_TRUE(program);
    TPtyPair pair;
    const TXoffHold hold(pair.portA, pair.far); // and never says XON again
    TPrintSettings com = ToFiles(QStringLiteral("ASCII"));
    com.Device = TPrintSettings::DeviceCom2();
    com.Com2Device = pair.portA;
    com.Baudrate = 12;
    com.FlowControl = 1;
    Configure(com);

    TFHotovost receipt(*program->Context, program->Context->ReceiptPrinter);
    receipt.SetReceipt(57);
    receipt.SetAmount(105);
    receipt.show();
    bool waitShownMeanwhile = false;
    QTimer::singleShot(1000, [&] { waitShownMeanwhile = WaitDialogShown(); });
    QTest::keyClick(receipt.findChild<TMoxButton*>(QStringLiteral("BTisk")), Qt::Key_Space);
    EXPECT_TRUE(waitShownMeanwhile) << "the counter kept running while the receipt was being sent";
    EXPECT_FALSE(WaitDialogShown());
    EXPECT_EQ(hook.waitTexts, std::vector<QString>{QStringLiteral("Tisknu doklad...")});
    ASSERT_EQ(hook.messages.size(), 1U);
    EXPECT_EQ(hook.messages[0].kind, TMsgKind::Warning);
    EXPECT_TRUE(hook.messages[0].text.contains(QStringLiteral("nepřevzala 10 s žádný znak")))
        << hook.messages[0].text.toStdString();
    EXPECT_TRUE(hook.messages[0].text.contains(QStringLiteral("řízení toku")));
}

} // namespace
