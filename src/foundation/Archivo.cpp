#include "foundation/Archivo.h"

#include "foundation/Texto.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
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

namespace {

// The size of a file that may be read whole: LeerArchivo's checks.
std::uintmax_t ComprobarLectura(const fs::path& Ruta) {
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
    return tamano;
}

} // namespace

std::string LeerArchivo(const fs::path& Ruta) {
    const auto tamano = ComprobarLectura(Ruta);
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

namespace {

constexpr int kLineasPorPunto = 64;

// Finds where lines begin, block after block, as TLineasTexto does in the
// whole text: a line ends at CR LF, LF or CR, and the LF of a CR LF split
// between two blocks still belongs to the first line's ending.
struct TCortador {
    bool EnLinea = false;
    bool TrasCR = false;
    template <class F> void Cortar(const char* D, std::size_t N, std::uint32_t Base, F&& Nueva) {
        std::size_t j = 0;
        while (j < N) {
            if (TrasCR) {
                TrasCR = false;
                if (D[j] == '\n') {
                    ++j;
                    continue;
                }
            }
            if (!EnLinea) {
                Nueva(static_cast<std::uint32_t>(Base + j));
                EnLinea = true;
            }
            // The rest of the line, eight bytes at a time while none of them
            // is below 14 (no CR or LF can be among them).
            for (std::uint64_t w; j + 8 <= N; j += 8) {
                std::memcpy(&w, D + j, 8);
                constexpr std::uint64_t unos = 0x0101010101010101u;
                if (((w - 14 * unos) & ~w & 0x80 * unos) != 0)
                    break;
            }
            while (j < N && (static_cast<unsigned char>(D[j]) > '\r' || !FinDeLinea(D[j])))
                ++j;
            if (j == N)
                return;
            EnLinea = false;
            TrasCR = D[j] == '\r';
            ++j;
        }
    }
};

} // namespace

TLineasArchivo::TLineasArchivo(const fs::path& R, std::size_t B)
    : Ruta(R), Bloque(std::max<std::size_t>(B, 1)) {
    // As LeerArchivo: the size checked is the size read.
    Tamano = static_cast<std::uint32_t>(ComprobarLectura(Ruta));
    Fd = ::open(Ruta.c_str(), O_RDONLY | O_CLOEXEC);
    if (Fd < 0)
        throw std::runtime_error("No se puede abrir el archivo " + Comillas(Ruta));
    try {
        std::uint32_t desde = 0;
        if (Tamano >= 3) {
            char marca[3];
            LeerEn(0, marca, 3);
            if (EmpiezaConBom(std::string_view(marca, 3))) {
                Utf8 = true;
                desde = 3;
            }
        }
        std::string bloque(std::min<std::size_t>(Bloque, Tamano), '\0');
        TCortador cortador;
        while (desde < Tamano) {
            const std::size_t n = std::min<std::size_t>(bloque.size(), Tamano - desde);
            LeerEn(desde, bloque.data(), n);
            cortador.Cortar(bloque.data(), n, desde, [this](std::uint32_t Inicio) {
                if (Lineas % kLineasPorPunto == 0)
                    Puntos.push_back(Inicio);
                ++Lineas;
            });
            desde += static_cast<std::uint32_t>(n);
        }
    } catch (...) {
        ::close(Fd);
        throw;
    }
}

TLineasArchivo::~TLineasArchivo() {
    if (Fd >= 0)
        ::close(Fd);
}

void TLineasArchivo::LeerEn(std::uint32_t Desde, char* Destino, std::size_t N) const {
    for (std::size_t hecho = 0; hecho < N;) {
        const ssize_t n = ::pread(Fd, Destino + hecho, N - hecho,
                                  static_cast<off_t>(Desde) + static_cast<off_t>(hecho));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            throw std::runtime_error("Error al leer el archivo " + Comillas(Ruta));
        hecho += static_cast<std::size_t>(n);
    }
}

void TLineasArchivo::Cargar(int Primera, std::uint32_t Desde) const {
    for (std::size_t tam = Bloque;; tam *= 2) {
        const std::size_t n = std::min<std::size_t>(tam, Tamano - std::min(Desde, Tamano));
        Datos.resize(n);
        LeerEn(Desde, Datos.data(), n);
        Inicios.clear();
        TCortador cortador;
        cortador.Cortar(Datos.data(), n, Desde,
                        [this](std::uint32_t Inicio) { Inicios.push_back(Inicio); });
        const bool fin = Desde + n == Tamano;
        // The last line is whole when the file ends in it, or when an LF ended
        // it (after a CR, the next byte could still belong to its ending).
        if (fin || (!cortador.EnLinea && !cortador.TrasCR))
            Inicios.push_back(static_cast<std::uint32_t>(Desde + n));
        VDesde = Desde;
        VPrimera = Primera;
        if (Inicios.size() >= 2 || fin)
            return;
    }
}

std::string TLineasArchivo::Linea(int k) const {
    if (k < 0 || k >= Lineas)
        throw EListaError(k);
    auto enBloque = [&] {
        return k >= VPrimera && k < VPrimera + static_cast<int>(Inicios.size()) - 1;
    };
    if (!enBloque()) {
        // Going on from the block read last, or from the nearest noted start.
        const int siguiente = VPrimera + std::max(static_cast<int>(Inicios.size()) - 1, 0);
        if (Inicios.empty() || k < siguiente || k - siguiente >= kLineasPorPunto) {
            const int punto = k / kLineasPorPunto;
            Cargar(punto * kLineasPorPunto, Puntos[static_cast<std::size_t>(punto)]);
        }
        while (!enBloque()) {
            const int antes = VPrimera;
            if (Inicios.size() < 2)
                throw std::runtime_error("Error al leer el archivo " + Comillas(Ruta));
            Cargar(VPrimera + static_cast<int>(Inicios.size()) - 1, Inicios.back());
            if (VPrimera == antes)
                throw std::runtime_error("Error al leer el archivo " + Comillas(Ruta));
        }
    }
    const std::size_t j = static_cast<std::size_t>(k - VPrimera);
    const std::size_t a = Inicios[j] - VDesde;
    std::size_t b = Inicios[j + 1] - VDesde;
    if (b > a && Datos[b - 1] == '\n')
        --b;
    if (b > a && Datos[b - 1] == '\r')
        --b;
    const std::string_view l(Datos.data() + a, b - a);
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
