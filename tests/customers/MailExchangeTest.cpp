#include "GlobMail.h"
#include "SmtpPeers.h"
#include "Win1250.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QThread>
#include <QTimeZone>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

const QString kHost = QStringLiteral("127.0.0.1");

TMailContent Content(const QString& recipients, const QString& body = QStringLiteral("Dobrý den.")) {
    return {QStringLiteral("Videopůjčovna <obchod@videopujcovna.cz>"), recipients, QStringLiteral("Novinky"),
            body, QDateTime(QDate(2005, 3, 8), QTime(14, 5, 9), QTimeZone(3600))};
}

class MailExchange : public ::testing::Test {
protected:
    MailExchange() { mail.SetHeloName(QStringLiteral("pokladna1")); }

    bool Send(quint16 port, const TMailContent& content) {
        return mail.Send(kHost, QString::number(port), content);
    }

    TScriptedSmtpPeer peer;
    TDMGlobMail mail;
};

} // namespace

TEST_F(MailExchange, TheClientSendsExactlyTheExchangeWithStuffedDotsAndBracketedEnvelope) {
    const TMailContent content = Content(QStringLiteral("Eva Malá <eva@example.cz>; jan@example.cz;"),
                                         QStringLiteral(".\nPodpis\n.konec"));
    ASSERT_TRUE(Send(peer.Port(), content));
    EXPECT_TRUE(mail.Done());
    EXPECT_EQ(mail.Error(), QString());
    const QByteArray expected = "HELO pokladna1\r\n"
                                "MAIL FROM:<obchod@videopujcovna.cz>\r\n"
                                "RCPT TO:<eva@example.cz>\r\n"
                                "RCPT TO:<jan@example.cz>\r\n"
                                "DATA\r\n" +
                                MailData(content) + "QUIT\r\n";
    EXPECT_EQ(peer.Received(), expected);
    // The headers keep the addresses as typed; the body's dots are doubled on the wire.
    EXPECT_TRUE(peer.Received().contains("To: " + Win1250::Encode(QStringLiteral("Eva Malá")) +
                                         " <eva@example.cz>; jan@example.cz;\r\n"));
    EXPECT_TRUE(peer.Received().contains("\r\n\r\n..\r\nPodpis\r\n..konec\r\n.\r\nQUIT\r\n"));
}

TEST_F(MailExchange, MultiLineRepliesSplitAcrossPacketsAndBareLineFeedsAreReadWhole) {
    peer.greeting = {"220-mail.example.cz ESMTP\r\n220-", "welcome\r\n22", "0 ready\r\n"};
    peer.greetingPauseMs = 30;
    peer.answer = [](const QByteArray& command) -> QByteArray {
        if (command.startsWith("HELO"))
            return "250-mail.example.cz\r\n250-8BITMIME\r\n250 SIZE 1000000\r\n";
        if (command.startsWith("RCPT"))
            return "251 will forward\r\n";
        if (command.startsWith("DATA"))
            return "354 go ahead\n";
        return TScriptedSmtpPeer::WillingAnswer(command);
    };
    ASSERT_TRUE(Send(peer.Port(), Content(QStringLiteral("eva@example.cz"))));
    // One HELO after the whole greeting, one MAIL FROM after the whole HELO reply.
    EXPECT_EQ(peer.Received().count("HELO"), 1);
    EXPECT_EQ(peer.Received().count("MAIL FROM"), 1);
    EXPECT_TRUE(peer.Received().endsWith("QUIT\r\n"));
}

TEST_F(MailExchange, ARefusedRecipientMeansTheMessageIsNotSent) {
    peer.answer = [](const QByteArray& command) -> QByteArray {
        if (command.startsWith("RCPT"))
            return "550 5.1.1 mailbox unavailable\r\n";
        return TScriptedSmtpPeer::WillingAnswer(command);
    };
    EXPECT_FALSE(Send(peer.Port(), Content(QStringLiteral("nikdo@example.cz"))));
    EXPECT_TRUE(mail.Done());
    EXPECT_EQ(mail.Error(), QStringLiteral("\rRCPT TO failed (550 5.1.1 mailbox unavailable)"));
    EXPECT_FALSE(peer.Received().contains("DATA"));
}

TEST_F(MailExchange, ARefusedMessageAfterTheDataIsNotSent) {
    peer.answer = [](const QByteArray& command) -> QByteArray {
        if (command == ".")
            return "554 5.7.1 rejected as spam\r\n";
        return TScriptedSmtpPeer::WillingAnswer(command);
    };
    EXPECT_FALSE(Send(peer.Port(), Content(QStringLiteral("eva@example.cz"))));
    EXPECT_EQ(mail.Error(), QStringLiteral("\rMessage failed (554 5.7.1 rejected as spam)"));
}

TEST_F(MailExchange, AGoodbyeThatGoesWrongDoesNotUnsendTheMessage) {
    peer.answer = [](const QByteArray& command) -> QByteArray {
        if (command.startsWith("QUIT"))
            return "500 what?\r\n";
        return TScriptedSmtpPeer::WillingAnswer(command);
    };
    EXPECT_TRUE(Send(peer.Port(), Content(QStringLiteral("eva@example.cz"))));
    EXPECT_EQ(mail.Error(), QString());
}

TEST_F(MailExchange, AServerThatNeverAnswersTimesOut) {
    peer.greeting.clear();
    mail.SetTimeout(300);
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(Send(peer.Port(), Content(QStringLiteral("eva@example.cz"))));
    EXPECT_LT(clock.elapsed(), 5'000);
    EXPECT_EQ(peer.Connections(), 1);
    EXPECT_EQ(mail.Error(), QStringLiteral("\rOpen failed (not done within 0.3 s)"));
}

TEST_F(MailExchange, AServerThatFallsSilentAfterTheDataTimesOut) {
    peer.answer = [](const QByteArray& command) -> QByteArray {
        return command == "." ? QByteArray() : TScriptedSmtpPeer::WillingAnswer(command);
    };
    mail.SetTimeout(300);
    EXPECT_FALSE(Send(peer.Port(), Content(QStringLiteral("eva@example.cz"))));
    EXPECT_EQ(mail.Error(), QStringLiteral("\rMessage failed (not done within 0.3 s)"));
}

TEST_F(MailExchange, AServerAnsweringEveryCommandSlowlyIsBoundedOverTheWholeMessage) {
    // Each reply well within the limit, the whole exchange far beyond it.
    peer.answer = [](const QByteArray& command) {
        QThread::msleep(150);
        return TScriptedSmtpPeer::WillingAnswer(command);
    };
    mail.SetTimeout(400);
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(Send(peer.Port(), Content(QStringLiteral("eva@example.cz"))));
    EXPECT_LT(clock.elapsed(), 2'000);
    EXPECT_TRUE(mail.Error().endsWith(QStringLiteral(" failed (not done within 0.4 s)")))
        << mail.Error().toStdString();
}

TEST_F(MailExchange, AddressesWithControlCharactersNeverReachTheServer) {
    EXPECT_FALSE(
        Send(peer.Port(), Content(QStringLiteral("eva@example.cz>\r\nRCPT TO:<kdokoli@example.cz"))));
    EXPECT_EQ(mail.Error(), QStringLiteral("\rRCPT TO failed (control character in a recipient address)"));
    TMailContent forged = Content(QStringLiteral("eva@example.cz"));
    forged.Sender = QStringLiteral("obchod@videopujcovna.cz\nRSET");
    EXPECT_FALSE(Send(peer.Port(), forged));
    EXPECT_EQ(mail.Error(), QStringLiteral("\rMAIL FROM failed (control character in the sender address)"));
    EXPECT_EQ(peer.Connections(), 0);
}

TEST_F(MailExchange, AnAbortEndsTheExchangeAtOnceAndAMessageTakenStaysSent) {
    peer.greetingPauseMs = 5'000;
    peer.connected = [this] { QTimer::singleShot(100, [this] { mail.Abort(); }); };
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(Send(peer.Port(), Content(QStringLiteral("eva@example.cz"))));
    EXPECT_LT(clock.elapsed(), 2'000);
    EXPECT_TRUE(mail.Aborted());
    EXPECT_EQ(mail.Error(), QStringLiteral("\rOpen failed (interrupted)"));

    peer.greetingPauseMs = 0;
    peer.answer = [this](const QByteArray& command) {
        if (command == "QUIT")
            QTimer::singleShot(0, [this] { mail.Abort(); });
        return command == "QUIT" ? QByteArray() : TScriptedSmtpPeer::WillingAnswer(command);
    };
    peer.connected = {};
    EXPECT_TRUE(Send(peer.Port(), Content(QStringLiteral("eva@example.cz"))));
    EXPECT_EQ(mail.Error(), QString());
}

TEST_F(MailExchange, TheProgramWaitsAMinuteForAReplyUnlessToldOtherwise) {
    EXPECT_EQ(TDMGlobMail::kMessageTimeoutMs, 60'000);
}

TEST_F(MailExchange, ARefusedConnectionIsAFailure) {
    EXPECT_FALSE(Send(RefusingPort(), Content(QStringLiteral("eva@example.cz"))));
    EXPECT_TRUE(mail.Done());
    EXPECT_EQ(mail.Error(), QStringLiteral("\rOpen failed (Connection refused)"));
}

TEST_F(MailExchange, AServerNameThatCannotBeResolvedIsAFailure) {
    EXPECT_FALSE(mail.Send(QStringLiteral("mail.nonexistent.invalid"), QStringLiteral("25"),
                           Content(QStringLiteral("eva@example.cz"))));
    EXPECT_EQ(mail.Error(), QStringLiteral("\rOpen failed (Host not found)"));
}

TEST_F(MailExchange, NoAddressNoConnection) {
    EXPECT_FALSE(Send(peer.Port(), Content(QStringLiteral(" ; "))));
    EXPECT_TRUE(mail.Done());
    EXPECT_EQ(mail.Error(), QStringLiteral("\rRCPT TO failed (no recipient address)"));
    EXPECT_EQ(peer.Connections(), 0);
}

TEST_F(MailExchange, AnUnknownPortOrNoServerFailsBeforeAnyConnection) {
    EXPECT_FALSE(
        mail.Send(kHost, QStringLiteral("no-such-service"), Content(QStringLiteral("eva@example.cz"))));
    EXPECT_EQ(mail.Error(), QStringLiteral("\rOpen failed (unknown port no-such-service)"));
    EXPECT_FALSE(mail.Send(kHost, QStringLiteral("70000"), Content(QStringLiteral("eva@example.cz"))));
    EXPECT_EQ(mail.Error(), QStringLiteral("\rOpen failed (unknown port 70000)"));
    EXPECT_FALSE(mail.Send(QStringLiteral(" "), QString::number(peer.Port()),
                           Content(QStringLiteral("eva@example.cz"))));
    EXPECT_EQ(mail.Error(), QStringLiteral("\rOpen failed (no server)"));
    EXPECT_EQ(peer.Connections(), 0);
}

TEST(MailExchangeReal, ARealServerTakesTheMessageWithItsDotsAndLongLinesWhole) {
    TSmtpSink sink;
    ASSERT_NE(sink.Port(), 0);
    QString paragraph;
    while (paragraph.size() < 2500)
        paragraph += QStringLiteral("Půjčte si ");
    const QString body = QStringLiteral(".\n..\n") + paragraph + QStringLiteral("\nkonec");
    TDMGlobMail mail;
    ASSERT_TRUE(mail.Send(kHost, QString::number(sink.Port()),
                          Content(QStringLiteral("Eva Malá <eva@example.cz>;jan@example.cz"), body)))
        << mail.Error().toStdString();
    const auto messages = sink.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].mailFrom, QStringLiteral("obchod@videopujcovna.cz"));
    EXPECT_EQ(messages[0].rcptTo,
              (QStringList{QStringLiteral("eva@example.cz"), QStringLiteral("jan@example.cz")}));
    const QByteArray& data = messages[0].data;
    const QByteArray bodyBytes = data.mid(data.indexOf("\r\n\r\n") + 4);
    // After the server's dot handling the lines are as typed; the paragraph comes in pieces
    // that join to the whole.
    const QList<QByteArray> lines = bodyBytes.split('\n');
    ASSERT_GE(lines.size(), 6);
    EXPECT_EQ(lines.at(0), ".\r");
    EXPECT_EQ(lines.at(1), "..\r");
    QByteArray joined;
    for (qsizetype i = 2; i + 2 < lines.size(); ++i)
        joined += lines.at(i).chopped(1);
    EXPECT_EQ(joined, Win1250::Encode(paragraph));
    EXPECT_EQ(lines.at(lines.size() - 2), "konec\r");
    EXPECT_TRUE(data.contains("Subject: Novinky\r\n"));
}
