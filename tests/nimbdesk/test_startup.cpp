#include "nimbdesk/options/cautostart.h"
#include "nimbdesk/options/cgeneralppg.h"
#include "nimbdesk/window/csingleinstance.h"
#include "settings/lwinkeeper.h"
#include "tests/support/tempdir.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLocalSocket>
#include <QMessageBox>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <memory>

using namespace corekit;
using namespace settings;
using namespace nimbdesk;

namespace
{

QString settingsFileIn(const nimbreltest::TempDir &directory)
{
    const LWinKeeper keeper("Nimbrel", directory.path().string());
    return QString::fromStdString(keeper.FilePath(false));
}

// What a crash leaves: a socket file that nobody listens on.
void leaveStaleSocket(const QString &path)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    std::strncpy(address.sun_path, name.constData(), sizeof address.sun_path - 1);
    QVERIFY(::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0);
    ::close(fd);
    QVERIFY(QFile::exists(path));
}

// East Williston, New York, with updates off so that a program started on it fetches nothing.
void storePlaceWithoutUpdates(const nimbreltest::TempDir &settings)
{
    LWinKeeper keeper("Nimbrel", settings.path().string());
    keeper.SetInt("Location", "State", 36, false);
    keeper.SetInt("Location", "City", 3623217, false);
    keeper.SetInt("General", "UpdateTimeout", 0, false);
}

bool listening(const QString &name)
{
    QLocalSocket probe;
    probe.connectToServer(name);
    return probe.waitForConnected(1000);
}

// The General page's box, on a page loaded from a keeper of its own folder.
struct GeneralPage {
    GeneralPage()
        : page(&keeper)
    {
        page.ensureLoaded();
    }
    QCheckBox *box() const { return page.findChild<QCheckBox *>(QStringLiteral("autostart")); }

    nimbreltest::TempDir settings;
    LWinKeeper keeper{"Nimbrel", settings.path().string()};
    CGeneralPpg page;
};

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void autostartBoxWritesAndRemovesTheEntry();
    void autostartFailureIsShown();
    void secondStartHandsOver();
    void staleSocketDoesNotBlock();
    void programsHandOverPastAStaleSocket();
    void otherSessionOnTheSameSettingsIsRefused();

private:
    std::unique_ptr<nimbreltest::TempDir> m_home;
};

// Each case has its own configuration and runtime folders, which the program started by a case inherits.
void TestStartup::init()
{
    m_home = std::make_unique<nimbreltest::TempDir>();
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(QString::fromStdString(m_home->file("config"))));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(QString::fromStdString(m_home->path().string())));
}

void TestStartup::autostartBoxWritesAndRemovesTheEntry()
{
    const QString entry = QString::fromStdString(m_home->file("config/autostart/nimbrel.desktop"));
    QCOMPARE(CAutostart::entryPath(), entry);
    {
        GeneralPage general;
        QVERIFY(!general.box()->isChecked());
        general.box()->setChecked(true);
        general.page.apply();
    }
    const QString text = QString::fromStdString(nimbreltest::TempDir::read(entry.toStdString()));
    QVERIFY2(text.contains(QLatin1String("Exec=") + QCoreApplication::applicationFilePath() + " --minimized\n"),
        qPrintable(text));

    GeneralPage general;
    QVERIFY(general.box()->isChecked());
    general.box()->setChecked(false);
    general.page.apply();
    QVERIFY(!QFile::exists(entry));

    // A path with a blank is quoted, a '%' doubled, as the Exec key requires.
    QCOMPARE(CAutostart::enable(QStringLiteral("/opt/my apps/100%/nimbdesk")), QString());
    QVERIFY(QString::fromStdString(nimbreltest::TempDir::read(entry.toStdString()))
                .contains(QLatin1String("\nExec=\"/opt/my apps/100%%/nimbdesk\" --minimized\n")));
}

// A configuration folder that is a file: the box goes back and the reason is said in a message box.
void TestStartup::autostartFailureIsShown()
{
    m_home->write("config", "not a folder");
    GeneralPage general;
    general.box()->setChecked(true);
    QString shown;
    QTimer::singleShot(0, [&shown] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        shown = box->text();
        box->close();
    });
    general.page.apply();
    QVERIFY2(shown.contains(QLatin1String("autostart")), qPrintable(shown));
    QVERIFY(!general.box()->isChecked());
}

// The running program is this test; the second is the real nimbdesk on the same settings, which must end at once
// with success after asking for the window.
void TestStartup::secondStartHandsOver()
{
    nimbreltest::TempDir settings;
    nimbreltest::TempDir other;
    QVERIFY(
        CSingleInstance::serverName(settingsFileIn(settings)) != CSingleInstance::serverName(settingsFileIn(other)));
    CSingleInstance first(settingsFileIn(settings));
    QCOMPARE(first.claim(), CSingleInstance::Role::First);
    QSignalSpy shown(&first, &CSingleInstance::showRequested);

    QProcess second;
    second.start(QStringLiteral(NIMBDESK_PROGRAM),
        {QStringLiteral("--settings-dir"), QString::fromStdString(settings.path().string())});
    QVERIFY(shown.wait(60000));
    QVERIFY(second.waitForFinished(60000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
}

void TestStartup::staleSocketDoesNotBlock()
{
    nimbreltest::TempDir settings;
    const QString name = CSingleInstance::serverName(settingsFileIn(settings));
    leaveStaleSocket(name);
    CSingleInstance instance(settingsFileIn(settings));
    QCOMPARE(instance.claim(), CSingleInstance::Role::First);
    QLocalSocket client;
    client.connectToServer(name);
    QVERIFY(client.waitForConnected(5000));
}

// Both programs real: the first starts past a crashed one's socket on a stored place, with updates off so that it
// fetches nothing; the second ends at once with success.
void TestStartup::programsHandOverPastAStaleSocket()
{
    nimbreltest::TempDir settings;
    storePlaceWithoutUpdates(settings);
    const QString name = CSingleInstance::serverName(settingsFileIn(settings));
    leaveStaleSocket(name);
    const QStringList arguments{QStringLiteral("--settings-dir"), QString::fromStdString(settings.path().string())};

    QProcess first;
    first.start(QStringLiteral(NIMBDESK_PROGRAM), arguments);
    QVERIFY(first.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(first.state() == QProcess::Running && listening(name), 60000);
    QProcess second;
    second.start(QStringLiteral(NIMBDESK_PROGRAM), arguments);
    QVERIFY(second.waitForFinished(60000));
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(first.state(), QProcess::Running);
    first.kill();
    first.waitForFinished();
}

// Two sessions name their runtime folders differently, so the second program cannot reach the first one's socket:
// it must not run beside it on the same settings, but say why (its message box then waits for the person) and
// listen nowhere.
void TestStartup::otherSessionOnTheSameSettingsIsRefused()
{
    nimbreltest::TempDir settings;
    storePlaceWithoutUpdates(settings);
    const QStringList arguments{QStringLiteral("--settings-dir"), QString::fromStdString(settings.path().string())};
    QProcess first;
    first.start(QStringLiteral(NIMBDESK_PROGRAM), arguments);
    const QString name = CSingleInstance::serverName(settingsFileIn(settings));
    QTRY_VERIFY_WITH_TIMEOUT(first.state() == QProcess::Running && listening(name), 60000);

    nimbreltest::TempDir otherRuntime;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), QString::fromStdString(otherRuntime.path().string()));
    QProcess second;
    second.setProcessEnvironment(environment);
    second.start(QStringLiteral(NIMBDESK_PROGRAM), arguments);
    QByteArray said;
    QTRY_VERIFY_WITH_TIMEOUT((said += second.readAllStandardError()).contains("is already running"), 60000);
    QVERIFY2(said.contains(QFile::encodeName(settingsFileIn(settings))), said.constData());
    QVERIFY(!listening(QString::fromStdString(otherRuntime.path().string()) + name.mid(name.lastIndexOf('/'))));
    QCOMPARE(first.state(), QProcess::Running);
    for (QProcess *program : {&second, &first}) {
        program->kill();
        program->waitForFinished();
    }
}

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
