#include "files/ArchivoAer.h"

#include "circuit/AerConexion.h"
#include "circuit/AerPaintBox.h"
#include "circuit/AerTexto.h"
#include "circuit/AerTubo.h"
#include "circuit/AerValvula.h"
#include "foundation/Coleccion.h"
#include "foundation/Numeros.h"

#include "../cad/Aplicacion.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

using namespace ventix;
using T = TTipoComponente;
namespace A = ArchivoAer;

namespace {

// A canvas with the test catalogue (points, no drawings) and helpers to
// build, write and read circuits.
class Archivo : public ::testing::Test {
protected:
    void SetUp() override {
        AsegurarAplicacion();
        Cargar(L);
    }
    static void Cargar(TAerPaintBox& Lienzo) {
        Lienzo.Libreria.Cargar(std::filesystem::u8path(VENTIX_TEST_DATA "/catalogo/LIBRERÍA.txt"));
    }
    // Reads the lines into a fresh canvas and writes them again.
    std::vector<std::string> Releer(const std::vector<std::string>& Lineas) {
        TAerPaintBox otro;
        Cargar(otro);
        A::Leer(otro, Lineas);
        return A::Escribir(otro);
    }
    TAerTubo* Unir(TAerConexion* a, TAerConexion* b, std::vector<TCADCoordenada> medio) {
        auto* t = TAerTubo::Crear(L);
        t->SetInicio(a);
        t->SetFin(b);
        for (const auto& p : medio)
            t->AnadirVertice(p);
        return t;
    }
    // The line that fails reading, or 0 when reading succeeds.
    int LineaDelError(const std::vector<std::string>& Lineas) {
        TAerPaintBox otro;
        Cargar(otro);
        try {
            A::Leer(otro, Lineas);
        } catch (const ELecturaAer& e) {
            return e.Linea;
        }
        return 0;
    }
    std::vector<std::string> Cabecera(std::vector<std::string> Resto) {
        std::vector<std::string> r{R"(<?xml version="1.0" encoding="iso-8859-1"?>)",
                                   R"(<NEUMATICA VERSION="1.0">)"};
        r.insert(r.end(), Resto.begin(), Resto.end());
        return r;
    }
    TAerPaintBox L;
};

// A circuit touching every field the file stores.
void Construir(TAerPaintBox& L) {
    auto* cil = TAerComponente::Crear(L, T::CilindroDoble);
    cil->SetNombre("Cilindro A");
    cil->X = 1.0 / 3;
    cil->Y = -12.5;
    cil->Alfa = 90;
    cil->Simetrico = true;
    cil->SetParametro(0.25);
    auto* fuente = TAerComponente::Crear(L, T::Presion); // unnamed: $$$1
    fuente->X = 1e-6;
    auto* rodillo = TAerValvula::Crear(L, true, TActuador::Escamoteable, T::Valvula32NC);
    rodillo->SetNombre("Fin de carrera");
    rodillo->Sentido = TSentido::Avance;
    rodillo->SetCilindro(cil);
    rodillo->Valor = 0.9;
    auto* piloto = TAerValvula::Crear(L, false, TActuador::Pilotado, T::Valvula52);
    piloto->EscalaX = 2;
    auto* reg = TAerComponente::Crear(L, T::Regulador1);
    reg->Valor = 1;

    auto* blanco = TAerTexto::Crear(L);
    blanco->Cadena = "Señal de «avance» 10 bar";
    blanco->ColorTexto = QColor::fromRgba(0xFFFFFFFFu);
    blanco->SetEstilo(etNormal | etNegrita | etTachada);
    blanco->SetTamano(3.5);
    blanco->X = 2;
    blanco->Y = 3;
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

TEST_F(Archivo, WritesTheExactLines) {
    Construir(L);
    const auto l = A::Escribir(L);
    auto tiene = [&](const std::string& s) { return std::find(l.begin(), l.end(), s) != l.end(); };
    EXPECT_EQ(l[2], "<COMPONENTES>");
    EXPECT_EQ(l[3], R"(  <COMPONENTE NOMBRE="Cilindro A" TIPO="CilindroDoble">)");
    EXPECT_EQ(l[4], R"(    <PARAM TIPO="8" />)");
    EXPECT_EQ(l[5], R"(    <PARAM X="0.333333333333333" />)");
    EXPECT_EQ(l[6], R"(    <PARAM Y="-12.5" />)");
    EXPECT_EQ(l[9], R"(    <PARAM ALFA="90" />)");
    EXPECT_EQ(l[10], R"(    <PARAM SIMETRICO="True" />)");
    EXPECT_EQ(l[11], R"(    <PARAM PARAMETRO="0.25" />)");
    EXPECT_TRUE(tiene(R"(  <COMPONENTE NOMBRE="$$$1" TIPO="Presión">)"));
    EXPECT_TRUE(tiene(R"(    <PARAM X="1E-6" />)"));
    EXPECT_TRUE(tiene(R"(    <PARAM ACTUADOR_STR="Escamoteable" />)"));
    EXPECT_TRUE(tiene(R"(    <PARAM SENTIDO="1" />)"));
    EXPECT_TRUE(tiene(R"(    <PARAM SENTIDO_STR="Avance" />)"));
    EXPECT_TRUE(tiene(R"(    <PARAM CILINDRO="Cilindro A" />)"));
    EXPECT_TRUE(tiene(R"(    <PARAM MONOESTABLE="False" />)"));
    EXPECT_TRUE(tiene(R"(    <PARAM COLOR="4294967295" />)"));
    EXPECT_TRUE(tiene(R"(    <PARAM COLOR="4278190080" />)"));
    EXPECT_TRUE(tiene(R"(    <PARAM ASOCIADO="Fin de carrera" />)"));
    EXPECT_TRUE(tiene(R"(  <TUBO INI="$$$1" FIN="Fin de carrera">)"));
    EXPECT_TRUE(tiene(R"(    <VERTICE X="1.23" Y="-5.68" LINEA="0" />)"));
    EXPECT_TRUE(tiene(R"(    <VERTICE X="10.00" Y="20.00" LINEA="4" />)"));
    EXPECT_TRUE(tiene(R"(    <PARAM FIN="6" />)")); // counts the actuators before the point
    EXPECT_EQ(l.back(), "</NEUMATICA>");
    // Temporary names do not outlive the writing.
    EXPECT_EQ(L.Componentes.Item(1)->GetNombre(), "");
    // Latin-1 on disk, CR LF endings.
    const std::string b = A::Bytes(l);
    EXPECT_NE(b.find("TIPO=\"Presi\xF3n\">\r\n"), std::string::npos);
}

TEST_F(Archivo, RoundTripRebuildsTheCircuitAndIsByteIdentical) {
    Construir(L);
    const auto primera = A::Escribir(L);
    TAerPaintBox otro;
    Cargar(otro);
    A::Leer(otro, A::LineasDe(A::Bytes(primera)));
    EXPECT_EQ(A::Bytes(A::Escribir(otro)), A::Bytes(primera));

    ASSERT_EQ(otro.Componentes.Count(), 5);
    EXPECT_EQ(otro.Componentes.Item(1)->GetNombre(), ""); // $$$1 is unnamed again
    auto* rodillo = otro.Componentes.ItemComo<TAerValvula>(2);
    ASSERT_NE(rodillo, nullptr);
    EXPECT_EQ(rodillo->GetActuador(), TActuador::Escamoteable);
    EXPECT_EQ(rodillo->Sentido, TSentido::Avance);
    EXPECT_EQ(rodillo->GetCilindro(), otro.Componentes.Item(0));
    EXPECT_EQ(rodillo->Valor, 0.9);
    EXPECT_EQ(otro.Componentes.ItemComo<TAerComponente>(0)->GetParametro(), 0.25);
    auto* texto = otro.Textos.ItemComo<TAerTexto>(0);
    EXPECT_EQ(texto->Cadena, "Señal de «avance» 10 bar");
    EXPECT_EQ(texto->ColorTexto.rgba(), 0xFFFFFFFFu);
    EXPECT_EQ(texto->GetEstilo(), etNormal | etNegrita | etTachada);
    EXPECT_EQ(texto->GetAsociado(), rodillo);
    auto* tubo = otro.Tubos.ItemComo<TAerTubo>(0);
    EXPECT_EQ(tubo->Inicio, otro.Componentes.ItemComo<TAerComponente>(1)->Conexion(0));
    EXPECT_EQ(tubo->Fin, rodillo->Conexion(1));
    ASSERT_EQ(tubo->Vertices.Count(), 2);
    EXPECT_DOUBLE_EQ(tubo->Vertice(0)->X, 1.23);
    EXPECT_EQ(tubo->Vertice(0)->GetLinea(), 0);
    EXPECT_EQ(otro.RefVertices.Count(), 3);
}

TEST_F(Archivo, UserNamesStartingWithDollarsAreLost) {
    TAerComponente::Crear(L, T::Escape)->SetNombre("$$$mio");
    const auto l = A::Escribir(L);
    EXPECT_EQ(l[3], R"(  <COMPONENTE NOMBRE="$$$0" TIPO="Escape">)");
    A::Leer(L, l);
    EXPECT_EQ(L.Componentes.Item(0)->GetNombre(), "");
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
    TAerPaintBox otro;
    Cargar(otro);
    A::Leer(otro, A::LineasDe(A::Bytes(l)));
    EXPECT_EQ(otro.Componentes.Item(0)->GetNombre(), raro);
    EXPECT_EQ(otro.Textos.ItemComo<TAerTexto>(0)->Cadena, "&#65; ya escrito");
    EXPECT_EQ(otro.Textos.ItemComo<TAerTexto>(0)->GetAsociado(), otro.Componentes.Item(0));
    EXPECT_EQ(A::Desescapar("&quot;&amp;&lt;&gt;&#x41;&#;&bogus;&#55296;"),
              "\"&<>A&#;&bogus;&#55296;");
}

TEST_F(Archivo, TokenisingKeepsQuotedBlanksAndSplitsClosingTag) {
    std::string l = "   <VERTICE X=\"1 2\"/>  Y=\"3\"  \r";
    EXPECT_EQ(A::SiguienteToken(l), "<VERTICE");
    EXPECT_EQ(A::SiguienteToken(l), "X=\"1 2\"");
    EXPECT_EQ(A::SiguienteToken(l), "/>");
    EXPECT_EQ(A::SiguienteToken(l), "Y=\"3\"");
    EXPECT_EQ(A::SiguienteToken(l), "");
    std::string n, v;
    A::SepararAtributo(" NOMBRE=\"a=b\" ", n, v);
    EXPECT_EQ(n, "NOMBRE");
    EXPECT_EQ(v, "a=b");
    A::SepararAtributo("sinigual", n, v);
    EXPECT_TRUE(n.empty() && v.empty());
    A::SepararAtributo("X=", n, v);
    EXPECT_EQ(v, "");
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
    EXPECT_EQ(v->GetActuador(), TActuador::Escamoteable);
    EXPECT_EQ(v->Sentido, TSentido::Avance);
    EXPECT_EQ(v->GetCilindro(), nullptr); // "f" is a pressure source, and came later
    EXPECT_EQ(L.Componentes.ItemComo<TAerComponente>(1)->EscalaY, 0);
    // Missing text attributes take fixed defaults, not the previous text's.
    auto* t0 = L.Textos.ItemComo<TAerTexto>(0);
    auto* t1 = L.Textos.ItemComo<TAerTexto>(1);
    EXPECT_EQ(t0->ColorTexto.rgba(), 0xFFFFFFFFu);
    EXPECT_EQ(t1->X, 7);
    EXPECT_EQ(t1->GetTamano(), 4);
    EXPECT_EQ(t1->ColorTexto.rgba(), 0xFF000000u);
    EXPECT_EQ(t1->GetEstilo(), etNormal | etItalica);
    // A complete tube listed without bends ends on its end point.
    auto* tubo = L.Tubos.ItemComo<TAerTubo>(0);
    ASSERT_EQ(tubo->Vertices.Count(), 1);
    EXPECT_DOUBLE_EQ(tubo->Vertice(0)->X, tubo->Fin->XMundo);
    EXPECT_DOUBLE_EQ(tubo->Vertice(0)->Y, tubo->Fin->YMundo);
    // Written again, the file is stable.
    const auto l = A::Escribir(L);
    EXPECT_EQ(Releer(l), l);
}

TEST_F(Archivo, BrokenFilesNameTheLine) {
    const std::vector<std::string> comp = {"<COMPONENTES>", "  <COMPONENTE NOMBRE=\"a\">",
                                           "    <PARAM TIPO=\"1\" />", "  </COMPONENTE>",
                                           "</COMPONENTES>"};
    EXPECT_EQ(LineaDelError(Cabecera(comp)), 0);
    // Nothing to read: no header, header only, truncated sections.
    EXPECT_EQ(LineaDelError({"hola"}), 2);
    EXPECT_EQ(LineaDelError({R"(<?xml version="1.0"?>)"}), 2);
    EXPECT_EQ(LineaDelError(Cabecera({"<COMPONENTES>", "  <COMPONENTE NOMBRE=\"a\">"})), 5);
    // A comma decimal, a bad flag, a bad integer.
    auto malo = [&](const std::string& Param) {
        return Cabecera({"<COMPONENTES>", "  <COMPONENTE NOMBRE=\"a\">", "    <PARAM TIPO=\"1\" />",
                         "    " + Param, "  </COMPONENTE>", "</COMPONENTES>"});
    };
    EXPECT_EQ(LineaDelError(malo(R"(<PARAM X="1,5" />)")), 6);
    EXPECT_EQ(LineaDelError(malo(R"(<PARAM SIMETRICO="quizá" />)")), 6);
    EXPECT_EQ(LineaDelError(malo(R"(<PARAM ACTUADOR="1.5" />)")), 6);
    EXPECT_EQ(LineaDelError(malo(R"(<PARAM X="1E999" />)")), 6);
    // Types that cannot be placed, actuators that do not exist.
    for (const char* tipo : {"0", "17", "30", "31", "99", "-3"})
        EXPECT_EQ(LineaDelError(malo(std::string("<PARAM TIPO=\"") + tipo + "\" />")), 4) << tipo;
    EXPECT_EQ(LineaDelError(malo(R"(<PARAM TIPO="20" />)")), 0);
    EXPECT_EQ(LineaDelError(Cabecera({"<COMPONENTES>", "  <COMPONENTE NOMBRE=\"v\">",
                                      "    <PARAM TIPO=\"3\" />", "    <PARAM ACTUADOR=\"9\" />",
                                      "  </COMPONENTE>", "</COMPONENTES>"})),
              4);
    // A duplicate name names the element's line.
    auto doble = Cabecera(comp);
    doble.insert(doble.end(), comp.begin(), comp.end());
    EXPECT_EQ(LineaDelError(doble), 9);
    // Section tags with something after them.
    EXPECT_EQ(LineaDelError(Cabecera({"<TUBOS> x", "</TUBOS>"})), 3);
    EXPECT_EQ(LineaDelError(Cabecera({"  <TEXTOS> <TEXTO STR=\"a\">", "</TEXTOS>"})), 3);
    // Tubes to nothing, to no connection, twice to one point, without "/>".
    const std::vector<std::string> dos = {"<COMPONENTES>",
                                          "  <COMPONENTE NOMBRE=\"a\">",
                                          "    <PARAM TIPO=\"1\" />",
                                          "  </COMPONENTE>",
                                          "  <COMPONENTE NOMBRE=\"b\">",
                                          "    <PARAM TIPO=\"15\" />",
                                          "  </COMPONENTE>",
                                          "</COMPONENTES>",
                                          "<TUBOS>"};
    auto tubos = [&](std::vector<std::string> Lineas) {
        auto r = Cabecera(dos);
        r.insert(r.end(), Lineas.begin(), Lineas.end());
        r.push_back("</TUBOS>");
        r.push_back("</NEUMATICA>");
        return r;
    };
    auto tubo = [&](const std::string& Ini, const std::string& Pos, const std::string& Fin,
                    const std::string& Vertice) -> std::vector<std::string> {
        return {"  <TUBO INI=\"" + Ini + "\" FIN=\"" + Fin + "\">",
                "    <PARAM INI=\"" + Pos + "\" />", "    <PARAM FIN=\"0\" />", Vertice,
                "  </TUBO>"};
    };
    const std::string vertice = R"(    <VERTICE X="1" Y="2" LINEA="9" />)";
    EXPECT_EQ(LineaDelError(tubos(tubo("a", "0", "b", vertice))), 0);
    EXPECT_EQ(LineaDelError(tubos(tubo("c", "0", "b", vertice))), 12);
    EXPECT_EQ(LineaDelError(tubos(tubo("a", "0", "c", vertice))), 12);
    EXPECT_EQ(LineaDelError(tubos(tubo("a", "5", "b", vertice))), 12);
    EXPECT_EQ(LineaDelError(tubos(tubo("a", "-1", "b", vertice))), 12);
    EXPECT_EQ(LineaDelError(tubos(tubo("a", "0", "a", vertice))), 12);
    EXPECT_EQ(LineaDelError(tubos(tubo("a", "0", "b", R"(    <VERTICE X="1" Y="2")"))), 15);
    // Position 3 of a push-button valve holds its actuator, not a point.
    auto valvula = tubos(tubo("a", "0", "v", vertice));
    valvula.insert(valvula.begin() + 9, {"  <COMPONENTE NOMBRE=\"v\">", "    <PARAM TIPO=\"5\" />",
                                         "    <PARAM ACTUADOR=\"2\" />", "  </COMPONENTE>"});
    EXPECT_EQ(LineaDelError(valvula), 0);
    valvula[17] = "    <PARAM FIN=\"3\" />";
    EXPECT_EQ(LineaDelError(valvula), 16);
    auto dosVeces = tubo("a", "0", "b", vertice);
    const auto otra = tubo("a", "0", "b", vertice);
    dosVeces.insert(dosVeces.end(), otra.begin(), otra.end());
    EXPECT_EQ(LineaDelError(tubos(dosVeces)), 17);

    TAerPaintBox otro;
    Cargar(otro);
    try {
        A::Leer(otro, malo(R"(<PARAM X="1,5" />)"));
        FAIL();
    } catch (const ELecturaAer& e) {
        EXPECT_EQ(e.Motivo, "'1,5' is not a valid floating point value");
        EXPECT_STREQ(e.what(), "línea 6: '1,5' is not a valid floating point value");
        EXPECT_THROW(std::rethrow_if_nested(e), EConversionError);
    }
    // What was read before the error stays.
    EXPECT_EQ(otro.Componentes.Count(), 0);
    try {
        A::Leer(otro, {"x"});
    } catch (const ELecturaAer& e) {
        EXPECT_EQ(e.Motivo, "List index out of bounds (1)");
        EXPECT_THROW(std::rethrow_if_nested(e), EListaError);
    }
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
        TAerPaintBox otro;
        Cargar(otro);
        try {
            A::Leer(otro, A::LineasDe(b));
            const auto l = A::Escribir(otro);
            EXPECT_EQ(Releer(l), l);
            otro.ActualizarGeometria();
            ++leidos;
        } catch (const ELecturaAer&) {
        }
    }
    EXPECT_GT(leidos, 0);
}
