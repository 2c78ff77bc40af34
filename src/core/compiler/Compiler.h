#pragma once

#include "compiler/CompiledBanks.h"

namespace swr {

class Texts;

// Builds the three bank images of the configuration in folder from its three project
// files (any of them may be missing). Result is ok when the images may be saved;
// otherwise its message names the file and the reason.
Compiled_Banks Compile_Configuration(const QString& folder, const Texts& texts);

// Writes bin/bank1.bin, bin/bank2.bin and bin/bank3.bin of the configuration in folder
// as one set: the three files go into a new folder beside bin, which takes the place of
// bin in one step once all three are on the disk. bin holds the old set or the new one,
// never a mix; on failure the old set stays and the message names the file or folder and
// the system's reason. Banks that did not compile are not written.
FileResult Save_Banks(const QString& folder, const Texts& texts, const Compiled_Banks& banks);

// The first half of a device update: compiles the folder into banks, then writes them
// when that succeeded.
FileResult Compile_And_Save_Banks(const QString& folder, const Texts& texts, Compiled_Banks& banks);

// The three bank files just written into folder, one line each: path and size in bytes.
QString Bank_Files_Summary(const QString& folder, const Texts& texts, const Compiled_Banks& banks);

inline constexpr const char* Bank_File_Names[] = {"bank1.bin", "bank2.bin", "bank3.bin"};

} // namespace swr
