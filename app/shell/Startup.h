#pragma once

#include "ShellRules.h"

#include <QDateTime>
#include <QString>

#include <chrono>
#include <functional>

class TAppContext;

// What the start-up takes from outside, so that tests can set the computer's clock and skip
// the splash's pause.
struct TStartupEnv {
    std::function<QDateTime()> Now = [] { return QDateTime::currentDateTime(); };
    std::chrono::milliseconds SplashPause{3000};
    QString Version = ProgramVersion();
};

// InUse: another program (a second Cinemon among them) holds the embedded database.
enum class TStartupResult { Ready, SettingsOnly, DateMismatch, InUse };

// Loads the client library; when it is missing reports so and answers false.
bool ProbeClientLibrary(const std::function<bool()>& load);

// Connects (creating the database once from its backup when the file does not exist), checks the
// computer's clock against the server's and stores the program's version. Every refusal is
// reported here; status receives the splash texts.
TStartupResult RunStartup(TAppContext& context, const TStartupEnv& env,
                          const std::function<void(const QString&)>& status);
