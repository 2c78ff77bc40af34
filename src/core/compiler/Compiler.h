#pragma once

#include "project/ProjectFile.h"

namespace swr {

struct AppState;

// Builds the three bank images of the active configuration in st.Compiler from its
// three project files (any of them may be missing). On error nothing can be saved and
// the message names the file and the reason.
FileResult Compile_Banks(AppState& st);

// Writes bin/bank1.bin, bin/bank2.bin and bin/bank3.bin of the active configuration:
// all three are written to temporary files first and replace the old ones only when all
// three are complete.
FileResult Save_Banks(const AppState& st);

// The first half of a device update: Compile_Banks, then Save_Banks when it succeeded.
FileResult Compile_And_Save_Banks(AppState& st);

// The three bank files just written, one line each: path and size in bytes.
QString Bank_Files_Summary(const AppState& st);

inline constexpr const char* Bank_File_Names[] = {"bank1.bin", "bank2.bin", "bank3.bin"};

} // namespace swr
