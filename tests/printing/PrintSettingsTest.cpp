#include "PrintSettings.h"
#include "FileBytes.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TPrintSettings Changed() {
    TPrintSettings s;
    s.Coding = TPrintSettings::CodingKamenicky();
    s.Device = TPrintSettings::DeviceLpt();
    s.Width = 32;
    s.Shear = true;
    s.SpaceBefore = 5;
    s.SpaceShear = 3;
    s.SpaceAfter = 1;
    s.FilesPath = QStringLiteral("C:\\tisk");
    s.Baudrate = 4;
    s.Databits = 3;
    s.Parity = 2;
    s.Stopbits = 2;
    s.FlowControl = 1;
    s.CustomBaudrate = 31250;
    return s;
}

TEST(PrintSettings, WrittenAndReadBackTheFourteenKeysKeepTheirValuesAndTheOtherSections) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Cinemon.ini"));
    WriteBytes(file, "[Database]\r\nServer=pokladna1\r\n");

    WritePrintSettings(file, Changed());
    const QByteArray expected =
        "[Database]\r\nServer=pokladna1\r\n\r\n[Print]\r\n"
        "Coding=Kamenick\xFD"
        "ch\r\nDevice=LPT\r\nWidth=32\r\nShear=1\r\nSpaceBefore=5\r\nSpaceShear=3\r\n"
        "SpaceAfter=1\r\nFilesPath=C:\\tisk\r\nBaudrate=4\r\nDatabits=3\r\nParity=2\r\n"
        "Stopbits=2\r\nFlowControl=1\r\nCustomBaudrate=31250\r\n";
    EXPECT_EQ(ReadBytes(file), expected) << "the keys in their order, the Czech letter in Windows-1250";

    TPrintSettings read;
    ReadPrintSettings(file, read);
    EXPECT_EQ(read, Changed());

    TPrintSettings off = read;
    off.Shear = false;
    WritePrintSettings(file, off);
    EXPECT_TRUE(ReadBytes(file).contains("\r\nShear=0\r\n"));
    ReadPrintSettings(file, read);
    EXPECT_FALSE(read.Shear);
}

TEST(PrintSettings, AMissingKeyKeepsWhatTheCallerStartedFrom) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Cinemon.ini"));
    WriteBytes(file, "[print]\r\ndevice=FILE\r\nShear=-1\r\nWidth=abc\r\n");

    TPrintSettings page;
    ReadPrintSettings(file, page);
    EXPECT_EQ(page.Device, QStringLiteral("FILE")) << "keys and sections compare without case";
    EXPECT_EQ(page.Coding, QStringLiteral("ASCII"));
    EXPECT_TRUE(page.Shear) << "any integer but 0 is yes";
    EXPECT_EQ(page.Width, 40) << "a value that is no number reads as missing";
    EXPECT_EQ(page.SpaceBefore, 6);
    EXPECT_EQ(page.SpaceShear, 4);
    EXPECT_EQ(page.SpaceAfter, 2);
    EXPECT_EQ(page.Baudrate, 6);
    EXPECT_EQ(page.Databits, 4);
    EXPECT_EQ(page.Parity, 0);
    EXPECT_EQ(page.Stopbits, 0);
    EXPECT_EQ(page.FlowControl, 0);

    TPrintSettings printing = TPrintSettings::ForPrinting();
    ReadPrintSettings(file, printing);
    EXPECT_EQ(printing.Coding, QString()) << "the printing path starts from nothing chosen";
    EXPECT_EQ(printing.Device, QStringLiteral("FILE"));
}

TEST(PrintSettings, AFileWithoutTheSectionLeavesThePrintingWithNoDevice) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Cinemon.ini"));
    WriteBytes(file, "[Database]\r\nServer=pokladna1\r\n");
    TPrintSettings printing = TPrintSettings::ForPrinting();
    ReadPrintSettings(file, printing);
    EXPECT_EQ(printing.Device, QString());
    EXPECT_EQ(printing.Width, 40);

    TPrintSettings missing = TPrintSettings::ForPrinting();
    ReadPrintSettings(dir.filePath(QStringLiteral("zadny.ini")), missing);
    EXPECT_EQ(missing, TPrintSettings::ForPrinting());
}

TEST(PrintSettings, ThePortsDevicesCanBeNamedInTheFileAndSurviveASave) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("Cinemon.ini"));
    TPrintSettings s;
    ReadPrintSettings(file, s);
    EXPECT_EQ(s.Com1Device, QStringLiteral("/dev/ttyS0"));
    EXPECT_EQ(s.Com2Device, QStringLiteral("/dev/ttyS1"));
    EXPECT_EQ(s.LptDevice, QStringLiteral("/dev/lp0"));

    WriteBytes(file, "[Print]\r\nCom1Device=/dev/ttyUSB0\r\nLptDevice=/dev/usb/lp0\r\n");
    ReadPrintSettings(file, s);
    WritePrintSettings(file, s);
    TPrintSettings again;
    ReadPrintSettings(file, again);
    EXPECT_EQ(again.Com1Device, QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(again.Com2Device, QStringLiteral("/dev/ttyS1"));
    EXPECT_EQ(again.LptDevice, QStringLiteral("/dev/usb/lp0"));
}

TEST(PrintSettings, TheSpeedAndDataBitsLists) {
    EXPECT_EQ(TPrintSettings::BaudrateOf(0), 110);
    EXPECT_EQ(TPrintSettings::BaudrateOf(4), 2400);
    EXPECT_EQ(TPrintSettings::BaudrateOf(6), 9600);
    EXPECT_EQ(TPrintSettings::BaudrateOf(10), 56000);
    EXPECT_EQ(TPrintSettings::BaudrateOf(14), 256000);
    EXPECT_EQ(TPrintSettings::BaudrateOf(15), 0) << "the user-defined speed";
    EXPECT_EQ(TPrintSettings::BaudrateOf(16), 0);
    EXPECT_EQ(TPrintSettings::BaudrateOf(-1), 0);
    EXPECT_EQ(TPrintSettings::DatabitsOf(0), 4);
    EXPECT_EQ(TPrintSettings::DatabitsOf(4), 8);
    EXPECT_EQ(TPrintSettings::DatabitsOf(5), 0);
}

TEST(PrintSettings, TheFileIsTheOneTheDataLayerReads) {
    QTemporaryDir dir;
    const QString exe = dir.filePath(QStringLiteral("Kinodesk"));
    EXPECT_EQ(PrintSettingsFile(exe), dir.filePath(QStringLiteral("Kinodesk.ini")));
    WriteBytes(dir.filePath(QStringLiteral("Cinemon.ini")), "[Print]\r\n");
    EXPECT_EQ(PrintSettingsFile(exe), dir.filePath(QStringLiteral("Cinemon.ini")));
    WriteBytes(dir.filePath(QStringLiteral("Kinodesk.ini")), "[Print]\r\n");
    EXPECT_EQ(PrintSettingsFile(exe), dir.filePath(QStringLiteral("Kinodesk.ini")));
}

} // namespace
