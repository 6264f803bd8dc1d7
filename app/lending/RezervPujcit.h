#pragma once

#include <QDialog>

// Asks whether to lend a title whose media on the shelf are all reserved by others today.
class TFRezervPujcit final : public QDialog {
    Q_OBJECT
public:
    // The dialog's results; "Zpět" and closing the window are QDialog::Rejected.
    enum TChoice { Pujcit = 10, Rezervovat = 11 };

    explicit TFRezervPujcit(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(TFRezervPujcit)
};
