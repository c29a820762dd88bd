// The yardsticks: a bare Qt program that shows one window of the login's
// size; with the argument "label", the same window showing one line of text
// in the login window's font (the first text starts Qt's font system, which
// any window with words pays for); with "edit", that label and one focused
// QLineEdit where the login window has its password field, in its font. All
// ask to be the active window, as the login window does.
#include "firstpaint.h"

#include <QApplication>
#include <QLabel>
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
    const QByteArray mode = argc > 1 ? QByteArray(argv[1]) : QByteArray();
    if (mode == "label" || mode == "edit") {
        // The login window's fonts: Verdana 9 pt and 14 pt bold, at 96 pixels
        // to the inch.
        auto *label = new QLabel(QStringLiteral("Immetti la password e premi OK."), &window);
        QFont small(QStringLiteral("Verdana"));
        small.setPixelSize(12);
        label->setFont(small);
        label->move(50, 213);
        if (mode == "edit") {
            auto *edit = new QLineEdit(&window);
            edit->setGeometry(50, 235, 230, 22);
            QFont font(QStringLiteral("Verdana"));
            font.setPixelSize(19);
            font.setBold(true);
            edit->setFont(font);
            edit->setEchoMode(QLineEdit::Password);
            edit->setFocus();
        }
    }
    // Centred, where the login window shows.
    window.move(window.screen()->geometry().center() - window.rect().center());
    ReportFirstPaint watcher;
    window.installEventFilter(&watcher);
    window.show();
    window.activateWindow();
    return app.exec();
}
