#include "CustomerMail.h"
#include "GlobDialog.h"
#include "LendingFixture.h"
#include "MoxButton.h"
#include "MoxComboBox.h"
#include "MoxGrid.h"
#include "MoxLabel.h"
#include "MoxNumEdit.h"
#include "PoTerminu.h"
#include "PrintedPage.h"
#include "Pujcky.h"
#include "ReportPreview.h"
#include "SmtpPeers.h"
#include "VisitLoad.h"
#include "Win1250.h"

#include <QFile>
#include <QFileDialog>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// Three customers with media overdue by 2, 5 and 9 days, one loan still running and one overdue
// loan already returned, in a shop that charges no rent on Sundays.
class OverdueList : public LendingShop {
protected:
    OverdueList() {
        database.LogInAdmin(context);
        today = QDate::currentDate();
        Charge("AAAAAAN");
        database.Exec(QStringLiteral(
            "update POBOCKA set JMENO = 'Videopůjčovna U Kina', ADR_ULICE = 'Hlavní 12', "
            "ADR_OBEC = 'Brno', ADR_PSC = '60200', TEL = '543 210 987', WEB = 'www.ukina.cz'"));
        AddCustomer(601, "Jan", "Dvořák", "777 111 222", QStringLiteral("jan@dvorak.cz"));
        AddCustomer(602, "Eva", "Malá", "608 333 444", QString());
        AddCustomer(603, "Petr", "Novák", "", QStringLiteral("petr@novak.cz"));
        AddTitle(3, QStringLiteral("Pelíšky; \"režisérská\" verze"), QStringLiteral("D"), 35, 4, 0);
        AddTitle(4, QStringLiteral("Kolja"), QStringLiteral("V"), 20, 3, 0);
        codes = {AddMedium(1, 3), AddMedium(2, 4), AddMedium(3, 4), AddMedium(4, 3), AddMedium(5, 4)};
        LendDue(1, 3, 601, 9, 35);
        LendDue(2, 4, 602, 5, 20);
        LendDue(3, 4, 603, 2, 20.5);
        LendDue(4, 3, 601, -1, 35);
        LendDue(5, 4, 603, 4, 20);
        database.Exec(QStringLiteral("update PUJCKY set D_VRACENI = CURRENT_TIMESTAMP where KOD_NOSIC = 5"));
    }

    void AddCustomer(int key, const char* jmeno, const char* prijmeni, const char* telefon,
                     const QString& email) {
        database.Exec(
            QStringLiteral("insert into ZAKAZNICI (KOD_ZAK, JMENO, PRIJMENI, TELEFON, EMAIL) values "
                           "(%1, %2, %3, %4, %5)")
                .arg(key)
                .arg(SqlText(QString::fromUtf8(jmeno)), SqlText(QString::fromUtf8(prijmeni)),
                     SqlText(QString::fromUtf8(telefon)), SqlText(email)));
    }
    // A loan of three days whose due date was the given number of days ago.
    void LendDue(int kodNosic, int kodTitul, int kodZak, int daysAgo, double price) {
        const QDate due = today.addDays(-daysAgo);
        database.RecordLoan(kodNosic, kodTitul, kodZak, due.addDays(-3), due, price);
    }
    // What the counter's total comes to when the customer brings the medium back today.
    double ChargedOnReturn(int kodZak, int kodNosic) {
        TVisit visit(context.SpecCena());
        RunInTransaction(
            db.DB, [&](TTransaction& tr) { visit.Load(kodZak, LoadLoansOnRecord(db, tr, kodZak), {}); });
        visit.Return(visit.FindMedium(kodNosic), today, QStringLiteral("Správce"), QString());
        return visit.Total();
    }

    std::unique_ptr<TFPoTerminu> Open() {
        auto dialog = std::make_unique<TFPoTerminu>(context);
        dialog->show();
        return dialog;
    }
    template <typename T = QWidget> static T* Child(QWidget& parent, const char* name) {
        T* child = parent.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    static QStringList Column(QWidget& dialog, int column) {
        QStringList cells;
        const QAbstractItemModel* model = Child<TMoxGrid>(dialog, "GridPoTerminu")->model();
        for (int row = 0; row < model->rowCount(); ++row)
            cells << model->index(row, column).data().toString();
        return cells;
    }
    // The clerk clicks the rows, with Ctrl after the first.
    static void ChooseRows(QWidget& dialog, std::initializer_list<int> rows) {
        auto* grid = Child<TMoxGrid>(dialog, "GridPoTerminu");
        Qt::KeyboardModifiers modifiers = Qt::NoModifier;
        for (const int row : rows) {
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, modifiers,
                              grid->visualRect(grid->model()->index(row, 0)).center());
            modifiers = Qt::ControlModifier;
        }
    }
    void UseServer(quint16 port) {
        database.Exec(QStringLiteral("update SPEC_APP set MAIL_HOST = '127.0.0.1', MAIL_PORT = '%1', "
                                     "MAIL_ODESLAT = 'Videopůjčovna U Kina <kino@ukina.cz>'")
                          .arg(port));
    }
    int Reminders(int kodZak) {
        return database
            .Scalar(QStringLiteral(
                        "select count(*) from ZAK_ZPRAVY where KOD_ZAK = %1 and UPOMINKA = CURRENT_DATE")
                        .arg(kodZak))
            .toInt();
    }

    TAppContext context{database.ExecutablePath()};
    TDialogHook hook;
    QDate today;
    std::vector<QString> codes;
    QTemporaryDir dir;
};

TEST_F(OverdueList, TheCounterListsEveryOverdueLoanWithTheChargeOfAReturnToday) {
    TFPujcky desk(context);
    desk.show();
    desk.ShowDesk();
    hook.Script([&](QDialog& dialog) {
        ASSERT_NE(qobject_cast<TFPoTerminu*>(&dialog), nullptr);
        EXPECT_EQ(Column(dialog, 0), (QStringList{QStringLiteral("Jan Dvořák"), QStringLiteral("Eva Malá"),
                                                  QStringLiteral("Petr Novák")}));
        EXPECT_EQ(Column(dialog, 1),
                  (QStringList{QStringLiteral("777 111 222"), QStringLiteral("608 333 444"), QString()}));
        EXPECT_EQ(Column(dialog, 2),
                  (QStringList{QStringLiteral("jan@dvorak.cz"), QStringLiteral("bez e-mailu"),
                               QStringLiteral("petr@novak.cz")}));
        EXPECT_EQ(Column(dialog, 4), (QStringList{codes[0], codes[1], codes[2]}));
        EXPECT_EQ(Column(dialog, 6),
                  (QStringList{QStringLiteral("9"), QStringLiteral("5"), QStringLiteral("2")}));
        const auto& shown = static_cast<TFPoTerminu&>(dialog).Shown();
        ASSERT_EQ(shown.size(), 3u);
        EXPECT_DOUBLE_EQ(shown[0].poplatek, ChargedOnReturn(601, 1));
        EXPECT_DOUBLE_EQ(shown[1].poplatek, ChargedOnReturn(602, 2));
        EXPECT_DOUBLE_EQ(shown[2].poplatek, ChargedOnReturn(603, 3));
        // Nine days hold a Sunday, which costs nothing.
        EXPECT_LT(shown[0].poplatek, 9 * 35.0);

        auto* days = Child<TMoxNumEdit>(dialog, "ENejmeneDni");
        days->setFocus();
        days->selectAll();
        QTest::keyClicks(days, QStringLiteral("5"));
        EXPECT_EQ(Column(dialog, 6), (QStringList{QStringLiteral("9"), QStringLiteral("5")}));
        auto* order = Child<TMoxComboBox>(dialog, "CBRazeni");
        order->setFocus();
        QTest::keyClick(order, Qt::Key_Down);
        EXPECT_EQ(Column(dialog, 6), (QStringList{QStringLiteral("5"), QStringLiteral("9")}));
        EXPECT_TRUE(Child<TMoxLabel>(dialog, "LCelkem")
                        ->text()
                        .startsWith(QStringLiteral("Nosičů: 2, zákazníků: 2")));
        Child<TMoxButton>(dialog, "BZavrit")->click();
    });
    Child<TMoxButton>(desk, "BPoTerminu")->click();
    EXPECT_TRUE(hook.dialogScripts.empty());
    desk.LeaveDesk();
}

TEST_F(OverdueList, SavesAFileACzechSpreadsheetOpens) {
    database.Exec(
        QStringLiteral("update ZAKAZNICI set TELEFON = '+420 605 111 222', JMENO = '=HYPERLINK(\"x\")' "
                       "where KOD_ZAK = 603"));
    const auto dialog = Open();
    const QString path = dir.filePath(QStringLiteral("po_terminu.csv"));
    hook.Script([&](QDialog& files) {
        ASSERT_NE(qobject_cast<QFileDialog*>(&files), nullptr);
        static_cast<QFileDialog&>(files).selectFile(path);
        files.accept();
    });
    Child<TMoxButton>(*dialog, "BExport")->click();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    const QList<QByteArray> lines = bytes.mid(3).split('\n');
    ASSERT_EQ(lines.size(), 5); // a caption row, three rows and the end of the last line
    EXPECT_EQ(QString::fromUtf8(lines[0]),
              QStringLiteral("Zákazník;Telefon;E-mail;Titul;CN kód;Termín vrácení;"
                             "Dní po termínu;Půjčovné po termínu;Upomínka\r"));
    const QString fee = QString::number(ChargedOnReturn(601, 1), 'f', 2).replace(u'.', u',');
    EXPECT_EQ(QString::fromUtf8(lines[1]),
              QStringLiteral("Jan Dvořák;777 111 222;jan@dvorak.cz;\"Pelíšky; \"\"režisérská\"\" verze\";") +
                  codes[0] + u';' + today.addDays(-9).toString(QStringLiteral("dd.MM.yyyy")) +
                  QStringLiteral(";9;") + fee + QStringLiteral(";\r"));
    EXPECT_TRUE(
        lines[3].startsWith("\"'=HYPERLINK(\"\"x\"\") Nov\xC3\xA1k\";'+420 605 111 222;petr@novak.cz;Kolja;"))
        << "no formula runs in the spreadsheet: " << lines[3].toStdString();
    EXPECT_TRUE(lines[4].isEmpty());
}

TEST_F(OverdueList, PrintsAnA4ReportWithTheShopHeader) {
    const auto dialog = Open();
    const QString pdf = dir.filePath(QStringLiteral("po_terminu.pdf"));
    hook.Script([&](QDialog& preview) {
        auto* report = qobject_cast<TFReportPreview*>(&preview);
        ASSERT_NE(report, nullptr);
        QPdfWriter writer(pdf);
        report->Report().Print(writer, QDateTime(QDate(2026, 3, 7), QTime(18, 5, 9)));
        preview.findChild<QPushButton*>(QStringLiteral("BZavrit"))->click();
    });
    Child<TMoxButton>(*dialog, "BTisk")->click();
    EXPECT_TRUE(hook.dialogScripts.empty());
    const QSizeF page = PrintedPage::PageSize(pdf);
    EXPECT_NEAR(page.width(), 595, 1);
    EXPECT_NEAR(page.height(), 842, 1);
    const QString text = PrintedPage::Text(pdf).simplified();
    for (const QString& expected :
         {QStringLiteral("Nosiče po termínu vrácení"), QStringLiteral("Prodejna:"),
          QStringLiteral("Videopůjčovna U Kina"), QStringLiteral("07.03.2026 18:05:09"),
          QStringLiteral("Nejméně dní po termínu: 1"), QStringLiteral("Jan Dvořák"),
          QStringLiteral("777 111 222"), QStringLiteral("petr@novak.cz"), codes[1],
          QStringLiteral("Nosičů po termínu: 3")})
        EXPECT_TRUE(text.contains(expected)) << expected.toStdString() << "\n" << text.toStdString();
}

TEST_F(OverdueList, RemindsTheChosenCustomersOnceADaySkippingThoseWithoutEmail) {
    TSmtpSink sink;
    UseServer(sink.Port());
    const auto dialog = Open();
    dialog->SetTimeout(10'000);
    ChooseRows(*dialog, {0, 1}); // Jan Dvořák, and Eva Malá without an address
    hook.Answer({TMsgResult::Ok});
    Child<TMoxButton>(*dialog, "BUpomenout")->click();

    const auto messages = sink.Messages();
    ASSERT_EQ(messages.size(), 1u) << ::testing::PrintToString(hook.Texts());
    EXPECT_EQ(messages[0].rcptTo, QStringList{QStringLiteral("jan@dvorak.cz")});
    const QString data = Win1250::Decode(messages[0].data);
    EXPECT_TRUE(data.contains(QStringLiteral("Subject: Upomínka - nevrácené nosiče"))) << data.toStdString();
    EXPECT_TRUE(data.contains(QStringLiteral("upozorňujeme Vás, že máte po termínu vrácení")));
    EXPECT_TRUE(data.contains(
        QStringLiteral("Pelíšky; \"režisérská\" verze (") + codes[0] + QStringLiteral(") - termín vrácení ") +
        today.addDays(-9).toString(QStringLiteral("dd.MM.yyyy")) + QStringLiteral(", dní po termínu: 9")))
        << data.toStdString();
    EXPECT_TRUE(data.contains(QStringLiteral("Videopůjčovna U Kina\r\nHlavní 12")));
    EXPECT_EQ(Reminders(601), 1);
    EXPECT_EQ(Reminders(602), 0);
    ASSERT_EQ(hook.messages.size(), 1u);
    EXPECT_EQ(hook.messages[0].text,
              QStringLiteral("Těmto zákazníkům upomínka odeslána nebyla:\rBez e-mailu: Eva Malá."));
    EXPECT_EQ(Child<TMoxLabel>(*dialog, "LPrubeh")->text(), QStringLiteral("Odeslané upomínky: 1 z 2."));
    EXPECT_EQ(Child<TMoxGrid>(*dialog, "GridPoTerminu")->model()->index(0, 8).data().toDate(), today)
        << "the list shows today's reminder";

    // The same day again: nothing goes out twice.
    hook.Clear();
    hook.Answer({TMsgResult::Ok});
    ChooseRows(*dialog, {0});
    Child<TMoxButton>(*dialog, "BUpomenout")->click();
    EXPECT_EQ(sink.Messages().size(), 1u);
    EXPECT_EQ(Reminders(601), 1);
    ASSERT_EQ(hook.messages.size(), 1u);
    EXPECT_EQ(hook.messages[0].text,
              QStringLiteral("Těmto zákazníkům upomínka odeslána nebyla:\rDnes již upomenuti: Jan Dvořák."));
}

TEST_F(OverdueList, ACustomerAnotherCounterIsRemindingGetsNoSecondReminder) {
    TSmtpSink sink;
    UseServer(sink.Port());
    // The other counter has recorded its reminder and is still talking to the server.
    TDMGlobDB other(database.ExecutablePath());
    other.Connect();
    TTransaction sending(other.DB);
    sending.StartTransaction();
    other.ExecSql(sending, MailLogSql(603, 1, QStringLiteral("petr@novak.cz"), QStringLiteral("Upomínka"),
                                      QStringLiteral("text"), true));
    const auto dialog = Open();
    dialog->SetTimeout(10'000);
    ChooseRows(*dialog, {2});
    hook.Answer({TMsgResult::Ok});
    Child<TMoxButton>(*dialog, "BUpomenout")->click();
    EXPECT_TRUE(sink.Messages().empty());
    ASSERT_EQ(hook.messages.size(), 1u);
    EXPECT_EQ(hook.messages[0].text,
              QStringLiteral("Těmto zákazníkům upomínka odeslána nebyla:\rUpomínku jim "
                             "právě posílá jiná pokladna: Petr Novák."));
    sending.Commit();
    EXPECT_EQ(Reminders(603), 1);
}

} // namespace
