#pragma once

#include <QString>

#include <optional>

class TDMGlobDB;
class TTransaction;

// The media the lookup dialogs find by the code on their label (or the medium number).

// A medium on the shelf side: any medium not retired, whoever has it now.
struct TMediumToLend {
    int kodTitul = 0;
    int kodNosic = 0;
    QString eanKod;
    QString nazevCesky;
    QString nazevOrig;
    QString typNosice;
    double cenaPujcka = 0;
    int pocetCelkem = 0;
    int pocetPritomno = 0;
};
std::optional<TMediumToLend> FindMediumToLend(TDMGlobDB& db, TTransaction& transaction, const QString& typed);

// A medium out on an open loan, retired or not, with the customer who has it.
struct TMediumOnLoan {
    int kodTitul = 0;
    int kodNosic = 0;
    int kodZak = 0;
    QString eanKod;
    QString nazevCesky;
    QString nazevOrig;
    QString typNosice;
    int pocetCelkem = 0;
    int pocetPritomno = 0;
    bool retired = false;
};
std::optional<TMediumOnLoan> FindMediumOnLoan(TDMGlobDB& db, TTransaction& transaction, const QString& typed);

// The statements behind the two lookups.
QString MediumToLendSql(const QString& typed);
QString MediumOnLoanSql(const QString& typed);

// Whether the text is a medium's full label code: medium codes start with 4 to 7, customer
// cards with 0 to 3.
bool IsMediumLabel(const QString& typed);

// The warning shown when nothing was found, with the text as typed.
QString MediumNotFoundText(const QString& typed);
