#pragma once

#include <QImage>

#include <functional>

// The default camera as the separately loaded camera module provides it.
// The multimedia libraries it needs are large; keeping them in that module
// means the program loads them only when the webcam window asks for a camera,
// not at every start.
class CameraBackend
{
public:
    virtual ~CameraBackend() = default;
    virtual bool start() = 0;
    virtual void stop() = 0;
    // The latest frame delivered, null before the first one.
    virtual QImage latestFrame() const = 0;
};

// The module's one entry point: the default camera, calling onFrame on the
// user-interface thread after each new frame; null when there is no camera.
using CameraBackendFactory = CameraBackend *(*)(std::function<void()> onFrame);
#define LUMETRA_CAMERA_FACTORY "lumetraCreateCamera"

namespace CameraModule {
// Loads the module once, from the executable's own folder (the program
// folder); null when it cannot be found or loaded.
CameraBackendFactory factory();
} // namespace CameraModule
