#pragma once

#include <QDialog>

class TMoxEdit;

// Asks for the full path of the backup to restore from.
class TFObnovaZalohy final : public QDialog {
    Q_OBJECT
public:
    explicit TFObnovaZalohy(QWidget* parent = nullptr);
    Q_DISABLE_COPY_MOVE(TFObnovaZalohy)

    QString BackupFile() const;

private:
    TMoxEdit* ESoubor = nullptr;
};
