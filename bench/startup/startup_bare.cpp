// The yardstick: a bare Qt program that shows one window of the login's size
// and ends once it is painted.
#include "firstpaint.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char *argv[])
{
    QCoreApplication::setAttribute(Qt::AA_UseSoftwareOpenGL);
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral(" Lumetra - Autenticazione"));
    window.setFixedSize(388, 405);
    QuitOnFirstPaint watcher;
    window.installEventFilter(&watcher);
    window.show();
    return app.exec();
}
