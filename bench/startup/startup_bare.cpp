// The yardsticks: a bare Qt program that shows one window of the login's
// size, and with an argument "edit", the same window holding one focused
// QLineEdit where the login window has its password field, in its font. Both
// ask to be the active window, as the login window does.
#include "firstpaint.h"

#include <QApplication>
#include <QLineEdit>
#include <QScreen>
#include <QWidget>

int main(int argc, char *argv[])
{
    QCoreApplication::setAttribute(Qt::AA_UseSoftwareOpenGL);
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral(" Lumetra - Autenticazione"));
    window.setFixedSize(388, 405);
    if (argc > 1 && QByteArray(argv[1]) == "edit") {
        auto *edit = new QLineEdit(&window);
        edit->setGeometry(50, 235, 230, 22);
        QFont font(QStringLiteral("Verdana"));
        font.setPointSize(14);
        font.setBold(true);
        edit->setFont(font);
        edit->setEchoMode(QLineEdit::Password);
        edit->setFocus();
    }
    // Centred, where the login window shows.
    window.move(window.screen()->geometry().center() - window.rect().center());
    ReportFirstPaint watcher;
    window.installEventFilter(&watcher);
    window.show();
    window.activateWindow();
    return app.exec();
}
