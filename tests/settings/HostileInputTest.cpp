#include "HostileInput.h"
#include "GlobFunc.h"
#include "HostileField.h"
#include "MemTable.h"
#include "MoxButton.h"
#include "MoxEdit.h"
#include "MoxGrid.h"
#include "MoxMemo.h"
#include "MoxNumEdit.h"
#include "SettingsDeskFixture.h"

#include <QAbstractSpinBox>
#include <QLineEdit>

namespace {

using P = TFNastaveni;

// Every text field of the settings pages with whatever a clerk manages to paste into it.
class SettingsHostileInput : public SettingsDesk {
protected:
    // What a pasted field holds: a one-line field takes what fits, a note field takes all, its line
    // breaks as the editor keeps them.
    static QString Shown(QWidget* field) {
        if (auto* line = qobject_cast<QLineEdit*>(field))
            return line->text();
        return static_cast<TMoxMemo*>(field)->toPlainText();
    }
    static int Limit(QWidget* field) {
        auto* line = qobject_cast<QLineEdit*>(field);
        return line ? line->maxLength() : 0;
    }
    void Save(P::TPage page, const char* button) { OnPage<TMoxButton>(page, button)->click(); }
    bool Refused() const {
        return std::any_of(hook.messages.begin(), hook.messages.end(),
                           [](const TDialogHook::TMessage& m) { return m.kind != TMsgKind::Information; });
    }
};

struct TColumnField {
    const char* field;
    const char* column;
    bool memo = false;
};

TEST_F(SettingsHostileInput, UsersStoreEveryPastedTextOrSayWhyNot) {
    Open();
    ASSERT_TRUE(desk->ShowPage(P::Uzivatele));
    Click(OnPage(P::Uzivatele, "BNovyUziv"));
    Type(OnPage(P::Uzivatele, "EUzivatel"), QStringLiteral("pokladní"));
    Type(OnPage(P::Uzivatele, "EJmeno"), QStringLiteral("Jana"));
    Type(OnPage(P::Uzivatele, "EPrijmeni"), QStringLiteral("Nová"));
    Save(P::Uzivatele, "BUlozUziv");
    const QString key = Text(QStringLiteral("select KOD_UZIV from UZIVATELE where UZIVATEL = 'POKLADNÍ'"));
    ASSERT_FALSE(key.isEmpty()) << ::Shown(hook);

    const std::vector<TColumnField> fields{{"EUzivatel", "UZIVATEL"}, {"ETitulPred", "TITUL_PRED"},
                                           {"EJmeno", "JMENO"},       {"EPrijmeni", "PRIJMENI"},
                                           {"ETitulZa", "TITUL_ZA"},  {"EEmail", "EMAIL"},
                                           {"ETelefon", "TELEFON"},   {"MPoznamky", "POZNAMKY", true}};
    for (const TColumnField& f : fields) {
        auto* field = OnPage(P::Uzivatele, f.field);
        for (const THostileInput& entry : HostileInputs()) {
            SCOPED_TRACE(std::string(f.field) + ": " + entry.name);
            hook.Clear();
            if (OnPage(P::Uzivatele, "BEditUziv")->isEnabled())
                Click(OnPage(P::Uzivatele, "BEditUziv"));
            PasteOver(field, entry.text);
            const QString shown = Shown(field);
            if (Limit(field) > 0) {
                EXPECT_EQ(shown, entry.text.left(Limit(field)));
            }
            Save(P::Uzivatele, "BUlozUziv");
            const QString stored = Text(QStringLiteral("select %1 from UZIVATELE where KOD_UZIV = %2")
                                            .arg(QString::fromLatin1(f.column), key));

            EXPECT_FALSE(AnyRawDatabaseError(hook)) << ::Shown(hook);
            const bool required = QByteArray("EUzivatel EJmeno EPrijmeni").contains(f.field);
            if (!entry.storable) {
                EXPECT_TRUE(RefusesCodePage(hook)) << ::Shown(hook);
                EXPECT_EQ(Shown(field), shown) << "kept for a correction";
            } else if (required && shown.trimmed().isEmpty()) {
                EXPECT_TRUE(Refused()) << ::Shown(hook);
                EXPECT_EQ(Shown(field), shown);
            } else {
                EXPECT_TRUE(hook.messages.empty()) << ::Shown(hook);
                const QString expected = f.memo ? shown : OneLineStored(shown);
                EXPECT_EQ(stored, QByteArray(f.field) == "EUzivatel" ? UpperCz(expected) : expected);
            }
        }
        // The next field starts from a user that can be stored.
        hook.Clear();
        if (OnPage(P::Uzivatele, "BEditUziv")->isEnabled())
            Click(OnPage(P::Uzivatele, "BEditUziv"));
        PasteOver(field, QStringLiteral("Jan"));
        Save(P::Uzivatele, "BUlozUziv");
        ASSERT_TRUE(hook.messages.empty()) << ::Shown(hook);
    }
}

TEST_F(SettingsHostileInput, TheShopsDataStoreEveryPastedTextOrSayWhyNot) {
    Open();
    ASSERT_TRUE(desk->ShowPage(P::Pobocka));
    const std::vector<TColumnField> fields{{"EDic", "DIC"}, {"ETel", "TEL"},
                                           {"EFax", "FAX"}, {"EEmail", "EMAIL"},
                                           {"EWeb", "WEB"}, {"MTextDoklad", "TEXT_DOKLAD", true}};
    for (const TColumnField& f : fields) {
        auto* field = OnPage(P::Pobocka, f.field);
        for (const THostileInput& entry : HostileInputs()) {
            SCOPED_TRACE(std::string(f.field) + ": " + entry.name);
            hook.Clear();
            PasteOver(field, entry.text);
            const QString shown = Shown(field);
            if (Limit(field) > 0) {
                EXPECT_EQ(shown, entry.text.left(Limit(field)));
            }
            Save(P::Pobocka, "BUlozPob");
            const QString stored =
                Text(QStringLiteral("select %1 from POBOCKA").arg(QString::fromLatin1(f.column)));

            EXPECT_FALSE(AnyRawDatabaseError(hook)) << ::Shown(hook);
            if (!entry.storable) {
                EXPECT_TRUE(RefusesCodePage(hook)) << ::Shown(hook);
                EXPECT_EQ(Shown(field), shown);
            } else if (f.memo && shown.size() > 512) {
                EXPECT_TRUE(Refused()) << "too long for its column";
                EXPECT_EQ(Shown(field), shown);
            } else {
                EXPECT_TRUE(hook.messages.empty()) << ::Shown(hook);
                EXPECT_EQ(stored, f.memo ? shown : OneLineStored(shown));
            }
        }
        PasteOver(field, QStringLiteral("x"));
        Save(P::Pobocka, "BUlozPob");
    }
}

TEST_F(SettingsHostileInput, TheEnvironmentStoresEveryPastedTextOrSaysWhyNot) {
    Open();
    ASSERT_TRUE(desk->ShowPage(P::Prostredi));
    const std::vector<TColumnField> fields{{"EMena", "(select MENA from SPEC_CENA)"},
                                           {"EEmaily", "(select EMAIL from SPEC_APP)"},
                                           {"EOdesilatel", "(select MAIL_ODESLAT from SPEC_APP)"},
                                           {"EHost", "(select MAIL_HOST from SPEC_APP)"},
                                           {"EPort", "(select MAIL_PORT from SPEC_APP)"},
                                           {"ESmsLogin", "(select SMS_LOGIN from SPEC_APP)"},
                                           {"ESmsHeslo", "(select SMS_PSWD from SPEC_APP)"}};
    for (const TColumnField& f : fields) {
        for (const THostileInput& entry : HostileInputs()) {
            SCOPED_TRACE(std::string(f.field) + ": " + entry.name);
            hook.Clear();
            auto* field = OnPage(P::Prostredi, f.field);
            PasteOver(field, entry.text);
            const QString shown = Shown(field);
            EXPECT_EQ(shown, entry.text.left(Limit(field)));
            Save(P::Prostredi, "BUlozProstredi");
            // The page is read again after a save: look the field up anew.
            field = OnPage(P::Prostredi, f.field);

            EXPECT_FALSE(AnyRawDatabaseError(hook)) << ::Shown(hook);
            if (!entry.storable) {
                EXPECT_TRUE(RefusesCodePage(hook)) << ::Shown(hook);
                EXPECT_EQ(Shown(field), shown);
            } else {
                EXPECT_TRUE(hook.messages.empty()) << ::Shown(hook);
                EXPECT_EQ(
                    Text(QStringLiteral("select %1 from RDB$DATABASE").arg(QString::fromLatin1(f.column))),
                    OneLineStored(shown));
            }
        }
        PasteOver(OnPage(P::Prostredi, f.field), QStringLiteral("x"));
        Save(P::Prostredi, "BUlozProstredi");
    }
    for (const char* name : {"EDphA", "EDphB", "EVipDvd", "EVipVhs"}) {
        auto* amount = OnPage<TMoxNumEdit>(P::Prostredi, name);
        const QString before = amount->text();
        for (const THostileInput& entry : HostileInputs()) {
            SCOPED_TRACE(std::string(name) + ": " + entry.name);
            PasteOver(amount, entry.text);
            EXPECT_EQ(amount->text(), before);
        }
    }
}

TEST_F(SettingsHostileInput, TheTitlesCodeListsStoreEveryPastedNameOrSayWhyNot) {
    Open();
    ASSERT_TRUE(desk->ShowPage(P::Prostredi));
    struct TList {
        const char* grid;
        const char* table;
        const char* column;
    };
    for (const TList& list :
         {TList{"GridZanry", "ZANRY", "NAZEV_ZANR"}, TList{"GridFormaty", "FORMATY_ZVUKU", "NAZEV_FORMAT"},
          TList{"GridTitulky", "FILM_TITULKY", "POPIS_TIT"},
          TList{"GridJazyky", "FILM_JAZYKY", "POPIS_JAZ"}}) {
        for (const THostileInput& entry : HostileInputs()) {
            SCOPED_TRACE(std::string(list.grid) + ": " + entry.name);
            hook.Clear();
            const QString count =
                QStringLiteral("select count(*) from %1").arg(QString::fromLatin1(list.table));
            const int before = database.Scalar(count).toInt();
            auto* grid = OnPage<TMoxGrid>(P::Prostredi, list.grid);
            Click(OnPage(P::Prostredi, (std::string(list.grid) + "Pridat").c_str()));
            // The new row opens its name for typing.
            auto* editor = qobject_cast<QLineEdit*>(grid->indexWidget(grid->currentIndex()));
            ASSERT_NE(editor, nullptr);
            PasteOver(editor, entry.text);
            const QString shown = editor->text();
            QTest::keyClick(editor, Qt::Key_Return);
            // The grid takes the name after the key, from its event loop.
            QApplication::processEvents();
            Save(P::Prostredi, "BUlozProstredi");

            EXPECT_FALSE(AnyRawDatabaseError(hook)) << ::Shown(hook);
            if (!entry.storable) {
                EXPECT_TRUE(RefusesCodePage(hook)) << ::Shown(hook);
                EXPECT_EQ(database.Scalar(count).toInt(), before);
                // Dropped, so that the next entry saves alone.
                PageOf<TPageProstredi>(P::Prostredi)->Load();
            } else if (shown.trimmed().isEmpty()) {
                EXPECT_EQ(database.Scalar(count).toInt(), before) << "an empty new row is no entry";
            } else {
                EXPECT_TRUE(hook.messages.empty()) << ::Shown(hook);
                EXPECT_EQ(database
                              .Scalar(QStringLiteral("select count(*) from %1 where %2 = %3")
                                          .arg(QString::fromLatin1(list.table),
                                               QString::fromLatin1(list.column), SqlText(shown)))
                              .toInt(),
                          1);
            }
        }
    }
}

} // namespace

namespace {

// The connection fields go to the configuration file: what is saved there reads back as typed, and
// the other keys of the file stay readable.
TEST_F(SettingsHostileInput, TheConnectionFieldsReadBackFromTheConfigurationFileAsTyped) {
    Open();
    ASSERT_TRUE(desk->ShowPage(P::Databaze));
    using TGetter = QString (*)(const TDbConfig&);
    const std::vector<std::pair<const char*, TGetter>> fields{
        {"EServer", [](const TDbConfig& c) { return c.Server; }},
        {"ESoubor", [](const TDbConfig& c) { return c.FileName; }},
        {"EGbak", [](const TDbConfig& c) { return c.GBAKFile; }},
        {"EGsec", [](const TDbConfig& c) { return c.GSECFile; }},
        {"EUzivatel", [](const TDbConfig& c) { return c.UserName; }},
        {"EHeslo", [](const TDbConfig& c) { return c.Password; }},
        {"EZaloha", [](const TDbConfig& c) { return c.BackupDirectory; }}};
    for (const auto& [name, stored] : fields) {
        auto* field = OnPage<TMoxEdit>(P::Databaze, name);
        const QString original = field->text();
        for (const THostileInput& entry : HostileInputs()) {
            SCOPED_TRACE(std::string(name) + ": " + entry.name);
            hook.Clear();
            const TDbConfig before = TDMGlobDB(database.ExecutablePath()).Config;
            PasteOver(field, entry.text);
            const QString shown = field->text();
            Save(P::Databaze, "BUlozDatabaze");

            const TDbConfig after = TDMGlobDB(database.ExecutablePath()).Config;
            EXPECT_FALSE(AnyRawDatabaseError(hook)) << ::Shown(hook);
            if (OnPage(P::Databaze, "BUlozDatabaze")->isEnabled()) {
                EXPECT_TRUE(Refused()) << "a value the file cannot hold is refused with a message";
                EXPECT_EQ(field->text(), shown) << "and kept";
                EXPECT_EQ(stored(after), stored(before));
            } else {
                EXPECT_FALSE(Refused()) << ::Shown(hook);
                // Names and paths are stored without blanks at either end; the password as typed.
                EXPECT_EQ(stored(after), QByteArray(name) == "EHeslo" ? shown : shown.trimmed());
            }
            EXPECT_EQ(after.DailyBackup, before.DailyBackup);
            if (QByteArray(name) != "ESoubor") {
                EXPECT_EQ(after.FileName, before.FileName);
            }
        }
        PasteOver(field, original);
        Save(P::Databaze, "BUlozDatabaze");
    }
}

} // namespace

namespace {

TEST_F(SettingsHostileInput, TheDiscountCellsTakeNumbersOnly) {
    Open();
    ASSERT_TRUE(desk->ShowPage(P::Pujcky));
    auto* grid = OnPage<TMoxGrid>(P::Pujcky, "GridSlevy");
    auto* table = static_cast<TMemTable*>(grid->model());
    Click(OnPage(P::Pujcky, "nbInsert"));
    const int row = table->currentRow();
    TypeInCell(grid, Qt::Key_F2, QStringLiteral("3"));
    QTest::keyClick(grid, Qt::Key_Right);
    TypeInCell(grid, Qt::Key_F2, QStringLiteral("10,5"));
    for (int column : {0, 1}) {
        for (const THostileInput& entry : HostileInputs()) {
            SCOPED_TRACE(std::to_string(column) + ": " + entry.name);
            hook.Clear();
            const QModelIndex cell = table->index(row, column);
            grid->setCurrentIndex(cell);
            static_cast<QAbstractItemView*>(grid)->edit(cell);
            QWidget* editor = grid->indexWidget(cell);
            ASSERT_NE(editor, nullptr);
            auto* line = editor->findChild<QLineEdit*>();
            PasteOver(line ? static_cast<QWidget*>(line) : editor, entry.text);
            QTest::keyClick(editor, Qt::Key_Return);
            QApplication::processEvents();
            Save(P::Pujcky, "BUlozPujcky");
            EXPECT_FALSE(AnyRawDatabaseError(hook)) << ::Shown(hook);
            EXPECT_EQ(Text(QStringLiteral("select PUJCENO || '/' || SLEVA from SPEC_SLEVY")),
                      QStringLiteral("3/10.50"));
        }
    }
}

} // namespace
