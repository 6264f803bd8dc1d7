#pragma once

#include "Transaction.h"

#include <QDialog>

class TAppContext;
class TMoxEdit;
class TMoxButton;

// "Přihlášení uživatele": on return a login name in the context's user tells that it succeeded.
class TFUzivPrihlaseni final : public QDialog {
    Q_OBJECT
public:
    explicit TFUzivPrihlaseni(TAppContext& context, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(TFUzivPrihlaseni)

private:
    void Prihlasit();

    TAppContext& context_;
    TTransaction transaction_;
    TMoxEdit* eUzivatel_;
    TMoxEdit* eHeslo_;
    TMoxButton* bPrihlaseni_;
};
