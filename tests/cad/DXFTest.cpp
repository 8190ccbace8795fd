#include "cad/DXF.h"

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

class DXF : public ::testing::Test {
protected:
    TDXF Dxf;

    void Leer(const std::string& Texto) {
        Dxf.Lineas.clear();
        std::size_t i = 0;
        while (i < Texto.size()) {
            const auto f = Texto.find('\n', i);
            Dxf.Lineas.push_back(Texto.substr(i, f - i));
            i = f == std::string::npos ? Texto.size() : f + 1;
        }
        Dxf.Leer();
    }
    // Reads one layer "A" (colour 7) with the given entities.
    void LeerEnA(const std::string& E) { Leer(Tablas(Capa("A")) + Entidades(E) + Fin); }

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

TEST_F(DXF, LayerTableColoursWeightsAndLayerZero) {
    Leer(Tablas(Capa("Oculta", P("62", "-7") + P("6", "DASHED")) + Capa("Sin370") +
                Capa("Defecto", P("62", "1") + P("370", "-3")) + Capa("Gruesa", P("370", "50"))) +
         Fin);
    ASSERT_EQ(Dxf.Capas.Count(), 5);
    EXPECT_EQ(Dxf.Capas.Item(0)->GetNombre(), "Oculta");
    EXPECT_EQ(C("oculta").GetColor(), 7);
    EXPECT_FALSE(C("Oculta").GetActiva());
    EXPECT_EQ(C("Oculta").GetLinea(), "DASHED");
    EXPECT_TRUE(C("Sin370").GetActiva());
    EXPECT_EQ(C("Sin370").GetGrosor(), 0.0);
    EXPECT_DOUBLE_EQ(C("Defecto").GetGrosor(), 0.2);
    EXPECT_DOUBLE_EQ(C("Gruesa").GetGrosor(), 0.5);
    // Added after the table because it was missing.
    EXPECT_EQ(Dxf.Capas.Item(4)->GetNombre(), "0");
    EXPECT_TRUE(Dxf.Lineas.size() > 0);
}

TEST_F(DXF, EntityWeightFromItsOwnCodeOrItsLayer) {
    Leer(Tablas(Capa("A", P("370", "25"))) +
         Entidades(P("0", "LINE") + P("8", "A") + P("370", "50") + P("0", "LINE") + P("8", "a") +
                   P("370", "-1") + P("0", "LINE") + P("8", "A")) +
         Fin);
    ASSERT_EQ(C("A").Entidades.Count(), 3);
    EXPECT_DOUBLE_EQ(E(0).GetGrosor(), 0.5);
    EXPECT_DOUBLE_EQ(E(1).GetGrosor(), 0.25);
    EXPECT_DOUBLE_EQ(E(2).GetGrosor(), 0.25);
}

TEST_F(DXF, EntitiesOnUndefinedLayersAreDropped) {
    LeerEnA(P("0", "LINE") + P("8", "B") + P("0", "CIRCLE") + P("8", "A") + P("40", "2"));
    ASSERT_EQ(C("A").Entidades.Count(), 1);
    EXPECT_EQ(E(0).GetTipo(), teCirculo);

    Dxf.Capas.BorrarTodo();
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
    auto& p = E<TCADEntidadPunto>(0);
    EXPECT_EQ(p.GetX(), 1.5);
    EXPECT_EQ(p.GetY(), -2.0);
    EXPECT_EQ(p.GetZ(), 3.0);
    auto& l = E<TCADLinea>(1);
    EXPECT_EQ(l.P2().GetX(), 4.0);
    EXPECT_EQ(l.P2().GetZ(), 1.0);
    EXPECT_EQ(l.P1().GetZ(), 0.0);
    EXPECT_EQ(l.Limites, (TCADLimites{1, 6, 4, 2}));
    auto& a = E<TCADArco>(2);
    EXPECT_EQ(a.GetAlfa1(), -10.0);
    EXPECT_EQ(a.GetAlfa2(), 10.0);
    EXPECT_EQ(a.Limites, (TCADLimites{-4, 6, 6, -4}));
    EXPECT_EQ(E<TCADArco>(3).GetAlfa1(), 30.0);
}

TEST_F(DXF, LwPolylineIsAPolygonOnlyWhenFlagIsExactlyOne) {
    const auto lw = [](const std::string& Banderas) {
        return P("0", "LWPOLYLINE") + P("8", "A") + P("70", Banderas) + P("38", "2.5") +
               P("10", "0") + P("20", "0") + P("10", "4") + P("20", "0") + P("10", "4") +
               P("20", "3") + P("10", "9"); // a lone X is no vertex
    };
    LeerEnA(lw("1") + lw("129") + lw("0"));
    auto& g = E<TCADPoligono>(0);
    EXPECT_EQ(g.GetTipo(), tePoligono);
    ASSERT_EQ(g.Puntos.Count(), 3);
    EXPECT_EQ(g.Puntos.ItemComo<TCADPunto>(2)->GetZ(), 2.5);
    EXPECT_EQ(g.Vertices, (std::vector<float>{0, 0, 4, 0, 4, 3}));
    EXPECT_EQ(g.Limites, (TCADLimites{0, 3, 4, 0}));
    EXPECT_EQ(E(1).GetTipo(), tePolilinea);
    EXPECT_EQ(E(2).GetTipo(), tePolilinea);
    EXPECT_EQ(E(2).Puntos.Count(), 3);
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
            P("0", "POLYLINE") + P("8", "A") + P("70", "8") + P("0", "LINE") + P("8", "A"));
    auto& a = C("A").Entidades;
    // The curve-fit vertex (16) is skipped; 70 = 9 closes the outline.
    ASSERT_EQ(E(0).GetTipo(), tePolilinea);
    EXPECT_EQ(E(0).Puntos.Count(), 3);
    EXPECT_EQ(E(0).Puntos.ItemComo<TCADPunto>(1)->GetX(), 2.0);
    EXPECT_EQ(E(0).Puntos.ItemComo<TCADPunto>(2)->GetZ(), 2.0);
    ASSERT_EQ(E(1).Puntos.Count(), 4);
    EXPECT_EQ(E(1).Puntos.ItemComo<TCADPunto>(3)->GetX(), 1.0);
    EXPECT_EQ(E(2).Puntos.Count(), 3);
    // A 2-D polyline is not drawn; its vertices become entities of their own.
    ASSERT_EQ(a.Count(), 3 + 1 + 5 + 1 + 1);
    EXPECT_EQ(E(3).GetTipo(), teNinguna);
    EXPECT_EQ(E(4).GetTipoText(), "VERTEX");
    EXPECT_EQ(E(8).GetTipoText(), "SEQEND");
    // Without 66 = 1 nothing follows.
    EXPECT_EQ(E(9).GetTipo(), teNinguna);
    EXPECT_EQ(E(10).GetTipo(), teLinea);
}

TEST_F(DXF, PolylineWithoutSeqendStopsAtTheEndOfTheSection) {
    LeerEnA(P("0", "POLYLINE") + P("8", "A") + P("66", "1") + P("0", "VERTEX") + P("8", "A") +
            P("10", "5"));
    ASSERT_EQ(C("A").Entidades.Count(), 1);
    EXPECT_EQ(E(0).Puntos.Count(), 1);
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
    EXPECT_EQ(m.GetAltura(), 3.5);
    EXPECT_EQ(m.GetClipWidth(), 20.0);
    EXPECT_EQ(m.GetRotacion(), 45.0);
    EXPECT_EQ(m.GetAlineacion(), 5);
    EXPECT_EQ(m.Limites, (TCADLimites{1, 5.5, 21, 2}));
    EXPECT_EQ(E<TCADTexto>(1).GetTexto(), ""); // an empty first piece ends the text
    EXPECT_EQ(E<TCADTexto>(2).GetTexto(), "Válvula");
    EXPECT_EQ(E<TCADTexto>(2).GetAlineacion(), 7);
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

TEST_F(DXF, UnknownKindsAreUndrawnEntitiesWithCommonAttributes) {
    LeerEnA(P("0", "INSERT") + P("8", "A") + P("100", "AcDbEntity") + P("62", "3") +
            P("100", "AcDbBlockReference") + P("420", "16744448") + P("0", "HATCH") + P("8", "A") +
            P("0", "SPLINE") + P("8", "A"));
    ASSERT_EQ(C("A").Entidades.Count(), 3);
    EXPECT_EQ(E(0).GetTipo(), teNinguna);
    EXPECT_EQ(E(0).GetTipoText(), "INSERT");
    EXPECT_EQ(E(0).GetSubClaseText(), "AcDbBlockReference");
    EXPECT_EQ(E(0).GetColor(), 3);
    EXPECT_EQ(E(0).GetColorRGB(), 16744448);
    EXPECT_EQ(E(1).GetTipoText(), "HATCH");
    EXPECT_EQ(E(2).GetTipoText(), "SPLINE");
    EXPECT_EQ(E(2).GetTipo(), teNinguna);
}

TEST_F(DXF, RecordKeepsTheFirstOfRepeatedCodes) {
    // Handles, reactor groups, several subclass markers and extended data
    // (whose 1010/1020 must not be taken for 10/20).
    LeerEnA(P("0", "CIRCLE") + P("5", "2F") + P("102", "{ACAD_REACTORS") + P("330", "1A") +
            P("102", "}") + P("330", "1F") + P("100", "AcDbEntity") + P("8", "A") +
            P("100", "AcDbCircle") + P("10", "3") + P("20", "4") + P("40", "1") + P("1001", "APP") +
            P("1010", "99") + P("1020", "99") + P("40", "7"));
    auto& c = E<TCADCirculo>(0);
    EXPECT_EQ(c.Centro().GetX(), 3.0);
    EXPECT_EQ(c.Centro().GetY(), 4.0);
    EXPECT_EQ(c.GetRadio(), 1.0);
    EXPECT_EQ(c.GetSubClaseText(), "AcDbCircle");
}

TEST_F(DXF, RealFileStructureIsSkipped) {
    const std::string cabecera = P("0", "SECTION") + P("2", "HEADER") + P("9", "$ACADVER") +
                                 P("1", "AC1015") + P("9", "$EXTMIN") + P("10", "0") +
                                 P("0", "ENDSEC") + P("0", "SECTION") + P("2", "CLASSES") +
                                 P("0", "CLASS") + P("1", "X") + P("0", "ENDSEC");
    const std::string tablas =
        P("0", "SECTION") + P("2", "TABLES") + P("0", "TABLE") + P("2", "LTYPE") + P("0", "LTYPE") +
        P("2", "CONTINUOUS") + P("0", "ENDTAB") + P("0", "TABLE") + P("2", "LAYER") + P("5", "2") +
        P("100", "AcDbSymbolTable") + P("70", "1") + P("0", "LAYER") + P("5", "10") +
        P("102", "{ACAD_XDICTIONARY") + P("360", "1B") + P("102", "}") +
        P("100", "AcDbSymbolTableRecord") + P("100", "AcDbLayerTableRecord") + P("2", "0") +
        P("70", "0") + P("62", "7") + P("6", "Continuous") + P("370", "-3") + P("390", "F") +
        P("1001", "APP") + P("1000", "x") + P("0", "ENDTAB") + P("0", "ENDSEC");
    const std::string bloques = P("0", "SECTION") + P("2", "BLOCKS") + P("0", "BLOCK") +
                                P("8", "0") + P("0", "LINE") + P("8", "0") + P("0", "ENDBLK") +
                                P("0", "ENDSEC");
    const std::string objetos =
        P("0", "SECTION") + P("2", "OBJECTS") + P("0", "DICTIONARY") + P("0", "ENDSEC");
    Leer(cabecera + tablas + bloques + Entidades(P("0", "LINE") + P("8", "0")) + objetos + Fin);
    ASSERT_EQ(Dxf.Capas.Count(), 1);
    EXPECT_DOUBLE_EQ(C("0").GetGrosor(), 0.2);
    EXPECT_EQ(C("0").Entidades.Count(), 1);
}

TEST_F(DXF, ErrorsKeepWhatWasRead) {
    const std::string bien = Tablas(Capa("A")) + P("0", "SECTION") + P("2", "ENTITIES") +
                             P("0", "LINE") + P("8", "A") + P("0", "ARC") + P("8", "A");
    // Cut short: the index is the line past the end.
    std::string e = Error(bien);
    EXPECT_EQ(e, "List index out of bounds (" + std::to_string(Dxf.Lineas.size()) + ")");
    ASSERT_EQ(Dxf.Capas.Count(), 2);
    EXPECT_EQ(C("A").Entidades.Count(), 1); // the ARC was still being read
    EXPECT_EQ(E(0).GetTipo(), teLinea);

    Dxf.Capas.BorrarTodo();
    e = Error(bien + P("8", "A") + P("0", "ENDSEC"));
    EXPECT_EQ(e, "List index out of bounds (" + std::to_string(Dxf.Lineas.size()) + ")");
    EXPECT_EQ(C("A").Entidades.Count(), 2); // no EOF

    Dxf.Capas.BorrarTodo();
    EXPECT_EQ(Error(P("0", "SECTION") + P("2", "HEADER") + P("9", "$X")),
              "List index out of bounds (6)");
    EXPECT_EQ(Error("0"), "List index out of bounds (1)");
    Dxf.Lineas.clear();
    EXPECT_THROW(Dxf.Leer(), EListaError);
}

TEST_F(DXF, MalformedNumbers) {
    EXPECT_EQ(Error(Tablas(Capa("A") + Capa("B", P("62", "7x"))) + Fin),
              "'7x' is not a valid integer value");
    EXPECT_EQ(Dxf.Capas.Count(), 2); // B was added before its colour failed
    Dxf.Capas.BorrarTodo();
    EXPECT_EQ(Error(Tablas(Capa("A", P("370", "2.5"))) + Fin),
              "'2.5' is not a valid integer value");
    Dxf.Capas.BorrarTodo();
    EXPECT_EQ(Error(Tablas(Capa("A", P("62", ""))) + Fin), "'' is not a valid integer value");
    Dxf.Capas.BorrarTodo();
    EXPECT_EQ(Error(Tablas(Capa("A", P("62", "99999999999"))) + Fin),
              "'99999999999' is not a valid integer value");

    const auto enA = [](const std::string& Ents) {
        return Tablas(Capa("A")) + Entidades(Ents) + Fin;
    };
    Dxf.Capas.BorrarTodo();
    EXPECT_EQ(Error(enA(P("0", "LINE") + P("8", "A") + P("370", "grueso"))),
              "'grueso' is not a valid floating point value");
    Dxf.Capas.BorrarTodo();
    EXPECT_EQ(Error(enA(P("0", "LINE") + P("8", "A") + P("370", ""))),
              "'' is not a valid floating point value");
    Dxf.Capas.BorrarTodo();
    EXPECT_EQ(
        Error(enA(P("0", "LINE") + P("8", "A") + P("0", "CIRCLE") + P("8", "A") + P("10", "1..5"))),
        "'1..5' is not a valid floating point value");
    EXPECT_EQ(C("A").Entidades.Count(), 1);
    Dxf.Capas.BorrarTodo();
    EXPECT_EQ(Error(enA(P("0", "TEXT") + P("8", "A") + P("72", "$1"))),
              "'$1' is not a valid integer value");
    Dxf.Capas.BorrarTodo();
    // Signs and a comma as the decimal separator are accepted.
    EXPECT_EQ(Error(enA(P("0", "CIRCLE") + P("8", "A") + P("40", "2,5") + P("62", "+3"))), "");
    EXPECT_EQ(E<TCADCirculo>(0).GetRadio(), 2.5);
    EXPECT_EQ(E(0).GetColor(), 3);
}

TEST_F(DXF, DuplicateLayerNamesRaiseTheCollectionError) {
    EXPECT_THROW(Leer(Tablas(Capa("A") + Capa("a")) + Fin), EColeccionError);
    EXPECT_EQ(Dxf.Capas.Count(), 2);
}

TEST(DXFArchivo, LoadsCrLfAndDecodesLatin1OrUtf8) {
    const std::string ruta = ::testing::TempDir() + "ventix_dxf_cargar.dxf";
    {
        std::ofstream f(ruta, std::ios::binary);
        f << "\xEF\xBB\xBF  0\r\nSECTION\r\n  2\r\nTABLES\r\n  0\r\nTABLE\r\n  2\r\nLAYER\r\n"
             "  0\r\nLAYER\r\n  2\r\nV\xE1lvula\r\n  0\r\nLAYER\r\n  2\r\nC\xC3\xADrculo\n"
             "  0\nENDTAB\r  0\r\nENDSEC\r\n  0\r\nEOF\r\n";
    }
    TDXF d;
    Crear<TCADCapa>(d.Capas);
    d.Cargar(ruta);
    EXPECT_EQ(d.Capas.Count(), 0);
    ASSERT_EQ(d.Lineas.size(), 22u);
    EXPECT_EQ(d.Lineas[0], "  0");
    EXPECT_EQ(d.Lineas[17], "ENDTAB"); // a lone CR also ends a line
    EXPECT_EQ(d.Lineas[18], "  0");
    d.Leer();
    ASSERT_EQ(d.Capas.Count(), 3);
    EXPECT_EQ(d.Capas.Item(0)->GetNombre(), "Válvula");
    EXPECT_EQ(d.Capas.Item(1)->GetNombre(), "Círculo");
    std::remove(ruta.c_str());
    EXPECT_THROW(d.Cargar(ruta), std::runtime_error);
}

// Files written by an independent DXF library (tools/make_test_dxf.py).
class DXFEzdxf : public ::testing::TestWithParam<const char*> {};

TEST_P(DXFEzdxf, LoadsLayersAndEntities) {
    TDXF d;
    d.Cargar(std::string(VENTIX_TEST_DATA) + "/dxf/" + GetParam());
    d.Leer();
    const bool r12 = std::string(GetParam()) == "r12.dxf";
    ASSERT_EQ(d.Capas.Count(), 5);
    const char* nombres[] = {"0", "Defpoints", "Cuerpo", "Oculta", "Válvula"};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(d.Capas.Item(i)->GetNombre(), nombres[i]);
    auto& cuerpo = *d.Capas.ItemComo<TCADCapa>(2);
    auto& oculta = *d.Capas.ItemComo<TCADCapa>(3);
    auto& valvula = *d.Capas.ItemComo<TCADCapa>(4);
    EXPECT_EQ(oculta.GetColor(), 3);
    EXPECT_FALSE(oculta.GetActiva());
    EXPECT_EQ(valvula.GetLinea(), "DASHED");
    EXPECT_DOUBLE_EQ(cuerpo.GetGrosor(), r12 ? 0.0 : 0.35);
    EXPECT_DOUBLE_EQ(valvula.GetGrosor(), r12 ? 0.0 : 0.2);

    ASSERT_EQ(cuerpo.Entidades.Count(), r12 ? 3 : 9);
    auto* punto = cuerpo.Entidades.ItemComo<TCADEntidadPunto>(0);
    ASSERT_NE(punto, nullptr);
    EXPECT_EQ(punto->GetZ(), 3.0);
    auto* linea = cuerpo.Entidades.ItemComo<TCADLinea>(1);
    ASSERT_NE(linea, nullptr);
    EXPECT_EQ(linea->GetColor(), 4);
    EXPECT_EQ(linea->P2().GetX(), 10.0);
    auto* pl = cuerpo.Entidades.ItemComo<TCADPolilinea>(2);
    ASSERT_NE(pl, nullptr);
    ASSERT_EQ(pl->Puntos.Count(), 4); // closed: the first point again
    EXPECT_EQ(pl->Puntos.ItemComo<TCADPunto>(2)->GetZ(), 2.0);

    ASSERT_EQ(oculta.Entidades.Count(), 6);
    auto* texto = oculta.Entidades.ItemComo<TCADTexto>(0);
    ASSERT_NE(texto, nullptr);
    EXPECT_EQ(texto->GetTexto(), "Émbolo");
    EXPECT_EQ(texto->GetAlineacion(), 5);
    EXPECT_EQ(texto->GetRotacion(), 90.0);
    EXPECT_EQ(oculta.Entidades.ItemComo<TCADEntidad>(1)->GetTipo(), teNinguna);

    ASSERT_EQ(valvula.Entidades.Count(), r12 ? 2 : 3);
    auto* arco = valvula.Entidades.ItemComo<TCADArco>(1);
    ASSERT_NE(arco, nullptr);
    EXPECT_EQ(arco->GetAlfa1(), -10.0);
    if (r12)
        return;

    auto* poligono = cuerpo.Entidades.ItemComo<TCADPoligono>(3);
    ASSERT_NE(poligono, nullptr);
    EXPECT_EQ(poligono->Vertices, (std::vector<float>{0, 0, 4, 0, 4, 2}));
    EXPECT_EQ(poligono->Puntos.ItemComo<TCADPunto>(0)->GetZ(), 1.5);
    auto* abierta = cuerpo.Entidades.ItemComo<TCADEntidad>(4);
    EXPECT_EQ(abierta->GetTipo(), tePolilinea);
    EXPECT_DOUBLE_EQ(abierta->GetGrosor(), 0.5);
    // True colour exists from R2004 on.
    EXPECT_EQ(cuerpo.Entidades.ItemComo<TCADEntidad>(5)->GetColorRGB(),
              std::string(GetParam()) == "r2018.dxf" ? 0xFF8000 : 0);
    for (int i = 6; i < 9; ++i)
        EXPECT_EQ(cuerpo.Entidades.ItemComo<TCADEntidad>(i)->GetTipo(), teNinguna);
    EXPECT_EQ(cuerpo.Entidades.ItemComo<TCADEntidad>(8)->GetTipoText(), "HATCH");

    auto* mtexto = valvula.Entidades.ItemComo<TCADTexto>(2);
    ASSERT_NE(mtexto, nullptr);
    // Longer than one piece: split over codes 3 and 1 by the writer.
    EXPECT_EQ(mtexto->GetTexto(), "Cilindro\r\ndoble efecto " + std::string(300, 'x'));
    EXPECT_EQ(mtexto->GetAlineacion(), 5);
    EXPECT_EQ(mtexto->GetClipWidth(), 20.0);
}

INSTANTIATE_TEST_SUITE_P(Versiones, DXFEzdxf,
                         ::testing::Values("r12.dxf", "r2000.dxf", "r2018.dxf"));
