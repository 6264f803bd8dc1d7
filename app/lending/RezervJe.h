#pragma once

#include <QDate>
#include <QDialog>

// Tells the clerk, after a return or complaint, who has reserved the title and when.
class TFRezervJe final : public QDialog {
    Q_OBJECT
public:
    struct TReservation {
        QString jmeno;
        QString prijmeni;
        QString eanKod;
        QDate terminPujceni;
        QDate terminVraceni;
    };

    // putAside shows the line asking to keep the medium for the customer.
    TFRezervJe(const TReservation& reservation, bool putAside, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(TFRezervJe)
};
