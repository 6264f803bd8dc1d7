#pragma once

#include "Transaction.h"

#include <QDialog>

class TAppContext;
class TMoxEdit;

// "Změna hesla" of the logged-in user.
class TFUzivHeslo final : public QDialog {
    Q_OBJECT
public:
    explicit TFUzivHeslo(TAppContext& context, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(TFUzivHeslo)

private:
    void Ulozit();

    TAppContext& context_;
    TTransaction transaction_;
    TMoxEdit* eAktualni_;
    TMoxEdit* eNove_;
    TMoxEdit* ePotvrzeni_;
};
