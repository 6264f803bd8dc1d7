#pragma once

#include "PrintSettings.h"

#include <QDialog>

class QComboBox;
class QSpinBox;

// The serial line of the receipt printer: speed, data bits, parity, stop bits and flow
// control, one set for both ports.
class TFSerialPort final : public QDialog {
    Q_OBJECT
public:
    TFSerialPort(int port, const TPrintSettings& settings, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(TFSerialPort)

    // Writes the dialog's values into the settings; the own speed only with "Vlastní" chosen.
    void Apply(TPrintSettings& settings) const;

private:
    QComboBox* CBRychlost = nullptr;
    QSpinBox* ERychlost = nullptr; // the speed of "Vlastní"
    QComboBox* CBDatoveBity = nullptr;
    QComboBox* CBParita = nullptr;
    QComboBox* CBStopBity = nullptr;
    QComboBox* CBRizeni = nullptr;
};
