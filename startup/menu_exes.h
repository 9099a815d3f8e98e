#pragma once
// The pieces of MenuExes (servicios.h): the launch-parameter string written for
// a sibling program and the program file it starts.

#include <string>

namespace ferolin {

// " ; @server=...; @dbname=...; @usuario=...; @Password=...;
// @ParametroAdicional=...; mirk@ ; @UsuarioLogeado = ...; @Caja=...;", every
// value inserted unchanged.
std::string ParametrosParaHermano(const std::string& servidor, const std::string& base,
                                  const std::string& usuario, const std::string& clave,
                                  const std::string& adicional, const std::string& usuarioLogeado,
                                  const std::string& caja);

// The program file for Programa: a full path ("SHELL:" + path; "/" counts as a
// path separator like "\") loses its six-character prefix; "SHELL:" + name is
// the name in the program folder; a bare name is in the program folder.
// carpeta ends with a separator.
std::string ProgramaHermano(const std::string& carpeta, const std::string& Programa);

}  // namespace ferolin
