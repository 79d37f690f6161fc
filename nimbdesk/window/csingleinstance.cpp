#include "nimbdesk/window/csingleinstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace nimbdesk
{

namespace
{

constexpr char SHOW_REQUEST[] = "show\n";
// Not the settings store's own "<settings file>.lock", which its writers lock for a moment at each write.
constexpr char LOCK_SUFFIX[] = ".running";

// The same file by any path names the same program: "~/.config/Nimbrel/../Nimbrel/Nimbrel.conf" is
// "~/.config/Nimbrel/Nimbrel.conf". The folder may not exist yet before the first start.
QString canonicalFile(const QString &settingsFile)
{
    const QFileInfo file(settingsFile);
    const QString folder = QFileInfo(file.absolutePath()).canonicalFilePath();
    return folder.isEmpty() ? file.absoluteFilePath() : folder + QLatin1Char('/') + file.fileName();
}

} // namespace

CSingleInstance::CSingleInstance(const QString &settingsFile, QObject *parent)
    : QObject(parent)
    , m_settingsFile(canonicalFile(settingsFile))
    , m_name(serverName(settingsFile))
{
    connect(&m_server, &QLocalServer::newConnection, this, &CSingleInstance::acceptConnection);
}

// Closing the descriptor releases the lock; so does the end of the process, however it ends.
CSingleInstance::~CSingleInstance()
{
    if (m_lock >= 0)
        ::close(m_lock);
}

// The socket comes first, so that of two programs started at once in one session the second hands over instead of
// meeting a lock whose socket is not listening yet.
CSingleInstance::Role CSingleInstance::claim()
{
    if (!listen()) {
        if (handOver())
            return Role::HandedOver;
        QLocalServer::removeServer(m_name);
        listen();
    }
    if (lockSettings())
        return Role::First;
    m_server.close();
    return Role::Refused;
}

QString CSingleInstance::refusal() const
{
    return tr("Nimbrel is already running with the settings file %1, in another session whose window cannot be "
              "reached from here.\n\nClose that Nimbrel first, or start this one with --settings-dir naming "
              "another folder.")
        .arg(QDir::toNativeSeparators(m_settingsFile));
}

QString CSingleInstance::serverName(const QString &settingsFile)
{
    const QByteArray hash
        = QCryptographicHash::hash(canonicalFile(settingsFile).toUtf8(), QCryptographicHash::Sha256).toHex().left(16);
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (QDir::isAbsolutePath(runtime) && QFileInfo(runtime).isDir())
        return runtime + QStringLiteral("/nimbrel-") + QLatin1String(hash);
    return QDir::tempPath() + QStringLiteral("/nimbrel-%1-%2").arg(::getuid()).arg(QLatin1String(hash));
}

// Without socket options the server binds its name directly, which fails while the name exists: of two programs
// started at once, one listens and the other hands over. (With options Qt binds elsewhere and renames the socket
// over any existing one.) The socket's mode follows the umask, and $XDG_RUNTIME_DIR is the user's alone.
bool CSingleInstance::listen()
{
    return m_server.listen(m_name);
}

// False only when another program holds the lock: a lock file that cannot be made locks nothing. The descriptor is
// not inherited by programs started from the window, which would otherwise hold the lock after it ends.
bool CSingleInstance::lockSettings()
{
    QDir().mkpath(QFileInfo(m_settingsFile).absolutePath());
    const QByteArray path = QFile::encodeName(m_settingsFile + QLatin1String(LOCK_SUFFIX));
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOCTTY, 0600);
    if (fd < 0)
        return true;
    int result;
    do {
        result = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (result != 0 && errno == EINTR);
    if (result == 0) {
        m_lock = fd;
        return true;
    }
    const bool held = errno == EWOULDBLOCK;
    ::close(fd);
    return !held;
}

// Connecting proves that a program listens: a stale socket refuses at once.
bool CSingleInstance::handOver()
{
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(HANDOVER_TIMEOUT))
        return false;
    socket.write(SHOW_REQUEST);
    return socket.waitForBytesWritten(HANDOVER_TIMEOUT);
}

// The request is one short line, which may have arrived before the connection is taken; the socket closes itself
// when the other side has gone.
void CSingleInstance::acceptConnection()
{
    while (QLocalSocket *socket = m_server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readRequest(socket); });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        readRequest(socket);
    }
}

void CSingleInstance::readRequest(QLocalSocket *socket)
{
    if (socket->canReadLine() && socket->readLine() == SHOW_REQUEST)
        emit showRequested();
}

} // namespace nimbdesk
