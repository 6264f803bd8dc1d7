#pragma once

#include <QChar>
#include <QHash>
#include <QString>

#include <vector>

class TDMGlobDB;
class TTransaction;

// Which media a stocktaking counts: those in the shop ("Volné") and those out on loan
// ("Půjčené").
struct TStockChoices {
    bool volne = true;
    bool pujcene = false;
};

// The statements of a stocktaking, as the list runs them.
QString StockMediaSql(const TStockChoices& choices);
QString MediaOnLoanSql();
// The media of this type ('D' or 'V') in the shop now: not retired and not on loan.
QString MediaInShopSql(QChar typNosice);
// The medium of a scanned label code or a typed medium number.
QString ScannedMediumSql(const QString& typed);

// One medium of the stocktaking list.
struct TStockRow {
    int kodTitul = 0;
    int kodNosic = 0;
    QString cnKod; // the medium's label code
    QChar typNosice;
    QString nazevCesky;
    QString nazevOrig;
    QString eanKod; // the title's EAN
    // 'A' in the shop and not found yet, 'P' on loan, 'N' found by a scan.
    QChar stav;
};

// What a scan did.
enum class TScanOutcome {
    NotInRegister, // no medium carries the code
    NotInList,     // a medium of the register, but not one this stocktaking counts
    OnLoan,
    AlreadyFound,
    Found // marked as found, or taken off the list when found media are deleted
};

struct TScanResult {
    TScanOutcome outcome = TScanOutcome::NotInRegister;
    // The medium's row in the list as it was before the scan; -1 when it is not listed.
    int row = -1;
    // The scan took the row off the list.
    bool removed = false;
    // This scan was the first that found a medium in the register, and locked the choices.
    bool locked = false;
};

// The message the clerk sees for a scan that changed nothing; empty for a found medium.
QString ScanMessage(const TScanResult& result, const QString& typed);

// A stocktaking: the media the shop should have, loaded once, and the scans of the labels found
// on the shelves. Nothing is written to the database; the caller ends the transactions it gives. A scan finds
// its row through an index of the list, so it costs the same for a hundred media as for forty thousand.
class TStockList final {
public:
    // Reads the list and the counts of media in the shop by type; the found counters start again
    // from 0 and the choices are open until the first scan. A failed load keeps the list as it was.
    void Load(TDMGlobDB& db, TTransaction& tr, const TStockChoices& choices);
    // Drops the list ("Vymazat"); the found counters keep their values until the next load.
    void Close();
    bool IsOpen() const { return open_; }
    // A scan has found a medium of the register since the load: the choices stay as loaded.
    bool Locked() const { return locked_; }

    // Looks the typed or scanned code up in the register and then in the list. A medium found
    // in the shop is marked 'N', or taken off the list when deleteFound is set.
    TScanResult Scan(TDMGlobDB& db, TTransaction& tr, const QString& typed, bool deleteFound);

    // The rows in the order of the medium key.
    int Size() const { return alive_; }
    bool IsEmpty() const { return alive_ == 0; }
    const TStockRow& Row(int row) const;
    // The row of the medium, or -1 when the list does not hold it.
    int RowOf(int kodNosic) const;

    int InShopDvd() const { return inShopDvd_; }
    int InShopVhs() const { return inShopVhs_; }
    int FoundDvd() const { return foundDvd_; }
    int FoundVhs() const { return foundVhs_; }

private:
    // Rows taken off the list keep their slot, so the index stays valid; a Fenwick tree over the
    // slots still alive turns a slot into its row and back in logarithmic time.
    void Rebuild();
    void Remove(int slot);
    int RowOfSlot(int slot) const;
    int SlotOfRow(int row) const;

    std::vector<TStockRow> slots_;
    std::vector<bool> removed_;
    std::vector<int> tree_;
    QHash<int, int> slotOfKey_;
    int alive_ = 0;
    bool open_ = false;
    bool locked_ = false;
    int inShopDvd_ = 0;
    int inShopVhs_ = 0;
    int foundDvd_ = 0;
    int foundVhs_ = 0;
};
