#include "ZiskaniObr.h"

#include "DeskSurface.h"
#include "FailureReport.h"
#include "GlobDialog.h"
#include "MoxButton.h"
#include "MoxLabel.h"
#include "ObrPlocha.h"
#include "Pictures.h"
#include "SaneScanner.h"
#include "VyberZdroje.h"
#include "WaitCursor.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

constexpr int kAngles[4] = {0, 90, 180, 270};

} // namespace

TFZiskaniObr::TFZiskaniObr(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
      scrollBox_(new QScrollArea(this)), plocha_(new TObrPlocha),
      bVybratZdroj_(Named(new TMoxButton(QStringLiteral("&Vybrat zdroj"), this), "BVybratZdroj")),
      bZiskat_(Named(new TMoxButton(QStringLiteral("&Zístak obrázek"), this), "BZiskat")),
      bOriznout_(Named(new TMoxButton(QStringLiteral("Oříznout"), this), "BOriznout")),
      bUlozit_(Named(new TMoxButton(QStringLiteral("&Uložit"), this), "BUlozit")),
      bZavrit_(Named(new TMoxButton(QStringLiteral("Z&avřít"), this), "BZavrit")),
      lOtoceni_(new TMoxLabel(QStringLiteral("Otočení:"), this)) {
    setObjectName(QStringLiteral("FZiskaniObr"));
    setWindowTitle(QStringLiteral("Získání obrázku ze zdroje"));
    setSizeGripEnabled(true);
    setMinimumSize(600, 460);
    SetDeskSurface(this);

    scrollBox_->setObjectName(QStringLiteral("ScrollBox"));
    scrollBox_->setWidget(plocha_);
    scrollBox_->setWidgetResizable(false);

    auto* skupina = new QButtonGroup(this);
    auto* tools = new QHBoxLayout;
    tools->addWidget(bVybratZdroj_);
    tools->addWidget(bZiskat_);
    tools->addSpacing(16);
    tools->addWidget(lOtoceni_);
    for (int i = 0; i < 4; ++i) {
        otoceni_[i] = new QRadioButton(QString::number(kAngles[i]) + QStringLiteral("°"), this);
        otoceni_[i]->setObjectName(QStringLiteral("ROtoceni%1").arg(kAngles[i]));
        skupina->addButton(otoceni_[i], kAngles[i]);
        tools->addWidget(otoceni_[i]);
    }
    otoceni_[0]->setChecked(true);
    tools->addSpacing(16);
    tools->addWidget(bOriznout_);
    tools->addStretch();

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(bUlozit_);
    buttons->addWidget(bZavrit_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(tools);
    layout->addWidget(scrollBox_, 1);
    layout->addLayout(buttons);

    lOtoceni_->setEnabled(false);
    for (QRadioButton* choice : otoceni_)
        choice->setEnabled(false);
    bOriznout_->setEnabled(false);

    connect(bVybratZdroj_, &QPushButton::clicked, this, &TFZiskaniObr::VybratZdroj);
    connect(bZiskat_, &QPushButton::clicked, this, &TFZiskaniObr::ZiskatObrazek);
    connect(bOriznout_, &QPushButton::clicked, this, &TFZiskaniObr::Oriznout);
    connect(bUlozit_, &QPushButton::clicked, this, &TFZiskaniObr::Ulozit);
    connect(bZavrit_, &QPushButton::clicked, this, &QDialog::reject);
    connect(skupina, &QButtonGroup::idClicked, this, &TFZiskaniObr::Otocit);
    connect(plocha_, &TObrPlocha::selectionFinished, this,
            [this] { bOriznout_->setEnabled(plocha_->HasSelection()); });
    bZiskat_->setFocus();
}

bool TFZiskaniObr::HasPicture() const {
    return !acquired_.isNull();
}

void TFZiskaniObr::VybratZdroj() {
    try {
        std::vector<TScanSource> sources;
        {
            TSaneSession session;
            sources = session.Sources();
        }
        TFVyberZdroje volba(sources, ChosenScanSource(), this);
        if (ExecModal(volba) == QDialog::Accepted && !volba.Chosen().isEmpty())
            SetChosenScanSource(volba.Chosen());
    } catch (const EScannerError& e) {
        ReportError(e.Message());
    }
}

void TFZiskaniObr::ZiskatObrazek() {
    plocha_->ClearSelection();
    bOriznout_->setEnabled(false);
    acquired_ = QImage();
    angle_ = 0;
    plocha_->SetPicture({});
    plocha_->resize(scrollBox_->viewport()->size());
    try {
        TWaitCursor wait;
        TSaneSession session;
        acquired_ = session.Acquire(ChosenScanSource());
    } catch (const EScannerError& e) {
        acquired_ = QImage();
        ReportError(e.Message());
    }
    plocha_->SetPicture(acquired_);
    scrollBox_->verticalScrollBar()->setValue(0);
    scrollBox_->horizontalScrollBar()->setValue(0);
    const bool present = HasPicture();
    lOtoceni_->setEnabled(present);
    for (QRadioButton* choice : otoceni_)
        choice->setEnabled(present);
    otoceni_[0]->setChecked(true);
}

void TFZiskaniObr::ShowTurned() {
    plocha_->SetPicture(RotatePicture(acquired_, angle_));
}

void TFZiskaniObr::Oriznout() {
    const QRect selection = plocha_->Selection();
    plocha_->ClearSelection();
    bOriznout_->setEnabled(false);
    if (!HasPicture())
        return;
    // The crop is taken from the picture as shown and kept unturned, so that the angle stays
    // measured from the acquired picture.
    const QImage cropped = CropPicture(plocha_->Picture(), selection);
    acquired_ = RotatePicture(cropped, (360 - angle_) % 360);
    ShowTurned();
}

void TFZiskaniObr::Otocit(int degrees) {
    angle_ = degrees;
    ShowTurned();
}

void TFZiskaniObr::Ulozit() {
    // Nothing acquired: the dialog gives nothing back instead of writing an empty file.
    if (!HasPicture()) {
        reject();
        return;
    }
    try {
        resultPath_ = WritePictureJpeg(plocha_->Picture());
    } catch (const ECinemonError& e) {
        ReportFailure(e);
        return;
    }
    accept();
}
