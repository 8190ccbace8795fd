#include "cad/DXF.h"

#include "foundation/Archivo.h"
#include "foundation/Numeros.h"
#include "foundation/Texto.h"

#include <charconv>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <limits>
#include <stdexcept>

namespace ventix {

namespace {

// Blanks and control characters off both ends.
std::string Recortar(const std::string& S) {
    std::size_t a = 0, b = S.size();
    while (a < b && static_cast<unsigned char>(S[a]) <= ' ')
        ++a;
    while (b > a && static_cast<unsigned char>(S[b - 1]) <= ' ')
        --b;
    return S.substr(a, b - a);
}

std::string MayusculasASCII(std::string S) {
    for (char& c : S)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return S;
}

// Optional sign and decimal digits, within 32 bits.
std::int32_t Entero(const std::string& S) {
    std::size_t i = 0;
    bool negativo = false;
    if (i < S.size() && (S[i] == '+' || S[i] == '-'))
        negativo = S[i++] == '-';
    std::int64_t v = 0;
    const char* inicio = S.data() + i;
    const char* fin = S.data() + S.size();
    const auto [p, ec] = std::from_chars(inicio, fin, v);
    if (inicio == fin || *inicio == '-' || ec != std::errc() || p != fin)
        throw EConversionError("'" + Cita(S) + "' no es un número entero válido");
    if (negativo)
        v = -v;
    if (v < std::numeric_limits<std::int32_t>::min() ||
        v > std::numeric_limits<std::int32_t>::max())
        throw EConversionError("'" + Cita(S) + "' no es un número entero válido");
    return static_cast<std::int32_t>(v);
}

// The strict floating-point conversion of the entity line weight: an empty
// text is no number here.
double Real(const std::string& S) {
    if (S.empty())
        throw EConversionError("'' no es un número válido");
    return TextoANumero(S);
}

// The record name of a repeated code: X0, Y3, S1 ...
std::string Clave(char Letra, int N) {
    std::string k(1, Letra);
    k += std::to_string(N);
    return k;
}

// Backslash-P is a line break; a backslash takes the next character as it
// is; a backslash at the very end is dropped.
std::string QuitarEscapes(const std::string& S) {
    std::string r;
    r.reserve(S.size());
    for (std::size_t i = 0; i < S.size(); ++i) {
        if (S[i] != '\\') {
            r += S[i];
        } else if (i + 1 < S.size()) {
            ++i;
            if (S[i] == 'P')
                r += "\r\n";
            else
                r += S[i];
        }
    }
    return r;
}

// Attachment number of a TEXT by its vertical (73) and horizontal (72)
// justification; values outside the table give 0 (no attachment).
std::int32_t AlineacionTexto(std::int32_t Horizontal, std::int32_t Vertical) {
    static constexpr std::int32_t Tabla[4][6] = {
        {7, 8, 9, 7, 5, 7},
        {7, 8, 9, 0, 0, 0},
        {4, 5, 6, 0, 0, 0},
        {1, 2, 3, 0, 0, 0},
    };
    if (Horizontal < 0 || Horizontal > 5 || Vertical < 0 || Vertical > 3)
        return 0;
    return Tabla[Vertical][Horizontal];
}

} // namespace

// The pairs of one entity as the lookup list the readers consult: the first
// line of a name wins, names without regard to case; repeated vertex
// coordinates and text pieces are also kept as X<n>, Y<n> and S<n>, and the
// subclass marker (100) keeps only its last value.
struct TDXF::TRegistro {
    std::unordered_map<std::string, std::string> Valores;
    int NX = 0, NY = 0, NS = 0;

    void Limpiar() {
        Valores.clear();
        NX = NY = NS = 0;
    }

    void Poner(const std::string& Nombre, const std::string& V) {
        Valores.emplace(MayusculasASCII(Nombre), V);
    }

    void Agregar(const std::string& C, const std::string& V) {
        if (C == "100") {
            Valores["100"] = V;
            return;
        }
        // As a "code=value" line: the name ends at the first '='.
        if (const auto igual = C.find('='); igual != std::string::npos)
            Poner(C.substr(0, igual), C.substr(igual + 1) + "=" + V);
        else
            Poner(C, V);
        if (C == "10")
            Poner(Clave('X', NX++), V);
        else if (C == "20")
            Poner(Clave('Y', NY++), V);
        else if (C == "1" || C == "3")
            Poner(Clave('S', NS++), V);
    }

    const std::string* Buscar(const std::string& Nombre) const {
        const auto it = Valores.find(Nombre);
        return it == Valores.end() ? nullptr : &it->second;
    }
    std::string Valor(const std::string& Nombre) const {
        const auto* v = Buscar(Nombre);
        return v ? *v : std::string();
    }
    double Numero(const std::string& Nombre) const { return TextoANumero(Valor(Nombre)); }
    std::int32_t EnteroO0(const std::string& Nombre) const {
        const auto* v = Buscar(Nombre);
        return v ? Entero(*v) : 0;
    }
    void Punto(TCADPunto& P, const char* CX, const char* CY, const char* CZ) const {
        P.SetX(Numero(CX));
        P.SetY(Numero(CY));
        P.SetZ(Numero(CZ));
    }
    // The text pieces in order, up to the first absent or empty one.
    std::string Texto() const {
        std::string r;
        for (int i = 0;; ++i) {
            const auto* s = Buscar(Clave('S', i));
            if (!s || s->empty())
                break;
            r += *s;
        }
        return QuitarEscapes(r);
    }
};

TDXF::TDXF() : Capas(TCADCapa::Clase()) {}

TDXF::~TDXF() = default;

void TDXF::Cargar(const std::string& FileName) {
    Lineas.clear();
    CapasPorNombre.clear();
    Capas.BorrarTodo();
    const std::string texto = LeerArchivo(FileName);
    std::size_t i = 0;
    if (texto.rfind("\xEF\xBB\xBF", 0) == 0)
        i = 3; // UTF-8 byte order mark
    while (i < texto.size()) {
        std::size_t fin = texto.find_first_of("\r\n", i);
        if (fin == std::string::npos)
            fin = texto.size();
        Lineas.push_back(TextoAUtf8(std::string_view(texto).substr(i, fin - i)));
        i = fin;
        if (i < texto.size() && texto[i] == '\r' && i + 1 < texto.size() && texto[i + 1] == '\n')
            i += 2;
        else if (i < texto.size())
            ++i;
    }
}

const std::string& TDXF::Linea(int I) const {
    if (I < 0)
        throw EListaError(I);
    if (static_cast<std::size_t>(I) >= Lineas.size())
        throw EFinArchivo(static_cast<int>(Lineas.size()));
    return Lineas[static_cast<std::size_t>(I)];
}

void TDXF::LeerPar() {
    Codigo = Recortar(Linea(Indice));
    ++Indice;
    // Text pieces keep their blanks: they are part of the text.
    const std::string& v = Linea(Indice);
    Valor = (Codigo == "1" || Codigo == "3") ? v : Recortar(v);
    ++Indice;
}

void TDXF::SaltarHasta(const char* V) {
    while (!EsPar("0", V))
        LeerPar();
}

void TDXF::Leer() {
    Indice = 0;
    CapasPorNombre.clear();
    for (int i = 0; i < Capas.Count(); ++i)
        RegistrarCapa(Capas.ItemComo<TCADCapa>(i));
    do {
        LeerPar();
        if (EsPar("0", "SECTION"))
            LeerSeccion();
    } while (!EsPar("0", "EOF"));
}

void TDXF::LeerSeccion() {
    LeerPar();
    if (EsPar("2", "TABLES"))
        LeerTablas();
    else if (EsPar("2", "ENTITIES"))
        LeerEntidades();
    else
        SaltarHasta("ENDSEC");
}

void TDXF::LeerTablas() {
    do {
        LeerPar();
        if (EsPar("0", "TABLE")) {
            LeerPar();
            if (EsPar("2", "LAYER"))
                LeerTablaCapas();
            else
                SaltarHasta("ENDTAB");
        }
    } while (!EsPar("0", "ENDSEC"));
}

void TDXF::LeerTablaCapas() {
    do {
        LeerPar();
        if (EsPar("0", "LAYER"))
            LeerCapa();
    } while (!EsPar("0", "ENDTAB"));
    if (!BuscarCapa("0")) {
        auto capa = std::make_unique<TCADCapa>();
        capa->SetNombre("0");
        RegistrarCapa(Capas.Agregar(std::move(capa)));
    }
}

void TDXF::LeerCapa() {
    auto* capa = Crear<TCADCapa>(Capas);
    std::int32_t grosor = 0;
    do {
        LeerPar();
        if (Codigo == "2")
            capa->SetNombre(Valor);
        else if (Codigo == "62")
            capa->SetColor(Entero(Valor));
        else if (Codigo == "6")
            capa->SetLinea(Valor);
        else if (Codigo == "370")
            grosor = Entero(Valor);
    } while (Codigo != "0");
    const std::int32_t color = capa->GetColor();
    if (color < 0) {
        // A layer switched off carries its colour negated.
        capa->SetColor(color == std::numeric_limits<std::int32_t>::min()
                           ? std::numeric_limits<std::int32_t>::max()
                           : -color);
        capa->SetActiva(false);
    } else {
        capa->SetActiva(true);
    }
    // Hundredths of a millimetre; negative values mean by layer, by block or
    // the default weight.
    capa->SetGrosor(grosor >= 0 ? grosor / 100.0 : 0.2);
    RegistrarCapa(capa);
    Indice -= 2;
}

void TDXF::LeerEntidades() {
    do {
        LeerPar();
        if (Codigo == "0" && Valor != "ENDSEC")
            while (!EsPar("0", "ENDSEC"))
                LeerEntidad();
    } while (!EsPar("0", "ENDSEC"));
}

void TDXF::Reunir(TRegistro& R) {
    R.Limpiar();
    R.Agregar(Codigo, Valor);
    for (;;) {
        LeerPar();
        if (Codigo == "0")
            break;
        R.Agregar(Codigo, Valor);
    }
}

void TDXF::LeerEntidad() {
    TRegistro r;
    Reunir(r);
    // Entities on layers the table does not define are dropped.
    TCADCapa* capa = BuscarCapa(r.Valor("8"));
    if (!capa)
        return;
    auto e = CrearEntidad(r);
    e->Parametros.BeginUpdate();
    e->SetTipoText(r.Valor("0"));
    e->SetSubClaseText(r.Valor("100"));
    if (const auto* v = r.Buscar("62"))
        e->SetColor(Entero(*v));
    if (const auto* v = r.Buscar("420"))
        e->SetColorRGB(Entero(*v));
    double grosor = capa->GetGrosor();
    if (const auto* v = r.Buscar("370")) {
        grosor = Real(*v) / 100.0;
        if (grosor < 0)
            grosor = capa->GetGrosor();
    }
    e->SetGrosor(grosor);
    e->Parametros.EndUpdate();
    e->CalcularLimites();
    capa->Entidades.Agregar(std::move(e));
}

std::unique_ptr<TCADEntidad> TDXF::CrearEntidad(const TRegistro& R) {
    const std::string tipo = R.Valor("0");
    if (tipo == "POINT") {
        auto p = std::make_unique<TCADEntidadPunto>();
        p->Parametros.BeginUpdate();
        p->SetX(R.Numero("10"));
        p->SetY(R.Numero("20"));
        p->SetZ(R.Numero("30"));
        p->Parametros.EndUpdate();
        return p;
    }
    if (tipo == "LINE") {
        auto l = std::make_unique<TCADLinea>();
        l->Puntos.BeginUpdate();
        R.Punto(l->P1(), "10", "20", "30");
        R.Punto(l->P2(), "11", "21", "31");
        l->Puntos.EndUpdate();
        return l;
    }
    if (tipo == "CIRCLE" || tipo == "ARC") {
        std::unique_ptr<TCADCirculo> c;
        if (tipo == "ARC") {
            auto a = std::make_unique<TCADArco>();
            double a1 = R.Numero("50");
            const double a2 = R.Numero("51");
            // An arc through 0 degrees starts below zero, so Alfa1 < Alfa2.
            if (a1 > a2)
                a1 -= 360;
            a->Parametros.BeginUpdate();
            a->SetAlfa1(a1);
            a->SetAlfa2(a2);
            a->Parametros.EndUpdate();
            c = std::move(a);
        } else {
            c = std::make_unique<TCADCirculo>();
        }
        c->Puntos.BeginUpdate();
        c->Parametros.BeginUpdate();
        R.Punto(c->Centro(), "10", "20", "30");
        c->SetRadio(R.Numero("40"));
        c->Parametros.EndUpdate();
        c->Puntos.EndUpdate();
        return c;
    }
    if (tipo == "LWPOLYLINE") {
        std::unique_ptr<TCADPolilinea> p;
        if (R.Valor("70") == "1")
            p = std::make_unique<TCADPoligono>();
        else
            p = std::make_unique<TCADPolilinea>();
        const double z = R.Numero("38");
        // Notifications wait until the end: each one would walk all vertices.
        p->Puntos.BeginUpdate();
        for (int n = 0;; ++n) {
            const auto* x = R.Buscar(Clave('X', n));
            const auto* y = R.Buscar(Clave('Y', n));
            if (!x || !y)
                break;
            p->AgregarVertice(TextoANumero(*x), TextoANumero(*y), z);
        }
        p->Puntos.EndUpdate();
        return p;
    }
    if (tipo == "POLYLINE")
        return LeerPolilinea(R);
    if (tipo == "MTEXT" || tipo == "TEXT") {
        auto t = std::make_unique<TCADTexto>();
        t->Puntos.BeginUpdate();
        t->Parametros.BeginUpdate();
        R.Punto(t->Enlace(), "10", "20", "30");
        t->SetAltura(R.Numero("40"));
        t->SetRotacion(R.Numero("50"));
        if (tipo == "MTEXT") {
            t->SetClipWidth(R.Numero("41"));
            t->SetAlineacion(R.EnteroO0("71"));
        } else {
            t->SetAlineacion(AlineacionTexto(R.EnteroO0("72"), R.EnteroO0("73")));
        }
        t->SetTexto(R.Texto());
        t->Parametros.EndUpdate();
        t->Puntos.EndUpdate();
        return t;
    }
    return std::make_unique<TCADEntidad>();
}

std::unique_ptr<TCADEntidad> TDXF::LeerPolilinea(const TRegistro& R) {
    // Only 3-D polylines with their vertices following are drawn; other
    // kinds leave their VERTEX and SEQEND to be read as entities of their own.
    if (R.Valor("66") != "1")
        return std::make_unique<TCADEntidad>();
    const auto* banderas = R.Buscar("70");
    if (banderas && *banderas != "8" && *banderas != "9")
        return std::make_unique<TCADEntidad>();
    auto p = std::make_unique<TCADPolilinea>();
    p->Puntos.BeginUpdate();
    TRegistro v;
    // A missing SEQEND ends the vertices at the end of the section instead of
    // swallowing what follows.
    while (!EsPar("0", "SEQEND") && !EsPar("0", "ENDSEC")) {
        Reunir(v);
        if (v.Valor("0") != "VERTEX")
            continue;
        const auto* f = v.Buscar("70");
        if (!f || *f == "32")
            p->AgregarVertice(v.Numero("10"), v.Numero("20"), v.Numero("30"));
    }
    if (EsPar("0", "SEQEND"))
        Reunir(v);
    if (banderas && *banderas == "9" && p->Puntos.Count() > 0) {
        const auto* p0 = p->Puntos.ItemComo<TCADPunto>(0);
        p->AgregarVertice(p0->GetX(), p0->GetY(), p0->GetZ());
    }
    p->Puntos.EndUpdate();
    return p;
}

TCADCapa* TDXF::BuscarCapa(const std::string& Nombre) const {
    const auto it = CapasPorNombre.find(MayusculasES(Nombre));
    return it == CapasPorNombre.end() ? nullptr : it->second;
}

void TDXF::RegistrarCapa(TCADCapa* Capa) {
    CapasPorNombre.emplace(MayusculasES(Capa->GetNombre()), Capa);
}

} // namespace ventix
