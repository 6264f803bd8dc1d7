#pragma once

#include "SaneScanner.h"

#include <QDialog>

class QComboBox;
class QDoubleSpinBox;

// The settings of one scan as the device offers them: resolution, mode and scan area.
class TFNastaveniSkenu final : public QDialog {
    Q_OBJECT
public:
    explicit TFNastaveniSkenu(const TScanOptions& options, QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(TFNastaveniSkenu)

    TScanSettings Settings() const;

private:
    TScanOptions options_;
    QComboBox* rozliseni_;
    QComboBox* rezim_;
    QDoubleSpinBox* area_[4]; // left, top, width, height in millimetres
};
