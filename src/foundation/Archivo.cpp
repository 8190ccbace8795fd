#include "foundation/Archivo.h"

#include "foundation/Texto.h"

#include <cerrno>
#include <fcntl.h>
#include <fstream>
#include <limits>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace ventix {

namespace fs = std::filesystem;

namespace {

std::string Comillas(const fs::path& Ruta) {
    return "\"" + Ruta.string() + "\"";
}

// What the system's error means, in the program's language.
std::string Motivo(int Error) {
    switch (Error) {
    case ENOSPC:
        return "no queda espacio en el disco";
    case EDQUOT:
        return "se ha agotado la cuota de disco";
    case EFBIG:
        return "el archivo supera el tamaño permitido";
    case EACCES:
    case EPERM:
        return "no hay permiso";
    case ENOENT:
    case ENOTDIR:
        return "la carpeta no existe";
    case EROFS:
        return "el disco es de solo lectura";
    case EISDIR:
        return "es una carpeta";
    case EIO:
        return "error de entrada y salida del disco";
    case ENAMETOOLONG:
        return "el nombre es demasiado largo";
    default:
        return "error del sistema " + std::to_string(Error);
    }
}

[[noreturn]] void ErrorEscritura(const fs::path& Ruta, int Error) {
    throw std::runtime_error("No se puede escribir el archivo " + Comillas(Ruta) + ": " +
                             Motivo(Error));
}

bool EmpiezaConBom(std::string_view B) {
    return B.size() >= 3 && B.substr(0, 3) == "\xEF\xBB\xBF";
}

} // namespace

EFinArchivo::EFinArchivo(int UltimaLinea)
    : EListaError("El archivo termina antes de lo esperado (línea " + std::to_string(UltimaLinea) +
                  ")"),
      Linea(UltimaLinea) {}

std::string LeerArchivo(const fs::path& Ruta) {
    std::error_code ec;
    const auto estado = fs::status(Ruta, ec);
    if (ec || !fs::exists(estado))
        throw std::runtime_error("No se puede abrir el archivo " + Comillas(Ruta) + ": no existe");
    if (fs::is_directory(estado))
        throw std::runtime_error(Comillas(Ruta) + " es una carpeta");
    if (!fs::is_regular_file(estado))
        throw std::runtime_error(Comillas(Ruta) + " no es un archivo normal");
    const auto tamano = fs::file_size(Ruta, ec);
    if (ec)
        throw std::runtime_error("No se puede leer el archivo " + Comillas(Ruta));
    if (tamano > kMaximoArchivo)
        throw std::runtime_error("El archivo " + Comillas(Ruta) + " es demasiado grande (" +
                                 std::to_string(tamano / (1024 * 1024)) +
                                 " MB; el máximo es 256 MB)");
    std::ifstream f(Ruta, std::ios::binary);
    if (!f)
        throw std::runtime_error("No se puede abrir el archivo " + Comillas(Ruta));
    std::string bytes;
    try {
        bytes.resize(static_cast<std::size_t>(tamano));
    } catch (const std::bad_alloc&) {
        throw ESinMemoria("No hay memoria suficiente para leer el archivo " + Comillas(Ruta));
    }
    f.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (f.bad() || f.gcount() != static_cast<std::streamsize>(bytes.size()))
        throw std::runtime_error("Error al leer el archivo " + Comillas(Ruta));
    return bytes;
}

void EscribirArchivo(const fs::path& Archivo, std::string_view Bytes) {
    std::error_code ec;
    // A link is followed, so the file it names is replaced, not the link.
    const fs::path Ruta = fs::is_symlink(Archivo, ec) ? fs::weakly_canonical(Archivo, ec) : Archivo;
    const auto estado = fs::status(Ruta, ec);
    if (fs::is_directory(estado))
        ErrorEscritura(Archivo, EISDIR);
    const fs::path carpeta = Ruta.parent_path().empty() ? fs::path(".") : Ruta.parent_path();
    std::string plantilla = (carpeta / ("." + Ruta.filename().string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(plantilla.data());
    if (fd < 0)
        ErrorEscritura(Archivo, errno);
    auto fallo = [&](int Error) {
        ::close(fd);
        ::unlink(plantilla.c_str());
        ErrorEscritura(Archivo, Error);
    };
    // mkstemp makes the file private; give it what an ordinary new file gets.
    mode_t modo = 0666;
    struct stat previo {};
    if (::stat(Ruta.c_str(), &previo) == 0) {
        modo = previo.st_mode & 07777;
    } else {
        const mode_t mascara = ::umask(0);
        ::umask(mascara);
        modo &= ~mascara;
    }
    if (::fchmod(fd, modo) != 0)
        fallo(errno);
    for (std::size_t hecho = 0; hecho < Bytes.size();) {
        const ssize_t n = ::write(fd, Bytes.data() + hecho, Bytes.size() - hecho);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            fallo(n < 0 ? errno : ENOSPC);
        hecho += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0)
        fallo(errno);
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(plantilla.c_str());
        ErrorEscritura(Archivo, error);
    }
    if (::rename(plantilla.c_str(), Ruta.c_str()) != 0) {
        const int error = errno;
        ::unlink(plantilla.c_str());
        ErrorEscritura(Archivo, error);
    }
}

std::string TextoDeArchivo(std::string_view B) {
    const bool utf8 = EmpiezaConBom(B);
    if (utf8)
        B.remove_prefix(3);
    std::string r;
    r.reserve(B.size());
    for (std::size_t k = 0; k < B.size(); ++k) {
        if (B[k] == '\r') {
            r += '\n';
            if (k + 1 < B.size() && B[k + 1] == '\n')
                ++k;
        } else {
            r += B[k];
        }
    }
    return utf8 ? TextoAUtf8(r) : Latin1AUtf8(r);
}

namespace {

bool FinDeLinea(char c) {
    return c == '\r' || c == '\n';
}

} // namespace

TLineasTexto::TLineasTexto(std::string_view B) {
    Utf8 = EmpiezaConBom(B);
    if (Utf8)
        B.remove_prefix(3);
    if (B.size() >= static_cast<std::size_t>(std::numeric_limits<int>::max()))
        throw std::length_error("El texto es demasiado largo");
    Texto = B;
    std::size_t a = 0;
    while (a < B.size()) {
        Inicios.push_back(static_cast<std::uint32_t>(a));
        std::size_t b = a;
        while (b < B.size() && !FinDeLinea(B[b]))
            ++b;
        a = b + 1;
        if (b < B.size() && B[b] == '\r' && a < B.size() && B[a] == '\n')
            ++a;
    }
}

std::string TLineasTexto::Linea(int k) const {
    if (k < 0 || k >= Count())
        throw EListaError(k);
    // A line runs to the next one's start, less its ending (CR LF, LF or CR;
    // none at the end of the text): a line holds no CR or LF of its own.
    const std::size_t a = Inicios[static_cast<std::size_t>(k)];
    std::size_t b = k + 1 < Count() ? Inicios[static_cast<std::size_t>(k) + 1] : Texto.size();
    if (b > a && Texto[b - 1] == '\n')
        --b;
    if (b > a && Texto[b - 1] == '\r')
        --b;
    const std::string_view l = Texto.substr(a, b - a);
    return Utf8 ? TextoAUtf8(l) : Latin1AUtf8(l);
}

std::vector<std::string> LineasDeTexto(std::string_view B) {
    const TLineasTexto lineas(B);
    std::vector<std::string> r;
    r.reserve(static_cast<std::size_t>(lineas.Count()));
    for (int k = 0; k < lineas.Count(); ++k)
        r.push_back(lineas.Linea(k));
    return r;
}

} // namespace ventix
