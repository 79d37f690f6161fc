#include "nimbdesk/window/csingleinstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>

#include <unistd.h>

namespace
{

constexpr char SHOW_REQUEST[] = "show\n";

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
    , m_name(serverName(settingsFile))
{
    connect(&m_server, &QLocalServer::newConnection, this, &CSingleInstance::acceptConnection);
}

CSingleInstance::~CSingleInstance() = default;

CSingleInstance::Role CSingleInstance::claim()
{
    if (listen())
        return Role::First;
    if (handOver())
        return Role::HandedOver;
    QLocalServer::removeServer(m_name);
    listen();
    return Role::First;
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
