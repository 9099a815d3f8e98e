#pragma once
// Environment variables and the folders the program finds itself in.

#include <string>

namespace ferolin::os {

// "" when the variable is not set.
std::string GetEnv(const std::string& name);
void SetEnv(const std::string& name, const std::string& value);
void UnsetEnv(const std::string& name);

// The running executable's folder, ending with "/". Tests point it at a
// temporary folder with SetProgramFolder; "" returns to the executable's folder.
std::string ProgramFolder();
void SetProgramFolder(const std::string& folder);
// The executable's file name without folder and extension.
std::string ExecutableName();
// $TMPDIR, else /tmp; ends with "/".
std::string TempFolder();

}  // namespace ferolin::os
