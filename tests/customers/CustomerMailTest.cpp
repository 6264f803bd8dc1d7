#include "AppContext.h"
#include "CustomerDeskFixture.h"
#include "GlobDialog.h"
#include "MailText.h"
#include "MoxButton.h"
#include "MoxCheckBox.h"
#include "MoxEdit.h"
#include "MoxLabel.h"
#include "MoxMemo.h"
#include "Query.h"
#include "SmtpPeers.h"
#include "TestDatabase.h"
#include "Win1250.h"
#include "ZakOdeslat.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

const QString kSignature =
    QStringLiteral("\nVideopůjčovna U Kina\nHlavní 12\nBrno\n60200\n\ntelefon: 543 210 987\nweb: "
                   "www.ukina.cz\n\nemail: Videopůjčovna U Kina <kino@ukina.cz>");

struct TLogRow {
    int kodZak = 0;
    int uzivOds = 0;
    QString emailAdr, emailSubj, emailMessage;
    bool dated = false;
};

class CustomerMail : public ::testing::Test {
protected:
    CustomerMail() {
        database.LogInAdmin(context);
        database.Exec(
            QStringLiteral("update POBOCKA set JMENO = 'Videopůjčovna U Kina', ADR_ULICE = 'Hlavní 12', "
                           "ADR_OBEC = 'Brno', ADR_PSC = '60200', TEL = '543 210 987', FAX = null, "
                           "WEB = 'www.ukina.cz'"));
        UseServer(QStringLiteral("127.0.0.1"), 25);
    }

    void UseServer(const QString& host, quint16 port) {
        database.Exec(QStringLiteral("update SPEC_APP set MAIL_HOST = '%1', MAIL_PORT = '%2', "
                                     "MAIL_ODESLAT = 'Videopůjčovna U Kina <kino@ukina.cz>'")
                          .arg(host)
                          .arg(port));
    }

    // A customer with an address value as given (a null QString stores null).
    int AddCustomer(const QString& jmeno, const QString& prijmeni, const QString& email, bool news) {
        const int key = ++lastKey_;
        database.Exec(
            QStringLiteral("insert into ZAKAZNICI (KOD_ZAK, D_REGISTRACE, UZIV_REG, D_ZMENY, UZIV_ZMENA, "
                           "JMENO, PRIJMENI, EMAIL, POSILAT_NOVINKY) values (%1, CURRENT_TIMESTAMP, %2, "
                           "CURRENT_TIMESTAMP, %2, '%3', '%4', %5, '%6')")
                .arg(key)
                .arg(context.CurrentUser.KodUziv)
                .arg(jmeno, prijmeni, email.isNull() ? QStringLiteral("null") : u'\'' + email + u'\'',
                     news ? QStringLiteral("A") : QStringLiteral("N")));
        return key;
    }

    std::vector<TLogRow> LogRows() {
        std::vector<TLogRow> rows;
        TTransaction transaction(database.Db().DB);
        auto query = database.Db().OpenQuery(
            transaction, QStringLiteral("select * from ZAK_ZPRAVY order by KOD_ZAK, DATUM_ODS"));
        query->Open();
        for (; !query->Eof(); query->Next()) {
            const auto field = [&](const char* name) -> const TField& {
                return query->FieldByName(QString::fromLatin1(name));
            };
            rows.push_back({field("KOD_ZAK").AsInteger(), field("UZIV_ODS").AsInteger(),
                            field("EMAIL_ADR").AsString(), field("EMAIL_SUBJ").AsString(),
                            field("EMAIL_MESSAGE").AsString(), !field("DATUM_ODS").IsNull()});
        }
        query.reset();
        transaction.Commit();
        return rows;
    }

    // The dialog as the register opens it, shown.
    std::unique_ptr<TFZakOdeslat> Open(const QString& jmeno, int key) {
        auto dialog = std::make_unique<TFZakOdeslat>(context);
        dialog->SetZakaznik(jmeno, key);
        dialog->show();
        return dialog;
    }
    template <typename T> static T* Child(QWidget& dialog, const char* name) {
        T* child = dialog.findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    static void Choose(TFZakOdeslat& dialog, const char* name) {
        auto* box = Child<TMoxCheckBox>(dialog, name);
        QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(6, box->height() / 2));
    }
    // The clerk writes the subject and the message above the signature.
    static void Write(TFZakOdeslat& dialog, const QString& subject, const QString& message) {
        Child<TMoxEdit>(dialog, "ESubject")->setText(subject);
        Child<TMoxMemo>(dialog, "MemoEmail")->insertPlainText(message);
    }
    static void Send(TFZakOdeslat& dialog) { Child<TMoxButton>(dialog, "BOdeslat")->click(); }
    static QString Progress(TFZakOdeslat& dialog) { return Child<TMoxLabel>(dialog, "LPrubeh")->text(); }

    TTestDatabase database;
    TAppContext context{database.ExecutablePath()};
    TDialogHook hook;

private:
    int lastKey_ = 900;
};

QByteArray WithoutDate(const QByteArray& data) {
    static const QRegularExpression date(QStringLiteral("Date: [A-Z][a-z]{2}, \\d{1,2} [A-Z][a-z]{2} \\d{4} "
                                                        "\\d\\d:\\d\\d:\\d\\d [+-]\\d{4}\\r\\n"));
    const QString text = QString::fromLatin1(data);
    EXPECT_TRUE(date.match(text).hasMatch()) << text.toStdString();
    return QString(text).replace(date, QStringLiteral("Date: *\r\n")).toLatin1();
}

} // namespace

TEST_F(CustomerMail, TheDialogOpensWithTheSignatureAndTheChoiceOfRecipients) {
    auto dialog = Open(QStringLiteral("Eva Malá"),
                       AddCustomer(QStringLiteral("Eva"), QStringLiteral("Malá"), {}, false));
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Odeslání zpráv"));
    EXPECT_TRUE(Child<TMoxCheckBox>(*dialog, "ChVsichni")->isChecked());
    auto* pouze = Child<TMoxCheckBox>(*dialog, "ChPouze");
    EXPECT_EQ(pouze->text(), QStringLiteral("&Pouze: Eva Malá"));
    EXPECT_TRUE(pouze->isEnabled());
    auto* memo = Child<TMoxMemo>(*dialog, "MemoEmail");
    EXPECT_EQ(memo->toPlainText(), kSignature);
    EXPECT_EQ(memo->textCursor().position(), 0);
    EXPECT_EQ(Child<TMoxEdit>(*dialog, "ESubject")->maxLength(), 200);

    // "Poslat email" takes the message and the sending with it.
    auto* email = Child<TMoxCheckBox>(*dialog, "ChEmail");
    EXPECT_TRUE(email->isChecked());
    QTest::mouseClick(email, Qt::LeftButton, Qt::NoModifier, QPoint(6, email->height() / 2));
    EXPECT_FALSE(memo->isEnabled());
    EXPECT_FALSE(Child<TMoxButton>(*dialog, "BOdeslat")->isEnabled());
    QTest::mouseClick(email, Qt::LeftButton, Qt::NoModifier, QPoint(6, email->height() / 2));
    EXPECT_TRUE(Child<TMoxButton>(*dialog, "BOdeslat")->isEnabled());

    // Before any customer, or for one not stored yet, only "everybody" can be chosen.
    for (const int key : {0, -1}) {
        auto none = Open(QStringLiteral(" "), key);
        EXPECT_FALSE(Child<TMoxCheckBox>(*none, "ChPouze")->isEnabled()) << key;
    }
}

TEST_F(CustomerMail, OneCustomerGetsTheMessageAndItIsRecordedInTheHistory) {
    TSmtpSink sink;
    UseServer(QStringLiteral("127.0.0.1"), sink.Port());
    const int eva =
        AddCustomer(QStringLiteral("Eva"), QStringLiteral("Malá"), QStringLiteral("eva@example.cz"), false);
    AddCustomer(QStringLiteral("Jan"), QStringLiteral("Malý"), QStringLiteral("jan@example.cz"), true);
    auto dialog = Open(QStringLiteral("Eva Malá"), eva);
    Choose(*dialog, "ChPouze");
    Write(*dialog, QStringLiteral("Nové tituly: Pelíšky"),
          QStringLiteral("Dobrý den,\n.\nmáme pro Vás nové filmy.\n"));
    Send(*dialog);

    EXPECT_TRUE(hook.messages.empty()) << hook.Texts().front().toStdString();
    const auto messages = sink.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].mailFrom, QStringLiteral("kino@ukina.cz"));
    EXPECT_EQ(messages[0].rcptTo, QStringList{QStringLiteral("eva@example.cz")});
    const QString message = QStringLiteral("Dobrý den,\n.\nmáme pro Vás nové filmy.\n") + kSignature;
    QByteArray expected =
        "Return-Path: " + Win1250::Encode(QStringLiteral("Videopůjčovna U Kina")) +
        " <kino@ukina.cz>\r\nFrom: " + Win1250::Encode(QStringLiteral("Videopůjčovna U Kina")) +
        " <kino@ukina.cz>\r\nTo: eva@example.cz\r\nSubject: " +
        Win1250::Encode(QStringLiteral("Nové tituly: Pelíšky")) +
        "\r\nSender: " + Win1250::Encode(QStringLiteral("Videopůjčovna U Kina")) +
        " <kino@ukina.cz>\r\nMime-Version: 1.0\r\n"
        "Content-Type: text/plain; charset=\"windows-1250\"\r\n"
        "Content-Transfer-Encoding: 8bit\r\nDate: *\r\n\r\n" +
        Win1250::Encode(QString(message).replace(u'\n', QStringLiteral("\r\n"))) + "\r\n";
    EXPECT_EQ(WithoutDate(messages[0].data), expected);

    const auto rows = LogRows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].kodZak, eva);
    EXPECT_EQ(rows[0].uzivOds, context.CurrentUser.KodUziv);
    EXPECT_EQ(rows[0].emailAdr, QStringLiteral("eva@example.cz"));
    EXPECT_EQ(rows[0].emailSubj, QStringLiteral("Nové tituly: Pelíšky"));
    EXPECT_EQ(rows[0].emailMessage, message);
    EXPECT_TRUE(rows[0].dated);
    EXPECT_EQ(Progress(*dialog), QStringLiteral("Odeslané zprávy: 1 z 1."));
    EXPECT_TRUE(dialog->isVisible());
}

TEST_F(CustomerMail, ACustomerWithTwoAddressesGetsOneMessageToBoth) {
    TSmtpSink sink;
    UseServer(QStringLiteral("127.0.0.1"), sink.Port());
    const int key = AddCustomer(QStringLiteral("Eva"), QStringLiteral("Malá"),
                                QStringLiteral("Eva Malá <eva@example.cz>;eva.mala@example.cz;"), false);
    auto dialog = Open(QStringLiteral("Eva Malá"), key);
    Choose(*dialog, "ChPouze");
    Write(*dialog, QStringLiteral("Akce"), QStringLiteral("Víkend za polovic."));
    Send(*dialog);
    const auto messages = sink.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].rcptTo,
              (QStringList{QStringLiteral("eva@example.cz"), QStringLiteral("eva.mala@example.cz")}));
    EXPECT_TRUE(messages[0].data.contains("\r\nTo: " + Win1250::Encode(QStringLiteral("Eva Malá")) +
                                          " <eva@example.cz>;eva.mala@example.cz;\r\n"));
    const auto rows = LogRows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].emailAdr, QStringLiteral("Eva Malá <eva@example.cz>;eva.mala@example.cz;"));
}

TEST_F(CustomerMail, EverybodyMeansTheCustomersWhoWantNewsAndHaveAnAddress) {
    TSmtpSink sink;
    UseServer(QStringLiteral("127.0.0.1"), sink.Port());
    const int eva =
        AddCustomer(QStringLiteral("Eva"), QStringLiteral("Malá"), QStringLiteral("eva@example.cz"), true);
    AddCustomer(QStringLiteral("Jan"), QStringLiteral("Malý"), QStringLiteral("jan@example.cz"), false);
    AddCustomer(QStringLiteral("Petr"), QStringLiteral("Bez"), QString(), true);
    const int iva = AddCustomer(QStringLiteral("Iva"), QStringLiteral("Nová"),
                                QStringLiteral("iva@example.cz; iva@work.cz"), true);
    auto dialog = Open(QStringLiteral("Jan Malý"), eva + 1);
    Write(*dialog, QStringLiteral("Filmy na 'víkend'"), QStringLiteral("Nové filmy."));
    Send(*dialog);

    const auto messages = sink.Messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].rcptTo, QStringList{QStringLiteral("eva@example.cz")});
    EXPECT_EQ(messages[1].rcptTo,
              (QStringList{QStringLiteral("iva@example.cz"), QStringLiteral("iva@work.cz")}));
    const auto rows = LogRows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].kodZak, eva);
    EXPECT_EQ(rows[1].kodZak, iva);
    EXPECT_EQ(rows[1].emailAdr, QStringLiteral("iva@example.cz; iva@work.cz"));
    EXPECT_EQ(rows[1].emailSubj, QStringLiteral("Filmy na 'víkend'"));
    EXPECT_EQ(Progress(*dialog), QStringLiteral("Odeslané zprávy: 2 z 2."));
}

TEST_F(CustomerMail, MessagesThatDidNotGoAreShownAndNotRecorded) {
    AddCustomer(QStringLiteral("Eva"), QStringLiteral("Malá"), QStringLiteral("eva@example.cz"), true);
    AddCustomer(QStringLiteral("Iva"), QStringLiteral("Nová"), QStringLiteral("iva@example.cz"), true);

    // Nobody listens.
    UseServer(QStringLiteral("127.0.0.1"), RefusingPort());
    auto dialog = Open(QStringLiteral(" "), 0);
    Write(*dialog, QStringLiteral("Novinky"), QStringLiteral("Nové filmy."));
    Send(*dialog);
    ASSERT_EQ(hook.messages.size(), 2u);
    EXPECT_EQ(
        hook.messages[0].text,
        QStringLiteral(
            "Mail se nepodařilo odeslat na adresu:eva@example.cz.\r\rOpen failed (Connection refused)"));
    EXPECT_EQ(hook.messages[0].kind, TMsgKind::Error);
    EXPECT_EQ(hook.messages[0].buttons, TMsgButtons::Ok);
    EXPECT_EQ(
        hook.messages[1].text,
        QStringLiteral(
            "Mail se nepodařilo odeslat na adresu:iva@example.cz.\r\rOpen failed (Connection refused)"));
    EXPECT_EQ(Progress(*dialog), QStringLiteral("Odeslané zprávy: 0 z 2."));

    // A server name that nobody knows.
    hook.Clear();
    context.SpecApp().Assign({{},
                              QStringLiteral("kino@ukina.cz"),
                              QStringLiteral("posta.nonexistent.invalid"),
                              QStringLiteral("25"),
                              {},
                              {},
                              {},
                              {}});
    Send(*dialog);
    EXPECT_EQ(
        hook.Texts(),
        (std::vector<QString>{
            QStringLiteral(
                "Mail se nepodařilo odeslat na adresu:eva@example.cz.\r\rOpen failed (Host not found)"),
            QStringLiteral(
                "Mail se nepodařilo odeslat na adresu:iva@example.cz.\r\rOpen failed (Host not found)")}));

    // A server that refuses the recipient.
    hook.Clear();
    TScriptedSmtpPeer peer;
    peer.answer = [](const QByteArray& command) -> QByteArray {
        if (command.startsWith("RCPT TO:<iva"))
            return "550 no such user\r\n";
        return TScriptedSmtpPeer::WillingAnswer(command);
    };
    context.SpecApp().Assign({{},
                              QStringLiteral("kino@ukina.cz"),
                              QStringLiteral("127.0.0.1"),
                              QString::number(peer.Port()),
                              {},
                              {},
                              {},
                              {}});
    Send(*dialog);
    EXPECT_EQ(
        hook.Texts(),
        std::vector<QString>{QStringLiteral(
            "Mail se nepodařilo odeslat na adresu:iva@example.cz.\r\rRCPT TO failed (550 no such user)")});
    EXPECT_EQ(Progress(*dialog), QStringLiteral("Odeslané zprávy: 1 z 2."));
    const auto rows = LogRows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].emailAdr, QStringLiteral("eva@example.cz"));
}

TEST_F(CustomerMail, ABlankAddressIsShownAndNotRecorded) {
    TScriptedSmtpPeer peer;
    UseServer(QStringLiteral("127.0.0.1"), peer.Port());
    const int key = AddCustomer(QStringLiteral("Eva"), QStringLiteral("Malá"), QStringLiteral(" "), true);
    auto dialog = Open(QStringLiteral("Eva Malá"), key);
    Choose(*dialog, "ChPouze");
    Write(*dialog, QStringLiteral("Novinky"), QStringLiteral("Nové filmy."));
    Send(*dialog);
    EXPECT_EQ(hook.Texts(),
              std::vector<QString>{QStringLiteral(
                  "Mail se nepodařilo odeslat na adresu: .\r\rRCPT TO failed (no recipient address)")});
    EXPECT_EQ(peer.Connections(), 0);
    EXPECT_TRUE(LogRows().empty());
}

TEST_F(CustomerMail, ACustomerWithoutAnAddressGetsNothingAndTheDialogSaysSo) {
    TScriptedSmtpPeer peer;
    UseServer(QStringLiteral("127.0.0.1"), peer.Port());
    const int key = AddCustomer(QStringLiteral("Eva"), QStringLiteral("Malá"), QString(), true);
    auto dialog = Open(QStringLiteral("Eva Malá"), key);
    Choose(*dialog, "ChPouze");
    Write(*dialog, QStringLiteral("Novinky"), QStringLiteral("Nové filmy."));
    Send(*dialog);
    EXPECT_TRUE(hook.messages.empty());
    EXPECT_EQ(Progress(*dialog), QStringLiteral("Žádný příjemce nemá zadaný email. Nic nebylo odesláno."));
    EXPECT_EQ(peer.Connections(), 0);
}

TEST_F(CustomerMail, ASilentServerIsReportedAfterTheTimeLimit) {
    TScriptedSmtpPeer peer;
    peer.greeting.clear();
    UseServer(QStringLiteral("127.0.0.1"), peer.Port());
    AddCustomer(QStringLiteral("Eva"), QStringLiteral("Malá"), QStringLiteral("eva@example.cz"), true);
    auto dialog = Open(QStringLiteral(" "), 0);
    dialog->SetTimeout(300);
    Write(*dialog, QStringLiteral("Novinky"), QStringLiteral("Nové filmy."));
    Send(*dialog);
    EXPECT_EQ(
        hook.Texts(),
        std::vector<QString>{QStringLiteral(
            "Mail se nepodařilo odeslat na adresu:eva@example.cz.\r\rOpen failed (not done within 0.3 s)")});
    EXPECT_TRUE(LogRows().empty());
    EXPECT_FALSE(dialog->Sending());
}

TEST_F(CustomerMail, TextsTheMailCannotCarryAreRefusedBeforeAnythingGoes) {
    TScriptedSmtpPeer peer;
    UseServer(QStringLiteral("127.0.0.1"), peer.Port());
    AddCustomer(QStringLiteral("Eva"), QStringLiteral("Malá"), QStringLiteral("eva@example.cz"), true);
    auto dialog = Open(QStringLiteral(" "), 0);
    Write(*dialog, QStringLiteral("Filmový večer 🎬"), QStringLiteral("Nové filmy."));
    Send(*dialog);
    EXPECT_EQ(hook.Texts(),
              std::vector<QString>{QStringLiteral("Předmět obsahuje znak „🎬“, který e-mail v kódování "
                                                  "windows-1250 nepřenese. Nic nebylo odesláno.")});
    EXPECT_EQ(hook.messages[0].kind, TMsgKind::Warning);
    EXPECT_EQ(peer.Connections(), 0);
    EXPECT_TRUE(LogRows().empty());
    // The clerk's text stays for the correction.
    EXPECT_EQ(Child<TMoxEdit>(*dialog, "ESubject")->text(), QStringLiteral("Filmový večer 🎬"));
    EXPECT_TRUE(
        Child<TMoxMemo>(*dialog, "MemoEmail")->toPlainText().startsWith(QStringLiteral("Nové filmy.")));
}

TEST_F(CustomerMail, WhileSendingTheDialogCannotBeSentAgainOrClosed) {
    TScriptedSmtpPeer peer;
    peer.greetingPauseMs = 100;
    UseServer(QStringLiteral("127.0.0.1"), peer.Port());
    AddCustomer(QStringLiteral("Eva"), QStringLiteral("Malá"), QStringLiteral("eva@example.cz"), true);
    auto dialog = Open(QStringLiteral(" "), 0);
    Write(*dialog, QStringLiteral("Novinky"), QStringLiteral("Nové filmy."));
    bool tried = false;
    // The clerk tries while the server is still to greet.
    peer.connected = [&] {
        tried = true;
        EXPECT_TRUE(dialog->Sending());
        for (const char* name : {"BOdeslat", "BZavrit"})
            EXPECT_FALSE(Child<TMoxButton>(*dialog, name)->isEnabled()) << name;
        for (const char* name : {"ChVsichni", "ChPouze", "ChEmail"})
            EXPECT_FALSE(Child<TMoxCheckBox>(*dialog, name)->isEnabled()) << name;
        EXPECT_FALSE(Child<TMoxEdit>(*dialog, "ESubject")->isEnabled());
        EXPECT_TRUE(Child<TMoxButton>(*dialog, "BPrerusit")->isVisible());
        Send(*dialog);
        QTest::keyClick(Child<TMoxButton>(*dialog, "BOdeslat"), Qt::Key_O, Qt::AltModifier);
        QTest::keyClick(dialog.get(), Qt::Key_Escape);
        dialog->close();
        dialog->reject();
        EXPECT_TRUE(dialog->isVisible());
    };
    Send(*dialog);
    EXPECT_TRUE(tried);
    EXPECT_EQ(peer.Connections(), 1);
    EXPECT_EQ(peer.Received().count("DATA"), 1);
    EXPECT_EQ(LogRows().size(), 1u);
    EXPECT_TRUE(dialog->isVisible());
    // Unlocked at the end; "Zavřít" closes again.
    EXPECT_FALSE(Child<TMoxButton>(*dialog, "BPrerusit")->isVisible());
    EXPECT_TRUE(Child<TMoxButton>(*dialog, "BOdeslat")->isEnabled());
    Child<TMoxButton>(*dialog, "BZavrit")->click();
    EXPECT_FALSE(dialog->isVisible());
}

TEST_F(CustomerMail, SendingToEverybodyIsInterruptedAtOnceEvenInTheMiddleOfAMessage) {
    TScriptedSmtpPeer peer;
    peer.greetingPauseMs = 5'000;
    UseServer(QStringLiteral("127.0.0.1"), peer.Port());
    AddCustomer(QStringLiteral("Eva"), QStringLiteral("Malá"), QStringLiteral("eva@example.cz"), true);
    AddCustomer(QStringLiteral("Iva"), QStringLiteral("Nová"), QStringLiteral("iva@example.cz"), true);
    AddCustomer(QStringLiteral("Jan"), QStringLiteral("Malý"), QStringLiteral("jan@example.cz"), true);
    auto dialog = Open(QStringLiteral(" "), 0);
    Write(*dialog, QStringLiteral("Novinky"), QStringLiteral("Nové filmy."));
    QString during;
    // Pressed while the first message is on its way and the server is slow to greet.
    peer.connected = [&] {
        during = Progress(*dialog);
        QTimer::singleShot(100,
                           [&] { QTest::keyClick(Child<TMoxButton>(*dialog, "BPrerusit"), Qt::Key_Space); });
    };
    QElapsedTimer clock;
    clock.start();
    Send(*dialog);
    EXPECT_LT(clock.elapsed(), 3'000) << "no wait for the server";
    EXPECT_EQ(during, QStringLiteral("Odesílám zprávu 1 z 3..."));
    EXPECT_EQ(Progress(*dialog), QStringLiteral("Odesílání přerušeno. Odeslané zprávy: 0 z 3."));
    EXPECT_TRUE(hook.messages.empty()) << "an interruption is no failure";
    EXPECT_EQ(peer.Connections(), 1);
    EXPECT_FALSE(peer.Received().contains("DATA"));
    EXPECT_TRUE(LogRows().empty());
    EXPECT_FALSE(dialog->Sending());
}

TEST_F(CustomerMail, AMessageThatWentButCouldNotBeRecordedIsReportedAndTheRunGoesOn) {
    TSmtpSink sink;
    UseServer(QStringLiteral("127.0.0.1"), sink.Port());
    AddCustomer(QStringLiteral("Eva"), QStringLiteral("Malá"), QStringLiteral("eva@example.cz"), true);
    const int iva =
        AddCustomer(QStringLiteral("Iva"), QStringLiteral("Nová"), QStringLiteral("iva@example.cz"), true);
    // The history cannot take Eva's record, as a full disk would refuse it.
    {
        TDatabase owner;
        owner.SetParams(database.DatabaseFile(), QStringLiteral("SYSDBA"), {}, QStringLiteral("UTF8"));
        owner.Open();
        for (const QString& sql :
             {QStringLiteral("create exception E_PLNY_DISK 'disk je plný'"),
              QStringLiteral("grant usage on exception E_PLNY_DISK to public"),
              QStringLiteral("create trigger ZAK_ZPRAVY_PLNY for ZAK_ZPRAVY before insert as begin if "
                             "(new.EMAIL_ADR = 'eva@example.cz') then exception E_PLNY_DISK; end")}) {
            TTransaction ddl(owner);
            ddl.StartTransaction();
            TQuery(ddl, sql).ExecSQL();
            ddl.Commit();
        }
    }
    auto dialog = Open(QStringLiteral(" "), 0);
    Write(*dialog, QStringLiteral("Novinky"), QStringLiteral("Nové filmy."));
    Send(*dialog);
    EXPECT_EQ(sink.Messages().size(), 2u);
    ASSERT_EQ(hook.messages.size(), 1u) << hook.Texts().back().toStdString();
    EXPECT_TRUE(hook.messages[0].text.startsWith(
        QStringLiteral("Mail na adresu:eva@example.cz byl odeslán, ale do historie zákazníka se ho "
                       "nepodařilo zapsat.\r")))
        << hook.messages[0].text.toStdString();
    EXPECT_TRUE(hook.messages[0].text.contains(QStringLiteral("disk je plný")));
    const auto rows = LogRows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].kodZak, iva);
    EXPECT_EQ(Progress(*dialog), QStringLiteral("Odeslané zprávy: 2 z 2."));
    EXPECT_FALSE(dialog->Sending());
}

TEST_F(CustomerDesk, OdeslatOpensTheMailDialogForTheCustomerShown) {
    EXPECT_TRUE(Button("BOdeslat")->isEnabled());
    bool pouzeEnabled = true;
    hook.Script([&](QDialog& dialog) {
        pouzeEnabled = dialog.findChild<TMoxCheckBox*>(QStringLiteral("ChPouze"))->isEnabled();
        dialog.reject();
    });
    Click("BOdeslat");
    EXPECT_FALSE(pouzeEnabled);

    const int key = AddCustomer(QStringLiteral("Eva"), QStringLiteral("Malá"));
    desk->OpenRecord(key);
    QString pouze;
    hook.Script([&](QDialog& dialog) {
        auto* choice = dialog.findChild<TMoxCheckBox*>(QStringLiteral("ChPouze"));
        pouzeEnabled = choice->isEnabled();
        pouze = choice->text();
        dialog.reject();
    });
    Click("BOdeslat");
    EXPECT_EQ(hook.dialogsOpened,
              (std::vector<QString>{QStringLiteral("TFZakOdeslat"), QStringLiteral("TFZakOdeslat")}));
    EXPECT_TRUE(pouzeEnabled);
    EXPECT_EQ(pouze, QStringLiteral("&Pouze: Eva Malá"));
}

TEST_F(CustomerDesk, TheRegistersCustomerGetsAMailThroughARealServer) {
    TSmtpSink sink;
    database.Exec(QStringLiteral("update SPEC_APP set MAIL_HOST = 'localhost', MAIL_PORT = '%1', "
                                 "MAIL_ODESLAT = 'kino@ukina.cz'")
                      .arg(sink.Port()));
    const int key = AddCustomer(QStringLiteral("Eva"), QStringLiteral("Malá"));
    database.Exec(
        QStringLiteral("update ZAKAZNICI set EMAIL = 'eva@example.cz' where KOD_ZAK = %1").arg(key));
    desk->OpenRecord(key);
    hook.Script([](QDialog& dialog) {
        auto* pouze = dialog.findChild<TMoxCheckBox*>(QStringLiteral("ChPouze"));
        QTest::mouseClick(pouze, Qt::LeftButton, Qt::NoModifier, QPoint(6, pouze->height() / 2));
        dialog.findChild<TMoxEdit*>(QStringLiteral("ESubject"))->setText(QStringLiteral("Rezervace"));
        dialog.findChild<TMoxMemo*>(QStringLiteral("MemoEmail"))
            ->insertPlainText(QStringLiteral("Film je připraven.\n"));
        dialog.findChild<TMoxButton*>(QStringLiteral("BOdeslat"))->click();
        dialog.reject();
    });
    Click("BOdeslat");
    EXPECT_TRUE(hook.messages.empty());
    const auto messages = sink.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].rcptTo, QStringList{QStringLiteral("eva@example.cz")});
    EXPECT_TRUE(messages[0].data.contains("\r\n\r\n" + Win1250::Encode(QStringLiteral("Film je připraven.")) +
                                          "\r\n\r\nVideo"));
    EXPECT_EQ(
        database.Scalar(QStringLiteral("select EMAIL_SUBJ from ZAK_ZPRAVY where KOD_ZAK = %1").arg(key)),
        QVariant(QStringLiteral("Rezervace")));
}
