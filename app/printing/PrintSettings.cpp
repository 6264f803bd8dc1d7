#include "PrintSettings.h"

#include "GlobDB.h"
#include "IniFile.h"

#include <QFileInfo>

#include <array>
#include <utility>

namespace {

const QString kSection = QStringLiteral("Print");

constexpr std::array<int, TPrintSettings::kBaudrateCount> kBaudrates = {
    110, 300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 38400, 56000, 57600, 115200, 128000, 256000, 0};

} // namespace

TPrintSettings TPrintSettings::ForPrinting() {
    TPrintSettings settings;
    settings.Coding.clear();
    settings.Device.clear();
    return settings;
}

int TPrintSettings::BaudrateOf(int index) {
    if (index < 0 || index >= kBaudrateCount)
        return 0;
    return kBaudrates[static_cast<std::size_t>(index)];
}

int TPrintSettings::DatabitsOf(int index) {
    if (index < 0 || index > 4)
        return 0;
    return index + 4;
}

QString TPrintSettings::Unusable() const {
    const std::array<std::pair<const char*, int>, 4> counts = {{{"Width", Width},
                                                                {"SpaceBefore", SpaceBefore},
                                                                {"SpaceShear", SpaceShear},
                                                                {"SpaceAfter", SpaceAfter}}};
    for (const auto& [key, value] : counts) {
        if (value < 0 || value > 99)
            return QStringLiteral(
                       "Nastavení tisku %1=%2 v konfiguračním souboru je mimo povolený rozsah 0 až 99.")
                .arg(QString::fromLatin1(key))
                .arg(value);
    }
    return {};
}

QString PrintSettingsFile(const QString& executablePath) {
    const QString own = TDMGlobDB::ConfigFileFor(executablePath);
    if (QFileInfo::exists(own))
        return own;
    const QString fallback = TDMGlobDB::FallbackConfigFileFor(executablePath);
    return QFileInfo::exists(fallback) ? fallback : own;
}

void ReadPrintSettings(const QString& fileName, TPrintSettings& s) {
    const TIniFile ini(fileName);
    s.Coding = ini.ReadString(kSection, QStringLiteral("Coding"), s.Coding);
    s.Device = ini.ReadString(kSection, QStringLiteral("Device"), s.Device);
    s.Width = ini.ReadInteger(kSection, QStringLiteral("Width"), s.Width);
    s.Shear = ini.ReadBool(kSection, QStringLiteral("Shear"), s.Shear);
    s.SpaceBefore = ini.ReadInteger(kSection, QStringLiteral("SpaceBefore"), s.SpaceBefore);
    s.SpaceShear = ini.ReadInteger(kSection, QStringLiteral("SpaceShear"), s.SpaceShear);
    s.SpaceAfter = ini.ReadInteger(kSection, QStringLiteral("SpaceAfter"), s.SpaceAfter);
    s.FilesPath = ini.ReadString(kSection, QStringLiteral("FilesPath"), s.FilesPath);
    s.Baudrate = ini.ReadInteger(kSection, QStringLiteral("Baudrate"), s.Baudrate);
    s.Databits = ini.ReadInteger(kSection, QStringLiteral("Databits"), s.Databits);
    s.Parity = ini.ReadInteger(kSection, QStringLiteral("Parity"), s.Parity);
    s.Stopbits = ini.ReadInteger(kSection, QStringLiteral("Stopbits"), s.Stopbits);
    s.FlowControl = ini.ReadInteger(kSection, QStringLiteral("FlowControl"), s.FlowControl);
    s.CustomBaudrate = ini.ReadInteger(kSection, QStringLiteral("CustomBaudrate"), s.CustomBaudrate);
    s.Com1Device = ini.ReadString(kSection, QStringLiteral("Com1Device"), s.Com1Device);
    s.Com2Device = ini.ReadString(kSection, QStringLiteral("Com2Device"), s.Com2Device);
    s.LptDevice = ini.ReadString(kSection, QStringLiteral("LptDevice"), s.LptDevice);
}

void WritePrintSettings(const QString& fileName, const TPrintSettings& s) {
    TIniFile ini(fileName);
    ini.WriteString(kSection, QStringLiteral("Coding"), s.Coding);
    ini.WriteString(kSection, QStringLiteral("Device"), s.Device);
    ini.WriteInteger(kSection, QStringLiteral("Width"), s.Width);
    ini.WriteBool(kSection, QStringLiteral("Shear"), s.Shear);
    ini.WriteInteger(kSection, QStringLiteral("SpaceBefore"), s.SpaceBefore);
    ini.WriteInteger(kSection, QStringLiteral("SpaceShear"), s.SpaceShear);
    ini.WriteInteger(kSection, QStringLiteral("SpaceAfter"), s.SpaceAfter);
    ini.WriteString(kSection, QStringLiteral("FilesPath"), s.FilesPath);
    ini.WriteInteger(kSection, QStringLiteral("Baudrate"), s.Baudrate);
    ini.WriteInteger(kSection, QStringLiteral("Databits"), s.Databits);
    ini.WriteInteger(kSection, QStringLiteral("Parity"), s.Parity);
    ini.WriteInteger(kSection, QStringLiteral("Stopbits"), s.Stopbits);
    ini.WriteInteger(kSection, QStringLiteral("FlowControl"), s.FlowControl);
    ini.WriteInteger(kSection, QStringLiteral("CustomBaudrate"), s.CustomBaudrate);
    ini.UpdateFile();
}
