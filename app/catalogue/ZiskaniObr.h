#pragma once

#include <QDialog>
#include <QImage>

class QRadioButton;
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
    Q_DISABLE_COPY_MOVE(TFZiskaniObr)

    bool HasPicture() const;
    const QString& ResultPath() const { return resultPath_; }

private:
    void VybratZdroj();
    void ZiskatObrazek();
    void Oriznout();
    void Otocit(int degrees);
    void Ulozit();
    void ShowTurned();

    QImage acquired_; // the picture at 0°, cropped when the clerk cropped it
    int angle_ = 0;
    QString resultPath_;

    QScrollArea* scrollBox_;
    TObrPlocha* plocha_;
    TMoxButton* bVybratZdroj_;
    TMoxButton* bZiskat_;
    TMoxButton* bOriznout_;
    TMoxButton* bUlozit_;
    TMoxButton* bZavrit_;
    TMoxLabel* lOtoceni_;
    QRadioButton* otoceni_[4];
};
