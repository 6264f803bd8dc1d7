#include "CloseBackup.h"
#include "DbError.h"
#include "FailureGuard.h"
#include "FbClient.h"
#include "GlobDialog.h"
#include "TestDatabase.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <unistd.h>

namespace {

// A small file system of its own, mounted for the test (which needs root for it) and then
// filled up to its last few blocks.
class FullDisk : public ::testing::Test {
protected:
    void SetUp() override {
        if (::geteuid() != 0)
            GTEST_SKIP() << "mounting a small file system needs root";
        ASSERT_TRUE(FbClient::Load());
        disk = dir.filePath(QStringLiteral("disk"));
        ASSERT_TRUE(QDir().mkpath(disk));
        ASSERT_EQ(QProcess::execute(QStringLiteral("mount"),
                                    {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                                     QStringLiteral("size=8m"), QStringLiteral("tmpfs"), disk}),
                  0);
        mounted = true;
    }
    void TearDown() override {
        db.DB.Close();
        if (mounted)
            QProcess::execute(QStringLiteral("umount"), {QStringLiteral("-l"), disk});
    }
    void Fill() {
        QFile filler(FillerFile());
        ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size() && filler.flush()) {
        }
    }
    QString FillerFile() const { return disk + QStringLiteral("/filler"); }

    QTemporaryDir dir;
    QString disk;
    bool mounted = false;
    TDMGlobDB db{dir.filePath(QStringLiteral("Cinemon"))};
    TDialogHook hook;
};

TEST_F(FullDisk, AWriteTheDiskRefusesIsToldInPlainWordsStoresNothingAndSucceedsOnceThereIsRoom) {
    ASSERT_TRUE(QFile::copy(TTestDatabase::ShippedBackup(), disk + QStringLiteral("/Cinemon.gbk")));
    db.Config.Server.clear();
    db.Config.FileName = disk + QStringLiteral("/Cinemon.gdb");
    db.CreateDatabase();
    Fill();
    const QByteArray logo(2 * 1024 * 1024, 'L');
    const auto storeLogo = [&] {
        RunReported([&] {
            TTransaction tr(db.DB);
            db.ExecSqlBlob(tr, QStringLiteral("update POBOCKA set LOGO = :LOGO"), QStringLiteral("LOGO"),
                           logo);
        });
    };
    const auto storedLength = [&] {
        TTransaction tr(db.DB);
        auto query = db.OpenQuery(tr, QStringLiteral("select coalesce(octet_length(LOGO), 0) from POBOCKA"));
        query->Open();
        return query->Fields(0).AsInteger();
    };

    storeLogo();
    ASSERT_EQ(hook.messages.size(), 1u);
    EXPECT_EQ(hook.messages[0].kind, TMsgKind::Error);
    EXPECT_TRUE(hook.messages[0].text.startsWith(QStringLiteral("Databázi se nepodařilo zapsat: na disku")))
        << hook.messages[0].text.toStdString();
    EXPECT_EQ(storedLength(), 0);

    ASSERT_TRUE(QFile::remove(FillerFile()));
    hook.messages.clear();
    storeLogo();
    EXPECT_TRUE(hook.messages.empty()) << hook.Texts().front().toStdString();
    EXPECT_EQ(storedLength(), logo.size());
}

TEST_F(FullDisk, TheDailyBackupIntoAFullFolderWarnsWithTheFolderAndLeavesNoBackupThere) {
    ASSERT_TRUE(QFile::copy(TTestDatabase::ShippedBackup(), dir.filePath(QStringLiteral("Cinemon.gbk"))));
    db.Config.Server.clear();
    db.Config.FileName = dir.filePath(QStringLiteral("Cinemon.gdb"));
    db.CreateDatabase();
    db.Config.DailyBackup = true;
    db.Config.BackupDirectory = disk;
    Fill();

    const auto backup = BackupAfterClose(db);
    ASSERT_TRUE(backup.has_value());
    EXPECT_FALSE(backup->Ok);
    EXPECT_TRUE(backup->Text.startsWith(
        QStringLiteral("Uzávěrka byla uložena, ale zálohu databáze se nepodařilo vytvořit ve složce:\r") +
        disk))
        << backup->Text.toStdString();
    EXPECT_EQ(QDir(disk).entryList(QDir::Files), QStringList{QStringLiteral("filler")});
}

} // namespace
