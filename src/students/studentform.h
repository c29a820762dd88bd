#pragma once

#include "archive/studentrecord.h"

#include <QString>

#include <array>
#include <optional>

// What the student window shows and checks, without any widget: where each
// card field sits, which fields a save requires, and the typing rules.
namespace StudentForm {

constexpr int EditCount = 26;

struct EditSpec
{
    StudentRecord::Field field; // also gives the edit's name and maximum length
    int x, y, width;
    const char *captionName;    // lblCampo...
    const char *caption;        // UTF-8
    bool brownCaption;
};

// The 26 edits in tab order, which is also the Enter sequence.
const std::array<EditSpec, EditCount> &edits();

struct RequiredField
{
    StudentRecord::Field field;
    const char *warning; // UTF-8
};

// Checked in this order by a save; the first empty one stops it.
const std::array<RequiredField, 6> &requiredFields();

// The first required field whose trimmed value is empty, if any.
std::optional<RequiredField> firstMissing(const StudentRecord &card);

// Trimmed (codes <= 32 at both ends) with a-z turned to capitals; accented
// letters stay as they are.
QString upperAsciiTrimmed(const QString &text);

// True when every character is an ASCII digit (also for an empty text).
bool isAllDigits(const QString &text);

// The record number shown in the position label: empty text is a new card
// (nullopt with ok = true); text that is not a decimal number gives ok = false.
std::optional<qint64> parsePosition(const QString &text, bool *ok);

} // namespace StudentForm
