#include "CashDeskFixture.h"
#include "GlobFunc.h"
#include "MoxButton.h"
#include "MoxEdit.h"
#include "MoxGrid.h"
#include "MoxLabel.h"
#include "MoxNumEdit.h"
#include "Till.h"
#include "Trzba.h"

#include <memory>

namespace {

const QString kNbsp(QChar(0x00A0));

// The takings desk on its own database, shown offscreen, opened as the main window opens it.
class TakingsDesk : public CashFixture {
protected:
    void Open() {
        desk = std::make_unique<TFTrzba>(context);
        desk->resize(1000, 700);
        desk->show();
        desk->ShowDesk();
        QApplication::setActiveWindow(desk.get());
    }
    ~TakingsDesk() override {
        if (desk)
            desk->LeaveDesk();
    }

    template <typename T = QWidget> T* Child(const char* name) {
        T* child = desk->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    TMoxNumEdit* Num(const char* name) { return Child<TMoxNumEdit>(name); }
    TMoxButton* Button(const char* name) { return Child<TMoxButton>(name); }
    bool SaveEnabled() { return Button("BUlozit")->isEnabled(); }
    int Movements() { return database.Scalar(QStringLiteral("select count(*) from HOTOVOST")).toInt(); }
    QStringList Rows(const char* grid) {
        QStringList rows;
        const QAbstractItemModel* model = Child<TMoxGrid>(grid)->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < model->columnCount(); ++column)
                cells << model->index(row, column).data().toString();
            rows << cells.join(u'|');
        }
        return rows;
    }
    // Only the database's owner may change the schema; the embedded engine trusts the name.
    void AsOwner(const QString& ddl) {
        TDatabase owner;
        owner.SetParams(database.DatabaseFile(), QStringLiteral("SYSDBA"), QString(), QStringLiteral("UTF8"));
        TTransaction transaction(owner);
        transaction.StartTransaction();
        TQuery(transaction, ddl).ExecSQL();
        transaction.Commit();
    }
    void Cash(const QString& when, double castka) {
        database.Exec(
            QStringLiteral("insert into HOTOVOST (DATUM, CASTKA, POPIS, UZIV_ZAPSAL) values ('%1', %2, "
                           "'Ruční', %3)")
                .arg(when, FloatToSql(castka))
                .arg(context.CurrentUser.KodUziv));
    }

    QDate today = database.Scalar(QStringLiteral("select current_date from rdb$database")).toDate();
    std::unique_ptr<TFTrzba> desk;
};

TEST_F(TakingsDesk, OpensOnTodaysBalancesWithTheWaitBoxAndTheFocusOnTheTakeOut) {
    database.Exec(QStringLiteral("insert into TRZBY (DATUM, POKLADNA, UZIV_UZAVREL) values (%1, 1000, %2)")
                      .arg(SqlDate(today.addDays(-1)))
                      .arg(context.CurrentUser.KodUziv));
    Cash(DateToText(QStringLiteral("yyyy-mm-dd"), today) + QStringLiteral(" 08:00:00"), 250.5);
    Open();
    EXPECT_EQ(hook.waitTexts, std::vector<QString>{QStringLiteral("Počítám tržbu...")});
    EXPECT_FALSE(WaitDialogShown());
    EXPECT_EQ(Num("EPokladnaDnes")->text(), QStringLiteral("1") + kNbsp + QStringLiteral("000,00"));
    EXPECT_EQ(Num("EPokladna")->text(), QStringLiteral("1") + kNbsp + QStringLiteral("250,50"));
    EXPECT_TRUE(Num("EPokladna")->isReadOnly());
    EXPECT_EQ(QApplication::focusWidget(), Num("EOdvod"));
    int currencies = 0;
    for (auto* label : desk->findChildren<QLabel*>())
        currencies += label->text() == QStringLiteral("Kč");
    EXPECT_EQ(currencies, 4);
    EXPECT_FALSE(context.Db().DB.HasActiveTransaction()) << "the shown page holds back no clean-up";
}

TEST_F(TakingsDesk, WithoutYesterdaysCloseTheOpeningIsZeroAndTheCurrentBalanceTodaysNet) {
    database.Exec(QStringLiteral("insert into TRZBY (DATUM, POKLADNA, UZIV_UZAVREL) values (%1, 700, 1)")
                      .arg(SqlDate(today.addDays(-2))));
    Cash(DateToText(QStringLiteral("yyyy-mm-dd"), today) + QStringLiteral(" 08:00:00"), -40);
    Open();
    EXPECT_EQ(Num("EPokladnaDnes")->text(), QStringLiteral("0,00"));
    EXPECT_EQ(Num("EPokladna")->text(), QStringLiteral("-40,00"));
}

TEST_F(TakingsDesk, TakingOutStoresTheNegatedAmountAndSaysHowMuchLeftTheTill) {
    Open();
    EXPECT_FALSE(SaveEnabled());
    Type(Num("EOdvod"), QStringLiteral("500"));
    EXPECT_TRUE(SaveEnabled());
    Button("BUlozit")->click();

    ASSERT_EQ(hook.messages.size(), 1U);
    EXPECT_EQ(hook.messages[0].text,
              QStringLiteral("Tržba v částce: \r500,00 Kč\rbyla odečtena z pokladny."));
    EXPECT_EQ(hook.messages[0].kind, TMsgKind::Information);
    EXPECT_EQ(
        database
            .Scalar(QStringLiteral("select count(*) from HOTOVOST where CASTKA = -500 and POPIS is null "
                                   "and UZIV_ZAPSAL = %1 and DATUM >= CURRENT_DATE")
                        .arg(context.CurrentUser.KodUziv))
            .toInt(),
        1);
    EXPECT_EQ(Movements(), 1);
    EXPECT_EQ(Num("EOdvod")->value(), 0);
    EXPECT_FALSE(SaveEnabled());
    EXPECT_EQ(Num("EPokladna")->text(), QStringLiteral("-500,00"));
    const QStringList rows = Rows("GridHotovost");
    ASSERT_EQ(rows.size(), 1);
    EXPECT_TRUE(rows[0].endsWith(QStringLiteral("|-500,00||Správce"))) << rows[0].toStdString();
}

TEST_F(TakingsDesk, AddingCashStoresTheAmountWithItsDescriptionByEnter) {
    Open();
    Type(Num("EDodat"), QStringLiteral("1234,5"));
    Type(Child<TMoxEdit>("EPopis"), QStringLiteral("Drobné na vracení"));
    QTest::keyClick(Child<TMoxEdit>("EPopis"), Qt::Key_Return);

    ASSERT_EQ(hook.messages.size(), 1U);
    EXPECT_EQ(hook.messages[0].text, QStringLiteral("Hotovost hodnoty: \r1") + kNbsp +
                                         QStringLiteral("234,50 Kč\rbyla přidána do pokladny."));
    EXPECT_EQ(database
                  .Scalar(QStringLiteral("select count(*) from HOTOVOST where CASTKA = 1234.5 and "
                                         "POPIS = 'Drobné na vracení'"))
                  .toInt(),
              1);
    EXPECT_TRUE(Child<TMoxEdit>("EPopis")->text().isEmpty());
    EXPECT_EQ(Num("EPokladna")->text(), QStringLiteral("1") + kNbsp + QStringLiteral("234,50"));
}

TEST_F(TakingsDesk, ASaveShowsWhatAnotherCounterBookedMeanwhile) {
    Open();
    EXPECT_EQ(Num("EPokladna")->text(), QStringLiteral("0,00"));
    // The test database's own connection stands for the other counter.
    Cash(DateToText(QStringLiteral("yyyy-mm-dd"), today) + QStringLiteral(" 00:00:01"), 100);
    Type(Num("EOdvod"), QStringLiteral("30"));
    Button("BUlozit")->click();
    EXPECT_EQ(Num("EPokladna")->text(), QStringLiteral("70,00"));
    EXPECT_EQ(Rows("GridHotovost").size(), 2);
}

TEST_F(TakingsDesk, SaveNeedsExactlyOneAmount) {
    Open();
    Type(Num("EOdvod"), QStringLiteral("100"));
    Type(Num("EDodat"), QStringLiteral("50"));
    EXPECT_FALSE(SaveEnabled()) << "both amounts typed";
    QTest::keyClick(Num("EDodat"), Qt::Key_Return);
    EXPECT_EQ(Movements(), 0);
    Type(Num("EDodat"), QStringLiteral("0"));
    EXPECT_TRUE(SaveEnabled());
    Type(Num("EOdvod"), QString());
    EXPECT_FALSE(SaveEnabled()) << "no amount at all";
}

TEST_F(TakingsDesk, ANegativeAmountIsRefusedWithAMessageAndKept) {
    Open();
    Type(Num("EDodat"), QStringLiteral("-300"));
    QTest::keyClick(Num("EDodat"), Qt::Key_Return);
    ASSERT_EQ(hook.messages.size(), 1U);
    EXPECT_EQ(hook.messages[0].kind, TMsgKind::Warning);
    EXPECT_EQ(Movements(), 0);
    EXPECT_EQ(Num("EDodat")->text(), QStringLiteral("-300"));
}

TEST_F(TakingsDesk, EnterInAListDoesNotSave) {
    Open();
    Cash(QStringLiteral("%1 09:00:00").arg(DateToText(QStringLiteral("yyyy-mm-dd"), today)), 10);
    Type(Num("EOdvod"), QStringLiteral("20"));
    EXPECT_TRUE(Button("BUlozit")->isDefault());
    auto* grid = Child<TMoxGrid>("GridHotovost");
    grid->setFocus();
    EXPECT_FALSE(Button("BUlozit")->isDefault());
    QTest::keyClick(grid, Qt::Key_Return);
    EXPECT_EQ(Movements(), 1);
    Child<TMoxGrid>("GridTrzby")->setFocus();
    EXPECT_FALSE(Button("BUlozit")->isDefault());
    Num("EOdvod")->setFocus();
    EXPECT_TRUE(Button("BUlozit")->isDefault());
    QTest::keyClick(Num("EOdvod"), Qt::Key_Enter);
    EXPECT_EQ(Movements(), 2);
}

TEST_F(TakingsDesk, LeavingWithATypedAmountAsksWhetherToSave) {
    Open();
    Type(Num("EOdvod"), QStringLiteral("75"));
    hook.Answer({TMsgResult::Cancel});
    EXPECT_FALSE(desk->CanLeave());
    ASSERT_EQ(hook.messages.size(), 1U);
    EXPECT_EQ(hook.messages[0].text, QStringLiteral("Odvod/dotace hotovosti nebyl/a uložen/a. Uložit?"));
    EXPECT_EQ(hook.messages[0].kind, TMsgKind::Question);
    EXPECT_EQ(hook.messages[0].buttons, TMsgButtons::YesNoCancel);
    EXPECT_EQ(Num("EOdvod")->value(), 75) << "Zpět keeps the input";

    hook.Answer({TMsgResult::No});
    EXPECT_TRUE(desk->CanLeave());
    EXPECT_EQ(Movements(), 0);

    hook.Answer({TMsgResult::Yes, TMsgResult::Ok});
    EXPECT_TRUE(desk->CanLeave());
    EXPECT_EQ(database.Scalar(QStringLiteral("select CASTKA from HOTOVOST")).toDouble(), -75);

    hook.Clear();
    EXPECT_TRUE(desk->CanLeave()) << "nothing typed: no question";
    EXPECT_TRUE(hook.messages.empty());
}

TEST_F(TakingsDesk, AFailingInsertIsReportedAndKeepsTheInput) {
    AsOwner(QStringLiteral("create exception E_POKLADNA 'Pokladna je zamčena'"));
    AsOwner(QStringLiteral("create trigger HOTOVOST_ZAMEK for HOTOVOST before insert as begin "
                           "exception E_POKLADNA; end"));
    Open();
    Type(Num("EOdvod"), QStringLiteral("500"));
    Type(Child<TMoxEdit>("EPopis"), QStringLiteral("Do banky"));
    hook.Answer({TMsgResult::Yes, TMsgResult::Ok});
    EXPECT_FALSE(desk->CanLeave()) << "Ano whose save failed stays";
    ASSERT_EQ(hook.messages.size(), 2U);
    EXPECT_EQ(hook.messages[1].kind, TMsgKind::Error);
    EXPECT_TRUE(hook.messages[1].text.startsWith(QStringLiteral("V programu nastala výjimka typu: ")));
    EXPECT_TRUE(hook.messages[1].text.contains(QStringLiteral("E_POKLADNA")))
        << hook.messages[1].text.toStdString();
    EXPECT_EQ(Num("EOdvod")->value(), 500);
    EXPECT_EQ(Child<TMoxEdit>("EPopis")->text(), QStringLiteral("Do banky"));
    EXPECT_TRUE(SaveEnabled());

    AsOwner(QStringLiteral("drop trigger HOTOVOST_ZAMEK"));
    hook.Clear();
    Button("BUlozit")->click();
    EXPECT_EQ(Movements(), 1) << "the same input is stored on the next try";
}

TEST_F(TakingsDesk, AMovementMeetingAnotherCountersCloseIsRefusedPlainlyAndKept) {
    Open();
    Type(Num("EDodat"), QStringLiteral("200"));
    RunTillClose(database.Db().DB, [&](TTransaction&) {
        hook.Answer({TMsgResult::Ok});
        Button("BUlozit")->click();
    });
    ASSERT_EQ(hook.messages.size(), 1U);
    EXPECT_EQ(hook.messages[0].kind, TMsgKind::Warning);
    EXPECT_EQ(
        hook.messages[0].text,
        QStringLiteral("Právě probíhá uzávěrka pokladny.\rNic nebylo uloženo, zkuste to prosím znovu za "
                       "chvíli."));
    EXPECT_EQ(Movements(), 0);
    EXPECT_EQ(Num("EDodat")->value(), 200);
    EXPECT_TRUE(SaveEnabled());
}

TEST_F(TakingsDesk, MonthViewsMoveAcrossTheYearEndBothWays) {
    const QString admin = QString::number(context.CurrentUser.KodUziv);
    Cash(QStringLiteral("2025-12-31 23:59:59"), 300);
    Cash(QStringLiteral("2026-01-01 00:00:00"), -120);
    for (const char* day : {"2025-12-31", "2026-01-01"})
        database.Exec(
            QStringLiteral("insert into TRZBY (DATUM, TRZBA, ZALOHA_VRAC, HOT_ODVOD, NOSIC_PUJC, POKLADNA, "
                           "D_UZAVRENI, UZIV_UZAVREL) values ('%1', 1500, -200, -120, 4, 2500, '%1 "
                           "20:00:00', %2)")
                .arg(QString::fromLatin1(day), admin));
    Open();
    const QDate now = QDate::currentDate();
    const TMonth current{now.year(), now.month()};
    EXPECT_EQ(Child<TMoxLabel>("LObdobiHot")->text(), current.Text());
    EXPECT_EQ(Button("BPredTrz")->text(), current.Previous().Text());

    // Walk both lists to January 2026, then one back into December 2025 and forward again.
    while (Child<TMoxLabel>("LObdobiHot")->text() != QStringLiteral("01. 2026"))
        Button("BPredHot")->click();
    while (Child<TMoxLabel>("LObdobiTrz")->text() != QStringLiteral("01. 2026"))
        Button("BPredTrz")->click();
    EXPECT_EQ(Button("BPredHot")->text(), QStringLiteral("12. 2025"));
    EXPECT_EQ(Button("BDalsiHot")->text(), QStringLiteral("02. 2026"));
    EXPECT_EQ(Rows("GridHotovost"), QStringList{QStringLiteral("01.01.2026 00:00:00|-120,00|Ruční|Správce")});
    EXPECT_EQ(Rows("GridTrzby"),
              QStringList{QStringLiteral("01.01.2026|1") + kNbsp + QStringLiteral("500,00|2") + kNbsp +
                          QStringLiteral("500,00||-200,00|4|0||-120,00|01.01.2026 20:00:00|Správce")});

    Button("BPredHot")->click();
    Button("BPredTrz")->click();
    EXPECT_EQ(Child<TMoxLabel>("LObdobiHot")->text(), QStringLiteral("12. 2025"));
    EXPECT_EQ(Button("BDalsiHot")->text(), QStringLiteral("01. 2026"));
    EXPECT_EQ(Rows("GridHotovost"), QStringList{QStringLiteral("31.12.2025 23:59:59|300,00|Ruční|Správce")});
    EXPECT_EQ(Rows("GridTrzby").size(), 1);
    EXPECT_TRUE(Rows("GridTrzby")[0].startsWith(QStringLiteral("31.12.2025|")));

    Button("BDalsiHot")->click();
    EXPECT_EQ(Child<TMoxLabel>("LObdobiHot")->text(), QStringLiteral("01. 2026"));
    EXPECT_EQ(Child<TMoxLabel>("LObdobiTrz")->text(), QStringLiteral("12. 2025")) << "the lists move apart";
}

TEST_F(TakingsDesk, MovementsAreWrittenGreenInAndMaroonOutAsTheirLegendsSay) {
    const QString day = DateToText(QStringLiteral("yyyy-mm-dd"), today);
    Cash(day + QStringLiteral(" 08:00:00"), 300);
    Cash(day + QStringLiteral(" 09:00:00"), -120);
    Open();
    auto* grid = Child<TMoxGrid>("GridHotovost");
    grid->clearSelection();
    grid->setCurrentIndex({});
    const QImage drawn = grid->viewport()->grab().toImage();
    // How many pixels of the cell are drawn exactly in the colour.
    const auto inks = [&](int row, const QColor& colour) {
        const QRect cell = grid->visualRect(grid->model()->index(row, 1));
        int count = 0;
        for (int y = cell.top(); y <= cell.bottom(); ++y)
            for (int x = cell.left(); x <= cell.right(); ++x)
                count += QColor(drawn.pixel(x, y)) == colour;
        return count;
    };
    const QColor green(0, 128, 0), maroon(128, 0, 0);
    EXPECT_EQ(Rows("GridHotovost").first().section(u'|', 1, 1), QStringLiteral("-120,00")) << "newest first";
    EXPECT_GT(inks(0, maroon), 0);
    EXPECT_EQ(inks(0, green), 0);
    EXPECT_GT(inks(1, green), 0);
    EXPECT_EQ(inks(1, maroon), 0);

    const auto legend = [&](const QString& text) {
        for (auto* label : desk->findChildren<QLabel*>())
            if (label->text() == text)
                return label->palette().color(QPalette::WindowText);
        return QColor();
    };
    EXPECT_EQ(legend(QStringLiteral("Dotace.")), green);
    EXPECT_EQ(legend(QStringLiteral("Odvod.")), maroon);
}

} // namespace
