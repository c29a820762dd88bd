// The program's own message boxes, as the operator meets them: stored text
// shown as text, and the three-way question answered from the keyboard.
#include "base/qtplatform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace {

// Runs `onBox` on the message box once it is on screen.
void whenBoxShown(const std::function<void(QMessageBox *)> &onBox)
{
    auto *timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, onBox] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        onBox(box);
    });
    timer->start();
}

} // namespace

Q_DECLARE_METATYPE(Platform::Answer)

class TestMessageBoxes : public QObject
{
    Q_OBJECT
private slots:
    void questionAnswersFromTheKeyboard_data();
    void questionAnswersFromTheKeyboard();
    void markupInAMessageIsText_data();
    void markupInAMessageIsText();
};

void TestMessageBoxes::questionAnswersFromTheKeyboard_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<Platform::Answer>("answer");
    QTest::newRow("S") << int(Qt::Key_S) << int(Qt::NoModifier) << Platform::Answer::Yes;
    QTest::newRow("N") << int(Qt::Key_N) << int(Qt::NoModifier) << Platform::Answer::No;
    QTest::newRow("Alt+N") << int(Qt::Key_N) << int(Qt::AltModifier) << Platform::Answer::No;
    QTest::newRow("A") << int(Qt::Key_A) << int(Qt::NoModifier) << Platform::Answer::Cancel;
    QTest::newRow("Alt+A") << int(Qt::Key_A) << int(Qt::AltModifier) << Platform::Answer::Cancel;
    QTest::newRow("Enter: the default, Sì") << int(Qt::Key_Return) << int(Qt::NoModifier) << Platform::Answer::Yes;
    QTest::newRow("Esc") << int(Qt::Key_Escape) << int(Qt::NoModifier) << Platform::Answer::Cancel;
}

void TestMessageBoxes::questionAnswersFromTheKeyboard()
{
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(Platform::Answer, answer);
    QtPlatform platform;
    QStringList captions;
    whenBoxShown([&](QMessageBox *box) {
        for (QAbstractButton *button : box->buttons())
            captions.append(button->text());
        QVERIFY(QTest::qWaitForWindowActive(box));
        QTest::keyClick(box, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        // A key that answered nothing leaves the box open: close it so the test ends.
        QTimer::singleShot(2000, box, [box] { box->done(-1); });
    });
    const Platform::Answer got = platform.ask(nullptr, QStringLiteral("Salvare le modifiche?"));
    captions.sort();
    QCOMPARE(captions, (QStringList{"&Annulla", "&No", "&Sì"}));
    QCOMPARE(got, answer);
}

void TestMessageBoxes::markupInAMessageIsText_data()
{
    QTest::addColumn<int>("kind");
    for (auto kind : {Platform::MessageKind::Warning, Platform::MessageKind::Error,
                      Platform::MessageKind::Information, Platform::MessageKind::Confirmation,
                      Platform::MessageKind::Notice})
        QTest::newRow(QByteArray::number(int(kind)).constData()) << int(kind);
    QTest::newRow("question") << -1;
}

// A file named "<b>Verbale</b>.pdf" is quoted by name, not shown in bold.
void TestMessageBoxes::markupInAMessageIsText()
{
    QFETCH(int, kind);
    QtPlatform platform;
    const QString text = QStringLiteral("Il file \"<b>Verbale</b> & <s>copia</s>.pdf\" non è stato allegato.");
    QString shown;
    Qt::TextFormat format = Qt::AutoText;
    whenBoxShown([&](QMessageBox *box) {
        if (auto *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"))) {
            shown = label->text();
            format = label->textFormat();
        }
        box->done(0);
    });
    if (kind < 0)
        platform.ask(nullptr, text);
    else
        platform.message(nullptr, Platform::MessageKind(kind), text);
    QCOMPARE(shown, text);
    QCOMPARE(format, Qt::PlainText);
}

QTEST_MAIN(TestMessageBoxes)
#include "test_messageboxes.moc"
