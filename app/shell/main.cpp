#include "FbClient.h"
#include "GlobDB.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    if (!FbClient::Load()) {
        out << "missing " << FbClient::LibraryFileName() << Qt::endl;
        return 1;
    }
    TDMGlobDB db(QCoreApplication::applicationFilePath());
    db.Connect();
    out << "connected to " << db.DatabaseName() << Qt::endl;
    return 0;
}
