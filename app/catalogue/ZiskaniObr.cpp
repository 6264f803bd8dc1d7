#include "ZiskaniObr.h"

#include "DeskSurface.h"
#include "FailureReport.h"
#include "GlobDialog.h"
#include "MoxButton.h"
#include "MoxLabel.h"
#include "NastaveniSkenu.h"
#include "ObrPlocha.h"
#include "Pictures.h"
#include "SaneScanner.h"
#include "VyberZdroje.h"
#include "WaitCursor.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QThread>
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
      bStorno_(Named(new TMoxButton(QStringLiteral("Storno"), this), "BStorno")),
      progress_(Named(new QProgressBar(this), "PBSkenovani")),
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
    buttons->addWidget(progress_, 1);
    buttons->addWidget(bStorno_);
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
    progress_->hide();
    bStorno_->hide();

    connect(bStorno_, &QPushButton::clicked, this, &TFZiskaniObr::Storno);
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

TFZiskaniObr::~TFZiskaniObr() {
    StopScan();
}

bool TFZiskaniObr::HasPicture() const {
    return !acquired_.isNull();
}

void TFZiskaniObr::VybratZdroj() {
    try {
        std::vector<TScanSource> sources;
        {
            TWaitCursor wait;
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
    if (Scanning())
        return;
    TScanOptions options;
    try {
        TWaitCursor wait;
        TSaneSession session;
        options = session.Options(ChosenScanSource());
    } catch (const EScannerError& e) {
        ReportError(e.Message());
        return;
    }
    TFNastaveniSkenu nastaveni(options, this);
    if (ExecModal(nastaveni) != QDialog::Accepted)
        return;

    plocha_->ClearSelection();
    bOriznout_->setEnabled(false);
    acquired_ = QImage();
    angle_ = 0;
    plocha_->SetPicture({});
    plocha_->resize(scrollBox_->viewport()->size());
    lOtoceni_->setEnabled(false);
    for (QRadioButton* choice : otoceni_)
        choice->setEnabled(false);
    otoceni_[0]->setChecked(true);
    StartScan(nastaveni.Settings());
}

void TFZiskaniObr::StartScan(const TScanSettings& settings) {
    control_ = std::make_shared<TScanControl>();
    control_->onProgress = [this](int percent) {
        QMetaObject::invokeMethod(
            this, [this, percent] { ScanProgress(percent); }, Qt::QueuedConnection);
    };
    // The thread shares nothing with the window but the control and the queued results; the
    // window waits for it before it goes away.
    scan_ = QThread::create([this, control = control_, source = ChosenScanSource(), settings] {
        QImage picture;
        QString failure;
        try {
            TSaneSession session;
            picture = session.Acquire(source, settings, *control);
        } catch (const ECinemonError& e) {
            failure = e.Message();
        } catch (const std::exception& e) {
            failure = QString::fromLocal8Bit(e.what());
        }
        QMetaObject::invokeMethod(
            this, [this, picture, failure] { ScanEnded(picture, failure); }, Qt::QueuedConnection);
    });
    for (QWidget* control : {static_cast<QWidget*>(bVybratZdroj_), static_cast<QWidget*>(bZiskat_),
                             static_cast<QWidget*>(bUlozit_)})
        control->setEnabled(false);
    progress_->setRange(0, 100);
    progress_->setValue(0);
    progress_->show();
    bStorno_->setEnabled(true);
    bStorno_->show();
    bStorno_->setFocus();
    scan_->start();
}

void TFZiskaniObr::ScanProgress(int percent) {
    if (!Scanning())
        return;
    if (percent < 0) {
        progress_->setRange(0, 0);
        return;
    }
    progress_->setRange(0, 100);
    progress_->setValue(percent);
}

void TFZiskaniObr::ScanEnded(const QImage& picture, const QString& failure) {
    // A scan stopped by closing the dialog has ended already.
    if (!Scanning())
        return;
    scan_->wait();
    delete scan_;
    scan_ = nullptr;
    control_.reset();
    progress_->hide();
    bStorno_->hide();
    for (QWidget* control : {static_cast<QWidget*>(bVybratZdroj_), static_cast<QWidget*>(bZiskat_),
                             static_cast<QWidget*>(bUlozit_)})
        control->setEnabled(true);
    bZiskat_->setFocus();
    if (!failure.isEmpty())
        ReportError(failure);

    acquired_ = picture;
    plocha_->SetPicture(acquired_);
    scrollBox_->verticalScrollBar()->setValue(0);
    scrollBox_->horizontalScrollBar()->setValue(0);
    const bool present = HasPicture();
    lOtoceni_->setEnabled(present);
    for (QRadioButton* choice : otoceni_)
        choice->setEnabled(present);
    otoceni_[0]->setChecked(true);
    emit scanFinished();
}

void TFZiskaniObr::Storno() {
    if (!Scanning())
        return;
    bStorno_->setEnabled(false);
    control_->Cancel();
}

void TFZiskaniObr::StopScan() {
    if (!Scanning())
        return;
    control_->Cancel();
    scan_->wait();
    delete scan_;
    scan_ = nullptr;
    control_.reset();
}

void TFZiskaniObr::reject() {
    StopScan();
    QDialog::reject();
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
