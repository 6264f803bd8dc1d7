#pragma once

#include "SaneScanner.h"

#include <QDialog>

#include <vector>

class QListWidget;

// The scanner service's choice of the scanning device.
class TFVyberZdroje final : public QDialog {
    Q_OBJECT
public:
    explicit TFVyberZdroje(const std::vector<TScanSource>& sources, const QString& current,
                           QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(TFVyberZdroje)

    // The chosen source's name; empty when none is selected.
    QString Chosen() const;

private:
    std::vector<TScanSource> sources_;
    QListWidget* list_;
};
