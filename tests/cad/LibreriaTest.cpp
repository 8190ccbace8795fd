#include "cad/Libreria.h"
#include "Resumen.h"
#include "cad/PaintBox.h"
#include "foundation/Ini.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace ventix;

namespace {

const std::string kCarpeta = std::string(VENTIX_TEST_DATA) + "/simbolos/";

// Layers as the DXF reader leaves them: a base point and a line each.
void Capa(TColeccion& Capas, const std::string& Nombre, double BaseX) {
    auto* c = Crear<TCADCapa>(Capas);
    c->SetNombre(Nombre);
    auto* p = Crear<TCADEntidadPunto>(c->Entidades);
    p->SetX(BaseX);
    p->SetY(BaseX / 2);
    auto* l = Crear<TCADLinea>(c->Entidades);
    l->P1().SetX(BaseX);
    l->P2().SetX(BaseX + 2);
    l->P2().SetY(1);
}

} // namespace

TEST(Libreria, ReadsComponentsAndBlocksFromTheIni) {
    TColeccion capas{TCADCapa::Clase()};
    Capa(capas, "cuerpo", 10);
    Capa(capas, "VÁSTAGO", 14);
    TCADLibreria l;
    l.Leer(TArchivoIni::DeTexto("[MAIN]\nCOMPONENTES=2\n"
                                "[COMPONENTE1]\nNOMBRE=Cil\nBLOQUES=2\n"
                                "BLOQUE1=Cuerpo\nBLOQUE2=Vástago\n"
                                "[BLOQUE-vástago]\nDeltaX=5\nEscalaFinY=2,5\n"
                                "[COMPONENTE2]\nBLOQUES=0\n"),
           capas);
    ASSERT_EQ(l.Componentes.Count(), 2);
    TCADComponente* c = l.Componente(1);
    EXPECT_EQ(c->GetNombre(), "Cil");
    ASSERT_EQ(c->Bloques.Count(), 2);
    auto* b2 = c->Bloques.ItemComo<TCADBloque>(1);
    EXPECT_EQ(b2->GetNombre(), "Vástago");
    // The base from the first block's; a malformed scale is the default.
    EXPECT_EQ(std::tuple(b2->BaseX, b2->BaseY, b2->DeltaX, b2->EscalaFinY),
              std::tuple(4.0, 2.0, 5.0, 1.0));
    auto* b1 = c->Bloques.ItemComo<TCADBloque>(0);
    EXPECT_EQ(std::pair(b1->BaseX, b1->BaseY), std::pair(0.0, 0.0));
    EXPECT_EQ(l.Componente(2)->GetNombre(),
              "Componente " + std::to_string(l.Componente(2)->GetID()));
    EXPECT_EQ(l.Componente(2)->Bloques.Count(), 0);
    EXPECT_EQ(std::tuple(l.Componente(0), l.Componente(3)), std::tuple(nullptr, nullptr));

    // Components keep their numbers when a section is missing: the third of
    // a library that describes only that one is still the third.
    TCADLibreria rala;
    rala.Leer(TArchivoIni::DeTexto("[MAIN]\nCOMPONENTES=3\n"
                                   "[COMPONENTE3]\nNOMBRE=Tercero\nBLOQUES=1\nBLOQUE1=cuerpo\n"),
              capas);
    ASSERT_EQ(rala.Componentes.Count(), 3);
    EXPECT_EQ(rala.Componente(3)->GetNombre(), "Tercero");
    EXPECT_EQ(std::tuple(rala.Componente(3)->Bloques.Count(), rala.Componente(1)->Bloques.Count()),
              std::tuple(1, 0));

    // A corrupt count is refused at once; duplicate names stop the load.
    TCADLibreria corrupta;
    EXPECT_THROW(corrupta.Leer(TArchivoIni::DeTexto("[MAIN]\nCOMPONENTES=2000000000\n"), capas),
                 ELibreriaError);
    try {
        corrupta.Leer(
            TArchivoIni::DeTexto("[MAIN]\nCOMPONENTES=1\n[COMPONENTE1]\nBLOQUES=2000000000\n"),
            capas);
        ADD_FAILURE() << "a corrupt count of blocks was read";
    } catch (const ELibreriaError& e) {
        EXPECT_NE(std::string(e.what()).find("2000000000 bloques"), std::string::npos) << e.what();
    }
    TCADLibreria doble;
    EXPECT_THROW(doble.Leer(TArchivoIni::DeTexto("[MAIN]\nCOMPONENTES=2\n[COMPONENTE1]\n"
                                                 "NOMBRE=A\n[COMPONENTE2]\nNOMBRE=a\n"),
                            capas),
                 EColeccionError);
}

class LibreriaArchivo : public ::testing::Test {
protected:
    TCADEstanteria Estanteria;
    TCADLibreria& Nueva() { return *Crear<TCADLibreria>(Estanteria.Librerias); }
};

TEST_F(LibreriaArchivo, LoadsTheTestSymbols) {
    TCADLibreria& l = Nueva();
    l.Cargar(kCarpeta + "prueba.ini");
    EXPECT_EQ(l.GetNombre(), "Símbolos de prueba");
    EXPECT_EQ(l.DXFFile, "Prueba.DXF"); // found as prueba.dxf
    ASSERT_EQ(l.Componentes.Count(), 3);
    EXPECT_EQ(
        std::tuple(Estanteria.Simbolo("SÍMBOLOS DE PRUEBA", 1), Estanteria.Simbolo("otra", 1)),
        std::tuple(l.Componente(1), nullptr));

    TCADComponente* cil = l.Componente(1);
    EXPECT_EQ(cil->GetNombre(), "Cilindro");
    ASSERT_EQ(cil->Bloques.Count(), 2);
    auto* camisa = cil->Bloques.ItemComo<TCADBloque>(0);
    auto* embolo = cil->Bloques.ItemComo<TCADBloque>(1);
    EXPECT_EQ(camisa->Entidades.Count(), 3); // polyline, line, text
    EXPECT_EQ(camisa->Limites, (TCADLimites{0, 21, 40, -4}));
    EXPECT_EQ(std::tuple(embolo->BaseX, embolo->BaseY, embolo->DeltaX), std::tuple(4.0, 0.0, 30.0));
    EXPECT_EQ(embolo->Limites, (TCADLimites{0, 15, 32, 1}));

    TCADComponente* reloj = l.Componente(2);
    ASSERT_EQ(reloj->Bloques.Count(), 1);
    auto* aguja = reloj->Bloques.ItemComo<TCADBloque>(0);
    // The INSERT is not drawn.
    EXPECT_EQ(
        std::tuple(aguja->Entidades.Count(), aguja->RotacionY, l.Componente(3)->Bloques.Count()),
        std::tuple(3, -270.0, 0));

    // Posed: the piston slides 15 units at state 0.5.
    TCADPaintBox v;
    TCADIndividuo i;
    i.SetComponente(cil);
    i.Estado = 0.5;
    i.Dibujar(v, false);
    EXPECT_EQ(i.Regiones().ItemComo<TCADRegion>(1)->Region.Limites(), QRectF(19, 1, 32, 14));
    EXPECT_EQ(Dentro(i.Region(), {{50, 14}, {52, 14}}), "10"); // the rod, beyond the barrel

    // The timer's needle, drawn pointing right, is turned up at state 0 and
    // a quarter clockwise from there at 0.25.
    i.SetComponente(reloj);
    for (auto [estado, punta] : {std::pair{0.0, QPointF(0, 6)}, {0.25, QPointF(6, 0)}}) {
        i.Estado = estado;
        i.Dibujar(v, false);
        const QPointF p = aguja->Matriz.map(QPointF(6, 0)) - punta;
        EXPECT_LT(p.manhattanLength(), 1e-9) << estado;
    }

    // Loading again replaces the components.
    l.Cargar(kCarpeta + "prueba.ini");
    EXPECT_EQ(l.Componentes.Count(), 3);
}

TEST_F(LibreriaArchivo, BadFilesAndDuplicateLibraryNamesAreRefused) {
    // A block without a layer, a block drawn at scale 0: the message names the
    // file and the block.
    const std::vector<std::string> casos[] = {{"sincapa.ini", "\"Manecilla\""},
                                              {"escalacero.ini", "\"Aguja\"", "EscalaIniY"}};
    for (const auto& trozos : casos) {
        try {
            Nueva().Cargar(kCarpeta + trozos[0]);
            ADD_FAILURE() << "no error from " << trozos[0];
        } catch (const ELibreriaError& e) {
            for (const auto& t : trozos)
                EXPECT_NE(std::string(e.what()).find(t), std::string::npos) << e.what();
        }
        Estanteria.Librerias.BorrarTodo();
    }
    EXPECT_THROW(Nueva().Cargar(kCarpeta + "no-existe.ini"), ELibreriaError);
    Nueva().Cargar(kCarpeta + "prueba.ini");
    EXPECT_THROW(Nueva().Cargar(kCarpeta + "prueba.ini"), EColeccionError);

    TCADEstanteria copia;
    copia.Assign(Estanteria);
    EXPECT_EQ(copia.Librerias.Count(), Estanteria.Librerias.Count());
    ASSERT_NE(copia.Simbolo("Símbolos de prueba", 2), nullptr);
    EXPECT_EQ(copia.Simbolo("Símbolos de prueba", 2)->Bloques.Count(), 1);
}
