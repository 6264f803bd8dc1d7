// The whole life of an installation on a shop's computer: the setup installs server side and
// workstation through its wizard, a clerk's ordinary account serves a visit with the installed
// program on the installed database through the computer's Firebird server, and the uninstaller
// takes away what the setup brought. Everything the setup writes lies under a temporary folder.

#include "Database.h"
#include "GlobFunc.h"
#include "LocalServer.h"
#include "QStringPrinting.h"
#include "Query.h"
#include "Transaction.h"
#include "WizardFixture.h"

#include <QDirIterator>
#include <QLineEdit>
#include <QSysInfo>

#include <pwd.h>
#include <unistd.h>

namespace {

// The account the computer's Firebird server runs as; empty when none runs.
QString ServerAccountName() {
    for (const QString& pid : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
        if (!comm.open(QIODevice::ReadOnly) || comm.readAll().trimmed() != "firebird")
            continue;
        const passwd* owner = getpwuid(QFileInfo(QStringLiteral("/proc/") + pid).ownerId());
        return owner ? QString::fromLocal8Bit(owner->pw_name) : QString();
    }
    return {};
}

int Run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(program, arguments);
    return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit ? process.exitCode()
                                                                                          : -1;
}

// A clerk's account of the shop, made for the test and gone after it: in its own group and in the
// server's group, as the shop's accounts that run the program are.
class TShopAccount {
public:
    TShopAccount() {
        if (getpwnam(name.toLocal8Bit().constData()))
            Run(QStringLiteral("userdel"), {name}); // left by a run that was killed
        made =
            Run(QStringLiteral("useradd"), {QStringLiteral("--system"), QStringLiteral("--user-group"),
                                            QStringLiteral("--no-create-home"), QStringLiteral("--shell"),
                                            QStringLiteral("/usr/sbin/nologin"), QStringLiteral("--groups"),
                                            QStringLiteral("firebird"), name}) == 0;
        if (made)
            Run(QStringLiteral("chown"), {name + u':', home.path()});
    }
    ~TShopAccount() {
        if (made)
            Run(QStringLiteral("userdel"), {name});
    }
    TShopAccount(const TShopAccount&) = delete;
    TShopAccount& operator=(const TShopAccount&) = delete;

    const QString name = QStringLiteral("cinemon-clerk");
    QTemporaryDir home;
    bool made = false;
};

// Every file and folder below a folder, by its path there.
QStringList Tree(const QString& folder) {
    QStringList paths;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        paths << QDir(folder).relativeFilePath(it.next());
    paths.sort();
    return paths;
}

// The program and folder a desktop entry starts.
std::pair<QStringList, QString> EntryCommand(const QString& entry) {
    QFile file(entry);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList command;
    QString folder;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        if (line.startsWith(QStringLiteral("Exec=")))
            command = QProcess::splitCommand(line.mid(5));
        else if (line.startsWith(QStringLiteral("Path=")))
            folder = line.mid(5);
    }
    return {command, folder};
}

// The installed database as the server's administrator sees it.
class TServerDatabase {
public:
    TServerDatabase(const QString& file, const QString& password) {
        db_.SetParams(QStringLiteral("localhost:") + file, QStringLiteral("SYSDBA"), password,
                      QStringLiteral("UTF8"));
    }
    void Exec(const QString& sql) {
        TTransaction transaction(db_);
        transaction.StartTransaction();
        TQuery(transaction, sql).ExecSQL();
        transaction.Commit();
    }
    QVariant Scalar(const QString& sql) {
        TTransaction transaction(db_);
        transaction.StartTransaction();
        QVariant value;
        {
            TQuery query(transaction, sql);
            query.Open();
            value = query.Eof() ? QVariant() : query.Fields(0).Value();
        }
        transaction.Commit();
        return value;
    }
    void Close() { db_.Close(); }

private:
    TDatabase db_;
};

class EndToEnd : public Wizard {};

TEST_F(EndToEnd, TheSetupInstallsAClerksAccountServesAVisitAndTheUninstallerTakesBackWhatWasInstalled) {
    if (geteuid() != 0)
        GTEST_SKIP() << "Installs for the computer and runs the program as another account: root only";
    const QString serverAccount = ServerAccountName();
    if (qEnvironmentVariableIsSet("CINEMON_REQUIRE_SERVER")) {
        ASSERT_TRUE(LocalServerListens());
        // The server as the distribution's package runs it, meeting the rights a shop's server has.
        ASSERT_EQ(serverAccount, QStringLiteral("firebird"));
    } else if (!LocalServerListens() || LocalServerAdminPassword().isEmpty()) {
        GTEST_SKIP() << "No Firebird server on localhost";
    }
    TShopAccount clerk;
    ASSERT_TRUE(clerk.made);
    const QStringList before = Tree(root.dir.path());

    // The owner takes the wizard's defaults; the server's password comes from its package.
    env.paths.serverPasswordFile = TPlatformPaths::System().serverPasswordFile;
    Start();
    for (int i = 0; i < 7; ++i) {
        QTest::mouseClick(Button("BDalsi"), Qt::LeftButton);
        pages.push_back(wizard->CurrentPage());
    }
    Install();
    EXPECT_EQ(pages, (std::vector<TPage>{TPage::Licence, TPage::Components, TPage::ExistingServer,
                                         TPage::AppFolder, TPage::DbFolder, TPage::Group, TPage::Ready,
                                         TPage::Progress, TPage::Finish}));
    EXPECT_EQ(hook.Texts(), std::vector<QString>());
    Finish(false);
    const QString app = DefaultChoices(root.paths).appFolder;
    const QString database = app + kDatabaseFile;

    // What the shop entered before this visit: a customer with a card, a title with one medium.
    TServerDatabase server(database, LocalServerAdminPassword());
    const QString card = QStringLiteral("0101261200000501");
    const QString medium = NewMediumCode(3, 1);
    server.Exec(QStringLiteral("insert into ZAKAZNICI (KOD_ZAK, EAN_KOD, JMENO, PRIJMENI, POCET_PUJCEK, VIP) "
                               "values (501, '%1', 'Jan', 'Novák', 0, 'N')")
                    .arg(card));
    server.Exec(
        QStringLiteral("insert into TITULY (KOD_TITUL, NAZEV_CESKY, NAZEV_ORIG, TYP_NOSICE, CENA_PUJCKA, "
                       "POCET_CELKEM, POCET_PRITOMNO) values (3, 'Pelíšky', 'Pelíšky', 'D', 35, 1, 1)"));
    server.Exec(
        QStringLiteral("insert into NOSICE (KOD_NOSIC, KOD_TITUL, EAN_KOD) values (1, 3, '%1')").arg(medium));
    server.Close();

    // The clerk starts the program from the menu entry the setup made and serves the visit.
    const auto [command, folder] =
        EntryCommand(root.paths.userPrograms + QStringLiteral("/Kinodesk/Videopůjčovna Kinodesk.desktop"));
    ASSERT_EQ(command, QStringList{app + kProgramFile});
    const QString clerkLibrary = clerk.home.filePath(QStringLiteral("clerk.so"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(CINEMON_COUNTER_CLERK), clerkLibrary));
    QProcess program;
    program.setWorkingDirectory(folder);
    program.setProcessChannelMode(QProcess::ForwardedChannels);
    program.start(
        QStringLiteral("runuser"),
        QStringList{
            QStringLiteral("-u"), clerk.name, QStringLiteral("--"), QStringLiteral("env"),
            QStringLiteral("-i"), QStringLiteral("HOME=") + clerk.home.path(),
            QStringLiteral("XDG_RUNTIME_DIR=") + clerk.home.path(), QStringLiteral("PATH=/usr/bin:/bin"),
            QStringLiteral("QT_QPA_PLATFORM=offscreen"), QStringLiteral("LD_PRELOAD=") + clerkLibrary,
            QStringLiteral("ASAN_OPTIONS=detect_leaks=0:verify_asan_link_order=0"),
            QStringLiteral("CINEMON_CLERK_CARD=") + card, QStringLiteral("CINEMON_CLERK_MEDIUM=") + medium} +
            command);
    ASSERT_TRUE(program.waitForFinished(300000));
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0);

    // The server saw the visit: the receipt, the loan by ADMIN, the login and the logout.
    TServerDatabase after(database, LocalServerAdminPassword());
    EXPECT_EQ(after.Scalar(QStringLiteral("select count(*) from DOKLADY where KOD_ZAK = 501")).toInt(), 1);
    EXPECT_EQ(
        after
            .Scalar(QStringLiteral("select count(*) from PUJCKY p join UZIVATELE u on "
                                   "u.KOD_UZIV = p.UZIV_PUJCIL where p.KOD_NOSIC = 1 and p.KOD_ZAK = 501 "
                                   "and p.D_VRACENI is null and u.UZIVATEL = 'ADMIN'"))
            .toInt(),
        1);
    EXPECT_EQ(after.Scalar(QStringLiteral("select POCET_PRITOMNO from TITULY where KOD_TITUL = 3")).toInt(),
              0);
    EXPECT_EQ(after
                  .Scalar(QStringLiteral("select list(STAV_PRIH, '') from (select STAV_PRIH from "
                                         "PRIHLASENI order by DATUM)"))
                  .toString(),
              QStringLiteral("PO"));
    after.Close();

    // The owner uninstalls and keeps the database: what is left is what was there, and the data.
    EXPECT_TRUE(Uninstall(app + QStringLiteral("Uninstall.exe"), "a\nn\n")
                    .contains(QStringLiteral("byla odinstalována")));
    QStringList kept = before;
    const QString data = QDir(root.dir.path()).relativeFilePath(app) + u'/';
    for (QString path = QDir::cleanPath(data); path != QStringLiteral("."); path = QFileInfo(path).path())
        kept << path;
    kept << data + kDatabaseFile << data + QStringLiteral("CINEMON.GBK");
    kept.sort();
    EXPECT_EQ(Tree(root.dir.path()), kept);
}

} // namespace
