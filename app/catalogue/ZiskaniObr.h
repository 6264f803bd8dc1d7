#pragma once

#include "SaneScanner.h"

#include <QDialog>
#include <QImage>

#include <memory>

class QProgressBar;
class QRadioButton;
class QThread;
class QScrollArea;
class TMoxButton;
class TMoxLabel;
class TObrPlocha;

// Picture acquisition: a scan from the chosen source, cropped and turned by the clerk, handed
// back as a JPEG file. Accepted with a picture means success; ResultPath names the file.
class TFZiskaniObr final : public QDialog {
    Q_OBJECT
public:
    explicit TFZiskaniObr(QWidget* parent = nullptr);
    ~TFZiskaniObr() override;
    Q_DISABLE_COPY_MOVE(TFZiskaniObr)

    bool HasPicture() const;
    const QString& ResultPath() const { return resultPath_; }
    // A scan runs on its own thread; the dialog stays responsive and offers "Storno".
    bool Scanning() const { return scan_ != nullptr; }

    void reject() override;

signals:
    // A scan ended: with a picture, cancelled, or failed (the failure already reported).
    void scanFinished();

private:
    void VybratZdroj();
    void ZiskatObrazek();
    void StartScan(const TScanSettings& settings);
    void ScanProgress(int percent);
    void ScanEnded(const QImage& picture, const QString& failure);
    void Storno();
    void StopScan();
    void Oriznout();
    void Otocit(int degrees);
    void Ulozit();
    void ShowTurned();

    QImage acquired_; // the picture at 0°, cropped when the clerk cropped it
    int angle_ = 0;
    QString resultPath_;
    QThread* scan_ = nullptr;
    std::shared_ptr<TScanControl> control_;

    QScrollArea* scrollBox_;
    TObrPlocha* plocha_;
    TMoxButton* bVybratZdroj_;
    TMoxButton* bZiskat_;
    TMoxButton* bOriznout_;
    TMoxButton* bUlozit_;
    TMoxButton* bZavrit_;
    TMoxButton* bStorno_;
    QProgressBar* progress_;
    TMoxLabel* lOtoceni_;
    QRadioButton* otoceni_[4];
};
