#include "files/Imagen.h"

#include "foundation/Archivo.h"
#include "foundation/Texto.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>

#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>
#include <stdexcept>
#include <vector>

namespace ventix {

namespace {

// libjpeg reports errors by calling error_exit, which must not return: we
// leave by an exception, which unwinds through the library's C frames
// (built with unwind tables on Debian) back to us.
struct TErrorJpeg : jpeg_error_mgr {};

[[noreturn]] void SalirConError(j_common_ptr Info) {
    char mensaje[JMSG_LENGTH_MAX];
    (*Info->err->format_message)(Info, mensaje);
    throw std::runtime_error(std::string("Error al codificar la imagen JPEG: ") + mensaje);
}

} // namespace

std::string CodificarJpeg(const QImage& Imagen, int Calidad) {
    const QImage rgb = Imagen.convertToFormat(QImage::Format_RGB888);
    if (rgb.isNull())
        throw std::runtime_error("No hay imagen que guardar");

    jpeg_compress_struct info{};
    TErrorJpeg error{};
    info.err = jpeg_std_error(&error);
    error.error_exit = SalirConError;
    unsigned char* buffer = nullptr;
    unsigned long largo = 0;
    try {
        jpeg_create_compress(&info);
        jpeg_mem_dest(&info, &buffer, &largo);
        info.image_width = static_cast<JDIMENSION>(rgb.width());
        info.image_height = static_cast<JDIMENSION>(rgb.height());
        info.input_components = 3;
        info.in_color_space = JCS_RGB;
        jpeg_set_defaults(&info);
        jpeg_set_quality(&info, Calidad, TRUE);
        jpeg_start_compress(&info, TRUE);
        while (info.next_scanline < info.image_height) {
            JSAMPROW fila =
                const_cast<JSAMPROW>(rgb.constScanLine(static_cast<int>(info.next_scanline)));
            jpeg_write_scanlines(&info, &fila, 1);
        }
        jpeg_finish_compress(&info);
    } catch (...) {
        jpeg_destroy_compress(&info);
        std::free(buffer);
        throw;
    }
    std::string bytes(reinterpret_cast<const char*>(buffer), largo);
    jpeg_destroy_compress(&info);
    std::free(buffer);
    return bytes;
}

const char* FormatoImagen(const std::filesystem::path& Ruta) {
    const std::string ext = MayusculasES(Ruta.extension().string());
    if (ext == ".JPG" || ext == ".JPEG")
        return "JPEG";
    if (ext == ".BMP")
        return "BMP";
    if (ext == ".PNG")
        return "PNG";
    throw std::invalid_argument(
        (ext.empty()
             ? std::string("Falta la extensión del archivo de imagen")
             : "El formato de imagen \"" + Cita(Ruta.extension().string()) + "\" no se admite") +
        ": use .png, .bmp, .jpg, .svg o .pdf");
}

void GuardarImagen(const QImage& Imagen, const std::filesystem::path& Ruta) {
    const std::string formato = FormatoImagen(Ruta);
    if (Imagen.isNull())
        throw std::runtime_error("No hay imagen que guardar");
    std::string bytes;
    if (formato == "JPEG") {
        bytes = CodificarJpeg(Imagen, 90);
    } else {
        QByteArray datos;
        QBuffer buffer(&datos);
        buffer.open(QIODevice::WriteOnly);
        if (!Imagen.save(&buffer, formato.c_str()))
            throw std::runtime_error("No se puede codificar la imagen " + formato);
        bytes.assign(datos.constData(), static_cast<std::size_t>(datos.size()));
    }
    EscribirArchivo(Ruta, bytes);
}

} // namespace ventix
