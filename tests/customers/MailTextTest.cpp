#include "MailText.h"
#include "Win1250.h"

#include <QTimeZone>

#include <gtest/gtest.h>

namespace {

QByteArray Cz(const QString& text) {
    return Win1250::Encode(text);
}

// The body's lines as sent, between the empty line after the headers and the closing ".".
QList<QByteArray> BodyLines(const QByteArray& data) {
    const qsizetype start = data.indexOf("\r\n\r\n") + 4;
    EXPECT_TRUE(data.endsWith("\r\n.\r\n"));
    QList<QByteArray> lines = data.mid(start, data.size() - start - 3).split('\n');
    lines.removeLast();
    return lines;
}

TMailContent Content(const QString& body) {
    return {QStringLiteral("obchod@videopujcovna.cz"), QStringLiteral("eva@example.cz"),
            QStringLiteral("Novinky"), body, QDateTime(QDate(2005, 3, 8), QTime(14, 5, 9), QTimeZone(3600))};
}

} // namespace

TEST(MailText, SignatureLeavesOutEmptyItemsButAlwaysEndsWithTheShopsAddress) {
    EXPECT_EQ(
        MailSignatureText({QStringLiteral("Videopůjčovna U Kina"), QStringLiteral("Hlavní 12"),
                           QStringLiteral("Brno"), QStringLiteral("60200"), QStringLiteral("543 210 987"),
                           QString(), QStringLiteral("www.ukina.cz"), QStringLiteral("kino@ukina.cz")}),
        QStringLiteral("\nVideopůjčovna U Kina\nHlavní 12\nBrno\n60200\n\ntelefon: 543 210 987\nweb: "
                       "www.ukina.cz\n\nemail: kino@ukina.cz"));
    EXPECT_EQ(
        MailSignatureText({QStringLiteral("Video"), {}, {}, {}, {}, QStringLiteral("543 210 988"), {}, {}}),
        QStringLiteral("\nVideo\n\nfax: 543 210 988\n\nemail: "));
}

TEST(MailText, RecipientsAreSplitAtSemicolonsAndTheEnvelopeTakesTheAddressInsideBrackets) {
    EXPECT_EQ(MailRecipients(QStringLiteral(" eva@example.cz ;jan@example.cz; ;")),
              (QStringList{QStringLiteral("eva@example.cz"), QStringLiteral("jan@example.cz")}));
    EXPECT_TRUE(MailRecipients(QStringLiteral("  ")).isEmpty());
    EXPECT_TRUE(MailRecipients(QString()).isEmpty());
    EXPECT_EQ(EnvelopeAddress(QStringLiteral("Eva Malá <eva@example.cz>")), QStringLiteral("eva@example.cz"));
    EXPECT_EQ(EnvelopeAddress(QStringLiteral("<jan@example.cz>")), QStringLiteral("jan@example.cz"));
    EXPECT_EQ(EnvelopeAddress(QStringLiteral(" jan@example.cz ")), QStringLiteral("jan@example.cz"));
}

TEST(MailText, TheDateIsInEnglishWithTheTimesOwnOffsetWhateverTheLocale) {
    // The test program runs with the Czech locale.
    EXPECT_EQ(Rfc822Date(QDateTime(QDate(2005, 3, 8), QTime(14, 5, 9), QTimeZone(3600))),
              QStringLiteral("Tue, 8 Mar 2005 14:05:09 +0100"));
    EXPECT_EQ(Rfc822Date(QDateTime(QDate(2026, 12, 27), QTime(23, 59, 1), QTimeZone(-(3 * 3600 + 1800)))),
              QStringLiteral("Sun, 27 Dec 2026 23:59:01 -0330"));
    EXPECT_EQ(Rfc822Date(QDateTime(QDate(2024, 7, 1), QTime(0, 0), QTimeZone::utc())),
              QStringLiteral("Mon, 1 Jul 2024 00:00:00 +0000"));
}

TEST(MailText, HeadersInWindows1250AndTheSubjectAsRaw8BitOnOneLine) {
    TMailContent content = Content(QStringLiteral("Dobrý den,\nmáme nové filmy."));
    content.Sender = QStringLiteral("Videopůjčovna <obchod@videopujcovna.cz>");
    content.Recipients = QStringLiteral("eva@example.cz; jan@example.cz;");
    content.Subject = QStringLiteral("Nové tituly\r\nBcc: vsichni@example.cz");
    EXPECT_EQ(MailData(content), "Return-Path: " + Cz(QStringLiteral("Videopůjčovna")) +
                                     " <obchod@videopujcovna.cz>\r\n"
                                     "From: " +
                                     Cz(QStringLiteral("Videopůjčovna")) +
                                     " <obchod@videopujcovna.cz>\r\n"
                                     "To: eva@example.cz; jan@example.cz;\r\n"
                                     "Subject: " +
                                     Cz(QStringLiteral("Nové tituly  Bcc: vsichni@example.cz")) +
                                     "\r\nSender: " + Cz(QStringLiteral("Videopůjčovna")) +
                                     " <obchod@videopujcovna.cz>\r\n"
                                     "Mime-Version: 1.0\r\n"
                                     "Content-Type: text/plain; charset=\"windows-1250\"\r\n"
                                     "Content-Transfer-Encoding: 8bit\r\n"
                                     "Date: Tue, 8 Mar 2005 14:05:09 +0100\r\n"
                                     "\r\n" +
                                     Cz(QStringLiteral("Dobrý den,")) + "\r\n" +
                                     Cz(QStringLiteral("máme nové filmy.")) + "\r\n.\r\n");
}

TEST(MailText, WithoutASenderTheReturnPathAndSenderLinesAreLeftOut) {
    TMailContent content = Content(QStringLiteral("x"));
    content.Sender = QStringLiteral("  ");
    const QByteArray data = MailData(content);
    EXPECT_FALSE(data.contains("Return-Path:"));
    EXPECT_FALSE(data.contains("Sender:"));
    EXPECT_TRUE(data.startsWith("From:   \r\nTo: eva@example.cz\r\n"));
}

TEST(MailText, ALineStartingWithADotGetsASecondOne) {
    EXPECT_EQ(BodyLines(MailData(Content(QStringLiteral(".\n.konec\nprostřední . tečka\n..")))),
              (QList<QByteArray>{"..\r", "..konec\r", Cz(QStringLiteral("prostřední . tečka\r")), "...\r"}));
}

TEST(MailText, LongLinesAreBrokenWithinTheLimitAndLoseNothing) {
    // Words of 9 letters and a blank: 2500 characters in one paragraph, as a clerk pastes it.
    QString paragraph;
    while (paragraph.size() < 2500)
        paragraph += QStringLiteral("čtvrtečka ");
    const QString unbroken = QString(2100, u'x');
    const QList<QByteArray> lines =
        BodyLines(MailData(Content(paragraph + u'\n' + unbroken + QStringLiteral("\r\nkonec"))));
    QByteArray joined;
    int breaks = 0;
    for (const QByteArray& line : lines) {
        ASSERT_TRUE(line.endsWith('\r'));
        const QByteArray text = line.chopped(1);
        EXPECT_LE(text.size(), kMailLineLimit);
        joined += text;
        if (text.size() > 900)
            ++breaks;
    }
    EXPECT_EQ(joined, Cz(paragraph + unbroken + QStringLiteral("konec")));
    ASSERT_EQ(lines.size(), 7);
    // The paragraph breaks after a word, never inside one.
    EXPECT_TRUE(lines.at(0).endsWith(Cz(QStringLiteral("čtvrtečka \r"))));
    EXPECT_EQ(lines.at(3), QByteArray(998, 'x') + '\r');
    EXPECT_EQ(lines.at(4), QByteArray(998, 'x') + '\r');
    EXPECT_EQ(lines.at(5), QByteArray(104, 'x') + '\r');
    EXPECT_EQ(lines.at(6), "konec\r");
    EXPECT_GE(breaks, 4);
}

TEST(MailText, APieceOfABrokenLineThatStartsWithADotStaysWithinTheLimitWhenStuffed) {
    const QString line = QString(998, u'a') + QString(998, u'.');
    const QList<QByteArray> lines = BodyLines(MailData(Content(line)));
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines.at(0), QByteArray(998, 'a') + '\r');
    // 997 dots and the stuffing dot, then the last dot stuffed.
    EXPECT_EQ(lines.at(1), QByteArray(998, '.') + '\r');
    EXPECT_EQ(lines.at(2), "..\r");
}

TEST(MailText, TextsWindows1250CannotHoldAreRefusedBeforeSending) {
    EXPECT_EQ(
        MailInputProblem(QStringLiteral("Příliš žluťoučký kůň – €"), QStringLiteral("„Úpěl“ ďábelské ódy")),
        QString());
    EXPECT_EQ(MailInputProblem(QStringLiteral("Akce ☺"), QStringLiteral("x")),
              QStringLiteral(
                  "Předmět obsahuje znak „☺“, který e-mail v kódování windows-1250 nepřenese. Nic nebylo "
                  "odesláno."));
    EXPECT_EQ(
        MailInputProblem(QStringLiteral("Akce"), QStringLiteral("Łódź ok, ale 🎬 ne")),
        QStringLiteral("Zpráva obsahuje znak „🎬“, který e-mail v kódování windows-1250 nepřenese. Nic nebylo "
                       "odesláno."));
    EXPECT_EQ(MailInputProblem(QStringLiteral("Akce"), QString(kMailMessageLimit + 1, u'a')),
              QStringLiteral("Zpráva je delší než 4096 znaků. Nic nebylo odesláno."));
    EXPECT_EQ(MailInputProblem(QStringLiteral("Akce"), QString(kMailMessageLimit, u'a')), QString());
}
