#include "CustomerHistory.h"
#include "AppContext.h"
#include "GlobDialog.h"
#include "MemTable.h"
#include "MoxGrid.h"
#include "MoxMemo.h"
#include "MoxNumEdit.h"
#include "TestDatabase.h"
#include "ZakHistorie.h"

#include <QImage>

namespace {

class CustomerHistory : public ::testing::Test {
protected:
    CustomerHistory() {
        context.CurrentUser.KodUziv = database.AdminKey();
        database.Exec(
            QStringLiteral("insert into ZAKAZNICI (KOD_ZAK, JMENO, PRIJMENI) values (1, 'Eva', 'Malá')"));
        database.Exec(QStringLiteral("insert into TITULY (KOD_TITUL, NAZEV_CESKY) values (1, 'Pelíšky')"));
        for (int medium = 1; medium <= 4; ++medium)
            database.Exec(
                QStringLiteral("insert into NOSICE (KOD_NOSIC, KOD_TITUL, EAN_KOD, CENA_NAKUP) values "
                               "(%1, 1, '40103260000%1', 399)")
                    .arg(medium));
    }

    void Loan(int medium, const QString& lent, const QString& due, const QString& returned) {
        database.Exec(
            QStringLiteral("insert into PUJCKY (KOD_TITUL, KOD_NOSIC, KOD_ZAK, D_PUJCENI, CENA_PUJCKA, "
                           "TERMIN_VRACENI, D_VRACENI) values (1, %1, 1, '%2', 40, '%3', %4)")
                .arg(medium)
                .arg(lent, due, returned.isEmpty() ? QStringLiteral("null") : u'\'' + returned + u'\''));
    }

    void Receipt(int key, double amount, bool cancelled) {
        database.Exec(QStringLiteral("insert into DOKLADY (KOD_DOK, KOD_ZAK, D_VYSTAVENI) values (%1, 1, "
                                     "CURRENT_TIMESTAMP)")
                          .arg(key));
        database.Exec(QStringLiteral("update DOKLADY set CENA_DPH = %1, D_STORNO = %2 where KOD_DOK = %3")
                          .arg(amount)
                          .arg(cancelled ? QStringLiteral("CURRENT_TIMESTAMP") : QStringLiteral("null"))
                          .arg(key));
    }

    TMoxNumEdit* Figure(TFZakHistorie& dialog, const char* name) {
        return dialog.findChild<TMoxNumEdit*>(QString::fromLatin1(name));
    }

    TTestDatabase database;
    TAppContext context{database.ExecutablePath()};
    TDialogHook hook;
};

TEST_F(CustomerHistory, ACustomerWithoutLoansShowsZeroEverywhere) {
    context.CurrentUser.Prava = u'A';
    TFZakHistorie dialog(context);
    dialog.SetJmeno(QStringLiteral("Eva Malá"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Historie půjček: Eva Malá"));
    dialog.Load(1);
    for (const char* name : {"EPujcenych", "ENevracenych", "EPozde"})
        EXPECT_EQ(Figure(dialog, name)->text(), QStringLiteral("0")) << name;
    EXPECT_EQ(Figure(dialog, "EPomer")->text(), QStringLiteral("0,00"));
    EXPECT_EQ(Figure(dialog, "ETrzba")->text(), QStringLiteral("0,00"));
}

// Due on Monday 2 March: back on Monday evening is in time, back on Tuesday morning is late.
TEST_F(CustomerHistory, LateMeansBackOnADayAfterTheDueDay) {
    context.CurrentUser.Prava = u'V';
    Loan(1, QStringLiteral("2026-02-27 10:00:00"), QStringLiteral("2026-03-02"),
         QStringLiteral("2026-03-02 20:30:00"));
    Loan(2, QStringLiteral("2026-02-27 10:05:00"), QStringLiteral("2026-03-02"),
         QStringLiteral("2026-03-03 08:15:00"));
    Loan(3, QStringLiteral("2026-02-28 11:00:00"), QStringLiteral("2026-03-02"), QString());
    TFZakHistorie dialog(context);
    dialog.Load(1);
    EXPECT_EQ(Figure(dialog, "EPujcenych")->value(), 3);
    EXPECT_EQ(Figure(dialog, "ENevracenych")->value(), 1);
    EXPECT_EQ(Figure(dialog, "EPozde")->value(), 1);
    EXPECT_EQ(Figure(dialog, "EPomer")->text(), QStringLiteral("33,33"));

    const QDate today(2026, 3, 10);
    const QDate due(2026, 3, 2);
    EXPECT_FALSE(LoanRowLook({}, QDateTime(due, QTime(20, 30)), due, today).font.isValid());
    EXPECT_EQ(LoanRowLook({}, QDateTime(due.addDays(1), QTime(8, 15)), due, today).font, kLateColour);

    auto* grid = dialog.findChild<TMoxGrid*>(QStringLiteral("GridPujcky"));
    auto* loans = qobject_cast<TMemTable*>(grid->model());
    ASSERT_EQ(loans->rowCount(), 3);
    // Newest loan first.
    EXPECT_EQ(loans->value(0, QStringLiteral("EAN_KOD")).toString(), QStringLiteral("401032600003"));
    EXPECT_EQ(loans->value(0, QStringLiteral("D_VRACENI")).toString(), QString());
    EXPECT_EQ(loans->value(2, QStringLiteral("D_VRACENI")).toString(), QStringLiteral("02.03.2026 20:30"));
    EXPECT_EQ(loans->headerData(4, Qt::Horizontal).toString(), QStringLiteral("Datum vrácení"));
}

TEST_F(CustomerHistory, RowColoursRetiredLentDueAndLate) {
    const QDate today(2026, 3, 10);
    const QDateTime retired(QDate(2026, 3, 9), QTime(9, 0));
    // Still out and due today: a blue row with a red return-date cell.
    const TLoanRowLook dueToday = LoanRowLook({}, {}, today, today);
    EXPECT_EQ(dueToday.font, kLentColour);
    EXPECT_TRUE(dueToday.dueCell);
    EXPECT_FALSE(LoanRowLook({}, {}, today.addDays(1), today).dueCell);
    // Retired after it came back in time: grey.
    EXPECT_EQ(LoanRowLook(retired, QDateTime(QDate(2026, 3, 1), QTime(12, 0)), QDate(2026, 3, 2), today).font,
              kRetiredColour);
    // Later rules win: a retired medium returned late is red.
    EXPECT_EQ(LoanRowLook(retired, QDateTime(QDate(2026, 3, 5), QTime(12, 0)), QDate(2026, 3, 2), today).font,
              kLateColour);
}

TEST_F(CustomerHistory, TheGridDrawsADueLoanWithARedReturnCell) {
    context.CurrentUser.Prava = u'A';
    const QString today = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
    Loan(1, today + QStringLiteral(" 08:00:00"), today, QString());
    TFZakHistorie dialog(context);
    dialog.Load(1);
    dialog.resize(1200, 600);
    dialog.show();
    auto* grid = dialog.findChild<TMoxGrid*>(QStringLiteral("GridPujcky"));
    const QImage drawn = grid->viewport()->grab().toImage();
    const QRect due = grid->visualRect(grid->model()->index(0, 4));
    EXPECT_EQ(QColor(drawn.pixel(due.left() + 3, due.center().y())), kLateColour);
    const QRect title = grid->visualRect(grid->model()->index(0, 5));
    EXPECT_NE(QColor(drawn.pixel(title.left() + 3, title.center().y())), kLateColour);
}

TEST_F(CustomerHistory, TakingsAreShownToManagersOnly) {
    Receipt(1, 120.5, false);
    Receipt(2, 80, false);
    Receipt(3, 1000, true);
    context.CurrentUser.Prava = u'P';
    {
        TFZakHistorie seller(context);
        seller.Load(1);
        EXPECT_EQ(Figure(seller, "ETrzba")->text(), QStringLiteral("0,00"));
    }
    context.CurrentUser.Prava = u'V';
    TFZakHistorie manager(context);
    manager.Load(1);
    EXPECT_DOUBLE_EQ(Figure(manager, "ETrzba")->value(), 200.5);
}

TEST_F(CustomerHistory, TheMessageTextFollowsTheCurrentMessage) {
    database.Exec(
        QStringLiteral("insert into ZAK_ZPRAVY (KOD_ZAK, DATUM_ODS, UZIV_ODS, EMAIL_ADR, EMAIL_SUBJ, "
                       "EMAIL_MESSAGE) values (1, '2026-03-01 10:00:00', %1, 'eva@example.cz', 'Starší', "
                       "'Dobrý den, starší zpráva.')")
            .arg(context.CurrentUser.KodUziv));
    database.Exec(
        QStringLiteral("insert into ZAK_ZPRAVY (KOD_ZAK, DATUM_ODS, UZIV_ODS, EMAIL_ADR, EMAIL_SUBJ, "
                       "EMAIL_MESSAGE) values (1, '2026-03-05 10:00:00', %1, 'eva@example.cz', 'Novinky', "
                       "'Dobrý den, máme novinky.')")
            .arg(context.CurrentUser.KodUziv));
    TFZakHistorie dialog(context);
    dialog.Load(1);
    auto* grid = dialog.findChild<TMoxGrid*>(QStringLiteral("GridZpravy"));
    auto* text = dialog.findChild<TMoxMemo*>(QStringLiteral("MZprava"));
    auto* messages = qobject_cast<TMemTable*>(grid->model());
    ASSERT_EQ(messages->rowCount(), 2);
    EXPECT_EQ(messages->value(0, QStringLiteral("EMAIL_SUBJ")).toString(), QStringLiteral("Novinky"));
    EXPECT_EQ(messages->value(0, QStringLiteral("UZIVATEL")).toString(), QStringLiteral("Správce"))
        << "the shipped administrator has no first name";
    EXPECT_EQ(text->toPlainText(), QStringLiteral("Dobrý den, máme novinky."));
    messages->setCurrentRow(1);
    EXPECT_EQ(text->toPlainText(), QStringLiteral("Dobrý den, starší zpráva."));
}

TEST_F(CustomerHistory, OpensModallyFromTheCustomerDeskHook) {
    context.CurrentUser.Prava = u'A';
    TFZakHistorie dialog(context);
    int shownLoans = -1;
    hook.Script([&](QDialog& shown) {
        shownLoans = static_cast<int>(
            qobject_cast<TMemTable*>(shown.findChild<TMoxGrid*>(QStringLiteral("GridPujcky"))->model())
                ->rowCount());
        shown.reject();
    });
    Loan(4, QStringLiteral("2026-03-01 10:00:00"), QStringLiteral("2026-03-03"), QString());
    dialog.Open(1);
    EXPECT_EQ(shownLoans, 1);
}

} // namespace
