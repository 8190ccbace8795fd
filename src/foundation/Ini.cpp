#include "foundation/Ini.h"

#include "foundation/Archivo.h"
#include "foundation/Numeros.h"
#include "foundation/Texto.h"

#include <ini.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace ventix {

namespace {

std::string_view Recortar(std::string_view s) {
    const auto blanco = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!s.empty() && blanco(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blanco(s.back()))
        s.remove_suffix(1);
    return s;
}

int DigitoHex(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

TArchivoIni::TArchivoIni(const std::filesystem::path& Ruta) : Archivo(Ruta) {
    std::string bytes;
    try {
        bytes = LeerArchivo(Ruta);
    } catch (const std::exception& e) {
        Error = e.what();
        return;
    }
    LeidoOk = true;
    Analizar(TextoDeArchivo(bytes));
}

TArchivoIni TArchivoIni::DeTexto(std::string_view Texto) {
    TArchivoIni ini;
    ini.LeidoOk = true;
    ini.Analizar(Texto);
    return ini;
}

void TArchivoIni::Analizar(std::string_view Texto) {
    // libinih keeps its options in process-wide variables; set them for the
    // rules of these files before every parse: no inline comments (a ';' may
    // be part of a value), no continuation lines, lines of any length.
    ini_allow_multiline = false;
    ini_allow_inline_comments = false;
    ini_allow_no_value = false;
    ini_stop_on_first_error = false;
    // The parser stops at a NUL byte; the rest of such a file is lost, as it
    // is for the platform's readers.
    const std::string texto(Texto);
    std::size_t largo = 0, maximo = 0;
    for (char c : texto) {
        largo = c == '\n' ? 0 : largo + 1;
        maximo = std::max(maximo, largo);
    }
    ini_use_stack = false;
    ini_allow_realloc = false;
    ini_max_line = static_cast<int>(std::min<std::size_t>(maximo + 3, INT32_MAX));
    ini_initial_alloc = ini_max_line;
    // libinih reports keys only; a section without keys still exists, so the
    // headers are gathered first, in file order.
    for (std::size_t a = 0; a < texto.size();) {
        const std::size_t b = std::min(texto.find('\n', a), texto.size());
        const std::string_view linea = Recortar(std::string_view(texto).substr(a, b - a));
        if (linea.size() >= 2 && linea.front() == '[') {
            const std::size_t fin = linea.find(']');
            if (fin != std::string_view::npos)
                Seccion(std::string(Recortar(linea.substr(1, fin - 1))));
        }
        a = b + 1;
    }
    auto manejador = [](void* usuario, const char* seccion, const char* clave,
                        const char* valor) -> int {
        auto& yo = *static_cast<TArchivoIni*>(usuario);
        TSeccion* s = yo.Seccion(std::string(Recortar(seccion ? seccion : "")));
        if (!clave)
            return 1;
        const std::string k = clave;
        std::string kp = MayusculasES(k);
        // The first occurrence wins.
        if (s->Indice.emplace(kp, s->Entradas.size()).second)
            s->Entradas.push_back({k, std::move(kp), valor ? valor : ""});
        return 1;
    };
    ini_parse_string(texto.c_str(), manejador, this);
}

TArchivoIni::TSeccion* TArchivoIni::Seccion(const std::string& Nombre) {
    std::string plegado = MayusculasES(Nombre);
    const auto [it, nueva] = IndiceSecciones.emplace(plegado, Datos.size());
    if (nueva)
        Datos.push_back({Nombre, std::move(plegado), {}, {}});
    return &Datos[it->second];
}

const TArchivoIni::TSeccion* TArchivoIni::BuscarSeccion(std::string_view Seccion) const {
    const auto it = IndiceSecciones.find(MayusculasES(Recortar(Seccion)));
    return it == IndiceSecciones.end() ? nullptr : &Datos[it->second];
}

const TArchivoIni::TEntrada* TArchivoIni::Buscar(std::string_view Seccion,
                                                 std::string_view Clave) const {
    const TSeccion* s = BuscarSeccion(Seccion);
    if (!s)
        return nullptr;
    const auto it = s->Indice.find(MayusculasES(Recortar(Clave)));
    return it == s->Indice.end() ? nullptr : &s->Entradas[it->second];
}

std::string TArchivoIni::ReadString(std::string_view Seccion, std::string_view Clave,
                                    const std::string& Defecto) const {
    const TEntrada* e = Buscar(Seccion, Clave);
    if (!e)
        return Defecto;
    std::string_view v = Recortar(e->Valor);
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    return std::string(v);
}

bool TArchivoIni::TextoAEntero(std::string_view Texto, std::int32_t& Valor) {
    std::string_view s = Recortar(Texto);
    bool negativo = false;
    if (!s.empty() && (s.front() == '+' || s.front() == '-')) {
        negativo = s.front() == '-';
        s.remove_prefix(1);
    }
    bool hex = false;
    if (!s.empty() && s.front() == '$') {
        hex = true;
        s.remove_prefix(1);
    } else if (s.size() >= 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
        hex = true;
        s.remove_prefix(2);
    }
    if (s.empty())
        return false;
    std::uint64_t n = 0;
    if (hex) {
        for (char c : s) {
            const int d = DigitoHex(c);
            if (d < 0)
                return false;
            n = n * 16 + static_cast<std::uint64_t>(d);
            if (n > 0xFFFFFFFFull)
                return false;
        }
        // Hexadecimal is a 32-bit pattern: 0xFF000000 is a negative integer.
        const auto patron = static_cast<std::uint32_t>(n);
        const auto v = static_cast<std::int32_t>(negativo ? 0u - patron : patron);
        Valor = v;
        return true;
    }
    for (char c : s) {
        if (c < '0' || c > '9')
            return false;
        n = n * 10 + static_cast<std::uint64_t>(c - '0');
        if (n > 0x80000000ull)
            return false;
    }
    if (!negativo && n > 0x7FFFFFFFull)
        return false;
    Valor = negativo ? static_cast<std::int32_t>(-static_cast<std::int64_t>(n))
                     : static_cast<std::int32_t>(n);
    return true;
}

bool TArchivoIni::TextoAReal(std::string_view Texto, double& Valor) {
    const std::string_view s = Recortar(Texto);
    // The files use the point; a comma is not a decimal separator here.
    if (s.empty() || s.find(',') != std::string_view::npos)
        return false;
    try {
        const double v = TextoANumero(s);
        if (!std::isfinite(v))
            return false;
        Valor = v;
        return true;
    } catch (const EConversionError&) {
        return false;
    }
}

std::int32_t TArchivoIni::ReadInteger(std::string_view Seccion, std::string_view Clave,
                                      std::int32_t Defecto) const {
    const TEntrada* e = Buscar(Seccion, Clave);
    std::int32_t v;
    if (e && TextoAEntero(ReadString(Seccion, Clave, ""), v))
        return v;
    return Defecto;
}

double TArchivoIni::ReadFloat(std::string_view Seccion, std::string_view Clave,
                              double Defecto) const {
    const TEntrada* e = Buscar(Seccion, Clave);
    double v;
    if (e && TextoAReal(ReadString(Seccion, Clave, ""), v))
        return v;
    return Defecto;
}

bool TArchivoIni::ReadBool(std::string_view Seccion, std::string_view Clave, bool Defecto) const {
    return ReadInteger(Seccion, Clave, Defecto ? 1 : 0) != 0;
}

bool TArchivoIni::SectionExists(std::string_view Seccion) const {
    return BuscarSeccion(Seccion) != nullptr;
}

bool TArchivoIni::ValueExists(std::string_view Seccion, std::string_view Clave) const {
    return Buscar(Seccion, Clave) != nullptr;
}

std::vector<std::string> TArchivoIni::Secciones() const {
    std::vector<std::string> r;
    for (const auto& s : Datos)
        r.push_back(s.Nombre);
    return r;
}

std::vector<std::string> TArchivoIni::Claves(std::string_view Seccion) const {
    std::vector<std::string> r;
    if (const TSeccion* s = BuscarSeccion(Seccion))
        for (const auto& e : s->Entradas)
            r.push_back(e.Clave);
    return r;
}

} // namespace ventix
