#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace ventix {

// Read-only INI file with the semantics the catalogue and the symbol
// libraries are written for: the file is ISO-8859-1 (kept as UTF-8 inside),
// sections and keys compare without regard to case (Spanish letters
// included), and a missing, empty or malformed value gives the default.
// A missing or unreadable file reads as an empty one; `Leido` tells and
// `GetError` says why. Line endings and a byte-order mark are taken as
// LineasDeTexto takes them. Lookups take constant time, so reading a file
// is linear in its keys.
class TArchivoIni {
public:
    TArchivoIni() = default;
    explicit TArchivoIni(const std::filesystem::path& Archivo);
    // Parses INI text already in UTF-8 (for tests and in-memory data).
    static TArchivoIni DeTexto(std::string_view Texto);

    bool Leido() const { return LeidoOk; }
    const std::string& GetError() const { return Error; }
    const std::filesystem::path& GetArchivo() const { return Archivo; }

    // The value as written, blanks around it removed and one pair of matching
    // surrounding quotes stripped; Defecto when the key is missing.
    std::string ReadString(std::string_view Seccion, std::string_view Clave,
                           const std::string& Defecto) const;
    // Decimal, or hexadecimal with "0x" or "$" (up to 8 digits, taken as a
    // 32-bit pattern so colours like 0xFF000000 fit). Out of range,
    // malformed or empty gives Defecto.
    std::int32_t ReadInteger(std::string_view Seccion, std::string_view Clave,
                             std::int32_t Defecto) const;
    // A decimal with a point and an optional exponent; anything else gives
    // Defecto.
    double ReadFloat(std::string_view Seccion, std::string_view Clave, double Defecto) const;
    // ReadInteger with the default as 0 or 1, then non-zero is true.
    bool ReadBool(std::string_view Seccion, std::string_view Clave, bool Defecto) const;

    bool SectionExists(std::string_view Seccion) const;
    bool ValueExists(std::string_view Seccion, std::string_view Clave) const;
    // Section names and the keys of one section, in file order, as written.
    std::vector<std::string> Secciones() const;
    std::vector<std::string> Claves(std::string_view Seccion) const;

    // Conversions used by the readers, exposed for the other file readers.
    static bool TextoAEntero(std::string_view Texto, std::int32_t& Valor);
    static bool TextoAReal(std::string_view Texto, double& Valor);

private:
    struct TEntrada {
        std::string Clave;   // as written
        std::string Plegada; // MayusculasES of Clave
        std::string Valor;
    };
    struct TSeccion {
        std::string Nombre;
        std::string Plegado;
        std::vector<TEntrada> Entradas;
        std::unordered_map<std::string, std::size_t> Indice; // by Plegada
    };

    void Analizar(std::string_view Texto);
    // The section of that name, added at the end when new.
    TSeccion* Seccion(const std::string& Nombre);
    const TSeccion* BuscarSeccion(std::string_view Seccion) const;
    const TEntrada* Buscar(std::string_view Seccion, std::string_view Clave) const;

    std::filesystem::path Archivo;
    bool LeidoOk = false;
    std::string Error;
    std::vector<TSeccion> Datos;
    std::unordered_map<std::string, std::size_t> IndiceSecciones; // by Plegado
};

} // namespace ventix
