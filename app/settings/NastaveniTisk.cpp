#include "AppContext.h"
#include "DeskSurface.h"
#include "GlobDialog.h"
#include "MoxButton.h"
#include "MoxCheckBox.h"
#include "MoxEdit.h"
#include "MoxLabel.h"
#include "NastaveniPages.h"
#include "PortOutput.h"
#include "SerialPortDialog.h"

#include <QButtonGroup>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

// The choices in the order of the page, with the value each stands for.
const QStringList& Codings() {
    static const QStringList values{TPrintSettings::CodingAscii(), TPrintSettings::CodingKamenicky(),
                                    TPrintSettings::CodingLatin2(), TPrintSettings::CodingWin1250()};
    return values;
}
const QStringList& Devices() {
    static const QStringList values{TPrintSettings::DeviceCom1(), TPrintSettings::DeviceCom2(),
                                    TPrintSettings::DeviceLpt(), TPrintSettings::DeviceFile()};
    return values;
}

} // namespace

TPageTisk::TPageTisk(TAppContext& context, QWidget* parent) : TSettingsPage(context, "BUlozTisk", parent) {
    const auto group = [this](QButtonGroup*& buttons, const QStringList& captions, const QStringList& names,
                              QGridLayout* layout) {
        buttons = new QButtonGroup(this);
        for (int i = 0; i < captions.size(); ++i) {
            auto* choice = new QRadioButton(captions.at(i), this);
            choice->setObjectName(names.at(i));
            buttons->addButton(choice, i);
            layout->addWidget(choice, i, 0);
        }
        connect(buttons, &QButtonGroup::idToggled, this, [this](int, bool on) {
            if (on)
                MarkChanged();
        });
    };
    auto* codingBox = new QGroupBox(QStringLiteral("Kódování"), this);
    auto* codingLayout = new QGridLayout(codingBox);
    group(coding_,
          {QStringLiteral("ASCII"), QStringLiteral("Kamenických"), QStringLiteral("LATIN 2"),
           QStringLiteral("Win1250")},
          {QStringLiteral("RAscii"), QStringLiteral("RKamenicky"), QStringLiteral("RLatin2"),
           QStringLiteral("RWin1250")},
          codingLayout);
    auto* deviceBox = new QGroupBox(QStringLiteral("Výstup"), this);
    auto* deviceLayout = new QGridLayout(deviceBox);
    group(
        device_,
        {QStringLiteral("COM1"), QStringLiteral("COM2"), QStringLiteral("LPT"), QStringLiteral("Soubor:")},
        {QStringLiteral("RCom1"), QStringLiteral("RCom2"), QStringLiteral("RLpt"), QStringLiteral("RSoubor")},
        deviceLayout);
    for (int port = 1; port <= 2; ++port) {
        auto* button = new TMoxButton(QStringLiteral("..."), this);
        button->setObjectName(QStringLiteral("BCom%1").arg(port));
        connect(button, &QPushButton::clicked, this, [this, port] { EditSerial(port); });
        deviceLayout->addWidget(button, port - 1, 1);
    }
    ESlozka = Named(new TMoxEdit(this), "ESlozka");
    ESlozka->setReadOnly(true);
    auto* bSlozka = Named(new TMoxButton(QStringLiteral("..."), this), "BSlozka");
    connect(bSlozka, &QPushButton::clicked, this,
            [this] { ChooseFolderInto(ESlozka, QStringLiteral("Vybrat složku pro tisk")); });
    deviceLayout->addWidget(ESlozka, 4, 0);
    deviceLayout->addWidget(bSlozka, 4, 1);

    const auto spin = [this](const char* name) {
        auto* box = Named(new QSpinBox(this), name);
        box->setRange(0, 99);
        connect(box, &QSpinBox::valueChanged, this, [this] { MarkChanged(); });
        return box;
    };
    ESirka = spin("ESirka");
    EPred = spin("EPred");
    EPoStrihu = spin("EPoStrihu");
    EPo = spin("EPo");
    ChStrih = Named(new TMoxCheckBox(QStringLiteral("Odstřihnout doklad"), this), "ChStrih");
    connect(ChStrih, &TMoxCheckBox::changed, this, [this] {
        EPoStrihu->setEnabled(ChStrih->isChecked());
        MarkChanged();
    });
    connect(EPred, &QSpinBox::valueChanged, this, [this](int before) { EPoStrihu->setMaximum(before); });

    auto* paper = new QGridLayout;
    int line = 0;
    const auto add = [&](const QString& caption, QWidget* field) {
        paper->addWidget(Caption(caption, field, this), line, 0);
        paper->addWidget(field, line++, 1);
    };
    add(QStringLiteral("Šířka řádku:"), ESirka);
    paper->addWidget(ChStrih, line++, 0, 1, 2);
    add(QStringLiteral("Řádků na začátku:"), EPred);
    add(QStringLiteral("Z toho po odstřižení:"), EPoStrihu);
    add(QStringLiteral("Řádků na konci:"), EPo);

    auto* columns = new QHBoxLayout;
    columns->addWidget(codingBox);
    columns->addWidget(deviceBox);
    columns->addLayout(paper);
    columns->addStretch();
    auto* page = new QVBoxLayout(this);
    page->addLayout(columns);
    page->addStretch();
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(BUloz);
    page->addLayout(bottom);
}

void TPageTisk::Load() {
    const TLoading loading(*this);
    settings_ = TPrintSettings{};
    ReadPrintSettings(PrintSettingsFile(context_.Db().ExecutablePath()), settings_);
    const int coding = static_cast<int>(Codings().indexOf(settings_.Coding));
    const int device = static_cast<int>(Devices().indexOf(settings_.Device));
    coding_->button(coding < 0 ? 0 : coding)->setChecked(true);
    device_->button(device < 0 ? 3 : device)->setChecked(true);
    ESirka->setValue(settings_.Width);
    ChStrih->setChecked(settings_.Shear);
    EPred->setValue(settings_.SpaceBefore);
    // The field's own value: a hand-edited count outside its limits must not become the limit
    // of the count after the cut (a negative one would take that field below 0 too).
    EPoStrihu->setMaximum(EPred->value());
    EPoStrihu->setValue(settings_.SpaceShear);
    EPoStrihu->setEnabled(settings_.Shear);
    EPo->setValue(settings_.SpaceAfter);
    ESlozka->setText(settings_.FilesPath);
    MarkSaved();
}

QWidget* TPageTisk::FirstInput() {
    return coding_->checkedButton();
}

void TPageTisk::EditSerial(int port) {
    device_->button(port - 1)->setChecked(true);
    TFSerialPort dialog(port, settings_, this);
    if (ExecModal(dialog) != QDialog::Accepted)
        return;
    const TPrintSettings before = settings_;
    dialog.Apply(settings_);
    if (!(before == settings_))
        MarkChanged();
}

TPrintSettings TPageTisk::Input() const {
    TPrintSettings s = settings_;
    s.Coding = Codings().at(coding_->checkedId() < 0 ? 0 : coding_->checkedId());
    s.Device = Devices().at(device_->checkedId() < 0 ? 3 : device_->checkedId());
    s.Width = ESirka->value();
    s.Shear = ChStrih->isChecked();
    s.SpaceBefore = EPred->value();
    s.SpaceShear = EPoStrihu->value();
    s.SpaceAfter = EPo->value();
    s.FilesPath = ESlozka->text();
    return s;
}

bool TPageTisk::Save() {
    const TPrintSettings s = Input();
    // A serial line the system cannot set would print nothing or garbage at the first receipt.
    if (const QString unsupported = UnsupportedSerialLine(s); !unsupported.isEmpty()) {
        if (s.Device == TPrintSettings::DeviceCom1() || s.Device == TPrintSettings::DeviceCom2()) {
            Warn(unsupported + QStringLiteral("\rZměňte nastavení portu tlačítkem \"...\". "
                                              "Nastavení tisku nebylo uloženo."));
            return false;
        }
        Warn(unsupported + QStringLiteral("\rNa sériový port by se s tímto nastavením netisklo."));
    }
    WritePrintSettings(PrintSettingsFile(context_.Db().ExecutablePath()), s);
    settings_ = s;
    MarkSaved();
    return true;
}
