#include "files/ArchivoAer.h"

#include "circuit/AerConexion.h"
#include "circuit/AerPaintBox.h"
#include "circuit/AerTexto.h"
#include "circuit/AerTubo.h"
#include "circuit/AerValvula.h"
#include "foundation/Archivo.h"
#include "foundation/Numeros.h"
#include "foundation/Texto.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <exception>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <type_traits>
#include <unordered_map>

namespace ventix {

ELecturaAer::ELecturaAer(int L, const std::string& M)
    : std::runtime_error("línea " + std::to_string(L) + ": " + M), Linea(L), Motivo(M) {}

namespace ArchivoAer {

namespace {

constexpr std::string_view kTemporal = "$$$";

bool EsTemporal(const std::string& Nombre) {
    return Nombre.compare(0, kTemporal.size(), kTemporal) == 0;
}

void BorrarTemporales(TAerPaintBox& L) {
    for (int i = 0; i < L.Componentes.Count(); ++i) {
        auto* c = L.Componentes.Item(i);
        if (EsTemporal(c->GetNombre()))
            c->SetNombre("");
    }
}

std::string Flag(bool B) {
    return B ? "True" : "False";
}

// "%f": exactly two decimals, independent of the locale.
std::string DosDecimales(double V) {
    char buf[400];
    auto r = std::to_chars(buf, buf + sizeof buf, V, std::chars_format::fixed, 2);
    std::string s = r.ec == std::errc() ? std::string(buf, r.ptr) : NumeroATexto(V);
    if (s == "-0.00")
        s = "0.00";
    return s;
}

std::string Param(std::string_view Nombre, const std::string& Valor) {
    return "    <PARAM " + std::string(Nombre) + "=\"" + Valor + "\" />";
}

bool Blanco(unsigned char c) {
    return c <= ' ' || c == 0x7F;
}

// ---- reading ---------------------------------------------------------------

int AEntero(const std::string& Texto) {
    const auto* p = Texto.data();
    const auto* fin = p + Texto.size();
    if (p != fin && *p == '+')
        ++p;
    int v = 0;
    auto r = std::from_chars(p, fin, v);
    if (Texto.empty() || r.ec != std::errc() || r.ptr != fin)
        throw EConversionError("'" + Cita(Texto) + "' no es un número entero válido");
    return v;
}

std::int64_t AEntero64(const std::string& Texto) {
    const auto* p = Texto.data();
    const auto* fin = p + Texto.size();
    if (p != fin && *p == '+')
        ++p;
    std::int64_t v = 0;
    auto r = std::from_chars(p, fin, v);
    if (Texto.empty() || r.ec != std::errc() || r.ptr != fin)
        throw EConversionError("'" + Cita(Texto) + "' no es un número entero válido");
    return v;
}

// Decimals in a file always use the point: a comma is an error here.
double ADecimal(const std::string& Texto) {
    const double v = Texto.find(',') == std::string::npos ? TextoANumero(Texto) : NAN;
    if (!std::isfinite(v))
        throw EConversionError("'" + Cita(Texto) + "' no es un número válido");
    return v;
}

bool AFlag(const std::string& Texto) {
    const std::string m = MayusculasES(Texto);
    if (m == "TRUE")
        return true;
    if (m == "FALSE")
        return false;
    try {
        return ADecimal(Texto) != 0;
    } catch (const EConversionError&) {
        throw EConversionError("'" + Cita(Texto) + "' no es un valor lógico válido");
    }
}

class TLector {
public:
    // Fuente gives line k (from 0) of the N lines.
    TLector(TAerPaintBox& L, std::function<std::string(int)> Fuente, int N)
        : L(L), Fuente(std::move(Fuente)), N(N) {}

    void Leer();
    int Actual() const { return i; }

private:
    std::string Linea(int k) const {
        if (k < 0)
            throw EListaError(k);
        if (k >= N) {
            i = N - 1;
            throw EFinArchivo(N);
        }
        return Fuente(k);
    }
    // The first token of line k.
    std::string Primero(int k) const {
        std::string l = Linea(k);
        return SiguienteToken(l);
    }
    // The tag line of a section must hold the tag alone.
    void ExigirSolo(const std::string& Etiqueta) const {
        std::string l = Linea(i);
        SiguienteToken(l);
        if (!SiguienteToken(l).empty())
            throw std::runtime_error("la etiqueta " + Etiqueta + " debe ir sola en su línea");
    }
    // The value of the second token of a PARAM line.
    void Parametro(std::string& Nombre, std::string& Valor) const {
        std::string l = Linea(i);
        SiguienteToken(l);
        SepararAtributo(SiguienteToken(l), Nombre, Valor);
    }
    void LeerComponentes();
    void LeerTextos();
    void LeerTubos();

    TAerPaintBox& L;
    std::function<std::string(int)> Fuente;
    int N;
    // The line being read; mutable so that running off the end points at
    // the last line.
    mutable int i = 0;
    // Valves that named the cylinder working their roller: locked once every
    // section has been read, as the cylinder may come in a later one.
    std::vector<std::pair<TAerValvula*, std::string>> Cilindros;
};

void TLector::Leer() {
    BorrarTemporales(L);
    if (N == 0)
        throw std::runtime_error("El archivo está vacío");
    while (Primero(i) != "<?xml")
        ++i;
    while (Primero(i) != "<NEUMATICA")
        ++i;
    ++i;
    // A copy cut short must not pass for the circuit: the root is closed.
    bool cerrado = false;
    while (i < N) {
        const std::string t = Primero(i);
        if (t == "<COMPONENTES>") {
            LeerComponentes();
        } else if (t == "<TEXTOS>") {
            LeerTextos();
        } else if (t == "<TUBOS>") {
            LeerTubos();
        } else {
            cerrado = cerrado || t == "</NEUMATICA>";
            ++i;
        }
    }
    if (!cerrado) {
        i = N - 1;
        throw EFinArchivo(N);
    }
    for (auto& [valvula, nombre] : Cilindros)
        valvula->SetCilindro(static_cast<TAerComponente*>(L.Componentes.Buscar(nombre)));
    BorrarTemporales(L);
}

void TLector::LeerComponentes() {
    ExigirSolo("<COMPONENTES>");
    ++i;
    while (Primero(i) == "<COMPONENTE") {
        const int inicio = i;
        int tipo = 0, actuador = 0, sentido = 0;
        double x = 0, y = 0, escalaX = 0, escalaY = 0, alfa = 0, parametro = 0, valor = 0;
        bool monoestable = true, simetrico = false;
        std::string cilindro, n, v;
        {
            std::string l = Linea(i);
            SiguienteToken(l);
            SepararAtributo(SiguienteToken(l), n, v);
        }
        const std::string nombre = Desescapar(v);
        ++i;
        while (Primero(i) == "<PARAM") {
            Parametro(n, v);
            if (n == "TIPO")
                tipo = AEntero(v);
            else if (n == "ACTUADOR")
                actuador = AEntero(v);
            else if (n == "SENTIDO")
                sentido = AEntero(v);
            else if (n == "X")
                x = ADecimal(v);
            else if (n == "Y")
                y = ADecimal(v);
            else if (n == "ESCALAX")
                escalaX = ADecimal(v);
            else if (n == "ESCALAY")
                escalaY = ADecimal(v);
            else if (n == "ALFA")
                alfa = ADecimal(v);
            else if (n == "PARAMETRO")
                parametro = ADecimal(v);
            else if (n == "VALOR")
                valor = ADecimal(v);
            else if (n == "MONOESTABLE")
                monoestable = AFlag(v);
            else if (n == "SIMETRICO")
                simetrico = AFlag(v);
            else if (n == "CILINDRO")
                cilindro = Desescapar(v);
            ++i;
        }
        // Errors in making the element name its opening line.
        const int cierre = i;
        i = inicio;
        // Types that cannot be placed would make elements nothing else expects.
        if (tipo < 1 || (tipo > 16 && tipo != 20)) {
            throw std::runtime_error("el tipo de componente " + std::to_string(tipo) +
                                     " no existe (se admiten 1 a 16 y 20)");
        }
        const auto t = static_cast<TTipoComponente>(tipo);
        L.Seleccionado = nullptr;
        TAerComponente* c;
        if (EsValvula(t)) {
            if (actuador < 0 || actuador > 4 || sentido < 0 || sentido > 1) {
                throw std::runtime_error(actuador < 0 || actuador > 4
                                             ? "el actuador " + std::to_string(actuador) +
                                                   " no existe (se admiten 0 a 4)"
                                             : "el sentido " + std::to_string(sentido) +
                                                   " no existe (se admiten 0 y 1)");
            }
            auto* valvula = TAerValvula::Crear(L, monoestable, static_cast<TActuador>(actuador), t);
            if (!cilindro.empty())
                Cilindros.emplace_back(valvula, cilindro);
            valvula->Sentido = static_cast<TSentido>(sentido);
            c = valvula;
        } else {
            c = TAerComponente::Crear(L, t);
        }
        c->SetNombre(nombre);
        c->X = x;
        c->Y = y;
        c->Alfa = alfa;
        c->EscalaX = escalaX;
        c->EscalaY = escalaY;
        c->Simetrico = simetrico;
        // A state is a pose between the symbol's first (0) and last (1).
        c->SetParametro(std::clamp(parametro, 0.0, 1.0));
        c->Valor = valor;
        i = cierre + 1;
    }
    ++i;
}

void TLector::LeerTextos() {
    ExigirSolo("<TEXTOS>");
    ++i;
    while (Primero(i) == "<TEXTO") {
        std::string asociado, n, v;
        std::uint8_t estilo = etNormal;
        double x = 0, y = 0, alfa = 0, tamano = 4;
        std::uint32_t color = 0xFF000000u;
        {
            std::string l = Linea(i);
            SiguienteToken(l);
            SepararAtributo(SiguienteToken(l), n, v);
        }
        const std::string cadena = Desescapar(v);
        ++i;
        while (Primero(i) == "<PARAM") {
            Parametro(n, v);
            if (n == "X")
                x = ADecimal(v);
            else if (n == "Y")
                y = ADecimal(v);
            else if (n == "ALFA")
                alfa = ADecimal(v);
            else if (n == "SIZE")
                tamano = ADecimal(v);
            else if (n == "COLOR")
                color = static_cast<std::uint32_t>(AEntero64(v));
            else if (n == "NEGRITA" && AFlag(v))
                estilo |= etNegrita;
            else if (n == "ITALICA" && AFlag(v))
                estilo |= etItalica;
            else if (n == "SUBRAYADA" && AFlag(v))
                estilo |= etSubrayada;
            else if (n == "TACHADA" && AFlag(v))
                estilo |= etTachada;
            else if (n == "ASOCIADO")
                asociado = Desescapar(v);
            ++i;
        }
        L.Seleccionado = nullptr;
        auto* t = TAerTexto::Crear(L);
        t->X = x;
        t->Y = y;
        t->Alfa = alfa;
        t->SetTamano(tamano);
        t->ColorTexto = QColor::fromRgba(color);
        t->SetEstilo(estilo);
        t->Cadena = cadena;
        if (!asociado.empty())
            t->SetAsociado(static_cast<TAerComponente*>(L.Componentes.Buscar(asociado)));
        ++i;
    }
    ++i;
}

void TLector::LeerTubos() {
    ExigirSolo("<TUBOS>");
    ++i;
    int linea = 2;
    double vx = 0, vy = 0;
    while (Primero(i) == "<TUBO") {
        const int inicio = i;
        std::string nIni, nFin, n, v;
        {
            std::string l = Linea(i);
            SiguienteToken(l);
            SepararAtributo(SiguienteToken(l), n, nIni);
            SepararAtributo(SiguienteToken(l), n, nFin);
        }
        nIni = Desescapar(nIni);
        nFin = Desescapar(nFin);
        int pIni = 0, pFin = 0;
        ++i;
        while (Primero(i) == "<PARAM") {
            Parametro(n, v);
            if (n == "INI")
                pIni = AEntero(v);
            else if (n == "FIN")
                pFin = AEntero(v);
            ++i;
        }
        // Both ends must be free connection points of existing components.
        auto punto = [&](const std::string& Nombre, int Pos) -> TAerConexion* {
            auto* c = static_cast<TAerComponente*>(L.Componentes.Buscar(Nombre));
            std::string error;
            TAerConexion* p = nullptr;
            if (!c)
                error = "el tubo nombra el componente \"" + Cita(Nombre) + "\", que no existe";
            else if (Pos < 0 || Pos >= c->Elementos.Count() ||
                     !(p = dynamic_cast<TAerConexion*>(c->Elemento(Pos))))
                error = "la posición " + std::to_string(Pos) + " del componente \"" + Cita(Nombre) +
                        "\" no es una conexión";
            else if (p->Tubo)
                error = "la conexión " + std::to_string(Pos) + " del componente \"" + Cita(Nombre) +
                        "\" ya tiene un tubo";
            if (!error.empty()) {
                i = inicio;
                throw std::runtime_error(error);
            }
            return p;
        };
        TAerConexion* a = punto(nIni, pIni);
        TAerConexion* b = punto(nFin, pFin);
        if (a == b) {
            i = inicio;
            throw std::runtime_error("el tubo empieza y acaba en la misma conexión");
        }
        L.Seleccionado = nullptr;
        auto* tubo = TAerTubo::Crear(L);
        tubo->SetInicio(a);
        tubo->SetFin(b);

        while (Primero(i) == "<VERTICE") {
            std::string l = Linea(i);
            SiguienteToken(l);
            for (;;) {
                const std::string t = SiguienteToken(l);
                if (t == "/>")
                    break;
                if (t.empty())
                    throw std::runtime_error("falta \"/>\" al final del vértice");
                SepararAtributo(t, n, v);
                if (n == "LINEA")
                    linea = AEntero(v);
                else if (n == "X")
                    vx = ADecimal(v);
                else if (n == "Y")
                    vy = ADecimal(v);
            }
            tubo->SetLinea(linea);
            tubo->AnadirVertice({vx, vy});
            ++i;
        }
        // A tube listed without bends still ends on its end point, like one
        // drawn in the editor, so it follows its element.
        if (tubo->Vertices.Count() == 0) {
            b->GetPadre()->Dibujar();
            tubo->AnadirVertice({b->XMundo, b->YMundo});
        }
        ++i;
    }
    ++i;
}

void AnadirCodigo(std::string& S, std::uint32_t c) {
    S += "&#" + std::to_string(c) + ";";
}

void AnadirUtf8(std::string& S, std::uint32_t c) {
    if (c < 0x80) {
        S += static_cast<char>(c);
    } else if (c < 0x800) {
        S += static_cast<char>(0xC0 | (c >> 6));
        S += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        S += static_cast<char>(0xE0 | (c >> 12));
        S += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        S += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        S += static_cast<char>(0xF0 | (c >> 18));
        S += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        S += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        S += static_cast<char>(0x80 | (c & 0x3F));
    }
}

} // namespace

std::string Escapar(std::string_view V) {
    std::string r;
    for (std::size_t k = 0; k < V.size();) {
        const auto c = static_cast<unsigned char>(V[k]);
        // Decode one UTF-8 sequence; a malformed byte stands for itself.
        std::uint32_t cp = c;
        std::size_t largo = 1;
        if (c >= 0xC0) {
            const std::size_t n = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
            if (k + n <= V.size() && EsUtf8Valido(V.substr(k, n))) {
                cp = n == 2 ? c & 0x1F : n == 3 ? c & 0x0F : c & 0x07;
                for (std::size_t j = 1; j < n; ++j)
                    cp = (cp << 6) | (static_cast<unsigned char>(V[k + j]) & 0x3F);
                largo = n;
            }
        }
        if (cp == '"' || cp == '&' || cp == '<' || cp == '>' || cp < 0x20 ||
            (cp >= 0x7F && cp < 0xA0) || cp > 0xFF)
            AnadirCodigo(r, cp);
        else
            r.append(V.substr(k, largo));
        k += largo;
    }
    return r;
}

std::string Desescapar(std::string_view V) {
    std::string r;
    for (std::size_t k = 0; k < V.size(); ++k) {
        if (V[k] == '&') {
            const auto fin = V.find(';', k);
            if (fin != std::string_view::npos && fin - k <= 10) {
                const std::string_view ref = V.substr(k + 1, fin - k - 1);
                std::uint32_t cp = 0;
                bool ok = false;
                if (ref.size() > 1 && ref[0] == '#') {
                    const bool hex = ref[1] == 'x' || ref[1] == 'X';
                    const auto num = ref.substr(hex ? 2 : 1);
                    auto res =
                        std::from_chars(num.data(), num.data() + num.size(), cp, hex ? 16 : 10);
                    ok = !num.empty() && res.ec == std::errc() &&
                         res.ptr == num.data() + num.size() && cp <= 0x10FFFF &&
                         !(cp >= 0xD800 && cp <= 0xDFFF);
                } else if (ref == "quot" || ref == "amp" || ref == "lt" || ref == "gt" ||
                           ref == "apos") {
                    cp = ref == "quot"  ? '"'
                         : ref == "amp" ? '&'
                         : ref == "lt"  ? '<'
                         : ref == "gt"  ? '>'
                                        : '\'';
                    ok = true;
                }
                if (ok) {
                    AnadirUtf8(r, cp);
                    k = fin;
                    continue;
                }
            }
        }
        r += V[k];
    }
    return r;
}

std::string SiguienteToken(std::string& L) {
    std::size_t a = 0, b = L.size();
    while (a < b && Blanco(static_cast<unsigned char>(L[a])))
        ++a;
    while (b > a && Blanco(static_cast<unsigned char>(L[b - 1])))
        --b;
    if (a == b) {
        L.clear();
        return {};
    }
    std::size_t p = a;
    while (p < b && L[p] != ' ' && L[p] != '\t' && L[p] != '"')
        ++p;
    if (p < b && L[p] == '"') {
        const auto q = L.find('"', p + 1);
        p = (q == std::string::npos || q >= b) ? b : q + 1;
    }
    std::string token = L.substr(a, p - a);
    L = L.substr(p, b - p);
    return token;
}

void SepararAtributo(std::string_view T, std::string& Nombre, std::string& Valor) {
    while (!T.empty() && Blanco(static_cast<unsigned char>(T.front())))
        T.remove_prefix(1);
    while (!T.empty() && Blanco(static_cast<unsigned char>(T.back())))
        T.remove_suffix(1);
    const auto igual = T.find('=');
    if (igual == std::string_view::npos) {
        Nombre.clear();
        Valor.clear();
        return;
    }
    Nombre = std::string(T.substr(0, igual));
    // Between the opening quote (two past the "=") and the last character.
    const std::size_t desde = igual + 2;
    Valor = desde < T.size() ? std::string(T.substr(desde, T.size() - 1 - desde)) : std::string();
}

namespace {

// Shortest text that reads back as the same double.
std::string Exacto(double V) {
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, V);
    return std::string(buf, r.ptr);
}

// Gives temporary names to unnamed components while it lives.
class TNombresTemporales {
public:
    explicit TNombresTemporales(TAerPaintBox& L) : L(L) {
        BorrarTemporales(L);
        for (int i = 0; i < L.Componentes.Count(); ++i) {
            auto* c = L.Componentes.Item(i);
            if (c->GetNombre().empty())
                c->SetNombre(std::string(kTemporal) + std::to_string(i));
        }
    }
    ~TNombresTemporales() { BorrarTemporales(L); }
    TNombresTemporales(const TNombresTemporales&) = delete;
    TNombresTemporales& operator=(const TNombresTemporales&) = delete;

private:
    TAerPaintBox& L;
};

// The lines that hold names of components.
std::string CabezaComponente(std::string_view Nombre, TTipoComponente Tipo) {
    return "  <COMPONENTE NOMBRE=\"" + Escapar(Nombre) + "\" TIPO=\"" +
           std::string(NombreTipo(Tipo)) + "\">";
}

std::string CabezaTubo(std::string_view Inicio, std::string_view Fin) {
    return "  <TUBO INI=\"" + Escapar(Inicio) + "\" FIN=\"" + Escapar(Fin) + "\">";
}

// A component's lines; its cylinder is written when Dentro keeps it.
template <class FDentro, class FNombre>
void LineasComponente(std::vector<std::string>& r, TAerComponente* c, const FDentro& Dentro,
                      const FNombre& Nombre) {
    r.push_back(CabezaComponente(Nombre(c), c->GetTipo()));
    r.push_back(Param("TIPO", std::to_string(NumeroTipo(c->GetTipo()))));
    r.push_back(Param("X", NumeroATextoExacto(c->X)));
    r.push_back(Param("Y", NumeroATextoExacto(c->Y)));
    r.push_back(Param("ESCALAX", NumeroATextoExacto(c->EscalaX)));
    r.push_back(Param("ESCALAY", NumeroATextoExacto(c->EscalaY)));
    r.push_back(Param("ALFA", NumeroATextoExacto(c->Alfa)));
    r.push_back(Param("SIMETRICO", Flag(c->Simetrico)));
    r.push_back(Param("PARAMETRO", NumeroATextoExacto(c->GetParametro())));
    r.push_back(Param("VALOR", NumeroATextoExacto(c->Valor)));
    if (auto* v = dynamic_cast<TAerValvula*>(c)) {
        r.push_back(Param("MONOESTABLE", Flag(v->GetMonoestable())));
        r.push_back(Param("ACTUADOR", std::to_string(static_cast<int>(v->GetActuador()))));
        r.push_back(Param("ACTUADOR_STR", std::string(NombreActuador(v->GetActuador()))));
        if (v->GetEscamoteable()) {
            r.push_back(Param("SENTIDO", std::to_string(static_cast<int>(v->Sentido))));
            r.push_back(Param("SENTIDO_STR", std::string(NombreSentido(v->Sentido))));
        }
        if (Dentro(v->GetCilindro()))
            r.push_back(Param("CILINDRO", Escapar(Nombre(v->GetCilindro()))));
    }
    r.emplace_back("  </COMPONENTE>");
}

// A text's lines; its component is written when Dentro keeps it.
template <class FDentro, class FNombre>
void LineasTexto(std::vector<std::string>& r, const TAerTexto* t, const FDentro& Dentro,
                 const FNombre& Nombre) {
    r.push_back("  <TEXTO STR=\"" + Escapar(t->Cadena) + "\">");
    r.push_back(Param("X", NumeroATextoExacto(t->X)));
    r.push_back(Param("Y", NumeroATextoExacto(t->Y)));
    r.push_back(Param("ALFA", NumeroATextoExacto(t->Alfa)));
    r.push_back(Param("SIZE", NumeroATextoExacto(t->GetTamano())));
    r.push_back(Param("COLOR", std::to_string(t->ColorTexto.rgba())));
    r.push_back(Param("NEGRITA", Flag(t->GetEstilo() & etNegrita)));
    r.push_back(Param("ITALICA", Flag(t->GetEstilo() & etItalica)));
    r.push_back(Param("SUBRAYADA", Flag(t->GetEstilo() & etSubrayada)));
    r.push_back(Param("TACHADA", Flag(t->GetEstilo() & etTachada)));
    if (Dentro(t->GetAsociado()))
        r.push_back(Param("ASOCIADO", Escapar(Nombre(t->GetAsociado()))));
    r.emplace_back("  </TEXTO>");
}

// A finished tube's lines. Exactos writes the bends' coordinates in full.
template <class FNombre>
void LineasTubo(std::vector<std::string>& r, const TAerTubo* t, bool Exactos,
                const FNombre& Nombre) {
    r.push_back(CabezaTubo(Nombre(t->Inicio->GetPadre()), Nombre(t->Fin->GetPadre())));
    r.push_back(Param("INI", std::to_string(t->Inicio->GetIndice())));
    r.push_back(Param("FIN", std::to_string(t->Fin->GetIndice())));
    for (int k = 0; k < t->Vertices.Count(); ++k) {
        const auto* v = t->Vertice(k);
        r.push_back("    <VERTICE X=\"" + (Exactos ? Exacto(v->X) : DosDecimales(v->X)) +
                    "\" Y=\"" + (Exactos ? Exacto(v->Y) : DosDecimales(v->Y)) + "\" LINEA=\"" +
                    std::to_string(v->GetLinea()) + "\" />");
    }
    r.emplace_back("  </TUBO>");
}

// The writer, for the elements Incluir keeps (all when empty): the texts kept
// or linked to a kept component, the tubes with both ends on kept
// components. A link (interlock, text) to a component left out is not
// written. Exactos writes the bends' coordinates in full.
std::vector<std::string> EscribirCon(TAerPaintBox& L,
                                     const std::function<bool(const TAerComponente*)>& Incluir,
                                     bool Exactos) {
    auto Dentro = [&](const TAerComponente* c) { return c && (!Incluir || Incluir(c)); };
    auto Nombre = [](const TAerComponente* c) -> const std::string& { return c->GetNombre(); };
    const TNombresTemporales Temporales(L);
    std::vector<std::string> r;
    r.emplace_back(R"(<?xml version="1.0" encoding="iso-8859-1"?>)");
    r.emplace_back(R"(<NEUMATICA VERSION="1.0">)");
    int Comps = 0, Textos = 0, Tubos = 0;
    for (int i = 0; i < L.Componentes.Count(); ++i)
        Comps += Dentro(L.Componentes.ItemComo<TAerComponente>(i));
    auto TextoDentro = [&](const TAerTexto* t) {
        return Dentro(t) || (Incluir && t->GetAsociado() && Dentro(t->GetAsociado()));
    };
    for (int i = 0; i < L.Textos.Count(); ++i)
        Textos += TextoDentro(L.Textos.ItemComo<TAerTexto>(i));
    // A tube being drawn has no end yet and is not part of the circuit.
    auto TuboDentro = [&](const TAerTubo* t) {
        return t->Inicio && t->Fin && Dentro(t->Inicio->GetPadre()) && Dentro(t->Fin->GetPadre());
    };
    for (int i = 0; i < L.Tubos.Count(); ++i)
        Tubos += TuboDentro(L.Tubos.ItemComo<TAerTubo>(i));
    if (Comps > 0) {
        r.emplace_back("<COMPONENTES>");
        for (int i = 0; i < L.Componentes.Count(); ++i) {
            auto* c = L.Componentes.ItemComo<TAerComponente>(i);
            if (Dentro(c))
                LineasComponente(r, c, Dentro, Nombre);
        }
        r.emplace_back("</COMPONENTES>");
    }
    if (Textos > 0) {
        r.emplace_back("<TEXTOS>");
        for (int i = 0; i < L.Textos.Count(); ++i) {
            auto* t = L.Textos.ItemComo<TAerTexto>(i);
            if (TextoDentro(t))
                LineasTexto(r, t, Dentro, Nombre);
        }
        r.emplace_back("</TEXTOS>");
    }
    if (Tubos > 0) {
        r.emplace_back("<TUBOS>");
        for (int i = 0; i < L.Tubos.Count(); ++i) {
            auto* t = L.Tubos.ItemComo<TAerTubo>(i);
            if (TuboDentro(t))
                LineasTubo(r, t, Exactos, Nombre);
        }
        r.emplace_back("</TUBOS>");
    }
    r.emplace_back("</NEUMATICA>");
    return r;
}

} // namespace

std::vector<std::string> Escribir(TAerPaintBox& L) {
    return EscribirCon(L, nullptr, false);
}

std::vector<std::string> Instantanea(TAerPaintBox& L) {
    return EscribirCon(L, nullptr, true);
}

std::vector<std::string> EscribirGrupo(TAerPaintBox& L,
                                       const std::vector<TAerComponente*>& Elementos) {
    const std::set<const TAerComponente*> Grupo(Elementos.begin(), Elementos.end());
    return EscribirCon(
        L, [&](const TAerComponente* c) { return Grupo.count(c) != 0; }, false);
}

// Snapshots.

namespace {

using TPieza = TInstantanea::TPieza;
using TTramo = TInstantanea::TTramo;

// The values an element's lines are made of, as raw bytes appended to two
// strings: the names of components it writes (its own, its links') to one,
// the rest to the other. Fixed-size values as they are in memory, texts
// after their length, so that different values never make the same key.
class TClave {
public:
    TClave(std::string& Valores, std::string& Nombres) : K(Valores), N(Nombres) {}
    template <class V> void Valor(V Dato) { Anadir(K, Dato); }
    void Texto(const std::string& Dato) {
        Anadir(K, static_cast<std::uint32_t>(Dato.size()));
        K += Dato;
    }
    // A component's name: its own, or its place when it has none.
    void Nombre(int Lugar, const std::string& Dato) {
        Anadir(N, Lugar);
        Anadir(N, static_cast<std::uint32_t>(Dato.size()));
        N += Dato;
    }

private:
    template <class V> static void Anadir(std::string& S, V Dato) {
        static_assert(std::is_trivially_copyable_v<V>);
        S.append(reinterpret_cast<const char*>(&Dato), sizeof Dato);
    }
    std::string& K;
    std::string& N;
};

// The unnamed components of the circuit being written and their places,
// which make their "$$$" names, by address.
class TSinNombre {
public:
    // Clears names beginning with "$$$", as the writer does, and finds the
    // components left without a name.
    void Empezar(TAerPaintBox& L) {
        Lugares.clear();
        for (int i = 0; i < L.Componentes.Count(); ++i) {
            auto* c = L.Componentes.ItemComo<TAerComponente>(i);
            if (EsTemporal(c->GetNombre()))
                c->SetNombre("");
            if (c->GetNombre().empty())
                Lugares.emplace_back(c, i);
        }
        std::sort(Lugares.begin(), Lugares.end());
    }
    void Acabar() { Lugares.clear(); }
    // The place of an unnamed component of the list, or -1.
    int Lugar(const TAerComponente* c) const {
        const std::pair<const void*, int> Buscado(c, -1);
        const auto e = std::lower_bound(Lugares.begin(), Lugares.end(), Buscado);
        return e != Lugares.end() && e->first == c ? e->second : -1;
    }
    // The name the file gives it.
    std::string Nombre(const TAerComponente* c) const {
        const int i = Lugar(c);
        return i < 0 ? c->GetNombre() : std::string(kTemporal) + std::to_string(i);
    }
    void Clave(TClave& k, const TAerComponente* c) const {
        const int i = Lugar(c);
        static const std::string Ninguno;
        k.Nombre(i, i < 0 ? c->GetNombre() : Ninguno);
    }

private:
    std::vector<std::pair<const void*, int>> Lugares;
};

// Everything LineasComponente reads when the whole circuit is written.
void ClaveComponente(TClave& k, TAerComponente* c, const TSinNombre& N) {
    k.Valor('C');
    N.Clave(k, c);
    k.Valor(static_cast<int>(c->GetTipo()));
    for (double d : {c->X, c->Y, c->EscalaX, c->EscalaY, c->Alfa, c->GetParametro(), c->Valor})
        k.Valor(d);
    k.Valor(c->Simetrico);
    if (auto* v = dynamic_cast<TAerValvula*>(c)) {
        k.Valor('V');
        k.Valor(v->GetMonoestable());
        k.Valor(static_cast<int>(v->GetActuador()));
        k.Valor(v->GetEscamoteable());
        k.Valor(static_cast<int>(v->Sentido));
        k.Valor(v->GetCilindro() != nullptr);
        if (v->GetCilindro())
            N.Clave(k, v->GetCilindro());
    }
}

// Everything LineasTexto reads when the whole circuit is written.
void ClaveTexto(TClave& k, const TAerTexto* t, const TSinNombre& N) {
    k.Valor('T');
    k.Texto(t->Cadena);
    for (double d : {t->X, t->Y, t->Alfa, t->GetTamano()})
        k.Valor(d);
    k.Valor(t->ColorTexto.rgba());
    k.Valor(t->GetEstilo());
    k.Valor(t->GetAsociado() != nullptr);
    if (t->GetAsociado())
        N.Clave(k, t->GetAsociado());
}

// Everything LineasTubo reads, bends in full.
void ClaveTubo(TClave& k, const TAerTubo* t, const TSinNombre& N) {
    k.Valor('U');
    N.Clave(k, t->Inicio->GetPadre());
    N.Clave(k, t->Fin->GetPadre());
    k.Valor(t->Inicio->GetIndice());
    k.Valor(t->Fin->GetIndice());
    k.Valor(t->Vertices.Count());
    for (int i = 0; i < t->Vertices.Count(); ++i) {
        const auto* v = t->Vertice(i);
        k.Valor(v->X);
        k.Valor(v->Y);
        k.Valor(v->GetLinea());
    }
}

TPieza Pieza(const std::vector<std::string>& Lineas) {
    std::size_t n = 0;
    for (const auto& l : Lineas)
        n += l.size() + 1;
    std::string r;
    r.reserve(n);
    for (const auto& l : Lineas) {
        r += l;
        r += '\n';
    }
    return std::make_shared<const std::string>(std::move(r));
}

// Runs end where a piece's address says so (about one piece in kCorte), so
// that runs after an insertion or a removal end where they ended before and
// can be shared; kMaximo bounds a run.
constexpr std::uint64_t kCorte = 64;
constexpr std::size_t kMaximo = 512;

bool Corte(const std::string* Pieza) {
    const auto a = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(Pieza));
    return ((a >> 4) * 0x9E3779B97F4A7C15ull) >> 32 < (std::uint64_t{1} << 32) / kCorte;
}

// The pieces in runs; a run of the same pieces as one of Anterior is that run.
std::vector<TTramo> Trocear(const std::vector<TPieza>& Piezas,
                            const std::vector<TTramo>* Anterior) {
    std::unordered_map<const std::string*, const TTramo*> Previos;
    if (Anterior)
        for (const auto& t : *Anterior)
            Previos.emplace(t->front().get(), &t);
    std::vector<TTramo> r;
    std::size_t Inicio = 0;
    for (std::size_t i = 0; i < Piezas.size(); ++i) {
        if (!Corte(Piezas[i].get()) && i + 1 - Inicio < kMaximo && i + 1 < Piezas.size())
            continue;
        const auto a = Piezas.begin() + static_cast<std::ptrdiff_t>(Inicio);
        const auto b = Piezas.begin() + static_cast<std::ptrdiff_t>(i + 1);
        const auto p = Previos.find(Piezas[Inicio].get());
        if (p != Previos.end() && std::equal(a, b, (*p->second)->begin(), (*p->second)->end()))
            r.push_back(*p->second);
        else
            r.push_back(std::make_shared<const std::vector<TPieza>>(a, b));
        Inicio = i + 1;
    }
    // Every step of the history keeps this list.
    r.shrink_to_fit();
    return r;
}

// A place in a snapshot's text.
struct TCursor {
    const std::vector<TTramo>& Tramos;
    std::size_t Tramo = 0, Pieza = 0, Desde = 0;

    bool Fin() const { return Tramo == Tramos.size(); }
    const TPieza& Actual() const { return (*Tramos[Tramo])[Pieza]; }
    void Avanzar(std::size_t n) {
        Desde += n;
        if (Desde < Actual()->size())
            return;
        Desde = 0;
        if (++Pieza == Tramos[Tramo]->size()) {
            Pieza = 0;
            ++Tramo;
        }
    }
};

const std::vector<TTramo>& TramosDe(const std::shared_ptr<const std::vector<TTramo>>& T) {
    static const std::vector<TTramo> Ninguno;
    return T ? *T : Ninguno;
}

} // namespace

std::vector<std::string> TInstantanea::Lineas() const {
    std::vector<std::string> r;
    for (const auto& t : TramosDe(Tramos))
        for (const auto& p : *t)
            for (std::size_t a = 0, b; a < p->size(); a = b + 1) {
                b = p->find('\n', a);
                r.emplace_back(*p, a, b - a);
            }
    return r;
}

bool TInstantanea::operator==(const TInstantanea& Otra) const {
    if (Tramos == Otra.Tramos)
        return true;
    TCursor a{TramosDe(Tramos)}, b{TramosDe(Otra.Tramos)};
    while (!a.Fin() && !b.Fin()) {
        if (a.Desde == 0 && b.Desde == 0) {
            if (a.Pieza == 0 && b.Pieza == 0 && a.Tramos[a.Tramo] == b.Tramos[b.Tramo]) {
                ++a.Tramo;
                ++b.Tramo;
                continue;
            }
            if (a.Actual() == b.Actual()) {
                a.Avanzar(a.Actual()->size());
                b.Avanzar(b.Actual()->size());
                continue;
            }
        }
        const std::string& x = *a.Actual();
        const std::string& y = *b.Actual();
        const std::size_t n = std::min(x.size() - a.Desde, y.size() - b.Desde);
        if (x.compare(a.Desde, n, y, b.Desde, n) != 0)
            return false;
        a.Avanzar(n);
        b.Avanzar(n);
    }
    return a.Fin() && b.Fin();
}

std::size_t TInstantanea::BytesPropios(const TInstantanea& Otra) const {
    if (Tramos == Otra.Tramos)
        return 0;
    std::set<const void*> Compartido;
    for (const auto& t : TramosDe(Otra.Tramos)) {
        Compartido.insert(t.get());
        for (const auto& p : *t)
            Compartido.insert(p.get());
    }
    std::size_t n = TramosDe(Tramos).capacity() * sizeof(TTramo);
    for (const auto& t : TramosDe(Tramos)) {
        if (!Compartido.insert(t.get()).second)
            continue;
        n += t->capacity() * sizeof(TPieza);
        for (const auto& p : *t)
            if (Compartido.insert(p.get()).second)
                n += sizeof(std::string) + p->capacity();
    }
    return n;
}

// What was written for one list (components, texts or tubes), by place: the
// keys one after another in one string, and each element's key and piece.
struct TEscrito {
    struct TEntrada {
        std::size_t Desde, Largo, DesdeNombres, LargoNombres;
        TPieza Pieza;
    };
    std::string Claves, Nombres;
    std::vector<TEntrada> Entradas;
};

// A list's last snapshot, and the next one being written (kept to reuse its
// memory).
struct TLista {
    TEscrito Vieja, Nueva;
};

struct TEscritorInstantaneas::TMemoria {
    // Elements added or taken away before an element move it a few places
    // in its list: it is looked for that far around its old place. After a
    // run of elements not found whole there (more were added or taken away,
    // they changed, or their "$$$" names did), one with nothing of its values
    // near is looked for among all the old ones.
    static constexpr std::ptrdiff_t kVecinos = 16;
    static constexpr int kPerdidos = 8;

    TSinNombre SinNombre;
    TLista Componentes, Textos, Tubos;
    // The list being written, what it wrote before, how far the elements
    // found there have moved, and its old keys (made when first needed).
    TEscrito* Nueva = nullptr;
    const TEscrito* Vieja = nullptr;
    std::ptrdiff_t Desfase = 0;
    int Perdidos = 0;
    struct THashPar {
        std::size_t operator()(const std::pair<std::string_view, std::string_view>& p) const {
            const std::hash<std::string_view> h;
            return h(p.first) * 31 + h(p.second);
        }
    };
    std::unordered_map<std::pair<std::string_view, std::string_view>, std::size_t, THashPar> Indice;
    std::unordered_map<std::string_view, std::size_t> IndiceValores;
    std::vector<std::string> Lineas;
    std::vector<TPieza> Piezas;
    TInstantanea Ultima;

    const TPieza Cabecera =
        Pieza({R"(<?xml version="1.0" encoding="iso-8859-1"?>)", R"(<NEUMATICA VERSION="1.0">)"});
    const TPieza Cierre = Pieza({"</NEUMATICA>"});
    const TPieza AbreComponentes = Pieza({"<COMPONENTES>"});
    const TPieza CierraComponentes = Pieza({"</COMPONENTES>"});
    const TPieza AbreTextos = Pieza({"<TEXTOS>"}), CierraTextos = Pieza({"</TEXTOS>"});
    const TPieza AbreTubos = Pieza({"<TUBOS>"}), CierraTubos = Pieza({"</TUBOS>"});

    void Empezar(TLista& Lista) {
        Vieja = &Lista.Vieja;
        Nueva = &Lista.Nueva;
        Desfase = 0;
        Perdidos = 0;
        Indice.clear();
        IndiceValores.clear();
        Nueva->Claves.clear();
        Nueva->Nombres.clear();
        Nueva->Entradas.clear();
    }
    void Acabar(TLista& Lista) {
        std::swap(Lista.Vieja, Lista.Nueva);
        Vieja = Nueva = nullptr;
        Indice.clear();
        IndiceValores.clear();
    }
    std::string_view ClaveVieja(std::size_t j) const {
        const auto& e = Vieja->Entradas[j];
        return std::string_view(Vieja->Claves).substr(e.Desde, e.Largo);
    }
    std::string_view NombresViejos(std::size_t j) const {
        const auto& e = Vieja->Entradas[j];
        return std::string_view(Vieja->Nombres).substr(e.DesdeNombres, e.LargoNombres);
    }
    // Where an element was: an old place with its values and names, or else
    // one with its values only (-1 when neither).
    struct THallado {
        std::ptrdiff_t Exacto = -1, Valores = -1;
    };
    // Around place j.
    THallado Cerca(std::ptrdiff_t j, std::string_view Clave, std::string_view Nombres) const {
        const auto n = static_cast<std::ptrdiff_t>(Vieja->Entradas.size());
        THallado r;
        auto Mirar = [&](std::ptrdiff_t v) {
            if (v < 0 || v >= n || ClaveVieja(static_cast<std::size_t>(v)) != Clave)
                return false;
            if (NombresViejos(static_cast<std::size_t>(v)) == Nombres)
                r.Exacto = v;
            else if (r.Valores < 0)
                r.Valores = v;
            return r.Exacto >= 0;
        };
        for (std::ptrdiff_t d = 0; d <= kVecinos; ++d)
            if (Mirar(j + d) || (d > 0 && Mirar(j - d)))
                break;
        return r;
    }
    // Anywhere.
    THallado PorClave(std::string_view Clave, std::string_view Nombres) {
        if (Indice.empty())
            for (std::size_t v = 0; v < Vieja->Entradas.size(); ++v) {
                Indice.emplace(std::pair(ClaveVieja(v), NombresViejos(v)), v);
                IndiceValores.emplace(ClaveVieja(v), v);
            }
        THallado r;
        if (const auto e = Indice.find(std::pair(Clave, Nombres)); e != Indice.end())
            r.Exacto = static_cast<std::ptrdiff_t>(e->second);
        else if (const auto v = IndiceValores.find(Clave); v != IndiceValores.end())
            r.Valores = static_cast<std::ptrdiff_t>(v->second);
        return r;
    }
    // The piece of the element at place i, whose key Hacer makes. When no
    // old piece has its values, Formatear writes its lines; when one has
    // them with other names, Renombrar writes those names into its lines.
    // Only a piece found whole says how far elements have moved.
    template <class FClave, class FFormatear, class FRenombrar>
    const TPieza& Escribir(std::ptrdiff_t i, const FClave& Hacer, const FFormatear& Formatear,
                           const FRenombrar& Renombrar) {
        const std::size_t Desde = Nueva->Claves.size(), DesdeNombres = Nueva->Nombres.size();
        TClave k(Nueva->Claves, Nueva->Nombres);
        Hacer(k);
        const std::string_view Clave = std::string_view(Nueva->Claves).substr(Desde);
        const std::string_view Nombres = std::string_view(Nueva->Nombres).substr(DesdeNombres);
        THallado h = Cerca(i + Desfase, Clave, Nombres);
        if (h.Exacto < 0 && ++Perdidos >= kPerdidos && h.Valores < 0)
            h = PorClave(Clave, Nombres);
        TPieza p;
        if (h.Exacto >= 0) {
            Perdidos = 0;
            Desfase = h.Exacto - i;
            p = Vieja->Entradas[static_cast<std::size_t>(h.Exacto)].Pieza;
        } else if (h.Valores >= 0) {
            const TPieza& Anterior = Vieja->Entradas[static_cast<std::size_t>(h.Valores)].Pieza;
            Lineas.clear();
            for (std::size_t a = 0, b; a < Anterior->size(); a = b + 1) {
                b = Anterior->find('\n', a);
                Lineas.emplace_back(*Anterior, a, b - a);
            }
            Renombrar(Lineas);
            p = Pieza(Lineas);
        } else {
            Lineas.clear();
            Formatear(Lineas);
            p = Pieza(Lineas);
        }
        Nueva->Entradas.push_back(
            {Desde, Clave.size(), DesdeNombres, Nombres.size(), std::move(p)});
        return Nueva->Entradas.back().Pieza;
    }
};

TEscritorInstantaneas::TEscritorInstantaneas() : M(std::make_unique<TMemoria>()) {}

TEscritorInstantaneas::~TEscritorInstantaneas() = default;

TInstantanea TEscritorInstantaneas::Escribir(TAerPaintBox& L) {
    TMemoria& m = *M;
    // The unnamed components' "$$$" names are made here without being set.
    m.SinNombre.Empezar(L);
    const TSinNombre& N = m.SinNombre;
    auto Todo = [](const TAerComponente* c) { return c != nullptr; };
    auto Nombre = [&](const TAerComponente* c) { return N.Nombre(c); };
    auto& p = m.Piezas;
    p.clear();
    p.push_back(m.Cabecera);
    if (L.Componentes.Count() > 0) {
        p.push_back(m.AbreComponentes);
        m.Empezar(m.Componentes);
        for (int i = 0; i < L.Componentes.Count(); ++i) {
            auto* c = L.Componentes.ItemComo<TAerComponente>(i);
            p.push_back(m.Escribir(
                i, [&](TClave& k) { ClaveComponente(k, c, N); },
                [&](auto& r) { LineasComponente(r, c, Todo, Nombre); },
                [&](auto& r) {
                    r.front() = CabezaComponente(Nombre(c), c->GetTipo());
                    // The cylinder's line is the last before the closing one.
                    if (auto* v = dynamic_cast<TAerValvula*>(c); v && v->GetCilindro())
                        r[r.size() - 2] = Param("CILINDRO", Escapar(Nombre(v->GetCilindro())));
                }));
        }
        m.Acabar(m.Componentes);
        p.push_back(m.CierraComponentes);
    }
    if (L.Textos.Count() > 0) {
        p.push_back(m.AbreTextos);
        m.Empezar(m.Textos);
        for (int i = 0; i < L.Textos.Count(); ++i) {
            const auto* t = L.Textos.ItemComo<TAerTexto>(i);
            p.push_back(m.Escribir(
                i, [&](TClave& k) { ClaveTexto(k, t, N); },
                [&](auto& r) { LineasTexto(r, t, Todo, Nombre); },
                [&](auto& r) {
                    // The component's line is the last before the closing one.
                    if (t->GetAsociado())
                        r[r.size() - 2] = Param("ASOCIADO", Escapar(Nombre(t->GetAsociado())));
                }));
        }
        m.Acabar(m.Textos);
        p.push_back(m.CierraTextos);
    }
    p.push_back(m.AbreTubos);
    const std::size_t SinTubos = p.size();
    m.Empezar(m.Tubos);
    for (int i = 0, k = 0; i < L.Tubos.Count(); ++i) {
        // A tube being drawn has no end yet and is not part of the circuit.
        const auto* t = L.Tubos.ItemComo<TAerTubo>(i);
        if (!t->Inicio || !t->Fin || !t->Inicio->GetPadre() || !t->Fin->GetPadre())
            continue;
        p.push_back(m.Escribir(
            k++, [&](TClave& c) { ClaveTubo(c, t, N); },
            [&](auto& r) { LineasTubo(r, t, true, Nombre); },
            [&](auto& r) {
                r.front() = CabezaTubo(Nombre(t->Inicio->GetPadre()), Nombre(t->Fin->GetPadre()));
            }));
    }
    m.Acabar(m.Tubos);
    m.SinNombre.Acabar();
    if (p.size() == SinTubos)
        p.pop_back();
    else
        p.push_back(m.CierraTubos);
    p.push_back(m.Cierre);
    TInstantanea r;
    r.Tramos = std::make_shared<const std::vector<TTramo>>(
        Trocear(p, m.Ultima.Tramos ? m.Ultima.Tramos.get() : nullptr));
    m.Ultima = r;
    return r;
}

namespace {

// The line rebuilt from its tokens, with one attribute's value replaced.
std::string ConAtributo(const std::string& Linea, std::string_view Atributo,
                        const std::string& Valor) {
    std::string l = Linea, r = "  ", n, v;
    bool Primero = true;
    for (std::string t = SiguienteToken(l); !t.empty(); t = SiguienteToken(l)) {
        SepararAtributo(t, n, v);
        if (n == Atributo)
            t = n + "=\"" + Escapar(Valor) + "\"";
        r += (Primero ? "" : " ") + t;
        Primero = false;
    }
    return r;
}

std::string Atributo(const std::string& Linea, std::string_view Nombre) {
    std::string l = Linea, n, v;
    for (std::string t = SiguienteToken(l); !t.empty(); t = SiguienteToken(l)) {
        SepararAtributo(t, n, v);
        if (n == Nombre)
            return Desescapar(v);
    }
    return {};
}

std::string Primero(const std::string& Linea) {
    std::string l = Linea;
    return SiguienteToken(l);
}

} // namespace

std::vector<TAerComponente*> LeerGrupo(TAerPaintBox& L, const std::vector<std::string>& Lineas) {
    // The group's own names, and a free one for each that the circuit has.
    std::map<std::string, std::string> Nombres;
    std::set<std::string> Usados;
    for (const auto& l : Lineas)
        if (Primero(l) == "<COMPONENTE")
            Usados.insert(MayusculasES(Atributo(l, "NOMBRE")));
    for (const auto& l : Lineas) {
        if (Primero(l) != "<COMPONENTE")
            continue;
        const std::string n = Atributo(l, "NOMBRE");
        std::string Libre = n;
        if (!n.empty() && !EsTemporal(n) && L.Componentes.Buscar(n)) {
            // A copy of a copy counts on from its original's name: A_2 gives A_3.
            std::string Base = n;
            const auto Guion = n.find_last_of('_');
            if (Guion != std::string::npos && Guion > 0 && Guion + 1 < n.size() &&
                n.find_first_not_of("0123456789", Guion + 1) == std::string::npos)
                Base = n.substr(0, Guion);
            for (int k = 2;; ++k) {
                Libre = Base + "_" + std::to_string(k);
                const std::string m = MayusculasES(Libre);
                if (!L.Componentes.Buscar(Libre) && !Usados.count(m)) {
                    Usados.insert(m);
                    break;
                }
            }
        }
        Nombres[n] = Libre;
    }
    // Links are kept inside the group only: a name it does not hold would
    // reach an element of the circuit it is pasted into.
    std::vector<std::string> r;
    bool EnTubo = false, TuboFuera = false;
    for (const auto& l : Lineas) {
        const std::string t = Primero(l);
        if (t == "<COMPONENTE") {
            r.push_back(ConAtributo(l, "NOMBRE", Nombres[Atributo(l, "NOMBRE")]));
            continue;
        }
        if (t == "<TUBO") {
            EnTubo = true;
            const std::string a = Atributo(l, "INI"), b = Atributo(l, "FIN");
            TuboFuera = !Nombres.count(a) || !Nombres.count(b);
            if (!TuboFuera)
                r.push_back(ConAtributo(ConAtributo(l, "INI", Nombres[a]), "FIN", Nombres[b]));
            continue;
        }
        if (EnTubo) {
            if (t == "</TUBO>")
                EnTubo = false;
            if (!TuboFuera)
                r.push_back(l);
            continue;
        }
        if (t == "<PARAM") {
            std::string k = l, n, v;
            SiguienteToken(k);
            SepararAtributo(SiguienteToken(k), n, v);
            if (n == "CILINDRO" || n == "ASOCIADO") {
                const auto i = Nombres.find(Desescapar(v));
                if (i != Nombres.end())
                    r.push_back("    <PARAM " + n + "=\"" + Escapar(i->second) + "\" />");
                continue;
            }
        }
        r.push_back(l);
    }

    const int Comps = L.Componentes.Count(), Textos = L.Textos.Count(), Tubos = L.Tubos.Count();
    try {
        Leer(L, r);
    } catch (...) {
        // A group is pasted whole or not at all.
        while (L.Tubos.Count() > Tubos)
            L.Tubos.Borrar(L.Tubos.Count() - 1);
        while (L.Componentes.Count() > Comps)
            L.Componentes.Borrar(L.Componentes.Count() - 1);
        while (L.Textos.Count() > Textos)
            L.Textos.Borrar(L.Textos.Count() - 1);
        throw;
    }
    std::vector<TAerComponente*> Nuevos;
    for (int i = Comps; i < L.Componentes.Count(); ++i)
        Nuevos.push_back(L.Componentes.ItemComo<TAerComponente>(i));
    for (int i = Textos; i < L.Textos.Count(); ++i)
        Nuevos.push_back(L.Textos.ItemComo<TAerComponente>(i));
    return Nuevos;
}

namespace {

void Leer(TAerPaintBox& L, std::function<std::string(int)> Fuente, int N) {
    // The control tubes are marked once the tubes are all in.
    const TLoteTubos lote(L);
    TLector lector(L, std::move(Fuente), N);
    try {
        lector.Leer();
    } catch (const EFinArchivo& e) {
        BorrarTemporales(L);
        std::throw_with_nested(ELecturaAer(e.Linea, "El archivo termina antes de lo esperado"));
    } catch (const std::bad_alloc&) {
        BorrarTemporales(L);
        std::throw_with_nested(
            ELecturaAer(lector.Actual() + 1, "No hay memoria suficiente para leer el circuito"));
    } catch (const std::exception& e) {
        BorrarTemporales(L);
        std::throw_with_nested(ELecturaAer(lector.Actual() + 1, e.what()));
    }
}

} // namespace

void Leer(TAerPaintBox& L, const std::vector<std::string>& Lineas) {
    Leer(
        L, [&Lineas](int k) { return Lineas[static_cast<std::size_t>(k)]; },
        static_cast<int>(Lineas.size()));
}

void Leer(TAerPaintBox& L, const TLineasTexto& Lineas) {
    Leer(
        L, [&Lineas](int k) { return Lineas.Linea(k); }, Lineas.Count());
}

void Leer(TAerPaintBox& L, const TLineasArchivo& Lineas) {
    Leer(
        L, [&Lineas](int k) { return Lineas.Linea(k); }, Lineas.Count());
}

std::string Bytes(const std::vector<std::string>& Lineas) {
    std::string r;
    for (const auto& l : Lineas) {
        r += Utf8ALatin1(l);
        r += "\r\n";
    }
    return r;
}

std::vector<std::string> LineasDe(std::string_view B) {
    return LineasDeTexto(B);
}

std::vector<std::string> CargarLineas(const std::filesystem::path& Ruta) {
    return LineasDe(LeerArchivo(Ruta));
}

void GuardarLineas(const std::filesystem::path& Ruta, const std::vector<std::string>& Lineas) {
    EscribirArchivo(Ruta, Bytes(Lineas));
}

} // namespace ArchivoAer

} // namespace ventix
