#pragma once

#include "base/appcontext.h"
#include "base/windowinterfaces.h"

#include <QDialog>

#include <memory>

class CaptureDevice;
class PictureBox;
class QPushButton;

// Takes a photo with the default camera: the live picture on the left, the
// captured frame on the right. The camera is off when the window opens,
// starts only with "Accendi webcam", and is switched off by every way out of
// the window. "Importa foto in scheda" hands the captured frame to the target
// when the mode tag `lblMemory` reads "euro_01". With no camera, switching on
// does nothing and the placeholders stay.
class TfrmWebCam : public QDialog
{
    Q_OBJECT
public:
    TfrmWebCam(const AppContext &context, QWidget *parent = nullptr, PhotoTarget *target = nullptr);
    ~TfrmWebCam() override;

    // True while the camera runs.
    bool isCameraOn() const { return m_on; }

public slots:
    void btnAccendiClick();
    void btnSpegniClick();
    void btnCatturaClick();
    void btnSalvaFotogrammaClick();
    void btnImportaFotoClick();
    void btnCloseClick();
    // A new frame from the camera: shown in the live picture. Runs on the
    // user-interface thread whatever thread the camera signals from.
    void camCameraSampleBufferReady();

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void switchOff();
    // The warning for a frame that could not be saved at path: the file, the
    // reason (a system error number, 0 when the frame could not be encoded)
    // and that the frame is still there.
    static QString saveFailureText(const QString &path, int error);

    AppContext m_context;
    PhotoTarget *m_target;
    std::unique_ptr<CaptureDevice> m_device;
    bool m_on = false;
    PictureBox *m_imgCamera = nullptr;
    PictureBox *m_imgTarget = nullptr;
    PictureBox *m_imgBianco = nullptr;
};
