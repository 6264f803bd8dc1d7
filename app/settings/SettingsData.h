#pragma once

#include "MailSettings.h"
#include "PriceSettings.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>

#include <array>
#include <optional>

class TDMGlobDB;
class TTransaction;
class TPobocka;
struct TDbConfig;

// What the settings pages read and write, without widgets. Every save runs in one transaction
// of its own, writes only the values that differ from what the page loaded, and copies them into
// the shared settings records only once the transaction has committed: a failed save (a row
// locked by another counter) leaves the database and the records as they were.

// "Půjčky": the discount grid and the open weekdays (Monday … Sunday).
struct TDiscountRow {
    int Pujceno = 0;
    double Sleva = 0;
    bool operator==(const TDiscountRow&) const = default;
};
QList<TDiscountRow> LoadDiscounts(TDMGlobDB& db, TTransaction& transaction);
// The borrowing block: on, and the days past the due date a medium may be out before it applies.
struct TBlockSetting {
    bool On = false;
    int Days = 14;
};
void SavePrices(TDMGlobDB& db, TSpecCena& specCena, const QList<TDiscountRow>& discounts,
                const std::array<bool, 7>& openDays,
                const std::optional<TBlockSetting>& block = std::nullopt);

// "Prostředí": one row of a code list; a row without a key is new.
struct TCodeRow {
    QVariant Key;
    QString Name;
    QString Loaded; // the name as read, to write only what the clerk changed
};
enum class TCodeList { Genres, SoundFormats, Subtitles, Languages };
inline constexpr std::array<TCodeList, 4> kCodeLists{TCodeList::Genres, TCodeList::SoundFormats,
                                                     TCodeList::Subtitles, TCodeList::Languages};
QList<TCodeRow> LoadCodeList(TDMGlobDB& db, TTransaction& transaction, TCodeList list);

struct TEnvironment {
    TSpecCena::Values Prices; // the rates, currency, payer flag, rental class and VIP prices
    TSpecApp::Values App;
    std::array<QList<TCodeRow>, 4> Lists;
};
// The reminder's subject is a mail subject; its text leaves room for the list of media and the
// signature under it.
inline constexpr int kReminderSubjectLimit = 200;
inline constexpr int kReminderTextLimit = 2048;
// A text for the clerk when the page cannot be saved as it stands; nothing when it can.
std::optional<QString> CheckEnvironment(const TEnvironment& environment);
// Saves against the values the page loaded (`loaded`); new code-list rows are inserted.
void SaveEnvironment(TDMGlobDB& db, TSpecCena& specCena, TSpecApp& specApp, const TEnvironment& loaded,
                     const TEnvironment& environment);

// "Pobočka": the shop's identity, and the logo as the bytes of a BMP file (empty: no logo).
struct TBranch {
    QString Jmeno, AdrUlice, AdrObec, AdrPsc, Ic, Dic, Tel, Fax, Email, Web, TextDoklad;
    QByteArray Logo;
    bool operator==(const TBranch&) const = default;
};
// Nothing when the shop's row is missing.
std::optional<TBranch> LoadBranch(TDMGlobDB& db, TTransaction& transaction);
// The receipt text is a note of its own length; the one-line fields hold no more than their columns.
constexpr int kTextDokladLength = 512;
std::optional<QString> CheckBranch(const TBranch& branch);
void SaveBranch(TDMGlobDB& db, TPobocka& pobocka, const TBranch& loaded, const TBranch& branch);

// "Databáze": writes the [Database] section of "<executable>.ini" and takes the values into the
// running data module, except the server and the file, which the next start uses. True when
// those two differ from the ones in use (the clerk is told about the restart). A file that cannot
// be written fails with a message and changes nothing in use.
bool SaveDatabaseSettings(TDMGlobDB& db, const TDbConfig& config);
