#include "SerialPortDialog.h"

#include "DeskSurface.h"
#include "MoxButton.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QSpinBox>
#include <QVBoxLayout>

namespace {

QComboBox* Choice(const char* name, const QStringList& items, int current, QWidget* parent) {
    auto* box = Named(new QComboBox(parent), name);
    box->addItems(items);
    box->setCurrentIndex(current >= 0 && current < items.size() ? current : 0);
    return box;
}

} // namespace

TFSerialPort::TFSerialPort(int port, const TPrintSettings& s, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Nastavení portu COM%1").arg(port));
    SetDeskSurface(this);
    QStringList speeds;
    for (int i = 0; i < TPrintSettings::kBaudrateCount; ++i)
        speeds << (TPrintSettings::BaudrateOf(i) ? QString::number(TPrintSettings::BaudrateOf(i))
                                                 : QStringLiteral("Vlastní"));
    QStringList bits;
    for (int i = 0; TPrintSettings::DatabitsOf(i); ++i)
        bits << QString::number(TPrintSettings::DatabitsOf(i));
    CBRychlost = Choice("CBRychlost", speeds, s.Baudrate, this);
    ERychlost = Named(new QSpinBox(this), "ERychlost");
    ERychlost->setRange(0, 4000000);
    ERychlost->setValue(s.CustomBaudrate);
    const auto ownSpeed = [this] {
        ERychlost->setEnabled(CBRychlost->currentIndex() == TPrintSettings::kBaudrateCount - 1);
    };
    ownSpeed();
    connect(CBRychlost, &QComboBox::currentIndexChanged, this, ownSpeed);
    CBDatoveBity = Choice("CBDatoveBity", bits, s.Databits, this);
    CBParita = Choice("CBParita",
                      {QStringLiteral("Žádná"), QStringLiteral("Lichá"), QStringLiteral("Sudá"),
                       QStringLiteral("Značka"), QStringLiteral("Mezera")},
                      s.Parity, this);
    CBStopBity = Choice("CBStopBity", {QStringLiteral("1"), QStringLiteral("1,5"), QStringLiteral("2")},
                        s.Stopbits, this);
    CBRizeni = Choice("CBRizeni",
                      {QStringLiteral("Žádné"), QStringLiteral("XON/XOFF"), QStringLiteral("RTS/CTS"),
                       QStringLiteral("DTR/DSR")},
                      s.FlowControl, this);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Rychlost (Bd):"), CBRychlost);
    form->addRow(QStringLiteral("Vlastní rychlost (Bd):"), ERychlost);
    form->addRow(QStringLiteral("Datové bity:"), CBDatoveBity);
    form->addRow(QStringLiteral("Parita:"), CBParita);
    form->addRow(QStringLiteral("Stop bity:"), CBStopBity);
    form->addRow(QStringLiteral("Řízení toku:"), CBRizeni);
    auto* ok = Named(new TMoxButton(QStringLiteral("OK"), this), "BOK");
    auto* cancel = Named(new TMoxButton(QStringLiteral("Zrušit"), this), "BZrusit");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
}

void TFSerialPort::Apply(TPrintSettings& s) const {
    s.Baudrate = CBRychlost->currentIndex();
    if (ERychlost->isEnabled())
        s.CustomBaudrate = ERychlost->value();
    s.Databits = CBDatoveBity->currentIndex();
    s.Parity = CBParita->currentIndex();
    s.Stopbits = CBStopBity->currentIndex();
    s.FlowControl = CBRizeni->currentIndex();
}
