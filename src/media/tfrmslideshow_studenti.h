#pragma once

#include "base/appcontext.h"

#include <QDialog>

class PictureBox;
class QLabel;
class QTimer;
class QWidget;

// The photos of all students, one per tick in record order, nearly full
// screen. It opens on the waiting picture; each tick shows the next record's
// photo (the waiting picture when it has none); the tick after the last
// record rewinds, leaving the last photo up, and the next one shows record 1.
// Each tick opens the archive, reads one record and closes it again. An empty
// archive says so and closes the window; a click closes it at any time.
class TfrmSlideshow_Studenti : public QDialog
{
    Q_OBJECT
public:
    explicit TfrmSlideshow_Studenti(const AppContext &context, QWidget *parent = nullptr);

    // Time between ticks, 6000 ms unless told otherwise; the first photo
    // comes one interval after the window is shown.
    void setInterval(int milliseconds);
    // The record shown last: 0 before the first and after a rewind.
    qint64 position() const;

public slots:
    // One step of the show (what each tick runs).
    void cmdAvantiClick();
    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void TimerTimer();
    void showWaiting();

    AppContext m_context;
    QWidget *m_panel = nullptr;
    PictureBox *m_imgFoto = nullptr;
    PictureBox *m_imgBianco = nullptr;
    PictureBox *m_cmdAvanti = nullptr;
    QLabel *m_lblPosizione = nullptr;
    QLabel *m_lblNome = nullptr;
    QTimer *m_timer = nullptr;
    bool m_ended = false;
};
