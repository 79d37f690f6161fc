#include "corekit/lex.h"
#include "corekit/lstring.h"
#include "meteo/location/wlocationdb.h"
#include "nimbdesk/common/appicon.h"
#include "nimbdesk/gauges/caccessiblecontrol.h"
#include "nimbdesk/options/cautostart.h"
#include "nimbdesk/window/cmaindlg.h"
#include "nimbdesk/window/csingleinstance.h"
#include "nimbdesk/window/datadir.h"
#include "nimbdesk/window/translation.h"
#include "settings/lwinkeeper.h"

#include <QApplication>
#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QMessageBox>
#include <QStringList>

#include <cstdio>
#include <cstdlib>
#include <memory>

using namespace corekit;
using namespace meteo;
using namespace settings;
using namespace nimbdesk;

namespace
{

struct Options {
    QCommandLineOption dataDir{QStringLiteral("data-dir"),
        QCoreApplication::translate("main", "Read the location files (cities.ldt and the others) from DIR."),
        QCoreApplication::translate("main", "DIR")};
    QCommandLineOption settingsDir{QStringLiteral("settings-dir"),
        QCoreApplication::translate("main", "Keep the settings in DIR instead of ~/.config/Nimbrel."),
        QCoreApplication::translate("main", "DIR")};
    QCommandLineOption minimized{QLatin1String(CAutostart::MINIMIZED_OPTION).mid(2),
        QCoreApplication::translate("main", "Start hidden in the tray (shown where the desktop has no tray).")};
};

void describeProgram()
{
    QCoreApplication::setApplicationName(QStringLiteral("Nimbrel"));
    QCoreApplication::setApplicationVersion(QStringLiteral(NIMBREL_VERSION));
}

void addOptions(QCommandLineParser &parser, const Options &options)
{
    parser.setApplicationDescription(QCoreApplication::translate("main",
        "Current weather, forecast and warnings for a place in the United States, from the National Weather "
        "Service."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption(options.dataDir);
    parser.addOption(options.settingsDir);
    parser.addOption(options.minimized);
}

// --help and --version answer without a display: a plain application object prints them and ends the program.
void answerWithoutDisplay(int &argc, char **argv, QCommandLineParser &parser)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    parser.parse(arguments);
    if (!parser.isSet(QStringLiteral("help")) && !parser.isSet(QStringLiteral("help-all"))
        && !parser.isSet(QStringLiteral("version")))
        return;
    QCoreApplication application(argc, argv);
    describeProgram();
    parser.process(application);
}

// Qt reaches the display through the platform named in QT_QPA_PLATFORM or with -platform, else through X11 or
// Wayland, whose sessions name their display in these two variables.
bool displayNamed(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], "-platform") == 0 || qstrcmp(argv[i], "--platform") == 0)
            return true;
    }
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY")
        || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

QtMessageHandler g_qtHandler = nullptr;

// Qt ends the process when no platform plugin can reach a display, after a message that suggests reinstalling;
// this one says what is wrong instead.
void reportDisplayFailure(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type != QtFatalMsg) {
        g_qtHandler(type, context, message);
        return;
    }
    std::fprintf(stderr, "nimbdesk: cannot open a window: no display could be reached (DISPLAY=\"%s\").\n",
        qgetenv("DISPLAY").constData());
    std::fflush(stderr);
    std::_Exit(EXIT_FAILURE);
}

std::unique_ptr<QApplication> openDisplay(int &argc, char **argv)
{
    g_qtHandler = qInstallMessageHandler(reportDisplayFailure);
    auto application = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(g_qtHandler);
    return application;
}

// Said on standard error and in a message box, since a program started from the menu has no terminal.
int fail(const QString &message)
{
    std::fprintf(stderr, "nimbdesk: %s\n", qPrintable(message));
    QMessageBox::critical(nullptr, QStringLiteral("Nimbrel"), message);
    return EXIT_FAILURE;
}

int failWithoutLocationFiles(const QStringList &candidates)
{
    return fail(
        QCoreApplication::translate("main", "The location files (cities.ldt and the others) were not found in:\n%1")
            .arg(candidates.join(QLatin1Char('\n'))));
}

int failWithDamagedLocationFile(const QString &file, const QString &directory)
{
    return fail(QCoreApplication::translate("main",
        "The location file %1 in the folder\n%2\nis damaged: its places cannot be read.\n\n"
        "Reinstall Nimbrel to restore its location files, or start it with --data-dir naming a folder that holds "
        "sound ones.")
                    .arg(file, QDir::toNativeSeparators(QDir(directory).absolutePath())));
}

int failWithUnreadableLocationFile(const QString &file, const QString &directory, const QString &reason)
{
    return fail(QCoreApplication::translate("main",
        "The location file %1 in the folder\n%2\ncannot be read: %3.\n\n"
        "Reinstall Nimbrel to restore its location files, or start it "
        "with --data-dir naming a folder that holds sound ones.")
                    .arg(file, QDir::toNativeSeparators(QDir(directory).absolutePath()), reason));
}

// A program already running on the same settings shows its window, and this one ends; where that program cannot be
// reached, this one says so and ends. The location database stays open while the window lives.
int runWindow(const QString &dataDirectory, const QString &settingsDirectory, bool minimized)
{
    const std::string settings = QFile::encodeName(settingsDirectory).toStdString();
    const LWinKeeper keeper(LString(CMainDlg::APP_NAME), settings);
    CSingleInstance instance(QFile::decodeName(keeper.FilePath(false).c_str()));
    const CSingleInstance::Role role = instance.claim();
    if (role == CSingleInstance::Role::HandedOver)
        return EXIT_SUCCESS;
    if (role == CSingleInstance::Role::Refused)
        return fail(instance.refusal());
    WLocationDB::initLocationDB(LString(QFile::encodeName(dataDirectory).constData()));
    int result = EXIT_SUCCESS;
    {
        CMainDlg window(settings);
        if (window.Start()) {
            // While the first place is being chosen its dialog is in front; a window without a place is not.
            QObject::connect(&instance, &CSingleInstance::showRequested, &window, &CMainDlg::Restore);
            window.ShowAtStart(minimized);
            result = QApplication::exec();
        }
    }
    WLocationDB::closeLocationDB();
    return result;
}

} // namespace

int main(int argc, char *argv[])
{
    const Options options;
    QCommandLineParser parser;
    addOptions(parser, options);
    answerWithoutDisplay(argc, argv, parser);
    if (!displayNamed(argc, argv)) {
        std::fputs("nimbdesk: no display to open a window on: neither DISPLAY nor WAYLAND_DISPLAY is set.\n"
                   "Nimbrel is a desktop program; start it in a graphical session.\n",
            stderr);
        return EXIT_FAILURE;
    }
    const std::unique_ptr<QApplication> application = openDisplay(argc, argv);
    describeProgram();
    if (!installTranslation(*application))
        std::fputs("nimbdesk: the English translation is missing from this build: counts read \"1 alerts\".\n", stderr);
    QGuiApplication::setDesktopFileName(QStringLiteral("nimbrel"));
    QApplication::setWindowIcon(applicationIcon());
    CAccessibleControl::install();
    // The window lives on in the tray when minimised; it ends the program itself when it is closed.
    QApplication::setQuitOnLastWindowClosed(false);
    parser.process(*application);

    const QStringList candidates
        = dataDirectoryCandidates(parser.value(options.dataDir), QCoreApplication::applicationDirPath());
    const QString dataDirectory = findDataDirectory(candidates);
    if (dataDirectory.isEmpty())
        return failWithoutLocationFiles(candidates);
    QString reason;
    if (const QString unreadable = unreadableLocationFile(dataDirectory, reason); !unreadable.isEmpty())
        return failWithUnreadableLocationFile(unreadable, dataDirectory, reason);
    if (const QString damaged = damagedLocationFile(dataDirectory); !damaged.isEmpty())
        return failWithDamagedLocationFile(damaged, dataDirectory);
    try {
        return runWindow(dataDirectory, parser.value(options.settingsDir), parser.isSet(options.minimized));
    } catch (const LEx &ex) {
        std::fprintf(stderr, "nimbdesk: %s\n", ex.text() ? ex.text() : LEx::describe(ex.code()));
        return EXIT_FAILURE;
    }
}
