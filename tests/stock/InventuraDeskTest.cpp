#include "AppContext.h"
#include "DeskFit.h"
#include "Filmy.h"
#include "GlobDialog.h"
#include "Inventura.h"
#include "MainCinemon.h"
#include "MemTable.h"
#include "MoxButton.h"
#include "MoxCheckBox.h"
#include "MoxEdit.h"
#include "MoxGrid.h"
#include "MoxLabel.h"
#include "MoxNumEdit.h"
#include "StockFixture.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTest>

#include <memory>

namespace {

struct TRecordedRequests final : IMainRequests {
    void RequestLending(int) override {}
    void RequestCustomer(int) override {}
    void RequestTitle(int key) override { titles.push_back(key); }
    void DayClosed() override {}
    std::vector<int> titles;
};

// The stocktaking desk on the small shop, shown offscreen as the main window shows it.
class StockDesk : public StockShop {
protected:
    StockDesk() {
        desk = std::make_unique<TFInventura>(context);
        desk->resize(1000, 700);
        desk->show();
        QApplication::setActiveWindow(desk.get());
        desk->ShowDesk();
    }
    ~StockDesk() override { desk->LeaveDesk(); }

    template <typename T = QWidget> T* Child(const char* name) const {
        T* child = desk->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    bool Enabled(const char* name) const { return Child(name)->isEnabled(); }
    void Click(const char* name) { Child<TMoxButton>(name)->click(); }
    void Check(const char* name, bool checked) { Child<TMoxCheckBox>(name)->setChecked(checked); }
    int Count(const char* name) const { return Child<TMoxNumEdit>(name)->valueInt(); }
    QString Code() const { return Child<TMoxEdit>("EHledejEAN")->text(); }

    // Reads a code into the field as the barcode reader does, key by key, and ends it with Enter.
    void Read(const QString& code) {
        auto* field = Child<TMoxEdit>("EHledejEAN");
        field->setFocus();
        field->selectAll();
        for (const QChar c : code)
            QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QTest::keyClick(field, Qt::Key_Return);
    }

    TMemTable& Table() const { return *qobject_cast<TMemTable*>(Child<TMoxGrid>("GridNosice")->model()); }
    // The rows as the grid shows them: type, name and code, and the hidden state.
    QStringList Rows() const {
        QStringList rows;
        const TMemTable& table = Table();
        for (int row = 0; row < table.rowCount(); ++row)
            rows << QStringList{table.value(row, QStringLiteral("TYP_NOSICE")).toString(),
                                table.value(row, QStringLiteral("NAZEV_CESKY")).toString(),
                                table.value(row, QStringLiteral("CN_KOD")).toString(),
                                table.value(row, QStringLiteral("STAV_NOSIC")).toString()}
                        .join(u'|');
        return rows;
    }
    QString Row(int kodNosic, int kodTitul, const char* stav) const {
        return QStringList{kodTitul == 1 ? QStringLiteral("D|Pelíšky") : QStringLiteral("V|Samotáři"),
                           Code(kodNosic, kodTitul), QString::fromLatin1(stav)}
            .join(u'|');
    }
    using StockShop::Code;

    TAppContext context{database.ExecutablePath()};
    TDialogHook hook;
    std::unique_ptr<TFInventura> desk;
};

TEST_F(StockDesk, OpensWithTheChoicesAndNothingToScan) {
    EXPECT_TRUE(Child<TMoxCheckBox>("ChNosicVolne")->isChecked());
    EXPECT_FALSE(Child<TMoxCheckBox>("ChNosicPujcene")->isChecked());
    EXPECT_FALSE(Child<TMoxCheckBox>("ChMazat")->isChecked());
    EXPECT_TRUE(Child("ChNosicVolne")->hasFocus());
    for (const char* name : {"LHledejEAN", "EHledejEAN", "BHledej", "BVymazat", "BDetail", "BTisk"})
        EXPECT_FALSE(Enabled(name)) << name;
    EXPECT_TRUE(Enabled("BNacist"));
    EXPECT_EQ(Child<TMoxEdit>("EHledejEAN")->maxLength(), 32);
}

TEST_F(StockDesk, LoadingShowsTheMediaAndTheCountsAndWaitsForTheFirstScan) {
    Click("BNacist");
    EXPECT_EQ(hook.waitTexts, std::vector<QString>{QStringLiteral("Načítám nosiče...")});
    EXPECT_FALSE(WaitDialogShown());
    EXPECT_EQ(Rows(), (QStringList{Row(101, 1, "A"), Row(123, 2, "A"), Row(201, 2, "A"), Row(202, 2, "A")}));
    EXPECT_EQ(Count("EPocetD"), 1);
    EXPECT_EQ(Count("EPocetV"), 3);
    for (const char* name : {"LHledejEAN", "EHledejEAN", "BHledej", "BDetail", "BTisk", "BNacist"})
        EXPECT_TRUE(Enabled(name)) << name;
    EXPECT_FALSE(Enabled("BVymazat"));
    EXPECT_TRUE(Child("EHledejEAN")->hasFocus());

    // Until the first scan the list can be loaded again with other choices.
    Check("ChNosicPujcene", true);
    Click("BNacist");
    EXPECT_EQ(Rows(), (QStringList{Row(101, 1, "A"), Row(102, 1, "P"), Row(123, 2, "A"), Row(201, 2, "A"),
                                   Row(202, 2, "A"), Row(203, 2, "P")}));
    EXPECT_TRUE(hook.Texts().empty());
}

TEST_F(StockDesk, AScanMarksTheMediumFoundShowsItsRowAndLocksTheChoices) {
    Check("ChNosicPujcene", true);
    Click("BNacist");
    Read(Code(201, 2));
    EXPECT_TRUE(hook.Texts().empty());
    EXPECT_EQ(Rows().at(3), Row(201, 2, "N"));
    EXPECT_EQ(Table().currentRow(), 3);
    EXPECT_EQ(Code(), QString());
    EXPECT_EQ(Count("EInvV"), 1);
    EXPECT_EQ(Count("EInvD"), 0);
    for (const char* name : {"LZobrazit", "ChNosicVolne", "ChNosicPujcene", "ChMazat", "BNacist"})
        EXPECT_FALSE(Enabled(name)) << name;
    EXPECT_TRUE(Enabled("BVymazat"));

    Read(QStringLiteral("101"));
    EXPECT_EQ(Rows().at(0), Row(101, 1, "N"));
    EXPECT_EQ(Count("EInvD"), 1);
    // The same medium again.
    Read(QStringLiteral("201"));
    EXPECT_EQ(hook.Texts(),
              std::vector<QString>{QStringLiteral("Hledaný nosič byl již do inventury načten.")});
    EXPECT_EQ(hook.messages.back().kind, TMsgKind::Warning);
    EXPECT_EQ(Table().currentRow(), 3);
    EXPECT_EQ(Count("EInvV"), 1);
}

TEST_F(StockDesk, FoundAndLentRowsAreDrawnInTheirLegendsColours) {
    Check("ChNosicPujcene", true);
    Click("BNacist");
    Read(QStringLiteral("101"));
    auto* grid = Child<TMoxGrid>("GridNosice");
    grid->setCurrentIndex({});
    grid->clearSelection();
    const QImage drawn = grid->viewport()->grab().toImage();
    // How many pixels of the row's name are drawn exactly in the colour.
    const auto inks = [&](int row, const QColor& colour) {
        const QRect cell = grid->visualRect(grid->model()->index(row, 1));
        int count = 0;
        for (int y = cell.top(); y <= cell.bottom(); ++y)
            for (int x = cell.left(); x <= cell.right(); ++x)
                count += QColor(drawn.pixel(x, y)) == colour;
        return count;
    };
    const QColor lent(224, 128, 128), found(128, 128, 224);
    EXPECT_GT(inks(0, found), 0);
    EXPECT_EQ(inks(0, lent), 0);
    EXPECT_GT(inks(1, lent), 0);
    EXPECT_EQ(inks(1, found), 0);
    EXPECT_GT(inks(2, Qt::black), 0);
    EXPECT_EQ(inks(2, found) + inks(2, lent), 0);

    const auto legend = [&](const QString& text) {
        for (auto* label : desk->findChildren<TMoxLabel*>())
            if (label->text() == text)
                return label->palette().color(QPalette::WindowText);
        return QColor();
    };
    EXPECT_EQ(legend(QStringLiteral("Nosič je v půjčovně,")), QColor(Qt::black));
    EXPECT_EQ(legend(QStringLiteral("- půjčen,")), lent);
    EXPECT_EQ(legend(QStringLiteral("- načten.")), found);
}

TEST_F(StockDesk, AMediumOnLoanIsRefusedAndTheFieldIsCleared) {
    Check("ChNosicPujcene", true);
    Click("BNacist");
    Read(Code(203, 2));
    EXPECT_EQ(hook.Texts(), std::vector<QString>{QStringLiteral(
                                "Hledaný nosič je právě půjčen.\rDo inventury ho nelze započítat.")});
    EXPECT_EQ(hook.messages.back().kind, TMsgKind::Warning);
    EXPECT_EQ(Table().currentRow(), 5);
    EXPECT_EQ(Rows().at(5), Row(203, 2, "P"));
    EXPECT_EQ(Code(), QString());
    EXPECT_EQ(Count("EInvV"), 0);
    EXPECT_FALSE(Enabled("BNacist")) << "any medium of the register locks the choices";
}

TEST_F(StockDesk, AMediumNotInTheListIsAnErrorAndStillLocksTheChoices) {
    Click("BNacist");
    Table().setCurrentRow(2);
    Read(QStringLiteral("103"));
    EXPECT_EQ(hook.Texts(), std::vector<QString>{QStringLiteral("Hledaný nosič nebyl v seznamu nalezen.")});
    EXPECT_EQ(hook.messages.back().kind, TMsgKind::Error);
    EXPECT_EQ(Table().currentRow(), 2) << "back on the row shown before";
    EXPECT_EQ(Code(), QString());
    EXPECT_FALSE(Enabled("BNacist"));
    EXPECT_TRUE(Enabled("BVymazat"));
}

TEST_F(StockDesk, ACodeNoMediumCarriesIsWarnedAboutAndKeptForCorrection) {
    Click("BNacist");
    const QString typed = QStringLiteral("8594'000101");
    Read(typed);
    EXPECT_EQ(hook.Texts(),
              std::vector<QString>{QStringLiteral("Žádný nosič s CN kódem 8594'000101 nebyl nalezen.")});
    EXPECT_EQ(hook.messages.back().kind, TMsgKind::Warning);
    EXPECT_EQ(Code(), typed);
    EXPECT_TRUE(Enabled("BNacist")) << "the choices stay open";
    EXPECT_FALSE(Enabled("BVymazat"));
    hook.Clear();
    // An empty field reads nothing.
    Child<TMoxEdit>("EHledejEAN")->clear();
    Click("BHledej");
    EXPECT_TRUE(hook.Texts().empty());
}

TEST_F(StockDesk, ACodeTheDatabaseCannotHoldIsExplainedAndKept) {
    Click("BNacist");
    const QString typed = QStringLiteral("42012600€✓000101");
    Child<TMoxEdit>("EHledejEAN")->setText(typed);
    Click("BHledej");
    ASSERT_EQ(hook.Texts().size(), 1u);
    EXPECT_TRUE(hook.Texts().front().contains(QStringLiteral("neumí uložit")))
        << hook.Texts().front().toStdString();
    EXPECT_EQ(Code(), typed);
    EXPECT_TRUE(Enabled("BNacist"));
}

TEST_F(StockDesk, AFailedLoadIsReportedHidesTheWaitBoxAndKeepsTheListShown) {
    Click("BNacist");
    // The titles' columns change under the desk, so the list cannot be read any more.
    TDatabase owner;
    owner.SetParams(database.DatabaseFile(), QStringLiteral("SYSDBA"), QString(), QStringLiteral("UTF8"));
    TTransaction transaction(owner);
    transaction.StartTransaction();
    TQuery(transaction, QStringLiteral("alter table TITULY alter column NAZEV_ORIG to NAZEV_PUVODNI"))
        .ExecSQL();
    transaction.Commit();
    hook.Clear();
    Check("ChNosicPujcene", true);
    Click("BNacist");
    ASSERT_EQ(hook.Texts().size(), 1u);
    EXPECT_TRUE(hook.Texts().front().contains(QStringLiteral("NAZEV_ORIG")))
        << hook.Texts().front().toStdString();
    EXPECT_EQ(hook.waitTexts, std::vector<QString>{QStringLiteral("Načítám nosiče...")});
    EXPECT_FALSE(WaitDialogShown());
    EXPECT_EQ(Rows(), (QStringList{Row(101, 1, "A"), Row(123, 2, "A"), Row(201, 2, "A"), Row(202, 2, "A")}));
    hook.Clear();
    Read(QStringLiteral("101"));
    EXPECT_TRUE(hook.Texts().empty());
    EXPECT_EQ(Rows().at(0), Row(101, 1, "N"));
}

TEST_F(StockDesk, DeletingFoundMediaEmptiesTheListAndKeepsTheCountersPerType) {
    Check("ChMazat", true);
    Click("BNacist");
    for (const char* typed : {"202", "101", "201"})
        Read(QString::fromLatin1(typed));
    EXPECT_EQ(Rows(), QStringList{Row(123, 2, "A")});
    EXPECT_TRUE(Enabled("BDetail"));
    Read(QStringLiteral("123"));
    EXPECT_TRUE(hook.Texts().empty());
    EXPECT_EQ(Table().rowCount(), 0);
    EXPECT_EQ(Count("EInvD"), 1);
    EXPECT_EQ(Count("EInvV"), 3);
    EXPECT_FALSE(Enabled("BDetail"));
    EXPECT_TRUE(Enabled("BTisk"));
    // A medium taken off the list is not found a second time.
    Read(QStringLiteral("202"));
    EXPECT_EQ(hook.Texts(), std::vector<QString>{QStringLiteral("Hledaný nosič nebyl v seznamu nalezen.")});
}

TEST_F(StockDesk, DroppingTheStocktakingAsksAndKeepsTheFoundCounters) {
    Click("BNacist");
    Read(QStringLiteral("101"));
    Read(QStringLiteral("201"));
    hook.Answer({TMsgResult::No});
    Click("BVymazat");
    EXPECT_EQ(hook.Texts(), std::vector<QString>{QStringLiteral("Opravdu vymazat načtená data inventury?")});
    EXPECT_EQ(hook.messages.back().kind, TMsgKind::Question);
    EXPECT_EQ(hook.messages.back().buttons, TMsgButtons::YesNo);
    EXPECT_EQ(Table().rowCount(), 4);
    EXPECT_FALSE(Enabled("BNacist"));

    hook.Answer({TMsgResult::Yes});
    Click("BVymazat");
    EXPECT_EQ(Table().rowCount(), 0);
    for (const char* name : {"LZobrazit", "ChNosicVolne", "ChNosicPujcene", "ChMazat", "BNacist"})
        EXPECT_TRUE(Enabled(name)) << name;
    for (const char* name : {"LHledejEAN", "EHledejEAN", "BHledej", "BDetail", "BTisk", "BVymazat"})
        EXPECT_FALSE(Enabled(name)) << name;
    EXPECT_EQ(Count("EInvD"), 1);
    EXPECT_EQ(Count("EInvV"), 1);
    Click("BNacist");
    EXPECT_EQ(Count("EInvD"), 0);
    EXPECT_EQ(Count("EInvV"), 0);
}

TEST_F(StockDesk, TheDetailAsksForTheTitleOfTheCurrentMedium) {
    TRecordedRequests requests;
    context.Requests = &requests;
    Click("BNacist");
    Child<TMoxGrid>("GridNosice")->setCurrentIndex(Table().index(2, 1));
    Click("BDetail");
    Read(QStringLiteral("101"));
    Click("BDetail");
    EXPECT_EQ(requests.titles, (std::vector<int>{2, 1}));
    context.Requests = nullptr;
}

TEST_F(StockDesk, TheDetailOpensTheTitlesDeskOnTheMediumsTitleInTheMainWindow) {
    TDeskFactories desks;
    desks[TMenuButton::Inventura] = MakeDesk<TFInventura>;
    desks[TMenuButton::Filmy] = MakeDesk<TFFilmy>;
    TStartupEnv env;
    env.SplashPause = {};
    TFMainCinemon window(context, std::move(desks), env);
    window.show();
    hook.Script([](QDialog& login) {
        login.findChild<QLineEdit*>(QStringLiteral("EUzivatel"))->setText(QStringLiteral("ADMIN"));
        login.findChild<QLineEdit*>(QStringLiteral("EHeslo"))->clear();
        login.findChild<QPushButton*>(QStringLiteral("BPrihlaseni"))->click();
    });
    window.FirstActivation();
    window.ClickMenu(TMenuButton::Inventura);
    auto* stock = qobject_cast<TFInventura*>(window.Desk());
    ASSERT_NE(stock, nullptr);
    stock->findChild<TMoxButton*>(QStringLiteral("BNacist"))->click();
    auto* field = stock->findChild<TMoxEdit*>(QStringLiteral("EHledejEAN"));
    field->setText(QStringLiteral("202"));
    stock->findChild<TMoxButton*>(QStringLiteral("BHledej"))->click();
    // Something was read: leaving asks first, and "Ne" keeps the count.
    hook.Answer({TMsgResult::No, TMsgResult::Yes});
    stock->findChild<TMoxButton*>(QStringLiteral("BDetail"))->click();
    window.IdleTick();
    EXPECT_EQ(window.Desk(), stock);
    ASSERT_EQ(hook.Texts().size(), 1u);
    EXPECT_TRUE(hook.Texts()[0].endsWith(QStringLiteral("Opravdu inventuru opustit?")));
    stock->findChild<TMoxButton*>(QStringLiteral("BDetail"))->click();
    window.IdleTick();
    auto* titles = qobject_cast<TFFilmy*>(window.Desk());
    ASSERT_NE(titles, nullptr);
    EXPECT_EQ(titles->CurrentKey(), 2);
    EXPECT_EQ(titles->findChild<QLineEdit*>(QStringLiteral("ENazevCesky"))->text(),
              QStringLiteral("Samotáři"));
    EXPECT_EQ(hook.Texts().size(), 2u);
}

TEST_F(StockDesk, FitsTheSmallestMainWindowWithAListLoaded) {
    TDeskInMainWindow shown(context, TMenuButton::Inventura, MakeDesk<TFInventura>);
    auto* button = shown.Desk()->findChild<TMoxButton*>(QStringLiteral("BNacist"));
    ASSERT_NE(button, nullptr);
    button->click();
    shown.Settle();
    EXPECT_EQ(shown.Window().size(), QSize(987, 747));
    const QStringList cut = CutCaptions(*shown.Desk());
    EXPECT_TRUE(cut.isEmpty()) << cut.join(u'\n').toStdString();
    const QStringList narrow = NarrowFields(*shown.Desk());
    EXPECT_TRUE(narrow.isEmpty()) << narrow.join(u'\n').toStdString();
}

} // namespace
