#include "CodePage.h"
#include "ExternalCodec.h"
#include "Win1250.h"

#include <gtest/gtest.h>

namespace {

const QString kLetters = QStringLiteral("ÁČĎÉĚÍĹŇÓŘŠŤÚŮÝŽáčďéěíĺňóřšťúůýž");

QByteArray Converted(const QString& text, const QString& coding) {
    return CodePage::FromWin1250(Win1250::Encode(text), coding);
}

TEST(CodePages, TheCzechLettersAgreeWithIconvAndRecode) {
    const QByteArray utf8 = kLetters.toUtf8();
    EXPECT_EQ(Converted(kLetters, QStringLiteral("Win1250")), Iconv(QStringLiteral("CP1250"), utf8));
    EXPECT_EQ(Converted(kLetters, QStringLiteral("LATIN2")), Iconv(QStringLiteral("CP852"), utf8));
    EXPECT_EQ(Converted(kLetters, QStringLiteral("Kamenických")), Kamenicky(utf8));
    EXPECT_EQ(Converted(kLetters, QStringLiteral("ASCII")), QByteArray("ACDEEILNORSTUUYZacdeeilnorstuuyz"));
}

TEST(CodePages, OnlyTheCzechLettersChange) {
    // Letters of other languages stay in Windows-1250 whatever the printer's page.
    const QString text = QStringLiteral("Žluťoučký kůň, äöü ß § 100 %\t-\n");
    const QByteArray win1250 = Win1250::Encode(text);
    EXPECT_EQ(Converted(text, QStringLiteral("ASCII")),
              QByteArray("Zlutoucky kun, ") + win1250.mid(15, 7) + QByteArray(" 100 %\t-\n"));
    EXPECT_EQ(Converted(QStringLiteral("äöüß"), QStringLiteral("LATIN2")),
              Win1250::Encode(QStringLiteral("äöüß")));
    EXPECT_EQ(Converted(QStringLiteral("äöüß"), QStringLiteral("Kamenických")),
              Win1250::Encode(QStringLiteral("äöüß")));
    for (int byte = 0; byte < 128; ++byte) {
        const QByteArray one(1, static_cast<char>(byte));
        EXPECT_EQ(CodePage::FromWin1250(one, QStringLiteral("Kamenických")), one);
        EXPECT_EQ(CodePage::FromWin1250(one, QStringLiteral("LATIN2")), one);
    }
}

TEST(CodePages, AnUnknownOrMiscasedCodingLeavesWindows1250) {
    const QByteArray win1250 = Win1250::Encode(kLetters);
    EXPECT_EQ(CodePage::FromWin1250(win1250, QString()), win1250);
    EXPECT_EQ(CodePage::FromWin1250(win1250, QStringLiteral("latin2")), win1250);
    EXPECT_EQ(CodePage::FromWin1250(win1250, QStringLiteral("Kamenicky")), win1250);
}

} // namespace
