// The camera module: the default video input through Qt Multimedia, loaded by
// the program on demand (see camerabackend.h).
#include "base/camerabackend.h"

#include <QCamera>
#include <QCameraDevice>
#include <QMediaCaptureSession>
#include <QMediaDevices>
#include <QObject>
#include <QVideoFrame>
#include <QVideoSink>

namespace {

bool isPresent(const QCameraDevice &device)
{
    return QMediaDevices::videoInputs().contains(device);
}

class Camera : public QObject, public CameraBackend
{
public:
    Camera(const QCameraDevice &device, std::function<void()> onFrame)
        : m_onFrame(std::move(onFrame)), m_camera(device)
    {
        m_session.setCamera(&m_camera);
        m_session.setVideoSink(&m_sink);
        // The sink may call from the capture thread; the context object lives
        // on the user-interface thread, so the copy is made there.
        QObject::connect(&m_sink, &QVideoSink::videoFrameChanged, this, [this](const QVideoFrame &frame) {
            if (!m_camera.isActive())
                return;
            const QImage image = frame.toImage();
            if (image.isNull())
                return;
            m_latest = image;
            m_onFrame();
        });
        // A camera unplugged or failing while on just stops; the last frame stays.
        QObject::connect(&m_camera, &QCamera::errorOccurred, this, [this] { m_camera.stop(); });
        QObject::connect(&m_devices, &QMediaDevices::videoInputsChanged, this, [this] {
            if (!isPresent(m_camera.cameraDevice()))
                m_camera.stop();
        });
    }
    ~Camera() override { m_camera.stop(); }

    bool start() override
    {
        // Without its device the backend would fall back to a test picture
        // (colour bars), which must never pass for a photo.
        if (!isPresent(m_camera.cameraDevice()))
            return false;
        m_camera.start();
        return m_camera.error() == QCamera::NoError;
    }
    void stop() override { m_camera.stop(); }
    QImage latestFrame() const override { return m_latest; }

private:
    std::function<void()> m_onFrame;
    QMediaDevices m_devices;
    QCamera m_camera;
    QVideoSink m_sink;
    QMediaCaptureSession m_session;
    QImage m_latest;
};

} // namespace

extern "C" Q_DECL_EXPORT CameraBackend *lumetraCreateCamera(std::function<void()> onFrame)
{
    // Only a real video input counts: with none, Qt's default camera would be
    // a generated test picture.
    const QCameraDevice device = QMediaDevices::defaultVideoInput();
    if (device.isNull() || !isPresent(device))
        return nullptr;
    return new Camera(device, std::move(onFrame));
}
