#include "cad/DXF.h"
#include "Resumen.h"

#include "foundation/Numeros.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

using namespace ventix;

namespace {

// Small drawings written pair by pair: each helper gives "code\nvalue\n" text.
std::string P(const std::string& Codigo, const std::string& Valor) {
    return Codigo + "\n" + Valor + "\n";
}

std::string Capa(const std::string& Nombre, const std::string& Resto = P("62", "7")) {
    return P("0", "LAYER") + P("2", Nombre) + Resto;
}

std::string Tablas(const std::string& Capas) {
    return P("0", "SECTION") + P("2", "TABLES") + P("0", "TABLE") + P("2", "LAYER") + Capas +
           P("0", "ENDTAB") + P("0", "ENDSEC");
}

std::string Entidades(const std::string& E) {
    return P("0", "SECTION") + P("2", "ENTITIES") + E + P("0", "ENDSEC");
}

const std::string Fin = P("0", "EOF");

// One layer "A" (colour 7) with the given entities.
std::string EnA(const std::string& E) {
    return Tablas(Capa("A")) + Entidades(E) + Fin;
}

class DXF : public ::testing::Test {
protected:
    TDXF Dxf;

    // Reads the text into an empty drawing.
    void Leer(const std::string& Texto) {
        Dxf.Capas.BorrarTodo();
        Dxf.Lineas.clear();
        std::size_t i = 0;
        while (i < Texto.size()) {
            const auto f = Texto.find('\n', i);
            Dxf.Lineas.push_back(Texto.substr(i, f - i));
            i = f == std::string::npos ? Texto.size() : f + 1;
        }
        Dxf.Leer();
    }
    void LeerEnA(const std::string& E) { Leer(EnA(E)); }

    TCADCapa& C(const std::string& Nombre) {
        auto* c = dynamic_cast<TCADCapa*>(Dxf.Capas.Buscar(Nombre));
        EXPECT_NE(c, nullptr) << Nombre;
        return *c;
    }
    template <class T = TCADEntidad> T& E(int I, const std::string& Capa = "A") {
        auto* e = C(Capa).Entidades.template ItemComo<T>(I);
        EXPECT_NE(e, nullptr);
        return *e;
    }
    std::string Error(const std::string& Texto) {
        try {
            Leer(Texto);
        } catch (const std::exception& e) {
            return e.what();
        }
        return "";
    }
};

} // namespace

TEST_F(DXF, LayerTableAndEntityWeights) {
    Leer(Tablas(Capa("Oculta", P("62", "-7") + P("6", "DASHED")) + Capa("Sin370") +
                Capa("Defecto", P("62", "1") + P("370", "-3")) + Capa("A", P("370", "25"))) +
         Entidades(P("0", "LINE") + P("8", "A") + P("370", "50") + P("0", "LINE") + P("8", "a") +
                   P("370", "-1") + P("0", "LINE") + P("8", "A") + P("0", "LINE") +
                   P("8", "B")) + // an undefined layer: dropped
         Fin);
    ASSERT_EQ(Dxf.Capas.Count(), 5);
    const auto capa = [&](const char* n) {
        return Valores(C(n), {"Color", "Activa", "Línea", "Grosor"});
    };
    EXPECT_EQ(capa("oculta"), "7 FALSE DASHED 0"); // switched off: the colour negated
    EXPECT_EQ(capa("Sin370"), "7 TRUE  0");
    EXPECT_EQ(capa("Defecto"), "1 TRUE  0.2");
    EXPECT_EQ(capa("A"), "0 TRUE  0.25");
    // "0" was missing: added after the table.
    EXPECT_EQ(Dxf.Capas.Item(0)->GetNombre() + " " + Dxf.Capas.Item(4)->GetNombre(), "Oculta 0");
    ASSERT_EQ(C("A").Entidades.Count(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_DOUBLE_EQ(E(i).GetGrosor(), i == 0 ? 0.5 : 0.25) << i;

    // Without a layer table there are no layers at all, not even "0".
    Leer(Entidades(P("0", "LINE") + P("8", "0")) + Fin);
    EXPECT_EQ(Dxf.Capas.Count(), 0);
}

TEST_F(DXF, GeometryOfEachKind) {
    LeerEnA(P("0", "POINT") + P("8", "A") + P("10", "1.5") + P("20", "-2") + P("30", "3") +
            P("0", "LINE") + P("8", "A") + P("10", "1") + P("20", "2") + P("11", "4") +
            P("21", "6") + P("31", "1") +
            // 350 to 10 degrees crosses 0: it starts at -10.
            P("0", "ARC") + P("8", "A") + P("10", "1") + P("20", "1") + P("40", "5") +
            P("50", "350") + P("51", "10") + P("0", "ARC") + P("8", "A") + P("50", "30") +
            P("51", "120"));
    EXPECT_EQ(Valores(E<TCADEntidadPunto>(0), {"X", "Y", "Z"}), "1.5 -2 3");
    EXPECT_EQ(Puntos(E<TCADLinea>(1)), "1,2,0 4,6,1");
    EXPECT_EQ(E(1).Limites, (TCADLimites{1, 6, 4, 2}));
    EXPECT_EQ(Valores(E(2), {"Alfa1", "Alfa2"}), "-10 10");
    EXPECT_EQ(E(2).Limites, (TCADLimites{-4, 6, 6, -4}));
    EXPECT_EQ(Valores(E(3), {"Alfa1", "Alfa2"}), "30 120");
}

TEST_F(DXF, LwPolylineIsAPolygonOnlyWhenFlagIsExactlyOne) {
    const auto lw = [](const std::string& Banderas) {
        return P("0", "LWPOLYLINE") + P("8", "A") + P("70", Banderas) + P("38", "2.5") +
               P("10", "0") + P("20", "0") + P("10", "4") + P("20", "0") + P("10", "4") +
               P("20", "3") + P("10", "9"); // a lone X is no vertex
    };
    LeerEnA(lw("1") + lw("129") + lw("0"));
    auto& g = E<TCADPoligono>(0);
    EXPECT_EQ(Puntos(g), "0,0,2.5 4,0,2.5 4,3,2.5");
    EXPECT_EQ(g.Vertices, (std::vector<float>{0, 0, 4, 0, 4, 3}));
    EXPECT_EQ(g.Limites, (TCADLimites{0, 3, 4, 0}));
    EXPECT_EQ(std::tuple(g.GetTipo(), E(1).GetTipo(), E(2).GetTipo()),
              std::tuple(tePoligono, tePolilinea, tePolilinea));
    EXPECT_EQ(Puntos(E(2)), Puntos(g));
}

TEST_F(DXF, PolylinesWithVertices) {
    const auto vertice = [](const std::string& X, const std::string& Banderas) {
        return P("0", "VERTEX") + P("8", "A") + P("10", X) + P("20", "1") + P("30", "2") +
               (Banderas.empty() ? "" : P("70", Banderas));
    };
    const std::string v = vertice("1", "32") + vertice("2", "") + vertice("3", "16") +
                          vertice("4", "32") + P("0", "SEQEND") + P("8", "A");
    LeerEnA(P("0", "POLYLINE") + P("8", "A") + P("66", "1") + P("70", "8") + v + //
            P("0", "POLYLINE") + P("8", "A") + P("66", "1") + P("70", "9") + v + //
            P("0", "POLYLINE") + P("8", "A") + P("66", "1") + v +                //
            P("0", "POLYLINE") + P("8", "A") + P("66", "1") + P("70", "0") + v + //
            P("0", "POLYLINE") + P("8", "A") + P("70", "8") + P("0", "LINE") + P("8", "A") +
            // Without SEQEND the vertices end with the section.
            P("0", "POLYLINE") + P("8", "A") + P("66", "1") + vertice("5", ""));
    auto& a = C("A").Entidades;
    // The curve-fit vertex (16) is skipped; 70 = 9 closes the outline.
    EXPECT_EQ(E(0).GetTipo(), tePolilinea);
    EXPECT_EQ(Puntos(E(0)), "1,1,2 2,1,2 4,1,2");
    EXPECT_EQ(Puntos(E(1)), "1,1,2 2,1,2 4,1,2 1,1,2");
    EXPECT_EQ(Puntos(E(2)), Puntos(E(0)));
    // A 2-D polyline is not drawn; its vertices become entities of their own.
    ASSERT_EQ(a.Count(), 3 + 1 + 5 + 1 + 1 + 1);
    EXPECT_EQ(E(4).GetTipoText() + " " + E(8).GetTipoText(), "VERTEX SEQEND");
    // Without 66 = 1 nothing follows.
    EXPECT_EQ(std::tuple(E(3).GetTipo(), E(9).GetTipo(), E(10).GetTipo()),
              std::tuple(teNinguna, teNinguna, teLinea));
    EXPECT_EQ(Puntos(E(11)), "5,1,2");
}

TEST_F(DXF, TextPiecesAndEscapes) {
    LeerEnA(P("0", "MTEXT") + P("8", "A") + P("10", "1") + P("20", "2") + P("40", "3.5") +
            P("41", "20") + P("50", "45") + P("71", "5") + P("3", "  Dos\\Ppala") +
            P("3", "bras \\\\ y\\{") + P("1", "fin\\") +                    //
            P("0", "MTEXT") + P("8", "A") + P("1", "") + P("1", "oculto") + //
            P("0", "TEXT") + P("8", "A") + P("1", "Válvula"));
    auto& m = E<TCADTexto>(0);
    // Code 3 pieces first, then code 1; blanks kept; escapes undone.
    EXPECT_EQ(m.GetTexto(), "  Dos\r\npalabras \\ y{fin");
    EXPECT_EQ(Valores(m, {"Altura", "ClipWidth", "Rotación", "Alineación"}), "3.5 20 45 5");
    EXPECT_EQ(m.Limites, (TCADLimites{1, 5.5, 21, 2}));
    EXPECT_EQ(E<TCADTexto>(1).GetTexto(), ""); // an empty first piece ends the text
    EXPECT_EQ(std::tuple(E<TCADTexto>(2).GetTexto(), E<TCADTexto>(2).GetAlineacion()),
              std::tuple(std::string("Válvula"), 7));
}

TEST_F(DXF, TextAlignmentTable) {
    const auto texto = [](const char* H, const char* V) {
        return P("0", "TEXT") + P("8", "A") + (H ? P("72", H) : "") + (V ? P("73", V) : "");
    };
    LeerEnA(texto(nullptr, nullptr) + texto("1", nullptr) + texto("2", "0") + texto("3", "0") +
            texto("4", "0") + texto("5", "0") + texto("0", "1") + texto("3", "1") +
            texto("1", "2") + texto("2", "2") + texto(nullptr, "3") + texto("2", "3") +
            texto("6", "0") + texto("0", "4") + texto("-1", "0"));
    const int esperado[] = {7, 8, 9, 7, 5, 7, 7, 0, 5, 6, 1, 3, 0, 0, 0};
    for (int i = 0; i < 15; ++i)
        EXPECT_EQ(E<TCADTexto>(i).GetAlineacion(), esperado[i]) << i;
}

TEST_F(DXF, RecordKeepsTheFirstOfRepeatedCodesAndUnknownKindsAreKept) {
    // Handles, reactor groups, several subclass markers and extended data
    // (whose 1010/1020 must not be taken for 10/20).
    LeerEnA(P("0", "CIRCLE") + P("5", "2F") + P("102", "{ACAD_REACTORS") + P("330", "1A") +
            P("102", "}") + P("330", "1F") + P("100", "AcDbEntity") + P("8", "A") +
            P("100", "AcDbCircle") + P("10", "3") + P("20", "4") + P("40", "1") + P("1001", "APP") +
            P("1010", "99") + P("1020", "99") + P("40", "7") + //
            P("0", "INSERT") + P("8", "A") + P("62", "3") + P("420", "16744448"));
    EXPECT_EQ(Puntos(E(0)), "3,4,0");
    EXPECT_EQ(Valores(E(0), {"Radio", "SubClaseText"}), "1 AcDbCircle");
    // A kind not drawn is kept with the attributes every entity has.
    EXPECT_EQ(Valores(E(1), {"Tipo", "TipoText", "Color", "ColorRGB"}), "0 INSERT 3 16744448");
}

TEST_F(DXF, ErrorsKeepWhatWasRead) {
    const std::string bien = Tablas(Capa("A")) + P("0", "SECTION") + P("2", "ENTITIES") +
                             P("0", "LINE") + P("8", "A") + P("0", "ARC") + P("8", "A");
    // Cut short: the message names the file's last line.
    const auto fuera = [&](const std::string& Texto) {
        const std::string e = Error(Texto);
        EXPECT_EQ(e, "El archivo termina antes de lo esperado (línea " +
                         std::to_string(Dxf.Lineas.size()) + ")");
    };
    fuera(bien);
    ASSERT_EQ(Dxf.Capas.Count(), 2);
    // The ARC was still being read.
    EXPECT_EQ(std::tuple(C("A").Entidades.Count(), E(0).GetTipo()), std::tuple(1, teLinea));
    fuera(bien + P("8", "A") + P("0", "ENDSEC"));
    EXPECT_EQ(C("A").Entidades.Count(), 2); // no EOF

    EXPECT_EQ(Error(P("0", "SECTION") + P("2", "HEADER") + P("9", "$X")),
              "El archivo termina antes de lo esperado (línea 6)");
    EXPECT_EQ(Error("0"), "El archivo termina antes de lo esperado (línea 1)");
    Dxf.Lineas.clear();
    EXPECT_THROW(Dxf.Leer(), EListaError);

    EXPECT_EQ(Error(Tablas(Capa("A") + Capa("B", P("62", "7x"))) + Fin),
              "'7x' no es un número entero válido");
    EXPECT_EQ(Dxf.Capas.Count(), 2); // B was added before its colour failed
    EXPECT_EQ(
        Error(EnA(P("0", "LINE") + P("8", "A") + P("0", "CIRCLE") + P("8", "A") + P("10", "1..5"))),
        "'1..5' no es un número válido");
    EXPECT_EQ(C("A").Entidades.Count(), 1);
}

TEST_F(DXF, MalformedNumbersAndDuplicateLayersStopTheRead) {
    const std::string linea = P("0", "LINE") + P("8", "A");
    const std::pair<std::string, std::string> casos[] = {
        {Tablas(Capa("A", P("370", "2.5"))) + Fin, "'2.5' no es un número entero válido"},
        {Tablas(Capa("A", P("62", ""))) + Fin, "'' no es un número entero válido"},
        {Tablas(Capa("A", P("62", "99999999999"))) + Fin,
         "'99999999999' no es un número entero válido"},
        {EnA(linea + P("370", "grueso")), "'grueso' no es un número válido"},
        {EnA(linea + P("370", "")), "'' no es un número válido"},
        {EnA(P("0", "TEXT") + P("8", "A") + P("72", "$1")), "'$1' no es un número entero válido"},
        {Tablas(Capa("A") + Capa("a")) + Fin, "Error TColeccion.\r\nEl nombre de \"a\" ya existe"},
    };
    for (const auto& [texto, error] : casos)
        EXPECT_EQ(Error(texto), error);
    // Signs and a comma as the decimal separator are accepted.
    EXPECT_EQ(Error(EnA(P("0", "CIRCLE") + P("8", "A") + P("40", "2,5") + P("62", "+3"))), "");
    EXPECT_EQ(Valores(E(0), {"Radio", "Color"}), "2.5 3");
}

TEST(DXFArchivo, LoadsCrLfAndDecodesLatin1OrUtf8) {
    const std::string ruta = ::testing::TempDir() + "ventix_dxf_cargar.dxf";
    std::ofstream(ruta, std::ios::binary)
        << "\xEF\xBB\xBF  0\r\nSECTION\r\n  2\r\nTABLES\r\n  0\r\nTABLE\r\n  2\r\nLAYER\r\n"
           "  0\r\nLAYER\r\n  2\r\nV\xE1lvula\r\n  0\r\nLAYER\r\n  2\r\nC\xC3\xADrculo\n"
           "  0\nENDTAB\r  0\r\nENDSEC\r\n  0\r\nEOF\r\n";
    TDXF d;
    Crear<TCADCapa>(d.Capas);
    d.Cargar(ruta);
    EXPECT_EQ(d.Capas.Count(), 0);
    ASSERT_EQ(d.Lineas.size(), 22u);
    // A lone CR also ends a line.
    EXPECT_EQ(d.Lineas[0] + "|" + d.Lineas[17] + "|" + d.Lineas[18], "  0|ENDTAB|  0");
    d.Leer();
    ASSERT_EQ(d.Capas.Count(), 3);
    EXPECT_EQ(d.Capas.Item(0)->GetNombre() + " " + d.Capas.Item(1)->GetNombre(), "Válvula Círculo");
    std::remove(ruta.c_str());
    EXPECT_THROW(d.Cargar(ruta), std::runtime_error);
}

// Files written by an independent DXF library (tools/make_test_dxf.py), with
// header, classes, other tables, blocks and objects to skip. The command-line
// tests check their points, lines, arcs and texts.
class DXFEzdxf : public ::testing::TestWithParam<const char*> {};

TEST_P(DXFEzdxf, LoadsLayersAndEntities) {
    TDXF d;
    d.Cargar(std::string(VENTIX_TEST_DATA) + "/dxf/" + GetParam());
    d.Leer();
    const bool r12 = std::string(GetParam()) == "r12.dxf";
    std::string capas;
    for (int i = 0; i < d.Capas.Count(); ++i) {
        const auto& c = *d.Capas.ItemComo<TCADCapa>(i);
        capas += c.GetNombre() + ": " + Valores(c, {"Color", "Activa", "Línea", "Grosor"}) + " (" +
                 std::to_string(c.Entidades.Count()) + ")\n";
    }
    // The line inside a block is no entity of layer 0.
    EXPECT_EQ(capas,
              r12 ? "0: 7 TRUE Continuous 0 (0)\nDefpoints: 7 TRUE Continuous 0 (0)\n"
                    "Cuerpo: 1 TRUE CONTINUOUS 0 (3)\nOculta: 3 FALSE Continuous 0 (6)\n"
                    "Válvula: 5 TRUE DASHED 0 (2)\n"
                  : "0: 7 TRUE Continuous 0.2 (0)\nDefpoints: 7 TRUE Continuous 0.2 (0)\n"
                    "Cuerpo: 1 TRUE CONTINUOUS 0.35 (9)\nOculta: 3 FALSE Continuous 0.2 (6)\n"
                    "Válvula: 5 TRUE DASHED 0.2 (3)\n");
    ASSERT_EQ(d.Capas.Count(), 5);
    const auto& cuerpo = d.Capas.ItemComo<TCADCapa>(2)->Entidades;
    const auto e = [&](int i) -> TCADEntidad& { return *cuerpo.ItemComo<TCADEntidad>(i); };
    EXPECT_EQ(d.Capas.ItemComo<TCADCapa>(3)->Entidades.ItemComo<TCADEntidad>(1)->GetTipo(),
              teNinguna);
    EXPECT_EQ(Puntos(e(2)), "0,0,0 1,0,1 1,1,2 0,0,0"); // closed: the first point again
    if (r12)
        return;

    auto* poligono = cuerpo.ItemComo<TCADPoligono>(3);
    ASSERT_NE(poligono, nullptr);
    EXPECT_EQ(poligono->Vertices, (std::vector<float>{0, 0, 4, 0, 4, 2}));
    EXPECT_EQ(Puntos(*poligono).substr(0, 7), "0,0,1.5");
    EXPECT_EQ(Valores(e(4), {"Tipo", "Grosor"}), std::to_string(tePolilinea) + " 0.5");
    // True colour exists from R2004 on.
    EXPECT_EQ(e(5).GetColorRGB(), std::string(GetParam()) == "r2018.dxf" ? 0xFF8000 : 0);
    for (int i = 6; i < 9; ++i)
        EXPECT_EQ(e(i).GetTipo(), teNinguna);
    EXPECT_EQ(e(8).GetTipoText(), "HATCH");
    // Longer than one piece: split over codes 3 and 1 by the writer.
    const auto& mtexto = *d.Capas.ItemComo<TCADCapa>(4)->Entidades.ItemComo<TCADTexto>(2);
    EXPECT_EQ(mtexto.GetTexto(), "Cilindro\r\ndoble efecto " + std::string(300, 'x'));
    EXPECT_EQ(Valores(mtexto, {"Alineación", "ClipWidth"}), "5 20");
}

INSTANTIATE_TEST_SUITE_P(Versiones, DXFEzdxf,
                         ::testing::Values("r12.dxf", "r2000.dxf", "r2018.dxf"));
