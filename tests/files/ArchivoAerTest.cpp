#include "files/ArchivoAer.h"

#include "Circuito.h"
#include "foundation/Archivo.h"
#include "foundation/Coleccion.h"
#include "foundation/Numeros.h"

#include <algorithm>
#include <random>

using namespace ventix;
using T = TTipoComponente;
namespace A = ArchivoAer;

namespace {

// A canvas with the test catalogue (points, no drawings) and helpers to
// read and write circuits.
class Archivo : public ::testing::Test {
protected:
    void SetUp() override { CargarCatalogo(L); }
    // A fresh canvas with the lines, or a file's bytes, read into it.
    std::unique_ptr<TAerPaintBox> Leido(const std::vector<std::string>& Lineas) {
        auto otro = std::make_unique<TAerPaintBox>();
        CargarCatalogo(*otro);
        A::Leer(*otro, Lineas);
        return otro;
    }
    std::unique_ptr<TAerPaintBox> Leido(const std::string& Bytes) {
        return Leido(A::LineasDe(Bytes));
    }
    // Reads the lines into a fresh canvas and writes them again.
    std::vector<std::string> Releer(const std::vector<std::string>& Lineas) {
        return A::Escribir(*Leido(Lineas));
    }
    // The line that fails reading and its reason, or 0 when reading succeeds.
    // The file's bytes read a line at a time must fail at the same line for
    // the same reason, or give the same circuit.
    std::pair<int, std::string> Error(const std::string& Bytes) {
        const auto porLineas = Intento([&](TAerPaintBox& o) { A::Leer(o, A::LineasDe(Bytes)); });
        const auto porBytes = Intento([&](TAerPaintBox& o) { A::Leer(o, TLineasTexto(Bytes)); });
        EXPECT_EQ(porBytes, porLineas);
        return porLineas.first;
    }
    template <class F>
    std::pair<std::pair<int, std::string>, std::vector<std::string>> Intento(F Leer) {
        TAerPaintBox otro;
        CargarCatalogo(otro);
        std::pair<int, std::string> error{0, ""};
        try {
            Leer(otro);
        } catch (const ELecturaAer& e) {
            error = {e.Linea, e.Motivo};
        }
        return {error, A::Escribir(otro)};
    }
    TAerPaintBox L;
};

// A circuit touching every field the file stores.
void Construir(TAerPaintBox& L) {
    auto* cil = TAerComponente::Crear(L, T::CilindroDoble);
    cil->SetNombre("Cilindro A");
    std::tie(cil->X, cil->Y, cil->Alfa, cil->Simetrico) = std::tuple(1.0 / 3, -12.5, 90.0, true);
    cil->SetParametro(0.25);
    auto* fuente = TAerComponente::Crear(L, T::Presion);
    fuente->SetNombre("$$$mio"); // a user's name starting with dollars is lost: $$$1
    fuente->X = 1e-6;
    auto* rodillo = TAerValvula::Crear(L, true, TActuador::Escamoteable, T::Valvula32NC);
    rodillo->SetNombre("Fin de carrera");
    std::tie(rodillo->Sentido, rodillo->Valor) = std::pair(TSentido::Avance, 0.9);
    rodillo->SetCilindro(cil);
    auto* piloto = TAerValvula::Crear(L, false, TActuador::Pilotado, T::Valvula52);
    piloto->EscalaX = 2;
    auto* reg = TAerComponente::Crear(L, T::Regulador1);
    reg->Valor = 1;

    auto* blanco = TAerTexto::Crear(L);
    blanco->Cadena = "Señal de «avance» 10 bar";
    blanco->ColorTexto = QColor::fromRgba(0xFFFFFFFFu);
    blanco->SetEstilo(etNormal | etNegrita | etTachada);
    blanco->SetTamano(3.5);
    std::tie(blanco->X, blanco->Y) = std::pair(2.0, 3.0);
    blanco->SetAsociado(rodillo);
    auto* suelto = TAerTexto::Crear(L);
    suelto->Alfa = 45;

    auto* t = TAerTubo::Crear(L);
    t->SetInicio(fuente->Conexion(0));
    t->SetFin(rodillo->Conexion(1));
    t->SetLinea(0);
    t->AnadirVertice({1.234, -5.678});
    t->SetLinea(4);
    t->AnadirVertice({10, 20});
    auto* t2 = TAerTubo::Crear(L);
    t2->SetInicio(rodillo->Conexion(2));
    t2->SetFin(piloto->Conexion(5)); // a pilot point moved up from its actuator
    t2->AnadirVertice({0, 0});
}

} // namespace

TEST_F(Archivo, EmptyCircuitIsThreeLinesAndReadsBackEmpty) {
    const auto lineas = A::Escribir(L);
    EXPECT_EQ(lineas, (std::vector<std::string>{R"(<?xml version="1.0" encoding="iso-8859-1"?>)",
                                                R"(<NEUMATICA VERSION="1.0">)", "</NEUMATICA>"}));
    A::Leer(L, lineas);
    EXPECT_EQ(L.Componentes.Count() + L.Textos.Count() + L.Tubos.Count(), 0);
    EXPECT_EQ(A::Bytes(lineas), "<?xml version=\"1.0\" encoding=\"iso-8859-1\"?>\r\n"
                                "<NEUMATICA VERSION=\"1.0\">\r\n</NEUMATICA>\r\n");
}

// The lines pin the writer, so a byte-identical rewrite shows that reading
// restored every field.
TEST_F(Archivo, WritesEveryFieldAndReadsItBackByteIdentical) {
    Construir(L);
    const auto l = A::Escribir(L);
    // X exact, so that it reads back.
    EXPECT_EQ(l[3] + l[5] + l[10] + l[11],
              R"(  <COMPONENTE NOMBRE="Cilindro A" TIPO="CilindroDoble">)"
              R"(    <PARAM X="0.3333333333333333" />    <PARAM SIMETRICO="True" />)"
              R"(    <PARAM PARAMETRO="0.25" />)");
    for (const char* linea : {
             R"(  <COMPONENTE NOMBRE="$$$1" TIPO="Presión">)", R"(    <PARAM X="1E-6" />)",
             R"(    <PARAM VALOR="0.9" />)", R"(    <PARAM ACTUADOR_STR="Escamoteable" />)",
             R"(    <PARAM SENTIDO="1" />)", R"(    <PARAM SENTIDO_STR="Avance" />)",
             R"(    <PARAM CILINDRO="Cilindro A" />)", R"(    <PARAM MONOESTABLE="False" />)",
             R"(  <TEXTO STR="Señal de «avance» 10 bar">)", R"(    <PARAM COLOR="4294967295" />)",
             R"(    <PARAM TACHADA="True" />)", R"(    <PARAM ASOCIADO="Fin de carrera" />)",
             R"(  <TUBO INI="$$$1" FIN="Fin de carrera">)",
             R"(    <VERTICE X="1.23" Y="-5.68" LINEA="0" />)",
             R"(    <VERTICE X="10.00" Y="20.00" LINEA="4" />)",
             R"(    <PARAM FIN="6" />)", // counts the actuators before the point
         })
        EXPECT_NE(std::find(l.begin(), l.end(), linea), l.end()) << linea;
    // Temporary names do not outlive the writing.
    EXPECT_EQ(L.Componentes.Item(1)->GetNombre(), "");
    // Latin-1 on disk, CR LF endings.
    const std::string b = A::Bytes(l);
    EXPECT_NE(b.find("TIPO=\"Presi\xF3n\">\r\n"), std::string::npos);

    const auto otro = Leido(b);
    EXPECT_EQ(A::Bytes(A::Escribir(*otro)), b);
    ASSERT_EQ(otro->Componentes.Count(), 5);
    EXPECT_EQ(otro->Componentes.Item(1)->GetNombre(), ""); // $$$1 is unnamed again
    EXPECT_EQ(otro->RefVertices.Count(), 3);
}

TEST_F(Archivo, AwkwardCharactersBecomeReferencesAndComeBack) {
    const std::string raro = "dice \"hola\" & <adiós>\t€ 5";
    auto* c = TAerComponente::Crear(L, T::Escape);
    c->SetNombre(raro);
    auto* t = TAerTexto::Crear(L);
    t->Cadena = "&#65; ya escrito";
    t->SetAsociado(c);
    const auto l = A::Escribir(L);
    EXPECT_EQ(
        l[3],
        R"(  <COMPONENTE NOMBRE="dice &#34;hola&#34; &#38; &#60;adiós&#62;&#9;&#8364; 5" TIPO="Escape">)");
    const auto otro = Leido(A::Bytes(l));
    const auto* leido = otro->Textos.ItemComo<TAerTexto>(0);
    EXPECT_EQ(otro->Componentes.Item(0)->GetNombre(), raro);
    EXPECT_EQ(std::tuple(leido->Cadena, leido->GetAsociado()),
              std::tuple(std::string("&#65; ya escrito"), otro->Componentes.Item(0)));
    EXPECT_EQ(A::Desescapar("&quot;&amp;&lt;&gt;&#x41;&#;&bogus;&#55296;"),
              "\"&<>A&#;&bogus;&#55296;");
}

TEST_F(Archivo, TokenisingKeepsQuotedBlanksAndSplitsClosingTag) {
    std::string l = "   <VERTICE X=\"1 2\"/>  Y=\"3\"  \r";
    std::vector<std::string> t;
    for (auto s = A::SiguienteToken(l); !s.empty(); s = A::SiguienteToken(l))
        t.push_back(s);
    EXPECT_EQ(t, (std::vector<std::string>{"<VERTICE", "X=\"1 2\"", "/>", "Y=\"3\""}));
    std::string n, v;
    // Without "=" nothing; "X=" is too short to hold quotes.
    for (auto [Atributo, Partes] :
         {std::pair(" NOMBRE=\"a=b\" ", "NOMBRE|a=b"), {"sinigual", "|"}, {"X=", "X|"}}) {
        A::SepararAtributo(Atributo, n, v);
        EXPECT_EQ(n + "|" + v, Partes);
    }
}

TEST_F(Archivo, ReadsLooseFilesAsTheFormatAllows) {
    // LF endings, sections out of order and repeated, names looked up
    // without regard to case, wrong *_STR values, a cylinder that is none.
    const std::string bytes =
        "basura\n<?xml version=\"1.0\"?>\n<NEUMATICA VERSION=\"2\">\n<TEXTOS>\n  <TEXTO STR=\"sin "
        "datos\">\n"
        "    <PARAM COLOR=\"-1\" />\n  </TEXTO>\n  <TEXTO STR=\"b\">\n    <PARAM X=\"7\" />\n"
        "    <PARAM ITALICA=\"1\" />\n  </TEXTO>\n</TEXTOS>\n"
        "<COMPONENTES>\n  <COMPONENTE NOMBRE=\"V\">\n    <PARAM TIPO=\"5\" />\n"
        "    <PARAM ACTUADOR=\"4\" />\n    <PARAM ACTUADOR_STR=\"Seta\" />\n"
        "    <PARAM SENTIDO=\"1\" />\n    <PARAM CILINDRO=\"f\" />\n  </COMPONENTE>\n"
        "</COMPONENTES>\n<COMPONENTES>\n  <COMPONENTE NOMBRE=\"F\">\n    <PARAM TIPO=\"1\" />\n"
        "    <PARAM ESCALAX=\"1\" />\n  </COMPONENTE>\n</COMPONENTES>\n"
        "<TUBOS>\n  <TUBO INI=\"f\" FIN=\"v\">\n    <PARAM FIN=\"1\" />\n  </TUBO>\n</TUBOS>\n"
        "</NEUMATICA>";
    A::Leer(L, A::LineasDe(bytes));
    ASSERT_EQ(L.Componentes.Count(), 2);
    auto* v = L.Componentes.ItemComo<TAerValvula>(0);
    // "f" is a pressure source, not a cylinder.
    EXPECT_EQ(std::tuple(v->GetActuador(), v->Sentido, v->GetCilindro()),
              std::tuple(TActuador::Escamoteable, TSentido::Avance, nullptr));
    EXPECT_EQ(L.Componentes.ItemComo<TAerComponente>(1)->EscalaY, 0);
    // Missing text attributes take fixed defaults, not the previous text's.
    auto* t0 = L.Textos.ItemComo<TAerTexto>(0);
    auto* t1 = L.Textos.ItemComo<TAerTexto>(1);
    EXPECT_EQ(t0->ColorTexto.rgba(), 0xFFFFFFFFu);
    EXPECT_EQ(std::tuple(t1->X, t1->GetTamano(), t1->ColorTexto.rgba(), t1->GetEstilo()),
              std::tuple(7.0, 4.0, 0xFF000000u, etNormal | etItalica));
    // A complete tube listed without bends ends on its end point.
    auto* tubo = L.Tubos.ItemComo<TAerTubo>(0);
    ASSERT_EQ(tubo->Vertices.Count(), 1);
    EXPECT_EQ(std::tuple(tubo->Vertice(0)->X, tubo->Vertice(0)->Y),
              std::tuple(tubo->Fin->XMundo, tubo->Fin->YMundo));
    // Written again, the file is stable.
    const auto l = A::Escribir(L);
    EXPECT_EQ(Releer(l), l);
}

TEST_F(Archivo, BrokenFilesNameTheLine) {
    const std::string cab = "<?xml version=\"1.0\"?>\n<NEUMATICA VERSION=\"1.0\">\n";
    auto comp = [](const std::string& Nombre, const std::string& Tipo,
                   const std::string& Mas = "") {
        return "  <COMPONENTE NOMBRE=\"" + Nombre + "\">\n    <PARAM TIPO=\"" + Tipo + "\" />\n" +
               (Mas.empty() ? "" : "    " + Mas + "\n") + "  </COMPONENTE>\n";
    };
    auto seccion = [](const std::string& Dentro) {
        return "<COMPONENTES>\n" + Dentro + "</COMPONENTES>\n";
    };
    // Line 4 opens the component, line 6 holds the parameter.
    const std::string fin = "</NEUMATICA>\n";
    auto con = [&](const std::string& Param) { return cab + seccion(comp("a", "1", Param)) + fin; };
    // A source "a" and a single-acting cylinder "b"; the first tube opens line 12.
    auto tubos = [&](const std::string& Tubos, const std::string& Mas = "") {
        return cab + seccion(comp("a", "1") + comp("b", "15") + Mas) + "<TUBOS>\n" + Tubos +
               "</TUBOS>\n</NEUMATICA>\n";
    };
    auto tubo = [](const std::string& Ini, const std::string& Pos, const std::string& Fin,
                   const std::string& PosFin = "0",
                   const std::string& Vertice = R"(<VERTICE X="1" Y="2" LINEA="9" />)") {
        return "  <TUBO INI=\"" + Ini + "\" FIN=\"" + Fin + "\">\n    <PARAM INI=\"" + Pos +
               "\" />\n    <PARAM FIN=\"" + PosFin + "\" />\n    " + Vertice + "\n  </TUBO>\n";
    };
    // A push-button valve "v": its position 3 holds the actuator, not a point.
    const std::string v = comp("v", "5", R"(<PARAM ACTUADOR="2" />)");
    struct Caso {
        const char* Que;
        std::string Texto;
        int Linea;
    };
    const Caso casos[] = {
        {"bien", cab + seccion(comp("a", "1")) + fin, 0},
        // Cut short: the file's last line.
        {"sin cabecera", "hola", 1},
        {"solo la cabecera", "<?xml version=\"1.0\"?>", 1},
        {"sección cortada", cab + "<COMPONENTES>\n  <COMPONENTE NOMBRE=\"a\">\n", 4},
        {"sin cerrar la raíz", cab + seccion(comp("a", "1")), 7},
        {"solo la raíz abierta", cab, 2},
        {"coma decimal", con(R"(<PARAM X="1,5" />)"), 6},
        {"indicador", con(R"(<PARAM SIMETRICO="quizá" />)"), 6},
        {"entero", con(R"(<PARAM ACTUADOR="1.5" />)"), 6},
        {"infinito", con(R"(<PARAM X="1E999" />)"), 6},
        {"tipo 0", con(R"(<PARAM TIPO="0" />)"), 4},
        {"tipo 17", con(R"(<PARAM TIPO="17" />)"), 4},
        {"tipo 30", con(R"(<PARAM TIPO="30" />)"), 4},
        {"tipo 31", con(R"(<PARAM TIPO="31" />)"), 4},
        {"tipo 20", con(R"(<PARAM TIPO="20" />)"), 0},
        {"actuador", cab + seccion(comp("v", "3", R"(<PARAM ACTUADOR="9" />)")), 4},
        {"nombre repetido", cab + seccion(comp("a", "1")) + seccion(comp("a", "1")), 9},
        {"etiqueta con más", cab + "<TUBOS> x\n</TUBOS>\n", 3},
        {"dos etiquetas", cab + "  <TEXTOS> <TEXTO STR=\"a\">\n</TEXTOS>\n", 3},
        {"tubo bien", tubos(tubo("a", "0", "b")), 0},
        {"inicio que no existe", tubos(tubo("c", "0", "b")), 12},
        {"fin que no existe", tubos(tubo("a", "0", "c")), 12},
        {"posición de más", tubos(tubo("a", "5", "b")), 12},
        {"posición negativa", tubos(tubo("a", "-1", "b")), 12},
        {"un solo punto", tubos(tubo("a", "0", "a")), 12},
        {"vértice sin cerrar", tubos(tubo("a", "0", "b", "0", R"(<VERTICE X="1" Y="2")")), 15},
        {"a una válvula", tubos(tubo("a", "0", "v"), v), 0},
        {"a su actuador", tubos(tubo("a", "0", "v", "3"), v), 16},
        {"dos al mismo punto", tubos(tubo("a", "0", "b") + tubo("a", "0", "b")), 17},
    };
    for (const auto& c : casos)
        EXPECT_EQ(Error(c.Texto).first, c.Linea) << c.Que;

    // The reason keeps the conversion's words and the error it came from;
    // what was read before the error stays, its temporary names cleared.
    TAerPaintBox otro;
    CargarCatalogo(otro);
    const std::string coma = comp("b", "1", R"(<PARAM X="1,5" />)");
    try {
        A::Leer(otro, A::LineasDe(cab + seccion(comp("$$$0", "1") + coma)));
        ADD_FAILURE();
    } catch (const ELecturaAer& e) {
        EXPECT_EQ(e.Motivo, "'1,5' no es un número válido");
        EXPECT_STREQ(e.what(), "línea 9: '1,5' no es un número válido");
        EXPECT_THROW(std::rethrow_if_nested(e), EConversionError);
    }
    ASSERT_EQ(otro.Componentes.Count(), 1);
    EXPECT_EQ(otro.Componentes.Item(0)->GetNombre(), "");
}

// What a student reads when a file is refused: a Spanish reason and the line
// it is on, the value quoted short; and what is read leniently instead.
TEST_F(Archivo, RefusalsGiveASpanishReasonAndTheRealLine) {
    const std::string cab = "<?xml version=\"1.0\"?>\n<NEUMATICA VERSION=\"1.0\">\n";
    auto con = [&](const std::string& Params) {
        return cab + "<COMPONENTES>\n  <COMPONENTE NOMBRE=\"a\">\n    <PARAM TIPO=\"7\" />\n" +
               Params + "  </COMPONENTE>\n</COMPONENTES>\n</NEUMATICA>\n";
    };
    using R = std::pair<int, std::string>;
    const std::pair<std::string, R> casos[] = {
        {cab + "<COMPONENTES>\n", {3, "El archivo termina antes de lo esperado"}},
        {"", {1, "El archivo está vacío"}},
        {con("    <PARAM X=\"-\" />\n"), {6, "'-' no es un número válido"}},
        {con("    <PARAM X=\"nan\" />\n"), {6, "'nan' no es un número válido"}},
        {con("    <PARAM Y=\"-inf\" />\n"), {6, "'-inf' no es un número válido"}},
        {con("    <PARAM ACTUADOR=\"\" />\n"), {6, "'' no es un número entero válido"}},
        {con("    <PARAM SIMETRICO=\"quiz\xE1\" />\n"), // Latin-1 on disk
         {6, "'quizá' no es un valor lógico válido"}},
        {con("    <PARAM VALOR=\"" + std::string(1 << 20, '7') + "x\" />\n"),
         {6, "'" + std::string(80, '7') + "…' no es un número válido"}},
    };
    for (const auto& [Texto, Esperado] : casos)
        EXPECT_EQ(Error(Texto), Esperado);
    try {
        A::Leer(L, A::LineasDe(cab));
        ADD_FAILURE();
    } catch (const ELecturaAer& e) {
        EXPECT_STREQ(e.what(), "línea 2: El archivo termina antes de lo esperado");
        EXPECT_THROW(std::rethrow_if_nested(e), EListaError);
    }
    // A folder is not read as a circuit.
    const auto carpeta = std::filesystem::temp_directory_path();
    try {
        A::CargarLineas(carpeta);
        ADD_FAILURE();
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()), "\"" + carpeta.string() + "\" es una carpeta");
    }

    // Empty decimals and flags read as 0 and False; states come into 0..1.
    auto otro = Leido(con("    <PARAM X=\"\" />\n    <PARAM SIMETRICO=\"\" />\n"
                          "    <PARAM PARAMETRO=\"1e308\" />\n"));
    auto* c = otro->Componentes.ItemComo<TAerComponente>(0);
    EXPECT_EQ(std::tuple(c->X, c->Simetrico, c->GetParametro()), std::tuple(0.0, false, 1.0));
    otro = Leido(con("    <PARAM PARAMETRO=\"-3\" />\n"));
    EXPECT_EQ(otro->Componentes.ItemComo<TAerComponente>(0)->GetParametro(), 0);
}

// CR LF, LF and CR alone, a UTF-8 mark, the largest doubles, and roller locks
// to cylinders of any section, before or after.
TEST_F(Archivo, LineEndingsExtremeNumbersAndLocksAcrossSections) {
    auto comp = [](const std::string& Nombre, const std::string& Tipo, const std::string& Mas) {
        return "<COMPONENTES>\r  <COMPONENTE NOMBRE=\"" + Nombre + "\">\r    <PARAM TIPO=\"" +
               Tipo + "\" />\r" + Mas + "  </COMPONENTE>\r</COMPONENTES>\r";
    };
    const std::string rodillo = "    <PARAM ACTUADOR=\"3\" />\r    <PARAM CILINDRO=\"cil\" />\r";
    const std::string cab = "\xEF\xBB\xBF<?xml version=\"1.0\"?>\r\n<NEUMATICA VERSION=\"1.0\">\n";
    const std::string antes = cab + comp("V1", "5", rodillo) + comp("Cil", "8", "") +
                              comp("V2", "4", rodillo) + "</NEUMATICA>";
    A::Leer(L, A::LineasDe(antes));
    ASSERT_EQ(L.Componentes.Count(), 3);
    auto* cil = L.Componentes.Item(1);
    EXPECT_EQ(L.Componentes.ItemComo<TAerValvula>(0)->GetCilindro(), cil);
    EXPECT_EQ(L.Componentes.ItemComo<TAerValvula>(2)->GetCilindro(), cil);
    const auto l = A::Escribir(L);
    EXPECT_EQ(std::count(l.begin(), l.end(), R"(    <PARAM CILINDRO="Cil" />)"), 2);

    // A UTF-8 file keeps its letters; an extreme double survives a round trip.
    L.BorrarCircuito();
    A::Leer(L,
            A::LineasDe(cab + comp("Señal", "1", "    <PARAM X=\"-1.7976931348623157E308\" />\r") +
                        "</NEUMATICA>\r"));
    EXPECT_EQ(std::tuple(L.Componentes.Item(0)->GetNombre(),
                         L.Componentes.ItemComo<TAerComponente>(0)->X),
              std::tuple(std::string("Señal"), -1.7976931348623157e308));
    EXPECT_EQ(Releer(A::Escribir(L)), A::Escribir(L));
}

TEST_F(Archivo, MutatedFilesNeverCrashOrHang) {
    Construir(L);
    const std::string original = A::Bytes(A::Escribir(L));
    std::mt19937 azar(20261206);
    const std::string piezas[] = {
        "\"",    "<",  "/>",    " ",      "\n",       "\r\n",          "=",    "-1",
        "1E308", "&#", "<TUBO", "<PARAM", "<VERTICE", "<COMPONENTES>", "\xFF", "0"};
    int leidos = 0;
    for (int n = 0; n < 400; ++n) {
        std::string b = original;
        const int cambios = 1 + static_cast<int>(azar() % 4);
        for (int k = 0; k < cambios && !b.empty(); ++k) {
            const std::size_t p = azar() % b.size();
            switch (azar() % 4) {
            case 0:
                b.erase(p, 1 + azar() % 20);
                break;
            case 1:
                b.insert(p, piezas[azar() % std::size(piezas)]);
                break;
            case 2:
                b[p] = static_cast<char>(azar() % 256);
                break;
            default:
                b.resize(p); // truncated
                break;
            }
        }
        try {
            const auto otro = Leido(b);
            const auto l = A::Escribir(*otro);
            EXPECT_EQ(Releer(l), l);
            otro->ActualizarGeometria();
            ++leidos;
        } catch (const ELecturaAer&) {
        }
    }
    EXPECT_GT(leidos, 0);
}
