#include "ExternalCodec.h"
#include "ReceiptData.h"
#include "Win1250.h"

#include <QLocale>

#include <gtest/gtest.h>

namespace {

// Readable failures: the printouts are mostly text.
std::string Shown(const QByteArray& bytes) {
    return QString::fromLatin1(bytes).toStdString();
}

// Each expected file in every code page: Windows-1250 and CP852 through iconv, Kamenický
// through recode, plain ASCII as written by hand.
void ExpectInEveryCodePage(const std::function<QByteArray(const QString&)>& compose, const QString& name,
                           const QString& asciiName) {
    const QByteArray utf8 = ExpectedText(name);
    EXPECT_EQ(Shown(compose(QStringLiteral("Win1250"))), Shown(Iconv(QStringLiteral("CP1250"), utf8)));
    EXPECT_EQ(Shown(compose(QStringLiteral("LATIN2"))), Shown(Iconv(QStringLiteral("CP852"), utf8)));
    EXPECT_EQ(Shown(compose(QStringLiteral("Kamenických"))), Shown(Kamenicky(utf8)));
    if (!asciiName.isEmpty()) {
        EXPECT_EQ(Shown(compose(QStringLiteral("ASCII"))), Shown(ExpectedText(asciiName)));
    }
}

TEST(TaxReceipt, ForAVatPayerByteForByteInEveryCodePage) {
    ExpectInEveryCodePage(
        [](const QString& coding) {
            return ComposeTaxReceipt(TestSettings(coding), TestBranch(), TestShop(true), TestReceipt());
        },
        QStringLiteral("TaxReceiptPayer.txt"), QStringLiteral("TaxReceiptPayer.ascii.txt"));
}

TEST(TaxReceipt, ForANonPayerByteForByteInEveryCodePage) {
    ExpectInEveryCodePage(
        [](const QString& coding) {
            return ComposeTaxReceipt(TestSettings(coding), TestBranch(), TestShop(false), TestReceipt());
        },
        QStringLiteral("TaxReceiptNonPayer.txt"), QStringLiteral("TaxReceiptNonPayer.ascii.txt"));
}

TEST(TaxReceipt, DatesAndAmountsDoNotFollowTheMachinesLocale) {
    const QByteArray czech = ComposeTaxReceipt(TestSettings(QStringLiteral("Win1250")), TestBranch(),
                                               TestShop(true), TestReceipt());
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    const QByteArray english = ComposeTaxReceipt(TestSettings(QStringLiteral("Win1250")), TestBranch(),
                                                 TestShop(true), TestReceipt());
    QLocale::setDefault(before);
    EXPECT_EQ(Shown(english), Shown(czech));

    TTaxReceipt big = TestReceipt();
    big.CenaDph = 12345.5;
    big.Lines.resize(1);
    big.Lines[0].CenaRadkuDph = 1234567.25;
    const QByteArray text =
        ComposeTaxReceipt(TestSettings(QStringLiteral("Win1250")), TestBranch(), TestShop(false), big);
    EXPECT_TRUE(text.contains("\nCena:" + QByteArray(22, ' ') + "1234567,25 K\xE8\n")) << Shown(text);
    EXPECT_TRUE(text.contains("\nCELKOV\xC1 CENA:" + QByteArray(16, ' ') + "12345,50 K\xE8\n"))
        << Shown(text);
}

TEST(TaxReceipt, LayoutOfNumbersRatesAndLongTexts) {
    TTaxReceipt r = TestReceipt();
    r.CisloDok = QStringLiteral("1234567890");
    r.ZakladA = 0;
    r.ZakladB = 0;
    r.Lines[0].NazevCesky = QString(50, u'x');
    TReceiptShop shop = TestShop(true);
    shop.DphA = 10.5;
    r.ZakladA = 1;
    r.DphA = 0.1;
    const QByteArray text = ComposeTaxReceipt(TestSettings(QStringLiteral("Win1250")), TestBranch(), shop, r);
    EXPECT_TRUE(text.contains("\nDa\xF2ov\xFD doklad \xE8\xEDslo:          1234567890\n"))
        << "9 spaces between a label of 21 and a number of 10 characters";
    EXPECT_TRUE(text.contains('\n' + QByteArray(50, 'x') + '\n'))
        << "a long title is neither cut nor wrapped";
    EXPECT_FALSE(text.contains("Z\xE1klad 12%")) << "no line for a zero base";
    EXPECT_TRUE(text.contains("\n   Z\xE1klad  10,5%:    1,00 DPH:    0,10 A\n")) << Shown(text);
    EXPECT_TRUE(text.contains("\n      Z\xE1klad  0%:   45,00           0,00\n"));

    TReceiptBranch branch = TestBranch();
    branch.TextDoklad = QStringLiteral("Otevřeno denně\r\nod 10 do 22 hodin");
    const QByteArray closing = ComposeTaxReceipt(TestSettings(QStringLiteral("Win1250")), branch, shop, r);
    EXPECT_TRUE(closing.contains("\nOtev\xF8"
                                 "eno denn\xEC\nod 10 do 22 hodin\n"))
        << "line feeds alone";
    EXPECT_FALSE(closing.contains('\r'));
}

TEST(DepositReceipts, TakenAndReturnedWithTheWholeHeaderOnTopAndTheCutAtTheEnd) {
    TPrintSettings settings = TestSettings(QStringLiteral("Win1250"));
    settings.SpaceBefore = 0;
    settings.SpaceShear = 0;
    settings.SpaceAfter = 3;
    ExpectInEveryCodePage(
        [&](const QString& coding) {
            TPrintSettings s = settings;
            s.Coding = coding;
            return ComposeDepositReceipt(s, TestBranch(), TestShop(true), TDepositKind::Taken, TestCustomer(),
                                         500, QDate(2026, 3, 5));
        },
        QStringLiteral("DepositTaken.txt"), QString());
    ExpectInEveryCodePage(
        [&](const QString& coding) {
            TPrintSettings s = settings;
            s.Coding = coding;
            return ComposeDepositReceipt(s, TestBranch(), TestShop(false), TDepositKind::Returned,
                                         TestCustomer(), 500, QDate(2026, 3, 5));
        },
        QStringLiteral("DepositReturned.txt"), QString());
}

// The lines between the body of one receipt and the title of the next: the ending of the
// first and the header of the second.
QByteArray BetweenTwoReceipts(const TPrintSettings& settings, const TReceiptBranch& branch) {
    TPrintSettings s = settings;
    s.SpaceAfter = 0;
    const QByteArray receipt = ComposeDepositReceipt(s, branch, TestShop(true), TDepositKind::Taken,
                                                     TestCustomer(), 1, QDate(2026, 3, 5));
    const QByteArray title = "P \xD8 E V Z E T \xCD";
    const qsizetype bodyEnd = receipt.indexOf("K\xE8\n") + 3;
    const qsizetype titleStart = receipt.lastIndexOf('\n', receipt.indexOf(title)) + 1;
    return receipt.mid(bodyEnd) + receipt.left(titleStart);
}

TEST(ReceiptEnding, WithoutIcAndDicEveryHeaderLineComesOnceBetweenTwoReceipts) {
    TReceiptBranch branch = TestBranch();
    branch.Ic.clear();
    branch.Dic.clear();
    const QByteArray header = Win1250::Encode(QStringLiteral("Videopůjčovna Žluťásek\n"
                                                             "Náměstí 5                    777 123 456\n"
                                                             "602 00 Brno             kino@zlutasek.cz\n")) +
                              QByteArray(40, '-') + "\n\n";
    const QByteArray topTel = "Tel: 777 123 456";
    for (int before = 2; before <= 5; ++before) {
        TPrintSettings s = TestSettings(QStringLiteral("Win1250"));
        s.SpaceBefore = before;
        s.SpaceShear = 1;
        QByteArray between = BetweenTwoReceipts(s, branch);
        between.replace("\x1b"
                        "d0",
                        "");
        // Lines printed at the top keep their "Tel: "; compare the lines, not that prefix.
        between.replace(QByteArray(5, ' ') + topTel, QByteArray(10, ' ') + "777 123 456");
        EXPECT_EQ(Shown(between), Shown(header)) << "lines ahead: " << before;
    }
}

TEST(ReceiptEnding, TheCutLiesBeforeTheLinesAfterItAndTheIcDicLineStaysWhenTheWholeHeaderIsAhead) {
    TPrintSettings s = TestSettings(QStringLiteral("Win1250"));
    s.SpaceAfter = 0;
    TReceiptBranch branch = TestBranch();
    QByteArray between = BetweenTwoReceipts(s, branch);
    EXPECT_EQ(between.count('\n'), 6);
    EXPECT_EQ(between.indexOf("\x1b"
                              "d0"),
              between.indexOf(Win1250::Encode(QStringLiteral("Náměstí"))) - 3)
        << "name and IČ/DIČ line before the cut, four lines after it";

    branch.Ic.clear();
    branch.Dic.clear();
    between = BetweenTwoReceipts(s, branch);
    EXPECT_TRUE(between.startsWith(Win1250::Encode(QStringLiteral("\nVideopůjčovna Žluťásek\nIČ: ") +
                                                   QString(31, u' ') +
                                                   QStringLiteral("DIČ: \n\x1b"
                                                                  "d0Náměstí"))))
        << "six lines ahead of a five-line header: an empty line first, and the IČ/DIČ line printed empty, "
           "then the cut and the four lines after it";
}

TEST(ReceiptEnding, SpaceShearLinesOfThoseAheadLieAfterTheCutForEverySpaceBefore) {
    const auto line = [](const QString& label, const QString& value = {}) {
        const QString gap = value.isEmpty() ? QString() : QString(40 - label.size() - value.size(), u' ');
        return Win1250::Encode(label + gap + value) + '\n';
    };
    // The next receipt's header as printed ahead, and as its top prints the lines left.
    const std::vector<QByteArray> ahead{
        line(QStringLiteral("Videopůjčovna Žluťásek")),
        line(QStringLiteral("IČ: 12345678"), QStringLiteral("DIČ: CZ12345678")),
        line(QStringLiteral("Náměstí 5"), QStringLiteral("777 123 456")),
        line(QStringLiteral("602 00 Brno"), QStringLiteral("kino@zlutasek.cz")),
        QByteArray(40, '-') + '\n',
        "\n"};
    std::vector<QByteArray> top = ahead;
    top[2] = line(QStringLiteral("Náměstí 5"), QStringLiteral("Tel: 777 123 456"));
    for (int before : {0, 1, 3, 6, 8}) {
        for (int shear = 0; shear <= before; ++shear) {
            TPrintSettings s = TestSettings(QStringLiteral("Win1250"));
            s.SpaceBefore = before;
            s.SpaceShear = shear;
            std::vector<QByteArray> lines(static_cast<std::size_t>(std::max(0, before - 6)), "\n");
            lines.insert(lines.end(), ahead.begin(), ahead.begin() + std::min(before, 6));
            QByteArray expected;
            for (std::size_t i = 0; i < lines.size(); ++i) {
                if (static_cast<int>(i) == before - shear)
                    expected += "\x1b"
                                "d0";
                expected += lines[i];
            }
            if (shear == 0)
                expected += "\x1b"
                            "d0";
            for (std::size_t i = static_cast<std::size_t>(std::min(before, 6)); i < top.size(); ++i)
                expected += top[i];
            EXPECT_EQ(Shown(BetweenTwoReceipts(s, TestBranch())), Shown(expected))
                << "lines ahead " << before << ", after the cut " << shear;
        }
    }
}

} // namespace
