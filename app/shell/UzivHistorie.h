#pragma once

#include "Transaction.h"
#include "Uzivatel.h"

#include <QDate>
#include <QDialog>

class TAppContext;
class TMemTable;
class TMoxButton;
class TMoxGrid;

// "Historie přihlašování": the logged-in user's login records of one month, newest first.
class TFUzivHistorie final : public QDialog {
    Q_OBJECT
public:
    TFUzivHistorie(TAppContext& context, QDate today, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(TFUzivHistorie)

    void LoadMonth(TMonth month);

    // Login 'P', logout 'O', anything else a failed login.
    static QColor Background(const QString& stav);
    static QColor TextColor(const QString& stav);

protected:
    void done(int result) override;

private:
    void CloseQuery();

    TAppContext& context_;
    TTransaction transaction_;
    TMonth month_;
    TMemTable* rows_;
    TMoxGrid* grid_;
    TMoxButton* bZpet_;
    TMoxButton* bVpred_;
};
