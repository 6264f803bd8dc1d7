#include "HostileInput.h"
#include "CustomerDeskFixture.h"
#include "HostileField.h"
#include "MoxMemo.h"
#include "MoxNumEdit.h"
#include "SmtpPeers.h"
#include "Win1250.h"
#include "ZakOdeslat.h"
#include "ZakZalPrev.h"
#include "ZakZalVrac.h"

#include <QClipboard>
#include <QGuiApplication>

namespace {

const QString kNotStorable = QStringLiteral("který databáze neumí uložit");

bool Mentions(const std::vector<QString>& texts, const QString& part) {
    return std::any_of(texts.begin(), texts.end(), [&](const QString& text) { return text.contains(part); });
}

struct TCardField {
    const char* edit;
    const char* column;
};

const TCardField kCardFields[] = {
    {"ETitulPred", "TITUL_PRED"}, {"EJmeno", "JMENO"},        {"EPrijmeni", "PRIJMENI"},
    {"ETitulZa", "TITUL_ZA"},     {"EAdrUlice", "ADR_ULICE"}, {"EAdrPSC", "ADR_PSC"},
    {"EAdrObec", "ADR_OBEC"},     {"ECisloOP", "CISLO_OP"},   {"EEmail", "EMAIL"},
    {"ETelefon", "TELEFON"},      {"EMobilSMS", "MOBIL_SMS"}, {"MPoznamky", "POZNAMKY"},
};

TEST_F(CustomerDesk, EveryFieldOfTheCardStoresWhatItHoldsOrRefusesItAndKeepsIt) {
    const int key = AddCustomer(QStringLiteral("Eva"), QStringLiteral("Malá"));
    for (const THostileInput& input : HostileInputs()) {
        SCOPED_TRACE(input.name);
        for (const TCardField& card : kCardFields) {
            SCOPED_TRACE(card.edit);
            desk->OpenRecord(key);
            Click("BZmenit");
            QWidget* field = Child(card.edit);
            PasteOver(field, input.text);
            const QString held = FieldText(field);
            hook.Clear();
            Click("BUlozit");
            EXPECT_FALSE(AnyRawDatabaseError(hook)) << Shown(hook);
            const bool memo = qobject_cast<QPlainTextEdit*>(field) != nullptr;
            if (input.storable) {
                EXPECT_EQ(hook.Texts(), std::vector<QString>{});
                EXPECT_EQ(Column(key, QString::fromLatin1(card.column)).toString(),
                          memo ? held : OneLineStored(held));
            } else {
                EXPECT_TRUE(Mentions(hook.Texts(), kNotStorable));
                EXPECT_EQ(FieldText(field), held);
                EXPECT_TRUE(SaveEnabled());
            }
        }
    }
}

TEST_F(CustomerDesk, BothSearchFieldsTakeEveryEntryWithoutADatabaseError) {
    AddCustomer(QStringLiteral("Seán"), QStringLiteral("O'Brien"));
    for (const THostileInput& input : HostileInputs()) {
        SCOPED_TRACE(input.name);
        for (const char* search : {"EHledejEAN", "EHledejPrijmeni"}) {
            SCOPED_TRACE(search);
            PasteOver(Edit(search), input.text);
            hook.Clear();
            QTest::keyClick(Edit(search), Qt::Key_Return);
            EXPECT_FALSE(AnyRawDatabaseError(hook)) << Shown(hook);
            for (const QString& text : hook.Texts())
                EXPECT_TRUE(text.contains(QStringLiteral("nebyl nalezen")) || text.contains(kNotStorable))
                    << text.toStdString();
            Edit("EHledejEAN")->clear();
            Edit("EHledejPrijmeni")->clear();
        }
    }
}

// The search treats the name as text: quotes, wildcards and comments find the customer who has
// that very name, whoever else the shop has.
TEST_F(CustomerDesk, ASurnameSearchForAHostileNameFindsTheCustomerWhoHasIt) {
    AddCustomer(QStringLiteral("Seán"), QStringLiteral("O'Brien"));
    AddCustomer(QStringLiteral("Jan"), QStringLiteral("100 x _a_ y"));
    for (const THostileInput& input : HostileInputs()) {
        // What the surname column cannot hold, or a search field cannot tell from empty.
        if (!input.storable || input.text.trimmed().isEmpty() || input.text.size() > 40 ||
            input.text.contains(QChar(u'\0')))
            continue;
        SCOPED_TRACE(input.name);
        PasteOver(Edit("EHledejPrijmeni"), input.text);
        const QString name = OneLineStored(FieldText(Edit("EHledejPrijmeni")));
        AddCustomer(QStringLiteral("Hledaný"), name);
        hook.Clear();
        QTest::keyClick(Edit("EHledejPrijmeni"), Qt::Key_Return);
        EXPECT_EQ(hook.Texts(), std::vector<QString>{});
        // Among what the search shows, first to last (its wildcards are the shop's own, so a
        // decoy may come too), the customer named so.
        QStringList shown{Edit("EPrijmeni")->text()};
        while (Button("BNasledujici")->isEnabled()) {
            Click("BNasledujici");
            shown << Edit("EPrijmeni")->text();
        }
        EXPECT_TRUE(shown.contains(name)) << shown.join(u'|').toStdString();
        Edit("EHledejPrijmeni")->clear();
    }
}

TEST_F(CustomerDesk, TheMailSubjectAndTextGoAndAreLoggedAsWrittenOrAreRefused) {
    TSmtpSink sink;
    database.Exec(QStringLiteral("update SPEC_APP set MAIL_HOST = '127.0.0.1', MAIL_PORT = '%1', "
                                 "MAIL_ODESLAT = 'kino@ukina.cz'")
                      .arg(sink.Port()));
    const int key = AddCustomer(QStringLiteral("Eva"), QStringLiteral("Malá"));
    database.Exec(
        QStringLiteral("update ZAKAZNICI set EMAIL = 'eva@example.cz' where KOD_ZAK = %1").arg(key));
    for (const THostileInput& input : HostileInputs()) {
        SCOPED_TRACE(input.name);
        for (const char* part : {"ESubject", "MemoEmail"}) {
            SCOPED_TRACE(part);
            TFZakOdeslat dialog(context);
            dialog.SetZakaznik(QStringLiteral("Eva Malá"), key);
            dialog.show();
            auto* only = dialog.findChild<TMoxCheckBox*>(QStringLiteral("ChPouze"));
            QTest::mouseClick(only, Qt::LeftButton, Qt::NoModifier, QPoint(6, only->height() / 2));
            auto* subject = dialog.findChild<TMoxEdit*>(QStringLiteral("ESubject"));
            auto* memo = dialog.findChild<TMoxMemo*>(QStringLiteral("MemoEmail"));
            ASSERT_TRUE(subject && memo);
            subject->setText(QStringLiteral("Novinky"));
            PasteOver(part == std::string_view("ESubject") ? static_cast<QWidget*>(subject) : memo,
                      input.text);
            const QString heldSubject = subject->text();
            const QString heldText = memo->toPlainText();
            hook.Clear();
            dialog.findChild<TMoxButton*>(QStringLiteral("BOdeslat"))->click();
            EXPECT_FALSE(AnyRawDatabaseError(hook)) << Shown(hook);
            const int rows = database.Scalar(QStringLiteral("select count(*) from ZAK_ZPRAVY")).toInt();
            // A message beyond what the mail carries is refused as a whole, before anything goes.
            if (!input.storable || heldText.size() > 4096) {
                EXPECT_EQ(rows, 0);
                EXPECT_EQ(hook.messages.size(), 1U);
                EXPECT_EQ(subject->text(), heldSubject);
                EXPECT_EQ(memo->toPlainText(), heldText);
                continue;
            }
            ASSERT_EQ(rows, 1) << (hook.messages.empty() ? "" : hook.Texts().front().toStdString());
            EXPECT_EQ(database.Scalar(QStringLiteral("select EMAIL_SUBJ from ZAK_ZPRAVY")).toString(),
                      OneLineStored(heldSubject));
            EXPECT_EQ(database.Scalar(QStringLiteral("select EMAIL_MESSAGE from ZAK_ZPRAVY")).toString(),
                      heldText);
            database.Exec(QStringLiteral("delete from ZAK_ZPRAVY"));
            // A line break in the subject must not start a header of the clerk's making.
            const auto sent = sink.Messages();
            ASSERT_FALSE(sent.empty());
            const QByteArray data = sent.back().data;
            const qsizetype subjectAt = data.indexOf("\r\nSubject: ") + 2;
            EXPECT_EQ(data.mid(subjectAt, data.indexOf("\r\n", subjectAt) - subjectAt),
                      "Subject: " + Win1250::Encode(OneLineStored(heldSubject)));
            EXPECT_NE(data.indexOf("\r\nSender: ", subjectAt), -1) << "the headers after the subject stay";
        }
    }
}

// Amounts take numbers only; anything else pasted into them is refused and the amount stays.
TEST_F(CustomerDesk, TheVipPricesRefuseEveryEntryThatIsNoNumberAndKeepTheirAmount) {
    const int key =
        AddCustomer(QStringLiteral("Eva"), QStringLiteral("Malá"), QStringLiteral("'A', 50, 40, 0"));
    for (const THostileInput& input : HostileInputs()) {
        SCOPED_TRACE(input.name);
        for (const char* price : {"ECenaVIPDVD", "ECenaVIPVHS"}) {
            SCOPED_TRACE(price);
            desk->OpenRecord(key);
            Click("BZmenit");
            auto* field = Child<TMoxNumEdit>(price);
            const QString shown = field->text();
            PasteOver(field, input.text);
            EXPECT_EQ(field->text(), shown);
            EXPECT_FALSE(SaveEnabled());
        }
    }
    EXPECT_DOUBLE_EQ(Column(key, QStringLiteral("CENA_VIP_DVD")).toDouble(), 50);
    EXPECT_DOUBLE_EQ(Column(key, QStringLiteral("CENA_VIP_VHS")).toDouble(), 40);
}

// Taking and returning a deposit: the note is stored as the field holds it, or refused with the
// dialog kept open and nothing written; the amount takes no text that is no number.
TEST_F(CustomerDesk, TheDepositNotesAreStoredAsHeldAndTheAmountsTakeOnlyNumbers) {
    const int key = AddCustomer(QStringLiteral("Eva"), QStringLiteral("Malá"));
    for (const THostileInput& input : HostileInputs()) {
        SCOPED_TRACE(input.name);
        database.Exec(QStringLiteral("delete from ZALOHY"));
        for (const bool taking : {true, false}) {
            SCOPED_TRACE(taking ? "taking" : "returning");
            std::unique_ptr<TDepositEntry> dialog;
            if (taking) {
                auto prev = std::make_unique<TFZakZalPrev>(context);
                prev->SetZakaznik(key);
                dialog = std::move(prev);
            } else {
                auto vrac = std::make_unique<TFZakZalVrac>(context);
                vrac->SetZakaznik(key, 100);
                dialog = std::move(vrac);
            }
            dialog->show();
            auto* amount = dialog->findChild<TMoxNumEdit*>(QStringLiteral("ECastka"));
            PasteOver(amount, QStringLiteral("100"));
            PasteOver(amount, input.text);
            EXPECT_EQ(amount->text(), QStringLiteral("100"));
            auto* note = dialog->findChild<TMoxEdit*>(QStringLiteral("EPoznamka"));
            PasteOver(note, input.text);
            const QString held = note->text();
            hook.Clear();
            hook.Script([](QDialog& payment) { payment.reject(); });
            dialog->findChild<TMoxButton*>(QStringLiteral("BUlozit"))->click();
            EXPECT_FALSE(AnyRawDatabaseError(hook)) << Shown(hook);
            const QString column = taking ? QStringLiteral("POZN_PREV") : QStringLiteral("POZN_VRAC");
            const QString where =
                taking ? QStringLiteral("D_VRACENI is null") : QStringLiteral("D_VRACENI is not null");
            const QVariant stored =
                database.Scalar(QStringLiteral("select %1 from ZALOHY where %2").arg(column, where));
            if (input.storable) {
                EXPECT_EQ(hook.Texts(), std::vector<QString>{});
                EXPECT_EQ(stored.toString(), OneLineStored(held));
                continue;
            }
            EXPECT_TRUE(Mentions(hook.Texts(), kNotStorable));
            EXPECT_FALSE(dialog->Saved());
            EXPECT_EQ(note->text(), held);
            hook.Clear();
            hook.Answer({TMsgResult::No});
            dialog->reject();
            // The refused note leaves the deposit as it was; the next round starts afresh.
            database.Exec(QStringLiteral("delete from ZALOHY"));
            database.Exec(QStringLiteral("insert into ZALOHY (KOD_ZAK, D_PREVZETI, CASTKA) values (%1, "
                                         "CURRENT_TIMESTAMP, 100)")
                              .arg(key));
        }
    }
}

} // namespace
