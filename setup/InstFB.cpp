#include "InstFB.h"

#include "DbError.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include <array>
#include <optional>

namespace {

// Up to four numeric fields; reading stops at the first character that is neither a digit
// nor a dot. A missing or empty field has no value.
std::array<std::optional<long long>, 4> VersionFields(const QString& text) {
    qsizetype end = 0;
    while (end < text.size() && (text.at(end).isDigit() || text.at(end) == u'.'))
        ++end;
    const QStringList parts = text.left(end).split(u'.');
    std::array<std::optional<long long>, 4> fields;
    for (qsizetype i = 0; i < parts.size() && i < 4; ++i) {
        bool ok = false;
        const long long value = parts.at(i).toLongLong(&ok);
        if (ok)
            fields[static_cast<std::size_t>(i)] = value;
    }
    return fields;
}

QString DescriptionOf(const QString& versionText, const QString& fallback) {
    // "LI-V3.0.11.33637 Firebird 3.0": the product name after the version.
    const qsizetype blank = versionText.indexOf(u' ');
    return blank > 0 ? versionText.mid(blank + 1).trimmed() : fallback;
}

std::optional<TFoundServer> ServerIn(const QString& folder) {
    if (folder.isEmpty())
        return std::nullopt;
    const QString root = Platform::WithSeparator(folder);
    const QString executable = Platform::ServerExecutable(root);
    if (!QFileInfo::exists(executable))
        return std::nullopt;
    const QString text = Platform::ProgramVersionText(executable);
    const QString number = text.section(u' ', 0, 0);
    static const QRegularExpression release(QStringLiteral("^(?:[A-Z]{2}-V)?(\\d+)\\."));
    const auto match = release.match(number);
    return TFoundServer{true,
                        root,
                        executable,
                        number.isEmpty() ? QStringLiteral("0.0.0.0") : NormaliseVersion(number),
                        DescriptionOf(text, QStringLiteral("Firebird")),
                        match.hasMatch() ? match.captured(1).toInt() : 0};
}

// An active "RemoteBindAddress = value" line of the server's configuration (its keys are read
// regardless of case, a "#" starts a comment).
const QRegularExpression& BindAddressLine() {
    static const QRegularExpression line(QStringLiteral("^\\s*RemoteBindAddress\\s*=\\s*([^#\\s]*)"),
                                         QRegularExpression::CaseInsensitiveOption);
    return line;
}

QList<QByteArray> ConfigLines(const QString& configFile) {
    QFile in(configFile);
    return in.open(QIODevice::ReadOnly) ? in.readAll().split('\n') : QList<QByteArray>();
}

TFoundClient ClientAt(const QString& path) {
    const QString number = Platform::LibraryVersion(path);
    return TFoundClient{true, path, number.isEmpty() ? QString() : NormaliseVersion(number),
                        QStringLiteral("Firebird Client Library")};
}

} // namespace

TVersionOrder CompareVersions(const QString& a, const QString& b) {
    if (a == b)
        return TVersionOrder::Equal;
    const auto fa = VersionFields(a);
    const auto fb = VersionFields(b);
    for (std::size_t i = 0; i < 3; ++i) {
        if (!fa[i] || !fb[i])
            return TVersionOrder::Older;
        if (*fa[i] < *fb[i])
            return TVersionOrder::Older;
        if (*fa[i] > *fb[i])
            return TVersionOrder::Newer;
    }
    if (!fa[3] || !fb[3] || *fa[3] < *fb[3])
        return TVersionOrder::Older;
    return TVersionOrder::Newer;
}

QString NormaliseVersion(const QString& text) {
    QString version = text.trimmed();
    static const QRegularExpression prefix(QStringLiteral("^[A-Z]{2}-V"));
    version.remove(prefix);
    if (version.startsWith(QStringLiteral("1.0"))) {
        version[0] = u'6';
        version[2] = u'2';
        return version;
    }
    const qsizetype firstDot = version.indexOf(u'.');
    bool ok = false;
    const int major = version.left(firstDot).toInt(&ok);
    if (ok && firstDot > 0 && major >= 2 && major <= 5) {
        // Major and minor give way to the line's "6.3"; release and build stay.
        const qsizetype secondDot = version.indexOf(u'.', firstDot + 1);
        QString rest = secondDot > 0 ? version.mid(secondDot + 1) : QString();
        if (rest.isEmpty())
            rest = QStringLiteral("0");
        if (rest.count(u'.') == 0)
            rest += QStringLiteral(".0");
        return QStringLiteral("6.3.") + rest;
    }
    return version;
}

TFoundServer DetectServer(const TRegistry& registry, const TPlatformPaths& paths) {
    for (const QString& key : {RegKey::kBorland, RegKey::kInterBaseCorp}) {
        if (const auto server =
                ServerIn(registry.ReadString(TRegRoot::LocalMachine, key, QStringLiteral("RootDirectory"))))
            return *server;
    }
    if (const auto server = ServerIn(paths.serverRoot))
        return *server;
    return {};
}

TFoundClient DetectClient(const TRegistry& registry, const TPlatformPaths& paths) {
    const QString inSystem = Platform::JoinPath(paths.systemFolder, Platform::ClientLibraryName());
    if (QFileInfo::exists(inSystem))
        return ClientAt(inSystem);
    for (const QString& key : {RegKey::kBorland, RegKey::kInterBaseCorp}) {
        const QString root =
            registry.ReadString(TRegRoot::LocalMachine, key, QStringLiteral("RootDirectory"));
        if (root.isEmpty())
            continue;
        const QString beside =
            Platform::JoinPath(root, QStringLiteral("bin/") + Platform::ClientLibraryName());
        if (QFileInfo::exists(beside))
            return ClientAt(beside);
    }
    return {};
}

bool ServerRunning() {
    return Platform::ServerProcessRunning();
}

std::optional<QString> PackageAdminPassword(const QString& file) {
    if (!QFileInfo::exists(file))
        return std::nullopt;
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly))
        return QString();
    static const QRegularExpression line(QStringLiteral("^\\s*ISC_PASSWORD=\"?([^\"\\r\\n]*)\"?\\s*$"),
                                         QRegularExpression::MultilineOption);
    const auto match = line.match(QString::fromUtf8(in.readAll()));
    return match.hasMatch() ? match.captured(1) : QString();
}

bool OpensDeliveredDatabase(const TFoundServer& server) {
    return !server.found || server.major == 0 || server.major == 3;
}

bool ServerOnlyLocal(const QString& configFile) {
    // The last active line is the one the server takes.
    QString address;
    bool bound = false;
    for (const QByteArray& line : ConfigLines(configFile)) {
        const auto match = BindAddressLine().match(QString::fromUtf8(line));
        if (match.hasMatch()) {
            bound = true;
            address = match.captured(1).toLower();
        }
    }
    return bound && (address == QStringLiteral("localhost") || address.startsWith(QStringLiteral("127.")) ||
                     address == QStringLiteral("::1") || address == QStringLiteral("[::1]"));
}

void LetWorkstationsIn(const QString& configFile) {
    QList<QByteArray> lines = ConfigLines(configFile);
    for (QByteArray& line : lines) {
        if (BindAddressLine().match(QString::fromUtf8(line)).hasMatch())
            line.prepend("# Kinodesk: the shop's workstations connect over the network.\n#");
    }
    QSaveFile out(configFile);
    const QByteArray text = lines.join('\n');
    if (lines.isEmpty() || !out.open(QIODevice::WriteOnly) || out.write(text) != text.size() || !out.commit())
        throw ECinemonError(
            QStringLiteral("Nastavení databázového serveru %1 nelze změnit.").arg(configFile));
}
