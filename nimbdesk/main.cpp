#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Nimbrel"));
    QApplication::setApplicationVersion(QStringLiteral(NIMBREL_VERSION));

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Nimbrel"));
    window.show();
    return QApplication::exec();
}
