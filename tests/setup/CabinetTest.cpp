#include "Cabinet.h"
#include "DbError.h"
#include "SetupFixture.h"

#include <QDir>
#include <QFileInfo>

#include <random>

namespace {

QByteArray Noise(int size, unsigned start) {
    std::mt19937 random(start);
    QByteArray bytes(size, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random() & 0xff);
    return bytes;
}

class Cabinet : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override {
        WriteBytes(source.filePath(QStringLiteral("Kinodesk.exe")), Noise(200000, 1));
        WriteBytes(source.filePath(QStringLiteral("readme.txt")), "Videopůjčovna\r\n");
        // Text compresses: several MSZIP blocks of 32 kB.
        WriteBytes(source.filePath(QStringLiteral("data/CINEMON.GBK")),
                   QByteArray(150000, 'a') + Noise(1000, 2));
        MakeCabinet(CabinetFile(), source.path(),
                    {QStringLiteral("Kinodesk.exe"), QStringLiteral("readme.txt"),
                     QStringLiteral("data/CINEMON.GBK")},
                    GetParam());
    }
    QString CabinetFile() const { return work.filePath(QStringLiteral("test.cab")); }

    QTemporaryDir source;
    QTemporaryDir work;
};

TEST_P(Cabinet, ExtractsByteForByteIntoMissingSubfoldersAndOverAReadOnlyFile) {
    const QString target = work.filePath(QStringLiteral("nová složka/aplikace"));
    WriteBytes(target + QStringLiteral("/readme.txt"), "stary obsah, delsi nez novy text souboru");
    QFile::setPermissions(target + QStringLiteral("/readme.txt"), QFileDevice::ReadOwner);

    QStringList names;
    ExtractCabinet(CabinetFile(), target + u'/', [&](const QString& name, QString& destination) {
        names << name;
        EXPECT_EQ(destination,
                  target + u'/' +
                      (name == QStringLiteral("CINEMON.GBK") ? QStringLiteral("data/") : QString()) + name);
    });

    EXPECT_EQ(names, (QStringList{QStringLiteral("Kinodesk.exe"), QStringLiteral("readme.txt"),
                                  QStringLiteral("CINEMON.GBK")}));
    for (const QString& file :
         {QStringLiteral("Kinodesk.exe"), QStringLiteral("readme.txt"), QStringLiteral("data/CINEMON.GBK")})
        EXPECT_EQ(ReadBytes(target + u'/' + file), ReadBytes(source.filePath(file))) << file.toStdString();
    // Programs are started directly once installed.
    EXPECT_TRUE(QFileInfo(target + QStringLiteral("/Kinodesk.exe")).isExecutable());
    EXPECT_FALSE(QFileInfo(target + QStringLiteral("/readme.txt")).isExecutable());
}

TEST_P(Cabinet, AClearedDestinationSkipsTheFile) {
    const QString target = work.filePath(QStringLiteral("cil"));
    ExtractCabinet(CabinetFile(), target, [](const QString& name, QString& destination) {
        if (name == QStringLiteral("Kinodesk.exe"))
            destination.clear();
    });
    EXPECT_FALSE(QFileInfo::exists(target + QStringLiteral("/Kinodesk.exe")));
    EXPECT_TRUE(QFileInfo::exists(target + QStringLiteral("/readme.txt")));
}

TEST_P(Cabinet, ATruncatedCabinetLeavesEveryFileWholeOrAsItWasBefore) {
    const QStringList files{QStringLiteral("Kinodesk.exe"), QStringLiteral("readme.txt"),
                            QStringLiteral("data/CINEMON.GBK")};
    const QString target = work.filePath(QStringLiteral("aplikace"));
    for (const QString& file : files)
        WriteBytes(target + u'/' + file, "z minulé instalace: " + file.toUtf8());
    const QByteArray whole = ReadBytes(CabinetFile());
    WriteBytes(CabinetFile(), whole.left(whole.size() * 3 / 4));

    try {
        ExtractCabinet(CabinetFile(), target, {});
        FAIL() << "a truncated cabinet extracted";
    } catch (const ECinemonError& e) {
        EXPECT_TRUE(e.Message().startsWith(QStringLiteral("Chyba při rozbalování souboru test.cab: ")))
            << e.what();
    }
    int unchanged = 0;
    for (const QString& file : files) {
        const QByteArray now = ReadBytes(target + u'/' + file);
        if (now == "z minulé instalace: " + file.toUtf8())
            ++unchanged;
        else
            EXPECT_EQ(now, ReadBytes(source.filePath(file)))
                << file.toStdString() << " is neither old nor new";
    }
    EXPECT_GE(unchanged, 1);
    EXPECT_EQ(QDir(target).entryList(QDir::Files | QDir::Hidden),
              (QStringList{QStringLiteral("Kinodesk.exe"), QStringLiteral("readme.txt")}));
    EXPECT_EQ(QDir(target + QStringLiteral("/data")).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("CINEMON.GBK")});
}

INSTANTIATE_TEST_SUITE_P(StoredAndMszip, Cabinet, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Mszip" : "Stored"; });

TEST(CabinetFailures, ADamagedCabinetFailsWithItsName) {
    QTemporaryDir dir;
    WriteBytes(dir.filePath(QStringLiteral("src/a.txt")), QByteArray(100000, 'x'));
    const QString cabinet = dir.filePath(QStringLiteral("_app.cab"));
    MakeCabinet(cabinet, dir.filePath(QStringLiteral("src")), {QStringLiteral("a.txt")}, true);
    QByteArray bytes = ReadBytes(cabinet);
    for (qsizetype i = bytes.size() - 200; i < bytes.size() - 100; ++i)
        bytes[i] = static_cast<char>(bytes[i] ^ 0x5a);
    WriteBytes(cabinet, bytes);

    try {
        ExtractCabinet(cabinet, dir.filePath(QStringLiteral("out")), {});
        FAIL() << "a damaged cabinet extracted";
    } catch (const ECinemonError& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("_app.cab"))) << e.what();
    }

    WriteBytes(cabinet, "MSCF nothing more");
    EXPECT_THROW(ExtractCabinet(cabinet, dir.filePath(QStringLiteral("out")), {}), ECinemonError);
    EXPECT_THROW(
        ExtractCabinet(dir.filePath(QStringLiteral("chybi.cab")), dir.filePath(QStringLiteral("out")), {}),
        ECinemonError);
}

TEST(CabinetFailures, ANameLeavingTheFolderIsRefusedBeforeAnythingIsWritten) {
    QTemporaryDir dir;
    WriteBytes(dir.filePath(QStringLiteral("src/aa/x.txt")), "ven");
    WriteBytes(dir.filePath(QStringLiteral("src/b.txt")), "dovnitr");
    const QString cabinet = dir.filePath(QStringLiteral("zly.cab"));
    MakeCabinet(cabinet, dir.filePath(QStringLiteral("src")),
                {QStringLiteral("b.txt"), QStringLiteral("aa/x.txt")}, false);
    QByteArray bytes = ReadBytes(cabinet);
    const qsizetype at = bytes.indexOf("aa\\x.txt");
    ASSERT_GE(at, 0);
    bytes.replace(at, 2, "..");
    WriteBytes(cabinet, bytes);

    const QString target = dir.filePath(QStringLiteral("out/inner"));
    try {
        ExtractCabinet(cabinet, target, {});
        FAIL() << "a name with .. extracted";
    } catch (const ECinemonError& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("..\\x.txt"))) << e.what();
    }
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("out/x.txt"))));
    EXPECT_FALSE(QFileInfo::exists(target + QStringLiteral("/b.txt")));
}

} // namespace
