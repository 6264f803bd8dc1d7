#pragma once

#include <QDialog>

class QBoxLayout;

// The notices captioned "Titul je rezervován" share their frame: a warning picture beside the
// texts, the buttons below.
QBoxLayout* BuildReservationNotice(QDialog& notice, const QStringList& lines);

// Tells the clerk that the loan cannot stretch over free days another customer has reserved.
class TFRezervUpozor final : public QDialog {
    Q_OBJECT
public:
    explicit TFRezervUpozor(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(TFRezervUpozor)
};
