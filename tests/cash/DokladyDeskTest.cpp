#include "DocumentsFixture.h"
#include "Doklady.h"
#include "MemTable.h"
#include "MoxButton.h"
#include "MoxCheckBox.h"
#include "MoxComboBox.h"
#include "MoxGrid.h"
#include "MoxNumEdit.h"
#include "ReceiptPrinter.h"
#include "ReportPreview.h"

#include <QTest>

#include <memory>

namespace {

// Records what the desk asks the receipt printer for.
class TRecordingPrinter final : public TReceiptPrinter {
public:
    void PrintDocument(int kodDok, int copies, TTransaction&) override {
        printed.push_back({kodDok, copies});
    }
    void PrintDepositTaken(int, int, double, TTransaction&) override {}
    void PrintDepositReturned(int, int, double, TTransaction&) override {}
    std::vector<std::pair<int, int>> printed;
};

// The documents desk on its own database, shown offscreen as the main window shows it: today's
// receipts of a shop whose yesterday is closed.
class DocumentsDesk : public DocumentsShop {
protected:
    DocumentsDesk() {
        CloseYesterday();
        AddTitle(11, QStringLiteral("Pelíšky"), 1);
        AddMedium(101, 11);
        AddMedium(102, 11);
        issued = std::max(now.addSecs(-300), QDateTime(today, QTime(0, 0, 1)));
        older = AddReceipt(1, QDateTime(today.addDays(-1), QTime(10, 0)));
        AddLine(1, 102, 11, QDateTime(today.addDays(-1), QTime(10, 0)), QStringLiteral("A"), 40, 33.06, 1);
        cislo = AddReceipt(2, issued);
        AddLine(2, 101, 11, issued, QStringLiteral("A"), 40, 33.06, 2);
        AddLine(2, 102, 11, issued, QStringLiteral("A"), 40, 33.06, 2);
        AddLoan(101, 11, issued);
        AddLoan(102, 11, issued);
        // A complaint credit for an earlier loan, long returned.
        refund = AddReceipt(3, issued.addSecs(2));
        AddLine(3, 101, 11, issued.addSecs(-3600), QStringLiteral("A"), -40, -33.06, 1);
    }
    ~DocumentsDesk() override {
        if (desk)
            desk->LeaveDesk();
    }

    void Open() {
        desk = std::make_unique<TFDoklady>(context);
        desk->resize(1000, 700);
        desk->show();
        desk->ShowDesk();
    }
    template <typename T = QWidget> T* Child(const char* name) {
        T* child = desk->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    QStringList Column(const char* grid, const char* column) {
        auto* table = qobject_cast<TMemTable*>(Child<TMoxGrid>(grid)->model());
        QStringList values;
        for (int row = 0; row < table->rowCount(); ++row)
            values << table->index(row, table->columnIndex(QString::fromLatin1(column))).data().toString();
        return values;
    }
    void Select(int row) {
        auto* grid = Child<TMoxGrid>("GridDoklady");
        grid->setCurrentIndex(grid->model()->index(row, 0));
    }
    void Click(const char* name) { QTest::mouseClick(Child<TMoxButton>(name), Qt::LeftButton); }
    void Tick(const char* name) {
        QTest::mouseClick(Child<TMoxCheckBox>(name), Qt::LeftButton, {}, QPoint(5, 5));
    }
    // Lets the lines' timer fire.
    void Rest() { QTest::qWait(450); }

    std::unique_ptr<TFDoklady> desk;
    QDateTime issued;
    int older = 0;
    int cislo = 0;
    int refund = 0;
};

TEST_F(DocumentsDesk, OpensOnTodaysValidReceiptsHighestFirstAndShowsTheLinesOnceTheSelectionRests) {
    Open();
    EXPECT_EQ(Column("GridDoklady", "CISLO_DOK"),
              (QStringList{QString::number(refund), QString::number(cislo)}));
    EXPECT_TRUE(Child<TMoxButton>("BTisk")->isEnabled());
    EXPECT_TRUE(Child<TMoxButton>("BStorno")->isEnabled());
    EXPECT_FALSE(Child<TMoxComboBox>("CBMesic")->isVisible());
    EXPECT_FALSE(Child<TMoxNumEdit>("ERok")->isVisible());
    Select(1);
    EXPECT_TRUE(Column("GridRadky", "NAZEV_CESKY").isEmpty());
    Rest();
    EXPECT_EQ(Column("GridRadky", "NAZEV_CESKY"),
              (QStringList{QStringLiteral("Pelíšky"), QStringLiteral("Pelíšky")}));
    EXPECT_EQ(Column("GridRadky", "CENA_RADKU_DPH"),
              (QStringList{QStringLiteral("80,00"), QStringLiteral("80,00")}));
    EXPECT_FALSE(context.Db().DB.HasActiveTransaction()) << "the shown page holds back no clean-up";
}

TEST_F(DocumentsDesk, ThePeriodAndKindFiltersChooseTheReceipts) {
    database.Exec(
        QStringLiteral("update DOKLADY set D_STORNO = CURRENT_TIMESTAMP, UZIV_STORNO = 1 where KOD_DOK = 3"));
    Open();
    EXPECT_EQ(Column("GridDoklady", "CISLO_DOK"), QStringList{QString::number(cislo)});
    Tick("ChObdVse");
    EXPECT_EQ(Column("GridDoklady", "CISLO_DOK"),
              (QStringList{QString::number(cislo), QString::number(older)}));
    Tick("ChStornovane");
    EXPECT_EQ(Column("GridDoklady", "CISLO_DOK"),
              (QStringList{QString::number(refund), QString::number(cislo), QString::number(older)}));
    Tick("ChVystavene");
    EXPECT_EQ(Column("GridDoklady", "CISLO_DOK"), QStringList{QString::number(refund)});
    EXPECT_FALSE(Child<TMoxButton>("BStorno")->isEnabled());
    Tick("ChStornovane");
    EXPECT_TRUE(Column("GridDoklady", "CISLO_DOK").isEmpty());
    EXPECT_FALSE(Child<TMoxButton>("BTisk")->isEnabled());
    Tick("ChVystavene");
    Tick("ChObdMesic");
    EXPECT_TRUE(Child<TMoxComboBox>("CBMesic")->isVisible());
    EXPECT_TRUE(Child<TMoxNumEdit>("ERok")->isVisible());
    Child<TMoxNumEdit>("ERok")->setValue(today.year() - 3);
    EXPECT_TRUE(Column("GridDoklady", "CISLO_DOK").isEmpty());
    EXPECT_EQ(Child<TMoxButton>("BSouhrn")->text(),
              QStringLiteral("Sou&hrn %1.%2")
                  .arg(Child<TMoxComboBox>("CBMesic")->currentIndex() + 1)
                  .arg(today.year() - 3));
}

TEST_F(DocumentsDesk, AYearBeingTypedAsksForNothingUntilItIsAYear) {
    Open();
    Tick("ChObdRok");
    EXPECT_EQ(Column("GridDoklady", "CISLO_DOK").size(), today.addDays(-1).year() == today.year() ? 3 : 2);
    Type(Child<TMoxNumEdit>("ERok"), QStringLiteral("1999"));
    EXPECT_TRUE(hook.messages.empty());
    EXPECT_TRUE(Column("GridDoklady", "CISLO_DOK").isEmpty());
    Type(Child<TMoxNumEdit>("ERok"), QString::number(today.year()));
    EXPECT_TRUE(hook.messages.empty());
    EXPECT_EQ(Column("GridDoklady", "CISLO_DOK").first(), QString::number(refund));
}

TEST_F(DocumentsDesk, CancellingWithTheLoansReturnedTintsTheReceiptAndPutsTheMediaBack) {
    Open();
    Select(1);
    hook.Answer({TMsgResult::Yes, TMsgResult::Yes});
    Click("BStorno");
    EXPECT_EQ(hook.Texts(), (std::vector<QString>{
                                QStringLiteral("Opravdu stornovat doklad číslo %1?").arg(cislo),
                                QStringLiteral("Vrátit půjčené nosiče spojené se stornovaným dokladem?")}));
    EXPECT_EQ(OpenLoans(), 0);
    EXPECT_EQ(Pritomno(11), 3);
    // Only valid receipts are listed: the cancelled one leaves the list.
    EXPECT_EQ(Column("GridDoklady", "CISLO_DOK"), QStringList{QString::number(refund)});
    Tick("ChStornovane");
    EXPECT_EQ(Column("GridDoklady", "UZIV_STORNO").at(1), QStringLiteral("Správce"));
    EXPECT_EQ(Column("GridDoklady", "UZIV_VYSTAVIL").at(1), QStringLiteral("Správce"));
    EXPECT_EQ(Column("GridDoklady", "ZAKAZNIK").at(1), QStringLiteral("Nová Jana"));
    EXPECT_FALSE(Column("GridDoklady", "D_STORNO").at(1).isEmpty());
}

TEST_F(DocumentsDesk, CancellingButKeepingTheLoansLeavesThemOut) {
    Open();
    Tick("ChStornovane");
    Select(1);
    hook.Answer({TMsgResult::Yes, TMsgResult::No});
    Click("BStorno");
    EXPECT_EQ(hook.Texts().size(), 2U);
    EXPECT_EQ(OpenLoans(), 2);
    EXPECT_EQ(Pritomno(11), 1);
    // The cancelled receipt stays chosen and can no longer be cancelled.
    EXPECT_EQ(Column("GridDoklady", "CISLO_DOK").at(Child<TMoxGrid>("GridDoklady")->currentIndex().row()),
              QString::number(cislo));
    EXPECT_FALSE(Child<TMoxButton>("BStorno")->isEnabled());
}

TEST_F(DocumentsDesk, ANoToTheFirstQuestionChangesNothingAndAReceiptWithoutLoansAsksOnce) {
    Open();
    Select(1);
    hook.Answer({TMsgResult::No});
    Click("BStorno");
    EXPECT_EQ(hook.Texts().size(), 1U);
    EXPECT_EQ(
        database.Scalar(QStringLiteral("select count(*) from DOKLADY where D_STORNO is not null")).toInt(),
        0);
    hook.Clear();
    Select(0);
    hook.Answer({TMsgResult::Yes});
    Click("BStorno");
    EXPECT_EQ(hook.Texts(),
              std::vector<QString>{QStringLiteral("Opravdu stornovat doklad číslo %1?").arg(refund)});
    EXPECT_FALSE(database.Scalar(QStringLiteral("select D_STORNO from DOKLADY where KOD_DOK = 3")).isNull());
}

TEST_F(DocumentsDesk, ReceiptsBeforeTheCloseAndOfYesterdayCannotBeCancelled) {
    CloseToday(issued.addSecs(1));
    Open();
    Select(0);
    EXPECT_TRUE(Child<TMoxButton>("BStorno")->isEnabled()) << "issued a second after the close";
    Select(1);
    EXPECT_FALSE(Child<TMoxButton>("BStorno")->isEnabled());
    Tick("ChObdVse");
    Select(2);
    EXPECT_FALSE(Child<TMoxButton>("BStorno")->isEnabled());
    EXPECT_TRUE(Child<TMoxButton>("BTisk")->isEnabled());
}

TEST_F(DocumentsDesk, AReceiptCancelledAtAnotherCounterMeanwhileIsRefusedAndShownAsItIs) {
    Open();
    Tick("ChStornovane");
    Select(1);
    TDMGlobDB other(database.ExecutablePath());
    ASSERT_TRUE(other.Connect());
    ASSERT_EQ(CancelDocument(other, 2, false, 1).outcome, TCancelOutcome::Cancelled);
    hook.Answer({TMsgResult::Yes, TMsgResult::Ok});
    Click("BStorno");
    // Refused at once, before the question about the loans.
    const std::vector<QString> texts = hook.Texts();
    ASSERT_EQ(texts.size(), 2U);
    EXPECT_EQ(texts[1], CancelRefusalText(TCancelOutcome::AlreadyCancelled, cislo));
    EXPECT_EQ(OpenLoans(), 2);
    EXPECT_FALSE(Column("GridDoklady", "D_STORNO").at(1).isEmpty());
    EXPECT_FALSE(Child<TMoxButton>("BStorno")->isEnabled());
}

TEST_F(DocumentsDesk, APageLeftOpenOverTheCloseRefusesTheCancellation) {
    Open();
    Select(1);
    ASSERT_TRUE(Child<TMoxButton>("BStorno")->isEnabled());
    CloseToday(now.addSecs(5));
    hook.Answer({TMsgResult::Yes, TMsgResult::Ok});
    Click("BStorno");
    ASSERT_EQ(hook.Texts().size(), 2U);
    EXPECT_EQ(hook.Texts()[1], CancelRefusalText(TCancelOutcome::PastCutOff, cislo));
    EXPECT_TRUE(database.Scalar(QStringLiteral("select D_STORNO from DOKLADY where KOD_DOK = 2")).isNull());
    EXPECT_EQ(OpenLoans(), 2);
    EXPECT_FALSE(Child<TMoxButton>("BStorno")->isEnabled());
}

TEST_F(DocumentsDesk, PrintingAgainGoesToTheReceiptPrinterOrSaysThereIsNone) {
    Open();
    Select(1);
    hook.Answer({TMsgResult::Ok});
    Click("BTisk");
    EXPECT_EQ(hook.Texts(), std::vector<QString>{QStringLiteral(
                                "Tiskárna paragonů není nastavena.\rParagon nebyl vytištěn.")});
    TRecordingPrinter printer;
    context.ReceiptPrinter = &printer;
    Click("BTisk");
    EXPECT_EQ(printer.printed, (std::vector<std::pair<int, int>>{{2, 1}}));
}

TEST_F(DocumentsDesk, ACancelledReceiptIsTintedAndARefundWrittenInBlue) {
    database.Exec(
        QStringLiteral("update DOKLADY set D_STORNO = CURRENT_TIMESTAMP, UZIV_STORNO = 1 where KOD_DOK = 2"));
    Open();
    Tick("ChStornovane");
    auto* grid = Child<TMoxGrid>("GridDoklady");
    // The first row (the refund) is chosen and highlighted; the second is the cancelled one.
    Select(0);
    const QImage image = grid->viewport()->grab().toImage();
    const int column = qobject_cast<TMemTable*>(grid->model())->columnIndex(QStringLiteral("CENA_DPH"));
    const auto row = [&](int r) {
        return QRect(grid->columnViewportPosition(column), grid->rowViewportPosition(r),
                     grid->columnWidth(column), grid->rowHeight(r));
    };
    const QRect cancelled = row(1);
    EXPECT_EQ(image.pixelColor(cancelled.left() + 3, cancelled.center().y()), QColor(239, 223, 223));
    Select(1);
    const QImage refundShown = grid->viewport()->grab().toImage();
    const QRect refundRow = row(0);
    bool blue = false;
    for (int x = refundRow.left(); x <= refundRow.right(); ++x)
        for (int y = refundRow.top(); y <= refundRow.bottom(); ++y) {
            const QColor c = refundShown.pixelColor(x, y);
            blue = blue || (c.red() < 60 && c.green() < 60 && c.blue() > 180);
        }
    EXPECT_TRUE(blue) << "the refund's amount is written in blue";
}

TEST_F(DocumentsDesk, AShopThatIsNotAVatPayerSeesNoVatColumns) {
    database.Exec(QStringLiteral("update SPEC_CENA set PLATCE_DPH = 'N'"));
    Open();
    auto* doklady = Child<TMoxGrid>("GridDoklady");
    auto* table = qobject_cast<TMemTable*>(doklady->model());
    QStringList shown;
    for (int column = 0; column < table->columnCount(); ++column)
        if (!doklady->isColumnHidden(column))
            shown << table->columns().at(column);
    EXPECT_EQ(shown, (QStringList{QStringLiteral("CISLO_DOK"), QStringLiteral("D_VYSTAVENI"),
                                  QStringLiteral("D_STORNO"), QStringLiteral("CENA_DPH"),
                                  QStringLiteral("ZAKAZNIK"), QStringLiteral("EAN_KOD"),
                                  QStringLiteral("UZIV_VYSTAVIL"), QStringLiteral("UZIV_STORNO")}));
    auto* radky = Child<TMoxGrid>("GridRadky");
    auto* lines = qobject_cast<TMemTable*>(radky->model());
    shown.clear();
    for (int column = 0; column < lines->columnCount(); ++column)
        if (!radky->isColumnHidden(column))
            shown << lines->columns().at(column);
    EXPECT_EQ(shown, (QStringList{QStringLiteral("NAZEV_CESKY"), QStringLiteral("EAN_KOD"),
                                  QStringLiteral("D_PUJCENI"), QStringLiteral("D_VRACENI"),
                                  QStringLiteral("CENA_DPH"), QStringLiteral("POCET_DNI"),
                                  QStringLiteral("CENA_RADKU_DPH")}));
}

TEST_F(DocumentsDesk, TheSummaryButtonOpensThePreviewOfItsMonth) {
    Open();
    const TMonth month = TMonth{today.year(), today.month()}.Previous();
    EXPECT_EQ(Child<TMoxButton>("BSouhrn")->text(),
              QStringLiteral("Sou&hrn %1.%2").arg(month.Month).arg(month.Year));
    hook.Script([](QDialog& dialog) {
        auto* preview = qobject_cast<TFReportPreview*>(&dialog);
        ASSERT_NE(preview, nullptr);
        EXPECT_EQ(preview->Report().Title(), QStringLiteral("Souhrn dokladů"));
        dialog.reject();
    });
    Click("BSouhrn");
    EXPECT_TRUE(hook.dialogScripts.empty());
}

} // namespace
