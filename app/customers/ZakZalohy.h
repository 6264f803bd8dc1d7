#pragma once

#include <QDialog>

#include <vector>

class TAppContext;
class TMemTable;
class TMoxButton;
class TMoxGrid;
class TMoxNumEdit;

// "Zálohy zákazníka": what the customer holds and every deposit row, newest first; the clerk
// takes or returns a deposit from here.
class TFZakZalohy final : public QDialog {
    Q_OBJECT
public:
    explicit TFZakZalohy(TAppContext& ctx, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(TFZakZalohy)

    void SetJmeno(const QString& jmeno);
    // Loads the customer's deposits and shows the dialog modally.
    int Open(int kodZak);
    // Loads without showing; Open uses it, and again after each saved taking or return.
    void Load(int kodZak);
    // What the customer holds, as the dialog last loaded it.
    double CurrentDeposit() const;

private:
    void Prevzit();
    void Vratit();

    TAppContext& ctx_;
    int kodZak_ = 0;
    TMemTable* zalohy_;
    std::vector<bool> returned_; // per row: written in grey
    TMoxNumEdit* EZalohy;
    TMoxGrid* GridZalohy;
    TMoxButton* BPrevzit;
    TMoxButton* BVratit;
    TMoxButton* BZavrit;
};
