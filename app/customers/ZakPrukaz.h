#pragma once

#include "CustomerCard.h"

#include <QDialog>
#include <QPrinter>

class QPrintPreviewWidget;

// "Tisk průkazky": the customer card in a print preview, printed on the printer the clerk chooses.
class TFZakPrukaz final : public QDialog {
    Q_OBJECT
public:
    explicit TFZakPrukaz(const TCustomerCard& card, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(TFZakPrukaz)

    // The printer the card goes to; the printer dialog chooses it.
    QPrinter& Printer() { return printer_; }

private:
    void Tisk();

    TCustomerCard card_;
    QPrinter printer_;
    QPrintPreviewWidget* preview_;
};
