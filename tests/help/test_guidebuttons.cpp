#include "testutil.h"

#include "app/tfrmavvio.h"
#include "base/widgets.h"
#include "help/tfrmguida.h"
#include "students/tfrmstudenti.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include <functional>
#include <memory>

using HelpTexts::Topic;
Q_DECLARE_METATYPE(HelpTexts::Topic)

using WindowFactory = std::function<QWidget *(const AppContext &)>;
Q_DECLARE_METATYPE(WindowFactory)

// Each guide button shows its own window's help text, title and body, in a
// guide window owned by that window.
class TestGuideButtons : public QObject
{
    Q_OBJECT
private slots:
    void button_data();
    void button();
};

void TestGuideButtons::button_data()
{
    QTest::addColumn<WindowFactory>("create");
    QTest::addColumn<QString>("button");
    QTest::addColumn<Topic>("topic");
    QTest::addColumn<QString>("title");
    QTest::newRow("start menu") << WindowFactory([](const AppContext &c) { return new TfrmAvvio(c); })
                                << "imgGuida" << Topic::General << "Uno sguardo a Lumetra";
    QTest::newRow("student window") << WindowFactory([](const AppContext &c) { return new TfrmStudenti(c); })
                                    << "cmdGuida" << Topic::Students << "App Archivio Studenti";
}

void TestGuideButtons::button()
{
    QFETCH(WindowFactory, create);
    QFETCH(QString, button);
    QFETCH(Topic, topic);
    QFETCH(QString, title);
    TestFolder folder;
    std::unique_ptr<QWidget> window(create(folder.context));
    QVERIFY(showActive(*window));
    for (int round = 0; round < 2; ++round) {
        QString shownTitle, shownBody;
        QWidget *owner = nullptr;
        whenModalShown<TfrmGuida>([&](TfrmGuida *guide) {
            owner = guide->parentWidget();
            shownTitle = findControl<QLabel>(guide, "lblTitolo")->text();
            shownBody = findControl<QPlainTextEdit>(guide, "txtGuida")->toPlainText();
            QTest::mouseClick(findControl<QPushButton>(guide, "btnChiudi"), Qt::LeftButton);
        });
        QTest::mouseClick(findControl<PictureBox>(window.get(), button), Qt::LeftButton);
        QCOMPARE(owner, window.get());
        QCOMPARE(shownTitle, title);
        QCOMPARE(shownBody, HelpTexts::text(topic).body.replace(QLatin1String("\r\n"), QLatin1String("\n")));
        QVERIFY(window->findChildren<TfrmGuida *>().isEmpty());
    }
    QVERIFY(window->isVisible());
}

QTEST_MAIN(TestGuideButtons)
#include "test_guidebuttons.moc"
