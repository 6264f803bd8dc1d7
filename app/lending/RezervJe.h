#pragma once

#include "VisitLoad.h"

#include <QDialog>

// Tells the clerk, after a return or complaint, who has reserved the title and when.
class TFRezervJe final : public QDialog {
    Q_OBJECT
public:
    // putAside shows the line asking to keep the medium for the customer.
    TFRezervJe(const TNextReservation& reservation, bool putAside, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(TFRezervJe)
};
