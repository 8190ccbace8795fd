#pragma once

#include <filesystem>

namespace ventix {

class TDiagrama;

namespace ArchivoDiagrama {

// Writes the diagram to a file whose extension (any letter case) chooses the
// form: .png a picture, .svg a drawing, .csv the steps x rows table. Raises
// std::runtime_error with a Spanish message for another extension or a file
// that cannot be written; a file that existed is replaced only once the new
// one is complete.
void Guardar(const TDiagrama& Diagrama, const std::filesystem::path& Ruta);

} // namespace ArchivoDiagrama
} // namespace ventix
