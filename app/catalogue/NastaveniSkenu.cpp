#include "NastaveniSkenu.h"

#include "DeskSurface.h"
#include "MoxButton.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {

// Photos and covers fit the screen at this resolution; the choice starts there when it can.
constexpr int kPreferredResolution = 100;

QString ModeCaption(const QString& mode) {
    if (mode == QLatin1String("Color"))
        return QStringLiteral("Barevně");
    if (mode == QLatin1String("Gray"))
        return QStringLiteral("Odstíny šedi");
    if (mode == QLatin1String("Lineart"))
        return QStringLiteral("Černobíle");
    if (mode == QLatin1String("Halftone"))
        return QStringLiteral("Polotóny");
    return mode;
}

} // namespace

TFNastaveniSkenu::TFNastaveniSkenu(const TScanOptions& options, QWidget* parent)
    : QDialog(parent), options_(options), rozliseni_(Named(new QComboBox(this), "CBRozliseni")),
      rezim_(Named(new QComboBox(this), "CBRezim")) {
    setObjectName(QStringLiteral("FNastaveniSkenu"));
    setWindowTitle(QStringLiteral("Nastavení skeneru"));
    SetDeskSurface(this);

    for (int dpi : options_.resolutions)
        rozliseni_->addItem(QStringLiteral("%1 dpi").arg(dpi), dpi);
    int start = rozliseni_->findData(kPreferredResolution);
    if (start < 0)
        start = rozliseni_->findData(options_.resolution);
    rozliseni_->setCurrentIndex(std::max(start, 0));
    rozliseni_->setEnabled(rozliseni_->count() > 0);

    for (const QString& mode : options_.modes)
        rezim_->addItem(ModeCaption(mode), mode);
    // Photos and covers are coloured; a device without colour keeps its own mode.
    int mode = rezim_->findData(QStringLiteral("Color"));
    if (mode < 0)
        mode = rezim_->findData(options_.mode);
    rezim_->setCurrentIndex(std::max(mode, 0));
    rezim_->setEnabled(rezim_->count() > 0);

    const char* const names[4] = {"ELevo", "EShora", "ESirka", "EVyska"};
    const QRectF& max = options_.maxArea;
    const double limits[4][2] = {
        {max.left(), max.right()}, {max.top(), max.bottom()}, {0.0, max.width()}, {0.0, max.height()}};
    const QRectF& area = options_.area.isNull() ? max : options_.area;
    const double values[4] = {area.left(), area.top(), area.width(), area.height()};
    for (int i = 0; i < 4; ++i) {
        area_[i] = Named(new QDoubleSpinBox(this), names[i]);
        area_[i]->setDecimals(1);
        area_[i]->setSuffix(QStringLiteral(" mm"));
        area_[i]->setRange(limits[i][0], limits[i][1]);
        area_[i]->setValue(values[i]);
        area_[i]->setEnabled(!max.isNull());
    }

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Rozlišení:"), rozliseni_);
    form->addRow(QStringLiteral("Reži&m:"), rezim_);
    auto* plocha = new QGroupBox(QStringLiteral("Oblast skenování"), this);
    auto* areaForm = new QFormLayout(plocha);
    areaForm->addRow(QStringLiteral("&Zleva:"), area_[0]);
    areaForm->addRow(QStringLiteral("Z&hora:"), area_[1]);
    areaForm->addRow(QStringLiteral("Šíř&ka:"), area_[2]);
    areaForm->addRow(QStringLiteral("&Výška:"), area_[3]);

    auto* skenovat = Named(new TMoxButton(QStringLiteral("&Skenovat"), this), "BSkenovat");
    skenovat->setDefault(true);
    auto* zavrit = Named(new TMoxButton(QStringLiteral("Zavřít"), this), "BZavrit");
    connect(skenovat, &QPushButton::clicked, this, &QDialog::accept);
    connect(zavrit, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(skenovat);
    buttons->addWidget(zavrit);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(plocha);
    layout->addLayout(buttons);
}

TScanSettings TFNastaveniSkenu::Settings() const {
    TScanSettings settings;
    settings.resolution = rozliseni_->currentData().toInt();
    settings.mode = rezim_->currentData().toString();
    if (!options_.maxArea.isNull()) {
        // The area cannot reach past the device's glass.
        const QRectF wanted(area_[0]->value(), area_[1]->value(), area_[2]->value(), area_[3]->value());
        settings.area = wanted.intersected(options_.maxArea);
    }
    return settings;
}
