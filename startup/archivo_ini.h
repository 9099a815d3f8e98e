#pragma once
// The local settings file of the workstation, "Quadrel.INI" in the program
// folder. Written by hand on Windows in any letter case; Linux file names are
// case-sensitive, so the folder is searched for it without regard to case.

#include <string>

namespace ferolin {

// Full path of the settings file in carpeta (which ends with a separator):
// the file whose name is "quadrel.ini" in any case, or carpeta + "Quadrel.INI"
// when there is none (then every read gives its default).
std::string RutaQuadrelIni(const std::string& carpeta);

}  // namespace ferolin
