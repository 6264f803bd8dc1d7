#pragma once

#include <QString>

// The setup's registry: keys with named values under a machine root and a user root. Each
// root is an initialisation file with one section per key, so a Linux computer keeps what a
// Windows one keeps in its registry and tests can point both roots into a folder of their own.
// Reads never fail (a missing file, key or value gives the default); a write to a root that
// cannot be written fails with a message.
enum class TRegRoot { LocalMachine, CurrentUser };

class TRegistry final {
public:
    TRegistry(QString machineFile, QString userFile);

    QString ReadString(TRegRoot root, const QString& key, const QString& name, const QString& def = {}) const;
    int ReadInteger(TRegRoot root, const QString& key, const QString& name, int def) const;
    bool ReadBool(TRegRoot root, const QString& key, const QString& name, bool def) const;
    bool ValueExists(TRegRoot root, const QString& key, const QString& name) const;

    void WriteString(TRegRoot root, const QString& key, const QString& name, const QString& value) const;
    void WriteInteger(TRegRoot root, const QString& key, const QString& name, int value) const;
    void WriteBool(TRegRoot root, const QString& key, const QString& name, bool value) const;

    const QString& FileOf(TRegRoot root) const;

private:
    QString machineFile_;
    QString userFile_;
};

// The keys the setup reads and writes.
namespace RegKey {
inline const QString kWindowsNt = QStringLiteral("Software\\Microsoft\\Windows NT\\CurrentVersion");
inline const QString kWindows = QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion");
inline const QString kShellFolders =
    QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders");
inline const QString kSharedDlls = QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs");
inline const QString kBorland = QStringLiteral("Software\\Borland\\InterBase\\CurrentVersion");
inline const QString kInterBaseCorp = QStringLiteral("Software\\InterBase Corp\\InterBase\\CurrentVersion");
inline const QString kRun = QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Run");
inline const QString kUninstallFirebird =
    QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Firebird");
inline const QString kUninstallProduct =
    QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kinodesk");
inline const QString kProduct = QStringLiteral("Software\\Quarkon computers\\Cinemon");
} // namespace RegKey
