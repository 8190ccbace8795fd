#pragma once

#include <filesystem>
#include <string>

class QImage;

namespace ventix {

// Writes a picture by the file's extension, in any letter case: ".bmp" and
// ".png" through Qt, ".jpg" and ".jpeg" through libjpeg at quality 90.
// Raises std::runtime_error (in Spanish) for another extension or when the
// file cannot be written.
void GuardarImagen(const QImage& Imagen, const std::filesystem::path& Ruta);

// The picture as a JPEG file's bytes at the given quality.
std::string CodificarJpeg(const QImage& Imagen, int Calidad = 90);

} // namespace ventix
