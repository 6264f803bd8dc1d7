#include "TitlesFixture.h"

#include "HostileField.h"
#include "HostileInput.h"
#include "MoxMemo.h"
#include "NosicStitekForm.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPrinter>

namespace {

class TitleHostileInput : public TitlesDesk {
protected:
    // Pastes into the first medium's cell through the cell's own editor and ends it with Enter,
    // as the clerk does; false when no editor opened.
    bool PasteIntoMediumCell(const QString& column, const QString& text) {
        auto* grid = Child<TMoxGrid>("GridNosice");
        grid->setFocus();
        grid->setCurrentIndex(Media().index(0, Media().columnIndex(column)));
        // The editor of the previous round is gone only once its deferred deletion ran.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QTest::keyClick(grid, Qt::Key_F2);
        const auto editors = grid->viewport()->findChildren<QLineEdit*>();
        if (editors.size() != 1)
            return false;
        PasteOver(editors.front(), text);
        QTest::keyClick(editors.front(), Qt::Key_Return);
        QCoreApplication::processEvents();
        return true;
    }
};

const QString kNotStorable = QStringLiteral("který databáze neumí uložit");

bool Mentions(const std::vector<QString>& texts, const QString& part) {
    return std::any_of(texts.begin(), texts.end(), [&](const QString& text) { return text.contains(part); });
}

struct TTitleField {
    const char* edit;
    const char* column;
};

const TTitleField kTitleFields[] = {
    {"ENazevCesky", "NAZEV_CESKY"}, {"ENazevOrig", "NAZEV_ORIG"}, {"EEANKod", "EAN_KOD"},
    {"MPoznamky", "POZNAMKY"},      {"EFilmRezie", "FILM_REZIE"}, {"EFilmScenar", "FILM_SCENAR"},
    {"EFilmHraji", "FILM_HRAJI"},   {"EFilmZeme", "FILM_ZEME"},   {"EFilmProducent", "FILM_PRODUCENT"},
    {"MFilmObsah", "FILM_OBSAH"},
};

// The fields the save requires refuse a text of blanks only with their own warning.
bool Required(const char* edit) {
    return std::string_view(edit) == "ENazevCesky" || std::string_view(edit) == "EEANKod";
}

TEST_F(TitleHostileInput, EveryFieldOfTheTitleStoresWhatItHoldsOrRefusesItAndKeepsIt) {
    const int title = StoreTitle(QStringLiteral("Pelíšky"), 1);
    for (const THostileInput& input : HostileInputs()) {
        SCOPED_TRACE(input.name);
        for (const TTitleField& item : kTitleFields) {
            SCOPED_TRACE(item.edit);
            desk->OpenRecord(title);
            Click("BZmenitTitul");
            QWidget* field = Child<QWidget>(item.edit);
            PasteOver(field, input.text);
            const QString held = FieldText(field);
            hook.Clear();
            Click("BUlozit");
            EXPECT_FALSE(AnyRawDatabaseError(hook)) << Shown(hook);
            const QString stored = database
                                       .Scalar(QStringLiteral("select %1 from TITULY where KOD_TITUL = %2")
                                                   .arg(QString::fromLatin1(item.column))
                                                   .arg(title))
                                       .toString();
            const bool memo = qobject_cast<QPlainTextEdit*>(field) != nullptr;
            if (input.storable && !(Required(item.edit) && held.trimmed().isEmpty())) {
                EXPECT_EQ(hook.Texts(), std::vector<QString>{});
                EXPECT_EQ(stored, memo ? held : OneLineStored(held));
            } else {
                EXPECT_EQ(hook.messages.size(), 1U);
                EXPECT_TRUE(!input.storable ? Mentions(hook.Texts(), kNotStorable) : true) << input.name;
                EXPECT_EQ(FieldText(field), held);
                EXPECT_TRUE(Enabled("BUlozit"));
            }
        }
        // The label carries the names as stored; whatever they hold, it is drawn and printed.
        desk->OpenRecord(title);
        hook.Clear();
        hook.Script([](QDialog& dialog) {
            auto* label = dynamic_cast<TNosicStitekForm*>(&dialog);
            ASSERT_NE(label, nullptr);
            dialog.grab();
            QTemporaryDir dir;
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(dir.filePath(QStringLiteral("label.pdf")));
            label->PrintTo(printer);
            dialog.reject();
        });
        Click("BStitek");
        EXPECT_EQ(hook.Texts(), std::vector<QString>{});
        EXPECT_EQ(hook.dialogsOpened.size(), 1U);
    }
}

TEST_F(TitleHostileInput, TheRetirementReasonOfAMediumStoresWhatItHoldsOrIsRefused) {
    for (const THostileInput& input : HostileInputs()) {
        SCOPED_TRACE(input.name);
        const int title = StoreTitle(QStringLiteral("Kytice"), 1);
        desk->OpenRecord(title);
        Click("BZmenitTitul");
        ASSERT_TRUE(PasteIntoMediumCell(QStringLiteral("DUVOD_ZRUSENI"), input.text))
            << "no cell editor opened";
        const QString held = Cell(0, "DUVOD_ZRUSENI").toString();
        hook.Clear();
        hook.Answer({TMsgResult::Yes});
        Click("BUlozit");
        EXPECT_FALSE(AnyRawDatabaseError(hook)) << Shown(hook);
        const QVariant stored = database.Scalar(
            QStringLiteral("select DUVOD_ZRUSENI from NOSICE where KOD_TITUL = %1").arg(title));
        if (input.storable) {
            EXPECT_FALSE(Enabled("BUlozit"));
            EXPECT_EQ(stored.toString(), OneLineStored(held));
        } else {
            EXPECT_TRUE(Mentions(hook.Texts(), kNotStorable));
            EXPECT_TRUE(stored.isNull());
            EXPECT_EQ(Cell(0, "DUVOD_ZRUSENI").toString(), held);
            EXPECT_TRUE(Enabled("BUlozit"));
        }
    }
}

TEST_F(TitleHostileInput, BothSearchFieldsTakeEveryEntryWithoutADatabaseError) {
    StoreTitle(QStringLiteral("O'Brien a spol."), 1);
    for (const THostileInput& input : HostileInputs()) {
        SCOPED_TRACE(input.name);
        for (const char* search : {"EHledejEAN", "EHledejNazev"}) {
            SCOPED_TRACE(search);
            PasteOver(Child<QLineEdit>(search), input.text);
            hook.Clear();
            QTest::keyClick(Child<QLineEdit>(search), Qt::Key_Return);
            EXPECT_FALSE(AnyRawDatabaseError(hook)) << Shown(hook);
            for (const QString& text : hook.Texts())
                EXPECT_TRUE(text.contains(QStringLiteral("nebyl nalezen")) || text.contains(kNotStorable))
                    << text.toStdString();
            Child<QLineEdit>("EHledejEAN")->clear();
            Child<QLineEdit>("EHledejNazev")->clear();
        }
    }
}

// The search treats the name as text: quotes, wildcards and comments find the title that has
// that very name, whatever else the shop holds.
TEST_F(TitleHostileInput, ANameSearchForAHostileNameFindsTheTitleThatHasIt) {
    StoreTitle(QStringLiteral("O'Brien a spol."), 1);
    StoreTitle(QStringLiteral("100 x _a_ y"), 1);
    for (const THostileInput& input : HostileInputs()) {
        // What the name column cannot hold, or a search field cannot tell from empty.
        if (!input.storable || input.text.trimmed().isEmpty() || input.text.size() > 200 ||
            input.text.contains(QChar(u'\0')))
            continue;
        SCOPED_TRACE(input.name);
        PasteOver(Child<QLineEdit>("EHledejNazev"), input.text);
        const QString name = OneLineStored(Child<QLineEdit>("EHledejNazev")->text());
        StoreTitle(name, 1);
        hook.Clear();
        QTest::keyClick(Child<QLineEdit>("EHledejNazev"), Qt::Key_Return);
        EXPECT_EQ(hook.Texts(), std::vector<QString>{});
        // Among what the search shows, first to last (its wildcards are the shop's own, so a
        // decoy may come too), the title named so.
        QStringList shown{Child<QLineEdit>("ENazevCesky")->text()};
        while (Enabled("BNasledujici")) {
            Click("BNasledujici");
            shown << Child<QLineEdit>("ENazevCesky")->text();
        }
        EXPECT_TRUE(shown.contains(name)) << shown.join(u'|').toStdString();
        Child<QLineEdit>("EHledejNazev")->clear();
    }
}

// Prices, counts and years take numbers only; anything else pasted into them is refused and the
// stored value stays (a year that read as its minimum would be saved as 1900).
TEST_F(TitleHostileInput, TheNumberFieldsRefuseEveryEntryThatIsNoNumberAndKeepTheirValue) {
    const int title = StoreTitle(QStringLiteral("Pelíšky"), 1);
    database.Exec(QStringLiteral("update TITULY set FILM_DELKA = 115, FILM_PRISTUP = 12"));
    const char* numbers[] = {"ECenaPujcka", "EFilmRok", "EFilmDelka", "EFilmPristup"};
    for (const THostileInput& input : HostileInputs()) {
        SCOPED_TRACE(input.name);
        for (const char* name : numbers) {
            SCOPED_TRACE(name);
            desk->OpenRecord(title);
            Click("BZmenitTitul");
            auto* field = Child<TMoxNumEdit>(name);
            const QString shown = field->text();
            PasteOver(field, input.text);
            EXPECT_EQ(field->text(), shown);
            EXPECT_FALSE(Enabled("BUlozit"));
        }
        // The purchase price of a medium is typed in its grid cell.
        ASSERT_TRUE(PasteIntoMediumCell(QStringLiteral("CENA_NAKUP"), input.text)) << "no cell editor opened";
        EXPECT_DOUBLE_EQ(Cell(0, "CENA_NAKUP").toDouble(), 200);
        hook.Clear();
        if (Enabled("BUlozit"))
            Click("BUlozit");
        EXPECT_FALSE(AnyRawDatabaseError(hook)) << Shown(hook);
    }
    EXPECT_EQ(
        Count(QStringLiteral("select count(*) from TITULY where CENA_PUJCKA = 40 and FILM_ROK = 2001 and "
                             "FILM_DELKA = 115 and FILM_PRISTUP = 12")),
        1);
    EXPECT_EQ(Count(QStringLiteral("select count(*) from NOSICE where CENA_NAKUP = 200")), 1);
}

} // namespace
