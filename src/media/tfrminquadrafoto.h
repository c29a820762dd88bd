#pragma once

#include "base/appcontext.h"

#include "photo/photoframing.h"

#include <QDialog>
#include <QImage>

#include <optional>

class FramingView;
class PictureBox;
class QLabel;

// Frames a photo as an ID photo before it becomes the card's photo: the
// picture with a frame of the photo's proportions, proposed around the face
// (PhotoFramer), which the operator moves, resizes, zooms with the wheel and
// turns by quarter turns; the framed part is previewed beside it.
// "Applica" (Enter) gives the framed part as PhotoFraming::cut stores it,
// "Usa foto intera" the whole picture (turned, if it was), "Annulla" (Esc)
// nothing. Arrows move the frame, + and - resize it, Ctrl+Left and
// Ctrl+Right turn the picture, Ctrl+I keeps it whole.
class TfrmInquadraFoto : public QDialog
{
    Q_OBJECT
public:
    enum class Choice { Framed, Whole, Cancelled };

    TfrmInquadraFoto(const AppContext &context, QWidget *parent = nullptr);

    // The upright picture to frame, at its own size; proposes the frame.
    void setPicture(const QImage &picture);

    Choice choice() const { return m_choice; }
    // The chosen photo; null when cancelled.
    QImage photo() const { return m_photo; }
    // The frame, in the pixels of the picture as turned.
    QRect frame() const;
    const PhotoFraming::Proposal &proposal() const { return m_proposal; }
    int quarterTurns() const { return m_turns; }

    // Opens the dialog modally over `parent` with `picture`: the photo
    // chosen, or nothing when the operator cancelled.
    static std::optional<QImage> choose(const AppContext &context, QWidget *parent, const QImage &picture);

public slots:
    void btnApplicaClick();
    void btnInteraClick();
    void btnAnnullaClick();
    void btnRuotaSinistraClick();
    void btnRuotaDestraClick();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void turn(int quarterTurns);
    void propose();
    void showPreview(const QRect &frame);

    AppContext m_context;
    QImage m_original;
    QImage m_picture;      // m_original turned by m_turns
    QImage m_previewSource; // a reduced copy the preview is cut from while the frame moves
    int m_turns = 0;
    PhotoFraming::Proposal m_proposal;
    Choice m_choice = Choice::Cancelled;
    QImage m_photo;
    FramingView *m_view = nullptr;
    PictureBox *m_preview = nullptr;
    QLabel *m_lblVolto = nullptr;
};
