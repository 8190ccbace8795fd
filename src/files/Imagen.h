#pragma once

#include <filesystem>
#include <string>

class QImage;

namespace ventix {

// The format a picture file's extension asks for, in any letter case: "PNG",
// "BMP" or "JPEG" (".jpg", ".jpeg"). Raises std::invalid_argument, in
// Spanish, for any other extension or none.
const char* FormatoImagen(const std::filesystem::path& Ruta);

// Writes a picture in the format of its extension (FormatoImagen): PNG and
// BMP through Qt, JPEG through libjpeg at quality 90, the file replaced
// whole or not at all (EscribirArchivo). Raises std::runtime_error (in
// Spanish) when it cannot be written.
void GuardarImagen(const QImage& Imagen, const std::filesystem::path& Ruta);

// The picture as a JPEG file's bytes at the given quality.
std::string CodificarJpeg(const QImage& Imagen, int Calidad = 90);

} // namespace ventix
