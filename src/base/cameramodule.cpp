// The camera module: the default video input through Qt Multimedia, loaded by
// the program on demand (see camerabackend.h).
#include "base/camerabackend.h"

#include <QCamera>
#include <QMediaCaptureSession>
#include <QMediaDevices>
#include <QObject>
#include <QVideoFrame>
#include <QVideoSink>

namespace {

class Camera : public QObject, public CameraBackend
{
public:
    explicit Camera(std::function<void()> onFrame) : m_onFrame(std::move(onFrame))
    {
        m_session.setCamera(&m_camera);
        m_session.setVideoSink(&m_sink);
        // The sink may call from the capture thread; the context object lives
        // on the user-interface thread, so the copy is made there.
        QObject::connect(&m_sink, &QVideoSink::videoFrameChanged, this, [this](const QVideoFrame &frame) {
            m_latest = frame.toImage();
            m_onFrame();
        });
    }
    bool start() override
    {
        m_camera.start();
        return m_camera.error() == QCamera::NoError;
    }
    void stop() override { m_camera.stop(); }
    QImage latestFrame() const override { return m_latest; }

private:
    std::function<void()> m_onFrame;
    QCamera m_camera;
    QVideoSink m_sink;
    QMediaCaptureSession m_session;
    QImage m_latest;
};

} // namespace

extern "C" Q_DECL_EXPORT CameraBackend *lumetraCreateCamera(std::function<void()> onFrame)
{
    if (QMediaDevices::videoInputs().isEmpty())
        return nullptr;
    return new Camera(std::move(onFrame));
}
