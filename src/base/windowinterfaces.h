#pragma once

#include "archive/studentrecord.h"
#include "card/idcard.h"
#include "settings/schooldata.h"

#include <QImage>
#include <QSize>
#include <QString>

#include <array>

// What windows hand each other. A dialog that gives a result back is given
// the interface of its opener, so that a wrong target is a compile error,
// never a control name that silently matches nothing.

// Receives the student picked in a search window: the student window shows
// the whole card, the ID card window the fields a card prints.
class StudentPickTarget
{
public:
    virtual ~StudentPickTarget() = default;
    // `number` is the 1-based record number; `photo` the student's photo,
    // null when the student has none.
    virtual void takeStudent(const StudentRecord &record, qint64 number, const QImage &photo) = 0;
    // The frame the photo is shown in: the photo handed over need only cover
    // it (StudentFiles::loadPicture). Invalid: the photo at its own size.
    virtual QSize photoFrame() const { return {}; }
};

// Receives a photo taken or chosen in another window, as the card's new photo
// (on screen only: it is stored when the card is saved).
class PhotoTarget
{
public:
    virtual ~PhotoTarget() = default;
    virtual void takePhoto(const QImage &photo) = 0;
};

// The photo a window shows, for printing and enlarging: at the size of the
// picture it stands for, where the window shows a copy decoded for its frame.
class PhotoSource
{
public:
    virtual ~PhotoSource() = default;
    virtual QImage photoAtOwnSize() const = 0;
};

// The attachment fields of the card being edited, read and written by the
// attachments window. Slot k (0, 1, 2) is the card's File0k+1 and Desc0k+1:
// a bare file name in the attachments folder ("" for a free slot) and its
// description. They reach the archive only when the card is saved.
class AttachmentHolder
{
public:
    struct Attachments
    {
        std::array<QString, 3> files;
        std::array<QString, 3> descriptions;
    };
    virtual ~AttachmentHolder() = default;
    virtual Attachments attachments() const = 0;
    virtual void setAttachments(const Attachments &attachments) = 0;
};

// The ID card as the card window shows it, for the windows that print or
// preview it.
class IdCardSource
{
public:
    virtual ~IdCardSource() = default;
    // Texts trimmed of leading and trailing characters of code 32 or lower;
    // the logo and photo as the card shows them.
    virtual IdCardContent cardContent() const = 0;
};

// The school's four texts as the ID card window shows them, replaced all at
// once by the school data dialog when the operator confirms it.
class SchoolTextsTarget
{
public:
    virtual ~SchoolTextsTarget() = default;
    // Shown as given, an empty text included.
    virtual void takeSchoolTexts(const SchoolTexts &texts) = 0;
};
