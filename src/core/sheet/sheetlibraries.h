#pragma once

#include <csv.h>
#include <unzip.h>
#include <xlsxwriter.h>
#include <zip.h>

// The spreadsheet libraries: libxlsxwriter (and the crypto library under it),
// minizip and libcsv live in the module lumetra_sheets, loaded at the first
// workbook written or sheet read; linked into the program they would load at
// every start. The functions the program calls, as pointers of the same
// names: call SheetLibraries::find()->workbook_new_opt(...).
#define LUMETRA_SHEET_FUNCTIONS(X)                                                                                     \
    X(workbook_new_opt)                                                                                                \
    X(workbook_add_format)                                                                                             \
    X(workbook_add_worksheet)                                                                                          \
    X(workbook_close)                                                                                                  \
    X(lxw_workbook_free)                                                                                               \
    X(format_set_num_format)                                                                                           \
    X(format_set_bold)                                                                                                 \
    X(worksheet_set_column_pixels)                                                                                     \
    X(worksheet_freeze_panes)                                                                                          \
    X(worksheet_repeat_rows)                                                                                           \
    X(worksheet_set_landscape)                                                                                         \
    X(worksheet_set_paper)                                                                                             \
    X(worksheet_write_string)                                                                                          \
    X(zipOpen64)                                                                                                       \
    X(zipOpenNewFileInZip64)                                                                                           \
    X(zipWriteInFileInZip)                                                                                             \
    X(zipCloseFileInZip)                                                                                               \
    X(zipClose)                                                                                                        \
    X(unzOpen64)                                                                                                       \
    X(unzClose)                                                                                                        \
    X(unzLocateFile)                                                                                                   \
    X(unzGetCurrentFileInfo64)                                                                                         \
    X(unzOpenCurrentFile)                                                                                              \
    X(unzReadCurrentFile)                                                                                              \
    X(unzCloseCurrentFile)                                                                                             \
    X(csv_init)                                                                                                        \
    X(csv_set_delim)                                                                                                   \
    X(csv_set_space_func)                                                                                              \
    X(csv_parse)                                                                                                       \
    X(csv_fini)                                                                                                        \
    X(csv_free)

struct SheetLibraries
{
    static constexpr int Version = 1;
    int version;
#define LUMETRA_SHEET_POINTER(name) decltype(&::name) name;
    LUMETRA_SHEET_FUNCTIONS(LUMETRA_SHEET_POINTER)
#undef LUMETRA_SHEET_POINTER

    // The module's functions, loaded once (ProgramModule says where from);
    // null when the module cannot be loaded.
    static const SheetLibraries *find();
};
#define LUMETRA_SHEET_MODULE_ENTRY "lumetraSheetModule"
