#pragma once

#include "project/ProjectFile.h"

namespace swr {

struct AppState;

// Builds the three bank images of the active configuration in st.Compiler from its
// three project files (any of them may be missing). On error nothing can be saved and
// the message names the file and the reason.
FileResult Compile_Banks(AppState& st);

// Writes bin/bank1.bin, bin/bank2.bin and bin/bank3.bin of the active configuration as
// one set: the three files go into a new folder beside bin, which takes the place of bin
// in one step once all three are on the disk. bin holds the old set or the new one,
// never a mix; on failure the old set stays and the message names the file or folder and
// the system's reason.
FileResult Save_Banks(const AppState& st);

// The first half of a device update: Compile_Banks, then Save_Banks when it succeeded.
FileResult Compile_And_Save_Banks(AppState& st);

// The three bank files just written, one line each: path and size in bytes.
QString Bank_Files_Summary(const AppState& st);

inline constexpr const char* Bank_File_Names[] = {"bank1.bin", "bank2.bin", "bank3.bin"};

} // namespace swr
