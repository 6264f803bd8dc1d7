// Starts Cinemon offscreen on a fresh embedded database made from the shipped backup, logs in
// as ADMIN and saves the main window and the four kinds of message box as PNG files.

#include "FbClient.h"
#include "GlobDialog.h"
#include "MainCinemon.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

bool Save(QWidget& widget, const QDir& folder, const QString& name) {
    QApplication::processEvents();
    const QString file = folder.filePath(name);
    const bool saved = widget.grab().save(file);
    QTextStream(stdout) << (saved ? "wrote " : "cannot write ") << file << Qt::endl;
    return saved;
}

bool PrepareDatabase(const QTemporaryDir& dir, const QString& backup) {
    if (!QFile::copy(backup, dir.filePath(QStringLiteral("Cinemon.gbk"))))
        return false;
    QFile ini(dir.filePath(QStringLiteral("Cinemon.ini")));
    if (!ini.open(QIODevice::WriteOnly))
        return false;
    ini.write(QStringLiteral("[Database]\r\nServer=\r\nFileName=%1\r\n")
                  .arg(dir.filePath(QStringLiteral("Cinemon.gdb")))
                  .toUtf8());
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Czech, QLocale::CzechRepublic));
    const QStringList args = QApplication::arguments();
    const QDir folder(args.size() > 1 ? args.at(1) : QStringLiteral("screenshots"));
    const QString backup = args.size() > 2 ? args.at(2) : QStringLiteral(CINEMON_BACKUP_FILE);
    QTextStream err(stderr);

    if (!QDir().mkpath(folder.path()) || !FbClient::Load()) {
        err << "cannot prepare " << folder.path() << " or load the client library" << Qt::endl;
        return 1;
    }
    QTemporaryDir dir;
    if (!PrepareDatabase(dir, backup)) {
        err << "cannot prepare the database from " << backup << Qt::endl;
        return 1;
    }

    bool ok = true;
    {
        TDialogHook hook;
        hook.Script([](QDialog& login) {
            login.findChild<QLineEdit*>(QStringLiteral("EUzivatel"))->setText(QStringLiteral("ADMIN"));
            login.findChild<QPushButton*>(QStringLiteral("BPrihlaseni"))->click();
        });
        TAppContext context(dir.filePath(QStringLiteral("Cinemon")));
        TStartupEnv env;
        env.SplashPause = {};
        TFMainCinemon window(context, {}, env);
        window.resize(window.minimumSize());
        window.show();
        window.FirstActivation();
        window.IdleTick();
        for (const QString& text : hook.Texts())
            err << "message: " << text << Qt::endl;
        ok = context.CurrentUser.LoggedIn() && Save(window, folder, QStringLiteral("MainCinemon.png"));
    }

    const struct {
        TMsgKind kind;
        TMsgButtons buttons;
        const char* file;
        QString text;
    } boxes[] = {
        {TMsgKind::Warning, TMsgButtons::Ok, "MessageDialog_Warning.png",
         QStringLiteral("Nebyl uzavřen předešlý den. Nejdříve musíte spustit uzávěrku.")},
        {TMsgKind::Error, TMsgButtons::Ok, "MessageDialog_Error.png",
         QStringLiteral("Datum tohoto počítače se liší od data serveru.\rAplikaci nelze spustit.")},
        {TMsgKind::Information, TMsgButtons::YesNo, "MessageDialog_Information.png",
         QStringLiteral("Opravdu ukončit aplikaci?")},
        {TMsgKind::Question, TMsgButtons::YesNoCancel, "MessageDialog_Question.png",
         QStringLiteral("Provedené změny nebyly uloženy. Uložit?")},
    };
    for (const auto& box : boxes) {
        TFGlobDialog dialog(box.text, box.kind, box.buttons, nullptr);
        dialog.show();
        ok = Save(dialog, folder, QString::fromLatin1(box.file)) && ok;
    }
    return ok ? 0 : 1;
}
