#pragma once

#include "Pricing.h"

#include <QDate>
#include <QString>

#include <optional>
#include <vector>

class TDMGlobDB;
class TSpecCena;
class TTransaction;

// Finding a title to reserve and the days on which one of its media is still free.

// A title as the reservation search finds it, through one of its media that is not retired.
struct TReservableTitle {
    int kodTitul = 0;
    int kodNosic = 0;
    QString nazevCesky;
    QString eanKod; // the title's own code
    QString nazevOrig;
    QString typNosice;
    int pocetCelkem = 0;
    int pocetPritomno = 0;
};

// By the title's own code or a medium's label code (or the medium number).
QString TitleByCodeSql(const QString& typed);
std::optional<TReservableTitle> FindTitleByCode(TDMGlobDB& db, TTransaction& transaction,
                                                const QString& typed);
QString TitleNotFoundText(const QString& typed);

// By a part of the Czech or original name: one row per medium, so a title with three media is
// listed three times.
QString TitlesByNameSql(const QString& nameText);
std::vector<TReservableTitle> FindTitlesByName(TDMGlobDB& db, TTransaction& transaction,
                                               const QString& nameText);
QString NameFilterText(const QString& nameText);
QString NameNotFoundText();
// "row / count" of a name search, rows counted from 1.
QString NamePositionText(int row, int count);

// The first medium of a title that is not retired; -1 when there is none.
QString MediaOfTitleSql(int kodTitul);
int FirstMediumOfTitle(TDMGlobDB& db, TTransaction& transaction, int kodTitul);

// The window of days shown for choosing the first day of a reservation.
constexpr int kWindowDays = 14;

// A stretch of days [first, end) that occupies one medium on each of its days.
struct TOccupied {
    QDate first;
    QDate end;
};

struct TFreeDay {
    QDate day;
    int pocet = 0; // media still free on that day
};

// Other customers' reservations and every open loan that reach into the window from start.
QString WindowReservationsSql(int kodTitul, int kodZak, const QDate& start);
QString WindowLoansSql(int kodTitul, const QDate& start);

// The free media of each day of the window: the total less every stretch that covers the day.
std::vector<TFreeDay> CountFreeDays(const QDate& start, int pocetCelkem,
                                    const std::vector<TOccupied>& occupied);
// The same with the stretches read from the database; the customer's own reservations do not count.
std::vector<TFreeDay> FreeDays(TDMGlobDB& db, TTransaction& transaction, int kodTitul, int kodZak,
                               int pocetCelkem, const QDate& start);

// A day can be the first day of a reservation when a medium is free and it has not passed.
bool Choosable(const TFreeDay& day, const QDate& today);
// The first day of the window that can be chosen; -1 when none can.
int FirstChoosable(const std::vector<TFreeDay>& days, const QDate& today);

// The length offered for a reservation from its first day: the rule of a loan's default length,
// counted from that day instead of today.
int DefaultReservationLength(TSpecCena& prices, const QDate& first, int pocetCelkem,
                             const TReservationsStarting& reservedByOthers);

// How many other customers' reservations cover the day (begin on or before it and end after it).
QString ReservationsCoveringSql(int kodTitul, int kodZak, const QDate& day);
int ReservationsCoveringByOthers(TDMGlobDB& db, TTransaction& transaction, int kodTitul, int kodZak,
                                 const QDate& day);
