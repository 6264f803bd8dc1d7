#pragma once

#include "Pictures.h"
#include "TitulyData.h"

#include <QChar>
#include <QString>

#include <vector>

class TDMGlobDB;
class TTransaction;

// One row of a title's further pictures: 'S' stored, 'N' new, 'D' stored and to be deleted.
struct TPictureRow {
    int kodObr = -1;
    QString soubor;
    QChar stav = u'S';
};

// Everything one "Uložit změny" writes.
struct TTitleSave {
    TTitleRecord title;
    TTitleRecord loadedTitle; // as shown before the clerk's changes: only what differs is written
    // The counts as loaded; the stored title's counts change by the difference only.
    int loadedCelkem = 0;
    int loadedPritomno = 0;
    std::vector<TMediumRow> media;
    TPictureField front;
    TPictureField back;
    bool picturesChanged = false;
    std::vector<TPictureRow> pictures;
    int userKey = 0;
};

// What the database assigned. The desk takes it over only after the commit, so a failed
// save leaves its keys and codes of unsaved rows at -1 and empty.
struct TTitleSaveResult {
    int kodTitul = -1;
    std::vector<int> mediaKeys; // per media row, in list order
    std::vector<QString> mediaCodes;
    int pocetCelkem = 0; // as stored after the save, the counter's changes included
    int pocetPritomno = 0;
};

// Runs the save's statements in their fixed order on a started transaction; the caller
// commits. Throws ECinemonError on a database or file failure.
TTitleSaveResult WriteTitle(TDMGlobDB& db, TTransaction& transaction, const TTitleSave& save);
