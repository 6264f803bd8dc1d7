#pragma once

#include "PrintSettings.h"

#include <QByteArray>
#include <QString>

// Getting a finished receipt to the printer: a serial port, the parallel port or a file. Every
// output opens its port or file, writes and closes it; nothing stays open between printouts.

struct TPrintOutcome {
    bool Ok = false;
    QString Message; // why it failed; each reason followed by "\r"

    static TPrintOutcome Success() { return {true, {}}; }
    static TPrintOutcome Failure(const QString& reason) { return {false, reason + u'\r'}; }
};

// Creates the file (replacing one that exists) and writes the text copies times.
TPrintOutcome SendToFile(const QByteArray& text, const QString& fileName, int copies);

// Writes the text copies times to an existing device, one byte per write so that simple
// printers keep in step. The message collects every failure on the way.
TPrintOutcome SendToLptPort(const QByteArray& text, const QString& device, int copies);

// Writes the text copies times with the serial line settings of the record, and returns once
// the port has sent it all; fails when the port takes no byte for ten seconds (a printer may
// hold the line back by flow control for a while, but one that stopped reading ends).
// Line settings the system cannot set fail before anything is sent.
TPrintOutcome SendToComPort(const QByteArray& text, const QString& device, const TPrintSettings& line,
                            int copies);
// Why the serial line of the settings cannot be set up on this system (4 data bits, 1,5 stop
// bits, DTR/DSR flow control, no speed); empty when it can.
QString UnsupportedSerialLine(const TPrintSettings& settings);

// The output the settings choose: "COM1" or "COM2" (their devices), "LPT" (the parallel
// port's device) or "FILE" (fileName, already joined to the folder). Any other device prints
// nothing and fails.
TPrintOutcome SendToPrinter(const TPrintSettings& settings, const QByteArray& text, const QString& fileName,
                            int copies);

// The name of a print file in the settings' folder: the folder and the name joined by one
// separator (the folder may end with one already).
QString PrintFilePath(const QString& folder, const QString& name);
