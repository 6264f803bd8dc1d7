#pragma once

#include "CustomerHistory.h"

#include <QDialog>

#include <vector>

class TAppContext;
class TMemTable;
class TMoxGrid;
class TMoxMemo;
class TMoxNumEdit;

// "Historie půjček": the customer's loans with their colours, the return figures, the takings
// (managers only) and the messages sent to the customer. Read-only.
class TFZakHistorie final : public QDialog {
    Q_OBJECT
public:
    explicit TFZakHistorie(TAppContext& ctx, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(TFZakHistorie)

    void SetJmeno(const QString& jmeno);
    // Loads the customer's history and shows the dialog modally.
    int Open(int key);
    // Loads without showing; Open uses it, the screenshots too.
    void Load(int key);

private:
    void LoadLoans(TTransaction& transaction, int key);
    void LoadMessages(TTransaction& transaction, int key);
    void ShowFigures(const TCustomerFigures& figures);

    TAppContext& ctx_;
    TMemTable* pujcky_;
    TMemTable* zpravy_;
    TMoxGrid* gridPujcky_;
    TMoxGrid* gridZpravy_;
    TMoxMemo* mZprava_;
    TMoxNumEdit* ePujcenych_;
    TMoxNumEdit* eNevracenych_;
    TMoxNumEdit* ePozde_;
    TMoxNumEdit* ePomer_;
    TMoxNumEdit* eTrzba_;
    std::vector<TLoanRowLook> looks_;
    std::vector<QString> texts_; // EMAIL_MESSAGE of each message row
};
