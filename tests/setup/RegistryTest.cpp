#include "DbError.h"
#include "GlobReg.h"
#include "SetupFixture.h"

#include <QFileInfo>

namespace {

// The registry of a computer whose file took damage: garbage around the keys, a file that is
// no file.
TEST(DamagedRegistry, KeysAmongGarbageAreReadAndAWriteKeepsEverythingElse) {
    QTemporaryDir dir;
    const QString machine = dir.filePath(QStringLiteral("machine.ini"));
    QByteArray garbage(2000, '\0');
    for (int i = 0; i < garbage.size(); ++i)
        garbage[i] = static_cast<char>((i * 37 + 11) % 256 == '\n' ? 0x98 : (i * 37 + 11) % 256);
    WriteBytes(machine, garbage +
                            "\r\n[Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs]\r\n"
                            "/usr/lib/a.so=2\r\n/usr/lib/b.so=dva\r\nbez rovnitka\r\n" +
                            QByteArray(300, '\0'));
    const TRegistry registry(machine, dir.filePath(QStringLiteral("user.ini")));
    EXPECT_EQ(
        registry.ReadInteger(TRegRoot::LocalMachine, RegKey::kSharedDlls, QStringLiteral("/usr/lib/a.so"), 0),
        2);
    EXPECT_EQ(
        registry.ReadInteger(TRegRoot::LocalMachine, RegKey::kSharedDlls, QStringLiteral("/usr/lib/b.so"), 0),
        0);
    registry.WriteInteger(TRegRoot::LocalMachine, RegKey::kSharedDlls, QStringLiteral("/usr/lib/c.so"), 1);

    const TRegistry again(machine, dir.filePath(QStringLiteral("user.ini")));
    EXPECT_EQ(
        again.ReadInteger(TRegRoot::LocalMachine, RegKey::kSharedDlls, QStringLiteral("/usr/lib/a.so"), 0),
        2);
    EXPECT_EQ(
        again.ReadInteger(TRegRoot::LocalMachine, RegKey::kSharedDlls, QStringLiteral("/usr/lib/c.so"), 0),
        1);
    const QByteArray saved = ReadBytes(machine);
    EXPECT_TRUE(saved.contains("/usr/lib/b.so=dva\r\nbez rovnitka\r\n"));
    EXPECT_FALSE(saved.contains('\0'));
}

TEST(DamagedRegistry, AFileThatCannotBeReadIsNeverWrittenOver) {
    QTemporaryDir dir;
    const QString machine = dir.filePath(QStringLiteral("machine.ini"));
    ASSERT_TRUE(QDir().mkpath(machine));
    const TRegistry registry(machine, dir.filePath(QStringLiteral("user.ini")));
    EXPECT_FALSE(
        registry.ValueExists(TRegRoot::LocalMachine, RegKey::kSharedDlls, QStringLiteral("/usr/lib/a.so")));
    EXPECT_THROW(registry.WriteInteger(TRegRoot::LocalMachine, RegKey::kSharedDlls,
                                       QStringLiteral("/usr/lib/a.so"), 1),
                 ECinemonError);
    EXPECT_TRUE(QFileInfo(machine).isDir());
}

} // namespace
