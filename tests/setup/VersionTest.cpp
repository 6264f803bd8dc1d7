#include "InstFB.h"

#include <gtest/gtest.h>

namespace {

TEST(Versions, CompareAsTheInstallationExpects) {
    EXPECT_EQ(CompareVersions(QStringLiteral("6.2.3.972"), QStringLiteral("6.2.3.972")),
              TVersionOrder::Equal);
    EXPECT_EQ(CompareVersions(QStringLiteral("6.2.2.908"), QStringLiteral("6.2.3.972")),
              TVersionOrder::Older);
    EXPECT_EQ(CompareVersions(QStringLiteral("7.0.0.1"), QStringLiteral("6.2.3.972")), TVersionOrder::Newer);
    EXPECT_EQ(CompareVersions(QStringLiteral("abc"), QStringLiteral("6.2.3.972")), TVersionOrder::Older);
    // Only the fourth field differs: smaller is older, anything else newer.
    EXPECT_EQ(CompareVersions(QStringLiteral("6.2.3.971"), QStringLiteral("6.2.3.972")),
              TVersionOrder::Older);
    EXPECT_EQ(CompareVersions(QStringLiteral("6.2.3.1000"), QStringLiteral("6.2.3.972")),
              TVersionOrder::Newer);
    // A missing field makes it older; reading stops at the first other character.
    EXPECT_EQ(CompareVersions(QStringLiteral("6.2.3"), QStringLiteral("6.2.3.972")), TVersionOrder::Older);
    EXPECT_EQ(CompareVersions(QStringLiteral("6.3.1 beta"), QStringLiteral("6.2.3.972")),
              TVersionOrder::Newer);
    EXPECT_EQ(CompareVersions(QStringLiteral("0.0.0.0"), QStringLiteral("5.0.0.7303")), TVersionOrder::Older);
}

TEST(Versions, ServerTextsAreNormalised) {
    EXPECT_EQ(NormaliseVersion(QStringLiteral("WI-V1.0.3.972")), QStringLiteral("6.2.3.972"));
    EXPECT_EQ(NormaliseVersion(QStringLiteral("1.0.3.972")), QStringLiteral("6.2.3.972"));
    EXPECT_EQ(NormaliseVersion(QStringLiteral("WI-V6.2.2.908")), QStringLiteral("6.2.2.908"));
    // The distribution's Firebird 3 is kept: it reads newer than this installation's server.
    const QString firebird3 = NormaliseVersion(QStringLiteral("LI-V3.0.11.33637"));
    EXPECT_EQ(firebird3, QStringLiteral("6.3.11.33637"));
    EXPECT_EQ(CompareVersions(firebird3, kServerVersion), TVersionOrder::Newer);
    EXPECT_EQ(NormaliseVersion(QStringLiteral("3.0.11")), QStringLiteral("6.3.11.0"));
}

TEST(Versions, TheServerAndClientOfThisMachineAreFoundWithTheirVersions) {
    TPlatformPaths paths;
    paths.machineRegistry = QStringLiteral("/nonexistent/m.ini");
    paths.userRegistry = QStringLiteral("/nonexistent/u.ini");
    paths.systemFolder = TPlatformPaths::System().systemFolder;
    paths.serverRoot = QStringLiteral("/usr/");
    const TRegistry registry(paths.machineRegistry, paths.userRegistry);
    const TFoundServer server = DetectServer(registry, paths);
    ASSERT_TRUE(server.found);
    EXPECT_EQ(server.folder, QStringLiteral("/usr/"));
    EXPECT_EQ(server.path, QStringLiteral("/usr/sbin/firebird"));
    EXPECT_TRUE(server.version.startsWith(QStringLiteral("6.3."))) << server.version.toStdString();
    EXPECT_EQ(server.description, QStringLiteral("Firebird 3.0"));

    const TFoundClient client = DetectClient(registry, paths);
    ASSERT_TRUE(client.found);
    EXPECT_EQ(client.path, paths.systemFolder + QStringLiteral("libfbclient.so.2"));
    EXPECT_EQ(CompareVersions(client.version, kServerVersion), TVersionOrder::Newer);

    TPlatformPaths bare = paths;
    bare.serverRoot = QStringLiteral("/nonexistent/");
    bare.systemFolder = QStringLiteral("/nonexistent/lib/");
    EXPECT_FALSE(DetectServer(registry, bare).found);
    EXPECT_FALSE(DetectClient(registry, bare).found);
}

} // namespace
