#pragma once

#include "foundation/Coleccion.h"

#include <cstdint>
#include <filesystem>
#include <new>
#include <string>
#include <string_view>
#include <vector>

namespace ventix {

// A file that ends before a value its reader needs: "El archivo termina antes
// de lo esperado (línea N)", N the file's last line. A list error, as an index
// past the last line is.
class EFinArchivo : public EListaError {
public:
    explicit EFinArchivo(int UltimaLinea);
    int Linea;
};

// No memory for what was asked: a std::bad_alloc that says so in Spanish.
class ESinMemoria : public std::bad_alloc {
public:
    explicit ESinMemoria(std::string Mensaje) : Mensaje(std::move(Mensaje)) {}
    const char* what() const noexcept override { return Mensaje.c_str(); }

private:
    std::string Mensaje;
};

// The largest input file read whole: anything bigger is refused before reading.
constexpr std::uintmax_t kMaximoArchivo = 256u * 1024u * 1024u;

// The bytes of a regular file. Raises std::runtime_error in Spanish naming the
// file when it is missing, a folder, not a regular file, over kMaximoArchivo,
// or the read fails, and ESinMemoria when there is
// no memory for it.
std::string LeerArchivo(const std::filesystem::path& Ruta);

// Replaces the file with the bytes, or leaves it as it was: the bytes go to a
// temporary file in the same folder, which is renamed over the file once they
// are all on disk. A new file gets the permissions the user's umask gives, an
// existing one keeps its own. Raises std::runtime_error in Spanish naming the
// file and the reason.
void EscribirArchivo(const std::filesystem::path& Ruta, std::string_view Bytes);

// Text of a file, with the line endings CR LF, LF or CR alone, as its lines.
// A leading UTF-8 byte-order mark is skipped and the text after it is read as
// UTF-8; otherwise it is ISO-8859-1. The lines come back in UTF-8.
std::vector<std::string> LineasDeTexto(std::string_view Bytes);

// The same lines found in the bytes without copying them, each decoded when
// asked for: a large file read line by line is held once, not again as a
// string per line. The bytes must outlive it.
class TLineasTexto {
public:
    // Raises std::length_error for text of 2 GiB or more.
    explicit TLineasTexto(std::string_view Bytes);

    int Count() const { return static_cast<int>(Inicios.size()); }
    // Line k (from 0), in UTF-8 as LineasDeTexto gives it.
    std::string Linea(int k) const;

private:
    std::string_view Texto; // after the byte-order mark
    bool Utf8 = false;
    std::vector<std::uint32_t> Inicios;
};

// The lines of a file as `TLineasTexto` finds them in its bytes, read from
// the file in blocks: a large file is never held whole. A first pass counts
// the lines and notes where every 64th begins; a line is then decoded from
// the block that holds it (a block grows to hold a longer line), so a reader
// going forward reads the file twice from the system's cache and keeps one
// block. The file stays open while the lines are read.
class TLineasArchivo {
public:
    // LeerArchivo's checks, with its messages; Bloque is the bytes read at once.
    explicit TLineasArchivo(const std::filesystem::path& Ruta, std::size_t Bloque = 64 * 1024);
    TLineasArchivo(const TLineasArchivo&) = delete;
    TLineasArchivo& operator=(const TLineasArchivo&) = delete;
    ~TLineasArchivo();

    int Count() const { return Lineas; }
    // Line k (from 0), in UTF-8 as LineasDeTexto gives it. Raises EListaError
    // outside the lines, and std::runtime_error when the file no longer reads
    // as it did (it shrank meanwhile).
    std::string Linea(int k) const;

private:
    // Reads the block that begins with line Primera at byte Desde.
    void Cargar(int Primera, std::uint32_t Desde) const;
    void LeerEn(std::uint32_t Desde, char* Destino, std::size_t N) const;

    std::filesystem::path Ruta;
    int Fd = -1;
    std::size_t Bloque;
    bool Utf8 = false;
    std::uint32_t Tamano = 0; // bytes of the file, its byte-order mark included
    int Lineas = 0;
    std::vector<std::uint32_t> Puntos; // where lines 0, 64, 128... begin
    // The block read last: its bytes from Desde, the lines VPrimera.. whole
    // in it, and where each begins with the start of the next one after them.
    mutable std::string Datos;
    mutable std::uint32_t VDesde = 0;
    mutable int VPrimera = 0;
    mutable std::vector<std::uint32_t> Inicios;
};

// The same text as one UTF-8 string with LF endings.
std::string TextoDeArchivo(std::string_view Bytes);

} // namespace ventix
