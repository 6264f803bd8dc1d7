#include "GlobReg.h"

#include "DbError.h"
#include "IniFile.h"

#include <QDir>
#include <QFileInfo>

namespace {

// "\Software\..." and "Software\..." name the same key.
QString KeySection(const QString& key) {
    QString section = key;
    while (section.startsWith(u'\\'))
        section.remove(0, 1);
    return section;
}

const QString kMissing = QStringLiteral("\x01");

} // namespace

TRegistry::TRegistry(QString machineFile, QString userFile)
    : machineFile_(std::move(machineFile)), userFile_(std::move(userFile)) {}

const QString& TRegistry::FileOf(TRegRoot root) const {
    return root == TRegRoot::LocalMachine ? machineFile_ : userFile_;
}

QString TRegistry::ReadString(TRegRoot root, const QString& key, const QString& name,
                              const QString& def) const {
    return TIniFile(FileOf(root)).ReadString(KeySection(key), name, def);
}

int TRegistry::ReadInteger(TRegRoot root, const QString& key, const QString& name, int def) const {
    return TIniFile(FileOf(root)).ReadInteger(KeySection(key), name, def);
}

bool TRegistry::ReadBool(TRegRoot root, const QString& key, const QString& name, bool def) const {
    return TIniFile(FileOf(root)).ReadBool(KeySection(key), name, def);
}

bool TRegistry::ValueExists(TRegRoot root, const QString& key, const QString& name) const {
    return TIniFile(FileOf(root)).ReadString(KeySection(key), name, kMissing) != kMissing;
}

void TRegistry::WriteString(TRegRoot root, const QString& key, const QString& name,
                            const QString& value) const {
    const QString& file = FileOf(root);
    QDir().mkpath(QFileInfo(file).absolutePath());
    TIniFile ini(file);
    ini.WriteString(KeySection(key), name, value);
    try {
        ini.UpdateFile();
    } catch (const ECinemonError& e) {
        // The installation must not report success with its records missing.
        throw ECinemonError(QStringLiteral("Záznam %1 klíče %2 nelze zapsat do registru.\r%3")
                                .arg(name, KeySection(key), e.Message()));
    }
}

void TRegistry::WriteInteger(TRegRoot root, const QString& key, const QString& name, int value) const {
    WriteString(root, key, name, QString::number(value));
}

void TRegistry::WriteBool(TRegRoot root, const QString& key, const QString& name, bool value) const {
    WriteInteger(root, key, name, value ? 1 : 0);
}
