#pragma once

#include <QChar>
#include <QDateTime>
#include <QString>

#include <vector>

// What the titles desk reads and writes, as values and statements: no widgets here, so the
// statements, the counts and the order of the checks are the same for the desk and its tests.

// The columns of one TITULY row that the desk edits (pictures aside).
struct TTitleRecord {
    int kodTitul = -1; // -1 while a new title is being entered
    QString nazevCesky;
    QString nazevOrig;
    QString eanKod;
    QChar typNosice; // 'D', 'V', or null while not chosen
    int zanr = -1;   // KOD_ZANR, -1 for none
    int pocetCelkem = 0;
    int pocetPritomno = 0;
    double cenaPujcka = 0;
    QString poznamky;
    QString rezie;
    QString scenar;
    QString hraji;
    int rok = 2000;
    int delka = 0;
    int pristup = 0;
    QString zeme;
    QString producent;
    QString obsah;
    int zvuk = -1;   // KOD_FORMAT, -1 for none
    QString titulky; // position strings of the check lists
    QString jazyky;
};

// One row of a title's media list.
struct TMediumRow {
    int kodNosic = -1; // -1 until the save stores the medium
    QString eanKod;
    double cenaNakup = 0;
    QDateTime dPrijmu;
    QString uzivPrijal;
    QDateTime dZruseni;
    QString uzivZrusil;
    QString duvod;
    bool saved = false;
    // As the row was loaded: a medium retired before this editing keeps its recorded
    // retirement, and its reason is written only when the clerk changed it.
    bool retiredAtLoad = false;
    QString duvodAtLoad;
    double cenaAtLoad = 0;
    // Whether the medium was out on loan when the clerk retired it: its retirement then
    // lowered the total count only.
    bool onLoanAtRetirement = false;
};

// The code lists of the desk.
extern const QString kZanrySql;
extern const QString kFormatyZvukuSql;
extern const QString kFilmTitulkySql;
extern const QString kFilmJazykySql;

// The code search: a text of more than 6 characters (untrimmed) is a full title EAN or
// medium code, a shorter one is the medium number. Empty for an empty text.
QString CodeSearchSql(const QString& codeText);
// The name search over both names, folded as the database folds them.
QString NameSearchSql(const QString& nameText);

QString LoadTitleSql(int kodTitul);
QString LoadMediaSql(int kodTitul);
QString OpenLoanSql(int kodNosic);
QString PicturesSql(int kodTitul);
QString PictureSql(int kodObr);
QString TitleCountsSql(int kodTitul);

// The save's statements. The stored title's counts change by what this editing changed, so
// loans and returns recorded meanwhile by the counter are kept.
QString InsertTitleSql(const TTitleRecord& title, int userKey);
// Writes the columns that differ from those loaded.
QString UpdateTitleSql(const TTitleRecord& loaded, const TTitleRecord& title, int userKey, int deltaCelkem,
                       int deltaPritomno);
QString InsertMediumSql(const TMediumRow& row, int kodNosic, int kodTitul, const QString& code, int userKey);
// Retires a medium retired in this editing, unless another counter retired it meanwhile:
// then the statement changes no row and the earlier retirement stands. Empty when the row
// retires nothing.
QString RetireMediumSql(const TMediumRow& row, int userKey);
// What else the clerk changed of a stored medium; empty when nothing.
QString UpdateMediumSql(const TMediumRow& row);
QString InsertPictureSql(int kodTitul);
QString DeletePictureSql(int kodObr);

// The sum of the purchase prices of the media not retired.
double PurchaseTotal(const std::vector<TMediumRow>& media);

// What the label shows: the Czech name and, on a second line, the original name in brackets.
QString LabelText(const QString& nazevCesky, const QString& nazevOrig);
// The medium number in large type: the medium key part of the code.
QString MediumNumber(const QString& mediumCode);

// The checks before a save, in their order.
enum class TCheckFocus { Name, Ean, Price, TypeDvd, AddButton, Grid };
enum class TCheckKind {
    Refuse,         // a warning with OK; the save stops
    WarnYesNo,      // a warning with Ano/Ne; anything but Ano stops the save
    RetireQuestion, // a question with Ano/Ne; Ano retires the media with a reason, else stop
};
struct TCheckStep {
    TCheckKind kind;
    QString text;
    TCheckFocus focus;
};
struct TValidationInput {
    QString nazevCesky;
    QString eanKod;
    double cenaPujcka = 0;
    bool dvd = false;
    bool vhs = false;
    bool mediaOpen = false;
    std::vector<TMediumRow> media;
};
// Every check that applies, in the order the desk puts them; the desk stops at the first
// refusal or at a question not answered Ano.
std::vector<TCheckStep> ValidationSteps(const TValidationInput& input);
// A reason typed for a medium that has no retirement date.
bool HasReasonWithoutRetirement(const TMediumRow& row);

// The title history.
QString HistoryMediaSql(int kodTitul);
QString TitleLoansSql(int kodTitul);

// The desk's texts.
extern const QString kUnsavedQuestion;
extern const QString kTitleNotFound;
QString CodeNotFoundText(const QString& codeText);
