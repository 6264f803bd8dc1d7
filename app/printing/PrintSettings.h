#pragma once

#include <QString>

// The receipt printer's settings: the [Print] section of the configuration file. The
// settings desk shows and edits them; every printout reads them anew.
struct TPrintSettings {
    // The values of "Coding" and "Device" as the file holds them; compared case-sensitively.
    static QString CodingWin1250() { return QStringLiteral("Win1250"); }
    static QString CodingKamenicky() { return QStringLiteral("Kamenických"); }
    static QString CodingLatin2() { return QStringLiteral("LATIN2"); }
    static QString CodingAscii() { return QStringLiteral("ASCII"); }
    static QString DeviceCom1() { return QStringLiteral("COM1"); }
    static QString DeviceCom2() { return QStringLiteral("COM2"); }
    static QString DeviceLpt() { return QStringLiteral("LPT"); }
    static QString DeviceFile() { return QStringLiteral("FILE"); }

    // The member defaults are those the settings page offers.
    QString Coding = CodingAscii();
    QString Device = DeviceCom1();
    int Width = 40;
    bool Shear = false; // the printer cuts the paper after each receipt
    int SpaceBefore = 6;
    int SpaceShear = 4;
    int SpaceAfter = 2;
    QString FilesPath;
    int Baudrate = 6;       // index into the speed list, see BaudrateOf
    int Databits = 4;       // 0 = 4 bits … 4 = 8 bits
    int Parity = 0;         // 0 none, 1 odd, 2 even, 3 mark, 4 space
    int Stopbits = 0;       // 0 one, 1 one and a half, 2 two
    int FlowControl = 0;    // 0 none, 1 XON/XOFF, 2 RTS/CTS, 3 DTR/DSR
    int CustomBaudrate = 0; // bits per second of the user-defined speed ("Vlastní", index 15)

    // The devices behind the ports' names, for USB adapters and the like. Read only when
    // present in the file ("Com1Device", "Com2Device", "LptDevice"); the program never writes
    // them, so a hand-made entry survives the settings page.
    QString Com1Device = QStringLiteral("/dev/ttyS0");
    QString Com2Device = QStringLiteral("/dev/ttyS1");
    QString LptDevice = QStringLiteral("/dev/lp0");

    // The start of the printing path: nothing is chosen, so a file without the section prints
    // nothing; the numbers keep the settings page's defaults, so a hand-edited file missing a
    // number prints as the page would show it.
    static TPrintSettings ForPrinting();

    // The speed in bits per second of a "Baudrate" index; 0 for the user-defined speed (index
    // 15) and for an index outside the list.
    static int BaudrateOf(int index);
    static constexpr int kBaudrateCount = 16;
    // The number of data bits of a "Databits" index; 0 outside the list.
    static int DatabitsOf(int index);

    // Why a printout cannot be laid out with these settings: a line count or the width outside
    // the 0 to 99 the settings page allows, as a hand-edited file may hold (a width of two
    // thousand million would ask for gigabytes per line). Empty when they can.
    QString Unusable() const;

    bool operator==(const TPrintSettings&) const = default;
};

// The configuration file as the data layer resolves it: "<executable>.ini", else
// "Cinemon.ini" beside the executable, else (neither exists yet) "<executable>.ini".
QString PrintSettingsFile(const QString& executablePath);

// Reads the section "Print"; each key missing from the file keeps the value the record holds.
void ReadPrintSettings(const QString& fileName, TPrintSettings& settings);
// Writes the fourteen keys, creating the file or the section as needed; other sections and
// keys stay as they are. Fails with a message when the file cannot be written.
void WritePrintSettings(const QString& fileName, const TPrintSettings& settings);
