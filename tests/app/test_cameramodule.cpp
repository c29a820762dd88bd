// The camera lives in a module loaded on demand; the program must still find
// it, and a machine without a camera must get no device rather than a crash.
#include "base/camerabackend.h"
#include "base/qtplatform.h"

#include <QtTest>

class TestCameraModule : public QObject
{
    Q_OBJECT
private slots:
    void moduleIsFoundAndLoaded();
    void deviceOrNoneWithoutCrash();
};

void TestCameraModule::moduleIsFoundAndLoaded()
{
    QVERIFY(CameraModule::factory() != nullptr);
    QVERIFY(CameraModule::factory() == CameraModule::factory()); // loaded once
}

void TestCameraModule::deviceOrNoneWithoutCrash()
{
    QtPlatform platform;
    QObject owner;
    std::unique_ptr<CaptureDevice> device = platform.openCaptureDevice(&owner);
    if (!device)
        return; // no camera on this machine: the webcam window reports it
    QVERIFY(device->latestFrame().isNull());
    device->stop();
}

QTEST_MAIN(TestCameraModule)
#include "test_cameramodule.moc"
