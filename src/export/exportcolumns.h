#pragma once

#include "archive/studentrecord.h"

#include <array>

// The columns of the export grid and of the exported sheet, left to right.
// Column 0 is the card number; columns 1 to 25 are card fields (Sesso and the
// attachment fields are not exported).
namespace ExportColumns {

struct Column
{
    const char *name;       // colNum, colStudente, ...
    const char *header;     // grid header and sheet caption, UTF-8
    int gridWidth;          // in the grid, pixels
    int sheetWidth;         // width= of the sheet's header cell (0: not exported)
    bool editable;          // the operator may type into it
    StudentRecord::Field field; // meaningless for column 0
};

constexpr int Count = 26;
constexpr int FieldCount = Count - 1;

const std::array<Column, Count> &columns();

} // namespace ExportColumns
