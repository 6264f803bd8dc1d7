#include "Main_Setup.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    TSetupEnvironment env;
    env.paths = TPlatformPaths::System();
    // The cabinets, the licence and the server's texts lie beside the setup program, wherever
    // it is started from.
    env.setupFolder = Platform::WithSeparator(QCoreApplication::applicationDirPath());
    TFMain_Setup wizard(env);
    wizard.show();
    return QApplication::exec();
}
